// Relocatable memory: handles over the C heap, a "temporary memory" flavour,
// the grow-zone procedure and free-memory figures.
//
// A Handle points at a master pointer that stays put for the handle's whole
// life; the master pointer points at the data. Resizing an unlocked handle may
// move its data, so `*h` must be read again after any call that can allocate.
// A locked handle's data never moves: it shrinks in place, grows only within
// the room its block already has, and a growth beyond that fails with
// kMemLockedErr (the data is kept as it was).
//
// Application-heap handles may be held to a byte budget (for tests that drive
// the out-of-memory paths). When a request would pass the budget, or the C
// heap itself refuses, the grow-zone procedure is asked for the missing bytes
// and the request is retried while it frees some; then it fails with
// kMemFullErr. Temporary handles have their own budget and never call the
// grow zone. Every call sets the error that mem_error() answers.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/types.h"

namespace pf {

using Ptr = char*;
using Handle = char**;
using Size = int32_t;

constexpr OSErr kMemFullErr = -108;    // not enough memory
constexpr OSErr kNilHandleErr = -109;  // the handle is null
constexpr OSErr kMemSizeErr = -116;    // a negative size was asked for
constexpr OSErr kMemLockedErr = -117;  // a locked block cannot grow in place

// Handle state bits (h_get_state / h_set_state). Only the lock bit acts here;
// the others are kept for callers that save and restore the state.
constexpr int8_t kHandleLocked = int8_t(0x80);
constexpr int8_t kHandlePurgeable = 0x40;
constexpr int8_t kHandleResource = 0x20;

// Asked for the bytes still missing when an allocation would fail; `in_progress`
// is the handle being resized (null for a new handle); it is locked during the
// call and must not be disposed by it. Answers non-zero when it freed something.
using GrowZoneProc = int32_t (*)(Size bytes_needed, Handle in_progress);

constexpr Size kNoBudget = -1;

// The error of the last memory call (noErr, kMemFullErr ...).
OSErr mem_error();

// New handles; null with mem_error() set on failure. Contents of new_handle
// are undefined.
Handle new_handle(Size size);
Handle new_handle_clear(Size size);
Handle temp_new_handle(Size size, bool clear = false);
void dispose_handle(Handle h);

Size get_handle_size(Handle h);
// Keeps the contents up to the smaller size; new bytes are undefined.
OSErr set_handle_size(Handle h, Size size);
bool is_temporary_handle(Handle h);

void h_lock(Handle h);
void h_unlock(Handle h);
int8_t h_get_state(Handle h);
void h_set_state(Handle h, int8_t state);
// Moves an unlocked block out of the way of short-lived ones (a no-op on this
// heap); kMemLockedErr for a locked block.
OSErr move_h_hi(Handle h);
void h_lock_hi(Handle h);

// Copies: a new handle holding the bytes, or the bytes appended to a handle.
Handle ptr_to_hand(const void* bytes, Size size);
Handle hand_to_hand(Handle h);
OSErr ptr_and_hand(const void* bytes, Handle h, Size size);

void set_grow_zone(GrowZoneProc proc);
GrowZoneProc grow_zone();

// Bytes of handle data held in the application heap and in temporary memory.
Size heap_bytes_in_use();
Size temp_bytes_in_use();
// Bytes that could still be allocated (the budget's rest, else what the
// system has free, capped at 0x7FFFFFFF). max_block is the same figure: this
// heap has no fragmentation to speak of.
Size free_mem();
Size max_block();
Size temp_free_mem();
// The same figure as free_mem without the cap: what the heap can still give,
// within its budget when it has one.
int64_t heap_bytes_available();

// Gives the whole pages within `length` bytes from `start` of a block the
// program owns back to the system: they read as zeros afterwards and take no
// memory until written again. Answers the end of what was given back (the
// start itself when the range holds no whole page).
uint8_t* release_pages(uint8_t* start, size_t length);

// Limits on the bytes of handle data; kNoBudget (the default) for none.
void set_heap_budget(Size bytes);
void set_temp_budget(Size bytes);

}  // namespace pf
