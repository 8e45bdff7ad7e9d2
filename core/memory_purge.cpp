// Purging blocks to the swap file and reloading them; the free ranges of the file.
#include <algorithm>
#include <cstring>

#include "core/memory_internal.h"
#include "platform/files/files.h"

namespace {

constexpr uint32_t kSwapFileEnd = 0x7FFFFFFF;  // the free tail ends here
constexpr int32_t kHighestPurgeLevel = 254;

// ---- The free-range list: sorted, non-touching [start, end) pairs of u32 ----

struct SwapRange {
    uint32_t start, end;
};

int32_t range_count(MemoryRef list) { return GetByteSize(list) / int32_t(sizeof(SwapRange)); }

SwapRange* ranges_of(MemoryRef list) { return reinterpret_cast<SwapRange*>(*list->data); }

void delete_range(MemoryRef list, int32_t index) {
    DeleteMemory(list, index * int32_t(sizeof(SwapRange)), int32_t(sizeof(SwapRange)));
}

// ---- Choosing what to purge ----

bool purgeable(MemoryRef ref, MemoryRef protected_ref) {
    return ref && ref != protected_ref && GetByteSize(ref) >= kSmallestPurgedBytes &&
           !(ref->flags & (kPurged | kBlockBusy | kInTempMemory)) && ref->access_ctr == 0;
}

int purge_priority(MemoryRef ref) { return ref->flags & kPurgePriorityMask; }

MemoryRef* slots_of(MemoryGlobals* globals) { return reinterpret_cast<MemoryRef*>(*globals->master_list); }

int32_t slot_count(MemoryGlobals* globals) {
    return handle_bytes(globals->master_list) / int32_t(sizeof(MemoryRef));
}

// The first slot from `from` on holding a block purgeable at the level, or -1.
int32_t next_candidate(MemoryGlobals* globals, int32_t from, int level, MemoryRef protected_ref) {
    for (int32_t slot = from, n = slot_count(globals); slot < n; ++slot) {
        MemoryRef ref = slots_of(globals)[slot];
        if (purgeable(ref, protected_ref) && purge_priority(ref) <= level) return slot;
    }
    return -1;
}

// The lowest priority above the level among purgeable blocks; above 254 when none.
int next_level(MemoryGlobals* globals, int level, MemoryRef protected_ref) {
    int lowest = kHighestPurgeLevel + 1;
    for (int32_t slot = 0, n = slot_count(globals); slot < n; ++slot) {
        MemoryRef ref = slots_of(globals)[slot];
        if (purgeable(ref, protected_ref) && purge_priority(ref) > level)
            lowest = std::min(lowest, purge_priority(ref));
    }
    return lowest;
}

// ---- Moving records to and from the file ----

int16_t write_at(int16_t file, uint32_t offset, const void* bytes, uint32_t length) {
    int16_t err = pf::set_file_position(file, pf::kFromStart, static_cast<int32_t>(offset));
    return err ? err : pgWriteFileData(file, static_cast<int32_t>(length), bytes);
}

int16_t read_at(int16_t file, uint32_t offset, void* bytes, uint32_t length) {
    int16_t err = pf::set_file_position(file, pf::kFromStart, static_cast<int32_t>(offset));
    return err ? err : pgReadFileData(file, static_cast<int32_t>(length), bytes);
}

// Releases the block's swap range, once.
void release_swap_range(MemoryRef ref) {
    if (ref->swap_end > ref->swap_start) free_available_space(ref->owner, ref->swap_start, ref->swap_end);
    ref->swap_start = ref->swap_end = 0;
}

// Takes a range of `length` bytes and writes the bytes there; a failed write
// gives the range back.
int16_t write_to_new_range(MemoryGlobals* globals, const void* bytes, uint32_t length, uint32_t& start) {
    if (!find_available_space(globals, length, start)) return pf::kDiskFullErr;
    int16_t err = write_at(globals->swap_file, start, bytes, length);
    if (err) free_available_space(globals, start, start + length);
    return err;
}

int16_t purge_block(MemoryRef ref, MemoryGlobals* globals) {
    int32_t old_size = handle_bytes(ref->data);
    if (!(ref->flags & kDiscardable)) {
        uint32_t bytes = static_cast<uint32_t>(GetByteSize(ref));
        uint32_t start = 0;
        int16_t err = bytes ? write_to_new_range(globals, *ref->data, bytes, start) : 0;
        if (err) {
            err = msProcessError(err);
            msFailure(globals, err, ref);
            return err;
        }
        ref->swap_start = start;
        ref->swap_end = start + bytes;
    }
    pf::dispose_handle(ref->data);
    ref->data = nullptr;
    ref->num_alloc = ref->num_recs;
    ref->flags = (ref->flags | kPurged) & ~kInTempMemory;
    globals->bytes_in_use -= old_size;
    return 0;
}

pf::Handle new_reload_handle(MemoryRef ref, int32_t bytes) {
    MemoryGlobals* globals = ref->owner;
    pf::Handle handle = nullptr;
    if (ref->flags & (kTempFirstAfterFailure | kReloadTempFirst)) handle = pf::temp_new_handle(bytes);
    if (handle) {
        ref->flags |= kInTempMemory;
        return handle;
    }
    globals->flags |= kMemAllocating;
    handle = pf::new_handle(bytes);
    globals->flags &= ~kMemAllocating;
    return handle;
}

// Reads the records back before the header changes, so a failed read leaves the
// block purged with its swap range intact; the range goes back once the block
// holds its new data.
int16_t reload_block(MemoryRef ref, MemoryGlobals* globals) {
    int32_t bytes = GetByteSize(ref);
    pf::Handle handle = new_reload_handle(ref, bytes);
    if (!handle) {
        int16_t err = pf::mem_error() ? pf::mem_error() : kNoMemoryErr;
        if (err != kNoMemoryErr) msFailure(globals, err, ref);
        return err;
    }
    if (!(ref->flags & kDiscardable)) {
        uint32_t stored = std::min<uint32_t>(ref->swap_end - ref->swap_start, static_cast<uint32_t>(bytes));
        int16_t err = stored ? read_at(globals->swap_file, ref->swap_start, *handle, stored) : 0;
        if (err) {
            ref->flags &= ~kInTempMemory;
            pf::dispose_handle(handle);
            err = msProcessError(err);
            msFailure(globals, err, ref);
            return err;
        }
    }
    ref->flags &= ~kPurged;
    ref->data = handle;
    ref->num_alloc = ref->num_recs;
    globals->bytes_in_use += handle_bytes(handle);
    if (!(ref->flags & kDiscardable)) release_swap_range(ref);
    return 0;
}

// Makes room for one more pair without growing the list in place: a purge that
// growth set off may take ranges from the list meanwhile, so the list is only
// ever copied into a new handle once the allocation is done.
bool reserve_range_room(MemoryGlobals* globals, MemoryRef list) {
    int32_t needed = GetByteSize(list) + int32_t(sizeof(SwapRange));
    if (static_cast<int32_t>(list->num_alloc) >= needed) return true;
    int32_t new_bytes = needed + list->extend;
    pf::Handle moved = allocate_mem(globals, new_bytes, false, false);
    if (!moved) return false;
    std::memcpy(*moved, *list->data, GetByteSize(list));
    globals->bytes_in_use += handle_bytes(moved) - handle_bytes(list->data);
    pf::dispose_handle(list->data);
    list->data = moved;
    list->num_alloc = static_cast<uint32_t>(new_bytes);
    return true;
}

void prepare_free_ranges(MemoryGlobals* globals) {
    if (!globals->free_ranges) {
        globals->free_ranges = pgAllocateNewRef(globals, 1, 0, 64, false);
        if (!globals->free_ranges) return;
        SetMemoryPurge(globals->free_ranges, kNeverPurge, false);
    }
    SetMemorySize(globals->free_ranges, int32_t(sizeof(SwapRange)));
    if (GetMemorySize(globals->free_ranges) == int32_t(sizeof(SwapRange))) ranges_of(globals->free_ranges)[0] = {0, kSwapFileEnd};
}

}  // namespace

// ---- Free ranges ----------------------------------------------------------------------

bool find_available_space(MemoryGlobals* globals, uint32_t bytes, uint32_t& start) {
    MemoryRef list = globals->free_ranges;
    for (int32_t i = 0, n = list ? range_count(list) : 0; i < n; ++i) {
        SwapRange& range = ranges_of(list)[i];
        if (range.end - range.start < bytes) continue;
        start = range.start;
        range.start += bytes;
        if (range.start == range.end) delete_range(list, i);
        return true;
    }
    return false;
}

// Inserts the range in order and merges it with every range it touches or
// overlaps, so a range given back twice leaves the list as it was.
void free_available_space(MemoryGlobals* globals, uint32_t start, uint32_t end) {
    MemoryRef list = globals->free_ranges;
    if (!list || end <= start || !reserve_range_room(globals, list)) return;
    int32_t n = range_count(list);
    int32_t at = 0;
    while (at < n && ranges_of(list)[at].start < start) ++at;
    void* slot = InsertMemory(list, at * int32_t(sizeof(SwapRange)), int32_t(sizeof(SwapRange)));
    if (!slot) return;
    UnuseMemory(list);
    ranges_of(list)[at] = {start, end};
    while (at > 0 && ranges_of(list)[at - 1].end >= ranges_of(list)[at].start) {
        SwapRange& before = ranges_of(list)[at - 1];
        before.end = std::max(before.end, ranges_of(list)[at].end);
        delete_range(list, at--);
    }
    while (at + 1 < range_count(list) && ranges_of(list)[at].end >= ranges_of(list)[at + 1].start) {
        SwapRange& range = ranges_of(list)[at];
        range.end = std::max(range.end, ranges_of(list)[at + 1].end);
        delete_range(list, at + 1);
    }
}

// A range of another length is replaced only once the new one is written, so a
// failure leaves the block's old records where they were.
bool store_in_swap_range(MemoryRef ref, const void* bytes, uint32_t length) {
    MemoryGlobals* globals = ref->owner;
    int16_t err;
    if (ref->swap_end - ref->swap_start == length) {
        err = write_at(globals->swap_file, ref->swap_start, bytes, length);
    } else {
        uint32_t start = 0;
        err = write_to_new_range(globals, bytes, length, start);
        if (!err) {
            release_swap_range(ref);
            ref->swap_start = start;
            ref->swap_end = start + length;
        }
    }
    if (err) msFailure(globals, msProcessError(err), ref);
    return err == 0;
}

// ---- The swap file -------------------------------------------------------------------

int16_t pgWriteFileData(int16_t file, int32_t length, const void* address) {
    return pf::write_file(file, length, address);
}

int16_t pgReadFileData(int16_t file, int32_t length, void* address) {
    return pf::read_file(file, length, address);
}

// ---- Purging ------------------------------------------------------------------------

void InitVirtualMemory(MemoryGlobals* globals, PurgeProc purge_proc, int16_t swap_file) {
    globals->purge_proc = purge_proc ? purge_proc : pgStandardPurgeProc;
    globals->swap_file = swap_file;
    globals->purge_proc(nullptr, globals, kPurgePrepare);
}

int16_t pgStandardPurgeProc(MemoryRef ref, MemoryGlobals* globals, int16_t verb) {
    if (verb == kPurgePrepare) {
        if (globals->swap_file) prepare_free_ranges(globals);
        return 0;
    }
    // A discardable block comes back empty, so it needs no file to come back.
    bool needs_file = !(verb == kReloadBlock && (ref->flags & kDiscardable));
    if (!globals->swap_file && needs_file) return kNoSwapFileErr;
    switch (verb) {
    case kPurgeBlock: return purge_block(ref, globals);
    case kReloadBlock: return reload_block(ref, globals);
    case kReleaseSwapRange:
        if (!(ref->flags & kDiscardable)) release_swap_range(ref);
        return 0;
    default: return 0;
    }
}

int16_t MemoryPurge(MemoryGlobals* globals, int32_t bytes, MemoryRef protected_ref) {
    int32_t freed = 0;
    if (globals->free_proc) {
        int32_t given = globals->free_proc(globals, bytes);
        globals->bytes_in_use -= given;
        freed += given;
        if (freed >= bytes) return 0;
    }
    if (!globals->purge_proc) return kPurgeShortErr;
    int level = 0;
    int32_t from = 0;
    while (level <= kHighestPurgeLevel) {
        int32_t slot = next_candidate(globals, from, level, protected_ref);
        if (slot < 0) {
            level = next_level(globals, level, protected_ref);
            from = 0;
            continue;
        }
        int32_t before = globals->bytes_in_use;
        int16_t err = globals->purge_proc(slots_of(globals)[slot], globals, kPurgeBlock);
        if (err) return err;
        freed += before - globals->bytes_in_use;
        if (freed >= bytes) return 0;
        from = slot + 1;
    }
    return kPurgeShortErr;
}

// Over the ceiling, purges down to it with some slack. Running out of blocks to
// purge (or having no swap file) leaves the figure above it; file errors fail.
void purge_excess_memory(MemoryGlobals* globals, MemoryRef protected_ref) {
    if (globals->bytes_in_use <= globals->ceiling) return;
    int64_t excess = int64_t(globals->bytes_in_use) - globals->ceiling + globals->purge_slack;
    int16_t err = MemoryPurge(globals, static_cast<int32_t>(std::min<int64_t>(excess, INT32_MAX)), protected_ref);
    if (err != 0 && err != kPurgeShortErr && err != kNoSwapFileErr) msFailure(globals, err, nullptr);
}

void reload_ref(MemoryRef ref) {
    if (!is_purged(ref)) return;
    MemoryGlobals* globals = ref->owner;
    PurgeProc reload = globals->purge_proc ? globals->purge_proc : pgStandardPurgeProc;
    ref->flags |= kBlockBusy;
    int32_t need = GetByteSize(ref) + globals->purge_slack;
    int16_t err = with_failure_handler(globals, [&] {
        for (;;) {
            int16_t answer = reload(ref, globals, kReloadBlock);
            if (answer == 0) break;
            if (answer != kNoMemoryErr) return msFailure(globals, answer, ref);
            int32_t before = globals->bytes_in_use;
            free_tire(globals);
            int16_t purged = MemoryPurge(globals, need, ref);
            if (purged != 0 && purged != kPurgeShortErr) return msFailure(globals, purged, ref);
            if (globals->bytes_in_use == before) {
                if (ref->flags & kTempFirstAfterFailure) {
                    ref->flags &= ~kTempFirstAfterFailure;
                    return msFailure(globals, kPurgeShortErr, ref);
                }
                ref->flags |= kTempFirstAfterFailure;
            }
            need = globals->purge_slack;
            globals->error = 0;
        }
        alloc_tire(globals);
        purge_excess_memory(globals, ref);
    });
    ref->flags &= ~(kBlockBusy | kTempFirstAfterFailure);
    if (err) msFailure(globals, err, ref);
}
