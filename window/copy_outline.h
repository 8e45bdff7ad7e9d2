// The moving outline around cells just copied: it marches at the document
// window's idle until the workbook changes, another range is copied or the
// user presses Escape.
#pragma once

#include "core/memory_manager.h"
#include "model/cell_range.h"

void show_copy_outline(MemoryRef layer, const CellRange& range);
void end_copy_outline();
// One step of the outline when it belongs to the layer; an outline whose
// workbook has changed since the copy ends instead.
void blink_copy_outline(MemoryRef layer);
