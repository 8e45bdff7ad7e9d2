// Making drawing objects with the drawing tools, and the selection marquee.
#pragma once

#include <cstdint>
#include <vector>

#include "core/memory_manager.h"
#include "platform/types.h"

// The kind of object a drawing tool (3 to 12) makes; 0 for other tools.
pf::FourCC tool_object_kind(int16_t tool);

// The rectangle from one corner to the other, whichever way it was dragged.
pf::Rect rect_between(pf::Point from, pf::Point to);
// The rectangle of a line from one end to the other (one pixel wider and
// taller than their distance).
pf::Rect line_rect(pf::Point from, pf::Point to);
// The corners of a stroke where its direction turns: points closer than
// `tolerance` pixels to the straight line between kept points are dropped.
std::vector<pf::Point> stroke_corners(const std::vector<pf::Point>& stroke, int16_t tolerance);

// Whether the object's shape is a list of points (freehand lines, polygons).
bool has_points(MemoryRef object);
// The points of a freehand line or polygon stretched from one size of its
// rectangle to another.
void scale_points(MemoryRef object, const pf::Rect& from, const pf::Rect& to);

// A new object of the kind in the layer from what the mouse drew in a pane:
// for lines and shapes the dragged points `from` and `to`, for freehand
// lines and polygons the whole stroke. Anchored to the cell under its top
// left, selected alone, with an undo record (kind 26). None when nothing
// was drawn or memory failed.
MemoryRef make_drawn_object(MemoryRef layer, int16_t pane, pf::FourCC kind, const std::vector<pf::Point>& stroke);
// Selects the objects whose rectangles in the pane meet the marquee; without
// `add` the others are deselected.
void select_objects_in(MemoryRef layer, int16_t pane, const pf::Rect& marquee, bool add);
