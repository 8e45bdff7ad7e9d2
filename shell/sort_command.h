// The sort command of the Options menu and the sort buttons.
#pragma once

#include <cstdint>

#include "core/memory_manager.h"

// Sorts the layer's selection. Mode 0 asks for the keys (Sort dialog); a
// positive mode sorts ascending and a negative mode descending by the
// selection's first column, without asking.
void Sort(MemoryRef layer, int16_t mode);
