// The row cache as the cell store's own index: built once, then kept valid
// by the store's writers (a row that appears, grows, shrinks or vanishes
// moves the entries after it), so that finding a row is one step. A cache
// that no longer describes the store (its size or block changed behind the
// writers' back) is filled again before it is used. Without memory for it
// the callers walk the store as before.
#pragma once

#include <cstdint>

#include "core/memory_manager.h"
#include "model/layer.h"

// The row cache opened for one operation on a layer whose record is in use:
// `entries` is null when there is none.
struct RowIndex {
    SpreadSheet* sheet = nullptr;
    uint32_t* entries = nullptr;
    bool used = false;  // opened with its own use of the block
};

// Whether the layer's cache describes its store as it stands.
inline bool row_cache_current(const SpreadSheet* sheet) {
    return sheet->row_cache && sheet->row_cache_store == sheet->cells &&
           sheet->cell_store_size == uint32_t(GetByteSize(sheet->cells)) &&
           GetMemorySize(sheet->row_cache) == sheet->last_row + 1;
}

// Opens the cache, building or filling it first when `build` and it is
// missing or out of date; without `build` only a current cache opens.
RowIndex open_row_index(SpreadSheet* sheet, bool build);
void close_row_index(RowIndex& index);

// The first stored row at or after `row`: its offset, or `size` when none.
uint32_t indexed_row_at_or_after(const RowIndex& index, int16_t row, uint32_t size);

// Where a row's record is (true) or would go (false): a byte offset in a
// store of `size` bytes. Inline, as every indexed cell search starts here.
inline bool indexed_row(const RowIndex& index, int16_t row, uint32_t size, uint32_t* offset) {
    if (row < 0) {
        *offset = 0;
        return false;
    }
    if (row > index.sheet->last_row) {
        *offset = size;
        return false;
    }
    if (uint32_t entry = index.entries[row]) {
        *offset = entry - 1;
        return true;
    }
    *offset = indexed_row_at_or_after(index, int16_t(row + 1), size);
    return false;
}

// After the store's bytes of `row` changed by `delta`: the rows after it
// move; a row that appeared at `offset` gets its entry. The
// cache then describes a store of `new_size` bytes. The cache is dropped
// when it cannot grow for a new last row.
void index_row_resized(RowIndex& index, int16_t row, int32_t delta, uint32_t new_size);
void index_row_appeared(RowIndex& index, int16_t row, uint32_t offset, int32_t length, uint32_t new_size);

// Frees the cache of the layer in use and forgets the cell hint.
void drop_row_cache(SpreadSheet* sheet);

// The cell hint, when it lies in `row` at a column before or at `column`.
inline bool cell_hint_in_row(const SpreadSheet* sheet, int16_t row, int16_t column, uint32_t* offset) {
    if (sheet->cell_hint.v != row || sheet->cell_hint.h > column || sheet->cell_hint.h < 0) return false;
    *offset = sheet->cell_hint_offset;
    return true;
}

inline void set_cell_hint(SpreadSheet* sheet, CellPoint cell, uint32_t offset) {
    sheet->cell_hint = cell;
    sheet->cell_hint_offset = offset;
}

