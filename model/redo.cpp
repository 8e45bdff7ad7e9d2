// The redo record: the state the last undo replaced, put back by DoRedo,
// which pushes a fresh undo record so that the change can be undone again.
#include "core/foundation_services.h"
#include "model/cell_store.h"
#include "model/insert_delete.h"
#include "model/model_services.h"
#include "model/replay_steps.h"
#include "model/undo_record.h"
#include "model/undo_replay.h"
#include "model/undo_services.h"
#include "model/undo_write.h"
#include "model/workbook.h"

namespace {

constexpr int kCopyFailedBeep = 9;

// A copy of the present cells of a range, or none (with a beep) when memory ran out.
MemoryRef copy_of_cells(const CellRange& range, MemoryRef layer) {
    MemoryRef copy = nullptr;
    if (!CopyCellInfo(range.topLeft, range.botRight, &copy, GetSpreadSheetCells(layer))) foundation_services.sound_beep(kCopyFailedBeep);
    return copy;
}

// Pushes the undo record of a redone change (adopting the blocks); when it
// cannot be made the redo goes on without it.
void push_redone(const UndoRecord& f, MemoryRef cells, MemoryRef columns, MemoryRef rows, MemoryRef layer) {
    if (with_failure_handler(GetMemoryGlobals(layer), [&] {
            WriteMemUndo(f.kind, f.extent, &f.range_a, &f.range_b, cells, nullptr, columns, rows, nullptr, layer);
        })) {
        for (MemoryRef block : {cells, columns, rows}) DisposeNonNilMemory(block);
    }
}

// The cells of range A after the change come back; the present ones go to
// a new undo record. The layer is unchanged when the cells cannot be stored.
bool redo_cells(UndoRecord& f, MemoryRef layer) {
    const CellRange a = f.range_a;
    MemoryRef present = copy_of_cells(a, layer);
    if (put_cells(a, f.first, f.default_font, layer)) {
        DisposeNonNilMemory(present);
        layer_alert(layer, kMemoryAlert);
        return false;
    }
    UndoRecord replaced{};
    exchange_format_arrays(f.extent, &f, &replaced, layer);
    // The new record copies the layer's default formats before they change.
    if (present) push_redone(f, present, replaced.column_formats, replaced.row_formats, layer);
    else for (MemoryRef block : {replaced.column_formats, replaced.row_formats}) DisposeNonNilMemory(block);
    finish_cells(f, layer);
    return true;
}

// Kind 14 (rows) or 15 (columns).
void redo_sizes(UndoRecord& f, MemoryRef layer) {
    const bool rows = f.kind == kUndoRowHeight;
    UndoRecord replaced{};
    exchange_format_arrays(rows ? kExtentRows : kExtentColumns, &f, &replaced, layer);
    push_redone(f, nullptr, replaced.column_formats, replaced.row_formats, layer);
    restore_default_formats(f, !rows, rows, layer);
    redo_layout(layer);
}

// Redoes the change; false when it could not be done (the user has been told).
bool redo(UndoRecord& f, MemoryRef layer) {
    const CellRange a = f.range_a;
    switch (f.kind) {
        case kUndoMove:
        case kUndoInsertCells:
        case kUndoDeleteCells:
            model_services.select_layer_cells(a.topLeft, &a, nullptr, 0, layer);
            return undo_services.move_selected_cells(int16_t(f.range_b.topLeft.h - a.topLeft.h),
                                                     int16_t(f.range_b.topLeft.v - a.topLeft.v), 0, f.kind, layer) == 0;
        case kUndoInsertRowsColumns:
        case kUndoDeleteRowsColumns: {
            model_services.select_layer_cells(a.topLeft, &a, nullptr, 0, layer);
            const int16_t rows = whole_rows(a) ? 1 : 0;
            const int16_t error = f.kind == kUndoInsertRowsColumns ? insert_rowcol(layer, rows) : delete_rowcol(layer, rows);
            if (error && error != kCellsOffGridErr) layer_alert(layer, kMemoryAlert);
            return error == 0;
        }
        case kUndoRowHeight:
        case kUndoColumnWidth: redo_sizes(f, layer); return true;
        default:
            if (keeps_cells(f.kind)) return redo_cells(f, layer);
            if (is_object_kind(f.kind)) undo_services.redo_object_change(f, layer);
            return true;
    }
}

}  // namespace

void WriteRedo(int16_t kind, int16_t extent, const CellRange* range_a, const CellRange* range_b, MemoryRef first,
               MemoryRef, MemoryRef, MemoryRef, MemoryRef layer) {
    if (kind == kUndoNothing) return;
    MemoryRef workbook = GetWorkSheet(layer);
    DisposeUndo(exchange_redo(workbook, nullptr));
    UndoRecord fields = describe_change(kind, extent, range_a, range_b, layer);
    MemoryRef redo = nullptr;
    int16_t error = with_failure_handler(GetMemoryGlobals(layer), [&] {
        redo = new_undo_record(layer);
        if (is_object_kind(kind)) DisposeNonNilMemory(first);
        else if (keeps_cells(kind))
            fields.first = copy_of_cells(fields.range_a, layer);
        write_undo_fields(redo, fields);
    });
    if (error) {
        DisposeNonNilMemory(redo);
        return;
    }
    exchange_redo(workbook, redo);
}

void DoRedo(MemoryRef workbook) {
    MemoryRef redo_record = workbook_redo(workbook);
    if (!redo_record) return;
    UndoRecord fields{};
    if (with_failure_handler(GetMemoryGlobals(redo_record), [&] { fields = read_undo(redo_record); })) {
        workbook_alert(workbook, kMemoryAlert);
        return;
    }
    MemoryRef layer = find_layer_by_id(workbook, fields.layer_id);
    if (!layer) {
        workbook_alert(workbook, kLayerGoneAlert);
        DisposeUndo(exchange_redo(workbook, nullptr));
        return;
    }
    if (!hold_undo_blocks(fields)) {
        workbook_alert(workbook, kMemoryAlert);
        return;
    }
    // Out of the slot while the change is redone: the undo record it pushes
    // would discard it.
    exchange_redo(workbook, nullptr);
    bring_layer_forward(layer, fields.range_a.topLeft);
    const UndoRecord held = fields;
    const bool done = redo(fields, layer);
    release_undo_blocks(held);
    if (!done) {
        exchange_redo(workbook, redo_record);
        return;
    }
    dispose_undo_fields(fields);
    DisposeFailedMemory(redo_record);
}
