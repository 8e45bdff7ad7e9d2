// Fill Down and Fill Right: one row or column of the selection copied over
// the rest of it. Formulas are copied as stored, so their relative references
// move with them.
#include "editing/fill.h"

#include "editing/undo_record.h"
#include "model/cell_record.h"

namespace {

CellRange row_of(const CellRange& range, int16_t row) { return {{row, range.topLeft.h}, {row, range.botRight.h}}; }
CellRange column_of(const CellRange& range, int16_t column) {
    return {{range.topLeft.v, column}, {range.botRight.v, column}};
}

// The source row's cells repeated in every row of the range.
CellBytes rows_filled(const CellBytes& source_row, const CellRange& range) {
    BlockWriter out;
    if (!block_has_cells(source_row)) return out.take();
    for (int32_t row = range.topLeft.v; row <= range.botRight.v; ++row) {
        out.begin_row(int16_t(row));
        for_each_cell(source_row, [&](int16_t, const uint8_t* cell) { out.add_cell(cell, _cellID_(cell)); });
        out.end_row();
    }
    return out.take();
}

// Each row's cell of the source column repeated across the range.
CellBytes columns_filled(const CellBytes& source_column, const CellRange& range) {
    BlockWriter out;
    int16_t open_row = -1;
    for_each_cell(source_column, [&](int16_t row, const uint8_t* cell) {
        if (row != open_row) {
            if (open_row >= 0) out.end_row();
            out.begin_row(row);
            open_row = row;
        }
        for (int32_t column = range.topLeft.h; column <= range.botRight.h; ++column)
            out.add_cell(cell, int16_t(column));
    });
    if (open_row >= 0) out.end_row();
    return out.take();
}

}  // namespace

int16_t FillDown(MemoryRef layer, int16_t variant) {
    const CellRange range = layer_selection(layer);
    if (range.topLeft.v >= range.botRight.v) return 0;
    CellBytes source;
    const int16_t source_row = variant ? range.botRight.v : range.topLeft.v;
    if (int16_t error = copy_range_bytes(layer, row_of(range, source_row), &source)) return error;
    return replace_cells(layer, range, range, rows_filled(source, range),
                         variant ? kUndoFillDownAlternate : kUndoFillDown);
}

int16_t FillRight(MemoryRef layer, int16_t variant) {
    const CellRange range = layer_selection(layer);
    if (range.topLeft.h >= range.botRight.h) return 0;
    CellBytes source;
    const int16_t source_column = variant ? range.botRight.h : range.topLeft.h;
    if (int16_t error = copy_range_bytes(layer, column_of(range, source_column), &source)) return error;
    return replace_cells(layer, range, range, columns_filled(source, range),
                         variant ? kUndoFillRightAlternate : kUndoFillRight);
}
