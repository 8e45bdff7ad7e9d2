// Undo records: making them, and the workbook's undo list and redo slot.
#include "model/undo_record.h"

#include <cstring>
#include <array>

#include "model/cell_store.h"
#include "model/layer.h"
#include "model/layer_use.h"
#include "model/workbook.h"

bool is_cell_kind(int16_t kind) {
    return (kind >= kUndoCut && kind <= kUndoClear) || (kind >= kUndoSort && kind <= kUndoFillSeries);
}

bool keeps_cells(int16_t kind) { return is_cell_kind(kind) && kind != kUndoRowHeight && kind != kUndoColumnWidth; }

bool is_move_kind(int16_t kind) {
    return kind == kUndoMove || kind == kUndoInsertCells || kind == kUndoDeleteCells;
}

bool is_object_kind(int16_t kind) { return kind >= kUndoClearObjects && kind <= kLastUndoKind; }

bool saves_column_formats(int16_t extent) { return extent == kExtentColumns || extent == kExtentBoth; }
bool saves_row_formats(int16_t extent) { return extent == kExtentRows || extent == kExtentBoth; }

MemoryRef new_undo_record(MemoryRef layer) {
    MemoryGlobals* globals = GetMemoryGlobals(layer);
    MemoryRef undo = pgAllocateNewRef(globals, sizeof(UndoRecord), 1, 0, true);
    if (!undo) msFailure(globals, kNoMemoryErr, nullptr);
    return undo;
}

UndoRecord describe_change(int16_t kind, int16_t extent, const CellRange* range_a, const CellRange* range_b,
                           MemoryRef layer) {
    UndoRecord fields{};
    fields.kind = kind;
    fields.extent = extent;
    fields.range_a = range_a ? *range_a : CellRange{};
    fields.range_b = range_b ? *range_b : CellRange{};
    LayerUse sheet(layer);
    fields.layer_id = sheet->layer_id;
    fields.default_font = sheet->font;
    std::memcpy(fields.default_column_format, sheet->default_column_format, kCellFormatSize);
    std::memcpy(fields.default_row_format, sheet->default_row_format, kRowFormatSize);
    return fields;
}

MemoryRef find_layer_by_id(MemoryRef workbook, int16_t id) {
    for (int16_t index = 0; index < num_SpreadSheets(workbook); ++index) {
        MemoryRef layer = find_SpreadSheet_item(workbook, index);
        if (layer && GetSheetID(layer) == id) return layer;
    }
    return nullptr;
}

MemoryRef workbook_undo_list(MemoryRef workbook) {
    return MemoryUse<WorkSheet>(workbook)->undo_list;
}

MemoryRef workbook_redo(MemoryRef workbook) {
    return MemoryUse<WorkSheet>(workbook)->redo;
}

MemoryRef exchange_redo(MemoryRef workbook, MemoryRef redo) {
    MemoryUse<WorkSheet> book(workbook);
    MemoryRef held = book->redo;
    book->redo = redo;
    return held;
}

void remove_newest_undo(MemoryRef workbook) {
    MemoryRef list = workbook_undo_list(workbook);
    if (list && GetMemorySize(list) > 0) DeleteMemory(list, GetMemorySize(list) - 1, 1);
}

void take_back_newest_undo(MemoryRef layer) {
    MemoryRef workbook = GetWorkSheet(layer);
    MemoryRef undo = pg_GetMultUndo(workbook_undo_list(workbook), -1);
    remove_newest_undo(workbook);
    DisposeUndo(undo);
}

void push_undo(MemoryRef undo, MemoryRef layer) {
    MemoryRef workbook = GetWorkSheet(layer);
    MemoryUse<WorkSheet> book(workbook);
    MemoryRef list = book->undo_list;
    MemoryRef redo = book->redo;
    book.release();
    PrepareMultUndo(list, undo, &redo);
    exchange_redo(workbook, redo);
    increment_change_ctr(layer);
}

// ---- Undo records follow the layers ----------------------------------------

namespace {

constexpr int16_t kGoneLayer = -1;

struct LayerShift {
    bool deleting;
    int16_t source;
    int16_t target;
};

int16_t shifted_id(const LayerShift& shift, int16_t id) {
    if (shift.deleting) return id == shift.source ? kGoneLayer : id > shift.source ? int16_t(id - 1) : id;
    if (id == shift.source) return shift.target;
    if (shift.source < shift.target && id > shift.source && id <= shift.target) return int16_t(id - 1);
    if (shift.source > shift.target && id >= shift.target && id < shift.source) return int16_t(id + 1);
    return id;
}

// Renumbers one record; false when its layer is gone (the record is disposed).
bool follow_record(MemoryRef undo, const LayerShift& shift) {
    UndoRecord fields = read_undo(undo);
    const int16_t id = shifted_id(shift, fields.layer_id);
    if (id == kGoneLayer) {
        dispose_undo_fields(fields);
        DisposeMemory(undo);
        return false;
    }
    fields.layer_id = id;
    write_undo_fields(undo, fields);
    return true;
}

}  // namespace

void follow_layer_in_undo(MemoryRef workbook, bool deleting, int16_t source, int16_t target) {
    const LayerShift shift{deleting, source, target};
    if (MemoryRef redo = exchange_redo(workbook, nullptr))
        if (follow_record(redo, shift)) exchange_redo(workbook, redo);
    MemoryRef list = workbook_undo_list(workbook);
    for (int32_t i = list ? GetMemorySize(list) - 1 : -1; i >= 0; --i) {
        MemoryRef undo = nullptr;
        GetMemoryRecord(list, i, &undo);
        if (!follow_record(undo, shift)) DeleteMemory(list, i, 1);
    }
}

bool hold_undo_blocks(const UndoRecord& fields) {
    std::array<MemoryRef, 9> held{};
    int count = 0;
    MemoryGlobals* globals = &mem_globals;
    for (MemoryRef block : undo_blocks_of(fields))
        if (block) globals = GetMemoryGlobals(block);
    int16_t error = with_failure_handler(globals, [&] {
        for (MemoryRef block : undo_blocks_of(fields)) {
            if (!block) continue;
            UseMemory(block);
            held[count++] = block;
        }
    });
    if (!error) return true;
    for (int i = 0; i < count; ++i) UnuseMemory(held[i]);
    return false;
}

void release_undo_blocks(const UndoRecord& fields) {
    for (MemoryRef block : undo_blocks_of(fields))
        if (block) UnuseMemory(block);
}

int16_t layer_alert(MemoryRef layer, int32_t code) {
    LayerUse sheet(layer);
    MachineRecord* machine = sheet->machine;
    sheet.release();
    return machine && machine->alert ? machine->alert(code) : 0;
}

int16_t workbook_alert(MemoryRef workbook, int32_t code) {
    MachineRecord* machine = MemoryUse<WorkSheet>(workbook)->machine;
    return machine && machine->alert ? machine->alert(code) : 0;
}
