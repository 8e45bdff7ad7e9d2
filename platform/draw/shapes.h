// Lines and shapes in the current port, in the exact pixel model: a rectangle covers
// [left, right) x [top, bottom); the pen (pen_size wide and high) hangs below and to
// the right of the points it passes; line_to draws both ends; frames lie inside their
// shape. No antialiasing. Each shape can be framed (pen size, pattern and mode),
// painted (pen pattern and mode), erased (back pattern, pattern copy), inverted or
// filled with a given pattern (pattern copy). Nothing is drawn while the pen is hidden.
#pragma once

#include "platform/draw/port.h"

#include <vector>

namespace pf {

void line_to(int16_t h, int16_t v);
void line(int16_t dh, int16_t dv);

void frame_rect(const Rect& r);
void paint_rect(const Rect& r);
void erase_rect(const Rect& r);
void invert_rect(const Rect& r);
void fill_rect(const Rect& r, const Pattern& pat);

// Ovals inscribed in a rectangle.
void frame_oval(const Rect& r);
void paint_oval(const Rect& r);
void erase_oval(const Rect& r);
void invert_oval(const Rect& r);
void fill_oval(const Rect& r, const Pattern& pat);

// Rectangles whose corners are quarters of an oval oval_width wide and oval_height high.
void frame_round_rect(const Rect& r, int16_t oval_width, int16_t oval_height);
void paint_round_rect(const Rect& r, int16_t oval_width, int16_t oval_height);
void erase_round_rect(const Rect& r, int16_t oval_width, int16_t oval_height);
void invert_round_rect(const Rect& r, int16_t oval_width, int16_t oval_height);
void fill_round_rect(const Rect& r, int16_t oval_width, int16_t oval_height, const Pattern& pat);

// Arcs and wedges of the oval in r: angles in degrees, 0 at twelve o'clock, positive
// clockwise, measured against the rectangle (45 passes through its corner).
void frame_arc(const Rect& r, int16_t start_angle, int16_t arc_angle);
void paint_arc(const Rect& r, int16_t start_angle, int16_t arc_angle);
void erase_arc(const Rect& r, int16_t start_angle, int16_t arc_angle);
void invert_arc(const Rect& r, int16_t start_angle, int16_t arc_angle);
void fill_arc(const Rect& r, int16_t start_angle, int16_t arc_angle, const Pattern& pat);

// Polygons: open_poly starts one in the current port; line_to then adds vertices (the
// pen location is the first) instead of drawing, until close_poly.
struct Polygon {
    Rect bbox{};
    std::vector<Point> points;
};
using PolyHandle = Polygon*;

PolyHandle open_poly();
void close_poly();
void kill_poly(PolyHandle poly);
void offset_poly(PolyHandle poly, int16_t dh, int16_t dv);

void frame_poly(PolyHandle poly);  // the lines between its points, with the pen
void paint_poly(PolyHandle poly);  // the even-odd interior
void erase_poly(PolyHandle poly);
void invert_poly(PolyHandle poly);
void fill_poly(PolyHandle poly, const Pattern& pat);

void frame_region(RgnHandle rgn);
void paint_region(RgnHandle rgn);
void erase_region(RgnHandle rgn);
void invert_region(RgnHandle rgn);
void fill_region(RgnHandle rgn, const Pattern& pat);

// Any shape with a verb, as the calls above do: the verbs' order is the picture
// opcodes' (frame, paint, erase, invert, fill); `a` and `b` are the oval size of a
// rounded rectangle or the start and arc angles of an arc.
enum class Verb : uint8_t { kFrame, kPaint, kErase, kInvert, kFill };
enum class ShapeKind : uint8_t { kRect, kOval, kRoundRect, kArc, kPoly, kRegion };
struct Shape {
    ShapeKind kind = ShapeKind::kRect;
    Rect r{};
    int16_t a = 0, b = 0;
    PolyHandle poly = nullptr;
    RgnHandle rgn = nullptr;
};
void draw_shape(Verb verb, const Shape& shape, const Pattern* fill_pattern = nullptr);

// The bounding box of points.
Rect poly_bounds(const std::vector<Point>& points);

// The pixels of shapes, into `rgn` (local coordinates). Shapes are worked out
// pixel row by pixel row; `within`, when given, limits the work (and the
// result) to that rectangle.
void oval_region(RgnHandle rgn, const Rect& r, const Rect* within = nullptr);
void round_rect_region(RgnHandle rgn, const Rect& r, int16_t oval_width, int16_t oval_height,
                       const Rect* within = nullptr);
void arc_region(RgnHandle rgn, const Rect& r, int16_t start_angle, int16_t arc_angle, const Rect* within = nullptr);
void poly_region(RgnHandle rgn, PolyHandle poly, const Rect* within = nullptr);
// The pixels a pen of `pen` size covers going from `from` to `to`, both ends included;
// `within`, when given, limits the result to that rectangle.
void line_region(RgnHandle rgn, Point from, Point to, Point pen, const Rect* within = nullptr);

}  // namespace pf
