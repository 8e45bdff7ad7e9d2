// Scoped uses of blocks: the way from a MemoryRef to a pointer into its
// records.
#pragma once

#include <cstdint>

#include "core/memory_manager.h"

// UseMemory for callers that cannot go on without the records: a block that
// cannot be brought back is a failure (kNoMemoryErr) sent to the innermost
// frame; with no frame, and a last-resort procedure that returns, the fatal
// procedure ends the process. Never answers null for a block.
void* UseMemoryOrFail(MemoryRef ref);

// Uses a block for as long as the guard lives and releases it when the guard
// goes out of scope, by return or by failure alike. A null ref is held as no
// use and gives a null pointer. The pointer is read afresh on every access, so
// it follows the records when a resize moves them.
template <typename Record = uint8_t>
class MemoryUse {
public:
    explicit MemoryUse(MemoryRef ref) : ref_(ref) {
        if (ref_) UseMemoryOrFail(ref_);
    }
    ~MemoryUse() {
        if (ref_) UnuseMemory(ref_);
    }
    MemoryUse(const MemoryUse&) = delete;
    MemoryUse& operator=(const MemoryUse&) = delete;

    // Gives the use back before the scope ends; the guard then holds none.
    void release() {
        if (ref_) UnuseMemory(ref_);
        ref_ = nullptr;
    }

    Record* get() const { return ref_ ? static_cast<Record*>(GetMemoryPtr(ref_)) : nullptr; }
    operator Record*() const { return get(); }
    Record* operator->() const { return get(); }

private:
    MemoryRef ref_;
};
