// Basic records shared by every platform module and by the application.
// Numbers and field orders are those the application relies on: rectangles are
// (top, left, bottom, right) and points (v, h), all signed 16-bit.
#pragma once

#include <cstdint>

namespace pf {

using OSErr = int16_t;
using OSStatus = int32_t;
using FourCC = uint32_t;

constexpr OSErr noErr = 0;
constexpr OSErr kParamErr = -50;  // a parameter was out of range
constexpr OSErr kUserCanceledErr = -128;  // the user cancelled

struct Point {
    int16_t v = 0;
    int16_t h = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

struct Rect {
    int16_t top = 0;
    int16_t left = 0;
    int16_t bottom = 0;
    int16_t right = 0;
    friend bool operator==(const Rect&, const Rect&) = default;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool empty() const { return bottom <= top || right <= left; }
};

// A four-character code from its text, e.g. four_cc("TEXT").
constexpr FourCC four_cc(const char (&s)[5]) {
    return (FourCC(uint8_t(s[0])) << 24) | (FourCC(uint8_t(s[1])) << 16) |
           (FourCC(uint8_t(s[2])) << 8) | FourCC(uint8_t(s[3]));
}

// Length-prefixed string of at most 255 bytes (Mac Roman).
using Str255 = unsigned char[256];
using Str63 = unsigned char[64];
using Str31 = unsigned char[32];

}  // namespace pf
