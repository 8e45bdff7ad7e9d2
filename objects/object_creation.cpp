// Making drawing objects with the drawing tools, and the selection marquee.
#include "objects/object_creation.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "core/memory_use.h"
#include "model/undo_record.h"
#include "model/layer.h"
#include "objects/object_drawing.h"
#include "objects/object_groups.h"
#include "objects/object_mouse.h"
#include "objects/object_placement.h"
#include "objects/object_records.h"
#include "objects/object_undo.h"
#include "objects/objects.h"
#include "objects/text_box_editing.h"
#include "platform/draw/draw.h"
#include "platform/events/events.h"
#include "window/cell_geometry.h"
#include "window/window_commands.h"

namespace {

constexpr int16_t kFirstDrawingTool = 3;
constexpr pf::FourCC kToolKinds[] = {kFreehandObject, kLineObject,   kArrowObject,    kDoubleArrowObject,
                                     kOvalObject,     kRectObject,   kRoundRectObject, kTextObject,
                                     kTriangleObject, kPolygonObject};
// A press without a drag makes a shape of the default size; a text box this size.
constexpr int16_t kLeastDrag = 3;
constexpr int16_t kClickSide = 20;
constexpr int16_t kClickTextHeight = 40, kClickTextWidth = 120;
constexpr int16_t kPolygonTolerance = 3;

bool is_stroke_kind(pf::FourCC kind) { return kind == kFreehandObject || kind == kPolygonObject; }

bool dragged(pf::Point from, pf::Point to) {
    return std::abs(to.v - from.v) >= kLeastDrag || std::abs(to.h - from.h) >= kLeastDrag;
}

// The rectangle a press and release at two points give a shape (at least a
// pixel each way).
pf::Rect shape_rect(pf::FourCC kind, pf::Point from, pf::Point to) {
    if (dragged(from, to)) {
        pf::Rect r = rect_between(from, to);
        r.bottom = std::max<int16_t>(r.bottom, int16_t(r.top + 1)), r.right = std::max<int16_t>(r.right, int16_t(r.left + 1));
        return r;
    }
    const int16_t height = kind == kTextObject ? kClickTextHeight : kClickSide;
    const int16_t width = kind == kTextObject ? kClickTextWidth : kClickSide;
    return pf::Rect{from.v, from.h, int16_t(from.v + height), int16_t(from.h + width)};
}

pf::Rect bounds_of(const std::vector<pf::Point>& points) {
    pf::Rect r{points[0].v, points[0].h, points[0].v, points[0].h};
    for (const pf::Point& p : points) {
        r.top = std::min(r.top, p.v), r.left = std::min(r.left, p.h);
        r.bottom = std::max(r.bottom, p.v), r.right = std::max(r.right, p.h);
    }
    ++r.bottom, ++r.right;
    return r;
}

// The points as host-order (v, h) words from the rectangle's top left.
MemoryRef point_block(const std::vector<pf::Point>& points, const pf::Rect& r, MemoryRef layer) {
    std::vector<int16_t> words;
    for (const pf::Point& p : points) {
        words.push_back(int16_t(p.v - r.top));
        words.push_back(int16_t(p.h - r.left));
    }
    return Bytes2Memory(GetMemoryGlobals(layer), words.data(), 1, int32_t(words.size() * sizeof(int16_t)));
}

// An empty text record: no characters, no styles.
MemoryRef empty_text(MemoryRef layer) {
    const uint8_t empty[4] = {};
    return Bytes2Memory(GetMemoryGlobals(layer), empty, 1, sizeof empty);
}

// The object's rectangle and its parts from the drawn points; false when
// the points draw nothing or memory failed.
bool shape_from_stroke(MemoryRef object, pf::FourCC kind, const std::vector<pf::Point>& stroke, pf::Rect* rect,
                       MemoryRef layer) {
    if (is_stroke_kind(kind)) {
        std::vector<pf::Point> points =
            kind == kPolygonObject ? stroke_corners(stroke, kPolygonTolerance) : stroke;
        if (points.size() < 2) return false;
        if (kind == kPolygonObject && !(points.front() == points.back())) points.push_back(points.front());
        *rect = bounds_of(points);
        MemoryRef block = point_block(points, *rect, layer);
        if (!block) return false;
        ObjectUse record(object);
        (kind == kPolygonObject ? record->data : record->points) = block;
        return true;
    }
    const pf::Point from = stroke.front(), to = stroke.back();
    if (GetObj_info(object, pf::four_cc("isln"))) {
        if (!dragged(from, to)) return false;
        *rect = line_rect(from, to);
        SetObj_info(object, pf::four_cc("info"), line_direction(from, to));
        return true;
    }
    *rect = shape_rect(kind, from, to);
    if (kind != kTextObject) return true;
    MemoryRef text = empty_text(layer);
    SetObj_info(object, pf::four_cc("data"), reinterpret_cast<intptr_t>(text));
    return text != nullptr;
}

// ---- Following the mouse ------------------------------------------------------

// Draws (and a second time takes away) the outline of what is being made.
void invert_shape(pf::FourCC kind, const std::vector<pf::Point>& stroke) {
    pf::Port* port = pf::get_port();
    if (!port || stroke.empty()) return;
    const int16_t mode = port->pen_mode;
    pf::pen_mode(pf::kPatXor);
    const pf::Point from = stroke.front(), to = stroke.back();
    if (is_stroke_kind(kind)) {
        pf::move_to(from.h, from.v);
        for (size_t i = 1; i < stroke.size(); ++i) pf::line_to(stroke[i].h, stroke[i].v);
    } else if (kind == kLineObject || kind == kArrowObject || kind == kDoubleArrowObject) {
        pf::move_to(from.h, from.v);
        pf::line_to(to.h, to.v);
    } else if (kind == kOvalObject) {
        pf::frame_oval(rect_between(from, to));
    } else {
        pf::frame_rect(rect_between(from, to));
    }
    pf::pen_mode(mode);
}

// The points the mouse passes until release, from `where` on (the first and
// the last are where it was pressed and released).
std::vector<pf::Point> track_stroke(pf::FourCC kind, pf::Point where) {
    std::vector<pf::Point> stroke{where};
    std::vector<pf::Point> shown = stroke;
    for (bool down = true; down;) {
        down = pf::still_down();
        pf::Point mouse;
        pf::get_mouse(mouse);
        if (mouse == stroke.back()) continue;
        invert_shape(kind, shown);
        if (is_stroke_kind(kind) || stroke.size() < 2) stroke.push_back(mouse);
        else stroke.back() = mouse;
        shown = stroke;
        invert_shape(kind, shown);
    }
    invert_shape(kind, shown);
    return stroke;
}

// The distance of a point from the straight line through two others.
double distance_from_line(pf::Point p, pf::Point a, pf::Point b) {
    const double dh = b.h - a.h, dv = b.v - a.v, length = std::hypot(dh, dv);
    if (length < 1) return std::hypot(p.h - a.h, p.v - a.v);
    return std::fabs((p.h - a.h) * dv - (p.v - a.v) * dh) / length;
}

void keep_corners(const std::vector<pf::Point>& stroke, size_t first, size_t last, double tolerance,
                  std::vector<bool>& kept) {
    size_t farthest = first;
    double most = tolerance;
    for (size_t i = first + 1; i < last; ++i) {
        double d = distance_from_line(stroke[i], stroke[first], stroke[last]);
        if (d > most) most = d, farthest = i;
    }
    if (farthest == first) return;
    kept[farthest] = true;
    keep_corners(stroke, first, farthest, tolerance, kept);
    keep_corners(stroke, farthest, last, tolerance, kept);
}

int16_t pane_of(MemoryRef window_record, pf::Point where, MemoryRef* layer) {
    *layer = window_record ? doc_window_layer(window_record) : nullptr;
    return *layer ? find_pane(where, *layer) : -1;
}

// A word stretched from a span of `from` pixels to one of `to` (both at least 1).
int16_t stretched(int16_t word, int from, int to) {
    return from <= 1 ? word : int16_t(std::lround(double(word) * (to - 1) / (from - 1)));
}

}  // namespace

bool has_points(MemoryRef object) { return is_stroke_kind(pf::FourCC(GetObj_info(object, pf::four_cc("type")))); }

void scale_points(MemoryRef object, const pf::Rect& from, const pf::Rect& to) {
    ObjectUse record(object);
    MemoryRef block = record->kind == kPolygonObject ? record->data : record->points;
    record.release();
    if (!block || !has_points(object)) return;
    const int32_t pairs = GetByteSize(block) / 4;
    MemoryUse<int16_t> words(block);
    for (int32_t i = 0; i < pairs; ++i) {
        words[2 * i] = stretched(words[2 * i], from.height(), to.height());
        words[2 * i + 1] = stretched(words[2 * i + 1], from.width(), to.width());
    }
}

pf::FourCC tool_object_kind(int16_t tool) {
    const int16_t index = int16_t(tool - kFirstDrawingTool);
    return index >= 0 && index < int16_t(std::size(kToolKinds)) ? kToolKinds[index] : 0;
}

pf::Rect rect_between(pf::Point from, pf::Point to) {
    return pf::Rect{std::min(from.v, to.v), std::min(from.h, to.h), std::max(from.v, to.v), std::max(from.h, to.h)};
}

pf::Rect line_rect(pf::Point from, pf::Point to) {
    pf::Rect r = rect_between(from, to);
    ++r.bottom, ++r.right;
    return r;
}

std::vector<pf::Point> stroke_corners(const std::vector<pf::Point>& stroke, int16_t tolerance) {
    if (stroke.size() < 3) return stroke;
    std::vector<bool> kept(stroke.size(), false);
    kept.front() = kept.back() = true;
    keep_corners(stroke, 0, stroke.size() - 1, tolerance, kept);
    std::vector<pf::Point> corners;
    for (size_t i = 0; i < stroke.size(); ++i)
        if (kept[i]) corners.push_back(stroke[i]);
    return corners;
}

MemoryRef make_drawn_object(MemoryRef layer, int16_t pane, pf::FourCC kind, const std::vector<pf::Point>& stroke) {
    if (stroke.empty()) return nullptr;
    MemoryRef object = make_object(kind, layer);
    if (!object) return nullptr;
    pf::Rect rect;
    if (!shape_from_stroke(object, kind, stroke, &rect, layer)) {
        ClobberObject(object);
        return nullptr;
    }
    move_object_to(object, rect, pane, layer);
    add_object(layer, object);
    clear_selected_objects(layer);
    add_selected(layer, object);
    record_added_objects(kUndoNewObject, object, layer);
    DrawAllObjects(layer);
    return object;
}

void select_objects_in(MemoryRef layer, int16_t pane, const pf::Rect& marquee, bool add) {
    if (!add) clear_selected_objects(layer);
    pf::Rect rect, met;
    for (MemoryRef object : layer_objects(layer))
        if (ObjectOnScreen(pane, 0, &rect, object, layer) && pf::sect_rect(rect, marquee, met))
            select_with_group(layer, object);
    DrawAllObjects(layer);
}

void Select_Object_Tool(MemoryRef window_record, pf::Point where) {
    MemoryRef layer;
    const int16_t pane = pane_of(window_record, where, &layer);
    if (pane < 0) return;
    ClobberObjectEditor(layer);
    const std::vector<pf::Point> stroke = track_stroke(kRectObject, where);
    const bool add = pf::current_modifiers() & pf::kShiftKey;
    select_objects_in(layer, pane, rect_between(stroke.front(), stroke.back()), add);
}

bool CreateObject(MemoryRef window_record, int16_t tool, pf::Point where) {
    const pf::FourCC kind = tool_object_kind(tool);
    MemoryRef layer;
    const int16_t pane = pane_of(window_record, where, &layer);
    if (!kind || pane < 0) return false;
    ClobberObjectEditor(layer);
    const std::vector<pf::Point> stroke = track_stroke(kind, where);
    MemoryRef object = make_drawn_object(layer, pane, kind, stroke);
    if (object && kind == kTextObject) begin_text_editing(object, pane, layer);
    // A press that drew no line or stroke makes nothing, and that is no failure.
    return object != nullptr || !dragged(stroke.front(), stroke.back());
}
