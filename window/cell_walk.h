// Walking a layer's cell store in order: every row record, and the cell
// records of one row, each checked against the store's end so that a damaged
// length stops the walk instead of reading past it.
#pragma once

#include <algorithm>
#include <cstdint>

#include "core/memory_manager.h"
#include "core/memory_use.h"
#include "model/cell_record.h"
#include "model/layer.h"

// Calls visit(row, row_end) for each row until it answers false; false when
// the store holds fewer than `smallest` bytes (nothing visited).
template <typename Visit>
bool each_row(MemoryRef layer, Visit&& visit, int32_t smallest = 1) {
    MemoryRef store = GetSpreadSheetCells(layer);
    if (!store || GetByteSize(store) < smallest) return false;
    MemoryUse<const uint8_t> start(store);
    const uint8_t* end = start + GetByteSize(store);
    for (const uint8_t* row = start; row + kRowHeaderSize <= end && _RowLength_(row) >= uint32_t(kRowHeaderSize);
         row += _RowLength_(row))
        if (!visit(row, std::min(row + _RowLength_(row), end))) break;
    return true;
}

// Calls visit(cell) for each cell of a row until it answers false.
template <typename Visit>
void each_cell(const uint8_t* row, const uint8_t* row_end, Visit&& visit) {
    for (const uint8_t* cell = row + kRowHeaderSize;
         cell + kCellHeaderSize <= row_end && _cellLength_(cell) >= kCellHeaderSize; cell += _cellLength_(cell))
        if (!visit(cell)) return;
}

// Calls visit(cell) for each cell of one row of the layer, until it answers false.
template <typename Visit>
void each_cell_of_row(MemoryRef layer, int16_t row_number, Visit&& visit) {
    each_row(layer, [&](const uint8_t* row, const uint8_t* row_end) {
        if (_RowID_(row) < row_number) return true;
        if (_RowID_(row) == row_number) each_cell(row, row_end, visit);
        return false;
    });
}
