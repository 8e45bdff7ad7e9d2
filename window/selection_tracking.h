// The selection of a layer: setting it, stretching it from the active cell,
// tracking a reference while a formula is typed, and the text of layer
// references with the character tests the entry line uses around it.
#pragma once

#include <cstdint>

#include "core/memory_manager.h"
#include "model/cell_range.h"

// The range spanned by two cells, each corner the smaller and the larger.
CellRange span_of(CellPoint a, CellPoint b);
bool is_single_cell(const CellRange& range);

// Sets the selection: with a range, the range with `cell` (or its top-left)
// active; with only a cell, that cell alone; the highlight redrawn.
void LSelect(CellPoint cell, const CellRange* range, MemoryRef object, int16_t flags, MemoryRef layer);
// The selected range.
void GetSelectRect(CellRange* range, MemoryRef layer);
// Stretches the selection from the active cell to `cell`; `last` is the cell
// tracked before and becomes `cell`.
void SelectIt(CellPoint* last, CellPoint cell, MemoryRef layer);
// The reference being pointed at while a formula is edited: stretched from
// the anchor to `cell` into `output`.
void GhostIt(MemoryRef layer, CellPoint* last, CellPoint cell, CellRange* output, const CellRange* anchor);

// The range an automatic sum in the active cell proposes; false (the range
// the active cell alone) when no numbers lie next to it.
bool AddSumRange(MemoryRef layer, CellRange* range);

// A reference with its layer part ("2:A1", "1:3:A1:B2"); the layers are
// 0-based indexes, negative for none. Answers 1 when a layer part was considered.
int16_t LayerString(unsigned char* text, int16_t first_layer, int16_t last_layer, const bool layer_absolute[2],
                    const CellRange* range, const bool absolute[4], MemoryRef shown_on);

void CharConcat(unsigned char* text, unsigned char c);
bool isexpchar(unsigned char c);
bool isaddopchar(unsigned char c);
bool isOpchar(unsigned char c);
