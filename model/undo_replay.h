// Undo and redo of the changes to a workbook's layers.
#pragma once

#include <cstdint>

#include "core/memory_manager.h"
#include "model/cell_range.h"

// Undoes the newest record of the workbook, saving what it replaces for redo.
void DoUndo(MemoryRef workbook);
// The redo record of the state an undo is about to replace.
void WriteRedo(int16_t kind, int16_t extent, const CellRange* range_a, const CellRange* range_b, MemoryRef first,
               MemoryRef second, MemoryRef third, MemoryRef fourth, MemoryRef layer);
// Puts back what the last undo replaced, pushing a fresh undo record.
void DoRedo(MemoryRef workbook);
