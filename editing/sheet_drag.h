// Dragging from the selection: its fill handle continues a series into the
// cells dragged over; its border moves (Option: copies) the cells to where
// they are dropped, in the same layer or another.
#pragma once

#include <cstdint>

#include "core/memory_manager.h"
#include "model/cell_range.h"
#include "platform/drag/drag.h"
#include "platform/types.h"
#include "platform/windows/windows.h"
#include "window/sheet_cursor.h"

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

// ---- Drag and drop of cells ----------------------------------------------------

// Drags the selected objects (when there are any; `clicked_object` is the one
// pressed) or else the cell selection from its border: moved within its
// layer (copied with Option), copied to another layer or window. Answers the
// drag's result (kUserCanceledErr when the mouse never moved).
int16_t Sheet_Drag(int16_t pane, MemoryRef clicked_object, MemoryRef layer);
// A document window's drag handlers, installed with the window.
void install_sheet_drag_handlers(pf::WindowRef window);
void remove_sheet_drag_handlers(pf::WindowRef window);
// Whether every item of a drag can be received: each offers text.
bool CanAcceptDrag(pf::DragRef drag);
// The drop's target: the cell under the mouse less the clicked cell's offset
// in the dragged range (each part at least 0), with the dragged range's size.
CellRange drop_target(CellPoint under_mouse, CellPoint offset, const CellRange& dragged);
