// Cells built as the program stores them, for the benchmarks that fill a
// layer: row records of cells with the default format, number constants, and
// formulas compiled as if typed.
#pragma once

#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "core/memory_manager.h"
#include "core/memory_use.h"
#include "formula/parser.h"
#include "model/cell_format.h"
#include "model/cell_record.h"
#include "model/cell_store.h"

// Starts a row record at the end of the block; answers where it starts, for end_row.
inline size_t begin_row(std::vector<uint8_t>& block, int16_t row) {
    const size_t row_at = block.size();
    block.resize(row_at + kRowHeaderSize, 0);
    _SetRowID_(block.data() + row_at, row);
    return row_at;
}

// Closes the row record begun at `row_at`: its length takes in the cells appended since.
inline void end_row(std::vector<uint8_t>& block, size_t row_at) {
    _SetRowLength_(block.data() + row_at, uint32_t(block.size() - row_at));
}

// Appends to the row being built a cell of `type` in `column`, in the default
// format: `length` bytes of `body` (its formula or constant), then `tail` zero
// bytes (a formula's result). Answers the cell, valid until the block grows.
inline uint8_t* append_cell(std::vector<uint8_t>& block, int16_t column, uint8_t type, const void* body, size_t length,
                            size_t tail = 0) {
    const size_t at = block.size();
    const size_t cell_size = kCellHeaderSize + length + tail;
    block.resize(at + cell_size, 0);
    uint8_t* cell = block.data() + at;
    GetDefaultFormat(cell);
    _SetCellID_(cell, column);
    cell[kFmtCellType] = type;
    _SetCellLength_(cell, int16_t(cell_size));
    _SetFormulaLength_(cell, int16_t(length));
    if (length) std::memcpy(_formulaPtr_(cell), body, length);
    return cell;
}

// Appends a number constant to the row being built, with the text it was
// typed as when there is one (at most 255 characters).
inline void append_number(std::vector<uint8_t>& block, int16_t column, double value, std::string_view typed = {}) {
    uint8_t body[kNumberSlotSize + 255];
    store_f64(body, value);
    std::memcpy(body + kNumberSlotSize, typed.data(), typed.size());
    append_cell(block, column, kCellConstant, body, kNumberSlotSize + typed.size());
}

// A row record holding one number constant (and the text it was typed as).
inline std::vector<uint8_t> number_row(int16_t row, int16_t column, double value, std::string_view typed = {}) {
    std::vector<uint8_t> block;
    const size_t row_at = begin_row(block, row);
    append_number(block, column, value, typed);
    end_row(block, row_at);
    return block;
}

// Stores a number constant in a cell of the layer, one cell at a time as typing does.
inline void store_number(MemoryRef layer, int16_t row, int16_t column, double value) {
    const std::vector<uint8_t> block = number_row(row, column, value);
    const CellRange range{{row, column}, {row, column}};
    InputCell(&range, block.data(), int32_t(block.size()), layer);
}

// The compiled bytes of `text` typed into `cell` of the layer; empty when the
// text does not parse.
inline std::vector<uint8_t> compile_formula(const std::string& text, CellPoint cell, MemoryRef layer) {
    unsigned char typed[256];
    typed[0] = uint8_t(text.size());
    std::memcpy(typed + 1, text.data(), text.size());
    MemoryRef formula = nullptr;
    int16_t kind = 0;
    parse_formula_text(typed, cell, layer, &formula, &kind, nullptr);
    std::vector<uint8_t> bytes;
    if (formula) {
        MemoryUse<const uint8_t> compiled(formula);
        bytes.assign(compiled.get(), compiled + GetByteSize(formula));
        compiled.release();
        DisposeMemory(formula);
    }
    return bytes;
}
