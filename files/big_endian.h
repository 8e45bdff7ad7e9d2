// Fixed-width records built field by field in big-endian order, for the parts
// of a document that are written as one run of bytes; they are taken apart
// again with the bounded pf::ByteReader.
#pragma once

#include <cstdint>
#include <cstring>

#include "platform/resources/byte_reader.h"
#include "platform/types.h"

// Big-endian fields at a fixed place in a record.
inline uint16_t load_be16(const uint8_t* p) { return uint16_t(p[0] << 8 | p[1]); }
inline uint32_t load_be32(const uint8_t* p) { return uint32_t(load_be16(p)) << 16 | load_be16(p + 2); }
inline void store_be16(uint8_t* p, int v) {
    p[0] = uint8_t(uint16_t(v) >> 8);
    p[1] = uint8_t(v);
}
inline void store_be32(uint8_t* p, uint32_t v) {
    store_be16(p, int(v >> 16));
    store_be16(p + 2, int(v & 0xFFFF));
}

struct BigEndianWriter {
    uint8_t* at;

    void put16(int16_t value) {
        at[0] = uint8_t(uint16_t(value) >> 8);
        at[1] = uint8_t(value);
        at += 2;
    }
    void put32(uint32_t value) {
        put16(int16_t(value >> 16));
        put16(int16_t(value));
    }
    void put_rect(const pf::Rect& r) {
        put16(r.top), put16(r.left), put16(r.bottom), put16(r.right);
    }
    void put_bytes(const void* bytes, int n) {
        std::memcpy(at, bytes, size_t(n));
        at += n;
    }
};
