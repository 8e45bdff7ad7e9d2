#include "window/split_panes.h"

#include <algorithm>

#include "model/layer.h"
#include "model/layer_use.h"
#include "model/workbook.h"
#include "platform/draw/port.h"
#include "platform/draw/rects.h"
#include "platform/windows/windows.h"
#include "window/cell_geometry.h"
#include "window/doc_window.h"
#include "window/drag_line.h"
#include "window/sheet_frame.h"
#include "window/pane_layout.h"

namespace {

constexpr int16_t kEdgeMargin = 15;
constexpr int16_t kNoSplitStart = 6;  // where a box without a split starts its drag
constexpr int16_t kBandThickness = 5;
constexpr int16_t kSplitGap = 5;

// 0 when a divider lies too near either end of the split axis.
int16_t keep_clear_of_edges(int32_t divider, int16_t start, int16_t end) {
    if (divider < start + kEdgeMargin || divider + kSplitGap > end - kEdgeMargin) return 0;
    return int16_t(divider);
}

int16_t pane_start(MemoryRef layer, bool rows) {
    const bool headings = (GetSheetFlags(layer) & kLayerHeadings) != 0;
    return headings ? (rows ? kColumnHeaderHeight : kRowHeaderWidth) : int16_t(0);
}

pf::Rect view_of(MemoryRef layer) {
    LayerUse sheet(layer);
    const pf::Rect view = sheet->view_rect;
    return view;
}

// Headings and split boxes move with the panes: the whole window is drawn again.
void lay_out_again(MemoryRef record, bool hide_first = false) {
    const DocWindowRecord fields = read_doc_window(record);
    resize_sheet(fields.sheet, 1);
    ViewChanged(record, hide_first ? 1 : 0);
    if (fields.window) pf::inval_window_rect(fields.window, pf::window_port(fields.window)->port_rect);
}

}  // namespace

int16_t row_divider_after_drag(int16_t old, int16_t distance, int16_t start, int16_t end) {
    const int32_t moved = (old ? old : kNoSplitStart) + distance;
    const int32_t divider = (moved & ~1) - 1;
    if (divider < kEdgeMargin) return 0;
    return keep_clear_of_edges(divider, start, end);
}

int16_t column_divider_after_drag(int16_t old, int16_t distance, int16_t start, int16_t end) {
    const int32_t moved = (old ? old : kNoSplitStart) + distance;
    const int32_t divider = moved / 4 * 4 + 1;
    return keep_clear_of_edges(divider, start, end);
}

namespace {

// The split at the first row (column) after pane 0's first whose far edge
// reaches the middle of the view: its near edge less 1.
int16_t split_at_middle(MemoryRef layer, bool rows, int16_t* index) {
    const pf::Rect view = view_of(layer);
    const int16_t half = int16_t((rows ? view.bottom : view.right) / 2);
    CellRange visible;
    GetVisibleCells(&visible, 0, layer);
    const int16_t first = rows ? visible.topLeft.v : visible.topLeft.h;
    const int16_t last = rows ? visible.botRight.v : visible.botRight.h;
    for (int16_t i = int16_t(first + 1); i <= last; ++i) {
        pf::Rect rect{};
        if (rows) Cell_V_Coord(0, &rect, 1, i, layer);
        else Cell_H_Coord(0, &rect, 1, i, layer);
        if ((rows ? rect.bottom : rect.right) >= half) {
            if (index) *index = i;
            return int16_t((rows ? rect.top : rect.left) - 1);
        }
    }
    return 0;
}

}  // namespace

int16_t split_v_mid(MemoryRef layer, int16_t* row) { return split_at_middle(layer, true, row); }
int16_t split_h_mid(MemoryRef layer, int16_t* column) { return split_at_middle(layer, false, column); }

void set_row_split(MemoryRef record, int16_t divider) {
    MemoryRef layer = read_doc_window(record).sheet;
    if (get_v_divider(layer) == divider) return;
    set_v_divider(divider, layer);
    lay_out_again(record);
}

void set_column_split(MemoryRef record, int16_t divider) {
    MemoryRef layer = read_doc_window(record).sheet;
    if (get_h_divider(layer) == divider) return;
    set_h_divider(divider, layer);
    lay_out_again(record);
}

namespace {

int16_t drag_row_split(MemoryRef record, pf::Point where) {
    const DocWindowRecord fields = read_doc_window(record);
    const pf::Rect view = view_of(fields.sheet);
    const int16_t old = get_v_divider(fields.sheet);
    const int16_t from = old ? old : kNoSplitStart;
    LineDrag drag{pf::Rect{from, 0, int16_t(from + kBandThickness), view.right}, true, 0,
                  int16_t(view.bottom - kBandThickness)};
    const int16_t edge = track_band(drag, where);
    if (edge == from) return old;
    return row_divider_after_drag(old, int16_t(edge - from), pane_start(fields.sheet, true), view.bottom);
}

int16_t drag_column_split(MemoryRef record, pf::Point where) {
    const DocWindowRecord fields = read_doc_window(record);
    const pf::Rect view = view_of(fields.sheet);
    const int16_t old = get_h_divider(fields.sheet);
    const int16_t from = old ? old : kNoSplitStart;
    LineDrag drag{pf::Rect{0, from, view.bottom, int16_t(from + kBandThickness)}, false, 0,
                  int16_t(view.right - kBandThickness)};
    const int16_t edge = track_band(drag, where);
    if (edge == from) return old;
    return column_divider_after_drag(old, int16_t(edge - from), pane_start(fields.sheet, false), view.right);
}

}  // namespace

int16_t click_split_box(MemoryRef record, pf::Point where, bool row_split) {
    const DocWindowRecord fields = read_doc_window(record);
    MemoryRef layer = fields.sheet;
    if (GetSheetFlags(layer) & kLayerFrozenTitles) return 1;
    pf::Rect box;
    if (row_split) v_divider(record, &box);
    else h_divider(record, &box);
    if (!pf::pt_in_rect(where, box)) return 1;
    LayerUse sheet(layer);
    const bool double_click = sheet->click_count > 0;
    sheet.release();
    const int16_t old = row_split ? get_v_divider(layer) : get_h_divider(layer);
    int16_t divider;
    if (double_click) divider = old ? int16_t(0) : row_split ? split_v_mid(layer, nullptr) : split_h_mid(layer, nullptr);
    else divider = row_split ? drag_row_split(record, where) : drag_column_split(record, where);
    if (row_split) set_row_split(record, divider);
    else set_column_split(record, divider);
    return 1;
}

// ---- Split and freeze commands ----

namespace {

struct Target {
    CellPoint cell;
    int16_t bottom_row;
};

int16_t column_split_at(MemoryRef layer, const CellRange& visible, Target target) {
    const int16_t column = std::max<int16_t>(target.cell.h, 0);
    if (column > visible.topLeft.h && column <= visible.botRight.h) {
        pf::Rect rect{};
        Cell_H_Coord(0, &rect, 1, column, layer);
        return int16_t(rect.left - 1);
    }
    if (column == visible.topLeft.h && target.cell.v != visible.topLeft.v) return 0;
    return split_h_mid(layer, nullptr);
}

int16_t row_split_at(MemoryRef layer, const CellRange& visible, Target target) {
    const int16_t row = std::max<int16_t>(target.cell.v, 0);
    if (row > visible.topLeft.v && target.bottom_row <= visible.botRight.v) {
        pf::Rect rect{};
        Cell_V_Coord(0, &rect, 1, row, layer);
        return int16_t(rect.top - 1);
    }
    if (visible.topLeft.h == target.cell.h || visible.topLeft.v != row) return split_v_mid(layer, nullptr);
    return 0;
}

}  // namespace

void split_sheet(MemoryRef layer) {
    LayerUse sheet(layer);
    Target target{sheet->selection.topLeft, sheet->selection.botRight.v};
    const bool was_frozen = (sheet->flags & kLayerFrozenTitles) != 0;
    if (was_frozen) {
        target.cell = CellPoint{int16_t(sheet->frozen_titles.botRight.v + 1), int16_t(sheet->frozen_titles.botRight.h + 1)};
        target.bottom_row = target.cell.v;
        sheet->flags &= ~kLayerFrozenTitles;
        sheet->frozen_titles = CellRange{{-1, -1}, {-1, -1}};
        sheet->v_divider = 0;
    }
    const bool split = sheet->v_divider != 0 || sheet->h_divider != 0;
    sheet.release();
    if (was_frozen) SetActiveRects(layer);
    if (split) {
        set_v_divider(0, layer);
        set_h_divider(0, layer);
        return;
    }
    CellRange visible;
    GetVisibleCells(&visible, 0, layer);
    const int16_t column_divider = column_split_at(layer, visible, target);
    const int16_t row_divider = row_split_at(layer, visible, target);
    set_h_divider(column_divider, layer);
    set_v_divider(row_divider, layer);
}

namespace {

// The last frozen row (column) without a split, from the selection; -1 none.
void rows_to_freeze(MemoryRef layer, const CellRange& visible, const CellRange& selection, int16_t* last) {
    *last = -1;
    if (selection.topLeft.v > visible.topLeft.v && selection.botRight.v <= visible.botRight.v) {
        *last = int16_t(selection.topLeft.v - 1);
    } else if (selection.topLeft.h == visible.topLeft.h || selection.topLeft.v != visible.topLeft.v) {
        int16_t middle = -1;
        if (split_v_mid(layer, &middle)) *last = int16_t(middle - 1);
    }
}

void columns_to_freeze(MemoryRef layer, const CellRange& visible, const CellRange& selection, int16_t* last) {
    *last = -1;
    const int16_t left = selection.topLeft.h;
    int16_t middle = -1;
    const bool to_middle = left < visible.topLeft.h || (left == visible.topLeft.h && selection.topLeft.v == visible.topLeft.v) ||
                           left > visible.botRight.h;
    if (to_middle) {
        if (split_h_mid(layer, &middle)) *last = int16_t(middle - 1);
    } else if (left > visible.topLeft.h) {
        *last = int16_t(left - 1);
    }
}

}  // namespace

void freeze_sheet(MemoryRef layer, bool on) {
    if (!on) {
        LayerUse sheet(layer);
        sheet->frozen_titles = CellRange{{-1, -1}, {-1, -1}};
        return;
    }
    CellRange visible;
    GetVisibleCells(&visible, 0, layer);
    LayerUse before(layer);
    const bool row_split = before->v_divider != 0, column_split = before->h_divider != 0;
    const CellRange selection = before->selection;
    before.release();
    int16_t last_row = -1, last_column = -1;
    if (row_split || column_split) {
        if (row_split) last_row = visible.botRight.v;
        if (column_split) last_column = visible.botRight.h;
    } else {
        columns_to_freeze(layer, visible, selection, &last_column);
        rows_to_freeze(layer, visible, selection, &last_row);
    }
    LayerUse sheet(layer);
    CellRange& f = sheet->frozen_titles;
    f = CellRange{{-1, -1}, {-1, -1}};
    if (last_row >= visible.topLeft.v) f.topLeft.v = visible.topLeft.v, f.botRight.v = last_row;
    if (last_column >= visible.topLeft.h) f.topLeft.h = visible.topLeft.h, f.botRight.h = last_column;
    CellRange* v = sheet->visible_ranges;
    if (f.topLeft.h >= 0) v[2].topLeft = CellPoint{visible.topLeft.v, int16_t(f.botRight.h + 1)};
    if (f.topLeft.v >= 0) {
        v[1].topLeft = CellPoint{int16_t(f.botRight.v + 1), visible.topLeft.h};
        if (f.topLeft.h >= 0) v[3].topLeft = CellPoint{int16_t(f.botRight.v + 1), v[2].topLeft.h};
    }
    sheet.release();
    increment_change_ctr(layer);
}

void split_window(MemoryRef record) {
    split_sheet(read_doc_window(record).sheet);
    lay_out_again(record);
}

void toggle_frozen_titles(MemoryRef record) {
    MemoryRef layer = read_doc_window(record).sheet;
    const bool on = (GetSheetFlags(layer) & kLayerFrozenTitles) == 0;
    SetSheetFlags(layer, on ? GetSheetFlags(layer) | kLayerFrozenTitles : GetSheetFlags(layer) & ~kLayerFrozenTitles);
    freeze_sheet(layer, on);
    lay_out_again(record, true);
}
