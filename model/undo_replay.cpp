// Undoing the newest change of a workbook. The redo record is written first;
// every block of the record is brought in before anything changes, and a
// step that fails puts the layer back as it was, keeps the record and says so.
#include "model/undo_replay.h"

#include "core/foundation_services.h"
#include "model/cell_letters.h"
#include "model/cell_store.h"
#include "model/default_font_cells.h"
#include "model/insert_delete.h"
#include "model/model_services.h"
#include "model/move_references.h"
#include "model/named_ranges.h"
#include "model/replay_steps.h"
#include "model/undo_record.h"
#include "model/undo_services.h"
#include "model/workbook.h"

namespace {

constexpr int kEmptyListBeep = 15;

// The record's blocks while they are held in memory.
struct HeldBlocks {
    const UndoRecord fields;
    bool held;
    void release() {
        if (held) release_undo_blocks(fields);
        held = false;
    }
};

// The redo record's fields, completed after the undo has succeeded.
void complete_redo(MemoryRef workbook, UndoRecord* undone, int16_t extent, MemoryRef layer) {
    edit_redo(workbook, [&](UndoRecord& redo) { exchange_format_arrays(extent, undone, &redo, layer); });
}

// The saved cells of range A go back. The layer is unchanged when that fails.
bool undo_cells(MemoryRef workbook, UndoRecord& f, HeldBlocks& held, MemoryRef layer) {
    const CellRange a = f.range_a;
    WriteRedo(f.kind, f.extent, &f.range_a, &f.range_b, nullptr, nullptr, nullptr, nullptr, layer);
    if (put_cells(a, f.first, f.default_font, layer)) return false;
    held.release();
    complete_redo(workbook, &f, f.extent, layer);
    finish_cells(f, layer);
    return true;
}

// A moved block goes back: range B takes its former cells, range A the
// block, and references and names into B return to A.
bool undo_move(UndoRecord& f, MemoryRef layer) {
    const CellRange a = f.range_a, b = f.range_b;
    WriteRedo(f.kind, f.extent, &a, &b, nullptr, nullptr, nullptr, nullptr, layer);
    MemoryRef snapshot = nullptr;
    if (with_failure_handler(GetMemoryGlobals(layer), [&] { snapshot = MemoryDuplicate(GetSpreadSheetCells(layer)); }))
        return false;
    if (put_cells(b, f.second, f.default_font, layer) || put_cells(a, f.first, f.default_font, layer)) {
        replace_cell_store(layer, snapshot);
        return false;
    }
    DisposeMemory(snapshot);
    const CellPoint back{int16_t(a.topLeft.v - b.topLeft.v), int16_t(a.topLeft.h - b.topLeft.h)};
    if (f.formulas) restore_saved_formulas(f.formulas, GetWorkSheet(layer));
    else rewrite_references_into(&b, back, layer, &a);
    MoveRange(&b, CellPoint{int16_t(-back.v), int16_t(-back.h)}, layer);
    model_services.select_layer_cells(a.topLeft, &a, nullptr, 0, layer);
    return true;
}

// The formulas of other layers that referred to the layer as they were; a
// record without them moves their references back the other way.
void refer_back_to_rows_columns(const UndoRecord& f, bool rows, MemoryRef layer) {
    if (f.formulas) {
        restore_saved_formulas(f.formulas, GetWorkSheet(layer));
        return;
    }
    const CellRange& a = f.range_a;
    const int16_t first = rows ? a.topLeft.v : a.topLeft.h;
    const int16_t count = int16_t((rows ? a.botRight.v : a.botRight.h) - first + 1);
    adjust_references(layer, AxisChange{rows, f.kind == kUndoDeleteRowsColumns, first, count});
}

// The whole cell store, the names, the format arrays and the page breaks of
// the layer before the insertion or deletion come back, and so do the
// references of other layers to it.
bool undo_rows_columns(UndoRecord& f, HeldBlocks& held, MemoryRef layer) {
    const CellRange a = f.range_a;
    MemoryRef store = cells_from_default(f.first, f.default_font, layer);
    if (f.first && !store) return false;
    const RangeLetters letters = block_letters(f.first, f.default_font, CellPoint{0, 0}, layer);
    const bool rows = whole_rows(a);
    model_services.select_layer_cells(a.topLeft, &a, nullptr, 0, layer);
    WriteRedo(f.kind, f.extent, &a, nullptr, nullptr, nullptr, nullptr, nullptr, layer);
    held.release();
    refer_back_to_rows_columns(f, rows, layer);
    if (f.first) {
        replace_cell_store(layer, store);
        if (store != f.first) DisposeMemory(f.first);
        f.first = nullptr;
    }
    DisposeNonNilMemory(layer_takes(layer, &SpreadSheet::named_ranges, f.fifth));
    f.fifth = nullptr;
    MemoryRef SpreadSheet::*formats = rows ? &SpreadSheet::row_formats : &SpreadSheet::column_formats;
    MemoryRef& saved = rows ? f.row_formats : f.column_formats;
    DisposeNonNilMemory(layer_takes(layer, formats, saved));
    saved = nullptr;
    MemoryRef SpreadSheet::*breaks = rows ? &SpreadSheet::row_page_breaks : &SpreadSheet::column_page_breaks;
    DisposeNonNilMemory(layer_takes(layer, breaks, f.page_breaks));
    f.page_breaks = nullptr;
    undo_services.put_back_objects(f.second, f.objects, f.id_list, layer);
    f.objects = nullptr;  // the layer's again
    model_services.recompute_page_breaks(layer);
    model_services.check_hot_links(0, a.topLeft, a.botRight, layer);
    redo_layout(layer);
    check_letters_kept(letters, layer, "undo");
    return true;
}

// Kind 14 (rows) or 15 (columns): the format array and the default format.
bool undo_sizes(MemoryRef workbook, UndoRecord& f, HeldBlocks& held, MemoryRef layer) {
    const bool rows = f.kind == kUndoRowHeight;
    WriteRedo(f.kind, f.extent, &f.range_a, nullptr, nullptr, nullptr, nullptr, nullptr, layer);
    held.release();
    complete_redo(workbook, &f, rows ? kExtentRows : kExtentColumns, layer);
    restore_default_formats(f, !rows, rows, layer);
    redo_layout(layer);
    return true;
}

// An object change: the objects come back and the redo record keeps what
// the change made.
bool undo_objects(MemoryRef workbook, UndoRecord& f, MemoryRef layer) {
    WriteRedo(f.kind, 0, &f.range_a, &f.range_b, nullptr, nullptr, nullptr, nullptr, layer);
    UndoRecord made{};
    undo_services.undo_object_change(f, made, layer);
    bool kept = false;
    edit_redo(workbook, [&](UndoRecord& redo) {
        redo.objects = made.objects, redo.id_list = made.id_list, redo.move_list = made.move_list;
        if (f.kind == kUndoChartRange) redo.range_a = made.range_a, redo.range_b = made.range_b;
        kept = true;
    });
    if (!kept) dispose_undo_fields(made);
    return true;
}

bool replay(MemoryRef workbook, UndoRecord& f, HeldBlocks& held, MemoryRef layer) {
    if (keeps_cells(f.kind)) return undo_cells(workbook, f, held, layer);
    switch (f.kind) {
        case kUndoMove:
        case kUndoInsertCells:
        case kUndoDeleteCells: return undo_move(f, layer);
        case kUndoInsertRowsColumns:
        case kUndoDeleteRowsColumns: return undo_rows_columns(f, held, layer);
        case kUndoRowHeight:
        case kUndoColumnWidth: return undo_sizes(workbook, f, held, layer);
        default:
            if (is_object_kind(f.kind)) return undo_objects(workbook, f, layer);
            return true;
    }
}

// Reads the record under a failure handler; false when it cannot come back.
bool read_record(MemoryRef undo, UndoRecord* fields) {
    return with_failure_handler(GetMemoryGlobals(undo), [&] { *fields = read_undo(undo); }) == 0;
}

void drop_newest(MemoryRef workbook, MemoryRef undo, const UndoRecord& fields) {
    remove_newest_undo(workbook);
    dispose_undo_fields(fields);
    DisposeFailedMemory(undo);
}

}  // namespace

void DoUndo(MemoryRef workbook) {
    MemoryRef list = workbook_undo_list(workbook);
    MemoryRef undo = list ? pg_GetMultUndo(list, -1) : nullptr;
    DisposeUndo(exchange_redo(workbook, nullptr));
    if (!undo) {
        foundation_services.sound_beep(kEmptyListBeep);
        return;
    }
    UndoRecord fields{};
    if (!read_record(undo, &fields)) {
        workbook_alert(workbook, kMemoryAlert);
        return;
    }
    MemoryRef layer = find_layer_by_id(workbook, fields.layer_id);
    if (!layer) {
        workbook_alert(workbook, kLayerGoneAlert);
        drop_newest(workbook, undo, fields);
        return;
    }
    HeldBlocks held{fields, hold_undo_blocks(fields)};
    if (!held.held) {
        workbook_alert(workbook, kMemoryAlert);
        return;
    }
    bring_layer_forward(layer, fields.range_a.topLeft);
    count_edit(workbook);
    const bool done = replay(workbook, fields, held, layer);
    held.release();
    if (!done) {
        DisposeUndo(exchange_redo(workbook, nullptr));
        workbook_alert(workbook, kMemoryAlert);
        return;
    }
    drop_newest(workbook, undo, fields);
}
