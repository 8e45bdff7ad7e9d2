// Floating palette windows of the commands: where a palette goes when its
// saved place is off the screen, the box a click chooses, and the front
// document's pending drawing tool.
#pragma once

#include "ui/task_manager.h"

// The box chosen by a click tracked over a palette of that many rows; 0 when
// released outside the boxes, or when no document window is open.
int16_t chosen_palette_item(WindowRef palette, int16_t rows);

// The saved place of a palette kept when it lies on a screen; otherwise the
// palette goes to `top` (or below the command bar when that reaches further
// down) at the main screen's left edge, or near the top-left corner when that
// is off the screen too.
void place_palette(int position_index, int16_t top);
// Disarms the front document's pending drawing tool.
void disarm_pending_tool();
