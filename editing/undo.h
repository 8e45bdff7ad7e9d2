// Undo and redo of the changes to a workbook's layers, and moving blocks of
// cells with every reference that points into them.
#pragma once

#include <cstdint>

#include "core/memory_manager.h"
#include "model/cell_range.h"
#include "model/move_references.h"
#include "model/undo_replay.h"
#include "model/undo_write.h"
#include "resource_ids.h"

// The Undo and Redo item texts: non-zero when there is something to undo
// (redo), with the item of their string lists that names it.
int16_t get_undo_verb(MemoryRef window_record, int16_t* index);
int16_t get_redo_verb(MemoryRef window_record, int16_t* index);
// The same for a workbook, with no text being edited.
int16_t workbook_undo_verb(MemoryRef workbook, int16_t* index);
int16_t workbook_redo_verb(MemoryRef workbook, int16_t* index);
// Sets the texts and the enabled state of the Edit menu's Undo and Redo items.
void set_undo(MemoryRef window_record);
// The editing commands' own messages (kEditingStrings).
constexpr int kMoveOffGridItem = 1;

constexpr int16_t kTextEditorUndoItem = 40;
constexpr int16_t kNothingToUndoItem = 41;

// Moving blocks of cells. Answer of MoveSheetCells when the destination
// would reach past the last row or column (the user has been told).
constexpr int16_t kMoveOffGridErr = 524;
// Moves the layer's selection by drow rows and dcol columns: 0, or the answer
// of the alert that refused or ended the move (nothing changed then).
int16_t MoveSheetCells(int16_t dcol, int16_t drow, int16_t confirm, int16_t undo_kind, MemoryRef layer);
// Tells the user that cells cannot be moved or dropped past the grid.
void refuse_move_off_grid();
