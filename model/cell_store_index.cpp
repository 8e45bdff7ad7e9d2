// The row cache kept as the cell store's index.
#include "model/cell_store_index.h"

#include <algorithm>
#include <cstring>

#include "core/memory_use.h"
#include "model/cell_record.h"
#include "model/row_marks.h"

namespace {

constexpr int32_t kCacheExtend = 1024;  // entries added beyond a new last row
constexpr CellPoint kNoHint{-1, -1};

MemoryGlobals* globals_of(const SpreadSheet* sheet) { return sheet->machine->memory; }

struct StoreBytes {
    const uint8_t* start;
    const uint8_t* end;
};

// The highest row number stored, or -1; a damaged row length ends the walk.
int32_t highest_row(StoreBytes store) {
    int32_t highest = -1;
    for (const uint8_t* row = store.start; store.end - row >= kRowHeaderSize;) {
        uint32_t length = _RowLength_(row);
        highest = std::max<int32_t>(highest, _RowID_(row));
        if (length < uint32_t(kRowHeaderSize) || length > uint32_t(store.end - row)) break;
        row += length;
    }
    return highest;
}

void fill_entries(uint32_t* entries, int16_t last_row, StoreBytes store) {
    for (const uint8_t* row = store.start; store.end - row >= kRowHeaderSize;) {
        uint32_t length = _RowLength_(row);
        int16_t id = _RowID_(row);
        if (id >= 0 && id <= last_row) entries[id] = uint32_t(row - store.start) + 1;
        if (length < uint32_t(kRowHeaderSize) || length > uint32_t(store.end - row)) break;
        row += length;
    }
}

// Takes the cache's one use again after the block moved: the held pointer's
// when the cache is held, else the index's own.
void retake_entries(RowIndex& index, bool held) {
    SpreadSheet* sheet = index.sheet;
    auto* entries = static_cast<uint32_t*>(UseMemory(sheet->row_cache));
    if (held) sheet->row_cache_data = entries;
    index.entries = entries;
}

// Gives the cache `count` entries, the new ones cleared, while nobody uses it
// but the held pointer and the index; false, with the cache dropped, when
// memory failed.
bool resize_cache(RowIndex& index, int32_t count) {
    SpreadSheet* sheet = index.sheet;
    MemoryRef cache = sheet->row_cache;
    int32_t old_count = GetMemorySize(cache);
    bool held = sheet->row_cache_data != nullptr;
    UnuseFailedMemory(cache);
    int16_t error = with_failure_handler(globals_of(sheet), [&] {
        SetMemorySize(cache, count);
        MemoryUse<uint32_t> entries(cache);
        if (!entries) msFailure(globals_of(sheet), kNoMemoryErr, cache);
        if (count > old_count) std::memset(entries + old_count, 0, size_t(count - old_count) * sizeof(uint32_t));
    });
    if (error) {
        sheet->row_cache_data = nullptr;
        index.used = false;
        drop_row_cache(sheet);
        index.entries = nullptr;
        return false;
    }
    retake_entries(index, held);
    return true;
}

// A new cache for the store, sized to the highest stored row.
bool create_cache(SpreadSheet* sheet, StoreBytes store) {
    sheet->last_row = int16_t(std::max<int32_t>({sheet->last_row, highest_row(store), 0}));
    MemoryGlobals* globals = globals_of(sheet);
    MemoryRef cache = nullptr;
    int16_t error = with_failure_handler(globals, [&] {
        cache = pgAllocateNewRef(globals, sizeof(uint32_t), sheet->last_row + 1, kCacheExtend, true);
        if (!cache) msFailure(globals, kNoMemoryErr, nullptr);
        fill_entries(MemoryUse<uint32_t>(cache).get(), sheet->last_row, store);
    });
    if (error) {
        DisposeNonNilFailedMemory(cache);
        return false;
    }
    sheet->row_cache = cache;
    return true;
}

// Fills an existing cache again from the store; false when it was dropped.
bool refill_cache(RowIndex& index, StoreBytes store) {
    SpreadSheet* sheet = index.sheet;
    sheet->last_row = int16_t(std::max<int32_t>({sheet->last_row, highest_row(store), 0}));
    if (GetMemorySize(sheet->row_cache) != sheet->last_row + 1 && !resize_cache(index, sheet->last_row + 1))
        return false;
    std::memset(index.entries, 0, size_t(sheet->last_row + 1) * sizeof(uint32_t));
    fill_entries(index.entries, sheet->last_row, store);
    return true;
}

// The index's own use of the cache; false when it could not be brought in.
bool use_cache(RowIndex& index) {
    SpreadSheet* sheet = index.sheet;
    if (sheet->row_cache_data) {
        index.entries = sheet->row_cache_data;
        return true;
    }
    int16_t error = with_failure_handler(globals_of(sheet), [&] {
        index.entries = static_cast<uint32_t*>(UseMemory(sheet->row_cache));
    });
    index.used = !error && index.entries;
    if (!index.used) {
        drop_row_cache(sheet);
        index.entries = nullptr;
    }
    return index.used;
}

// The store described by the cache from now on.
void stamp(SpreadSheet* sheet) {
    sheet->row_cache_store = sheet->cells;
    sheet->cell_store_size = uint32_t(GetByteSize(sheet->cells));
    sheet->cell_hint = kNoHint;
    forget_all_row_marks(sheet);
}

void shift_rows_after(const RowIndex& index, int16_t row, int32_t delta) {
    uint32_t* entries = index.entries;
    for (int32_t r = row + 1; r <= index.sheet->last_row; ++r)
        if (entries[r]) entries[r] = uint32_t(int64_t(entries[r]) + delta);
}

}  // namespace

RowIndex open_row_index(SpreadSheet* sheet, bool build) {
    RowIndex index;
    index.sheet = sheet;
    bool current = row_cache_current(sheet);
    if (!current && !build) return index;
    if (!sheet->cells) return index;
    if (current && sheet->row_cache) {
        if (!use_cache(index)) close_row_index(index);
        return index;
    }
    MemoryUse<const uint8_t> start(sheet->cells);
    StoreBytes store{start, start + GetByteSize(sheet->cells)};
    bool ready = true;
    if (!sheet->row_cache) {
        ready = create_cache(sheet, store) && use_cache(index);
        if (ready) stamp(sheet);
    } else {
        ready = use_cache(index) && refill_cache(index, store);
        if (ready) stamp(sheet);
    }
    start.release();
    if (!ready) close_row_index(index);
    return index;
}

void close_row_index(RowIndex& index) {
    if (index.used && index.sheet->row_cache) UnuseMemory(index.sheet->row_cache);
    index.used = false;
    index.entries = nullptr;
}

uint32_t indexed_row_at_or_after(const RowIndex& index, int16_t row, uint32_t size) {
    const uint32_t* entries = index.entries;
    for (int32_t r = std::max<int32_t>(row, 0); r <= index.sheet->last_row; ++r)
        if (entries[r]) return entries[r] - 1;
    return size;
}

void index_row_resized(RowIndex& index, int16_t row, int32_t delta, uint32_t new_size) {
    forget_row_marks(index.sheet, row);
    shift_rows_after(index, row, delta);
    index.sheet->cell_store_size = new_size;
}

void index_row_appeared(RowIndex& index, int16_t row, uint32_t offset, int32_t length, uint32_t new_size) {
    SpreadSheet* sheet = index.sheet;
    if (row > sheet->last_row) {
        if (!resize_cache(index, row + 1)) return;
        sheet->last_row = row;
    }
    forget_row_marks(sheet, row);
    shift_rows_after(index, row, length);
    index.entries[row] = offset + 1;
    sheet->cell_store_size = new_size;
}

void drop_row_cache(SpreadSheet* sheet) {
    if (sheet->row_cache) UnuseFailedMemory(sheet->row_cache);
    sheet->row_cache = DisposeNonNilMemory(sheet->row_cache);
    sheet->row_cache_data = nullptr;
    sheet->row_cursor = nullptr;
    sheet->row_cache_store = nullptr;
    sheet->cell_hint = kNoHint;
    dispose_row_marks(sheet);
}
