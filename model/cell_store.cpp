// The cell store: searching, storing one cell, clearing, copying and pasting
// ranges, and the row cache.
#include "model/cell_store.h"

#include <algorithm>
#include <cstring>

#include "core/invariant_checks.h"
#include "model/cell_formats.h"
#include "model/cell_letters.h"
#include "model/cell_record.h"
#include "model/cell_store_index.h"
#include "model/layer.h"
#include "model/layer_use.h"
#include "model/model_services.h"
#include "model/row_marks.h"
#include "model/record_bytes.h"
#include "platform/text/text.h"

// ---------------------------------------------------------------------------
// Searching

int16_t FindRow(int16_t* row, uint32_t* length, const uint8_t* end, uint8_t** pointer) {
    uint8_t* p = *pointer;
    while (p + kRowHeaderSize <= end) {
        int16_t id = _RowID_(p);
        uint32_t row_length = _RowLength_(p);
        if (id >= *row) {
            *pointer = p;
            *length = row_length;
            if (id == *row) return 1;
            *row = id;
            return 0;
        }
        if (row_length < kRowHeaderSize) break;  // damaged: stop rather than loop
        p += row_length;
    }
    *pointer = const_cast<uint8_t*>(end);
    return 0;
}

int16_t FindCell(int16_t* column, const uint8_t* end, uint8_t** pointer) {
    if (*column < 0) return 0;
    uint8_t* p = *pointer;
    while (p + kCellHeaderSize <= end) {
        int16_t id = _cellID_(p);
        if (id >= *column) {
            *pointer = p;
            if (id == *column) return 1;
            *column = id;
            return 0;
        }
        if (_cellLength_(p) < kCellHeaderSize) break;
        p += _cellLength_(p);
    }
    *pointer = const_cast<uint8_t*>(end);
    return 0;
}

int16_t FindCellBefore(int16_t* column, const uint8_t* end, uint8_t** pointer) {
    uint8_t* found = nullptr;
    for (uint8_t* p = *pointer; p + kCellHeaderSize <= end && _cellID_(p) < *column;
         p += _cellLength_(p)) {
        if (_cellType_(p) != 0) found = p;
        if (_cellLength_(p) < kCellHeaderSize) break;
    }
    if (!found) return 0;
    *pointer = found;
    *column = _cellID_(found);
    return 1;
}

void CellChunk(const CellRange* range, uint8_t* row, uint8_t** first, uint8_t** after) {
    uint8_t* end = row + _RowLength_(row);
    uint8_t* p = row + kRowHeaderSize;
    while (p < end && _cellID_(p) < range->topLeft.h) p += _cellLength_(p);
    *first = p;
    while (p < end && _cellID_(p) <= range->botRight.h) p += _cellLength_(p);
    *after = p;
}

uint8_t* SetCriticalRefStop(MemoryRef block, uint8_t** end) {
    auto* start = static_cast<uint8_t*>(UseForLongTime(block));
    if (!start) return nullptr;
    *end = start + GetByteSize(block);
    return start;
}

uint8_t* SetRefStop(MemoryRef block, uint8_t** end) {
    uint8_t* start = nullptr;
    with_failure_handler(GetMemoryGlobals(block), [&] { start = SetCriticalRefStop(block, end); });
    return start;
}

namespace {

// The layer's store held for reading: [start, end).
struct HeldStore {
    MemoryRef ref = nullptr;
    uint8_t* start = nullptr;
    uint8_t* end = nullptr;
};

HeldStore hold_store(MemoryRef store) {
    HeldStore held;
    held.ref = store;
    held.start = static_cast<uint8_t*>(UseMemory(store));
    held.end = held.start + GetByteSize(store);
    return held;
}

void release_store(const HeldStore& held) { UnuseMemory(held.ref); }

// Where the search for `column` in a row can start: the cell found or stored
// last when it lies in the row before the column, else the row's first cell.
uint8_t* search_start(const SpreadSheet* sheet, const HeldStore& held, uint8_t* row, int16_t row_id, int16_t column) {
    uint32_t hint = 0;
    if (cell_hint_in_row(sheet, row_id, column, &hint) && hint < uint32_t(held.end - held.start)) return held.start + hint;
    return row + kRowHeaderSize;
}

// Searches the row for `where.h` from its marked start (0 for none) or the
// hint, whichever lies further on; the walk is counted towards the row's
// marks and the cell stopped at becomes the hint for the next search.
uint8_t* search_row(SpreadSheet* sheet, const HeldStore& held, uint8_t* row, CellPoint where, uint32_t marked_start) {
    uint8_t* row_end = row + _RowLength_(row);
    uint8_t* cell = std::max(search_start(sheet, held, row, where.v, where.h), row + marked_start);
    uint8_t* walk_start = cell;
    int16_t column = where.h;
    bool found = FindCell(&column, row_end, &cell);
    note_row_walk(sheet, where.v, row, uint32_t(cell - walk_start));
    if (cell < row_end) set_cell_hint(sheet, CellPoint{where.v, _cellID_(cell)}, uint32_t(cell - held.start));
    return found ? cell : nullptr;
}

// The cell at `where` through the row index: its address, or null. A row
// whose marks answer for the column is not searched.
uint8_t* find_indexed_cell(SpreadSheet* sheet, const RowIndex& index, const HeldStore& held, CellPoint where) {
    uint32_t row_offset = 0;
    if (!indexed_row(index, where.v, uint32_t(held.end - held.start), &row_offset)) return nullptr;
    uint8_t* row = held.start + row_offset;
    const MarkedCell marked = marked_cell(sheet, where.v, row, where.h);
    switch (marked.answer) {
    case MarkedCell::kFound:
        set_cell_hint(sheet, where, row_offset + marked.offset);
        return row + marked.offset;
    case MarkedCell::kAbsent:
        return nullptr;
    case MarkedCell::kSearch:
        break;
    }
    return search_row(sheet, held, row, where, marked.offset);
}

// The same by walking the store from its start.
uint8_t* find_walked_cell(const HeldStore& held, CellPoint where) {
    uint8_t* row = held.start;
    uint32_t length = 0;
    int16_t wanted = where.v;
    if (!FindRow(&wanted, &length, held.end, &row)) return nullptr;
    uint8_t* cell = row + kRowHeaderSize;
    int16_t column = where.h;
    return FindCell(&column, row + length, &cell) ? cell : nullptr;
}

// Marks the charts that show a changed range, for a layer with a window.
void mark_charts(MemoryRef layer, const CellRange& range) {
    LayerUse sheet(layer);
    bool has_window = sheet->window != nullptr;
    int16_t mode = (sheet->flags & kLayerChartMarkMode) ? 0 : 1;
    sheet.release();
    if (has_window) model_services.check_hot_links(mode, range.topLeft, range.botRight, layer);
}

// Redraws a changed range and marks the charts that show it.
void mark_changed_range(MemoryRef layer, const CellRange& range) {
    model_services.invalidate_cells(&range, layer);
    mark_charts(layer, range);
}

}  // namespace

namespace {

// The cell at `where` read where the layer's record, its store and its row
// cache lie, when all three are in memory and the cache describes the store:
// a search calls nothing that could move or purge a block, so uses (which
// would only lock them for its length) are not taken. False when a block is
// out of memory or the cache is missing or out of date.
bool find_resident_cell(MemoryRef layer, CellPoint where, uint8_t** cell) {
    auto* sheet = static_cast<SpreadSheet*>(GetMemoryPtr(layer));
    if (!sheet || !sheet->cells || !sheet->row_cache) return false;
    auto* start = static_cast<uint8_t*>(GetMemoryPtr(sheet->cells));
    auto* entries = static_cast<uint32_t*>(GetMemoryPtr(sheet->row_cache));
    if (!start || !entries || !row_cache_current(sheet)) return false;
    const HeldStore held{sheet->cells, start, start + sheet->cell_store_size};
    *cell = sheet->cell_store_size > uint32_t(kRowHeaderSize)
                ? find_indexed_cell(sheet, RowIndex{sheet, entries, false}, held, where)
                : nullptr;
    return true;
}

// The same with the blocks in use, bringing them in and the cache up to date.
uint8_t* find_cell_in_use(MemoryRef layer, CellPoint where) {
    LayerUse use(layer);
    SpreadSheet* sheet = use.get();
    HeldStore held = hold_store(sheet->cells);
    uint8_t* cell = nullptr;
    if (held.end - held.start > kRowHeaderSize) {
        RowIndex index = open_row_index(sheet, true);
        cell = index.entries ? find_indexed_cell(sheet, index, held, where) : find_walked_cell(held, where);
        close_row_index(index);
    }
    release_store(held);
    return cell;
}

}  // namespace

int16_t get_cell_ptr(uint8_t** cell, int16_t* length, CellPoint where, MemoryRef layer) {
    *cell = nullptr;
    *length = 0;
    if (where.v < 0 || where.h < 0) return 0;
    if (!find_resident_cell(layer, where, cell)) *cell = find_cell_in_use(layer, where);
    if (*cell) *length = _cellLength_(*cell);
    return *cell != nullptr;
}

std::vector<CellPoint> stored_cells_in_range(const CellRange& range, MemoryRef layer) {
    std::vector<CellPoint> found;
    LayerUse sheet(layer);
    HeldStore held = hold_store(sheet->cells);
    uint8_t* row = held.start;
    uint32_t length = 0;
    int16_t top = range.topLeft.v;
    FindRow(&top, &length, held.end, &row);
    for (; row + kRowHeaderSize <= held.end && _RowID_(row) <= range.botRight.v; row += _RowLength_(row)) {
        uint8_t *first, *after;
        CellChunk(&range, row, &first, &after);
        for (uint8_t* cell = first; cell < after; cell += _cellLength_(cell))
            if (_cellType_(cell) != kCellFormatOnly) found.push_back(CellPoint{_RowID_(row), _cellID_(cell)});
    }
    release_store(held);
    return found;
}

HeldLayerCells held_layer_cells(MemoryRef layer, SpreadSheet* sheet) {
    HeldLayerCells held{layer, sheet, nullptr, uint32_t(GetByteSize(sheet->cells)), nullptr};
    if (sheet->row_cache_data && row_cache_current(sheet)) held.rows = sheet->row_cache_data;
    return held;
}

uint8_t* find_held_cell(const HeldLayerCells& held, CellPoint where) {
    if (where.v < 0 || where.h < 0 || held.size <= uint32_t(kRowHeaderSize)) return nullptr;
    const HeldStore store{held.sheet->cells, held.start, held.start + held.size};
    if (!held.rows) return find_walked_cell(store, where);
    return find_indexed_cell(held.sheet, RowIndex{held.sheet, held.rows, false}, store, where);
}

// ---------------------------------------------------------------------------
// Storing one cell

namespace {

// Where a cell goes in a held store: its row (when stored) and, in that row,
// the cell of the same column (when stored) or the insertion point.
struct CellSlot {
    bool row_exists = false;
    uint32_t row_offset = 0;
    uint32_t cell_offset = 0;
    int32_t old_length = 0;  // of the cell stored there, 0 for none
};

// The slot by walking the store from its start.
CellSlot find_cell_slot(MemoryRef store, int16_t row, int16_t column) {
    CellSlot slot;
    HeldStore held = hold_store(store);
    uint8_t* p = held.start;
    uint32_t row_length = 0;
    int16_t wanted_row = row;
    slot.row_exists = FindRow(&wanted_row, &row_length, held.end, &p);
    slot.row_offset = uint32_t(p - held.start);
    if (slot.row_exists) {
        uint8_t* cell = p + kRowHeaderSize;
        int16_t wanted_column = column;
        if (FindCell(&wanted_column, p + row_length, &cell)) slot.old_length = _cellLength_(cell);
        slot.cell_offset = uint32_t(cell - held.start);
    }
    release_store(held);
    return slot;
}

// The slot through the row index, searching the row from the hint when it can.
CellSlot indexed_cell_slot(const RowIndex& index, MemoryRef store, int16_t row, int16_t column) {
    CellSlot slot;
    HeldStore held = hold_store(store);
    slot.row_exists = indexed_row(index, row, uint32_t(held.end - held.start), &slot.row_offset);
    if (slot.row_exists) {
        uint8_t* row_record = held.start + slot.row_offset;
        uint8_t* cell = search_start(index.sheet, held, row_record, row, column);
        int16_t wanted_column = column;
        if (FindCell(&wanted_column, row_record + _RowLength_(row_record), &cell)) slot.old_length = _cellLength_(cell);
        slot.cell_offset = uint32_t(cell - held.start);
    }
    release_store(held);
    return slot;
}

// Makes the room at `offset` go from `old_length` to `new_length` bytes;
// false, with the store unchanged, when it cannot grow.
bool resize_room(MemoryRef store, uint32_t offset, int32_t old_length, int32_t new_length) {
    if (new_length > old_length) {
        ReserveMemoryGrowth(store, new_length - old_length);
        if (!InsertMemory(store, int32_t(offset) + old_length, new_length - old_length)) return false;
        UnuseMemory(store);
    } else if (new_length < old_length) {
        DeleteMemory(store, int32_t(offset) + new_length, old_length - new_length);
    }
    return true;
}

// Writes the block into its slot: the whole block as a new row, or its cell
// into the row that exists. False, with the store unchanged, without memory.
bool store_cell_bytes(MemoryRef store, const CellSlot& slot, const uint8_t* block, int32_t length) {
    int32_t room = slot.row_exists ? length - kRowHeaderSize : length;
    uint32_t offset = slot.row_exists ? slot.cell_offset : slot.row_offset;
    if (!resize_room(store, offset, slot.old_length, room)) return false;
    HeldStore held = hold_store(store);
    std::memcpy(held.start + offset, slot.row_exists ? block + kRowHeaderSize : block, size_t(room));
    uint8_t* row_record = held.start + slot.row_offset;
    if (slot.row_exists)
        _SetRowLength_(row_record, _RowLength_(row_record) + uint32_t(room - slot.old_length));
    else
        _SetRowLength_(row_record, uint32_t(length));
    release_store(held);
    return true;
}

// Brings the row index up to the store after a cell was stored in its slot.
void index_stored_cell(RowIndex& index, const CellSlot& slot, CellPoint cell, int32_t length, uint32_t new_size) {
    if (slot.row_exists)
        index_row_resized(index, cell.v, length - kRowHeaderSize - slot.old_length, new_size);
    else
        index_row_appeared(index, cell.v, slot.row_offset, length, new_size);
    if (!index.entries) return;
    set_cell_hint(index.sheet, cell, slot.row_exists ? slot.cell_offset : slot.row_offset + kRowHeaderSize);
}

}  // namespace

// A cell already stored at the position is replaced, so that no column is
// ever stored twice. The row index follows the change instead of being
// discarded; a memory failure leaves the store as it was and goes on to the
// caller's handler.
void InputCell(const CellRange* range, const uint8_t* block, int32_t length, MemoryRef layer) {
    (void)range;
    if (length < kRowHeaderSize + kCellHeaderSize) return;
    const uint8_t* cell = block + kRowHeaderSize;
    // The block is one row holding one cell: a cell length that disagrees would tear the store.
    if (_cellLength_(cell) != length - kRowHeaderSize) return;
    CellPoint where{_RowID_(block), _cellID_(cell)};
    if (!cell_in_grid(where.v, where.h)) return;
    const StoreCheck check = store_check_before(where, layer);
    LayerUse sheet(layer);
    MemoryRef store = sheet->cells;
    MemoryGlobals* globals = sheet->machine->memory;
    sheet->row_cursor = nullptr;
    RowIndex index = open_row_index(sheet, true);
    CellSlot slot = index.entries ? indexed_cell_slot(index, store, where.v, where.h)
                                  : find_cell_slot(store, where.v, where.h);
    bool stored = false;
    int16_t error = with_failure_handler(globals, [&] { stored = store_cell_bytes(store, slot, block, length); });
    if (stored && index.entries) index_stored_cell(index, slot, where, length, uint32_t(GetByteSize(store)));
    close_row_index(index);
    sheet.release();
    if (error) return msFailure(globals, error, globals->failed_ref);
    if (!stored) return;
    mark_charts(layer, CellRange{where, where});
    if (invariants_checked()) forget_block_letters(layer, cell);
    check_stored_cell(check, where, layer);
}

// ---------------------------------------------------------------------------
// Clearing and copying ranges

void Clear_Cells(const CellRange* range, MemoryRef store) {
    if (!store) return;
    HeldStore held = hold_store(store);
    uint8_t* read = held.start;
    uint32_t length = 0;
    int16_t top = range->topLeft.v;
    FindRow(&top, &length, held.end, &read);
    uint8_t* write = read;
    while (read < held.end && _RowID_(read) <= range->botRight.v) {
        uint32_t row_length = _RowLength_(read);
        uint8_t* row_end = read + row_length;
        uint8_t *first, *after;
        CellChunk(range, read, &first, &after);
        uint32_t removed = uint32_t(after - first);
        if (row_length - removed > uint32_t(kRowHeaderSize)) {
            size_t before = size_t(first - read);
            std::memmove(write, read, before);
            std::memmove(write + before, after, size_t(row_end - after));
            _SetRowLength_(write, row_length - removed);
            write += row_length - removed;
        }
        read = row_end;
    }
    size_t rest = size_t(held.end - read);
    std::memmove(write, read, rest);
    uint32_t new_size = uint32_t(write + rest - held.start);
    release_store(held);
    SetMemorySize(store, new_size);
}

int16_t CopyCellInfo(CellPoint top_left, CellPoint bottom_right, MemoryRef* block, MemoryRef store) {
    *block = nullptr;
    MemoryGlobals* globals = GetMemoryGlobals(store);
    CellRange range{top_left, bottom_right};
    MemoryRef copy = nullptr;
    bool store_held = false;
    int16_t error = with_failure_handler(globals, [&] {
        copy = pgAllocateNewRef(globals, 1, 0, kCellBlockExtend, false);
        if (!copy) msFailure(globals, pf::kMemFullErr, nullptr);
        HeldStore held = hold_store(store);
        store_held = true;
        uint8_t* row = held.start;
        uint32_t length = 0;
        int16_t top = top_left.v;
        FindRow(&top, &length, held.end, &row);
        for (; row < held.end && _RowID_(row) <= bottom_right.v; row += _RowLength_(row)) {
            uint8_t *first, *after;
            CellChunk(&range, row, &first, &after);
            if (first == after) continue;
            uint8_t header[kRowHeaderSize];
            _SetRowID_(header, _RowID_(row));
            _SetRowLength_(header, uint32_t(kRowHeaderSize + (after - first)));
            PtrAndMemory(header, copy, kRowHeaderSize);
            PtrAndMemory(first, copy, int32_t(after - first));
        }
        release_store(held);
        store_held = false;
    });
    if (error) {
        if (store_held) UnuseFailedMemory(store);
        DisposeNonNilMemory(copy);
        return 0;
    }
    *block = copy;
    return 1;
}

int16_t copy_cells(int16_t clear, CellPoint top_left, CellPoint bottom_right, MemoryRef* block,
                   MemoryRef layer) {
    MemoryRef store = GetSpreadSheetCells(layer);
    if (!CopyCellInfo(top_left, bottom_right, block, store)) return 1;
    if (clear) {
        CellRange range{top_left, bottom_right};
        clobberCache(layer);
        Clear_Cells(&range, store);
        mark_changed_range(layer, range);
    }
    return 0;
}

// ---------------------------------------------------------------------------
// Pasting a block

namespace {

constexpr uint8_t kDateCodeLimit = 21;  // format codes below it are dates
constexpr uint8_t kCellOwnFlagsB = 0x9E;
constexpr uint8_t kColumnFlagsB = 0x61;

// A cell stored in a column with its own format takes the column's format
// fields. A date code stays unless the column's code is a date code too.
// The record's own fields (id, lengths, type, result type) are kept.
void apply_column_format(uint8_t* cell, const uint8_t* column) {
    uint8_t own_code = cell[kFmtCode];
    uint8_t own_flags = cell[kFmtFlagsB];
    std::memcpy(cell + kFmtFont, column + kFmtFont, kFmtLabelLength - kFmtFont);
    std::memcpy(cell + kFmtTextColour, column + kFmtTextColour, kFmtExtent - kFmtTextColour);
    cell[kFmtFlagsB] = uint8_t((own_flags & kCellOwnFlagsB) | (column[kFmtFlagsB] & kColumnFlagsB));
    if (own_code < kDateCodeLimit && column[kFmtCode] >= kDateCodeLimit) cell[kFmtCode] = own_code;
}

struct PastePlan {
    CellRange source;        // cells of the block that are pasted
    CellRange destination;   // the source moved by the offsets, clipped to the grid
    int16_t row_offset;
    int16_t column_offset;
    bool empty;
};

int clip(int value) { return std::clamp(value, 0, int(kLastCell)); }

PastePlan plan_paste(CellPoint top_left, CellPoint bottom_right, CellPoint selection) {
    PastePlan plan{};
    plan.row_offset = int16_t(selection.v - top_left.v);
    plan.column_offset = int16_t(selection.h - top_left.h);
    plan.source = {top_left, bottom_right};
    int top = top_left.v + plan.row_offset, bottom = bottom_right.v + plan.row_offset;
    int left = top_left.h + plan.column_offset, right = bottom_right.h + plan.column_offset;
    plan.empty = top > kLastCell || left > kLastCell || bottom < 0 || right < 0 ||
                 top_left.v > bottom_right.v || top_left.h > bottom_right.h;
    plan.destination = {{int16_t(clip(top)), int16_t(clip(left))},
                        {int16_t(clip(bottom)), int16_t(clip(right))}};
    return plan;
}

// Writes the merged store sequentially into a buffer sized for the worst case.
struct MergeWriter {
    uint8_t* out;
    uint8_t* write;

    uint8_t* begin_row(int16_t row) {
        uint8_t* header = write;
        _SetRowID_(header, row);
        write += kRowHeaderSize;
        return header;
    }
    void end_row(uint8_t* header) {
        uint32_t length = uint32_t(write - header);
        if (length == uint32_t(kRowHeaderSize))
            write = header;  // nothing stored: no row
        else
            _SetRowLength_(header, length);
    }
    void put(const uint8_t* bytes, size_t length) {
        std::memcpy(write, bytes, length);
        write += length;
    }
};

struct PasteContext {
    const PastePlan* plan;
    const uint8_t* column_formats;  // held array, or null
    int32_t column_format_count;
    bool with_formats;
    int16_t default_font;  // the layer's
};

const uint8_t* column_format_of(const PasteContext& context, int16_t column) {
    const uint8_t* records = context.column_formats;
    int32_t low = 0, high = context.column_format_count - 1;
    while (low <= high) {
        int32_t middle = (low + high) / 2;
        int16_t id = format_id(records + middle * kColumnFormatSize);
        if (id == column) return records + middle * kColumnFormatSize;
        if (id < column) low = middle + 1; else high = middle - 1;
    }
    return nullptr;
}

// Whether a text cell without runs, its bytes beyond ASCII, would read as
// other letters in `font` than in its own (65535: `default_font`).
bool font_reads_text_otherwise(const uint8_t* cell, uint16_t font, int16_t default_font) {
    if (_cellType_(cell) != kCellText || _styleLength_(cell) > 0) return false;
    const auto script_of = [&](uint16_t f) {
        return pf::font_to_script(f == kDefaultFontNumber ? default_font : int16_t(f));
    };
    if (script_of(font) == script_of(format_font(cell))) return false;
    const uint8_t* text = _formulaPtr_(cell);
    return std::any_of(text, text + _formulaLength_(cell), [](uint8_t byte) { return byte >= 0x80; });
}

// Copies the pasted cell at `cell` to the writer, moved and formatted: a
// column's format is taken but for a font that would read its text as other
// letters.
void put_pasted_cell(MergeWriter& writer, const PasteContext& context, const uint8_t* cell) {
    uint8_t* copy = writer.write;
    writer.put(cell, size_t(_cellLength_(cell)));
    int16_t column = int16_t(_cellID_(cell) + context.plan->column_offset);
    _SetCellID_(copy, column);
    if (!context.with_formats || !context.column_formats) return;
    const uint8_t* format = column_format_of(context, column);
    if (!format) return;
    const bool keep_font = font_reads_text_otherwise(cell, format_font(format), context.default_font);
    apply_column_format(copy, format);
    if (keep_font) store_u16(copy + kFmtFont, format_font(cell));
}

bool pasted_cell_kept(const PasteContext& context, const uint8_t* cell) {
    int column = _cellID_(cell);
    if (column < context.plan->source.topLeft.h || column > context.plan->source.botRight.h)
        return false;
    column += context.plan->column_offset;
    return column >= 0 && column <= kLastCell;
}

// One destination row: the old row's cells outside the destination columns
// and the pasted row's cells, merged by column.
void merge_row(MergeWriter& writer, const PasteContext& context, int16_t row, const uint8_t* old_row,
               const uint8_t* pasted_row) {
    const CellRange& destination = context.plan->destination;
    const uint8_t *old_cell = nullptr, *old_end = nullptr, *new_cell = nullptr, *new_end = nullptr;
    if (old_row) {
        old_cell = old_row + kRowHeaderSize;
        old_end = old_row + _RowLength_(old_row);
    }
    if (pasted_row) {
        new_cell = pasted_row + kRowHeaderSize;
        new_end = pasted_row + _RowLength_(pasted_row);
    }
    bool row_in_destination = row >= destination.topLeft.v && row <= destination.botRight.v;
    uint8_t* header = writer.begin_row(row);
    for (;;) {
        while (old_cell < old_end && row_in_destination && _cellID_(old_cell) >= destination.topLeft.h &&
               _cellID_(old_cell) <= destination.botRight.h)
            old_cell += _cellLength_(old_cell);  // cleared by the paste
        while (new_cell < new_end && !pasted_cell_kept(context, new_cell))
            new_cell += _cellLength_(new_cell);
        bool have_old = old_cell < old_end, have_new = new_cell < new_end;
        if (!have_old && !have_new) break;
        int new_column = have_new ? _cellID_(new_cell) + context.plan->column_offset : 0;
        if (have_old && (!have_new || _cellID_(old_cell) < new_column)) {
            writer.put(old_cell, size_t(_cellLength_(old_cell)));
            old_cell += _cellLength_(old_cell);
        } else {
            put_pasted_cell(writer, context, new_cell);
            new_cell += _cellLength_(new_cell);
        }
    }
    writer.end_row(header);
}

// The pasted rows that land inside the grid, in order, paired with the old rows.
void merge_stores(MergeWriter& writer, const PasteContext& context, const HeldStore& old_store,
                  const HeldStore& block) {
    const PastePlan& plan = *context.plan;
    const uint8_t* old_row = old_store.start;
    const uint8_t* new_row = block.start;
    auto next_pasted = [&] {
        while (new_row < block.end) {
            int row = _RowID_(new_row);
            int target = row + plan.row_offset;
            if (row >= plan.source.topLeft.v && row <= plan.source.botRight.v && target >= 0 &&
                target <= kLastCell)
                return;
            new_row += _RowLength_(new_row);
        }
    };
    next_pasted();
    while (old_row < old_store.end || new_row < block.end) {
        int old_id = old_row < old_store.end ? _RowID_(old_row) : INT32_MAX;
        int new_id = new_row < block.end ? _RowID_(new_row) + plan.row_offset : INT32_MAX;
        int16_t row = int16_t(std::min(old_id, new_id));
        const uint8_t* old_part = old_id == row ? old_row : nullptr;
        const uint8_t* new_part = new_id == row ? new_row : nullptr;
        merge_row(writer, context, row, old_part, new_part);
        if (old_part) old_row += _RowLength_(old_row);
        if (new_part) {
            new_row += _RowLength_(new_row);
            next_pasted();
        }
    }
}

}  // namespace

namespace {

// The offset of the first stored row at or after `row`: the rows before it
// are the same after a paste that starts there.
uint32_t first_offset_from(SpreadSheet* sheet, int16_t row) {
    uint32_t size = uint32_t(GetByteSize(sheet->cells));
    RowIndex index = open_row_index(sheet, true);
    if (index.entries) {
        uint32_t offset = indexed_row_at_or_after(index, row, size);
        close_row_index(index);
        return offset;
    }
    HeldStore held = hold_store(sheet->cells);
    uint8_t* p = held.start;
    uint32_t length = 0;
    FindRow(&row, &length, held.end, &p);
    release_store(held);
    return uint32_t(p - held.start);
}

}  // namespace

// Only the rows from the destination's top on are merged: the ones before
// stay where they are, so that pasting after the last row costs the size of
// the block, not of the store.
int16_t InputDataWithFormat(CellPoint top_left, CellPoint bottom_right, int16_t with_formats,
                            MemoryRef block, MemoryRef layer) {
    LayerUse sheet(layer);
    MemoryRef store = sheet->cells;
    MemoryRef column_formats = sheet->column_formats;
    MemoryGlobals* globals = sheet->machine->memory;
    const int16_t default_font = sheet->font;
    PastePlan plan = plan_paste(top_left, bottom_right, sheet->selection.topLeft);
    uint32_t kept = plan.empty ? 0 : first_offset_from(sheet, plan.destination.topLeft.v);
    sheet.release();
    if (plan.empty) return 0;

    clobberCache(layer);
    MemoryRef merged = nullptr;
    HeldStore old_store, pasted;
    BlockCheck check;
    const uint8_t* formats = nullptr;
    int16_t error = with_failure_handler(globals, [&] {
        uint32_t size = uint32_t(GetByteSize(store));
        merged = pgAllocateNewRef(globals, 1, int32_t(size - kept) + GetByteSize(block), 0, false);
        if (!merged) msFailure(globals, pf::kMemFullErr, nullptr);
        if (with_formats && column_formats)
            formats = static_cast<const uint8_t*>(UseMemory(column_formats));
        old_store = hold_store(store);
        pasted = hold_store(block);
        check = block_check_before(pasted.start, pasted.end, CellPoint{plan.row_offset, plan.column_offset},
                                   plan.destination, layer);
        MergeWriter writer{static_cast<uint8_t*>(UseMemory(merged)), nullptr};
        writer.write = writer.out;
        PasteContext context{&plan, formats, formats ? int32_t(GetMemorySize(column_formats)) : 0,
                             with_formats != 0, default_font};
        merge_stores(writer, context, HeldStore{store, old_store.start + kept, old_store.end}, pasted);
        uint32_t merged_size = uint32_t(writer.write - writer.out);
        release_store(pasted);
        pasted.ref = nullptr;
        release_store(old_store);
        old_store.ref = nullptr;
        // Only now does the store change: a failure above leaves it as it was.
        ReserveMemoryGrowth(store, int32_t(kept + merged_size) - int32_t(size));
        SetMemorySize(store, int32_t(kept + merged_size));
        std::memcpy(MemoryUse<uint8_t>(store).get() + kept, writer.out, merged_size);
        UnuseMemory(merged);
    });
    if (formats) UnuseMemory(column_formats);
    if (error) {
        if (pasted.ref) UnuseFailedMemory(pasted.ref);
        if (old_store.ref) UnuseFailedMemory(old_store.ref);
    }
    if (merged) DisposeFailedMemory(merged);
    if (error) return error;
    mark_changed_range(layer, plan.destination);
    check_block_stored(check, !with_formats || !column_formats, layer);
    return 0;
}

int16_t InputData(CellPoint top_left, CellPoint bottom_right, MemoryRef block, MemoryRef layer) {
    return InputDataWithFormat(top_left, bottom_right, 0, block, layer);
}

// ---------------------------------------------------------------------------
// Row cache

// A cache that no longer describes the store is filled again; a store of a
// row header or less gets none unless it has one already.
void CalcRowPtr(MemoryRef layer) {
    LayerUse sheet(layer);
    sheet->row_cursor = nullptr;
    uint32_t size = uint32_t(GetByteSize(sheet->cells));
    if (size > uint32_t(kRowHeaderSize) || sheet->row_cache) {
        RowIndex index = open_row_index(sheet, true);
        if (index.used && !sheet->row_cache_data) {
            sheet->row_cache_data = index.entries;  // the index's use becomes the held one
            index.used = false;
        }
        close_row_index(index);
    }
    sheet->cell_store_size = size;
}

void ReleaseCache(MemoryRef layer) {
    LayerUse sheet(layer);
    if (sheet->row_cache_data) UnuseMemory(sheet->row_cache);
    sheet->row_cache_data = nullptr;
    sheet->row_cursor = nullptr;
}

void clobberCache(MemoryRef layer) {
    LayerUse sheet(layer);
    drop_row_cache(sheet);
}
