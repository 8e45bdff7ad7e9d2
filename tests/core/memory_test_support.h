// A started memory manager with a swap file in a temporary folder, and a
// recording last-resort procedure, for the memory manager's tests.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

#include "core/memory_manager.h"

namespace memory_test {

inline int last_resort_calls = 0;
inline void record_last_resort(MemoryGlobals*) { ++last_resort_calls; }

class MemoryManager : public ::testing::Test {
protected:
    MemoryGlobals g;
    int16_t swap = 0;

    void SetUp() override {
        last_resort_calls = 0;
        g.no_handler_proc = record_last_resort;
        msMemStartup(&g, 0);
        g.no_handler_proc = record_last_resort;
    }

    void TearDown() override {
        pf::set_heap_budget(pf::kNoBudget);
        pf::set_temp_budget(pf::kNoBudget);
        msMemShutdown(&g);
        if (swap) close(swap);
    }

    void open_swap_file() {
        char path[] = "/tmp/quorvin-swap-XXXXXX";
        swap = static_cast<int16_t>(mkstemp(path));
        ASSERT_GT(swap, 0);
        unlink(path);
        InitVirtualMemory(&g, nullptr, swap);
    }

    // Leaves `room` more bytes for the heap than it holds now.
    void limit_heap(int32_t room) { pf::set_heap_budget(pf::heap_bytes_in_use() + room); }

    // A block of `bytes` bytes filled with a pattern that depends on the seed.
    MemoryRef patterned_block(int32_t bytes, int seed) {
        MemoryRef ref = pgAllocateNewRef(&g, 1, bytes, 0, false);
        if (!ref) return nullptr;
        auto* p = static_cast<unsigned char*>(UseMemory(ref));
        for (int32_t i = 0; i < bytes; ++i) p[i] = static_cast<unsigned char>(i * 7 + seed);
        UnuseMemory(ref);
        return ref;
    }

    bool has_pattern(MemoryRef ref, int seed) {
        auto* p = static_cast<unsigned char*>(UseMemory(ref));
        if (!p) return false;
        bool same = true;
        for (int32_t i = 0; i < GetByteSize(ref) && same; ++i)
            same = p[i] == static_cast<unsigned char>(i * 7 + seed);
        UnuseMemory(ref);
        return same;
    }
};

}  // namespace memory_test
