// Commands on the selected drawing objects.
#pragma once

#include <cstdint>
#include <vector>

#include "core/memory_manager.h"

// Selects every object of the layer.
void select_all_objects(MemoryRef layer);
// The layer's selected objects, in selection order.
std::vector<MemoryRef> selected_objects(MemoryRef layer);
// Takes the selected objects out of the layer with an undo record that keeps
// them and the former object order (kind 23); answers how many went.
int32_t delete_selected_objects(MemoryRef layer);
// Records the placements of the selected objects before a move (kind 27) or
// a resize (28); 1 when recorded.
int16_t record_object_moves(int16_t kind, MemoryRef layer);
// A key for the selected objects: an arrow moves the unlocked ones a pixel
// (undoable), Delete or Backspace clears them; 1 when the key was theirs.
int16_t ObjectKey(uint8_t key, MemoryRef layer);
// Whether the layer's first selected drawing object is protected.
bool object_is_locked(MemoryRef layer);
