// Pixel moves: copying bits into the current port with transfer modes and masks,
// scrolling a rectangle's pixels, and offscreen worlds (image ports of their own).
#pragma once

#include "platform/draw/colour.h"
#include "platform/draw/port.h"
#include "platform/files/files.h"
#include "platform/memory/memory.h"

namespace pf {

// Pixels to copy from. Rows of depth 1 (bit 0x80 leftmost; a set bit is black), 8
// (indexes into `colors`, the system palette when null) or 32 (0x00RRGGBB in host
// order). The first pixel of `base` is at (bounds.left, bounds.top).
struct BitMap {
    const uint8_t* base = nullptr;
    int32_t row_bytes = 0;
    Rect bounds{};
    int16_t depth = 32;
    const ColorTable* colors = nullptr;
    // Depth 32 rows that hold a one-bit image (an offscreen world of depth 1): white
    // pixels are clear bits, all others set.
    bool one_bit = false;
};

// The pixels of an image port, bounds in its local coordinates. Valid until the port's
// surface is drawn on by cairo or freed.
BitMap port_bits(const Port& port);

// Copies src_rect of `src` to dst_rect of the current port (scaled to the nearest pixel
// when the sizes differ), clipped to the port and, when given, to mask_rgn (local
// coordinates). Modes 0-7 (source copy, or, xor, bic and their inverses), kHiliteMode
// and kGrayishTextOr. A one-bit source draws its set bits in the fore colour and its
// clear bits in the back colour; colour sources count white as clear. Xor becomes the
// highlight swap while the highlight bit is clear. Source and destination may overlap.
// Like every drawing, nothing is drawn while the pen is hidden; a picture being
// recorded keeps the copy.
void copy_bits(const BitMap& src, const Rect& src_rect, const Rect& dst_rect, int16_t mode,
               RgnHandle mask_rgn = nullptr);

// The colour of the pixel whose top-left corner is (h, v) in the current port (local
// coordinates); white outside the port's surface or on a PDF page.
RGBColor get_pixel_color(int16_t h, int16_t v);

// Copies, in source copy mode, only the pixels whose bit is set in `mask`.
void copy_mask(const BitMap& src, const BitMap& mask, const Rect& src_rect, const Rect& mask_rect,
               const Rect& dst_rect);

// Moves the pixels of r in the current port by (dh, dv), within the part of r that is
// visible and not clipped. The area left uncovered (and whatever came from outside that
// part) is erased with the back pattern and put into update_rgn, in local coordinates.
void scroll_rect(const Rect& r, int16_t dh, int16_t dv, RgnHandle update_rgn);

// Offscreen worlds: an image port with its own surface; bounds is its port_rect.
// Depth 0 takes the screen's (32). Pixels are kept at 32 bits whatever the depth; a
// world of depth 1 copies out as a one-bit image.
struct GWorld {
    Port port;
    cairo_surface_t* surface = nullptr;
    int16_t depth = 32;
    bool locked = false;
};
using GWorldPtr = GWorld*;

// Flags are accepted for the callers' sake (purgeable, no new device, temporary
// memory) and change nothing: pixels are never purged. Errors: kParamErr for a depth
// other than 0, 1, 8 or 32 or an empty rectangle, kMemFullErr when pixels cannot be had.
OSErr new_gworld(GWorldPtr* out, int16_t depth, const Rect& bounds, uint32_t flags);
// Gives the world a new depth and bounds; pixels that lie in both keep their place.
OSErr update_gworld(GWorldPtr world, int16_t depth, const Rect& bounds, uint32_t flags);
bool lock_pixels(GWorldPtr world);
void unlock_pixels(GWorldPtr world);
void dispose_gworld(GWorldPtr world);
BitMap gworld_bits(GWorldPtr world);

}  // namespace pf
