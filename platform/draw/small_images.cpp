#include "platform/draw/small_images.h"

#include <algorithm>

namespace pf {

namespace {

constexpr size_t kBits16Size = 32;
constexpr size_t kCursorSize = 68;      // image, mask, hot spot
constexpr size_t kSmallIconSize = 64;   // image, mask
constexpr size_t kColorIconSize = 256;  // one byte a pixel

void copy_bits16(const uint8_t* from, Bits16& to) { std::copy(from, from + kBits16Size, to.rows); }

}  // namespace

bool parse_cursor(const uint8_t* data, size_t length, Cursor& out) {
    if (!data || length < kCursorSize) return false;
    copy_bits16(data, out.image);
    copy_bits16(data + kBits16Size, out.mask);
    out.hot_spot = Point{int16_t((data[64] << 8) | data[65]), int16_t((data[66] << 8) | data[67])};
    return true;
}

bool parse_small_icon(const uint8_t* data, size_t length, SmallIcon& out) {
    if (!data || length < kSmallIconSize) return false;
    copy_bits16(data, out.image);
    copy_bits16(data + kBits16Size, out.mask);
    return true;
}

bool parse_small_color_icon(const uint8_t* data, size_t length, SmallColorIcon& out) {
    if (!data || length < kColorIconSize) return false;
    std::copy(data, data + kColorIconSize, out.pixels);
    return true;
}

size_t small_image_count(size_t length) { return length / kBits16Size; }

bool small_image(const uint8_t* data, size_t length, size_t index, Bits16& out) {
    if (!data || index >= small_image_count(length)) return false;
    copy_bits16(data + index * kBits16Size, out);
    return true;
}

BitMap bits16_map(const Bits16& bits) {
    BitMap bm;
    bm.base = bits.rows;
    bm.row_bytes = 2;
    bm.bounds = Rect{0, 0, 16, 16};
    bm.depth = 1;
    return bm;
}

BitMap small_color_icon_map(const SmallColorIcon& icon) {
    BitMap bm;
    bm.base = icon.pixels;
    bm.row_bytes = 16;
    bm.bounds = Rect{0, 0, 16, 16};
    bm.depth = 8;
    bm.colors = &system_palette();
    return bm;
}

Rect image_rect_at(int16_t h, int16_t v) { return Rect{v, h, int16_t(v + 16), int16_t(h + 16)}; }

}  // namespace pf
