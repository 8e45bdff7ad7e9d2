// Rewriting references for moved blocks of cells, beyond the forms the
// commands' callers use.
#pragma once

#include <cstdint>

#include "core/memory_manager.h"
#include "model/cell_range.h"

// ResetMoveRect for a block of the layer with the given index: a reference
// qualified with the block's own layer counts as pointing where an
// unqualified one would.
void ResetMoveRect(const CellRange* block, CellPoint delta, MemoryRef cells, int16_t own_layer);
// ResetAccessRect that also leaves alone the moved layer's formulas inside a
// second range (or none).
void rewrite_references_into(const CellRange* block, CellPoint delta, MemoryRef layer, const CellRange* also_skipped);
