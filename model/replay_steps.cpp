// Steps that undo and redo share.
#include "model/replay_steps.h"

#include <cstring>

#include "model/cell_letters.h"
#include "model/cell_store.h"
#include "model/default_font_cells.h"
#include "model/layer_use.h"
#include "model/model_services.h"
#include "model/undo_services.h"

void bring_layer_forward(MemoryRef layer, CellPoint start) {
    SetSheetFlags(layer, GetSheetFlags(layer) | kLayerFormatStale);
    clobberCache(layer);
    undo_services.show_layer_window(layer);
    model_services.restart_calculation(start, GetSheetWind(layer));
}

int16_t put_cells(const CellRange& range, MemoryRef block, int16_t default_font, MemoryRef layer) {
    MemoryRef kept = cells_from_default(block, default_font, layer);
    if (block && !kept) return kNoMemoryErr;
    model_services.select_layer_cells(range.topLeft, &range, nullptr, 0, layer);
    if (block) {
        const RangeLetters letters = block_letters(block, default_font, CellPoint{0, 0}, layer);
        const int16_t error = InputData(range.topLeft, range.botRight, kept, layer);
        if (kept != block) DisposeMemory(kept);
        if (!error) check_letters_kept(letters, layer, "undo");
        return error;
    }
    clobberCache(layer);
    Clear_Cells(&range, GetSpreadSheetCells(layer));
    model_services.invalidate_cells(&range, layer);
    return 0;
}

MemoryRef layer_takes(MemoryRef layer, MemoryRef SpreadSheet::*field, MemoryRef block) {
    LayerUse sheet(layer);
    MemoryRef held = sheet->*field;
    sheet->*field = block;
    if (block) SetMemoryRefID(block, sheet->memory_id);
    return held;
}

void replace_cell_store(MemoryRef layer, MemoryRef store) {
    clobberCache(layer);
    SetMemoryPurge(store, kNeverPurge, false);
    DisposeNonNilMemory(layer_takes(layer, &SpreadSheet::cells, store));
}

void restore_default_formats(const UndoRecord& fields, bool columns, bool rows, MemoryRef layer) {
    LayerUse sheet(layer);
    if (columns) std::memcpy(sheet->default_column_format, fields.default_column_format, kCellFormatSize);
    if (rows) std::memcpy(sheet->default_row_format, fields.default_row_format, kRowFormatSize);
}

void exchange_format_arrays(int16_t extent, UndoRecord* saved, UndoRecord* replaced, MemoryRef layer) {
    if (saves_column_formats(extent)) {
        MemoryRef present = layer_takes(layer, &SpreadSheet::column_formats, saved->column_formats);
        saved->column_formats = nullptr;
        replaced->column_formats = present;
    }
    if (saves_row_formats(extent)) {
        MemoryRef present = layer_takes(layer, &SpreadSheet::row_formats, saved->row_formats);
        saved->row_formats = nullptr;
        replaced->row_formats = present;
    }
}

void redo_layout(MemoryRef layer) {
    model_services.reset_positions(layer);
    resize_sheet(layer, 1);
}

void finish_cells(const UndoRecord& fields, MemoryRef layer) {
    const bool formats_only = fields.kind == kUndoTableFormat || fields.kind == kUndoFont;
    restore_default_formats(fields, true, true, layer);
    if (fields.extent != kExtentRange || formats_only) redo_layout(layer);
}

