// Regions: sets of pixels kept as rectangle bands, in local coordinates. A region is
// made with new_region and must be given back with dispose_region. Results go to a
// destination region that may be one of the operands.
#pragma once

#include "platform/types.h"

#include <vector>

namespace pf {

struct Region;
using RgnHandle = Region*;

RgnHandle new_region();  // empty
void dispose_region(RgnHandle rgn);

void set_empty_region(RgnHandle rgn);
void rect_region(RgnHandle rgn, const Rect& r);  // an empty rectangle gives the empty region
void copy_region(RgnHandle src, RgnHandle dst);

void union_region(RgnHandle a, RgnHandle b, RgnHandle dst);
void sect_region(RgnHandle a, RgnHandle b, RgnHandle dst);
void diff_region(RgnHandle a, RgnHandle b, RgnHandle dst);  // a less b
void xor_region(RgnHandle a, RgnHandle b, RgnHandle dst);
void offset_region(RgnHandle rgn, int16_t dh, int16_t dv);
// Shrinks (positive) or grows (negative) every edge by dh horizontally and dv vertically.
void inset_region(RgnHandle rgn, int16_t dh, int16_t dv);

Rect region_bounds(RgnHandle rgn);
bool empty_region(RgnHandle rgn);
bool equal_region(RgnHandle a, RgnHandle b);
// The pixel whose top-left corner is pt.
bool point_in_region(Point pt, RgnHandle rgn);
// True when any pixel of r is in the region.
bool rect_in_region(const Rect& r, RgnHandle rgn);

// The region's rectangles, in bands from top to bottom, left to right within a band.
std::vector<Rect> region_rects(RgnHandle rgn);

// Recording: between open_region and close_region the current port's pen is hidden
// and shapes framed in it build the region instead of being drawn. Each framed
// rectangle, oval, rounded rectangle or region adds its area by exclusive or; lines
// drawn with line_to are outline edges whose even-odd interior is added at
// close_region, which puts the result into `rgn`.
void open_region();
void close_region(RgnHandle rgn);

}  // namespace pf
