#include "window/auto_size.h"

#include <algorithm>
#include <map>
#include <vector>

#include "core/memory_use.h"
#include "model/cell_format.h"
#include "model/cell_formats.h"
#include "model/cell_record.h"
#include "model/layer.h"
#include "window/text_boxes.h"
#include "platform/draw/port.h"
#include "platform/windows/windows.h"
#include "window/page_lists.h"
#include "window/cell_geometry.h"
#include "window/doc_window.h"
#include "window/sheet_drawing.h"
#include "window/window_services.h"

namespace {

constexpr int16_t kWrapMargin = 5;
constexpr int16_t kRowPadding = 2;
constexpr int16_t kColumnPadding = 4;
constexpr uint8_t kAlignWrapAny = kAlignWrap | kAlignWrapToPage;

// Visits the cells of the rows [first_row, last_row] whose column lies in
// [first_column, last_column], with a drawing state ready to measure them.
template <typename Visit>
void for_each_cell(MemoryRef layer, CellRange range, Visit visit) {
    MemoryRef cells = GetSpreadSheetCells(layer);
    if (!cells || GetByteSize(cells) == 0) return;
    WindowRef window = layer_window(layer);
    pf::PortScope scope(window ? pf::window_port(window) : pf::get_port());
    if (!pf::get_port()) return;
    pf::PortState saved = pf::save_port_state(*pf::get_port());
    RowDrawState state;
    Get_WorkSheet_Defaults(&state, layer);
    MemoryUse<const uint8_t> store(cells);
    const uint8_t* end = store + GetByteSize(cells);
    for (const uint8_t* row = store; row + kRowHeaderSize <= end && _RowLength_(row) >= kRowHeaderSize;
         row += _RowLength_(row)) {
        const int16_t row_id = _RowID_(row);
        if (row_id < range.topLeft.v) continue;
        if (row_id > range.botRight.v) break;
        const uint8_t* row_end = std::min(end, row + _RowLength_(row));
        for (const uint8_t* cell = row + kRowHeaderSize; cell + kCellHeaderSize <= row_end && _cellLength_(cell) > 0;
             cell += _cellLength_(cell)) {
            const int16_t column = _cellID_(cell);
            if (column < range.topLeft.h) continue;
            if (column > range.botRight.h) break;
            state.cell = cell;
            state.column = column;
            state.info.where = CellPoint{row_id, column};
            visit(state, row, cell);
        }
    }
    store.release();
    pf::restore_port_state(*pf::get_port(), saved);
}

void lay_out_again(MemoryRef layer) {
    resize_sheet(layer, 1);
    window_services.reset_object_positions(layer);
}

bool holds_value(const uint8_t* cell) { return cell && _cellType_(cell) != kCellFormatOnly; }

// The width a wrapped cell's lines are broken to: its column, widened to the
// next column page boundary (wrapping to the page) or over following empty
// cells that carry the across flag, as the drawing widens it; less the margin.
int16_t wrap_width(MemoryRef layer, const uint8_t* row, const uint8_t* cell) {
    const uint8_t align = cell[kFmtAlign];
    const int16_t column = _cellID_(cell);
    int32_t width = GetColumnSize(column, layer);
    const bool to_page = (align & kAlignWrapToPage) != 0;
    const bool across = !to_page && (align & kAlignAcrossSelection);
    const int16_t last = to_page ? nextColumnBreak(layer, column) : across ? kLastCell : column;
    for (int16_t next = int16_t(column + 1); next <= last; ++next) {
        const uint8_t* neighbour = cell_in_row(row, next);
        if (holds_value(neighbour)) break;
        if (across && !(neighbour && (neighbour[kFmtAlign] & kAlignAcrossSelection))) break;
        width += GetColumnSize(next, layer);
    }
    return int16_t(std::max<int32_t>(width - kWrapMargin, 0));
}

// What a cell asks of its row's height, -1 for nothing.
int16_t cell_height(RowDrawState& state, MemoryRef layer, const uint8_t* row, int16_t current) {
    const uint8_t* cell = state.cell;
    if (_cellType_(cell) == kCellFormatOnly) return -1;
    cell_text_width(&state);
    const int16_t line = cell_line_height(&state);
    const uint8_t align = cell[kFmtAlign];
    if (align & kAlignWrapAny) {
        const int16_t width = wrap_width(layer, row, cell);
        if (width <= 0 || state.text_length <= 0) return line;
        const pf::Rect box{0, 0, kMaxAutoRowHeight, width};
        int16_t box_line = 0, text_height = 0;
        Set_Cell_Attributes(&state);
        const int16_t lines = NeoTextBox(state.text, state.text_length, &box, kBoxLeft, &box_line, &text_height, 0);
        return int16_t(lines * std::max(box_line, line));
    }
    if (align & kAlignVertical) return int16_t(current - kRowPadding);
    return line;
}

}  // namespace

int16_t CheckRowSize(const CellRange* range, MemoryRef layer) {
    if (!range || !layer) return 0;
    std::map<int16_t, int16_t> tallest;
    const CellRange rows{{range->topLeft.v, 0}, {range->botRight.v, kLastCell}};
    for_each_cell(layer, rows, [&](RowDrawState& state, const uint8_t* row, const uint8_t*) {
        const int16_t row_id = _RowID_(row);
        auto [at, added] = tallest.try_emplace(row_id, int16_t(-1));
        at->second = std::max(at->second, cell_height(state, layer, row, GetRowSize(row_id, layer)));
    });
    bool changed = false;
    for (const auto& [row, height] : tallest) {
        if (height <= 0) continue;
        const int16_t wanted = std::min<int16_t>(int16_t(height + kRowPadding), kMaxAutoRowHeight);
        if (wanted == GetRowSize(row, layer)) continue;
        if (InputRowFormat(layer, int32_t(uint32_t(uint16_t(row)) << 16 | uint16_t(row))) != 0) continue;
        SetRowSize(row, row, wanted, GetSpreadSheetRowFormats(layer));
        changed = true;
    }
    if (changed) lay_out_again(layer);
    return changed ? 1 : 0;
}

namespace {

bool column_in_selection(const CellRange& selection, int16_t column) {
    return selection.topLeft.h >= 0 && column >= selection.topLeft.h && column <= selection.botRight.h;
}

}  // namespace

CellRange columns_to_fit(MemoryRef layer, int16_t column) {
    CellRange selection;
    GetSheetRange(&selection, layer);
    return column_in_selection(selection, column)
               ? CellRange{{0, selection.topLeft.h}, {kLastCell, selection.botRight.h}}
               : CellRange{{0, column}, {kLastCell, column}};
}

void AutoColumnWidth(int16_t limit, int16_t column, MemoryRef layer) {
    if (!layer) return;
    CellRange selection;
    GetSheetRange(&selection, layer);
    CellRange measured = columns_to_fit(layer, column);
    // A lone active cell is no choice of rows: the whole column is measured.
    const bool several_rows = selection.botRight.v > selection.topLeft.v;
    if (limit && several_rows && column_in_selection(selection, column)) {
        measured.topLeft.v = selection.topLeft.v;
        measured.botRight.v = selection.botRight.v;
    }
    std::map<int16_t, int16_t> widest;
    for_each_cell(layer, measured, [&](RowDrawState& state, const uint8_t*, const uint8_t* cell) {
        if (_cellType_(cell) == kCellFormatOnly || (cell[kFmtAlign] & kAlignWrapAny)) return;
        const int16_t width = cell_text_width(&state);
        if (width <= 0) return;
        auto [at, added] = widest.try_emplace(state.column, width);
        at->second = std::max(at->second, width);
    });
    for (const auto& [c, width] : widest) {
        if (InputColumnFormat(layer, int32_t(uint32_t(uint16_t(c)) << 16 | uint16_t(c))) != 0) break;
        SetColumnSize(c, c, std::min<int16_t>(int16_t(width + kColumnPadding), kMaxAutoColumnWidth),
                      GetSpreadSheetColumnFormats(layer));
    }
    lay_out_again(layer);
    if (WindowRef window = layer_window(layer)) pf::inval_window_rect(window, pf::window_port(window)->port_rect);
}
