// Services of the drawing objects that the core runtime calls.
#pragma once

#include <cstdint>

#include "core/memory_manager.h"

void DoObjectMenu(MemoryRef window_record, int16_t item);
