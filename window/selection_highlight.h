// The highlight of the selection and the frame of the active cell.
#pragma once

#include "core/memory_manager.h"

// Draws or removes (the same call, in inverting mode) the active cell's frame.
void FrameCells(MemoryRef layer);
