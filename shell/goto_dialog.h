// The Go To dialog: a reference or range name typed, checked against the
// front layer, and whether the range is to be selected as well.
#pragma once

#include "core/memory_manager.h"
#include "model/cell_range.h"

// 1 with the range and the select flag after OK; 0 after Cancel. A text that
// is no reference or name of the layer, lies off the grid or is too long is
// refused with a message and the dialog stays open.
int16_t goto_dialog(MemoryRef layer, CellRange* range, bool* select);

// The Options menu's Go To: the range shown, and selected when asked; else
// its first cell becomes the active cell.
void go_to_command(MemoryRef layer);
// The dialog offering `range`; after OK the chosen range (in `range`) is shown
// and selected or made active as go_to_command does. False after Cancel.
bool go_to_asked(MemoryRef layer, CellRange* range);

// Why a reference text is refused: 0 when it is good.
enum class GotoRefusal : int16_t { kNone = 0, kNotAReference = 1, kOffTheGrid = 2, kTooLong = 3 };
GotoRefusal check_goto_text(const unsigned char* text, MemoryRef layer, CellRange* range);
// The stop alert that says why.
void say_goto_refusal(GotoRefusal why);
