// Undo lists: a MemoryRef of undo blocks, oldest first, at most the undo depth long.
#include <algorithm>

#include "core/foundation_services.h"
#include "core/memory_manager.h"
#include "core/memory_use.h"

namespace {

constexpr int16_t kDefaultUndoLevels = 10;
int16_t undo_levels = kDefaultUndoLevels;

// The entry an index names (-1 the last one), or -1 when there is none.
int32_t entry_index(MemoryRef list, int32_t index) {
    int32_t count = GetMemorySize(list);
    if (index == -1) index = count - 1;
    return index >= 0 && index < count ? index : -1;
}

// Appends an empty entry and trims the oldest beyond the depth; false when
// the entry could not be added (with no failure handler pushed).
bool add_entry(MemoryRef list) {
    if (!AppendMemory(list, 1, true)) return false;
    UnuseMemory(list);
    while (GetMemorySize(list) > undo_levels) pg_DisposeMultUndo(list, 0);
    return true;
}

}  // namespace

void pg_setUndoLevels(int16_t levels) { undo_levels = std::max<int16_t>(levels, 1); }

void pg_incrementUndo(MemoryRef list) { add_entry(list); }

void pg_SetMultUndo(MemoryRef list, int32_t index, MemoryRef value) {
    int32_t at = entry_index(list, index);
    if (at < 0) return;
    MemoryUse<MemoryRef> entries(list);
    entries[at] = value;
}

MemoryRef pg_GetMultUndo(MemoryRef list, int32_t index) {
    int32_t at = entry_index(list, index);
    if (at < 0) return nullptr;
    MemoryRef value = nullptr;
    GetMemoryRecord(list, at, &value);
    return value;
}

void pg_DisposeMultUndo(MemoryRef list, int32_t index) {
    int32_t at = entry_index(list, index);
    if (at < 0) return;
    if (MemoryRef undo = pg_GetMultUndo(list, at)) foundation_services.dispose_undo(undo);
    DeleteMemory(list, at, 1);
}

void ClobberMultUndo(MemoryRef list) {
    while (GetMemorySize(list) > 0) pg_DisposeMultUndo(list, -1);
}

// The entry is added before the pending block goes, so that a failure to add
// it (which reaches the caller's handler) leaves the list and the pending
// block as they were. With no handler the value cannot be kept and is disposed.
void PrepareMultUndo(MemoryRef list, MemoryRef value, MemoryRef* pending) {
    if (!add_entry(list)) {
        foundation_services.dispose_undo(value);
        return;
    }
    if (*pending) {
        foundation_services.dispose_undo(*pending);
        *pending = nullptr;
    }
    pg_SetMultUndo(list, -1, value);
}
