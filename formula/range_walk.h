// Walks over the stored cell records of a reference, read in place: the
// store's rows in order, through the row index while it describes the store
// (each row's place without reading the rows before it), else from the
// store's start. Templates, so that a search's test of each cell is compiled
// into the walk.
#pragma once

#include <algorithm>
#include <cstdint>

#include "core/memory_manager.h"
#include "formula/arguments.h"
#include "formula/evaluator.h"
#include "model/calc_globals.h"
#include "model/cell_range.h"
#include "model/cell_record.h"
#include "model/cell_store_index.h"
#include "model/layer.h"

// The layer of a walk: the calculated one, or the workbook's layer at the index.
MemoryRef walk_layer(MemoryRef workbook, int16_t index);

// The length of the cell record at `cell` when it lies whole before the
// row's end, else 0.
inline int16_t cell_fits(const uint8_t* cell, const uint8_t* row_end) {
    if (row_end - cell < kCellHeaderSize) return 0;
    int16_t length = _cellLength_(cell);
    return length >= kCellHeaderSize && length <= row_end - cell ? length : 0;
}

// Visits the cells of one row record inside the rectangle's columns. False
// when the visitor stopped the walk.
template <typename Visit>
[[gnu::always_inline]] inline bool walk_row_cells(const uint8_t* row, const CellRange& rect, Visit& visit) {
    const int16_t id = _RowID_(row);
    const uint8_t* row_end = row + _RowLength_(row);
    for (const uint8_t* cell = row + kRowHeaderSize; int16_t length = cell_fits(cell, row_end); cell += length) {
        int16_t column = _cellID_(cell);
        if (column > rect.botRight.h) break;
        if (column >= rect.topLeft.h && !visit(cell, id, column)) return false;
        if (column == rect.botRight.h) break;  // the next cell is not read at all
    }
    return true;
}

// The cell record at `column` in a row record, or null: the row's cells are
// read up to that column only.
inline const uint8_t* cell_in_row(const uint8_t* row, int16_t column) {
    const uint8_t* row_end = row + _RowLength_(row);
    for (const uint8_t* cell = row + kRowHeaderSize; int16_t length = cell_fits(cell, row_end); cell += length) {
        int16_t id = _cellID_(cell);
        if (id >= column) return id == column ? cell : nullptr;
    }
    return nullptr;
}

// Whether a row record is whole inside the store.
inline bool row_fits(const uint8_t* row, const uint8_t* end) {
    if (end - row < kRowHeaderSize) return false;
    uint32_t length = _RowLength_(row);
    return length >= uint32_t(kRowHeaderSize) && length <= uint32_t(end - row);
}

// Rows this far ahead are fetched into the cache while a row is visited.
inline constexpr int32_t kRowsAhead = 8;

// The stored rows of a layer from `top` to `bottom`, one after the other:
// through the row index while it describes the store, else read from the
// store's start. The store stays held while the cursor lives.
class StoredRows {
public:
    StoredRows(MemoryRef layer, int16_t top, int16_t bottom);
    ~StoredRows();
    StoredRows(const StoredRows&) = delete;
    StoredRows& operator=(const StoredRows&) = delete;

    // The next row record, or null after the last.
    const uint8_t* next() { return index_.entries ? next_indexed() : next_stored(); }

private:
    const uint8_t* next_indexed() {
        for (; next_row_ <= last_; ++next_row_) {
            const int32_t r = next_row_;
            if (r + kRowsAhead <= last_ && index_.entries[r + kRowsAhead])
                __builtin_prefetch(start_ + index_.entries[r + kRowsAhead] - 1);
            if (uint32_t entry = index_.entries[r]) {
                const uint8_t* row = start_ + entry - 1;
                if (!row_fits(row, end_) || _RowID_(row) != r) break;
                ++next_row_;
                return row;
            }
        }
        next_row_ = last_ + 1;
        return nullptr;
    }
    const uint8_t* next_stored() {
        while (row_fits(cursor_, end_)) {
            const uint8_t* row = cursor_;
            cursor_ += _RowLength_(row);
            if (_RowID_(row) > last_) break;
            if (_RowID_(row) >= next_row_) return row;
        }
        cursor_ = end_;
        return nullptr;
    }

    MemoryRef layer_;
    MemoryRef store_ = nullptr;
    RowIndex index_;
    const uint8_t* start_ = nullptr;
    const uint8_t* end_ = nullptr;
    const uint8_t* cursor_ = nullptr;
    int32_t next_row_;
    int32_t last_;
};

// The stored cells of one column of a layer's rectangle (its left column),
// one after the other: the rows' other cells are not read. The store stays
// held while the cursor lives.
class ColumnCells {
public:
    ColumnCells(MemoryRef layer, const CellRange& rect)
        : rows_(layer, rect.topLeft.v, rect.botRight.v), column_(rect.topLeft.h) {}

    // The next cell record, with its row in *row, or null after the last.
    const uint8_t* next(int16_t* row) {
        while (const uint8_t* record = rows_.next()) {
            if (const uint8_t* cell = cell_in_row(record, column_)) {
                *row = _RowID_(record);
                return cell;
            }
        }
        return nullptr;
    }

private:
    StoredRows rows_;
    int16_t column_;
};

// Visits the stored cells of one column of a layer's rectangle (its left
// column) with `visit(cell, row)`: the rows' other cells are not visited.
template <typename Visit>
bool walk_column_records(MemoryRef layer, const CellRange& rect, Visit&& visit) {
    ColumnCells cells(layer, rect);
    int16_t row = 0;
    while (const uint8_t* cell = cells.next(&row))
        if (!visit(cell, row)) return false;
    return true;
}

// Visits the cell records of one layer's store inside the rectangle, in
// order, with `visit(cell, row, column)`. False when the visitor stopped the walk.
template <typename Visit>
bool walk_layer_records(MemoryRef layer, const CellRange& rect, Visit&& visit) {
    StoredRows rows(layer, rect.topLeft.v, rect.botRight.v);
    while (const uint8_t* row = rows.next())
        if (!walk_row_cells(row, rect, visit)) return false;
    return true;
}

// Walks the layers of the current reference argument with `walk(layer, rect)`.
template <typename WalkLayer>
void walk_range_layers(WalkLayer&& walk) {
    int16_t first = 0, last = 0;
    if (check_range_params(&first, &last)) return;
    const CellRange rect = g_rangeRect;
    const MemoryRef workbook = g_layerWorkSheet;
    for (int16_t index = first; index <= last; ++index) {
        g_walkLayer = index;
        MemoryRef layer = walk_layer(workbook, index);
        if (layer && !walk(layer, rect)) break;
    }
    g_rangeRect = rect;
    mark_scalar();
}
