// Rectangle and point arithmetic in the pixel model: a rectangle covers
// [left, right) x [top, bottom); one with bottom <= top or right <= left is empty.
#pragma once

#include "platform/types.h"

namespace pf {

// The common part of a and b; false, with an all-zero result, when they share no pixel.
bool sect_rect(const Rect& a, const Rect& b, Rect& out);
// The smallest rectangle holding both; an empty operand is left out.
Rect union_rect(const Rect& a, const Rect& b);
// Whether the pixel whose top-left corner is pt lies in r.
bool pt_in_rect(Point pt, const Rect& r);
// The rectangle with two points as opposite corners, whatever their order.
Rect pt_to_rect(Point a, Point b);
// Maps a point or rectangle in `from` to the same place, scaled, in `to`.
Point map_pt(Point pt, const Rect& from, const Rect& to);
Rect map_rect(const Rect& r, const Rect& from, const Rect& to);

}  // namespace pf
