// The private clipboard: its record, emptying it, and the Cut, Copy and
// Clear commands for cells. Every change pushes its undo record before the
// layer changes, so a refused record leaves the cells where they were.
#include "editing/clipboard.h"

#include <cstring>
#include <string>

#include "core/memory_use.h"
#include "ui/task_manager.h"
#include "editing/undo.h"
#include "model/undo_record.h"
#include "files/link_lists.h"
#include "formula/recalc.h"
#include "model/cell_format.h"
#include "model/cell_formats.h"
#include "model/cell_record.h"
#include "model/cell_store.h"
#include "model/format_commands.h"
#include "model/layer.h"
#include "model/layer_use.h"
#include "model/workbook.h"
#include "objects/object_clipboard.h"
#include "objects/object_records.h"
#include "platform/scrap/scrap.h"
#include "window/doc_window.h"
#include "window/selection_tracking.h"

namespace {

constexpr int16_t kNoUndoAlert = 3;
constexpr int16_t kGoOnWithoutUndo = 1;

}  // namespace

bool spans_rows(const CellRange& range) { return !whole_columns(range) && whole_rows(range); }

ClipLinks clipboard_links() {
    ClipRecord clip = read_clip();
    return ClipLinks{clip.kind == kClipCells ? clip.cells : nullptr, clip.range, clip.links};
}

bool has_locked_cell(const CellRange& range, MemoryRef layer) { return check_protected(&range, layer) != 0; }

int16_t refuse_protected_change(MemoryRef layer, const CellRange& range) {
    if (check_access(layer)) return refuse_with_alert(layer, kEditLockedWorkbook);
    if (has_locked_cell(range, layer)) return refuse_with_alert(layer, kEditLockedCells);
    return kEditDone;
}

void SavedFormats::dispose() {
    DisposeNonNilMemory(columns);
    DisposeNonNilMemory(rows);
    columns = rows = nullptr;
}

void save_formats(const CellRange& range, MemoryRef layer, SavedFormats* saved) {
    if (whole_columns(range)) {
        saved->extent = kExtentColumns;
        saved->columns = DuplicateNonNilMemory(GetSpreadSheetColumnFormats(layer));
    } else if (spans_rows(range)) {
        saved->extent = kExtentRows;
        saved->rows = DuplicateNonNilMemory(GetSpreadSheetRowFormats(layer));
    }
}

namespace {

// Holds back the memory reserve while a command runs.
struct ReserveHeld {
    ReserveHeld() { SetTaskMemAllocation(0); }
    ~ReserveHeld() { SetTaskMemAllocation(1); }
};

// Removes the column (row) format records of a range of whole columns (rows).
void delete_range_formats(const CellRange& range, MemoryRef layer) {
    if (whole_columns(range)) {
        MemoryRef formats = GetSpreadSheetColumnFormats(layer);
        DeleteColumnFormat(range.topLeft.h, range.botRight.h, &formats);
        SetSpreadSheetColumnFormats(layer, formats);
    } else if (spans_rows(range)) {
        MemoryRef formats = GetSpreadSheetRowFormats(layer);
        DeleteRowFormat(range.topLeft.v, range.botRight.v, &formats);
        SetSpreadSheetRowFormats(layer, formats);
    }
}

MemoryRef copy_range_formats(const CellRange& range, MemoryRef layer) {
    if (whole_columns(range))
        return CopyColumnFormat(range.topLeft.h, range.botRight.h, GetSpreadSheetColumnFormats(layer));
    if (spans_rows(range)) return CopyRowFormat(range.topLeft.v, range.botRight.v, GetSpreadSheetRowFormats(layer));
    return nullptr;
}

// The cut part of Cut: the record of the cells first, then the cells go.
int16_t cut_cells(MemoryRef layer, const CellRange& range, MemoryRef copied, SavedFormats& saved) {
    MemoryRef former = nullptr;
    int16_t error = with_failure_handler(GetMemoryGlobals(layer), [&] {
        former = MemoryDuplicate(copied);
        WriteMemUndo(kUndoCut, saved.extent, &range, nullptr, former, nullptr, saved.columns, saved.rows, nullptr,
                     layer);
    });
    if (error) {
        DisposeNonNilMemory(former);
        saved.dispose();
        return refuse_with_alert(layer, kEditNoMemory);
    }
    clobberCache(layer);
    Clear_Cells(&range, GetSpreadSheetCells(layer));
    delete_range_formats(range, layer);
    DrawCells(&range, layer);
    return kEditDone;
}

}  // namespace

int16_t copy_range(MemoryRef layer, const CellRange& range, bool cut) {
    if (cut && check_access(layer)) return refuse_with_alert(layer, kEditLockedWorkbook);
    if (cut && has_locked_cell(range, layer)) return refuse_with_alert(layer, kEditLockedCells);
    ReserveHeld reserve;
    SavedFormats saved;
    MemoryRef links = nullptr, copied = nullptr, formats = nullptr;
    int16_t error = with_failure_handler(GetMemoryGlobals(layer), [&] {
        save_formats(range, layer, &saved);
        links = DuplicateNonNilMemory(GetSheetLinks(layer));
    });
    if (!error && !CopyCellInfo(range.topLeft, range.botRight, &copied, GetSpreadSheetCells(layer))) error = 1;
    if (!error) error = with_failure_handler(GetMemoryGlobals(layer), [&] { formats = copy_range_formats(range, layer); });
    if (error) {
        for (MemoryRef block : {links, copied, formats}) DisposeNonNilMemory(block);
        saved.dispose();
        return refuse_with_alert(layer, kEditNoMemory);
    }
    if (GetByteSize(copied) == 0) {
        for (MemoryRef block : {links, copied, formats}) DisposeNonNilMemory(block);
        saved.dispose();
        return kEditNothing;
    }
    ClobberScrap(1);
    ClipRecord clip{};
    clip.kind = kClipCells;
    clip.range = range;
    clip.export_pending = 1;
    clip.cells = copied;
    clip.links = links;
    clip.formats = formats;
    clip.dates_1900 = Get_1900Date_Flag(GetWorkSheet(layer));
    clip.default_font = Get_Default_Font(layer);
    write_clip(clip);
    if (!cut) {
        saved.dispose();
        return kEditDone;
    }
    return cut_cells(layer, range, copied, saved);
}

int16_t Cut_Copy_Clear(MemoryRef layer, int16_t remove, int16_t to_clipboard) {
    if (get_selected_object(layer, 1)) return cut_copy_objects(layer, remove, to_clipboard);
    LayerUse sheet(layer);
    CellRange selection = sheet->selection;
    sheet.release();
    return copy_range(layer, selection, remove != 0);
}

int16_t edit_cut_copy(MemoryRef layer, bool cut) {
    const int16_t answer = Cut_Copy_Clear(layer, cut ? 1 : 0, 1);
    if (answer == kEditDone) PutToScrap(1);
    return answer;
}

// ---- Clear ---------------------------------------------------------------------

namespace {

// The undo record of a clear, or the user's leave to go on without one.
bool record_clear(MemoryRef layer, const CellRange& range, MemoryRef cells) {
    SavedFormats saved;
    if (with_failure_handler(GetMemoryGlobals(layer), [&] { save_formats(range, layer, &saved); })) {
        saved.dispose();
        saved = SavedFormats{};
    }
    const int16_t pushed = WriteUndo(kUndoClear, saved.extent, &range, nullptr, cells, nullptr, saved.columns,
                                     saved.rows, nullptr, nullptr, layer);
    saved.dispose();
    if (pushed) return true;
    if (layer_alert(layer, kNoUndoAlert) != kGoOnWithoutUndo) return false;
    MemoryRef workbook = GetWorkSheet(layer);
    ClobberMultUndo(workbook_undo_list(workbook));
    if (MemoryRef redo = exchange_redo(workbook, nullptr)) DisposeUndo(redo);
    return true;
}

}  // namespace

int16_t clear_range(MemoryRef layer, const CellRange& range, int16_t mode) {
    if (int16_t refusal = refuse_protected_change(layer, range)) return refusal;
    MemoryRef cells = nullptr;
    if (!CopyCellInfo(range.topLeft, range.botRight, &cells, GetSpreadSheetCells(layer)))
        return refuse_with_alert(layer, kEditNoMemory);
    if (!record_clear(layer, range, cells)) {
        DisposeMemory(cells);
        return kEditCancelled;
    }
    int16_t error = 0;
    if (mode == kClearAll) {
        clobberCache(layer);
        Clear_Cells(&range, GetSpreadSheetCells(layer));
    } else {
        LSelect(range.topLeft, &range, nullptr, 0, layer);
        error = mode == kClearFormats ? ClearCellFormat(cells, layer) : ClearFormulas(cells, layer);
    }
    DisposeMemory(cells);
    if (error) return refuse_with_alert(layer, kEditNoMemory);
    if (mode != kClearContents) delete_range_formats(range, layer);
    DrawCells(&range, layer);
    ResetCalc(range.topLeft, GetSheetWind(layer));
    return kEditDone;
}

int16_t Do_Clear(int16_t ask, MemoryRef layer) {
    if (get_selected_object(layer, 1)) return cut_copy_objects(layer, 1, 0);
    LayerUse sheet(layer);
    CellRange selection = sheet->selection;
    sheet.release();
    int16_t mode = kClearContents;
    if (ask && !ask_clear_mode(&mode)) return kEditCancelled;
    return clear_range(layer, selection, mode);
}
