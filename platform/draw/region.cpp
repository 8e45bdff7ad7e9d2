#include "platform/draw/region.h"

#include "platform/draw/region_internal.h"

#include <algorithm>

namespace pf {

namespace {

pixman_box32_t box_of(const Rect& r) { return {r.left, r.top, r.right, r.bottom}; }

// Regions may grow past 16-bit coordinates (inset_region by large negative amounts);
// their rectangles are pinned to what a Rect holds.
int16_t pin16(int32_t v) { return int16_t(std::clamp<int32_t>(v, -32768, 32767)); }

Rect rect_of(const pixman_box32_t& b) { return Rect{pin16(b.y1), pin16(b.x1), pin16(b.y2), pin16(b.x2)}; }

// Grows every rectangle of the region by dh and dv on each side (dh, dv >= 0).
void dilate(pixman_region32_t* r, int dh, int dv) {
    int n = 0;
    const pixman_box32_t* boxes = pixman_region32_rectangles(r, &n);
    std::vector<pixman_box32_t> grown(boxes, boxes + n);
    for (auto& b : grown) {
        b.x1 -= dh;
        b.y1 -= dv;
        b.x2 += dh;
        b.y2 += dv;
    }
    pixman_region32_t out;
    pixman_region32_init_rects(&out, grown.data(), n);
    pixman_region32_copy(r, &out);
    pixman_region32_fini(&out);
}

// Erosion is the dilation of the complement, taken inside a frame larger than the region.
void erode(pixman_region32_t* r, int dh, int dv) {
    pixman_box32_t ext = *pixman_region32_extents(r);
    pixman_region32_t frame, outside;
    pixman_region32_init_rect(&frame, ext.x1 - dh - 1, ext.y1 - dv - 1, ext.x2 - ext.x1 + 2 * dh + 2,
                              ext.y2 - ext.y1 + 2 * dv + 2);
    pixman_region32_init(&outside);
    pixman_region32_subtract(&outside, &frame, r);
    dilate(&outside, dh, dv);
    pixman_region32_subtract(r, r, &outside);
    pixman_region32_fini(&frame);
    pixman_region32_fini(&outside);
}

}  // namespace

RgnHandle new_region() {
    auto* rgn = new Region;
    pixman_region32_init(&rgn->r);
    return rgn;
}

void dispose_region(RgnHandle rgn) {
    if (!rgn) return;
    pixman_region32_fini(&rgn->r);
    delete rgn;
}

void set_empty_region(RgnHandle rgn) { pixman_region32_clear(&rgn->r); }

void rect_region(RgnHandle rgn, const Rect& r) {
    pixman_region32_clear(&rgn->r);
    if (r.empty()) return;
    pixman_region32_union_rect(&rgn->r, &rgn->r, r.left, r.top, r.width(), r.height());
}

void copy_region(RgnHandle src, RgnHandle dst) {
    if (src != dst) pixman_region32_copy(&dst->r, &src->r);
}

void union_region(RgnHandle a, RgnHandle b, RgnHandle dst) { pixman_region32_union(&dst->r, &a->r, &b->r); }
void sect_region(RgnHandle a, RgnHandle b, RgnHandle dst) { pixman_region32_intersect(&dst->r, &a->r, &b->r); }
void diff_region(RgnHandle a, RgnHandle b, RgnHandle dst) { pixman_region32_subtract(&dst->r, &a->r, &b->r); }

void xor_region(RgnHandle a, RgnHandle b, RgnHandle dst) {
    pixman_region32_t a_less_b, b_less_a;
    pixman_region32_init(&a_less_b);
    pixman_region32_init(&b_less_a);
    pixman_region32_subtract(&a_less_b, &a->r, &b->r);
    pixman_region32_subtract(&b_less_a, &b->r, &a->r);
    pixman_region32_union(&dst->r, &a_less_b, &b_less_a);
    pixman_region32_fini(&a_less_b);
    pixman_region32_fini(&b_less_a);
}

void offset_region(RgnHandle rgn, int16_t dh, int16_t dv) { pixman_region32_translate(&rgn->r, dh, dv); }

void inset_region(RgnHandle rgn, int16_t dh, int16_t dv) {
    if (empty_region(rgn)) return;
    // Each axis on its own, so a shrink on one and a growth on the other both hold.
    if (dh < 0) dilate(&rgn->r, -dh, 0);
    if (dv < 0) dilate(&rgn->r, 0, -dv);
    if (dh > 0) erode(&rgn->r, dh, 0);
    if (dv > 0) erode(&rgn->r, 0, dv);
}

Rect region_bounds(RgnHandle rgn) {
    if (empty_region(rgn)) return Rect{};
    return rect_of(*pixman_region32_extents(&rgn->r));
}

bool empty_region(RgnHandle rgn) { return !pixman_region32_not_empty(&rgn->r); }

// Empty regions are equal wherever their last extents lay.
bool equal_region(RgnHandle a, RgnHandle b) {
    if (empty_region(a) && empty_region(b)) return true;
    return pixman_region32_equal(&a->r, &b->r);
}

bool point_in_region(Point pt, RgnHandle rgn) {
    return pixman_region32_contains_point(&rgn->r, pt.h, pt.v, nullptr);
}

bool rect_in_region(const Rect& r, RgnHandle rgn) {
    if (r.empty()) return false;
    pixman_box32_t box = box_of(r);
    return pixman_region32_contains_rectangle(&rgn->r, &box) != PIXMAN_REGION_OUT;
}

std::vector<Rect> region_rects(RgnHandle rgn) {
    int n = 0;
    const pixman_box32_t* boxes = pixman_region32_rectangles(&rgn->r, &n);
    std::vector<Rect> out;
    out.reserve(n);
    for (int i = 0; i < n; ++i) out.push_back(rect_of(boxes[i]));
    return out;
}

}  // namespace pf
