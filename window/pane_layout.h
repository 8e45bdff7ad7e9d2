// The pane rectangles of a layer's window (the layout is described with the
// document window, window/doc_window.h).
#pragma once

#include <cstdint>

#include "core/memory_manager.h"
#include "platform/types.h"

struct SpreadSheet;

// Recomputes the pane rectangles (non-zero when they changed).
int16_t SetActiveRects(MemoryRef layer);

// Whether a pane is in use (the second and third only while the window is
// split), with its rectangle in `rect`.
bool pane_in_use(MemoryRef layer, int16_t pane, pf::Rect* rect);
bool pane_in_use(const SpreadSheet* sheet, int pane);
