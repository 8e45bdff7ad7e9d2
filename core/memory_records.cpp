// The memory manager: sizes of blocks, records in and out, and accessors.
#include <algorithm>
#include <cstring>

#include "core/memory_internal.h"

namespace {

// The data handle's new size is reached by growing it, purging other blocks once
// if memory is short; a block nobody uses is purged itself as a last resort (the
// next use reloads it at the new size). A block in use is never purged under its
// users: its growth fails instead.
void grow_block(MemoryRef ref, int32_t count) {
    MemoryGlobals* globals = ref->owner;
    int64_t new_alloc = int64_t(count) + ref->extend;
    int32_t new_bytes = checked_byte_size(ref->rec_size, new_alloc);
    if (new_bytes < 0) return msFailure(globals, kNoMemoryErr, ref);
    int32_t growth = new_bytes - handle_bytes(ref->data);
    int32_t need = growth + globals->purge_slack;
    for (int attempt = 0;; ++attempt) {
        globals->flags |= kMemAllocating;
        int16_t err = pf::set_handle_size(ref->data, new_bytes);
        globals->flags &= ~kMemAllocating;
        if (err == 0) {
            globals->bytes_in_use += growth;
            ref->num_alloc = static_cast<uint32_t>(new_alloc);
            ref->num_recs = static_cast<uint32_t>(count);
            alloc_tire(globals);
            purge_excess_memory(globals, ref);
            return;
        }
        if (err == pf::kMemLockedErr) err = kNoMemoryErr;
        if (err != kNoMemoryErr) return msFailure(globals, err, ref);
        if (attempt == 1 || (ref->flags & kInTempMemory) || ref->access_ctr > 0) break;
        free_tire(globals);
        int16_t purged = MemoryPurge(globals, need, ref);
        if (purged != 0 && purged != kPurgeShortErr) return msFailure(globals, purged, ref);
    }
    if (ref->access_ctr > 0) return msFailure(globals, kNoMemoryErr, ref);
    ref->flags &= ~kBlockBusy;
    int16_t err = globals->purge_proc ? globals->purge_proc(ref, globals, kPurgeBlock) : kNoSwapFileErr;
    if (err) return msFailure(globals, err, ref);
    ref->num_alloc = ref->num_recs = static_cast<uint32_t>(count);
}

// Gives back one use of a block in use so that it can move while it grows;
// answers whether it did.
bool release_use_for_growth(MemoryRef ref) {
    if (ref->access_ctr == 0) return false;
    UnuseMemory(ref);
    return true;
}

// Grows the block by n records and answers a pointer to record `at` holding one
// use; the records from `at` on move up by n. Null (uses as before) on failure.
unsigned char* open_gap(MemoryRef ref, int32_t at, int32_t n) {
    if (int64_t(ref->num_recs) + std::max(n, 0) > INT32_MAX) {
        msFailure(ref->owner, kNoMemoryErr, ref);
        return nullptr;
    }
    bool had_use = release_use_for_growth(ref);
    int32_t old_count = static_cast<int32_t>(ref->num_recs);
    if (n > 0) SetMemorySize(ref, old_count + n);
    if (static_cast<int32_t>(ref->num_recs) != old_count + std::max(n, 0) || !UseMemory(ref)) {
        if (had_use) UseMemory(ref);
        return nullptr;
    }
    unsigned char* gap = record_address(ref, at);
    if (n > 0 && at < old_count)
        std::memmove(gap + size_t(n) * ref->rec_size, gap, size_t(old_count - at) * ref->rec_size);
    return gap;
}

// Runs work that may fail while `held` is in use; a failure gives that use back
// before it goes on to the caller's handler.
template <typename Work>
void unuse_on_failure(MemoryRef held, Work&& work) {
    MemoryGlobals* globals = held->owner;
    int16_t err = with_failure_handler(globals, work);
    if (!err) return;
    MemoryRef failed = globals->failed_ref;
    UnuseMemory(held);
    msFailure(globals, err, failed);
}

// Uses `ref` while `held` is in use; null (with held's use given back) on failure.
const void* use_second(MemoryRef held, MemoryRef ref) {
    const void* data = nullptr;
    unuse_on_failure(held, [&] { data = UseMemory(ref); });
    if (!data) UnuseMemory(held);
    return data;
}

}  // namespace

void SetMemorySize(MemoryRef ref, int32_t count) {
    MemoryGlobals* globals = ref->owner;
    globals->error = 0;
    count = std::max(count, 0);
    if (static_cast<uint32_t>(count) == ref->num_recs) return;
    if (is_purged(ref)) {
        ref->num_alloc = ref->num_recs = static_cast<uint32_t>(count);
        return;
    }
    if (static_cast<uint32_t>(count) <= ref->num_alloc) {
        ref->num_recs = static_cast<uint32_t>(count);
        return;
    }
    ref->flags |= kBlockBusy;
    int16_t err = with_failure_handler(globals, [&] { grow_block(ref, count); });
    ref->flags &= ~kBlockBusy;
    if (err) msFailure(globals, err, ref);
}

void ReserveMemoryGrowth(MemoryRef ref, int32_t more) {
    const int64_t needed = int64_t(ref->num_recs) + more;
    if (more <= 0 || needed <= int64_t(ref->num_alloc)) return;
    const int32_t target = int32_t(std::min<int64_t>(needed + needed / 4, INT32_MAX / 2));
    if (target <= needed) return;
    const int32_t size = int32_t(ref->num_recs);
    MemoryGlobals* globals = ref->owner;
    if (with_failure_handler(globals, [&] { SetMemorySize(ref, target); }) != 0 || !is_purged(ref)) {
        SetMemorySize(ref, size);
        return;
    }
    // The block was written to the swap file to grow: it comes back with the
    // margin now. A block that cannot would be written out and read back again
    // for every record added, so its growth fails instead.
    const int16_t err = with_failure_handler(globals, [&] { reload_ref(ref); });
    SetMemorySize(ref, size);
    if (err) msFailure(globals, err, ref);
}

void* AppendMemory(MemoryRef ref, int32_t n, bool clear) {
    int32_t at = static_cast<int32_t>(ref->num_recs);
    unsigned char* first = open_gap(ref, at, n);
    if (first && clear && n > 0) std::memset(first, 0, size_t(n) * ref->rec_size);
    return first;
}

void* InsertMemory(MemoryRef ref, int32_t index, int32_t n) {
    int32_t at = std::clamp(index, 0, static_cast<int32_t>(ref->num_recs));
    return open_gap(ref, at, n);
}

void DeleteMemory(MemoryRef ref, int32_t index, int32_t n) {
    int32_t count = static_cast<int32_t>(ref->num_recs);
    if (index < 0 || index >= count || n <= 0) return;
    n = std::min(n, count - index);
    reload_ref(ref);
    if (is_purged(ref)) return;
    unsigned char* gap = record_address(ref, index);
    std::memmove(gap, gap + size_t(n) * ref->rec_size, size_t(count - index - n) * ref->rec_size);
    ref->num_recs = static_cast<uint32_t>(count - n);
}

void ForceMinimumMemorySize(MemoryRef ref) {
    if (is_purged(ref)) return;
    int32_t old_bytes = handle_bytes(ref->data);
    int32_t bytes = GetByteSize(ref);
    if (pf::set_handle_size(ref->data, bytes) != 0) return;
    ref->owner->bytes_in_use -= old_bytes - bytes;
    ref->num_alloc = ref->num_recs;
}

void FixFailedMemory(MemoryRef ref) {
    ref->num_alloc = ref->num_recs + ref->extend;
    if (is_purged(ref)) return;
    int32_t old_bytes = handle_bytes(ref->data);
    int32_t bytes = checked_byte_size(ref->rec_size, ref->num_alloc);
    if (bytes >= 0 && pf::set_handle_size(ref->data, bytes) == 0) {
        ref->owner->bytes_in_use += bytes - old_bytes;
    } else {
        ref->num_alloc = static_cast<uint32_t>(old_bytes / ref->rec_size);
    }
}

void GetMemoryRecord(MemoryRef ref, int32_t index, void* out) {
    if (index < 0 || static_cast<uint32_t>(index) >= ref->num_recs) {
        std::memset(out, 0, ref->rec_size);
        return;
    }
    unsigned char* data = static_cast<unsigned char*>(UseMemory(ref));
    if (!data) {
        std::memset(out, 0, ref->rec_size);
        return;
    }
    std::memcpy(out, data + size_t(index) * ref->rec_size, ref->rec_size);
    UnuseMemory(ref);
}

void PtrAndMemory(const void* bytes, MemoryRef ref, int32_t n) {
    void* first = AppendMemory(ref, n, false);
    if (!first) return;
    if (n > 0) std::memcpy(first, bytes, size_t(n) * ref->rec_size);
    UnuseMemory(ref);
}

void ConcatMemory(MemoryRef dest, MemoryRef src) {
    if (dest->rec_size != src->rec_size) return;
    int32_t n = static_cast<int32_t>(src->num_recs);
    unsigned char* first = static_cast<unsigned char*>(AppendMemory(dest, n, false));
    if (!first) return;
    const void* from = use_second(dest, src);
    if (!from) return;
    if (n > 0) std::memcpy(first, from, size_t(n) * src->rec_size);
    UnuseMemory(src);
    UnuseMemory(dest);
}

void Memory2PString(MemoryRef ref, unsigned char* out, int32_t max) {
    int32_t n = std::clamp(std::min(GetByteSize(ref), max), 0, 255);
    out[0] = 0;
    const void* data = n > 0 ? UseMemory(ref) : nullptr;
    if (!data) return;
    std::memcpy(out + 1, data, n);
    out[0] = static_cast<unsigned char>(n);
    UnuseMemory(ref);
}

void MemoryCopy(MemoryRef src, MemoryRef dest) {
    if (src == dest) return;
    if (is_purged(dest) && (dest->flags & kDiscardable)) reload_ref(dest);
    int32_t count = static_cast<int32_t>(src->num_recs);
    int32_t bytes = GetByteSize(src);
    if (is_purged(dest)) {
        const void* from = bytes > 0 ? UseMemory(src) : nullptr;
        if (bytes > 0 && !from) return;
        bool stored = bytes == 0;
        if (from) unuse_on_failure(src, [&] { stored = store_in_swap_range(dest, from, uint32_t(bytes)); });
        if (from) UnuseMemory(src);
        if (!stored) return;
        dest->rec_size = src->rec_size;
        dest->num_recs = dest->num_alloc = static_cast<uint32_t>(count);
        return;
    }
    dest->rec_size = src->rec_size;
    dest->num_alloc = static_cast<uint32_t>(handle_bytes(dest->data) / src->rec_size);
    dest->num_recs = std::min(dest->num_recs, dest->num_alloc);
    SetMemorySize(dest, count);
    if (static_cast<int32_t>(dest->num_recs) != count || bytes == 0) return;
    void* to = UseMemory(dest);
    const void* from = to ? use_second(dest, src) : nullptr;
    if (!from) return;
    std::memcpy(to, from, bytes);
    UnuseMemory(src);
    UnuseMemory(dest);
}

// ---- Accessors ------------------------------------------------------------------------

void get_memory_record(MemoryRef ref, MemoryRecord* out) { *out = *ref; }
int32_t get_access_ctr(MemoryRef ref) { return ref->access_ctr; }
int32_t GetAccessCtr(MemoryRef ref) { return ref->access_ctr; }
int32_t GetMemorySize(MemoryRef ref) { return static_cast<int32_t>(ref->num_recs); }
int32_t GetMemoryRecSize(MemoryRef ref) { return ref->rec_size; }
int32_t GetByteSize(MemoryRef ref) { return pgGetByteSize(ref->rec_size, static_cast<int32_t>(ref->num_recs)); }
int32_t pgGetByteSize(int32_t rec_size, int32_t n) { return rec_size * n; }
MemoryGlobals* GetMemoryGlobals(MemoryRef ref) { return ref->owner; }
uint32_t GetMemoryRefID(MemoryRef ref) { return ref->id; }
void SetMemoryRefID(MemoryRef ref, uint32_t id) { ref->id = id; }

void SetMemoryPurge(MemoryRef ref, uint16_t priority, bool discardable) {
    if (priority != kKeepPriority) ref->flags = (ref->flags & ~kPurgePriorityMask) | (priority & kPurgePriorityMask);
    ref->flags = discardable ? (ref->flags | kDiscardable) : (ref->flags & ~kDiscardable);
}
