// Point mode: while a formula is typed, arrow keys (and clicks, in the sheet's
// mouse handling) move or stretch a blinking reference and write it into the
// entry line.
#pragma once

#include <cstdint>

#include "core/memory_manager.h"
#include "model/cell_range.h"

CellRange CelltoRect(CellPoint cell);
// The same without showing it, with the modifiers given.
void step_reference(CellPoint* cell, unsigned char key, bool shift, CellRange* reference);
// Keyboard point mode from `key` (an arrow, or 0 to start with the range
// unmoved); 0 when the entry takes no reference (nothing done). While point
// mode lasts, each arrow moves the reference written by the one before and
// replaces its text; another key, a click or the end of the entry ends it.
int16_t FakeMouse(unsigned char key, CellPoint top_left, CellPoint bottom_right, MemoryRef layer);
// A range fed to the reference being pointed out in the formula of the
// record's layer.
void FakeMouse(MemoryRef record, const CellRange* range);
int16_t point_mode_key(unsigned char key, uint16_t modifiers, CellPoint top_left, CellPoint bottom_right,
                       MemoryRef layer);
bool point_mode_live();
void end_point_mode();
// While keyboard point mode lasts in the layer, its reference marches one
// step (the document window's idle calls it, as the point-mode loop would).
void blink_point_reference(MemoryRef layer);
