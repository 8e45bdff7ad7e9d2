// Commands on the selected drawing objects.
#pragma once

#include <cstdint>

#include "core/memory_manager.h"

// Takes the selected objects out of the layer with an undo record that keeps
// them and the former object order (kind 23); answers how many went.
int32_t delete_selected_objects(MemoryRef layer);
// Records the placements of the selected objects before a move (kind 27) or
// a resize (28); 1 when recorded.
int16_t record_object_moves(int16_t kind, MemoryRef layer);
// Undo of moves: the objects get their recorded placements back.
void undo_object_moves(MemoryRef placements, MemoryRef layer);
// A key for the selected objects: an arrow moves the unlocked ones a pixel
// (undoable), Delete or Backspace clears them; 1 when the key was theirs.
int16_t ObjectKey(uint8_t key, MemoryRef layer);
// Undo of a change of stacking order, and of locking (kind 31) or unlocking (32).
void undo_object_order(MemoryRef ids, MemoryRef layer);
void undo_object_lock(int16_t kind, MemoryRef ids, MemoryRef layer);
// Undo of a clear or cut of objects: the kept chain comes back in the saved order.
void undo_removed_objects(MemoryRef* chain, MemoryRef ids, MemoryRef layer);
