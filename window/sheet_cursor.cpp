// The cursor over a document window and the idle work of an edited text box.
#include "window/sheet_cursor.h"

#include <algorithm>

#include "ui/screen_geometry.h"
#include "core/string_utils.h"
#include "ui/task_manager.h"
#include "formula/recalc.h"
#include "model/layer.h"
#include "model/layer_use.h"
#include "window/text_boxes.h"
#include "platform/draw/draw.h"
#include "window/cell_geometry.h"
#include "window/doc_window.h"
#include "window/entry_line.h"
#include "window/in_cell_editor.h"
#include "window/resizing.h"
#include "window/window_services.h"

namespace {

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
    WEReference we = window_services.typed_text_box(layer);
    if (!we) return false;
    LongRect view;
    WEGetViewRect(view, we);
    return where.v >= view.top && where.v < view.bottom && where.h >= view.left && where.h < view.right;
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
    if (const int16_t cursor = window_services.cursor_over_object(layer, where, pane)) return cursor;
    return window_services.selection_part_at(where, pane, layer);
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

void SheetIdle(MemoryRef layer) {
    WEReference we = layer ? window_services.typed_text_box(layer) : nullptr;
    MemoryRef object = we ? GetObjEditor(layer, nullptr) : nullptr;
    if (!object) return;
    ConstLayerUse sheet(layer);
    const int16_t pane = sheet->edited_object_pane;
    sheet.release();
    pf::Rect rect;
    WindowRef window = layer_window(layer);
    if (!window || !window_services.object_on_screen(pane, 0, &rect, object, layer)) return;
    PushWindowPort(window);
    ResetViewField(&rect, pane, text_box_inset(window_services.line_size_of_object(object)), we, layer, 0);
    uint32_t sleep = 0;
    WEIdle(&sleep, we);
    PopPort();
}
