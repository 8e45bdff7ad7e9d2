// The cursor over a document window and the idle work of an edited text box.
#include "window/sheet_cursor.h"

#include <algorithm>

#include "ui/screen_geometry.h"
#include "core/string_utils.h"
#include "charts/charts.h"
#include "ui/task_manager.h"
#include "editing/sheet_drag.h"
#include "formula/recalc.h"
#include "model/layer.h"
#include "model/layer_use.h"
#include "objects/object_drawing.h"
#include "objects/object_records.h"
#include "objects/objects.h"
#include "objects/text_box_editing.h"
#include "window/text_boxes.h"
#include "platform/draw/draw.h"
#include "platform/events/clock.h"
#include "platform/host/host.h"
#include "window/cell_geometry.h"
#include "window/doc_window.h"
#include "window/entry_line.h"
#include "window/in_cell_editor.h"
#include "window/resizing.h"
#include "window/selection_highlight.h"

namespace {

// A selected text box answers the text cursor this far inside its frame.
constexpr int16_t kTextBoxCursorInset = 4;

bool shows_headings(MemoryRef layer) {
    ConstLayerUse sheet(layer);
    const bool shown = (sheet->flags & kLayerHeadings) != 0;
    return shown;
}

int16_t heading_boundary_cursor(MemoryRef layer, pf::Point where) {
    if (!shows_headings(layer)) return 0;
    int16_t index = 0, pane = 0;
    if (test_col_resize(layer, where, &index, &pane)) return kColumnBoundaryCursor;
    if (test_row_resize(layer, where, &index, &pane)) return kRowBoundaryCursor;
    return 0;
}

bool in_edited_text(MemoryRef layer, pf::Point where) {
    WEReference we = object_text_editor(layer);
    if (!we) return false;
    LongRect view;
    WEGetViewRect(view, we);
    return where.v >= view.top && where.v < view.bottom && where.h >= view.left && where.h < view.right;
}

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

int16_t object_cursor(MemoryRef layer, pf::Point where, int16_t pane) {
    pf::Rect rect;
    int16_t handle = 0;
    MemoryRef object = MouseinObject(&rect, where, &handle, pane, layer);
    if (!object) return 0;
    if (handle) return handle_cursor(object, handle);
    return is_object_selected(layer, object) ? inside_object_cursor(object, rect, where) : 0;
}

// The window's own cursor where the layer has none.
int16_t window_cursor(MemoryRef record, pf::Point where) {
    pf::Rect box;
    v_divider(record, &box);
    if (pf::pt_in_rect(where, box)) return kRowSplitCursor;
    h_divider(record, &box);
    if (pf::pt_in_rect(where, box)) return kColumnSplitCursor;
    if (read_doc_window(record).tool) return kToolCursor;
    if (stopCalc == kCalcManualIdle) return kStopCursor;
    if (stopCalc > 0) return kCalcSpinCursor;
    return kArrowCursor;
}

}  // namespace

int16_t SheetCursor(MemoryRef layer, pf::Point where) {
    if (!layer) return 0;
    if (const int16_t boundary = heading_boundary_cursor(layer, where)) return boundary;
    if (in_edited_text(layer, where)) return kTextCursor;
    const int16_t pane = find_pane(where, layer);
    if (pane < 0) return 0;
    if (const int16_t cursor = object_cursor(layer, where, pane)) return cursor;
    return pt_in_drag(where, pane, layer);
}

int16_t doc_window_cursor(MemoryRef record, pf::Point where) {
    const MemoryRef layer = read_doc_window(record).sheet;
    const bool editing = entry_line_editing();
    if (editing && MouseInCellEditor(where, layer)) return kTextCursor;
    const int16_t cursor = SheetCursor(layer, where);
    if (!cursor) return window_cursor(record, where);
    if (editing && cursor >= kOnFillHandle && cursor <= kOnSelectionBorder) return kArrowCursor;
    return cursor;
}

void outline_chart_part(MemoryRef layer, pf::Point where) {
    const int16_t pane = layer ? find_pane(where, layer) : -1;
    if (pane < 0) return;
    pf::Rect rect;
    int16_t handle = 0;
    MemoryRef object = MouseinObject(&rect, where, &handle, pane, layer);
    if (!object || handle || !is_object_selected(layer, object) || !GetObj_info(object, pf::four_cc("isch"))) return;
    const int16_t part = PtinChartEdit(object, rect, where, 0);
    WindowRef window = layer_window(layer);
    if (part < 0 || !window) return;
    PushWindowPort(window);
    pf::Rect outline;
    const uint32_t start = pf::tick_count();
    ChartAnts(pane, part, &outline, rect, object, layer);
    pf::host_present();
    ant_pause(start);
    ChartAnts(pane, part, &outline, rect, object, layer);
    pf::host_present();
    PopPort();
}

void SheetIdle(MemoryRef layer) {
    WEReference we = layer ? object_text_editor(layer) : nullptr;
    MemoryRef object = we ? GetObjEditor(layer, nullptr) : nullptr;
    if (!object) return;
    ConstLayerUse sheet(layer);
    const int16_t pane = sheet->edited_object_pane;
    sheet.release();
    pf::Rect rect;
    WindowRef window = layer_window(layer);
    if (!window || !ObjectOnScreen(pane, 0, &rect, object, layer)) return;
    PushWindowPort(window);
    ResetViewField(&rect, pane, kTextBoxInset, we, layer, 0);
    uint32_t sleep = 0;
    WEIdle(&sleep, we);
    PopPort();
}
