// Fill Down and Fill Right: one row or column of the selection copied over
// the rest of it. Formulas are copied as stored, so their relative references
// move with them.
#include "editing/fill.h"

#include "model/undo_record.h"
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
        out.use_row(int16_t(row));
        for_each_block_cell(source_row, [&](int16_t, const uint8_t* cell) { out.add_cell(cell, _cellID_(cell)); });
    }
    return out.take();
}

// Each row's cell of the source column repeated across the range.
CellBytes columns_filled(const CellBytes& source_column, const CellRange& range) {
    BlockWriter out;
    for_each_block_cell(source_column, [&](int16_t row, const uint8_t* cell) {
        out.use_row(row);
        for (int32_t column = range.topLeft.h; column <= range.botRight.h; ++column)
            out.add_cell(cell, int16_t(column));
    });
    return out.take();
}

// The selection's first or last row (column) copied over it.
int16_t fill_from_edge(MemoryRef layer, bool down, int16_t variant) {
    const CellRange range = current_selection(layer);
    const int16_t first = down ? range.topLeft.v : range.topLeft.h;
    const int16_t last = down ? range.botRight.v : range.botRight.h;
    if (first >= last) return 0;
    const int16_t edge = variant ? last : first;
    CellBytes source;
    if (int16_t error = copy_range_bytes(layer, down ? row_of(range, edge) : column_of(range, edge), &source))
        return error;
    const int16_t kind = down ? (variant ? kUndoFillDownAlternate : kUndoFillDown)
                              : (variant ? kUndoFillRightAlternate : kUndoFillRight);
    return replace_cells(layer, range, range, down ? rows_filled(source, range) : columns_filled(source, range), kind);
}

}  // namespace

int16_t FillDown(MemoryRef layer, int16_t variant) { return fill_from_edge(layer, true, variant); }

CellRange fill_target(const CellRange& selection, bool down, int16_t variant) {
    CellRange target = selection;
    int16_t& first = down ? target.topLeft.v : target.topLeft.h;
    int16_t& last = down ? target.botRight.v : target.botRight.h;
    if (first >= last) return selection;
    if (variant) --last;
    else ++first;
    return target;
}

int16_t FillRight(MemoryRef layer, int16_t variant) { return fill_from_edge(layer, false, variant); }
