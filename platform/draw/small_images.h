// Small images from resources, as platform/resources decodes them (cursors, 'SICN'
// image lists, 'ics#' and 'ics8' small icons, 'PAT#' patterns), made ready for
// drawing.
#pragma once

#include "platform/draw/bits.h"
#include "platform/resources/resource_templates.h"

#include <cstdint>

namespace pf {

// A 16x16 one-bit image as rows of two bytes, bit 0x80 of the first byte leftmost.
struct Image16 {
    uint8_t rows[32] = {};
};

Image16 image16_of(const Bits16& bits);

// Views with bounds (0, 0, 16, 16). They point into their argument, which must
// outlive them.
BitMap image16_map(const Image16& image);
BitMap color_icon_map(const ColorIcon& icon);  // 8-bit, the system palette

Pattern pattern_of(const PatternBytes& bytes);

// The rectangle of a 16x16 image with its top-left at (h, v).
Rect image_rect_at(int16_t h, int16_t v);

}  // namespace pf
