// Commands on the selected drawing objects.
#pragma once

#include <cstdint>

#include "core/memory_manager.h"

// Takes the selected objects out of the layer with an undo record that keeps
// them and the former object order (kind 23); answers how many went.
int32_t delete_selected_objects(MemoryRef layer);
// Undo of a clear or cut of objects: the kept chain comes back in the saved order.
void undo_removed_objects(MemoryRef* chain, MemoryRef ids, MemoryRef layer);
