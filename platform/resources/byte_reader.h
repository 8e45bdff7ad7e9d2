// The one bounded big-endian reader, for every record read from bytes
// (resources, pictures, files): a read past the end answers zeros and clears
// `ok`, and every later read fails too, so a damaged record is refused and
// never read out of bounds.
#pragma once

#include <cstdint>
#include <cstring>
#include <span>
#include <string>

#include "platform/types.h"

namespace pf {

struct ByteReader {
    std::span<const uint8_t> bytes;
    size_t pos = 0;
    bool ok = true;

    bool has(size_t count) const { return ok && count <= bytes.size() - pos; }
    // As has, and a shortfall clears ok.
    bool need(size_t count) {
        ok = has(count);
        return ok;
    }
    size_t left() const { return ok ? bytes.size() - pos : 0; }
    bool at_end() const { return pos >= bytes.size(); }

    std::span<const uint8_t> take(size_t count) {
        if (!need(count)) return {};
        pos += count;
        return bytes.subspan(pos - count, count);
    }
    void skip(size_t count) { take(count); }
    void skip_to_even() {
        if (pos % 2) take(1);
    }
    // Copies the next count bytes out; zeros when they are not all there.
    void copy(void* to, size_t count) {
        auto from = take(count);
        if (from.empty()) std::memset(to, 0, count);
        else std::memcpy(to, from.data(), count);
    }

    uint8_t u8() {
        auto b = take(1);
        return b.empty() ? 0 : b[0];
    }
    uint16_t u16() {
        auto b = take(2);
        return b.empty() ? 0 : uint16_t(b[0] << 8 | b[1]);
    }
    int16_t i16() { return int16_t(u16()); }
    uint32_t u32() {
        uint32_t high = u16();
        return high << 16 | u16();
    }
    uint64_t u64() {
        uint64_t high = u32();
        return high << 32 | u32();
    }
    Rect rect() {
        Rect r;
        r.top = i16();
        r.left = i16();
        r.bottom = i16();
        r.right = i16();
        return r;
    }
    Point point() {
        Point p;
        p.v = i16();
        p.h = i16();
        return p;
    }
    // A length-prefixed Mac Roman text.
    std::string pstring() {
        auto text = take(u8());
        return std::string(text.begin(), text.end());
    }
};

}  // namespace pf
