// Shared inside the memory manager only.
#pragma once

#include <cstdint>

#include "core/memory_manager.h"

// Every platform allocation of the manager: purges and retries under pressure,
// re-creates the reserve after success. Failures go through msFailure (null with
// no handler).
pf::Handle allocate_mem(MemoryGlobals* globals, int32_t size, bool clear, bool try_temp_first);

// The emergency reserve: given up under pressure, re-created after every success.
void free_tire(MemoryGlobals* globals);
void alloc_tire(MemoryGlobals* globals);

// The byte size of count records, or -1 when it does not fit in 31 bits.
int32_t checked_byte_size(int32_t rec_size, int64_t count);

inline int32_t handle_bytes(pf::Handle h) { return h ? pf::get_handle_size(h) : 0; }
inline bool is_purged(MemoryRef ref) { return ref->flags & kPurged; }
inline unsigned char* record_address(MemoryRef ref, int64_t index) {
    return reinterpret_cast<unsigned char*>(*ref->data) + index * ref->rec_size;
}

// Swap-file ranges: first fit; false when no free range is long enough.
bool find_available_space(MemoryGlobals* globals, uint32_t bytes, uint32_t& start);
void free_available_space(MemoryGlobals* globals, uint32_t start, uint32_t end);

// Writes a purged block's new contents straight into its swap range, taking a
// range of the right length first. File errors go through msFailure (false).
bool store_in_swap_range(MemoryRef ref, const void* bytes, uint32_t length);
