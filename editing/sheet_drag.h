// Dragging from the selection: its fill handle continues a series into the
// cells dragged over; its border moves (Option: copies) the cells to where
// they are dropped, in the same layer or another.
#pragma once

#include <cstdint>

#include "core/memory_manager.h"
#include "model/cell_range.h"
#include "platform/types.h"

// Answers of pt_in_drag.
constexpr int16_t kOnFillHandle = 140;
constexpr int16_t kOnSelectionBorder = 142;

// What a pane's point is on: the fill handle, the selection's border (only
// while drag and drop is on), or 0 (also while drawing objects are selected).
int16_t pt_in_drag(pf::Point where, int16_t pane, MemoryRef layer);

// A fill-handle drag: the direction is chosen by the first cell outside the
// selection and kept until the pointer comes back inside it.
enum class FillDirection : int16_t { kNone, kVertical, kHorizontal };
struct FillHandleTrack {
    CellRange selection;
    FillDirection direction;
};
// The cell the dragged range stretches to for the cell under the pointer.
CellPoint fill_handle_cell(FillHandleTrack& track, CellPoint cell);
// Tracks the fill handle while the button is down, then fills the dragged
// range by an automatic series (a protected workbook: the locked alert).
void drag_fill_handle(MemoryRef layer, int16_t pane);
