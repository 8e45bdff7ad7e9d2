#include "platform/memory/memory.h"

#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <vector>

namespace pf {
namespace {

// The master record of a handle. `data` comes first: a Handle is its address.
struct MasterRecord {
    char* data = nullptr;
    Size size = 0;
    size_t room = 0;  // usable bytes of the current block
    int8_t state = 0;
    bool temporary = false;
};

struct Zone {
    int64_t in_use = 0;  // wider than Size: the total may pass 2 GB
    int64_t budget = kNoBudget;
};

struct MemoryState {
    OSErr error = noErr;
    Zone heap;
    Zone temp;
    GrowZoneProc grow_zone = nullptr;
    bool in_grow_zone = false;
};

MemoryState g_memory;

constexpr Size kLargestFigure = std::numeric_limits<Size>::max();

MasterRecord* record_of(Handle h) { return reinterpret_cast<MasterRecord*>(h); }
Handle handle_of(MasterRecord* record) { return &record->data; }

Zone& zone_of(bool temporary) { return temporary ? g_memory.temp : g_memory.heap; }

OSErr set_error(OSErr err) {
    g_memory.error = err;
    return err;
}

bool is_locked(const MasterRecord* record) { return (record->state & kHandleLocked) != 0; }

// What the system has free; -1 when it does not say.
int64_t system_free_bytes_uncapped() {
    long pages = sysconf(_SC_AVPHYS_PAGES);
    long page_size = sysconf(_SC_PAGESIZE);
    if (pages <= 0 || page_size <= 0) return -1;
    return int64_t(pages) * page_size;
}

Size system_free_bytes() {
    int64_t bytes = system_free_bytes_uncapped();
    return bytes < 0 ? kLargestFigure : Size(std::min<int64_t>(bytes, kLargestFigure));
}

Size as_figure(int64_t bytes) { return Size(std::clamp<int64_t>(bytes, 0, kLargestFigure)); }

Size zone_free(const Zone& zone) {
    Size system = system_free_bytes();
    if (zone.budget == kNoBudget) return system;
    return std::min(as_figure(zone.budget - zone.in_use), system);
}

bool within_budget(const Zone& zone, Size growth) {
    return zone.budget == kNoBudget || zone.in_use + growth <= zone.budget;
}

// Asks the grow-zone procedure for the bytes missing from `zone`. True when it
// freed something, so that the allocation is worth trying again. The handle in
// progress is locked meanwhile; a nested allocation never re-enters it.
bool ask_grow_zone(Zone& zone, Size growth, Handle in_progress) {
    if (!g_memory.grow_zone || g_memory.in_grow_zone || &zone != &g_memory.heap) return false;
    Size missing = zone.budget == kNoBudget ? growth : as_figure(zone.in_use + growth - zone.budget);
    int64_t before = zone.in_use;
    int8_t saved_state = in_progress ? record_of(in_progress)->state : 0;
    if (in_progress) record_of(in_progress)->state |= kHandleLocked;
    g_memory.in_grow_zone = true;
    int32_t answer = g_memory.grow_zone(std::max<Size>(missing, 1), in_progress);
    g_memory.in_grow_zone = false;
    if (in_progress) record_of(in_progress)->state = saved_state;
    // An answer of "freed" that freed nothing would make the retry loop endless.
    return answer != 0 && zone.in_use < before;
}

// Runs `attempt` (which allocates `growth` more bytes of `zone`) until it
// succeeds or the grow zone can free no more.
template <typename Attempt>
bool allocate_with_grow_zone(Zone& zone, Size growth, Handle in_progress, Attempt attempt) {
    for (;;) {
        if (within_budget(zone, growth) && attempt()) {
            zone.in_use += growth;
            return true;
        }
        if (!ask_grow_zone(zone, growth, in_progress)) return false;
    }
}

Handle allocate_handle(Size size, bool clear, bool temporary) {
    if (size < 0) return set_error(kMemSizeErr), nullptr;
    auto* record = new (std::nothrow) MasterRecord;
    if (!record) return set_error(kMemFullErr), nullptr;
    record->temporary = temporary;
    Zone& zone = zone_of(temporary);
    bool ok = allocate_with_grow_zone(zone, size, nullptr, [&] {
        record->data = static_cast<char*>(clear ? std::calloc(std::max<Size>(size, 1), 1)
                                                : std::malloc(std::max<Size>(size, 1)));
        return record->data != nullptr;
    });
    if (!ok) {
        delete record;
        return set_error(kMemFullErr), nullptr;
    }
    record->size = size;
    record->room = malloc_usable_size(record->data);
    set_error(noErr);
    return handle_of(record);
}

// Moves (or keeps) the data of an unlocked record into a block of `size` bytes.
bool reallocate(MasterRecord* record, Size size) {
    char* moved = static_cast<char*>(std::realloc(record->data, std::max<Size>(size, 1)));
    if (!moved) return false;
    record->data = moved;
    record->room = malloc_usable_size(moved);
    return true;
}

// Resizes a block without moving it: shrinking always works, growing only
// within the block's room and the budget.
OSErr resize_in_place(Handle h, Size size) {
    MasterRecord* record = record_of(h);
    Size growth = size - record->size;
    if (growth > 0) {
        if (size_t(size) > record->room) return set_error(kMemLockedErr);
        if (!allocate_with_grow_zone(zone_of(record->temporary), growth, h, [] { return true; }))
            return set_error(kMemFullErr);
    } else {
        zone_of(record->temporary).in_use += growth;
    }
    record->size = size;
    return set_error(noErr);
}

// The state of a handle changed by `change`; kNilHandleErr for none.
template <typename Change>
void change_state(Handle h, Change change) {
    if (!h) return void(set_error(kNilHandleErr));
    change(record_of(h)->state);
    set_error(noErr);
}

}  // namespace

OSErr mem_error() { return g_memory.error; }

Handle new_handle(Size size) { return allocate_handle(size, false, false); }
Handle new_handle_clear(Size size) { return allocate_handle(size, true, false); }
Handle temp_new_handle(Size size, bool clear) { return allocate_handle(size, clear, true); }

void dispose_handle(Handle h) {
    if (!h) return void(set_error(kNilHandleErr));
    MasterRecord* record = record_of(h);
    zone_of(record->temporary).in_use -= record->size;
    std::free(record->data);
    delete record;
    set_error(noErr);
}

Size get_handle_size(Handle h) {
    if (!h) return set_error(kNilHandleErr), 0;
    set_error(noErr);
    return record_of(h)->size;
}

OSErr set_handle_size(Handle h, Size size) {
    if (!h) return set_error(kNilHandleErr);
    if (size < 0) return set_error(kMemSizeErr);
    MasterRecord* record = record_of(h);
    if (size == record->size) return set_error(noErr);
    if (is_locked(record)) return resize_in_place(h, size);
    if (size < record->size) {
        if (!reallocate(record, size)) return resize_in_place(h, size);
        zone_of(record->temporary).in_use -= record->size - size;
        record->size = size;
        return set_error(noErr);
    }
    Zone& zone = zone_of(record->temporary);
    Size growth = size - record->size;
    if (!allocate_with_grow_zone(zone, growth, h, [&] { return reallocate(record, size); }))
        return set_error(kMemFullErr);
    record->size = size;
    return set_error(noErr);
}

bool is_temporary_handle(Handle h) { return h && record_of(h)->temporary; }

void h_lock(Handle h) {
    change_state(h, [](auto& state) { state |= kHandleLocked; });
}

void h_unlock(Handle h) {
    change_state(h, [](auto& state) { state &= ~kHandleLocked; });
}

int8_t h_get_state(Handle h) {
    if (!h) return set_error(kNilHandleErr), 0;
    set_error(noErr);
    return record_of(h)->state;
}

void h_set_state(Handle h, int8_t state) {
    change_state(h, [state](auto& kept) { kept = state; });
}

OSErr move_h_hi(Handle h) {
    if (!h) return set_error(kNilHandleErr);
    return set_error(is_locked(record_of(h)) ? kMemLockedErr : noErr);
}

void h_lock_hi(Handle h) {
    if (move_h_hi(h) == kNilHandleErr) return;
    h_lock(h);
}

Handle ptr_to_hand(const void* bytes, Size size) {
    Handle h = new_handle(size);
    if (h && size > 0) std::memcpy(*h, bytes, size_t(size));
    return h;
}

Handle hand_to_hand(Handle h) {
    if (!h) return set_error(kNilHandleErr), nullptr;
    int8_t state = h_get_state(h);
    h_lock(h);
    Handle copy = ptr_to_hand(*h, record_of(h)->size);
    OSErr err = mem_error();
    h_set_state(h, state);
    set_error(err);
    return copy;
}

OSErr ptr_and_hand(const void* bytes, Handle h, Size size) {
    if (!h) return set_error(kNilHandleErr);
    if (size < 0) return set_error(kMemSizeErr);
    Size old_size = record_of(h)->size;
    if (size > kLargestFigure - old_size) return set_error(kMemFullErr);
    // Bytes taken from the handle itself would move with it: copy them first.
    const char* from = static_cast<const char*>(bytes);
    std::vector<char> own_bytes;
    if (size > 0 && from >= *h && from < *h + old_size) {
        own_bytes.assign(from, from + size);
        from = own_bytes.data();
    }
    if (set_handle_size(h, old_size + size) != noErr) return mem_error();
    if (size > 0) std::memcpy(*h + old_size, from, size_t(size));
    return noErr;
}

void set_grow_zone(GrowZoneProc proc) { g_memory.grow_zone = proc; }
GrowZoneProc grow_zone() { return g_memory.grow_zone; }

Size heap_bytes_in_use() { return as_figure(g_memory.heap.in_use); }
Size temp_bytes_in_use() { return as_figure(g_memory.temp.in_use); }
Size free_mem() { return zone_free(g_memory.heap); }
Size max_block() { return zone_free(g_memory.heap); }
Size temp_free_mem() { return zone_free(g_memory.temp); }

int64_t heap_bytes_available() {
    const Zone& heap = g_memory.heap;
    int64_t system = system_free_bytes_uncapped();
    if (heap.budget == kNoBudget) return std::max<int64_t>(system, 0);
    int64_t rest = std::max<int64_t>(int64_t(heap.budget) - int64_t(heap.in_use), 0);
    return system < 0 ? rest : std::min(rest, system);
}

void set_heap_budget(Size bytes) { g_memory.heap.budget = bytes; }
void set_temp_budget(Size bytes) { g_memory.temp.budget = bytes; }

uint8_t* release_pages(uint8_t* start, size_t length) {
    static const uintptr_t page = uintptr_t(sysconf(_SC_PAGESIZE));
    const uintptr_t first = (uintptr_t(start) + page - 1) / page * page;
    const uintptr_t end = (uintptr_t(start) + length) / page * page;
    if (end <= first) return start;
    madvise(reinterpret_cast<void*>(first), end - first, MADV_DONTNEED);
    return reinterpret_cast<uint8_t*>(end);
}

}  // namespace pf
