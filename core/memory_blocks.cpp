// The memory manager: start-up, the reserve, the master list of blocks, making,
// using and releasing blocks.
//
// A block is in one of three states:
//   resident   its data in memory, unlocked (access_ctr 0): may be moved or purged;
//   in use     access_ctr > 0, its data locked: pointers into it stay valid;
//   purged     kPurged, data null, its bytes in the swap file [swap_start, swap_end).
// UseMemory moves resident or purged to in use (reloading a purged block first);
// UnuseMemory moves in use back to resident when the count reaches 0 (a
// discardable block in temporary memory is purged then); only the purger
// (memory_purge.cpp) moves resident to purged, and only under pressure or past
// the ceiling.
//
// Invariants:
//  1. Every live block has exactly one slot in its manager's master list.
//  2. A block in use is never moved, purged or resized behind its user's back:
//     the purger skips blocks with access_ctr > 0 or kBlockBusy.
//  3. Uses and releases pair up: a release below zero is a caller's fault, ignored
//     and reported to the UnbalancedReleaseProc (the tests fail on it).
//  4. A failure (no memory, a swap-file error) never returns to the code that met
//     it while a failure frame is pushed: msFailure throws to the innermost frame,
//     whose with_failure_handler answers the error; destructors on the way run.
//     A caller that keeps uses open across a call that can fail releases them
//     with UnuseFailedMemory in its handler.
//  5. The 16,384-byte reserve exists whenever no failure is being handled: it is
//     given up first under pressure and made again after the next success.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <span>

#include "core/memory_internal.h"
#include "core/memory_use.h"

MemoryGlobals mem_globals;

namespace {

constexpr uint16_t kGlobalsSignature = 0x7777;
constexpr int32_t kMasterListGrowthBytes = kMasterListGrowth * int32_t(sizeof(MemoryRef));

MemoryRef* master_slots(MemoryGlobals* globals) {
    return reinterpret_cast<MemoryRef*>(*globals->master_list);
}

int32_t master_slot_count(MemoryGlobals* globals) {
    return handle_bytes(globals->master_list) / int32_t(sizeof(MemoryRef));
}

// Every slot of the master list, null for free ones; none before start-up.
std::span<MemoryRef> all_slots(MemoryGlobals* globals) {
    if (!globals->master_list) return {};
    return {master_slots(globals), size_t(master_slot_count(globals))};
}

// Grows the handle of the master list in place, or moves the list into a new one.
void grow_master_list(MemoryGlobals* globals) {
    int32_t old_bytes = handle_bytes(globals->master_list);
    int32_t new_bytes = old_bytes + kMasterListGrowthBytes;
    for (int attempt = 0;; ++attempt) {
        globals->flags |= kMemAllocating;
        int16_t err = pf::set_handle_size(globals->master_list, new_bytes);
        globals->flags &= ~kMemAllocating;
        if (err == 0) break;
        if (err != kNoMemoryErr) return msFailure(globals, err, nullptr);
        free_tire(globals);
        if (attempt == 0) {
            MemoryPurge(globals, globals->purge_slack + kMasterListGrowthBytes, nullptr);
            continue;
        }
        pf::Handle moved = allocate_mem(globals, new_bytes, false, false);
        if (!moved) return;
        std::memcpy(*moved, *globals->master_list, old_bytes);
        pf::dispose_handle(globals->master_list);
        globals->master_list = moved;
        break;
    }
    std::memset(*globals->master_list + old_bytes, 0, kMasterListGrowthBytes);
    globals->bytes_in_use += kMasterListGrowthBytes;
    alloc_tire(globals);
    globals->first_free_slot = old_bytes / int32_t(sizeof(MemoryRef));
}

// Enters the header in the first free slot; false when the list could not grow.
bool InitMemoryRef(MemoryGlobals* globals, MemoryRef ref) {
    if (globals->first_free_slot < 0) grow_master_list(globals);
    if (globals->first_free_slot < 0) return false;
    int32_t slot = globals->first_free_slot;
    MemoryRef* slots = master_slots(globals);
    slots[slot] = ref;
    ref->master_slot = static_cast<uint32_t>(slot);
    int32_t count = master_slot_count(globals);
    globals->first_free_slot = -1;
    for (int32_t next = slot + 1; next < count; ++next)
        if (!slots[next]) {
            globals->first_free_slot = next;
            break;
        }
    return true;
}

void clear_master_slot(MemoryRef ref) {
    MemoryGlobals* globals = ref->owner;
    int32_t slot = static_cast<int32_t>(ref->master_slot);
    master_slots(globals)[slot] = nullptr;
    if (globals->first_free_slot < 0 || slot < globals->first_free_slot) globals->first_free_slot = slot;
}

// A header for data already allocated and counted; null (data untouched) on failure.
MemoryRef make_header(MemoryGlobals* globals, pf::Handle data, int32_t rec_size, int32_t count,
                      int32_t allocated, int32_t extend, uint16_t flags) {
    MemoryRef ref = new (std::nothrow) MemoryRecord{};
    if (!ref) {
        msFailure(globals, kNoMemoryErr, nullptr);
        return nullptr;
    }
    if (!InitMemoryRef(globals, ref)) {
        delete ref;
        return nullptr;
    }
    ref->data = data;
    ref->rec_size = static_cast<uint16_t>(rec_size);
    ref->num_recs = static_cast<uint32_t>(count);
    ref->num_alloc = static_cast<uint32_t>(allocated);
    ref->extend = static_cast<uint16_t>(extend);
    ref->flags = flags | (pf::is_temporary_handle(data) ? kInTempMemory : 0);
    ref->owner = globals;
    ref->id = globals->default_id;
    return ref;
}

bool valid_shape(int32_t rec_size, int32_t count, int32_t extend) {
    return rec_size > 0 && rec_size <= 0xFFFF && count >= 0 && extend >= 0 && extend <= 0xFFFF;
}

void dispose_header_and_data(MemoryRef ref) {
    MemoryGlobals* globals = ref->owner;
    globals->bytes_in_use -= handle_bytes(ref->data);
    if (ref->data) pf::dispose_handle(ref->data);
    clear_master_slot(ref);
    delete ref;
}

}  // namespace

int32_t checked_byte_size(int32_t rec_size, int64_t count) {
    int64_t bytes = int64_t(rec_size) * count;
    return bytes < 0 || bytes > INT32_MAX ? -1 : static_cast<int32_t>(bytes);
}

// ---- Raw operations -----------------------------------------------------------

void msFillBlock(void* address, int32_t length, unsigned char byte) {
    if (length > 0) std::memset(address, byte, length);
}

void msBlockMove(const void* source, void* destination, int32_t length) {
    if (length > 0) {
        std::memmove(destination, source, length);
    } else if (length < 0) {
        int32_t n = -length;
        std::memmove(static_cast<char*>(destination) - n, static_cast<const char*>(source) - n, n);
    }
}

int16_t AllocateBlock(int32_t size, int16_t mode, pf::Handle* out) {
    bool clear = mode & kAllocateClear;
    *out = nullptr;
    if (mode & kAllocateTempFirst) *out = pf::temp_new_handle(size, clear);
    if (!*out) *out = clear ? pf::new_handle_clear(size) : pf::new_handle(size);
    return *out ? 0 : (pf::mem_error() ? pf::mem_error() : kNoMemoryErr);
}

void DeleteNonNilMemory(pf::Handle* handle) {
    if (*handle) pf::dispose_handle(*handle);
    *handle = nullptr;
}

bool SetHandleLock(pf::Handle handle, bool lock) {
    bool was_locked = pf::h_get_state(handle) & pf::kHandleLocked;
    if (lock && !was_locked) pf::h_lock(handle);
    if (!lock && was_locked) pf::h_unlock(handle);
    return was_locked;
}

// ---- The reserve and allocation -------------------------------------------------

void free_tire(MemoryGlobals* globals) {
    if (!globals->reserve) return;
    pf::dispose_handle(globals->reserve);
    globals->reserve = nullptr;
    globals->bytes_in_use -= kReserveBytes;
}

void alloc_tire(MemoryGlobals* globals) {
    if (globals->reserve) return;
    globals->flags |= kMemAllocating | kMemMakingReserve;
    globals->reserve = pf::new_handle(kReserveBytes);
    globals->flags &= ~(kMemAllocating | kMemMakingReserve);
    if (globals->reserve) globals->bytes_in_use += kReserveBytes;
}

pf::Handle allocate_mem(MemoryGlobals* globals, int32_t size, bool clear, bool try_temp_first) {
    int32_t need = size + globals->purge_slack;
    bool temp_switched_on = false;
    for (;;) {
        int16_t mode = (clear ? kAllocateClear : 0) | (try_temp_first ? kAllocateTempFirst : 0);
        pf::Handle handle = nullptr;
        globals->flags |= kMemAllocating;
        int16_t err = AllocateBlock(size, mode, &handle);
        globals->flags &= ~kMemAllocating;
        if (err == 0) {
            alloc_tire(globals);
            return handle;
        }
        if (err != kNoMemoryErr) {
            msFailure(globals, err, nullptr);
            return nullptr;
        }
        int32_t before = globals->bytes_in_use;
        free_tire(globals);
        int16_t purged = MemoryPurge(globals, need, nullptr);
        if (purged != 0 && purged != kPurgeShortErr) {
            msFailure(globals, purged, nullptr);
            return nullptr;
        }
        if (globals->bytes_in_use == before) {
            if (temp_switched_on) {
                msFailure(globals, purged ? purged : kNoMemoryErr, nullptr);
                return nullptr;
            }
            temp_switched_on = try_temp_first = true;
        }
        globals->error = 0;
        need = size;
    }
}

// ---- Life of the manager ----------------------------------------------------------

namespace {
// The started managers, for BlocksInUse.
std::vector<MemoryGlobals*> started_managers;

void forget_manager(MemoryGlobals* globals) {
    started_managers.erase(std::remove(started_managers.begin(), started_managers.end(), globals),
                           started_managers.end());
}
}  // namespace

std::vector<BlockInUse> BlocksInUse() {
    std::vector<BlockInUse> in_use;
    for (MemoryGlobals* globals : started_managers)
        for (MemoryRef ref : all_slots(globals))
            if (ref && ref->access_ctr > 0) in_use.push_back({ref, ref->access_ctr});
    return in_use;
}

void msMemStartup(MemoryGlobals* globals, int32_t ceiling) {
    FailureFrame* callers_chain = globals->handler_chain;
    NoHandlerProc no_handler_proc = globals->no_handler_proc;
    *globals = MemoryGlobals{};
    globals->handler_chain = callers_chain;
    globals->no_handler_proc = no_handler_proc;
    globals->signature = kGlobalsSignature;
    globals->fatal_proc = msDebugProc;
    globals->master_list = pf::new_handle_clear(kMasterListGrowthBytes);
    globals->reserve = pf::new_handle(kReserveBytes);
    if (!globals->master_list || !globals->reserve) {
        DeleteNonNilMemory(&globals->master_list);
        DeleteNonNilMemory(&globals->reserve);
        globals->signature = 0;
        return msFailure(globals, kNoMemoryErr, nullptr);
    }
    globals->flags = kMemStartedFlags;
    globals->default_id = 1;
    globals->purge_slack = kPurgeSlack;
    globals->bytes_in_use = kMasterListGrowthBytes + kReserveBytes;
    globals->ceiling = ceiling > 0 ? ceiling : kNoCeiling;
    globals->first_free_slot = 0;
    forget_manager(globals);
    started_managers.push_back(globals);
}

void msMemShutdown(MemoryGlobals* globals) {
    forget_manager(globals);
    if (!globals->master_list) return;
    globals->free_ranges = nullptr;  // a block like any other, disposed below
    for (MemoryRef ref : all_slots(globals))
        if (ref) {
            if (ref->data) pf::dispose_handle(ref->data);
            delete ref;
        }
    DeleteNonNilMemory(&globals->reserve);
    DeleteNonNilMemory(&globals->master_list);
    globals->bytes_in_use = 0;
    globals->first_free_slot = -1;
    globals->signature = 0;
}

int32_t live_block_count(MemoryGlobals* globals) {
    const std::span<MemoryRef> slots = all_slots(globals);
    return int32_t(std::count_if(slots.begin(), slots.end(), [](MemoryRef ref) { return ref != nullptr; }));
}

// ---- Making blocks -------------------------------------------------------------

MemoryRef pgAllocateNewRef(MemoryGlobals* globals, int32_t rec_size, int32_t count, int32_t extend,
                           bool clear) {
    if (!valid_shape(rec_size, count, extend)) {
        msFailure(globals, pf::kParamErr, nullptr);
        return nullptr;
    }
    int32_t bytes = checked_byte_size(rec_size, int64_t(count) + extend);
    if (bytes < 0) {
        msFailure(globals, kNoMemoryErr, nullptr);
        return nullptr;
    }
    MemoryRef ref = nullptr;
    pf::Handle data = nullptr;
    int16_t err = with_failure_handler(globals, [&] {
        data = allocate_mem(globals, bytes, clear, false);
        globals->bytes_in_use += handle_bytes(data);
        ref = make_header(globals, data, rec_size, count, count + extend, extend, kNewBlockPriority);
        purge_excess_memory(globals, ref);
    });
    if (err == 0) return ref;
    if (ref) {
        DisposeMemory(ref);
    } else if (data) {
        globals->bytes_in_use -= handle_bytes(data);
        pf::dispose_handle(data);
    }
    msFailure(globals, err, nullptr);
    return nullptr;
}

MemoryRef Bytes2Memory(MemoryGlobals* globals, const void* bytes, int32_t rec_size, int32_t count) {
    MemoryRef ref = pgAllocateNewRef(globals, rec_size, count, 0, false);
    if (ref && count > 0) std::memcpy(*ref->data, bytes, size_t(rec_size) * count);
    return ref;
}

// The adopted bytes join the figure so that disposing the block takes off what was added.
MemoryRef HandleToMemory(MemoryGlobals* globals, pf::Handle handle, int32_t rec_size) {
    if (rec_size <= 0 || rec_size > 0xFFFF) {
        msFailure(globals, pf::kParamErr, nullptr);
        return nullptr;
    }
    int32_t count = pf::get_handle_size(handle) / rec_size;
    pf::set_handle_size(handle, count * rec_size);
    MemoryRef ref = make_header(globals, handle, rec_size, count, count, 0, kAdoptedBlockPriority);
    if (ref) globals->bytes_in_use += handle_bytes(handle);
    return ref;
}

pf::Handle MemoryToHandle(MemoryRef ref) {
    reload_ref(ref);
    if (is_purged(ref)) return nullptr;
    MemoryGlobals* globals = ref->owner;
    pf::Handle handle = ref->data;
    globals->bytes_in_use -= handle_bytes(handle);
    ref->data = nullptr;
    clear_master_slot(ref);
    uint32_t count = ref->num_recs, rec_size = ref->rec_size;
    delete ref;
    pf::h_unlock(handle);
    pf::set_handle_size(handle, static_cast<int32_t>(count * rec_size));
    return handle;
}

MemoryRef MemoryDuplicateID(MemoryRef ref, uint32_t id) {
    MemoryGlobals* globals = ref->owner;
    MemoryRef copy = pgAllocateNewRef(globals, ref->rec_size, 0, ref->extend, false);
    if (!copy) return nullptr;
    int16_t err = with_failure_handler(globals, [&] { MemoryCopy(ref, copy); });
    if (err) {
        DisposeMemory(copy);
        msFailure(globals, err, ref);
        return nullptr;
    }
    copy->id = id;
    return copy;
}

MemoryRef MemoryDuplicate(MemoryRef ref) { return MemoryDuplicateID(ref, ref->id); }

MemoryRef DuplicateNonNilMemory(MemoryRef ref) { return ref ? MemoryDuplicate(ref) : nullptr; }

// ---- Using blocks -----------------------------------------------------------------

// A block that cannot be brought back (no handler pushed) answers null, never a
// pointer to data it does not have.
void* UseMemory(MemoryRef ref) {
    if (is_purged(ref)) {
        reload_ref(ref);
        if (is_purged(ref)) return nullptr;
    }
    if (ref->access_ctr++ == 0) pf::h_lock(ref->data);
    return *ref->data;
}

void* UseMemoryRecord(MemoryRef ref, int32_t index, int32_t, bool use) {
    if (use) {
        if (!UseMemory(ref)) return nullptr;
    } else {
        reload_ref(ref);
        if (is_purged(ref)) return nullptr;
    }
    return record_address(ref, index);
}

void* UseForLongTime(MemoryRef ref) {
    if (ref->access_ctr == 0 && !is_purged(ref)) pf::move_h_hi(ref->data);
    return UseMemory(ref);
}


namespace {
UnbalancedReleaseProc unbalanced_release = nullptr;
}

UnbalancedReleaseProc SetUnbalancedReleaseProc(UnbalancedReleaseProc proc) {
    UnbalancedReleaseProc previous = unbalanced_release;
    unbalanced_release = proc;
    return previous;
}

void UnuseMemory(MemoryRef ref) {
    if (ref->access_ctr == 0) {
        if (unbalanced_release) unbalanced_release(ref);
        return;
    }
    if (--ref->access_ctr > 0) return;
    pf::h_unlock(ref->data);
    if ((ref->flags & kDiscardable) && (ref->flags & kInTempMemory)) {
        ref->owner->bytes_in_use -= handle_bytes(ref->data);
        pf::dispose_handle(ref->data);
        ref->data = nullptr;
        ref->num_alloc = ref->num_recs;
        ref->flags = (ref->flags | kPurged) & ~kInTempMemory;
    }
}

void UnuseFailedMemory(MemoryRef ref) {
    while (ref->access_ctr > 0) UnuseMemory(ref);
}

void* GetMemoryPtr(MemoryRef ref) { return ref->data ? *ref->data : nullptr; }

void* UseMemoryOrFail(MemoryRef ref) {
    if (void* records = UseMemory(ref)) return records;
    MemoryGlobals* globals = ref->owner;
    msFailure(globals, kNoMemoryErr, ref);
    FatalProc fatal = globals->fatal_proc ? globals->fatal_proc : msDebugProc;
    fatal(kNoMemoryErr, 0);
    std::abort();
}

// ---- Releasing blocks ---------------------------------------------------------------

void DisposeMemory(MemoryRef ref) {
    if (!ref) return;
    MemoryGlobals* globals = ref->owner;
    if (is_purged(ref) && globals->purge_proc) globals->purge_proc(ref, globals, kReleaseSwapRange);
    dispose_header_and_data(ref);
}

MemoryRef DisposeNonNilMemory(MemoryRef ref) {
    if (ref) DisposeMemory(ref);
    return nullptr;
}

void UnuseAndDispose(MemoryRef ref) {
    UnuseMemory(ref);
    DisposeMemory(ref);
}

void DisposeFailedMemory(MemoryRef ref) {
    UnuseFailedMemory(ref);
    DisposeMemory(ref);
}

MemoryRef DisposeNonNilFailedMemory(MemoryRef ref) {
    if (ref) DisposeFailedMemory(ref);
    return nullptr;
}
