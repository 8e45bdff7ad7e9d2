// Selecting, moving and resizing drawing objects with the mouse.
#include "objects/object_mouse.h"

#include <algorithm>
#include <vector>

#include "core/string_utils.h"
#include "ui/screen_geometry.h"
#include "ui/system_info.h"
#include "window/window_services.h"
#include "model/undo_record.h"
#include "model/layer.h"
#include "model/layer_use.h"
#include "objects/object_commands.h"
#include "objects/object_creation.h"
#include "objects/object_drawing.h"
#include "objects/object_groups.h"
#include "objects/object_placement.h"
#include "objects/object_records.h"
#include "objects/object_undo.h"
#include "objects/objects.h"
#include "objects/text_box_editing.h"
#include "platform/draw/draw.h"
#include "platform/events/events.h"
#include "platform/windows/windows.h"
#include "window/cell_geometry.h"
#include "window/sheet_cursor.h"

namespace {

bool is_line(MemoryRef object) { return GetObj_info(object, pf::four_cc("isln")) != 0; }

// Whether the press being handled is the second of a double click.
bool double_clicked(MemoryRef layer) {
    return LayerUse(layer)->click_count > 0;
}

pf::Rect offset(pf::Rect r, int16_t dv, int16_t dh) {
    return pf::Rect{int16_t(r.top + dv), int16_t(r.left + dh), int16_t(r.bottom + dv), int16_t(r.right + dh)};
}

// The outlines of rectangles, drawn inverting so that a second pass takes them away.
void invert_outlines(const std::vector<pf::Rect>& rects) {
    pf::Port* port = pf::get_port();
    if (!port) return;
    const int16_t mode = port->pen_mode;
    pf::pen_mode(pf::kPatXor);
    for (const pf::Rect& r : rects) pf::frame_rect(r);
    pf::pen_mode(mode);
}

void select_for_click(MemoryRef layer, MemoryRef object, uint16_t modifiers) {
    const bool shift = modifiers & pf::kShiftKey;
    if (shift && is_object_selected(layer, object)) {
        deselect_with_group(layer, object);
    } else {
        if (!shift && !is_object_selected(layer, object)) clear_selected_objects(layer);
        select_with_group(layer, object);
    }
    DrawAllObjects(layer);
}

struct Drag {
    std::vector<MemoryRef> objects;
    std::vector<pf::Rect> from;
};

Drag selected_drag(MemoryRef layer, int16_t pane) {
    Drag drag;
    for (int32_t i = 1; MemoryRef object = get_selected_object(layer, i); ++i) {
        drag.objects.push_back(object);
        drag.from.push_back(object_rect(object, pane, layer));
    }
    return drag;
}

// The rectangles of a drag with the mouse moved by (dv, dh).
std::vector<pf::Rect> dragged(const Drag& drag, int16_t handle, int16_t dv, int16_t dh,
                              std::vector<uint8_t>* directions) {
    std::vector<pf::Rect> rects;
    for (size_t i = 0; i < drag.objects.size(); ++i) {
        if (!handle) {
            rects.push_back(offset(drag.from[i], dv, dh));
            continue;
        }
        auto direction = uint8_t(GetObj_info(drag.objects[i], pf::four_cc("info")));
        rects.push_back(is_line(drag.objects[i]) ? resized_line(drag.from[i], &direction, handle, dv, dh)
                                                 : resized_rect(drag.from[i], handle, dv, dh));
        if (directions) directions->push_back(direction);
    }
    return rects;
}

// Follows the mouse until release; answers the mouse's movement.
pf::Point track(const Drag& drag, int16_t handle, pf::Point start) {
    pf::Point last = start;
    std::vector<pf::Rect> shown = dragged(drag, handle, 0, 0, nullptr);
    invert_outlines(shown);
    for (bool down = true; down;) {
        down = pf::still_down();
        pf::Point mouse;
        pf::get_mouse(mouse);
        if (mouse == last) continue;
        last = mouse;
        invert_outlines(shown);
        shown = dragged(drag, handle, int16_t(mouse.v - start.v), int16_t(mouse.h - start.h), nullptr);
        invert_outlines(shown);
    }
    invert_outlines(shown);
    return pf::Point{int16_t(last.v - start.v), int16_t(last.h - start.h)};
}

// A selected text box answers the text cursor this far inside its frame.
constexpr int16_t kTextBoxCursorInset = 4;

// Handles are numbered clockwise from the top left: corners 1, 3, 5, 7,
// side middles 2, 4, 6, 8; a line has its two ends.
int16_t handle_cursor(MemoryRef object, int16_t handle) {
    if (GetObj_info(object, pf::four_cc("isln"))) return kLineEndCursor;
    switch (handle) {
        case 1:
        case 5: return kFallingHandleCursor;
        case 3:
        case 7: return kRisingHandleCursor;
        case 2:
        case 6: return kEndHandleCursor;
        default: return kSideHandleCursor;
    }
}

int16_t inside_object_cursor(MemoryRef object, const pf::Rect& rect, pf::Point where) {
    if (GetObj_info(object, pf::four_cc("isch"))) return kChartCursor;
    if (GetObj_info(object, pf::four_cc("type")) != kTextObject) return kObjectCursor;
    pf::Rect inner = rect;
    Inset_Rect(inner, kTextBoxCursorInset, kTextBoxCursorInset);
    return pf::pt_in_rect(where, inner) ? kTextCursor : kObjectCursor;
}

}  // namespace

pf::Rect resized_rect(const pf::Rect& r, int16_t handle, int16_t dv, int16_t dh) {
    int32_t top = r.top, left = r.left, bottom = r.bottom, right = r.right;
    if (handle == 1 || handle == 2 || handle == 3) top += dv;
    if (handle == 5 || handle == 6 || handle == 7) bottom += dv;
    if (handle == 1 || handle == 7 || handle == 8) left += dh;
    if (handle == 3 || handle == 4 || handle == 5) right += dh;
    if (top > bottom) std::swap(top, bottom);
    if (left > right) std::swap(left, right);
    bottom = std::max(bottom, top + 1), right = std::max(right, left + 1);
    return pf::Rect{int16_t(top), int16_t(left), int16_t(bottom), int16_t(right)};
}

pf::Rect resized_line(const pf::Rect& r, uint8_t* direction, int16_t handle, int16_t dv, int16_t dh) {
    pf::Point from, to;
    line_ends(*direction, r, &from, &to);
    pf::Point& moved = handle == 1 ? from : to;
    moved = pf::Point{int16_t(moved.v + dv), int16_t(moved.h + dh)};
    *direction = line_direction(from, to);
    return line_rect(from, to);
}

void move_object_to(MemoryRef object, const pf::Rect& rect, int16_t pane, MemoryRef layer) {
    pf::Rect pane_rect;
    GetPaneRect(&pane_rect, pane, layer);
    pf::Point corner{std::max(rect.top, pane_rect.top), std::max(rect.left, pane_rect.left)};
    CellPoint cell;
    PtinCell(&cell, corner, pane, layer);
    pf::Rect cell_rect{};
    Cell_Location(pane, &cell_rect, 1, cell, layer);
    ObjectUse record(object);
    record->anchor_row = cell.v, record->anchor_column = cell.h;
    record->v_offset = int16_t(std::max(0, rect.top - cell_rect.top));
    record->h_offset = int16_t(std::max(0, rect.left - cell_rect.left));
    record->height = rect.height(), record->width = rect.width();
    record.release();
    ObjectLocation(object, layer);
}

int16_t ClickinObject(MemoryRef layer, pf::Point where, uint16_t modifiers, int16_t pane) {
    if (text_editor_click(where, modifiers, pane, layer)) return 1;
    pf::Rect rect;
    int16_t handle = 0;
    MemoryRef object = MouseinObject(&rect, where, &handle, pane, layer);
    if (!object) {
        if (get_selected_object(layer, 1)) {
            clear_selected_objects(layer);
            DrawAllObjects(layer);
        }
        return 0;
    }
    // A double click on a selected object opens its settings.
    if (!handle && !(modifiers & pf::kShiftKey) && is_object_selected(layer, object) && double_clicked(layer)) {
        InfoSwitcher(layer, 1);
        return 1;
    }
    // A second press on a selected text box, without a drag, begins typing in it.
    const bool types = !handle && !(modifiers & pf::kShiftKey) && is_object_selected(layer, object) &&
                       GetObj_info(object, pf::four_cc("type")) == kTextObject;
    if (!handle) select_for_click(layer, object, modifiers);
    if (!is_object_selected(layer, object)) return 1;
    // With drag and drop on, a move drags the objects: to another place, layer or window.
    if (!handle && (g_system.flags & kSysDragInUse)) {
        if (window_services.drag_cells(pane, object, layer) == pf::kUserCanceledErr && types && !GetObj_info(object, pf::four_cc("prot")))
            begin_text_editing(object, pane, layer);
        return 1;
    }
    Drag drag = selected_drag(layer, pane);
    if (handle) drag = Drag{{object}, {rect}};
    const pf::Point moved = track(drag, handle, where);
    if (moved == pf::Point{}) {
        if (types && !GetObj_info(object, pf::four_cc("prot"))) begin_text_editing(object, pane, layer);
        return 1;
    }
    // A reshaped list of points goes back with the whole object.
    const bool reshapes = handle && has_points(object);
    if (reshapes) record_object_attributes({object}, layer);
    else record_object_moves(handle ? kUndoObjectResized : kUndoObjectsMoved, layer);
    std::vector<uint8_t> directions;
    std::vector<pf::Rect> rects = dragged(drag, handle, moved.v, moved.h, &directions);
    for (size_t i = 0; i < drag.objects.size(); ++i) {
        if (GetObj_info(drag.objects[i], pf::four_cc("prot"))) continue;
        if (handle && is_line(drag.objects[i])) SetObj_info(drag.objects[i], pf::four_cc("info"), directions[i]);
        move_object_to(drag.objects[i], rects[i], pane, layer);
        if (reshapes) scale_points(drag.objects[i], drag.from[i], rects[i]);
    }
    DrawAllObjects(layer);
    return 1;
}

int16_t object_cursor(MemoryRef layer, pf::Point where, int16_t pane) {
    pf::Rect rect;
    int16_t handle = 0;
    MemoryRef object = MouseinObject(&rect, where, &handle, pane, layer);
    if (!object) return 0;
    if (handle) return handle_cursor(object, handle);
    return is_object_selected(layer, object) ? inside_object_cursor(object, rect, where) : 0;
}

void deselect_objects(MemoryRef layer) {
    ClobberObjectEditor(layer);
    if (!get_selected_object(layer, 1)) return;
    clear_selected_objects(layer);
    DrawAllObjects(layer);
}
