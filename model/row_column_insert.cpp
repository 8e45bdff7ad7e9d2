// The Insert and Delete commands on whole rows and columns: undo copies, the
// moved cells, references, names, formats, page breaks and drawing objects.
#include <algorithm>
#include <cstring>
#include <vector>

#include "core/memory_use.h"
#include "model/cell_record.h"
#include "model/cell_store.h"
#include "model/insert_delete.h"
#include "model/layer.h"
#include "model/layer_use.h"
#include "model/model_services.h"
#include "model/undo_write.h"
#include "model/named_ranges.h"
#include "platform/resources/resources.h"
#include "resource_ids.h"

namespace {

constexpr uint16_t kUndoCopyPriority = 128;


// Steps 1 and 2: the selection as whole rows or columns, selected, and the change.
AxisChange selected_change(MemoryRef layer, int16_t rows, bool inserting) {
    LayerUse sheet(layer);
    CellRange selection = sheet->selection;
    sheet.release();
    bool by_rows = rows != 0;
    if (whole_rows(selection) && !whole_columns(selection)) by_rows = true;
    else if (whole_columns(selection) && !whole_rows(selection)) by_rows = false;
    else if (!whole_rows(selection) && !whole_columns(selection)) {
        if (by_rows) selection.topLeft.h = 0, selection.botRight.h = kLastCell;
        else selection.topLeft.v = 0, selection.botRight.v = kLastCell;
        model_services.select_layer_cells(selection.topLeft, &selection, nullptr, 0, layer);
    }
    AxisChange change{by_rows, inserting, by_rows ? selection.topLeft.v : selection.topLeft.h, 0};
    change.count = int16_t(by_rows ? selection.botRight.v - selection.topLeft.v + 1
                                   : selection.botRight.h - selection.topLeft.h + 1);
    return change;
}

CellRange changed_range(const AxisChange& change) {
    if (change.rows) return CellRange{{change.first, 0}, {change.last_deleted(), kLastCell}};
    return CellRange{{0, change.first}, {kLastCell, change.last_deleted()}};
}

// The highest row (or column) holding a cell, -1 for an empty store.
int32_t highest_position(MemoryRef store, bool rows) {
    int32_t highest = -1;
    MemoryUse<uint8_t> start(store);
    const uint8_t* end = start + GetByteSize(store);
    for (const uint8_t* row = start; row < end; row += _RowLength_(row)) {
        if (rows) {
            highest = std::max<int32_t>(highest, _RowID_(row));
            continue;
        }
        const uint8_t* cell = row + kRowHeaderSize;
        const uint8_t* last = cell;
        for (; cell < row + _RowLength_(row); cell += _cellLength_(cell)) last = cell;
        if (last < row + _RowLength_(row)) highest = std::max<int32_t>(highest, _cellID_(last));
    }
    return highest;
}

// Every row number (or cell column) at or past `from` moves by `by`.
void shift_store(MemoryRef store, bool rows, int32_t from, int32_t by) {
    if (GetByteSize(store) <= kCellHeaderSize) return;
    MemoryUse<uint8_t> start(store);
    uint8_t* end = start + GetByteSize(store);
    for (uint8_t* row = start; row < end; row += _RowLength_(row)) {
        if (rows) {
            if (_RowID_(row) >= from) _SetRowID_(row, int16_t(_RowID_(row) + by));
            continue;
        }
        for (uint8_t* cell = row + kRowHeaderSize; cell < row + _RowLength_(row); cell += _cellLength_(cell))
            if (_cellID_(cell) >= from) _SetCellID_(cell, int16_t(_cellID_(cell) + by));
    }
}

// The same for a layer's store, whose row index and column positions no
// longer describe it: they go at once, before anything reads the cells.
void shift_cells(MemoryRef layer, bool rows, int32_t from, int32_t by) {
    shift_store(GetSpreadSheetCells(layer), rows, from, by);
    clobberCache(layer);
}

// Manual page breaks (i16 row or column numbers) follow the cells.
void shift_page_breaks(MemoryRef layer, const AxisChange& change) {
    LayerUse sheet(layer);
    MemoryRef* breaks = change.rows ? &sheet->row_page_breaks : &sheet->column_page_breaks;
    MemoryRef list = *breaks;
    sheet.release();
    if (!list) return;
    std::vector<int16_t> kept;
    MemoryUse<const uint8_t> values(list);
    for (int32_t i = 0; i < GetMemorySize(list); ++i) {
        int32_t moved = moved_position(change, load_i16(values + 2 * i));
        if (moved >= 0 && moved <= kLastCell) kept.push_back(int16_t(moved));
    }
    values.release();
    SetMemorySize(list, int32_t(kept.size()));
    if (!kept.empty()) std::memcpy(MemoryUse<>(list).get(), kept.data(), kept.size() * 2);
}

// Format arrays: records sorted by the id in their first two bytes.
void shift_formats(MemoryRef* array, const AxisChange& change) {
    if (!*array) return;
    const int32_t size = GetMemoryRecSize(*array);
    for (int32_t i = GetMemorySize(*array) - 1; i >= 0; --i) {
        MemoryUse<uint8_t> records(*array);
        uint8_t* record = records + size * i;
        int32_t moved = moved_position(change, format_id(record));
        if (moved >= 0 && moved <= kLastCell) set_format_id(record, int16_t(moved));
        records.release();
        if (moved < 0 || moved > kLastCell) DeleteMemory(*array, i, 1);
    }
    if (GetMemorySize(*array) == 0) {
        DisposeMemory(*array);
        *array = nullptr;
    }
}

void shift_layer_formats(int16_t insert, int16_t first, int16_t last, MemoryRef layer, bool rows) {
    AxisChange change{rows, insert != 0, first, int16_t(last - first + 1)};
    LayerUse sheet(layer);
    MemoryRef* array = rows ? &sheet->row_formats : &sheet->column_formats;
    shift_formats(array, change);
}

// Named ranges of the layer, each edge moved by the change.
void shift_names(MemoryRef layer, const AxisChange& change) {
    MemoryRef list = Get_rangeinfo(layer);
    if (!list) return;
    MemoryUse<uint8_t> records(list);
    for (int32_t i = 0; i < GetMemorySize(list); ++i) {
        uint8_t* record = records + kNamedRangeSize * i;
        unsigned char name[kNamedRangeNameSize];
        named_range_name(record, name);
        CellRange r = named_range_cells(record);
        int16_t& low = change.rows ? r.topLeft.v : r.topLeft.h;
        int16_t& high = change.rows ? r.botRight.v : r.botRight.h;
        if (change.inserting) {
            if (low >= change.first) low = int16_t(std::min<int32_t>(low + change.count, kLastCell));
            if (high >= change.first) high = int16_t(std::min<int32_t>(high + change.count, kLastCell));
        } else {
            const int16_t last = change.last_deleted();
            low = low <= last ? std::min(low, change.first) : int16_t(low - change.count);
            high = high < change.first ? high : high <= last ? int16_t(change.first - 1) : int16_t(high - change.count);
        }
        set_named_range(record, name, r);
    }
}

MemoryRef copy_of(MemoryRef block) {
    MemoryRef copy = DuplicateNonNilMemory(block);
    if (copy) SetMemoryPurge(copy, kUndoCopyPriority, false);
    return copy;
}

// Rows in the low half, columns in the high half, signed by the direction.
int32_t packed_counts(const AxisChange& change, int sign) {
    const int16_t count = int16_t(sign * change.count);
    return change.rows ? int32_t(uint16_t(count)) : int32_t(uint32_t(uint16_t(count)) << 16);
}

// The undo record of a command: cells, object moves, column and row formats, names.
struct UndoCopies {
    MemoryRef cells = nullptr, objects = nullptr, columns = nullptr, rows = nullptr, names = nullptr;
    void dispose() {
        for (MemoryRef block : {cells, objects, columns, rows, names}) DisposeNonNilMemory(block);
        *this = UndoCopies{};
    }
};

// Copies for undo and the undo record; the memory manager's error code when
// memory failed (the copies made are freed and the layer is unchanged).
int16_t write_undo(MemoryRef layer, const AxisChange& change, int16_t kind, MemoryRef deleted_objects,
                   MemoryRef object_ids) {
    UndoCopies copies;
    MemoryGlobals* memory = GetMemoryGlobals(layer);
    const CellRange range = changed_range(change);
    int16_t error = with_failure_handler(memory, [&] {
        LayerUse sheet(layer);
        MemoryRef formats = change.rows ? sheet->row_formats : sheet->column_formats;
        MemoryRef cells = sheet->cells;
        sheet.release();
        (change.rows ? copies.rows : copies.columns) = copy_of(formats);
        copies.names = copy_of(Get_rangeinfo(layer));
        copies.cells = copy_of(cells);
        copies.objects = model_services.object_offsets(packed_counts(change, change.inserting ? 1 : -1), &range, layer);
        WriteMemUndo(kind, change.rows ? 1 : 0, &range, nullptr, copies.cells, copies.objects, copies.columns,
                     copies.rows, copies.names, layer);
        copies = UndoCopies{};  // the record owns them
        if (deleted_objects) model_services.keep_objects_in_last_undo(deleted_objects, object_ids, layer);
    });
    if (error) copies.dispose();
    return error;
}

// Whether inserting would push a stored cell past the grid's last row or column.
bool pushes_cells_off_grid(MemoryRef layer, const AxisChange& change) {
    return highest_position(GetSpreadSheetCells(layer), change.rows) + change.count > kLastCell;
}

void refuse_off_grid() {
    unsigned char message[256];
    pf::get_indexed_string(message, kCalcDialogStrings, kCellsOffGridItem);
    model_services.show_caution_alert(message, kStandardStopAlert, kStopAlertKind);
}

void finish(MemoryRef layer, const AxisChange& change) {
    shift_page_breaks(layer, change);
    model_services.recompute_page_breaks(layer);
    model_services.reset_positions(layer);
    clobberCache(layer);
    resize_sheet(layer, 1);
}

}  // namespace

int16_t insert_rowcol(MemoryRef layer, int16_t rows) {
    const AxisChange change = selected_change(layer, rows, true);
    if (pushes_cells_off_grid(layer, change)) {
        refuse_off_grid();
        return kCellsOffGridErr;
    }
    const CellRange range = changed_range(change);
    model_services.check_hot_links(1, range.topLeft, range.botRight, layer);
    if (int16_t error = write_undo(layer, change, kUndoInsert, nullptr, nullptr)) return error;
    CellRange moving = range;
    (change.rows ? moving.botRight.v : moving.botRight.h) = kLastCell;
    const int32_t counts = packed_counts(change, 1);
    ResetInsertRect(&moving, &range, counts, layer);
    InsertRange(&moving, counts, layer);
    shift_cells(layer, change.rows, change.first, change.count);
    (change.rows ? InsertRowSize : InsertColumnSize)(1, change.first, change.last_deleted(), layer);
    finish(layer, change);
    return 0;
}

int16_t delete_rowcol(MemoryRef layer, int16_t rows) {
    const AxisChange change = selected_change(layer, rows, false);
    const CellRange range = changed_range(change);
    LayerUse sheet(layer);
    MemoryRef objects = sheet->objects;
    sheet.release();
    MemoryRef object_ids = objects ? model_services.object_id_list(objects) : nullptr;
    MemoryRef deleted_objects = objects ? model_services.delete_objects(1, &range, layer) : nullptr;
    model_services.check_hot_links(0, range.topLeft, range.botRight, layer);
    if (int16_t error = write_undo(layer, change, kUndoDelete, deleted_objects, object_ids)) return error;
    Clear_Cells(&range, GetSpreadSheetCells(layer));
    ResetDeleteRect(change, layer);
    DeleteRange(change, layer);
    shift_cells(layer, change.rows, change.last_deleted() + 1, -change.count);
    (change.rows ? InsertRowSize : InsertColumnSize)(0, change.first, change.last_deleted(), layer);
    finish(layer, change);
    return 0;
}

void InsertRange(const CellRange* moving, int32_t counts, MemoryRef layer) {
    const int16_t rows = int16_t(counts & 0xFFFF), columns = int16_t(counts >> 16);
    if (rows > 0) shift_names(layer, AxisChange{true, true, moving->topLeft.v, rows});
    if (columns > 0) shift_names(layer, AxisChange{false, true, moving->topLeft.h, columns});
}

void DeleteRange(const AxisChange& change, MemoryRef layer) { shift_names(layer, change); }

void InsertRowSize(int16_t insert, int16_t first, int16_t last, MemoryRef layer) {
    shift_layer_formats(insert, first, last, layer, true);
}

void InsertColumnSize(int16_t insert, int16_t first, int16_t last, MemoryRef layer) {
    shift_layer_formats(insert, first, last, layer, false);
}
