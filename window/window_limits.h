// The limit rectangle (global): the screen area left free for document
// windows by the menu bar, the command bar, a palette column at the left,
// palettes against the right edge and the sheet-tab bar; a window above it is
// moved down to it; a window's standard (zoomed) state is set from it.
#pragma once

#include "platform/draw/draw.h"
#include "ui/task_manager.h"

void GetLimitRect(pf::Rect* rect);
void CheckLimitRect(WindowRef window);
void zoom_out(WindowRef window);
