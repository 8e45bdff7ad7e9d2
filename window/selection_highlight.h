// The highlight of the selection and the frame of the active cell.
#pragma once

#include "core/memory_manager.h"
#include "model/cell_range.h"

// Inverts the selection highlight of every shown pane of the layer.
void InvertCells(MemoryRef layer);
// Draws or removes (the same call, in inverting mode) the active cell's frame.
void FrameCells(MemoryRef layer);
// Blinks the frame of a range once (drawn and removed, the screen as before).
void AntRect(MemoryRef layer, CellPoint top_left, CellPoint bottom_right);
// How long a blinking outline stays drawn from `start` (ticks): a few ticks,
// cut short by any waiting event.
void ant_pause(uint32_t start);
// The highlight of one pane; the block figure of a range; the active-cell mark.
void Do_Invert(MemoryRef layer, int16_t pane);
void invert_cell_block(MemoryRef layer, int16_t pane, const CellRange& range);
void FrameSelectCell(MemoryRef layer, int16_t pane, const CellRange& range);
