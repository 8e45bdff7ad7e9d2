// Writing undo records: WriteUndo copies what it is given, WriteMemUndo
// adopts the blocks its caller has just made.
#include "model/undo_write.h"

#include <initializer_list>

#include "model/cell_store.h"
#include "model/layer.h"
#include "model/layer_use.h"
#include "model/model_services.h"
#include "model/move_references.h"
#include "model/undo_record.h"
#include "model/undo_services.h"
#include "model/workbook.h"

namespace {

void mark_format_stale(MemoryRef layer) { SetSheetFlags(layer, GetSheetFlags(layer) | kLayerFormatStale); }

void restart_recalculation(const UndoRecord& fields, MemoryRef layer) {
    clobberCache(layer);
    model_services.restart_calculation(fields.range_a.topLeft, GetSheetWind(layer));
}

bool changes_rows_or_columns(int16_t kind) { return kind == kUndoInsertRowsColumns || kind == kUndoDeleteRowsColumns; }

// The formulas elsewhere that the change may rewrite: those referring into
// the source or destination of a move, and those of other layers referring
// to a layer whose rows or columns are inserted or deleted.
MemoryRef save_formulas(const UndoRecord& fields, MemoryRef layer) {
    if (is_move_kind(fields.kind)) return save_referring_formulas(layer, &fields.range_a, &fields.range_b);
    if (changes_rows_or_columns(fields.kind)) return save_referring_formulas(layer, nullptr, nullptr);
    return nullptr;
}

// The manual page breaks that an insertion or deletion of rows (columns) moves.
MemoryRef save_page_breaks(const UndoRecord& fields, MemoryRef layer) {
    if (!changes_rows_or_columns(fields.kind)) return nullptr;
    LayerUse sheet(layer);
    MemoryRef breaks = whole_rows(fields.range_a) ? sheet->row_page_breaks : sheet->column_page_breaks;
    sheet.release();
    return DuplicateNonNilMemory(breaks);
}

}  // namespace

int16_t WriteUndo(int16_t kind, int16_t extent, const CellRange* range_a, const CellRange* range_b, MemoryRef first,
                  MemoryRef second, MemoryRef column_formats, MemoryRef row_formats, MemoryRef objects,
                  MemoryRef fifth, MemoryRef layer) {
    mark_format_stale(layer);
    if (kind == kUndoNothing) return 1;
    UndoRecord fields = describe_change(kind, extent, range_a, range_b, layer);
    MemoryRef undo = nullptr;
    int16_t error = with_failure_handler(GetMemoryGlobals(layer), [&] {
        undo = new_undo_record(layer);
        if (is_object_kind(kind)) {
            undo_services.keep_object_change(&fields, first, objects, layer);
        } else {
            fields.first = DuplicateNonNilMemory(first);
            fields.second = DuplicateNonNilMemory(second);
            fields.column_formats = DuplicateNonNilMemory(column_formats);
            fields.row_formats = DuplicateNonNilMemory(row_formats);
            fields.fifth = DuplicateNonNilMemory(fifth);
            restart_recalculation(fields, layer);
        }
        write_undo_fields(undo, fields);
        push_undo(undo, layer);
    });
    if (!error) return 1;
    if (!is_object_kind(kind)) {
        for (MemoryRef copy : {fields.first, fields.second, fields.column_formats, fields.row_formats, fields.fifth})
            DisposeNonNilMemory(copy);
    }
    DisposeNonNilMemory(undo);
    return 0;
}

int16_t WriteMemUndo(int16_t kind, int16_t extent, const CellRange* range_a, const CellRange* range_b,
                     MemoryRef first, MemoryRef second, MemoryRef column_formats, MemoryRef row_formats,
                     MemoryRef fifth, MemoryRef layer) {
    mark_format_stale(layer);
    UndoRecord fields = describe_change(kind, extent, range_a, range_b, layer);
    fields.first = first;
    fields.second = second;
    fields.column_formats = column_formats;
    fields.row_formats = row_formats;
    fields.fifth = fifth;
    // A failure reaches the caller's handler with the blocks still the
    // caller's: only what is made here is let go.
    MemoryGlobals* globals = GetMemoryGlobals(layer);
    MemoryRef undo = nullptr;
    int16_t error = with_failure_handler(globals, [&] {
        undo = new_undo_record(layer);
        fields.formulas = save_formulas(fields, layer);
        fields.page_breaks = save_page_breaks(fields, layer);
        write_undo_fields(undo, fields);
        push_undo(undo, layer);
    });
    if (error) {
        DisposeNonNilMemory(fields.page_breaks);
        DisposeNonNilMemory(fields.formulas);
        DisposeNonNilMemory(undo);
        msFailure(globals, error, nullptr);
        return 0;
    }
    restart_recalculation(fields, layer);
    return 1;
}

bool newest_undo_keeps_row_formats(MemoryRef layer, MemoryRef row_formats) {
    MemoryRef list = workbook_undo_list(GetWorkSheet(layer));
    MemoryRef undo = list ? pg_GetMultUndo(list, -1) : nullptr;
    if (!undo) return false;
    UndoRecord fields = read_undo(undo);
    if (fields.layer_id != GetSheetID(layer) || !keeps_cells(fields.kind) || saves_row_formats(fields.extent))
        return false;
    fields.extent = fields.extent == kExtentColumns ? kExtentBoth : kExtentRows;
    fields.row_formats = row_formats;
    write_undo_fields(undo, fields);
    return true;
}
