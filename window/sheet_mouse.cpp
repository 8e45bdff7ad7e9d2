// Mouse handling in the sheet.
#include "window/sheet_mouse.h"

#include "model/layer.h"
#include "model/layer_use.h"
#include "platform/draw/rects.h"
#include "platform/events/events.h"
#include "platform/windows/windows.h"
#include "window/doc_window.h"
#include "window/cell_geometry.h"
#include "window/entry_line.h"
#include "window/in_cell_editor.h"
#include "window/point_mode.h"
#include "window/selection_highlight.h"
#include "window/selection_tracking.h"
#include "window/sheet_cursor.h"
#include "window/window_commands.h"
#include "window/window_services.h"

namespace {

constexpr int16_t kHeadingBottom = 15;
constexpr int16_t kRowHeadingRight = 31;
constexpr int16_t kColumnProbeV = 15;
constexpr int16_t kRowProbeH = 35;
constexpr int16_t kGhostColumnProbeV = 14;
constexpr int16_t kGhostRowProbeH = 33;
constexpr int16_t kMoveUndoKind = 4;

struct Click {
    pf::Point where;
    uint16_t modifiers;
    uint32_t flags;
};

Click recorded_click(MemoryRef layer) {
    LayerUse sheet(layer);
    const Click click{sheet->click_point, sheet->click_modifiers, sheet->flags};
    return click;
}

void mark_format_stale(MemoryRef layer) { SetSheetFlags(layer, GetSheetFlags(layer) | kLayerFormatStale); }

pf::Point probe_point(pf::Point where, bool column_mode, int16_t v, int16_t h) {
    if (column_mode) where.v = v;
    else where.h = h;
    return where;
}

CellPoint whole_line(CellPoint cell, bool column_mode) {
    if (column_mode) cell.v = kLastCell;
    else cell.h = kLastCell;
    return cell;
}

// The cell of a heading probe inside a pane (row or column set to the first), or -1s.
CellPoint heading_cell(MemoryRef layer, pf::Point probe, bool column_mode, int16_t* pane) {
    *pane = find_pane(probe, layer);
    if (*pane < 0) return CellPoint{-1, -1};
    CellPoint cell;
    PtinCell(&cell, probe, *pane, layer);
    if (column_mode) cell.v = 0;
    else cell.h = 0;
    return cell;
}

// The heading cell under the mouse in the pane; outside it the tracked cell as CheckMouse moves it.
CellPoint line_under_mouse(MemoryRef layer, int16_t pane, CellPoint tracked, bool column_mode, int16_t row_probe_h) {
    pf::Point mouse;
    pf::get_mouse(mouse);
    int16_t under_pane;
    const CellPoint probe =
        heading_cell(layer, probe_point(mouse, column_mode, kColumnProbeV, row_probe_h), column_mode, &under_pane);
    if (under_pane == pane) return probe;
    CheckMouse(mouse, column_mode, !column_mode, &tracked, pane, layer);
    return tracked;
}

bool is_whole(const CellRange& r, bool column_mode) {
    return column_mode ? whole_columns(r) : whole_rows(r);
}

// Commits the entry being edited; true when it was stored and the editor closed.
bool commit_for_click() {
    MemoryRef edited = doc_window_layer(Editor_Wind);
    if (!edited || !Cell_Entry(edited, 0)) return false;
    Editor_Wind = nullptr;
    return true;
}

// Pointing at cells while a formula is typed: the reference goes into the entry.
void point_at_cells(MemoryRef layer, int16_t pane, CellPoint cell, uint16_t modifiers) {
    end_point_mode();
    const CellRange anchor = CelltoRect(cell);
    CellRange reference = anchor;
    CellPoint last = cell;
    AntRect(layer, reference.topLeft, reference.botRight);
    for (bool down = true; down;) {
        down = pf::still_down();
        const CellPoint now = cell_under_mouse(layer, pane, last);
        if (!(now == last)) GhostIt(layer, &last, now, &reference, &anchor);
        AntRect(layer, reference.topLeft, reference.botRight);
    }
    add_range_text(0, reference, modifiers, layer);
}

int16_t select_lines(MemoryRef layer, pf::Point where, bool column_mode, uint16_t modifiers) {
    if (!Editor_Wind) {
        SelectCol_Row(layer, where, column_mode);
        return kClickHandled;
    }
    if (!CheckFormula()) {
        if (commit_for_click()) SelectCol_Row(layer, where, column_mode);
        return kClickHandled;
    }
    const CellRange reference = GhostCol_Row(layer, where, column_mode);
    if (reference.topLeft.v >= 0) add_range_text(0, reference, modifiers, layer);
    return kClickHandled;
}

// A click on the headings selects cells: the objects are let go.
int16_t heading_click(MemoryRef layer, const Click& click) {
    window_services.let_go_of_objects(layer);
    const bool column_headings = click.where.v < kHeadingBottom;
    if (column_headings && click.where.h < kRowHeadingRight) {
        window_services.select_dialog(layer);
        return kClickHandled;
    }
    return select_lines(layer, click.where, column_headings, click.modifiers);
}

// A click in the cells with no entry open: select, stretch by dragging.
int16_t select_click(MemoryRef layer, int16_t pane, CellPoint cell, uint16_t modifiers) {
    const bool shift = modifiers & pf::kShiftKey;
    CellRange old;
    GetSelectRect(&old, layer);
    if (!shift) LSelect(cell, nullptr, nullptr, 0, layer);
    CellPoint last{-1, -1};
    SelectIt(&last, cell, layer);
    for (bool down = true; down;) {
        down = pf::still_down();
        SelectIt(&last, cell_under_mouse(layer, pane, last), layer);
    }
    CellRange now;
    GetSelectRect(&now, layer);
    if (!shift && now == old && is_single_cell(now)) {
        WEList.editor_pane = pane;
        return kClickInCellEditor;
    }
    return kClickHandled;
}

int16_t cell_click(MemoryRef layer, const Click& click) {
    const int16_t pane = find_pane(click.where, layer);
    if (pane < 0) return kClickHandled;
    CellPoint cell;
    PtinCell(&cell, click.where, pane, layer);
    if (Editor_Wind) {
        if (MouseInCellEditor(click.where, layer)) return kClickInCellEditor;
        if (CheckFormula()) point_at_cells(layer, pane, cell, click.modifiers);
        else if (commit_for_click()) LSelect(cell, nullptr, nullptr, 0, layer);
        return kClickHandled;
    }
    if (window_services.click_in_object(layer, click.where, click.modifiers, pane)) return kClickHandled;
    if ((click.modifiers & pf::kOptionKey) && (click.modifiers & pf::kCmdKey)) {
        CellRange selection;
        GetSelectRect(&selection, layer);
        window_services.move_selected_cells(int16_t(cell.h - selection.topLeft.h),
                                            int16_t(cell.v - selection.topLeft.v), 0, kMoveUndoKind, layer);
        return kClickHandled;
    }
    const int16_t drag = window_services.selection_part_at(click.where, pane, layer);
    if (drag == kOnFillHandle) window_services.track_fill_handle(layer, pane);
    else if (drag == kOnSelectionBorder) window_services.drag_cells(pane, nullptr, layer);
    if (drag) return kClickHandled;
    return select_click(layer, pane, cell, click.modifiers);
}

}  // namespace

CellPoint cell_under_mouse(MemoryRef layer, int16_t pane, CellPoint tracked) {
    pf::Point mouse;
    pf::get_mouse(mouse);
    pf::Rect rect;
    GetPaneRect(&rect, pane, layer);
    if (pf::pt_in_rect(mouse, rect)) {
        CellPoint cell;
        PtinCell(&cell, mouse, pane, layer);
        return cell;
    }
    CheckMouse(mouse, true, true, &tracked, pane, layer);
    return tracked;
}

int16_t SheetClick(MemoryRef layer) {
    const Click click = recorded_click(layer);
    const bool headings = click.flags & kLayerHeadings;
    int16_t answer;
    if (headings && (click.where.v < kHeadingBottom || click.where.h <= kRowHeadingRight))
        answer = heading_click(layer, click);
    else
        answer = cell_click(layer, click);
    mark_format_stale(layer);
    return answer;
}

void SelectCol_Row(MemoryRef layer, pf::Point where, int16_t column_mode) {
    int16_t pane;
    CellPoint cell = heading_cell(layer, probe_point(where, column_mode, kColumnProbeV, kRowProbeH), column_mode, &pane);
    if (pane < 0) return;
    const bool shift = recorded_click(layer).modifiers & pf::kShiftKey;
    CellRange selection;
    GetSelectRect(&selection, layer);
    if (!shift || !is_whole(selection, column_mode)) LSelect(cell, nullptr, nullptr, 0, layer);
    CellPoint last{-1, -1};
    SelectIt(&last, whole_line(cell, column_mode), layer);
    for (bool down = true; down;) {
        down = pf::still_down();
        cell = line_under_mouse(layer, pane, cell, column_mode, kRowProbeH);
        SelectIt(&last, whole_line(cell, column_mode), layer);
    }
}

CellRange GhostCol_Row(MemoryRef layer, pf::Point where, int16_t column_mode) {
    int16_t pane;
    CellPoint cell =
        heading_cell(layer, probe_point(where, column_mode, kGhostColumnProbeV, kRowProbeH), column_mode, &pane);
    if (pane < 0) return CellRange{{-1, -1}, {-1, -1}};
    const CellRange anchor{cell, whole_line(cell, column_mode)};
    CellRange reference = anchor;
    CellPoint last = whole_line(cell, column_mode);
    AntRect(layer, reference.topLeft, reference.botRight);
    for (bool down = true; down;) {
        down = pf::still_down();
        cell = line_under_mouse(layer, pane, cell, column_mode, kGhostRowProbeH);
        const CellPoint now = whole_line(cell, column_mode);
        if (!(now == last)) GhostIt(layer, &last, now, &reference, &anchor);
        AntRect(layer, reference.topLeft, reference.botRight);
    }
    return reference;
}

void sheet_click_in_window(MemoryRef record, MemoryRef layer) {
    if (const int16_t tool = int16_t(read_doc_window(record).tool)) return window_services.create_tool(record, tool);
    const int16_t answer = SheetClick(layer);
    if (answer == kClickInCellEditor) {
        LayerUse sheet(layer);
        const int16_t count = sheet->click_count;
        sheet.release();
        if (!Editor_Wind && count > 0) activate_editor(0, WEList.editor_pane, layer, record);
        ClickCellEditor(WEList.instance, layer);
    } else if (answer == kClickHandled && !Editor_Wind) {
        DisplayText(record, 1);
    }
}
