// A started memory manager with a swap file in a temporary folder, and a
// recording last-resort procedure, for the memory manager's tests.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <unistd.h>
#include "core/memory_internal.h"
#include "platform/files/files.h"

namespace memory_test {

inline int last_resort_calls = 0;
inline void record_last_resort(MemoryGlobals*) { ++last_resort_calls; }

class MemoryManager : public ::testing::Test {
protected:
    MemoryGlobals g;
    int16_t swap = 0;
    pf::FileSpec swap_spec;

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
        if (swap) {
            pf::close_file(swap);
            pf::delete_file(swap_spec);
        }
    }

    void open_swap_file(int8_t permission = pf::kReadWritePermission) {
        int16_t volume;
        uint32_t folder;
        ASSERT_EQ(pf::find_folder(pf::FolderKind::temporary_items, true, volume, folder), 0);
        std::string name = "swap-" + std::to_string(getpid());
        unsigned char pname[64];
        pname[0] = static_cast<unsigned char>(std::min<size_t>(name.size(), 63));
        std::memcpy(pname + 1, name.data(), pname[0]);
        pf::make_file_spec(volume, folder, pname, swap_spec);  // -43: not there yet
        pf::delete_file(swap_spec);
        ASSERT_EQ(pf::create_file(swap_spec, pf::four_cc("QRVA"), pf::four_cc("QRVM")), 0);
        ASSERT_EQ(pf::open_data_fork(swap_spec, permission, swap), 0);
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
