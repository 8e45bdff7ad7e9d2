// The painting core shared by the drawing module's files (shapes, bits, text): what a
// port may touch, how a region is painted with a pattern in a transfer mode, and the
// conversion between colours and pixels.
#pragma once

#include "platform/draw/port.h"

#include <cstdint>

namespace pf {

// 32-bit pixel (0xFFRRGGBB) of a colour, and back.
uint32_t pixel_of(const RGBColor& c);
RGBColor color_of_pixel(uint32_t px);

// Intersects `shape` (local coordinates) with what the port may change, in place:
// port_rect, the surface's extent, the visible and the clip regions.
void clip_to_port(const Port& port, RgnHandle shape);

// What a transfer mode does with a source pixel. Modes 0-7 and 8-15 act alike (the
// inverse modes set invert_source); xor becomes kHilite while the highlight bit is
// clear (pixel_rule takes the bit).
enum class PixelOp { kCopy, kOr, kXor, kBic, kHilite, kDim, kBlend };

struct PixelRule {
    PixelOp op = PixelOp::kCopy;
    bool invert_source = false;
    uint32_t fore = 0, back = 0;           // the port's colours as pixels
    uint32_t hilite = 0, hilite_back = 0;  // the pair the highlight swaps
    uint32_t blend_weight = 0;             // the op colour as a pixel, for kBlend
};

PixelRule pixel_rule(const Port& port, int16_t mode);

// Applies a rule to one destination pixel: `set` is the source bit, `colour` the pixel
// a copy puts there, `xor_mask` the bits xor flips. Dimming draws halfway to the back;
// blending mixes `colour` into the pixel by the op colour's weight in each channel.
void apply_source(uint32_t& dst, bool set, uint32_t colour, uint32_t xor_mask, const PixelRule& rule);

// Paints a region (local coordinates, not yet clipped) of the port with an 8x8 pattern
// anchored at local (0, 0) in a transfer mode (0-15, kHiliteMode, kGrayishTextOr).
// Xor modes and inversions become the highlight swap while the highlight bit is clear,
// and set it again. Marks the screen dirty for screen ports.
void paint_region_with(Port& port, RgnHandle shape, const Pattern& pat, int16_t mode);

// Marks a rectangle (local coordinates) as changed on the screen when the port is on it.
void mark_changed(const Port& port, const Rect& local);

// Direct access to an image port's pixels: surface_flush before reading or writing,
// surface_row for row `y` of the surface, surface_changed after writing.
void surface_flush(const Port& port);
uint32_t* surface_row(const Port& port, int y);
void surface_changed(const Port& port);

// True when the next xor drawing highlights (the highlight bit is clear); sets the
// bit again, as each highlighting drawing does.
bool take_hilite();

}  // namespace pf
