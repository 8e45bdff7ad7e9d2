// Drawing verbs over shapes: frame, paint, erase, invert, fill.
#include "platform/draw/shapes.h"

#include "platform/draw/paint.h"
#include "platform/draw/recording.h"

#include <memory>

namespace pf {

namespace {

struct RegionDeleter {
    void operator()(Region* r) const { dispose_region(r); }
};
using ScopedRegion = std::unique_ptr<Region, RegionDeleter>;

ScopedRegion make_region() { return ScopedRegion(new_region()); }

enum class Verb { kPaint, kErase, kInvert, kFill };

void apply_verb(Verb verb, RgnHandle area, const Pattern* fill_pattern = nullptr) {
    Port& port = *get_port();
    switch (verb) {
        case Verb::kPaint: paint_region_with(port, area, port.pen_pat, port.pen_mode); break;
        case Verb::kErase: paint_region_with(port, area, port.back_pat, kPatCopy); break;
        case Verb::kInvert: paint_region_with(port, area, kBlackPattern, kPatXor); break;
        case Verb::kFill: paint_region_with(port, area, *fill_pattern, kPatCopy); break;
    }
}

bool pen_draws(const Port& port) { return port.pen_visible >= 0 && port.pen_size.h > 0 && port.pen_size.v > 0; }

// A frame: the shape's area less the same shape inset by the pen. While a region is
// recorded, the area joins the recording instead.
void frame_area(RgnHandle area, RgnHandle inner) {
    Port& port = *get_port();
    if (port.region_recording) {
        record_area(port, area);
        return;
    }
    if (!pen_draws(port)) return;
    diff_region(area, inner, inner);
    paint_region_with(port, inner, port.pen_pat, port.pen_mode);
}

Rect inset_by_pen(const Rect& r, const Port& port) {
    return Rect{int16_t(r.top + port.pen_size.v), int16_t(r.left + port.pen_size.h), int16_t(r.bottom - port.pen_size.v),
                int16_t(r.right - port.pen_size.h)};
}

ScopedRegion rect_area(const Rect& r) {
    ScopedRegion rgn = make_region();
    rect_region(rgn.get(), r);
    return rgn;
}

ScopedRegion oval_area(const Rect& r) {
    ScopedRegion rgn = make_region();
    oval_region(rgn.get(), r);
    return rgn;
}

ScopedRegion round_rect_area(const Rect& r, int16_t ow, int16_t oh) {
    ScopedRegion rgn = make_region();
    round_rect_region(rgn.get(), r, ow, oh);
    return rgn;
}

ScopedRegion arc_area(const Rect& r, int16_t start, int16_t arc) {
    ScopedRegion rgn = make_region();
    arc_region(rgn.get(), r, start, arc);
    return rgn;
}

ScopedRegion poly_area(PolyHandle poly) {
    ScopedRegion rgn = make_region();
    poly_region(rgn.get(), poly);
    return rgn;
}

}  // namespace

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
    if (port.region_recording) {
        record_line(port, from, to);
        return;
    }
    if (!pen_draws(port)) return;
    ScopedRegion pixels = make_region();
    line_region(pixels.get(), from, to, port.pen_size);
    paint_region_with(port, pixels.get(), port.pen_pat, port.pen_mode);
}

void line(int16_t dh, int16_t dv) {
    Point p = get_port()->pen_loc;
    line_to(int16_t(p.h + dh), int16_t(p.v + dv));
}

void frame_rect(const Rect& r) {
    frame_area(rect_area(r).get(), rect_area(inset_by_pen(r, *get_port())).get());
}
void paint_rect(const Rect& r) { apply_verb(Verb::kPaint, rect_area(r).get()); }
void erase_rect(const Rect& r) { apply_verb(Verb::kErase, rect_area(r).get()); }
void invert_rect(const Rect& r) { apply_verb(Verb::kInvert, rect_area(r).get()); }
void fill_rect(const Rect& r, const Pattern& pat) { apply_verb(Verb::kFill, rect_area(r).get(), &pat); }

void frame_oval(const Rect& r) {
    frame_area(oval_area(r).get(), oval_area(inset_by_pen(r, *get_port())).get());
}
void paint_oval(const Rect& r) { apply_verb(Verb::kPaint, oval_area(r).get()); }
void erase_oval(const Rect& r) { apply_verb(Verb::kErase, oval_area(r).get()); }
void invert_oval(const Rect& r) { apply_verb(Verb::kInvert, oval_area(r).get()); }
void fill_oval(const Rect& r, const Pattern& pat) { apply_verb(Verb::kFill, oval_area(r).get(), &pat); }

void frame_round_rect(const Rect& r, int16_t ow, int16_t oh) {
    const Port& port = *get_port();
    ScopedRegion inner = round_rect_area(inset_by_pen(r, port), int16_t(ow - 2 * port.pen_size.h),
                                         int16_t(oh - 2 * port.pen_size.v));
    frame_area(round_rect_area(r, ow, oh).get(), inner.get());
}
void paint_round_rect(const Rect& r, int16_t ow, int16_t oh) {
    apply_verb(Verb::kPaint, round_rect_area(r, ow, oh).get());
}
void erase_round_rect(const Rect& r, int16_t ow, int16_t oh) {
    apply_verb(Verb::kErase, round_rect_area(r, ow, oh).get());
}
void invert_round_rect(const Rect& r, int16_t ow, int16_t oh) {
    apply_verb(Verb::kInvert, round_rect_area(r, ow, oh).get());
}
void fill_round_rect(const Rect& r, int16_t ow, int16_t oh, const Pattern& pat) {
    apply_verb(Verb::kFill, round_rect_area(r, ow, oh).get(), &pat);
}

// An arc frame is the oval's frame within the wedge; arcs take no part in recording.
void frame_arc(const Rect& r, int16_t start, int16_t arc) {
    Port& port = *get_port();
    if (port.region_recording || !pen_draws(port)) return;
    ScopedRegion outline = oval_area(r);
    diff_region(outline.get(), oval_area(inset_by_pen(r, port)).get(), outline.get());
    sect_region(outline.get(), arc_area(r, start, arc).get(), outline.get());
    paint_region_with(port, outline.get(), port.pen_pat, port.pen_mode);
}
void paint_arc(const Rect& r, int16_t start, int16_t arc) { apply_verb(Verb::kPaint, arc_area(r, start, arc).get()); }
void erase_arc(const Rect& r, int16_t start, int16_t arc) { apply_verb(Verb::kErase, arc_area(r, start, arc).get()); }
void invert_arc(const Rect& r, int16_t start, int16_t arc) {
    apply_verb(Verb::kInvert, arc_area(r, start, arc).get());
}
void fill_arc(const Rect& r, int16_t start, int16_t arc, const Pattern& pat) {
    apply_verb(Verb::kFill, arc_area(r, start, arc).get(), &pat);
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
    if (!poly || poly->points.empty()) return;
    Rect& b = poly->bbox;
    b = Rect{poly->points[0].v, poly->points[0].h, poly->points[0].v, poly->points[0].h};
    for (Point p : poly->points) {
        b.top = std::min(b.top, p.v);
        b.left = std::min(b.left, p.h);
        b.bottom = std::max(b.bottom, p.v);
        b.right = std::max(b.right, p.h);
    }
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

void frame_poly(PolyHandle poly) {
    if (!poly || poly->points.empty()) return;
    Port& port = *get_port();
    Point saved = port.pen_loc;
    port.pen_loc = poly->points[0];
    for (size_t i = 1; i < poly->points.size(); ++i) line_to(poly->points[i].h, poly->points[i].v);
    port.pen_loc = saved;
}
void paint_poly(PolyHandle poly) { apply_verb(Verb::kPaint, poly_area(poly).get()); }
void erase_poly(PolyHandle poly) { apply_verb(Verb::kErase, poly_area(poly).get()); }
void invert_poly(PolyHandle poly) { apply_verb(Verb::kInvert, poly_area(poly).get()); }
void fill_poly(PolyHandle poly, const Pattern& pat) { apply_verb(Verb::kFill, poly_area(poly).get(), &pat); }

void frame_region(RgnHandle rgn) {
    const Port& port = *get_port();
    ScopedRegion inner = make_region();
    copy_region(rgn, inner.get());
    inset_region(inner.get(), port.pen_size.h, port.pen_size.v);
    frame_area(rgn, inner.get());
}
void paint_region(RgnHandle rgn) { apply_verb(Verb::kPaint, rgn); }
void erase_region(RgnHandle rgn) { apply_verb(Verb::kErase, rgn); }
void invert_region(RgnHandle rgn) { apply_verb(Verb::kInvert, rgn); }
void fill_region(RgnHandle rgn, const Pattern& pat) { apply_verb(Verb::kFill, rgn, &pat); }

}  // namespace pf
