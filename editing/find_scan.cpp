// The string matcher and the cell scan of Find and Replace.
#include "editing/find_scan.h"

#include <algorithm>
#include <cstring>

#include "core/memory_use.h"
#include "model/cell_formats.h"
#include "model/cell_record.h"
#include "model/cell_store.h"
#include "model/display_text.h"
#include "model/layer.h"

namespace {

uint8_t other_case(uint8_t byte) {
    if (byte >= 'A' && byte <= 'Z') return uint8_t(byte + 32);
    if (byte >= 'a' && byte <= 'z') return uint8_t(byte - 32);
    return byte;
}

bool matches_at(const uint8_t* text, const unsigned char* search, bool exact) {
    for (int i = 0; i < search[0]; ++i) {
        const uint8_t want = search[1 + i];
        if (text[i] != want && (exact || text[i] != other_case(want))) return false;
    }
    return true;
}

std::vector<uint8_t> bytes_of_block(MemoryRef block) {
    std::vector<uint8_t> bytes;
    if (!block) return bytes;
    MemoryUse<const uint8_t> p(block);
    bytes.assign(p.get(), p + GetByteSize(block));
    p.release();
    DisposeMemory(block);
    return bytes;
}

// The scan's key of a cell: cells are visited in ascending key order.
int32_t order_key(CellPoint cell, bool by_columns) {
    return by_columns ? (int32_t(cell.h) << 16) | uint16_t(cell.v) : (int32_t(cell.v) << 16) | uint16_t(cell.h);
}

// The hit in one searched text, from `offset`.
bool find_in(const std::vector<uint8_t>& text, int32_t* offset, uint32_t options, const unsigned char* search) {
    return !text.empty() && find_word(text.data(), int32_t(text.size()), offset, !(options & kFindIgnoreCase),
                                      (options & kFindWholeText) != 0, search);
}

}  // namespace

void set_find_string(FindString out, const unsigned char* bytes, int32_t length) {
    const int32_t kept = std::clamp<int32_t>(length, 0, kLongestFindString);
    out[0] = uint8_t(kept);
    if (kept) std::memcpy(out + 1, bytes, size_t(kept));
}

int16_t find_word(const uint8_t* text, int32_t length, int32_t* offset, bool exact, bool whole,
                  const unsigned char* search) {
    const int32_t size = search[0];
    if (size == 0 || length < size || (whole && length != size)) return 0;
    const int32_t first = *offset < 0 ? 0 : *offset + 1;
    for (int32_t at = first; at <= length - size; ++at) {
        if (matches_at(text + at, search, exact)) {
            *offset = at;
            return 1;
        }
    }
    return 0;
}

std::vector<CellPoint> layer_cells_in_order(MemoryRef layer, bool by_columns) {
    std::vector<CellPoint> cells;
    MemoryRef store = layer ? GetSpreadSheetCells(layer) : nullptr;
    if (!store || GetByteSize(store) < kRowHeaderSize) return cells;
    MemoryUse<const uint8_t> start(store);
    const uint8_t* end = start + GetByteSize(store);
    for (const uint8_t* row = start; row < end && _RowLength_(row) > 0; row += _RowLength_(row)) {
        const uint8_t* row_end = std::min(end, row + _RowLength_(row));
        for (const uint8_t* cell = row + kRowHeaderSize; cell < row_end && _cellLength_(cell) > 0;
             cell += _cellLength_(cell))
            cells.push_back(CellPoint{_RowID_(row), _cellID_(cell)});
    }
    start.release();
    if (by_columns)
        std::sort(cells.begin(), cells.end(),
                  [](CellPoint a, CellPoint b) { return order_key(a, true) < order_key(b, true); });
    return cells;
}

std::vector<uint8_t> cell_contents_text(MemoryRef layer, CellPoint where) {
    uint8_t format[kCellFormatSize];
    return bytes_of_block(Get_CellText(where, format, nullptr, layer));
}

std::vector<uint8_t> formula_value_text(MemoryRef layer, CellPoint where) {
    uint8_t* cell = nullptr;
    int16_t length = 0;
    if (!get_cell_ptr(&cell, &length, where, layer) || _cellType_(cell) != kCellFormula) return {};
    const std::string text = displayed_cell_text(layer, where);
    return std::vector<uint8_t>(text.begin(), text.end());
}

int16_t find_cells(MemoryRef layer, CellPoint start, const unsigned char* search, int32_t offset, uint32_t options,
                   bool by_columns, FindHit* hit) {
    if (!layer || search[0] == 0) return 0;
    const int32_t start_key = order_key(start, by_columns);
    for (CellPoint where : layer_cells_in_order(layer, by_columns)) {
        if (order_key(where, by_columns) < start_key) continue;
        if (!(where == start)) offset = -1;
        int32_t at = offset;
        if ((options & kFindInContents) && find_in(cell_contents_text(layer, where), &at, options, search)) {
            *hit = FindHit{where, at, true};
            return 1;
        }
        at = offset;
        if ((options & kFindInValues) && find_in(formula_value_text(layer, where), &at, options, search)) {
            *hit = FindHit{where, at, false};
            return 1;
        }
    }
    return 0;
}
