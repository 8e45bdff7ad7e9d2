// Drawing objects drawn in a pane and found under the mouse.
#include "objects/object_drawing.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "core/memory_use.h"
#include "core/string_utils.h"
#include "model/layer.h"
#include "objects/object_kinds.h"
#include "objects/object_records.h"
#include "objects/text_box_editing.h"
#include "window/text_boxes.h"
#include "platform/draw/draw.h"
#include "platform/draw/picture.h"
#include "platform/fonts/classic_fonts.h"
#include "window/cell_geometry.h"
#include "window/sheet_frame.h"
#include "window/sheet_paint.h"

namespace {

constexpr int16_t kCornerOval = 16;
constexpr double kArrowLength = 9, kArrowHalfWidth = 4;
constexpr int16_t kHitSlop = 2;
// Frame types: none, plain, shadowed, double.
constexpr uint8_t kNoFrame = 0, kShadowedFrame = 2, kDoubleFrame = 3;
constexpr int16_t kShadowDepth = 2, kDoubleFrameGap = 3;

bool is_line(pf::FourCC kind) { return kind == kLineObject || kind == kArrowObject || kind == kDoubleArrowObject; }

// An arrowhead's length and half width for a pen: beyond the thinnest pens
// it grows with the pen, so that it stays wider than its shaft.
struct HeadSize {
    double length, half_width;
};
HeadSize head_size(int16_t pen) {
    return {std::max(kArrowLength, 3.0 * pen), std::max(kArrowHalfWidth, 1.5 * pen)};
}

// How far a pen's stroke lies right of and below the points it is drawn
// through (a pen hangs below and right of its point): its middle.
int16_t stroke_middle(int16_t pen) { return int16_t(std::max(0, pen - 1) / 2); }

// The unit vector from `tail` to `tip`, or none for points closer than a pixel.
bool direction(pf::Point tail, pf::Point tip, double* dh, double* dv) {
    const double length = std::hypot(tip.h - tail.h, tip.v - tail.v);
    if (length < 1) return false;
    *dh = (tip.h - tail.h) / length, *dv = (tip.v - tail.v) / length;
    return true;
}

// A filled arrowhead with its point at `tip`, coming from `tail`, over the
// middle of the stroke a pen of that size draws.
void arrow_head(pf::Point tail, pf::Point tip, int16_t pen) {
    double dh, dv;
    if (!direction(tail, tip, &dh, &dv)) return;
    const HeadSize size = head_size(pen);
    const int16_t middle = stroke_middle(pen);
    const double point_h = tip.h + middle, point_v = tip.v + middle;
    const double base_h = point_h - dh * size.length, base_v = point_v - dv * size.length;
    pf::PolyHandle head = pf::open_poly();
    pf::move_to(int16_t(point_h), int16_t(point_v));
    pf::line_to(int16_t(std::lround(base_h - dv * size.half_width)), int16_t(std::lround(base_v + dh * size.half_width)));
    pf::line_to(int16_t(std::lround(base_h + dv * size.half_width)), int16_t(std::lround(base_v - dh * size.half_width)));
    pf::line_to(int16_t(point_h), int16_t(point_v));
    pf::close_poly();
    pf::pen_size(1, 1);
    pf::paint_poly(head);
    pf::kill_poly(head);
}

// Where the shaft toward a head at `tip` ends: at the head's base once the pen
// is thick enough to poke out past its point.
pf::Point shaft_end(pf::Point tail, pf::Point tip, int16_t pen) {
    double dh, dv;
    if (stroke_middle(pen) == 0 || !direction(tail, tip, &dh, &dv)) return tip;
    const double length = head_size(pen).length;
    return pf::Point{int16_t(std::lround(tip.v - dv * length)), int16_t(std::lround(tip.h - dh * length))};
}

void draw_line_object(const ObjectRecord& record, const pf::Rect& r) {
    pf::Point from, to;
    line_ends(record.info, r, &from, &to);
    const int16_t pen = record.line_size;
    const bool head_at_end = record.kind != kLineObject, head_at_start = record.kind == kDoubleArrowObject;
    const pf::Point start = head_at_start ? shaft_end(to, from, pen) : from;
    const pf::Point end = head_at_end ? shaft_end(from, to, pen) : to;
    pf::move_to(start.h, start.v);
    pf::line_to(end.h, end.v);
    if (head_at_end) arrow_head(from, to, pen);
    if (head_at_start) arrow_head(to, from, pen);
}

// The (v, h) pairs of a block, offset by the rectangle's top left.
std::vector<pf::Point> points_of(MemoryRef block, const pf::Rect& r) {
    std::vector<pf::Point> points;
    if (!block) return points;
    int32_t count = GetByteSize(block) / 4;
    MemoryUse<const int16_t> words(block);
    for (int32_t i = 0; i < count; ++i)
        points.push_back(pf::Point{int16_t(r.top + words[2 * i]), int16_t(r.left + words[2 * i + 1])});
    return points;
}

pf::PolyHandle polygon_of(const std::vector<pf::Point>& points) {
    pf::PolyHandle poly = pf::open_poly();
    pf::move_to(points[0].h, points[0].v);
    for (size_t i = 1; i < points.size(); ++i) pf::line_to(points[i].h, points[i].v);
    pf::close_poly();
    return poly;
}

bool filled(const ObjectRecord& record) { return record.fill_pattern != 0; }
bool framed(const ObjectRecord& record) { return record.line_pattern != 0 && record.line_size != 0; }

// A colour value: 0 none (drawn as `none`), else entry value - 1 of the colour table.
pf::RGBColor value_colour(uint8_t value, pf::RGBColor none) {
    return value >= 1 ? table_colour(int16_t(value - 1)) : none;
}

void set_fill(const ObjectRecord& record) {
    pf::rgb_fore_color(value_colour(record.fill_fore, pf::kBlackColor));
    pf::rgb_back_color(value_colour(record.fill_back, pf::kWhiteColor));
}

void set_pen(const ObjectRecord& record) {
    pf::pen_normal();
    pf::rgb_fore_color(value_colour(record.pen_fore, pf::kBlackColor));
    pf::rgb_back_color(value_colour(record.pen_back, pf::kWhiteColor));
    pf::pen_size(record.line_size, record.line_size);
    pf::pen_pat(list_pattern(record.line_pattern));
}

// A polygon through the points, filled (when `fillable`) and framed as the object asks.
void draw_polygon(const ObjectRecord& record, const std::vector<pf::Point>& points, bool fillable) {
    pf::PolyHandle poly = polygon_of(points);
    if (fillable && filled(record)) {
        set_fill(record);
        pf::fill_poly(poly, list_pattern(record.fill_pattern));
    }
    set_pen(record);
    if (framed(record)) pf::frame_poly(poly);
    pf::kill_poly(poly);
}

// A triangle standing in its rectangle: its apex at the top's middle.
std::vector<pf::Point> triangle_points(const pf::Rect& r) {
    const auto middle = int16_t((r.left + r.right) / 2), bottom = int16_t(r.bottom - 1), right = int16_t(r.right - 1);
    return {{r.top, middle}, {bottom, right}, {bottom, r.left}, {r.top, middle}};
}

void draw_triangle_object(const ObjectRecord& record, const pf::Rect& r) {
    draw_polygon(record, triangle_points(r), true);
}

void frame_shape(pf::FourCC kind, const pf::Rect& r) {
    if (kind == kOvalObject) pf::frame_oval(r);
    else if (kind == kRoundRectObject) pf::frame_round_rect(r, kCornerOval, kCornerOval);
    else pf::frame_rect(r);
}

// A shadow two pixels deep below and right of the frame, in the line's colour.
void draw_frame_shadow(const pf::Rect& r) {
    pf::pen_size(kShadowDepth, kShadowDepth);
    pf::move_to(int16_t(r.left + kShadowDepth), r.bottom);
    pf::line_to(r.right, r.bottom);
    pf::line_to(r.right, int16_t(r.top + kShadowDepth));
}

void draw_shape_object(const ObjectRecord& record, const pf::Rect& r) {
    if (record.kind == kTriangleObject) return draw_triangle_object(record, r);
    const pf::Pattern fill = list_pattern(record.fill_pattern);
    if (filled(record)) {
        set_fill(record);
        if (record.kind == kOvalObject) pf::fill_oval(r, fill);
        else if (record.kind == kRoundRectObject) pf::fill_round_rect(r, kCornerOval, kCornerOval, fill);
        else pf::fill_rect(r, fill);
    } else if (record.kind == kTextObject) {
        // A box without a fill of its own shows its text on white, as its editor does.
        pf::rgb_back_color(pf::kWhiteColor);
        pf::erase_rect(r);
    }
    if (!framed(record) || record.frame == kNoFrame) return;
    set_pen(record);
    frame_shape(record.kind, r);
    if (record.frame == kShadowedFrame) draw_frame_shadow(r);
    if (record.frame == kDoubleFrame) frame_shape(record.kind, pf::Rect{int16_t(r.top + kDoubleFrameGap), int16_t(r.left + kDoubleFrameGap),
                                          int16_t(r.bottom - kDoubleFrameGap), int16_t(r.right - kDoubleFrameGap)});
}

void draw_points_object(const ObjectRecord& record, const pf::Rect& r) {
    std::vector<pf::Point> points = points_of(record.kind == kPolygonObject ? record.data : record.points, r);
    if (points.size() >= 2) draw_polygon(record, points, record.kind == kPolygonObject);
}

// A text box's text: u16 length and the characters, then its style runs;
// text without runs is drawn in the box's font.
void draw_text(const ObjectRecord& record, const pf::Rect& r) {
    if (!record.data || GetByteSize(record.data) < 2) return;
    const int16_t inset = text_box_inset(record.line_size);
    pf::Rect inner = r;
    Inset_Rect(inner, inset, inset);
    if (draw_styled_text_box(record.data, record.info, inner)) return;
    int32_t size = GetByteSize(record.data);
    MemoryUse<const unsigned char> bytes(record.data);
    uint16_t length;
    std::memcpy(&length, bytes, 2);
    pf::pen_normal();
    pf::rgb_fore_color(pf::kBlackColor);
    pf::text_font(pf::kApplFont);
    pf::text_size(kTextBoxSize);
    pf::text_face(0);
    int16_t justification = record.info == 1 ? kBoxCentre : record.info == 2 ? kBoxRight : kBoxLeft;
    NeoTextBox(bytes + 2, std::min<int32_t>(length, size - 2), &inner, justification, nullptr, nullptr, 1);
}

void draw_picture(const ObjectRecord& record, const pf::Rect& r) {
    if (!record.picture) return;
    MemoryUse<const uint8_t> bytes(record.picture);
    pf::draw_picture_data(bytes, size_t(GetByteSize(record.picture)), r);
}

pf::Rect handle_at(int16_t h, int16_t v) {
    return pf::Rect{int16_t(v - kHandleSize / 2), int16_t(h - kHandleSize / 2), int16_t(v + kHandleSize / 2 + 1),
                    int16_t(h + kHandleSize / 2 + 1)};
}

double segment_distance(pf::Point p, pf::Point a, pf::Point b) {
    const double dh = b.h - a.h, dv = b.v - a.v, squared = dh * dh + dv * dv;
    const double t = squared < 1 ? 0 : std::clamp(((p.h - a.h) * dh + (p.v - a.v) * dv) / squared, 0.0, 1.0);
    return std::hypot(p.h - (a.h + t * dh), p.v - (a.v + t * dv));
}

bool near_path(const std::vector<pf::Point>& points, pf::Point where, double reach) {
    for (size_t i = 1; i < points.size(); ++i)
        if (segment_distance(where, points[i - 1], points[i]) <= reach) return true;
    return false;
}

// Even-odd: whether the point lies inside the closed outline through the points.
bool inside_outline(const std::vector<pf::Point>& points, pf::Point where) {
    bool inside = false;
    for (size_t i = 0, j = points.size() - 1; i < points.size(); j = i++) {
        const pf::Point a = points[i], b = points[j];
        if ((a.v > where.v) != (b.v > where.v) &&
            where.h < a.h + double(b.h - a.h) * (where.v - a.v) / double(b.v - a.v))
            inside = !inside;
    }
    return inside;
}

bool inside_oval(const pf::Rect& r, pf::Point where) {
    const double rv = r.height() / 2.0 + kHitSlop, rh = r.width() / 2.0 + kHitSlop;
    const double dv = (where.v - (r.top + r.bottom) / 2.0) / rv, dh = (where.h - (r.left + r.right) / 2.0) / rh;
    return dv * dv + dh * dh <= 1;
}

// Whether the point lies on a shape drawn through points: near its line, or
// inside when it is closed.
bool hits_points(const ObjectRecord& record, const std::vector<pf::Point>& points, pf::Point where, bool closed) {
    if (points.size() < 2) return false;
    return near_path(points, where, kHitSlop + record.line_size) || (closed && inside_outline(points, where));
}

// Whether the point lies on the object's drawn shape: near a line or
// freehand stroke, inside an oval or polygon, else inside its rectangle.
bool hits(const ObjectRecord& record, const pf::Rect& r, pf::Point where) {
    pf::Rect wide{int16_t(r.top - kHitSlop), int16_t(r.left - kHitSlop), int16_t(r.bottom + kHitSlop),
                  int16_t(r.right + kHitSlop)};
    if (!pf::pt_in_rect(where, wide)) return false;
    if (record.kind == kOvalObject) return inside_oval(r, where);
    if (record.kind == kTriangleObject) return hits_points(record, triangle_points(r), where, true);
    if (record.kind == kFreehandObject) return hits_points(record, points_of(record.points, r), where, false);
    if (record.kind == kPolygonObject) {
        std::vector<pf::Point> outline = points_of(record.data, r);
        if (!outline.empty()) outline.push_back(outline.front());
        return hits_points(record, outline, where, true);
    }
    if (!is_line(record.kind)) return true;
    pf::Point from, to;
    line_ends(record.info, r, &from, &to);
    double dh = to.h - from.h, dv = to.v - from.v, length = std::hypot(dh, dv);
    if (length < 1) return true;
    double distance = std::fabs((where.h - from.h) * dv - (where.v - from.v) * dh) / length;
    return distance <= kHitSlop + record.line_size;
}

}  // namespace

uint8_t line_direction(pf::Point from, pf::Point to) {
    return uint8_t((from.v > to.v ? kLineFromBottom : 0) | (from.h > to.h ? kLineFromRight : 0));
}

void line_ends(uint8_t direction, const pf::Rect& r, pf::Point* from, pf::Point* to) {
    const pf::Point top_left{r.top, r.left}, bottom_right{int16_t(r.bottom - 1), int16_t(r.right - 1)};
    const pf::Point bottom_left{bottom_right.v, r.left}, top_right{r.top, bottom_right.h};
    switch (direction & (kLineFromBottom | kLineFromRight)) {
        case kLineFromBottom: *from = bottom_left, *to = top_right; break;
        case kLineFromRight: *from = top_right, *to = bottom_left; break;
        case kLineFromBottom | kLineFromRight: *from = bottom_right, *to = top_left; break;
        default: *from = top_left, *to = bottom_right; break;
    }
}

pf::Rect object_rect(MemoryRef object, int16_t pane, MemoryRef layer) {
    const ObjectRecord record = *ObjectUse(object).get();
    pf::Rect anchor{};
    Cell_Location(pane, &anchor, 1, CellPoint{record.anchor_row, record.anchor_column}, layer);
    int16_t top = int16_t(anchor.top + record.v_offset), left = int16_t(anchor.left + record.h_offset);
    return pf::Rect{top, left, int16_t(top + record.height), int16_t(left + record.width)};
}

int16_t ObjectOnScreen(int16_t pane, int16_t, pf::Rect* rect, MemoryRef object, MemoryRef layer) {
    pf::Rect pane_rect;
    GetPaneRect(&pane_rect, pane, layer);
    if (pane_rect.left == -1) return 0;
    *rect = object_rect(object, pane, layer);
    pf::Rect reach{int16_t(rect->top - kHandleSize), int16_t(rect->left - kHandleSize),
                   int16_t(rect->bottom + kHandleSize), int16_t(rect->right + kHandleSize)}, shown;
    return pf::sect_rect(reach, pane_rect, shown) ? 1 : 0;
}

std::vector<pf::Rect> object_handles(MemoryRef object, const pf::Rect& r) {
    const ObjectRecord record = *ObjectUse(object).get();
    if (is_line(record.kind)) {
        pf::Point from, to;
        line_ends(record.info, r, &from, &to);
        return {handle_at(from.h, from.v), handle_at(to.h, to.v)};
    }
    int16_t middle_h = int16_t((r.left + r.right) / 2), middle_v = int16_t((r.top + r.bottom) / 2);
    int16_t right = int16_t(r.right - 1), bottom = int16_t(r.bottom - 1);
    return {handle_at(r.left, r.top),      handle_at(middle_h, r.top),    handle_at(right, r.top),
            handle_at(right, middle_v),    handle_at(right, bottom),      handle_at(middle_h, bottom),
            handle_at(r.left, bottom),     handle_at(r.left, middle_v)};
}

void draw_object(MemoryRef object, const pf::Rect& rect) {
    const ObjectRecord record = *ObjectUse(object).get();
    if (const ObjectKindProcs* added = added_kind_of(record)) {
        added->draw(object, rect);
    } else if (is_line(record.kind)) {
        set_pen(record);
        draw_line_object(record, rect);
    } else if (record.kind == kPolygonObject || record.kind == kFreehandObject) {
        draw_points_object(record, rect);
    } else if (record.kind == kPictureObject) {
        draw_picture(record, rect);
    } else {
        draw_shape_object(record, rect);
        if (record.kind == kTextObject && !GetObj_info(object, pf::four_cc("ised"))) draw_text(record, rect);
    }
    pf::pen_normal();
}

namespace {

// The text being typed in a box and the handles of the selected objects.
void draw_selection_marks(int16_t pane, MemoryRef layer) {
    draw_edited_text(pane, layer);
    pf::rgb_fore_color(pf::kBlackColor);
    pf::Rect rect;
    for (int32_t i = 1; MemoryRef object = get_selected_object(layer, i); ++i)
        if (ObjectOnScreen(pane, 0, &rect, object, layer))
            for (const pf::Rect& handle : object_handles(object, rect)) pf::paint_rect(handle);
}

}  // namespace

void draw_pane_objects(int16_t pane, MemoryRef layer) {
    pf::Rect pane_rect;
    GetPaneRect(&pane_rect, pane, layer);
    if (pane_rect.left == -1 || num_objects(layer) == 0) return;
    pf::RgnHandle saved = pf::new_region(), clip = pf::new_region();
    pf::get_clip(saved);
    pf::rect_region(clip, pane_rect);
    pf::sect_region(clip, saved, clip);
    pf::set_clip(clip);
    pf::Rect rect;
    for (int32_t i = 1; MemoryRef object = find_object_item(layer, i); ++i)
        if (ObjectOnScreen(pane, 0, &rect, object, layer)) draw_object(object, rect);
    // Pages and pictures show the objects without the marks of the selection.
    if (!(GetSheetFlags(layer) & kLayerPictureDrawing)) draw_selection_marks(pane, layer);
    pf::set_clip(saved);
    pf::dispose_region(clip);
    pf::dispose_region(saved);
}

namespace {

// The selected object whose handle is under the point (handles come before
// the objects that overlap them), with the handle's number.
MemoryRef selected_handle_at(pf::Rect* rect, pf::Point where, int16_t* handle, int16_t pane, MemoryRef layer) {
    for (int32_t i = 1; MemoryRef object = get_selected_object(layer, i); ++i) {
        if (!ObjectOnScreen(pane, 0, rect, object, layer)) continue;
        std::vector<pf::Rect> handles = object_handles(object, *rect);
        for (size_t n = 0; n < handles.size(); ++n)
            if (pf::pt_in_rect(where, handles[n])) {
                *handle = int16_t(n + 1);
                return object;
            }
    }
    return nullptr;
}

}  // namespace

MemoryRef MouseinObject(pf::Rect* rect, pf::Point where, int16_t* handle, int16_t pane, MemoryRef layer) {
    *handle = 0;
    if (MemoryRef object = selected_handle_at(rect, where, handle, pane, layer)) return object;
    for (int32_t i = num_objects(layer); i >= 1; --i) {
        MemoryRef object = find_object_item(layer, i);
        if (!ObjectOnScreen(pane, 0, rect, object, layer)) continue;
        const ObjectRecord record = *ObjectUse(object).get();
        if (hits(record, *rect, where)) return object;
    }
    return nullptr;
}
