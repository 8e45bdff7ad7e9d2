// The pixel sets of lines and shapes.
#include "platform/draw/recording.h"
#include "platform/draw/shapes.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace pf {

namespace {

// Pixels cut from each end of row y of an oval ow wide and oh high.
int oval_inset(int ow, int oh, int y) {
    double dy = (y + 0.5) - oh / 2.0;
    double t = 1.0 - (2.0 * dy / oh) * (2.0 * dy / oh);
    double half = ow / 2.0 * std::sqrt(std::max(t, 0.0));
    int inset = int(std::floor(ow / 2.0 - half + 0.5));
    return std::clamp(inset, 0, ow / 2);
}

// Pixels cut from each end of row y of a rectangle h high with rounded corners.
int corner_inset(int ow, int oh, int height, int y) {
    if (y < oh / 2) return oval_inset(ow, oh, y);
    if (y >= height - oh / 2) return oval_inset(ow, oh, oh - (height - y));
    return 0;
}

double wedge_angle(double nx, double ny) {
    double deg = std::atan2(nx, -ny) * 180.0 / M_PI;
    return deg < 0 ? deg + 360.0 : deg;
}

// The angles from `from` (0 to 360, clockwise from the top) through `arc`
// degrees; worked out once for all the pixels of a shape.
struct Wedge {
    double from;
    int arc;
    bool holds(double angle) const {
        double offset = angle - from + 360.0;
        if (offset >= 360.0) offset -= 360.0;  // exact, as the remainder by 360 is
        return offset < arc;
    }
};

Wedge make_wedge(int start, int arc) {
    if (arc < 0) {
        start += arc;
        arc = -arc;
    }
    return Wedge{std::fmod(std::fmod(double(start), 360.0) + 360.0, 360.0), arc};
}

}  // namespace

void round_rect_region(RgnHandle rgn, const Rect& r, int16_t oval_width, int16_t oval_height, const Rect* within) {
    int w = r.width(), h = r.height();
    if (r.empty()) {
        set_empty_region(rgn);
        return;
    }
    int ow = std::clamp<int>(oval_width, 0, w), oh = std::clamp<int>(oval_height, 0, h);
    const int first = within ? std::max(0, within->top - r.top) : 0;
    const int end = within ? std::min(h, within->bottom - r.top) : h;
    const int left_limit = within ? within->left : r.left, right_limit = within ? within->right : r.right;
    std::vector<pixman_box32_t> boxes;
    boxes.reserve(size_t(std::max(0, end - first)));
    for (int y = first; y < end; ++y) {
        int inset = (ow > 0 && oh > 0) ? corner_inset(ow, oh, h, y) : 0;
        if (2 * inset >= w) continue;
        const int left = std::max(r.left + inset, left_limit), right = std::min(r.right - inset, right_limit);
        if (left < right) boxes.push_back({left, r.top + y, right, r.top + y + 1});
    }
    set_boxes(rgn, boxes);
}

void oval_region(RgnHandle rgn, const Rect& r, const Rect* within) {
    round_rect_region(rgn, r, r.width(), r.height(), within);
}

// Keeps the pixels of `rgn` whose centres lie in the wedge of the oval in r.
static void keep_wedge(RgnHandle rgn, const Rect& r, int start, int arc) {
    if (arc >= 360 || arc <= -360 || r.empty()) return;
    double cx = (r.left + r.right) / 2.0, cy = (r.top + r.bottom) / 2.0;
    double half_w = r.width() / 2.0, half_h = r.height() / 2.0;
    const Wedge wedge = make_wedge(start, arc);
    std::vector<pixman_box32_t> boxes;
    for (const Rect& part : region_rects(rgn)) {
        for (int v = part.top; v < part.bottom; ++v) {
            int run_start = -1;
            for (int h = part.left; h <= part.right; ++h) {
                bool inside = h < part.right &&
                              wedge.holds(wedge_angle((h + 0.5 - cx) / half_w, (v + 0.5 - cy) / half_h));
                if (inside && run_start < 0) run_start = h;
                if (!inside && run_start >= 0) {
                    boxes.push_back({run_start, v, h, v + 1});
                    run_start = -1;
                }
            }
        }
    }
    set_boxes(rgn, boxes);
}

void arc_region(RgnHandle rgn, const Rect& r, int16_t start_angle, int16_t arc_angle, const Rect* within) {
    oval_region(rgn, r, within);
    keep_wedge(rgn, r, start_angle, arc_angle);
}

namespace {

// A box cut to `within` (when given); false when nothing of it is left.
bool cut_box(pixman_box32_t& box, const Rect* within) {
    if (within) {
        box.x1 = std::max<int32_t>(box.x1, within->left), box.x2 = std::min<int32_t>(box.x2, within->right);
        box.y1 = std::max<int32_t>(box.y1, within->top), box.y2 = std::min<int32_t>(box.y2, within->bottom);
    }
    return box.x1 < box.x2 && box.y1 < box.y2;
}

// Adds a box, joining it to the last one when both span the same columns and touch or overlap.
void add_box(std::vector<pixman_box32_t>& boxes, pixman_box32_t box) {
    if (!boxes.empty()) {
        pixman_box32_t& last = boxes.back();
        bool same_columns = last.x1 == box.x1 && last.x2 == box.x2;
        if (same_columns && box.y1 <= last.y2 && box.y2 >= last.y1) {
            last.y1 = std::min(last.y1, box.y1);
            last.y2 = std::max(last.y2, box.y2);
            return;
        }
    }
    boxes.push_back(box);
}

}  // namespace

void line_region(RgnHandle rgn, Point from, Point to, Point pen, const Rect* within) {
    set_empty_region(rgn);
    if (pen.h <= 0 || pen.v <= 0) return;
    pixman_box32_t extent{std::min(from.h, to.h), std::min(from.v, to.v), std::max(from.h, to.h) + pen.h,
                          std::max(from.v, to.v) + pen.v};
    if (!cut_box(extent, within)) return;
    if (from.h == to.h || from.v == to.v) {
        pixman_region32_union_rect(&rgn->r, &rgn->r, extent.x1, extent.y1, extent.x2 - extent.x1,
                                   extent.y2 - extent.y1);
        return;
    }
    int h = from.h, v = from.v;
    int dh = std::abs(to.h - h), dv = -std::abs(to.v - v);
    int step_h = h < to.h ? 1 : -1, step_v = v < to.v ? 1 : -1;
    int err = dh + dv;
    std::vector<pixman_box32_t> boxes;
    // One box per row run of the line's points, grown by the pen.
    int run_left = h, run_right = h;
    for (;;) {
        bool last = h == to.h && v == to.v;
        int next_h = h, next_v = v;
        if (!last) {
            int e2 = 2 * err;
            if (e2 >= dv) {
                err += dv;
                next_h += step_h;
            }
            if (e2 <= dh) {
                err += dh;
                next_v += step_v;
            }
        }
        if (last || next_v != v) {
            // Only what lies within is kept; a steep line's rows stack into one box.
            pixman_box32_t box{std::min(run_left, run_right), v, std::max(run_left, run_right) + pen.h, v + pen.v};
            if (cut_box(box, within)) add_box(boxes, box);
            if (last) break;
            run_left = run_right = next_h;
        } else {
            run_right = next_h;
        }
        h = next_h;
        v = next_v;
    }
    set_boxes(rgn, boxes);
}

void paths_region(RgnHandle rgn, const std::vector<std::vector<Point>>& paths, const Rect* within) {
    set_empty_region(rgn);
    int top = 32767, bottom = -32768;
    for (const auto& path : paths)
        for (Point p : path) {
            top = std::min<int>(top, p.v);
            bottom = std::max<int>(bottom, p.v);
        }
    if (within) {
        top = std::max<int>(top, within->top);
        bottom = std::min<int>(bottom, within->bottom);
    }
    std::vector<pixman_box32_t> boxes;
    std::vector<double> crossings;
    for (int v = top; v < bottom; ++v) {
        double yc = v + 0.5;
        crossings.clear();
        for (const auto& path : paths) {
            for (size_t i = 0; i < path.size(); ++i) {
                Point a = path[i], b = path[(i + 1) % path.size()];
                if ((a.v <= yc) == (b.v <= yc)) continue;
                crossings.push_back(a.h + (yc - a.v) * (b.h - a.h) / double(b.v - a.v));
            }
        }
        std::sort(crossings.begin(), crossings.end());
        for (size_t i = 0; i + 1 < crossings.size(); i += 2) {
            int left = int(std::ceil(crossings[i] - 0.5)), right = int(std::ceil(crossings[i + 1] - 0.5));
            if (right > left) boxes.push_back({left, v, right, v + 1});
        }
    }
    set_boxes(rgn, boxes);
    if (within)
        pixman_region32_intersect_rect(&rgn->r, &rgn->r, within->left, within->top, within->width(),
                                       within->height());
}

void poly_region(RgnHandle rgn, PolyHandle poly, const Rect* within) {
    if (!poly || poly->points.size() < 3) {
        set_empty_region(rgn);
        return;
    }
    paths_region(rgn, {poly->points}, within);
}

}  // namespace pf
