// Drawing verbs over shapes: frame, paint, erase, invert, fill.
#include "platform/draw/region_internal.h"
#include "platform/draw/shapes.h"

#include "platform/draw/paint.h"
#include "platform/draw/picture_record.h"
#include "platform/draw/recording.h"

#include <algorithm>
#include <memory>

namespace pf {

namespace {



bool pen_shows(const Port& port) { return port.pen_visible >= 0; }
bool pen_draws(const Port& port) { return pen_shows(port) && port.pen_size.h > 0 && port.pen_size.v > 0; }

Rect inset_by_pen(const Rect& r, const Port& port) {
    return Rect{int16_t(r.top + port.pen_size.v), int16_t(r.left + port.pen_size.h), int16_t(r.bottom - port.pen_size.v),
                int16_t(r.right - port.pen_size.h)};
}

// The part of the port's surface it can show: shapes worked out pixel by pixel stop
// there, however large they are.
Rect drawable_extent(const Port& port) {
    const Rect& a = port.port_rect;
    const Rect& b = port.bounds;
    return Rect{std::max(a.top, b.top), std::max(a.left, b.left), std::min(a.bottom, b.bottom),
                std::min(a.right, b.right)};
}

ScopedRegion shape_area(const Shape& s) {
    ScopedRegion rgn = make_region();
    const Port& port = *get_port();
    Rect extent = drawable_extent(port);
    // A region being recorded keeps its ovals whole, whatever the port shows.
    const Rect* drawn = port.region_recording ? nullptr : &extent;
    switch (s.kind) {
        case ShapeKind::kRect: rect_region(rgn.get(), s.r); break;
        case ShapeKind::kOval: oval_region(rgn.get(), s.r, drawn); break;
        case ShapeKind::kRoundRect: round_rect_region(rgn.get(), s.r, s.a, s.b, drawn); break;
        case ShapeKind::kArc: arc_region(rgn.get(), s.r, s.a, s.b, &extent); break;
        case ShapeKind::kPoly: poly_region(rgn.get(), s.poly, &extent); break;
        case ShapeKind::kRegion: copy_region(s.rgn, rgn.get()); break;
    }
    return rgn;
}

// The shape shrunk by the pen: what a frame leaves out.
ScopedRegion inner_area(const Shape& s, const Port& port) {
    Shape inner = s;
    inner.r = inset_by_pen(s.r, port);
    switch (s.kind) {
        case ShapeKind::kRoundRect:
            inner.a = int16_t(s.a - 2 * port.pen_size.h);
            inner.b = int16_t(s.b - 2 * port.pen_size.v);
            return shape_area(inner);
        case ShapeKind::kArc: {
            // An arc frame is the oval's frame within the wedge.
            const Rect extent = drawable_extent(port);
            ScopedRegion outline = make_region();
            oval_region(outline.get(), s.r, &extent);
            ScopedRegion inside = make_region();
            oval_region(inside.get(), inner.r, &extent);
            diff_region(outline.get(), inside.get(), outline.get());
            ScopedRegion wedge = shape_area(s);
            diff_region(wedge.get(), outline.get(), wedge.get());
            return wedge;
        }
        case ShapeKind::kRegion: {
            ScopedRegion rgn = shape_area(s);
            inset_region(rgn.get(), port.pen_size.h, port.pen_size.v);
            return rgn;
        }
        default: return shape_area(inner);
    }
}

// The pixels of a line drawn with the pen, or its edge joining a recorded region.
void pen_line(Port& port, Point from, Point to) {
    if (port.region_recording) {
        record_line(port, from, to);
        return;
    }
    if (!pen_draws(port)) return;
    ScopedRegion pixels = make_region();
    Rect extent = drawable_extent(port);
    line_region(pixels.get(), from, to, port.pen_size, &extent);
    paint_region_with(port, pixels.get(), port.pen_pat, port.pen_mode);
}

void frame_shape(Port& port, const Shape& s) {
    if (s.kind == ShapeKind::kPoly) {
        const std::vector<Point>& pts = s.poly->points;
        for (size_t i = 1; i < pts.size(); ++i) pen_line(port, pts[i - 1], pts[i]);
        return;
    }
    if (port.region_recording) {
        // Framed arcs take no part in a recorded region.
        if (s.kind != ShapeKind::kArc) record_area(port, shape_area(s).get());
        return;
    }
    if (!pen_draws(port)) return;
    ScopedRegion outline = shape_area(s);
    diff_region(outline.get(), inner_area(s, port).get(), outline.get());
    paint_region_with(port, outline.get(), port.pen_pat, port.pen_mode);
}

}  // namespace

void draw_shape(Verb verb, const Shape& s, const Pattern* fill_pattern) {
    Port& port = *get_port();
    if (s.kind == ShapeKind::kPoly && (!s.poly || s.poly->points.empty())) return;
    if (port.picture) picture_shape(port, verb, s, fill_pattern);
    if (verb == Verb::kFrame) {
        frame_shape(port, s);
        return;
    }
    if (!pen_shows(port)) return;
    ScopedRegion area = shape_area(s);
    switch (verb) {
        case Verb::kPaint: paint_region_with(port, area.get(), port.pen_pat, port.pen_mode); break;
        case Verb::kErase: paint_region_with(port, area.get(), port.back_pat, kPatCopy); break;
        case Verb::kInvert: paint_region_with(port, area.get(), kBlackPattern, kPatXor); break;
        case Verb::kFill: paint_region_with(port, area.get(), *fill_pattern, kPatCopy); break;
        case Verb::kFrame: break;
    }
}

void line_to(int16_t h, int16_t v) {
    Port& port = *get_port();
    Point from = port.pen_loc, to{v, h};
    port.pen_loc = to;
    if (port.poly_recording) {
        Polygon& poly = *port.poly_recording;
        if (poly.points.empty()) poly.points.push_back(from);
        poly.points.push_back(to);
        return;
    }
    if (port.picture) picture_line(port, from, to);
    pen_line(port, from, to);
}

void line(int16_t dh, int16_t dv) {
    Point p = get_port()->pen_loc;
    line_to(int16_t(p.h + dh), int16_t(p.v + dv));
}

namespace {
Shape rect_shape(ShapeKind kind, const Rect& r, int16_t a = 0, int16_t b = 0) { return Shape{kind, r, a, b}; }
}  // namespace

void frame_rect(const Rect& r) { draw_shape(Verb::kFrame, rect_shape(ShapeKind::kRect, r)); }
void paint_rect(const Rect& r) { draw_shape(Verb::kPaint, rect_shape(ShapeKind::kRect, r)); }
void erase_rect(const Rect& r) { draw_shape(Verb::kErase, rect_shape(ShapeKind::kRect, r)); }
void invert_rect(const Rect& r) { draw_shape(Verb::kInvert, rect_shape(ShapeKind::kRect, r)); }
void fill_rect(const Rect& r, const Pattern& pat) { draw_shape(Verb::kFill, rect_shape(ShapeKind::kRect, r), &pat); }

void frame_oval(const Rect& r) { draw_shape(Verb::kFrame, rect_shape(ShapeKind::kOval, r)); }
void paint_oval(const Rect& r) { draw_shape(Verb::kPaint, rect_shape(ShapeKind::kOval, r)); }
void erase_oval(const Rect& r) { draw_shape(Verb::kErase, rect_shape(ShapeKind::kOval, r)); }
void invert_oval(const Rect& r) { draw_shape(Verb::kInvert, rect_shape(ShapeKind::kOval, r)); }
void fill_oval(const Rect& r, const Pattern& pat) { draw_shape(Verb::kFill, rect_shape(ShapeKind::kOval, r), &pat); }

void frame_round_rect(const Rect& r, int16_t ow, int16_t oh) {
    draw_shape(Verb::kFrame, rect_shape(ShapeKind::kRoundRect, r, ow, oh));
}
void paint_round_rect(const Rect& r, int16_t ow, int16_t oh) {
    draw_shape(Verb::kPaint, rect_shape(ShapeKind::kRoundRect, r, ow, oh));
}
void erase_round_rect(const Rect& r, int16_t ow, int16_t oh) {
    draw_shape(Verb::kErase, rect_shape(ShapeKind::kRoundRect, r, ow, oh));
}
void invert_round_rect(const Rect& r, int16_t ow, int16_t oh) {
    draw_shape(Verb::kInvert, rect_shape(ShapeKind::kRoundRect, r, ow, oh));
}
void fill_round_rect(const Rect& r, int16_t ow, int16_t oh, const Pattern& pat) {
    draw_shape(Verb::kFill, rect_shape(ShapeKind::kRoundRect, r, ow, oh), &pat);
}

void frame_arc(const Rect& r, int16_t start, int16_t arc) {
    draw_shape(Verb::kFrame, rect_shape(ShapeKind::kArc, r, start, arc));
}
void paint_arc(const Rect& r, int16_t start, int16_t arc) {
    draw_shape(Verb::kPaint, rect_shape(ShapeKind::kArc, r, start, arc));
}
void erase_arc(const Rect& r, int16_t start, int16_t arc) {
    draw_shape(Verb::kErase, rect_shape(ShapeKind::kArc, r, start, arc));
}
void invert_arc(const Rect& r, int16_t start, int16_t arc) {
    draw_shape(Verb::kInvert, rect_shape(ShapeKind::kArc, r, start, arc));
}
void fill_arc(const Rect& r, int16_t start, int16_t arc, const Pattern& pat) {
    draw_shape(Verb::kFill, rect_shape(ShapeKind::kArc, r, start, arc), &pat);
}

PolyHandle open_poly() {
    Port& port = *get_port();
    auto* poly = new Polygon;
    port.poly_recording = poly;
    return poly;
}

void close_poly() {
    Port& port = *get_port();
    Polygon* poly = port.poly_recording;
    port.poly_recording = nullptr;
    if (poly) poly->bbox = poly_bounds(poly->points);
}

Rect poly_bounds(const std::vector<Point>& points) {
    if (points.empty()) return Rect{};
    Rect b{points[0].v, points[0].h, points[0].v, points[0].h};
    for (Point p : points) {
        b.top = std::min(b.top, p.v);
        b.left = std::min(b.left, p.h);
        b.bottom = std::max(b.bottom, p.v);
        b.right = std::max(b.right, p.h);
    }
    return b;
}

void kill_poly(PolyHandle poly) {
    Port* port = get_port();
    if (port && port->poly_recording == poly) port->poly_recording = nullptr;
    delete poly;
}

void offset_poly(PolyHandle poly, int16_t dh, int16_t dv) {
    for (Point& p : poly->points) p = Point{int16_t(p.v + dv), int16_t(p.h + dh)};
    Rect& b = poly->bbox;
    b = Rect{int16_t(b.top + dv), int16_t(b.left + dh), int16_t(b.bottom + dv), int16_t(b.right + dh)};
}

namespace {
Shape poly_shape(PolyHandle poly) {
    Shape s{ShapeKind::kPoly};
    s.poly = poly;
    if (poly) s.r = poly->bbox;
    return s;
}
Shape region_shape(RgnHandle rgn) {
    Shape s{ShapeKind::kRegion};
    s.rgn = rgn;
    s.r = region_bounds(rgn);
    return s;
}
}  // namespace

void frame_poly(PolyHandle poly) { draw_shape(Verb::kFrame, poly_shape(poly)); }
void paint_poly(PolyHandle poly) { draw_shape(Verb::kPaint, poly_shape(poly)); }
void erase_poly(PolyHandle poly) { draw_shape(Verb::kErase, poly_shape(poly)); }
void invert_poly(PolyHandle poly) { draw_shape(Verb::kInvert, poly_shape(poly)); }
void fill_poly(PolyHandle poly, const Pattern& pat) { draw_shape(Verb::kFill, poly_shape(poly), &pat); }

void frame_region(RgnHandle rgn) { draw_shape(Verb::kFrame, region_shape(rgn)); }
void paint_region(RgnHandle rgn) { draw_shape(Verb::kPaint, region_shape(rgn)); }
void erase_region(RgnHandle rgn) { draw_shape(Verb::kErase, region_shape(rgn)); }
void invert_region(RgnHandle rgn) { draw_shape(Verb::kInvert, region_shape(rgn)); }
void fill_region(RgnHandle rgn, const Pattern& pat) { draw_shape(Verb::kFill, region_shape(rgn), &pat); }

}  // namespace pf
