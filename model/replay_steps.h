// Steps that undo and redo share: bringing the changed layer forward,
// storing a block of cells, and handing blocks between a layer and a record.
#pragma once

#include <cstdint>

#include "core/memory_manager.h"
#include "model/undo_record.h"
#include "model/cell_range.h"
#include "model/layer.h"

// Marks the layer's selection format stale, drops its row cache, gives it a
// window in front and restarts the recalculation at `start`.
void bring_layer_forward(MemoryRef layer, CellPoint start);
// Selects the range and stores the block there (a range of the block's own
// numbers), or empties the range when there is no block; 0 or an error code.
// The block's cells keep the letters they had when their default font stood
// for `default_font` (cell_from_default).
int16_t put_cells(const CellRange& range, MemoryRef block, int16_t default_font, MemoryRef layer);
// The layer takes the block in one of its fields and answers the one it held.
MemoryRef layer_takes(MemoryRef layer, MemoryRef SpreadSheet::*field, MemoryRef block);
// The layer's cell store becomes the block (kept in memory, as every store
// is); the store it replaces is disposed.
void replace_cell_store(MemoryRef layer, MemoryRef store);
// The layer's default column and row formats, from or into a record.
void restore_default_formats(const UndoRecord& fields, bool columns, bool rows, MemoryRef layer);
// The format arrays a record saved go back to the layer; the layer's present
// arrays go to `replaced` (which may be the record's own fields).
void exchange_format_arrays(int16_t extent, UndoRecord* saved, UndoRecord* replaced, MemoryRef layer);
// Object positions and the window layout after sizes changed.
void redo_layout(MemoryRef layer);
// After the cells of a record went back: the default formats come back too
// (a font or table format over the whole layer changed them), and the layout
// is redone when format arrays moved (always for table format and font).
void finish_cells(const UndoRecord& fields, MemoryRef layer);
// Runs an edit of the redo record in the workbook's slot.
template <typename Edit>
void edit_redo(MemoryRef workbook, Edit&& edit) {
    MemoryRef redo = workbook_redo(workbook);
    if (!redo) return;
    UndoRecord fields = read_undo(redo);
    edit(fields);
    write_undo_fields(redo, fields);
}
