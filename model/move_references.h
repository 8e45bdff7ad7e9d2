// Rewriting the references of formulas for moved blocks of cells.
#pragma once

#include <cstdint>

#include "core/memory_manager.h"
#include "model/cell_range.h"

// The range moved by delta (rows in v).
CellRange moved_by(const CellRange& range, CellPoint delta);
// Named ranges equal to the block move by the negation of `negated_delta`.
void MoveRange(const CellRange* block, CellPoint negated_delta, MemoryRef layer);
// References into the block from every formula of the workbook follow it by delta.
void ResetAccessRect(const CellRange* block, CellPoint delta, MemoryRef layer);
// References of the formulas of a cell block (carrying the block range's
// numbers) to cells outside the block are shifted by delta (rows in v).
void ResetMoveRect(const CellRange* block, CellPoint delta, MemoryRef cells);
// The same for a block of the layer with the given index: a reference
// qualified with the block's own layer counts as pointing where an
// unqualified one would.
void ResetMoveRect(const CellRange* block, CellPoint delta, MemoryRef cells, int16_t own_layer);
// ResetAccessRect that also leaves alone the moved layer's formulas inside a
// second range (or none).
void rewrite_references_into(const CellRange* block, CellPoint delta, MemoryRef layer, const CellRange* also_skipped);

// The formulas of the workbook that refer to the layer's cells inside either
// area (with no areas: the formulas of the other layers that refer to the
// layer at all), as they are now; formulas of the layer inside the areas are
// left out. Memory failures go to the caller's handler.
MemoryRef save_referring_formulas(MemoryRef layer, const CellRange* area_a, const CellRange* area_b);
// Puts the saved bytes back into the formulas that still stand where they stood.
void restore_saved_formulas(MemoryRef saved, MemoryRef workbook);
