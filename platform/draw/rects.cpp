#include "platform/draw/rects.h"

#include <algorithm>

namespace pf {

namespace {

int16_t pin(int64_t v) { return int16_t(std::clamp<int64_t>(v, -32768, 32767)); }

int16_t scale(int v, int from_origin, int from_size, int to_origin, int to_size) {
    if (from_size == 0) return pin(to_origin + int64_t(v) - from_origin);
    return pin(to_origin + (int64_t(v) - from_origin) * to_size / from_size);
}

}  // namespace

bool sect_rect(const Rect& a, const Rect& b, Rect& out) {
    Rect s{std::max(a.top, b.top), std::max(a.left, b.left), std::min(a.bottom, b.bottom), std::min(a.right, b.right)};
    out = s.empty() ? Rect{} : s;
    return !s.empty();
}

Rect union_rect(const Rect& a, const Rect& b) {
    if (a.empty()) return b;
    if (b.empty()) return a;
    return Rect{std::min(a.top, b.top), std::min(a.left, b.left), std::max(a.bottom, b.bottom),
                std::max(a.right, b.right)};
}

bool pt_in_rect(Point pt, const Rect& r) {
    return pt.h >= r.left && pt.h < r.right && pt.v >= r.top && pt.v < r.bottom;
}

Rect pt_to_rect(Point a, Point b) {
    return Rect{std::min(a.v, b.v), std::min(a.h, b.h), std::max(a.v, b.v), std::max(a.h, b.h)};
}

Point map_pt(Point pt, const Rect& from, const Rect& to) {
    return Point{scale(pt.v, from.top, from.height(), to.top, to.height()),
                 scale(pt.h, from.left, from.width(), to.left, to.width())};
}

Rect map_rect(const Rect& r, const Rect& from, const Rect& to) {
    Point top_left = map_pt(Point{r.top, r.left}, from, to);
    Point bottom_right = map_pt(Point{r.bottom, r.right}, from, to);
    return Rect{top_left.v, top_left.h, bottom_right.v, bottom_right.h};
}

}  // namespace pf
