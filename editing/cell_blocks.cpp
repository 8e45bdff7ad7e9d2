#include "editing/cell_blocks.h"

#include <cstring>

#include "model/undo_record.h"
#include "model/cell_record.h"
#include "model/cell_store.h"
#include "model/layer.h"
#include "model/layer_use.h"
#include "model/workbook.h"
#include "editing/undo.h"

void BlockWriter::use_row(int16_t row) {
    if (row_open_ && row == row_) return;
    end_row();
    row_open_ = true;
    row_ = row;
    row_start_ = bytes_.size();
    bytes_.resize(row_start_ + kRowHeaderSize);
    _SetRowID_(bytes_.data() + row_start_, row);
}

void BlockWriter::add_cell(const uint8_t* cell, int16_t column) {
    uint8_t* copy = add_cell_space(_cellLength_(cell));
    std::memcpy(copy, cell, size_t(_cellLength_(cell)));
    _SetCellID_(copy, column);
}

uint8_t* BlockWriter::add_cell_space(int32_t length) {
    const size_t at = bytes_.size();
    bytes_.resize(at + size_t(length));
    return bytes_.data() + at;
}

CellBytes BlockWriter::take() {
    end_row();
    return std::move(bytes_);
}

void BlockWriter::end_row() {
    if (!row_open_) return;
    row_open_ = false;
    const size_t length = bytes_.size() - row_start_;
    if (length == size_t(kRowHeaderSize)) bytes_.resize(row_start_);
    else _SetRowLength_(bytes_.data() + row_start_, uint32_t(length));
}

void for_each_block_cell(const CellBytes& block, const std::function<void(int16_t row, const uint8_t* cell)>& visit) {
    const uint8_t* end = block.data() + block.size();
    for (const uint8_t* row = block.data(); row < end; row += _RowLength_(row))
        for (const uint8_t* cell = row + kRowHeaderSize; cell < row + _RowLength_(row); cell += _cellLength_(cell))
            visit(_RowID_(row), cell);
}

bool block_has_cells(const CellBytes& block) {
    const uint8_t* end = block.data() + block.size();
    for (const uint8_t* row = block.data(); row < end; row += _RowLength_(row))
        if (_RowLength_(row) > uint32_t(kRowHeaderSize)) return true;
    return false;
}

CellRange current_selection(MemoryRef layer) {
    return LayerUse(layer)->selection;
}

void set_current_selection(MemoryRef layer, const CellRange& range) {
    LayerUse(layer)->selection = range;
}

int16_t copy_range_bytes(MemoryRef layer, const CellRange& range, CellBytes* out) {
    MemoryRef block = nullptr;
    if (!CopyCellInfo(range.topLeft, range.botRight, &block, GetSpreadSheetCells(layer))) return pf::kMemFullErr;
    MemoryUse<const uint8_t> bytes(block);
    out->assign(bytes.get(), bytes + GetByteSize(block));
    bytes.release();
    DisposeMemory(block);
    return 0;
}

namespace {

// A memory block holding a copy of the bytes, or none when memory ran out.
MemoryRef memory_block_of(MemoryRef layer, const CellBytes& bytes) {
    MemoryGlobals* globals = GetMemoryGlobals(layer);
    MemoryRef block = nullptr;
    if (with_failure_handler(globals, [&] { block = Bytes2Memory(globals, bytes.data(), 1, int32_t(bytes.size())); }))
        return nullptr;
    return block;
}

// Pushes the undo record keeping the cells of `saved`: 0 or an error code.
int16_t write_fill_undo(MemoryRef layer, const CellRange& saved, int16_t undo_kind) {
    MemoryRef former = nullptr;
    if (!CopyCellInfo(saved.topLeft, saved.botRight, &former, GetSpreadSheetCells(layer))) return pf::kMemFullErr;
    const int16_t error = with_failure_handler(GetMemoryGlobals(layer), [&] {
        WriteMemUndo(undo_kind, kExtentRange, &saved, nullptr, former, nullptr, nullptr, nullptr, nullptr, layer);
    });
    if (error) DisposeMemory(former);
    return error;
}

bool reaches_past_used_area(MemoryRef layer, const CellRange& range) {
    LayerUse sheet(layer);
    const bool past = range.botRight.v > sheet->last_row || range.botRight.h > sheet->last_column;
    return past;
}

}  // namespace

int16_t replace_cells(MemoryRef layer, const CellRange& saved, const CellRange& stored, const CellBytes& block,
                      int16_t undo_kind) {
    MemoryRef filled = memory_block_of(layer, block);
    if (!filled) return pf::kMemFullErr;
    int16_t error = write_fill_undo(layer, saved, undo_kind);
    if (!error) {
        // The block's cells stand where they are to go: it is stored with the
        // selection at its own top-left.
        const CellRange selection = current_selection(layer);
        set_current_selection(layer, stored);
        error = InputData(stored.topLeft, stored.botRight, filled, layer);
        set_current_selection(layer, selection);
        if (error) take_back_newest_undo(layer);
    }
    DisposeMemory(filled);
    if (error) return error;
    const bool resize = reaches_past_used_area(layer, stored);
    LayerUse(layer)->recalc_resume = stored.topLeft;
    if (resize) resize_sheet(layer, 0);
    return 0;
}
