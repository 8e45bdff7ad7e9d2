// Writing undo records of the changes to a workbook's layers.
#pragma once

#include <cstdint>

#include "core/memory_manager.h"
#include "model/cell_range.h"

// Pushes a record holding copies of the given blocks (the caller keeps its
// own); 1 when pushed, 0 when memory ran out (nothing changed).
int16_t WriteUndo(int16_t kind, int16_t extent, const CellRange* range_a, const CellRange* range_b, MemoryRef first,
                  MemoryRef second, MemoryRef column_formats, MemoryRef row_formats, MemoryRef objects,
                  MemoryRef fifth, MemoryRef layer);
// The undo record of a change; the record takes over the five blocks.
int16_t WriteMemUndo(int16_t kind, int16_t sub_kind, const CellRange* range_a, const CellRange* range_b, MemoryRef block1,
                     MemoryRef block2, MemoryRef block3, MemoryRef block4, MemoryRef block5, MemoryRef layer);
// The layer's newest record, a change of its cells, takes the row formats as
// they were before the change (the block is adopted), so that undoing it puts
// back the row heights the change led to as well. False (the block still the
// caller's) when the newest record is not such a change or saved them already.
bool newest_undo_keeps_row_formats(MemoryRef layer, MemoryRef row_formats);
