#include "platform/memory/memory.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstring>
#include <limits>
#include <string>
#include <vector>

namespace {

// Leaves no budget or grow zone behind for the next test.
class Memory : public ::testing::Test {
protected:
    void TearDown() override {
        pf::set_heap_budget(pf::kNoBudget);
        pf::set_temp_budget(pf::kNoBudget);
        pf::set_grow_zone(nullptr);
    }
};

TEST_F(Memory, ResizeKeepsContentsAndTheHandle) {
    pf::Handle h = pf::new_handle(4);
    ASSERT_NE(h, nullptr);
    std::memcpy(*h, "abcd", 4);
    ASSERT_EQ(pf::set_handle_size(h, 1 << 20), pf::noErr);
    EXPECT_EQ(pf::get_handle_size(h), 1 << 20);
    EXPECT_EQ(std::memcmp(*h, "abcd", 4), 0);
    ASSERT_EQ(pf::set_handle_size(h, 2), pf::noErr);
    EXPECT_EQ(pf::get_handle_size(h), 2);
    EXPECT_EQ(std::memcmp(*h, "ab", 2), 0);
    pf::dispose_handle(h);
}

TEST_F(Memory, ClearedAndZeroSizedHandles) {
    pf::Handle h = pf::new_handle_clear(100);
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(std::vector<char>(*h, *h + 100), std::vector<char>(100, 0));
    pf::Handle empty = pf::new_handle(0);
    ASSERT_NE(empty, nullptr);
    EXPECT_NE(*empty, nullptr);
    EXPECT_EQ(pf::get_handle_size(empty), 0);
    pf::dispose_handle(h);
    pf::dispose_handle(empty);
}

TEST_F(Memory, LockedBlockNeverMoves) {
    pf::Handle h = pf::new_handle(64);
    pf::h_lock(h);
    char* data = *h;
    EXPECT_EQ(pf::set_handle_size(h, 16), pf::noErr);  // shrinks in place
    EXPECT_EQ(*h, data);
    EXPECT_EQ(pf::set_handle_size(h, 64), pf::noErr);  // regrows within its room
    EXPECT_EQ(*h, data);
    EXPECT_EQ(pf::set_handle_size(h, 1 << 20), pf::kMemLockedErr);
    EXPECT_EQ(pf::mem_error(), pf::kMemLockedErr);
    EXPECT_EQ(*h, data);
    EXPECT_EQ(pf::get_handle_size(h), 64);
    EXPECT_EQ(pf::move_h_hi(h), pf::kMemLockedErr);
    pf::h_unlock(h);
    EXPECT_EQ(pf::set_handle_size(h, 1 << 20), pf::noErr);
    EXPECT_EQ(pf::move_h_hi(h), pf::noErr);
    pf::dispose_handle(h);
}

TEST_F(Memory, LockedGrowthInPlaceStillKeepsToTheBudget) {
    pf::Handle h = pf::new_handle(64);
    pf::h_lock(h);
    pf::set_handle_size(h, 8);
    pf::set_heap_budget(pf::heap_bytes_in_use() + 10);
    EXPECT_EQ(pf::set_handle_size(h, 18), pf::noErr);
    EXPECT_EQ(pf::set_handle_size(h, 19), pf::kMemFullErr);
    EXPECT_EQ(pf::get_handle_size(h), 18);
    pf::dispose_handle(h);
}

TEST_F(Memory, StateRoundTripsAndLockIsItsTopBit) {
    pf::Handle h = pf::new_handle(8);
    EXPECT_EQ(pf::h_get_state(h), 0);
    pf::h_lock_hi(h);
    int8_t locked = pf::h_get_state(h);
    EXPECT_EQ(locked, pf::kHandleLocked);
    pf::h_set_state(h, 0);
    EXPECT_EQ(pf::set_handle_size(h, 1 << 16), pf::noErr);
    pf::h_set_state(h, locked | pf::kHandlePurgeable);
    EXPECT_EQ(pf::h_get_state(h), int8_t(locked | pf::kHandlePurgeable));
    EXPECT_EQ(pf::set_handle_size(h, 1 << 24), pf::kMemLockedErr);
    pf::dispose_handle(h);
}

TEST_F(Memory, NullAndNegativeRequestsAreErrors) {
    EXPECT_EQ(pf::new_handle(-1), nullptr);
    EXPECT_EQ(pf::mem_error(), pf::kMemSizeErr);
    EXPECT_EQ(pf::set_handle_size(nullptr, 4), pf::kNilHandleErr);
    EXPECT_EQ(pf::get_handle_size(nullptr), 0);
    EXPECT_EQ(pf::mem_error(), pf::kNilHandleErr);
}

TEST_F(Memory, CopiesAndAppends) {
    pf::Handle h = pf::ptr_to_hand("abc", 3);
    ASSERT_EQ(pf::ptr_and_hand("de", h, 2), pf::noErr);
    pf::Handle copy = pf::hand_to_hand(h);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(std::string(*copy, pf::get_handle_size(copy)), "abcde");
    EXPECT_EQ(pf::h_get_state(h), 0);  // the copy leaves the state as it was
    pf::dispose_handle(h);
    pf::dispose_handle(copy);
}

TEST_F(Memory, AppendingAHandleToItselfAndPastTheLargestSize) {
    pf::Handle h = pf::ptr_to_hand("abc", 3);
    ASSERT_EQ(pf::ptr_and_hand(*h, h, 3), pf::noErr);  // the block may move while it grows
    EXPECT_EQ(std::string(*h, pf::get_handle_size(h)), "abcabc");
    EXPECT_EQ(pf::ptr_and_hand("x", h, std::numeric_limits<pf::Size>::max()), pf::kMemFullErr);
    EXPECT_EQ(pf::get_handle_size(h), 6);
    pf::dispose_handle(h);
}

TEST_F(Memory, FiguresFollowAllocations) {
    pf::Size before = pf::heap_bytes_in_use();
    pf::Handle h = pf::new_handle(1000);
    EXPECT_EQ(pf::heap_bytes_in_use(), before + 1000);
    pf::set_handle_size(h, 300);
    EXPECT_EQ(pf::heap_bytes_in_use(), before + 300);
    pf::set_heap_budget(before + 1000);
    EXPECT_EQ(pf::free_mem(), 700);
    EXPECT_EQ(pf::max_block(), 700);
    pf::dispose_handle(h);
    EXPECT_EQ(pf::heap_bytes_in_use(), before);
    EXPECT_EQ(pf::free_mem(), 1000);
}

TEST_F(Memory, BudgetFailsWithNoMemoryWithoutAGrowZone) {
    pf::set_heap_budget(pf::heap_bytes_in_use() + 100);
    pf::Handle fits = pf::new_handle(100);
    ASSERT_NE(fits, nullptr);
    EXPECT_EQ(pf::new_handle(1), nullptr);
    EXPECT_EQ(pf::mem_error(), pf::kMemFullErr);
    EXPECT_EQ(pf::set_handle_size(fits, 101), pf::kMemFullErr);
    EXPECT_EQ(pf::get_handle_size(fits), 100);
    pf::dispose_handle(fits);
}

// A grow zone that frees a spare handle, recording what it was told.
struct GrowZoneLog {
    std::vector<pf::Size> asked;
    std::vector<pf::Handle> in_progress;
    std::vector<int8_t> state_of_in_progress;
    pf::Handle spare = nullptr;
};
GrowZoneLog g_log;

int32_t free_spare(pf::Size bytes, pf::Handle in_progress) {
    g_log.asked.push_back(bytes);
    g_log.in_progress.push_back(in_progress);
    g_log.state_of_in_progress.push_back(in_progress ? pf::h_get_state(in_progress) : 0);
    if (!g_log.spare) return 0;
    pf::dispose_handle(g_log.spare);
    g_log.spare = nullptr;
    return 1;
}

int32_t claims_but_frees_nothing(pf::Size, pf::Handle) { return 1; }

TEST_F(Memory, GrowZoneIsAskedForTheMissingBytesAndTheRetrySucceeds) {
    g_log = {};
    g_log.spare = pf::new_handle(500);
    pf::set_heap_budget(pf::heap_bytes_in_use() + 200);  // 300 bytes short of a new 500
    pf::set_grow_zone(free_spare);
    pf::Handle h = pf::new_handle(500);
    ASSERT_NE(h, nullptr);
    ASSERT_EQ(g_log.asked.size(), 1u);
    EXPECT_EQ(g_log.asked[0], 300);
    EXPECT_EQ(g_log.in_progress[0], nullptr);
    pf::dispose_handle(h);
}

TEST_F(Memory, GrowZoneIsToldWhichHandleIsGrowingAndItIsLockedMeanwhile) {
    g_log = {};
    pf::Handle growing = pf::new_handle(10);
    g_log.spare = pf::new_handle(1000);
    pf::set_heap_budget(pf::heap_bytes_in_use());
    pf::set_grow_zone(free_spare);
    ASSERT_EQ(pf::set_handle_size(growing, 400), pf::noErr);
    ASSERT_EQ(g_log.in_progress.size(), 1u);
    EXPECT_EQ(g_log.in_progress[0], growing);
    EXPECT_EQ(g_log.asked[0], 390);
    EXPECT_EQ(g_log.state_of_in_progress[0], pf::kHandleLocked);
    EXPECT_EQ(pf::h_get_state(growing), 0);
    // Nothing left to free: the grow zone answers 0 and the request fails.
    EXPECT_EQ(pf::set_handle_size(growing, 2000), pf::kMemFullErr);
    EXPECT_EQ(g_log.asked.size(), 2u);
    EXPECT_EQ(pf::get_handle_size(growing), 400);
    pf::dispose_handle(growing);
}

TEST_F(Memory, GrowZoneThatFreesNothingDoesNotLoopForever) {
    pf::set_heap_budget(pf::heap_bytes_in_use());
    pf::set_grow_zone(claims_but_frees_nothing);
    EXPECT_EQ(pf::new_handle(10), nullptr);
    EXPECT_EQ(pf::mem_error(), pf::kMemFullErr);
}

TEST_F(Memory, TemporaryMemoryHasItsOwnBudgetAndNoGrowZone) {
    g_log = {};
    pf::set_grow_zone(free_spare);
    pf::set_temp_budget(pf::temp_bytes_in_use() + 50);
    pf::Handle t = pf::temp_new_handle(50, true);
    ASSERT_NE(t, nullptr);
    EXPECT_TRUE(pf::is_temporary_handle(t));
    EXPECT_EQ((*t)[49], 0);
    EXPECT_EQ(pf::temp_free_mem(), 0);
    EXPECT_EQ(pf::temp_new_handle(1), nullptr);
    EXPECT_EQ(pf::mem_error(), pf::kMemFullErr);
    EXPECT_TRUE(g_log.asked.empty());
    pf::Handle h = pf::new_handle(50);  // the application heap is not affected
    ASSERT_NE(h, nullptr);
    EXPECT_FALSE(pf::is_temporary_handle(h));
    pf::dispose_handle(t);
    pf::dispose_handle(h);
}

// Only the whole pages inside the range go: the bytes around them stay, and
// the block stays the program's to write and free.
TEST_F(Memory, ReleasedPagesReadAsZerosAndTheBytesAroundThemStay) {
    const size_t page = size_t(sysconf(_SC_PAGESIZE));
    std::vector<uint8_t> block(page * 8, 0xAB);
    uint8_t* start = block.data() + 100;
    uint8_t* end = pf::release_pages(start, page * 5);
    const size_t first_whole =
        (reinterpret_cast<uintptr_t>(start) + page - 1) / page * page - reinterpret_cast<uintptr_t>(block.data());
    EXPECT_EQ(reinterpret_cast<uintptr_t>(end) % page, 0u);
    EXPECT_LE(end, start + page * 5);
    EXPECT_GT(end, start + page * 3);
    for (size_t i = 0; i < block.size(); ++i) {
        const bool released = i >= first_whole && block.data() + i < end;
        ASSERT_EQ(block[i], released ? 0 : 0xAB) << i;
    }
    block[first_whole] = 7;
    EXPECT_EQ(block[first_whole], 7);
    EXPECT_EQ(pf::release_pages(start, page / 2), start);  // no whole page in it
    EXPECT_EQ(block[100], 0xAB);
}

}  // namespace
