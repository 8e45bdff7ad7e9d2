// Colours: indexed colour tables (from 'clut' resources or plain colour lists), the
// system 256-colour palette, the highlight colour and greys.
#pragma once

#include "platform/draw/port.h"
#include "platform/resources/resource_templates.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace pf {

struct ColorTable {
    std::vector<RGBColor> colors;  // entry n by position
};

// The colours of a decoded 'clut' resource, entry n by position.
ColorTable color_table_of(const ColorTableResource& clut);

// The program's indexed colours. index_color leaves `out` as it was for an index
// outside the table.
void set_color_table(const std::vector<RGBColor>& colors);
const ColorTable& color_table();
void index_color(int index, RGBColor& out);

// The system 256-colour palette used by 8-bit images: a 6x6x6 cube from white down
// (without black), ramps of red, green, blue and grey, and black at 255.
const ColorTable& system_palette();

// The colour the highlight swaps with the back colour.
RGBColor get_hilite_color();
void set_hilite_color(const RGBColor& c);

// The op colour: each channel weighs the source in kBlend (0 none .. 0xFFFF all).
RGBColor get_op_color();
void set_op_color(const RGBColor& c);

// The highlight mode byte: while its bit 0x80 is clear, the next inversion or xor
// drawing swaps the back colour and the highlight colour instead, and sets the bit.
constexpr uint8_t kHiliteBit = 0x80;
uint8_t get_hilite_mode();
void set_hilite_mode(uint8_t mode);
void clear_hilite_bit();

// A grey halfway between `back` and `fore_in_out`; false when it cannot be told apart
// from both (the two colours are equal or adjacent), leaving fore_in_out unchanged.
bool get_gray(const RGBColor& back, RGBColor& fore_in_out);

// A grey of the given level (0 black .. 0xFFFF white).
constexpr RGBColor gray_color(uint16_t level) { return RGBColor{level, level, level}; }

}  // namespace pf
