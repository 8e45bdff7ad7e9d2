// Drawing objects to and from the layout a document stores them in: one
// object after another, each its 88-byte record, picture, data and points
// blocks, chart flag and chart part, big-endian.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "core/memory_manager.h"

// Appends the stored objects to the layer's object list, in order: 0, or
// kDamagedFileErr when the bytes are not whole objects (nothing is added).
int16_t objects_from_stored(MemoryRef layer, std::span<const uint8_t> stored);
// The layer's objects, in list order, as a document stores them.
std::vector<uint8_t> stored_from_objects(MemoryRef layer);

// After a layer was read: its stored objects become live objects and the
// stored bytes are dropped (kDamagedFileErr when they are not whole objects).
int16_t adopt_stored_objects(MemoryRef layer);
// Before a layer is written: its live objects as a block to write, none when
// it has no live objects (its stored bytes, if any, are written instead);
// kNoMemoryErr when the block cannot be made.
int16_t objects_to_store(MemoryRef layer, MemoryRef* block);
