// Link lists of saved and pasted cells: links that no formula uses are
// dropped before a document is written, and the links carried by pasted cells
// are merged into the target layer's list.
#pragma once

#include <cstdint>

#include "core/memory_manager.h"
#include "model/cell_range.h"

// Walks every formula cell of a cell block inside the range; each link token
// with `old_id` (when not negative) is rewritten to `new_id` when they differ.
// Non-zero when some formula in the range refers to `old_id`.
int16_t GetFileLinkInfo(int16_t old_id, int16_t new_id, CellPoint top_left, CellPoint bottom_right,
                        MemoryRef cells);

// Drops unused and duplicate links of every layer of the workbook.
void CleanFileData(MemoryRef workbook);

// The copied cells, their range and the links their formulas use.
struct ClipLinks {
    MemoryRef cells;
    CellRange range;
    MemoryRef links;
};

// Merges the clipboard's links into the layer that receives its cells.
void resolve_linkID(MemoryRef layer);
void merge_clip_links(const ClipLinks& clip, MemoryRef layer);
