// Small images kept in resources: cursors ('CURS': 16x16 one-bit image, mask and hot
// spot), lists of 16x16 one-bit images ('SICN'), small icons in black and white with
// their mask ('ics#') and in 256 colours of the system palette ('ics8'). Each reader
// checks the data's length and answers false when it does not hold the image.
#pragma once

#include "platform/draw/bits.h"

#include <cstddef>
#include <cstdint>

namespace pf {

// 16 rows of 16 pixels, two bytes a row, bit 0x80 of the first byte leftmost.
struct Bits16 {
    uint8_t rows[32] = {};
};

struct Cursor {
    Bits16 image;
    Bits16 mask;
    Point hot_spot{};  // v, h within the image
};

struct SmallIcon {
    Bits16 image;
    Bits16 mask;
};

struct SmallColorIcon {
    uint8_t pixels[256] = {};  // indexes into the system palette, row by row
};

bool parse_cursor(const uint8_t* data, size_t length, Cursor& out);
bool parse_small_icon(const uint8_t* data, size_t length, SmallIcon& out);
bool parse_small_color_icon(const uint8_t* data, size_t length, SmallColorIcon& out);

// Images in a 'SICN' list, and image `index` (from 0) of it.
size_t small_image_count(size_t length);
bool small_image(const uint8_t* data, size_t length, size_t index, Bits16& out);

// Views for copy_bits and copy_mask, with bounds (0, 0, 16, 16). They point into the
// record, which must outlive them.
BitMap bits16_map(const Bits16& bits);
BitMap small_color_icon_map(const SmallColorIcon& icon);

// The rectangle of a 16x16 image with its top-left at (h, v).
Rect image_rect_at(int16_t h, int16_t v);

}  // namespace pf
