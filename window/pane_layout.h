// The pane rectangles of a layer's window (the layout is described with the
// document window, window/doc_window.h).
#pragma once

#include <cstdint>

#include "core/memory_manager.h"

// Recomputes the pane rectangles (non-zero when they changed).
int16_t SetActiveRects(MemoryRef layer);
