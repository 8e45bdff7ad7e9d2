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

// Visits the cells of one row record inside the rectangle's columns. False
// when the visitor stopped the walk.
template <typename Visit>
[[gnu::always_inline]] inline bool walk_row_cells(const uint8_t* row, const CellRange& rect, Visit& visit) {
    const int16_t id = _RowID_(row);
    const uint8_t* row_end = row + _RowLength_(row);
    for (const uint8_t* cell = row + kRowHeaderSize; row_end - cell >= kCellHeaderSize;) {
        int16_t cell_length = _cellLength_(cell);
        if (cell_length < kCellHeaderSize || cell_length > row_end - cell) break;
        int16_t column = _cellID_(cell);
        if (column > rect.botRight.h) break;
        if (column >= rect.topLeft.h && !visit(cell, id, column)) return false;
        if (column == rect.botRight.h) break;  // the next cell is not read at all
        cell += cell_length;
    }
    return true;
}

// Whether a row record is whole inside the store.
inline bool row_fits(const uint8_t* row, const uint8_t* end) {
    if (end - row < kRowHeaderSize) return false;
    uint32_t length = _RowLength_(row);
    return length >= uint32_t(kRowHeaderSize) && length <= uint32_t(end - row);
}

// Rows this far ahead are fetched into the cache while a row is visited.
inline constexpr int32_t kRowsAhead = 8;

// The rows of the rectangle found through the row index, which gives each
// row's place without reading the rows before it: the coming rows' records
// are fetched while one is visited.
template <typename Visit>
bool walk_indexed_rows(const RowIndex& index, const uint8_t* start, const uint8_t* end, const CellRange& rect,
                       Visit& visit) {
    const int32_t last = std::min<int32_t>(rect.botRight.v, index.sheet->last_row);
    const uint32_t* entries = index.entries;
    for (int32_t r = std::max<int32_t>(rect.topLeft.v, 0); r <= last; ++r) {
        if (r + kRowsAhead <= last && entries[r + kRowsAhead])
            __builtin_prefetch(start + entries[r + kRowsAhead] - 1);
        if (!entries[r]) continue;
        const uint8_t* row = start + entries[r] - 1;
        if (!row_fits(row, end) || _RowID_(row) != r) break;
        if (!walk_row_cells(row, rect, visit)) return false;
    }
    return true;
}

// The rows of the rectangle found by reading the store from its start.
template <typename Visit>
bool walk_stored_rows(const uint8_t* start, const uint8_t* end, const CellRange& rect, Visit& visit) {
    for (const uint8_t* row = start; row_fits(row, end); row += _RowLength_(row)) {
        int16_t id = _RowID_(row);
        if (id > rect.botRight.v) break;
        if (id >= rect.topLeft.v && !walk_row_cells(row, rect, visit)) return false;
    }
    return true;
}

// Visits the cell records of one layer's store inside the rectangle, in
// order, with `visit(cell, row, column)`: through the row index while it
// describes the store, else reading the store from its start. False when
// the visitor stopped the walk.
template <typename Visit>
bool walk_layer_records(MemoryRef layer, const CellRange& rect, Visit&& visit) {
    SpreadSheet* sheet = use_layer(layer);
    MemoryRef store = sheet->cells;
    bool go_on = true;
    if (store) {
        RowIndex index = open_row_index(sheet, false);
        auto* start = static_cast<const uint8_t*>(UseMemory(store));
        const uint8_t* end = start + GetByteSize(store);
        go_on = index.entries ? walk_indexed_rows(index, start, end, rect, visit)
                              : walk_stored_rows(start, end, rect, visit);
        UnuseMemory(store);
        close_row_index(index);
    }
    release_layer(layer);
    return go_on;
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
