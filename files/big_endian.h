// Fixed-width records built and taken apart field by field in big-endian
// order, for the parts of a document that are written as one run of bytes.
#pragma once

#include <cstdint>
#include <cstring>

#include "platform/types.h"

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

struct BigEndianReader {
    const uint8_t* at;

    int16_t get16() {
        int16_t value = int16_t(uint16_t(at[0] << 8 | at[1]));
        at += 2;
        return value;
    }
    uint32_t get32() {
        uint32_t high = uint16_t(get16());
        return high << 16 | uint16_t(get16());
    }
    pf::Rect get_rect() {
        pf::Rect r;
        r.top = get16(), r.left = get16(), r.bottom = get16(), r.right = get16();
        return r;
    }
    void get_bytes(void* bytes, int n) {
        std::memcpy(bytes, at, size_t(n));
        at += n;
    }
};
