// Drawing objects dragged from one place to another: the flavours each
// dragged object offers, its re-anchoring by a pixel offset, and objects
// dropped into a layer.
#pragma once

#include <cstdint>
#include <vector>

#include "core/memory_manager.h"
#include "platform/types.h"

// The picture a dragged object offers: a picture object's own picture,
// unchanged, else the object drawn into a frame of its size at (0, 0).
std::vector<uint8_t> dragged_object_picture(MemoryRef object);
// A text box's characters and its style runs; both empty for other objects.
std::vector<uint8_t> dragged_object_text(MemoryRef object);
std::vector<uint8_t> dragged_object_styles(MemoryRef object);

// Moves the object by a pixel offset in the pane: it is anchored to the
// cell under its moved top left (negative rows and columns taken as 0) at
// its offset from that cell (negative parts taken as 0).
void Reset_Location(MemoryRef object, int16_t pane, pf::Point offset, MemoryRef layer);
// Adds a chain of objects (linked through "link") to the layer as one undo
// step (kind 25): fresh ids, the layer as owner, each selected alone among
// the objects and moved by the offset in the pane.
void Drop_Objects(MemoryRef chain, pf::Point offset, int16_t pane, MemoryRef layer);
// Whether any selected object of the layer is locked.
bool check_selected_list(MemoryRef layer);
