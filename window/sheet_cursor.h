// The cursor over a document window, chosen by what lies under the pointer,
// and the idle work of a text box being typed in.
#pragma once

#include <cstdint>

#include "core/memory_manager.h"
#include "platform/types.h"
#include "resource_ids.h"

// Over the selection: its fill handle, its border (where a drag starts).
constexpr int16_t kOnFillHandle = kFillHandleCursor;
constexpr int16_t kOnSelectionBorder = kMoveCursor;
// The answer of doc_window_cursor while a recalculation runs: the calculation cycle.
constexpr int16_t kCalcSpinCursor = -1;

// The layer's own cursor at a point of its window (local): a cursor id, 1
// the text cursor, 0 when the layer has none there and the window decides.
int16_t SheetCursor(MemoryRef layer, pf::Point where);
// The cursor of a document window at a point of it (local): the in-cell
// editor's text cursor, the layer's cursor, else the window's own (split
// boxes, an armed tool, the calculation's state), else the arrow.
int16_t doc_window_cursor(MemoryRef record, pf::Point where);
// Idle work of the layer's text box under edit: its view kept inside the box
// as shown in its pane, its caret blinking.
void SheetIdle(MemoryRef layer);
