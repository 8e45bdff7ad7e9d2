// The cell store of a layer: one MemoryRef of bytes holding RowRecords sorted
// by row, each followed by its CellRecords sorted by column (cell_record.h).
// Searches walk the store forwards; the row cache (one offset per row number)
// gives random access while it is held.
#pragma once

#include <cstdint>
#include <vector>

#include "core/memory_manager.h"
#include "platform/memory/memory.h"
#include "model/cell_range.h"

constexpr int kCellBlockExtend = 500;
constexpr int kScratchExtend = 200;

// Searching inside a held store or row. `end` is the end of the store (or
// of the row's cells); `pointer` moves forwards.
int16_t FindRow(int16_t* row, uint32_t* length, const uint8_t* end, uint8_t** pointer);
int16_t FindCell(int16_t* column, const uint8_t* end, uint8_t** pointer);
int16_t FindCellBefore(int16_t* column, const uint8_t* end, uint8_t** pointer);
void CellChunk(const CellRange* range, uint8_t* row, uint8_t** first, uint8_t** after);

// Holding blocks: a memory block held for a long time (under a failure
// handler: 0 when it cannot be brought in).
uint8_t* SetRefStop(MemoryRef block, uint8_t** end);
uint8_t* SetCriticalRefStop(MemoryRef block, uint8_t** end);

// The address and length of a stored cell, or 0. Valid until the store changes.
int16_t get_cell_ptr(uint8_t** cell, int16_t* length, CellPoint where, MemoryRef layer);

// A layer whose record, store and row cache (CalcRowPtr) the caller holds in
// use for a stretch of reads in which the store does not change, such as the
// evaluation of one formula by a recalculation step: its cells are found
// without taking and releasing the three for every read.
struct SpreadSheet;
struct HeldLayerCells {
    MemoryRef layer = nullptr;
    SpreadSheet* sheet = nullptr;
    uint8_t* start = nullptr;  // the store's bytes in use, placed by the holder
    uint32_t size = 0;         // of the store
    uint32_t* rows = nullptr;  // the row cache, null when it does not describe the store
};
HeldLayerCells held_layer_cells(MemoryRef layer, SpreadSheet* sheet);
// The cell at `where`, found as get_cell_ptr finds it (hint and row marks
// kept up), or null.
uint8_t* find_held_cell(const HeldLayerCells& held, CellPoint where);

// Where the cells that hold something (not format alone) lie in the range,
// row by row, found in one walk of the store.
std::vector<CellPoint> stored_cells_in_range(const CellRange& range, MemoryRef layer);

// Stores the block of one row holding one cell, replacing a cell stored there;
// a block whose cell length disagrees with `length` is refused.
void InputCell(const CellRange* range, const uint8_t* block, int32_t length, MemoryRef layer);
void Clear_Cells(const CellRange* range, MemoryRef store);
int16_t CopyCellInfo(CellPoint top_left, CellPoint bottom_right, MemoryRef* block, MemoryRef store);
int16_t copy_cells(int16_t clear, CellPoint top_left, CellPoint bottom_right, MemoryRef* block,
                   MemoryRef layer);
int16_t InputData(CellPoint top_left, CellPoint bottom_right, MemoryRef block, MemoryRef layer);
int16_t InputDataWithFormat(CellPoint top_left, CellPoint bottom_right, int16_t with_formats,
                            MemoryRef block, MemoryRef layer);

void CalcRowPtr(MemoryRef layer);
void ReleaseCache(MemoryRef layer);
void clobberCache(MemoryRef layer);
