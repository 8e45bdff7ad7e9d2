// Cell blocks (row records with their cell records, as the cell store holds
// them) read and built as plain bytes, and the storing of a built block over
// a range of a layer as one undoable change.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "core/memory_manager.h"
#include "model/cell_range.h"

using CellBytes = std::vector<uint8_t>;

// Builds a block row by row, in rising row order; rows that get no cell are
// left out.
class BlockWriter {
public:
    // The row the next cells go to: a new row unless it is the present one.
    void use_row(int16_t row);
    // Appends a copy of a cell record, given the column it is to have.
    void add_cell(const uint8_t* cell, int16_t column);
    // Appends room for a cell record of `length` bytes and answers it.
    uint8_t* add_cell_space(int32_t length);
    CellBytes take();

private:
    void end_row();
    CellBytes bytes_;
    size_t row_start_ = 0;
    int16_t row_ = 0;
    bool row_open_ = false;
};

// Calls `visit` with each row number and cell record of a block, in order.
void for_each_block_cell(const CellBytes& block, const std::function<void(int16_t row, const uint8_t* cell)>& visit);
bool block_has_cells(const CellBytes& block);

CellRange current_selection(MemoryRef layer);
void set_current_selection(MemoryRef layer, const CellRange& range);

// The cells of a range of a layer: 0, or an error code.
int16_t copy_range_bytes(MemoryRef layer, const CellRange& range, CellBytes* out);

// Stores `block` (its cells numbered as they are to stand) over `stored`,
// after writing an undo record of `undo_kind` that keeps the former cells of
// `saved` (which holds `stored`). 0, or an error code with the layer and the
// undo list unchanged. The calculation resumes at the top-left of `stored`.
int16_t replace_cells(MemoryRef layer, const CellRange& saved, const CellRange& stored, const CellBytes& block,
                      int16_t undo_kind);
