#include "window/resizing.h"

#include <algorithm>

#include "model/layer_use.h"
#include "model/record_bytes.h"
#include "model/undo_kinds.h"
#include "model/undo_write.h"
#include "model/cell_format.h"
#include "model/cell_formats.h"
#include "model/layer.h"
#include "model/workbook.h"
#include "platform/draw/port.h"
#include "platform/windows/windows.h"
#include "window/auto_size.h"
#include "window/cell_geometry.h"
#include "window/doc_window.h"
#include "window/drag_line.h"
#include "window/scrolling.h"
#include "window/sheet_frame.h"
#include "window/window_commands.h"
#include "window/window_services.h"

namespace {

// Three pixels on either side of the column's right edge (its grid line is
// the column's last pixel); for a row, its grid line and the two above it.
constexpr int16_t kColumnZoneBefore = 3;
constexpr int16_t kColumnZoneAfter = 3;
constexpr int16_t kRowZoneAbove = 3;

struct PaneGeometry {
    pf::Rect view;
    pf::Rect pane[kPaneCount];
    CellRange visible[kPaneCount];
    CellRange selection;
    bool headings;
};

PaneGeometry read_geometry(MemoryRef layer) {
    PaneGeometry g{};
    LayerUse sheet(layer);
    g.view = sheet->view_rect;
    for (int p = 0; p < kPaneCount; ++p) {
        g.pane[p] = sheet->pane_rects[p];
        g.visible[p] = sheet->visible_ranges[p];
    }
    g.selection = sheet->selection;
    g.headings = (sheet->flags & kLayerHeadings) != 0;
    return g;
}

bool strictly_between(int16_t value, int16_t low, int16_t high) { return value > low && value < high; }

constexpr int32_t kProtectedAlert = 6;

// Sizes belong to the protected contents, as the Column Width and Row Height
// commands know: a click on a boundary of a protected workbook is refused.
bool sizes_refused(MemoryRef layer) {
    if (!check_access(layer)) return false;
    window_services.calc_alert(kProtectedAlert);
    return true;
}


}  // namespace

int16_t test_col_resize(MemoryRef layer, pf::Point where, int16_t* column, int16_t* pane) {
    const PaneGeometry g = read_geometry(layer);
    if (!pf::pt_in_rect(where, g.view) || where.v >= g.pane[0].top || where.v < g.pane[0].top - kColumnHeaderHeight)
        return 0;
    int p;
    if (strictly_between(where.h, g.pane[0].left, g.pane[0].right)) p = 0;
    else if (g.pane[2].left >= 1 && strictly_between(where.h, g.pane[2].left, g.pane[2].right)) p = 2;
    else return 0;
    SheetAxes axes(layer);
    int16_t c = g.visible[p].topLeft.h;
    int32_t boundary = g.pane[p].left + axes.columns.size(c);
    while (!(where.h >= boundary - kColumnZoneBefore && where.h < boundary + kColumnZoneAfter)) {
        if (c >= kLastCell || boundary - kColumnZoneBefore >= g.pane[p].right) return 0;
        ++c;
        boundary += axes.columns.size(c);
    }
    *column = c;
    *pane = int16_t(p);
    return 1;
}

int16_t test_row_resize(MemoryRef layer, pf::Point where, int16_t* row, int16_t* pane) {
    const PaneGeometry g = read_geometry(layer);
    *pane = -1;
    if (!pf::pt_in_rect(where, g.view) || where.h >= g.pane[0].left) return 0;
    int p;
    if (where.v >= g.pane[0].top && where.v < g.pane[0].bottom) p = 0;
    else if (g.pane[1].left != -1 && strictly_between(where.v, g.pane[1].top, g.pane[1].bottom)) p = 1;
    else return 0;
    *pane = int16_t(p);
    SheetAxes axes(layer);
    int16_t r = g.visible[p].topLeft.v;
    int32_t bottom = g.pane[p].top + axes.rows.size(r);
    while (where.v >= bottom && r < kLastCell) {
        ++r;
        bottom += axes.rows.size(r);
    }
    *row = r;
    return where.v >= bottom - kRowZoneAbove && where.v < bottom ? 1 : 0;
}

CellRange columns_to_resize(MemoryRef layer, int16_t column) {
    const PaneGeometry g = read_geometry(layer);
    const CellRange& s = g.selection;
    if (whole_columns(s) && column >= s.topLeft.h && column <= s.botRight.h) return s;
    return CellRange{{0, column}, {kLastCell, column}};
}

CellRange rows_to_resize(MemoryRef layer, int16_t row) {
    const PaneGeometry g = read_geometry(layer);
    const CellRange& s = g.selection;
    if (whole_rows(s) && row >= s.topLeft.v && row <= s.botRight.v) return s;
    return CellRange{{row, 0}, {row, kLastCell}};
}

namespace {

void after_resize(MemoryRef layer) {
    resize_sheet(layer, 1);
    window_services.reset_object_positions(layer);
    if (WindowRef window = layer_window(layer)) pf::inval_window_rect(window, pf::window_port(window)->port_rect);
}

bool sizes_all(int16_t first, int16_t last, int16_t size, int16_t (*size_of)(int16_t, MemoryRef), MemoryRef layer) {
    for (int32_t i = first; i <= last; ++i)
        if (size_of(int16_t(i), layer) != size) return false;
    return true;
}

void set_default_extent(MemoryRef layer, bool rows, int16_t size) {
    LayerUse sheet(layer);
    store_i16((rows ? sheet->default_row_format : sheet->default_column_format) + kFmtExtent, size);
}

}  // namespace

namespace {

// An undo record of one axis's format list, over the rows (columns) of
// `range` that a resize or fit is about to change.
void write_size_undo(MemoryRef layer, bool rows, const CellRange& range) {
    MemoryRef formats = rows ? GetSpreadSheetRowFormats(layer) : GetSpreadSheetColumnFormats(layer);
    WriteUndo(rows ? kUndoRowHeight : kUndoColumnWidth, 0, &range, nullptr, nullptr, nullptr,
                               rows ? nullptr : formats, rows ? formats : nullptr, nullptr, nullptr, layer);
}

// Sizes [first, last] of one axis with an undo record of the axis's format list.
int16_t apply_size(MemoryRef layer, bool rows, int16_t first, int16_t last, int16_t size) {
    const bool all = first == 0 && last == kLastCell;
    size = std::clamp<int16_t>(size, 0, rows ? kMaxDragRowHeight : kMaxDragColumnWidth);
    if (!all && sizes_all(first, last, size, rows ? GetRowSize : GetColumnSize, layer)) return 0;
    const int32_t packed = int32_t(uint32_t(uint16_t(first)) << 16 | uint16_t(last));
    if (!all && (rows ? InputRowFormat(layer, packed) : InputColumnFormat(layer, packed)) != 0) {
        after_resize(layer);
        return 0;
    }
    // Written once the format records exist, so a failed change leaves no undo step.
    write_size_undo(layer, rows, rows ? CellRange{{first, 0}, {last, kLastCell}} : CellRange{{0, first}, {kLastCell, last}});
    if (rows) SetRowSize(first, last, size, GetSpreadSheetRowFormats(layer));
    else SetColumnSize(first, last, size, GetSpreadSheetColumnFormats(layer));
    if (all) set_default_extent(layer, rows, size);
    after_resize(layer);
    return 1;
}

}  // namespace

int16_t apply_column_width(MemoryRef layer, const CellRange& columns, int16_t width) {
    return apply_size(layer, false, columns.topLeft.h, columns.botRight.h, width);
}

int16_t apply_row_height(MemoryRef layer, const CellRange& rows, int16_t height) {
    return apply_size(layer, true, rows.topLeft.v, rows.botRight.v, height);
}

namespace {

void show_size(int16_t size, MemoryRef layer) {
    LayerUse sheet(layer);
    MachineRecord* machine = sheet->machine;
    sheet.release();
    if (machine && machine->display_size) machine->display_size(size);
}

// A boundary being dragged: the row (column) and its pane, and its near edge
// (top or left), which moves when the pane scrolls under the drag.
struct BoundaryDrag {
    MemoryRef layer;
    bool rows;
    int16_t index;
    int16_t pane;
    int16_t near_edge;
};

void show_dragged_size(int16_t edge, void* user) {
    const auto* drag = static_cast<const BoundaryDrag*>(user);
    show_size(int16_t(edge + 1 - drag->near_edge), drag->layer);
}

int16_t near_edge_of(const BoundaryDrag& drag) {
    pf::Rect cell{};
    if (drag.rows) Cell_V_Coord(drag.pane, &cell, 1, drag.index, drag.layer);
    else Cell_H_Coord(drag.pane, &cell, 1, drag.index, drag.layer);
    return drag.rows ? cell.top : cell.left;
}

// Past the pane's far side and short of the largest size, the pane scrolls
// one row (column) on and the boundary comes back towards it.
int16_t scroll_under_drag(pf::Point mouse, void* user) {
    auto* drag = static_cast<BoundaryDrag*>(user);
    pf::Rect pane;
    GetPaneRect(&pane, drag->pane, drag->layer);
    const int16_t along = drag->rows ? mouse.v : mouse.h;
    const int16_t far_side = drag->rows ? pane.bottom : pane.right;
    const int16_t largest = drag->rows ? kMaxDragRowHeight : kMaxDragColumnWidth;
    if (along < far_side || along >= drag->near_edge + largest) return 0;
    Scroll_Sheet(drag->pane, drag->rows ? int16_t(1) : int16_t(0), drag->rows ? int16_t(0) : int16_t(1), drag->layer);
    const int16_t before = drag->near_edge;
    drag->near_edge = near_edge_of(*drag);
    return int16_t(drag->near_edge - before);
}

// Drags the boundary after a row (column) between its top (left) edge less 1,
// size 0, and the largest size; the size is the line's position plus 1 less
// that edge, so a release where the drag started keeps the size.
int16_t resize_line(MemoryRef layer, bool rows, int16_t index, int16_t pane, pf::Point start) {
    const PaneGeometry g = read_geometry(layer);
    pf::Rect cell{};
    if (rows) Cell_V_Coord(pane, &cell, 1, index, layer);
    else Cell_H_Coord(pane, &cell, 1, index, layer);
    const int16_t line = rows ? row_last_line(cell) : column_last_line(cell);
    const int16_t largest = rows ? kMaxDragRowHeight : kMaxDragColumnWidth;
    BoundaryDrag boundary{layer, rows, index, pane, rows ? cell.top : cell.left};
    const pf::Rect band = rows ? pf::Rect{line, g.pane[pane].left, int16_t(line + 1), g.view.right}
                               : pf::Rect{g.pane[pane].top, line, g.view.bottom, int16_t(line + 1)};
    const LineDrag drag{band, rows, int16_t(boundary.near_edge - 1), int16_t(boundary.near_edge + largest - 1)};
    const int16_t edge = track_band(drag, start, DragHooks{show_dragged_size, scroll_under_drag, &boundary});
    const int16_t size = int16_t(edge + 1 - boundary.near_edge);
    if (size == (rows ? cell.height() : cell.width())) return 0;
    return rows ? apply_row_height(layer, rows_to_resize(layer, index), size)
                : apply_column_width(layer, columns_to_resize(layer, index), size);
}

}  // namespace

int16_t resize_column(MemoryRef layer, int16_t column, int16_t pane, pf::Point start) {
    return resize_line(layer, false, column, pane, start);
}

int16_t resize_row(MemoryRef layer, int16_t row, int16_t pane, pf::Point start) {
    return resize_line(layer, true, row, pane, start);
}

int16_t click_heading_border(MemoryRef record, pf::Point where) {
    MemoryRef layer = doc_window_layer(record);
    if (!layer || !(GetSheetFlags(layer) & kLayerHeadings)) return 0;
    LayerUse sheet(layer);
    const bool double_click = sheet->click_count > 0;
    sheet.release();
    int16_t index = 0, pane = -1;
    if (test_col_resize(layer, where, &index, &pane)) {
        if (sizes_refused(layer)) return 1;
        if (double_click) {
            write_size_undo(layer, false, columns_to_fit(layer, index));
            AutoColumnWidth(1, index, layer);
        } else {
            resize_column(layer, index, pane, where);
        }
        return 1;
    }
    if (test_row_resize(layer, where, &index, &pane)) {
        if (sizes_refused(layer)) return 1;
        if (double_click) {
            const CellRange rows = rows_to_resize(layer, index);
            write_size_undo(layer, true, rows);
            CheckRowSize(&rows, layer);
        } else {
            resize_row(layer, index, pane, where);
        }
        return 1;
    }
    return 0;
}

void ResetWindow(WindowRef window) {
    MemoryRef record = window_doc_record(window);
    if (record) after_resize(doc_window_layer(record));
}
