// The Edit and Fill menus of the front document window: the dispatch of
// their items, Move Cells with its dialog, and Insert and Delete of cells.
#pragma once

#include <cstdint>

#include "core/memory_manager.h"
#include "model/cell_range.h"

// Checks and starts a move of the layer's selection: a protected workbook is
// refused with its alert. The answer of the move or of the alert.
int16_t move_cells(int16_t dcol, int16_t drow, int16_t confirm, int16_t undo_kind, MemoryRef layer);

// What the text typed as a Move Cells destination names: its leading letters
// the column, the digits after them the row from 1 (anything after is
// ignored). The selection's move follows in `delta`.
enum class MoveTarget { kCell, kNotACell, kOffGrid };
MoveTarget read_move_target(const unsigned char* text, const CellRange& selection, CellPoint* delta);

// Insert or Delete of cells as chosen in their dialog (or at once for whole
// rows and columns): 0 entire rows, 1 entire columns, 2 shift vertically,
// 3 shift horizontally.
enum CellShift : int16_t { kEntireRows = 0, kEntireColumns = 1, kShiftVertically = 2, kShiftHorizontally = 3 };
int16_t insert_or_delete_cells(MemoryRef layer, bool inserting, int16_t choice);
