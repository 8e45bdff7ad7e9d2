#include <vector>

#include "memory_test_support.h"

namespace {

using memory_test::MemoryManager;

struct SwapRange {
    uint32_t start, end;
};

std::vector<std::pair<uint32_t, uint32_t>> free_ranges(const MemoryGlobals& g) {
    std::vector<std::pair<uint32_t, uint32_t>> out;
    auto* ranges = reinterpret_cast<SwapRange*>(GetMemoryPtr(g.free_ranges));
    for (int32_t i = 0; i < GetByteSize(g.free_ranges) / 8; ++i) out.push_back({ranges[i].start, ranges[i].end});
    return out;
}

using Ranges = std::vector<std::pair<uint32_t, uint32_t>>;
constexpr uint32_t kEnd = 0x7FFFFFFF;

TEST_F(MemoryManager, SmallHeapPurgesAndReloadsIntact) {
    open_swap_file();
    limit_heap(600 * 1024);
    std::vector<MemoryRef> blocks;
    for (int i = 0; i < 20; ++i) {
        blocks.push_back(patterned_block(100 * 1024, i));
        ASSERT_NE(blocks.back(), nullptr) << i;
    }
    int purged = 0;
    for (MemoryRef ref : blocks) purged += (ref->flags & kPurged) != 0;
    EXPECT_GE(purged, 14);
    for (int i = 19; i >= 0; --i) EXPECT_TRUE(has_pattern(blocks[i], i)) << i;
    EXPECT_EQ(memory_test::last_resort_calls, 0);
    for (MemoryRef ref : blocks) DisposeMemory(ref);
    EXPECT_EQ(free_ranges(g), (Ranges{{0, kEnd}}));
}

TEST_F(MemoryManager, CeilingKeepsTheFigureDown) {
    msMemShutdown(&g);
    msMemStartup(&g, 400 * 1024);
    open_swap_file();
    std::vector<MemoryRef> blocks;
    for (int i = 0; i < 10; ++i) blocks.push_back(patterned_block(100 * 1024, i));
    EXPECT_LE(g.bytes_in_use, 400 * 1024);
    EXPECT_TRUE(blocks.front()->flags & kPurged);
    EXPECT_FALSE(blocks.back()->flags & kPurged);
    for (int i = 0; i < 10; ++i) EXPECT_TRUE(has_pattern(blocks[i], i));
    EXPECT_LE(g.bytes_in_use, 400 * 1024);
}

TEST_F(MemoryManager, OnlyIdleBlocksOfAHundredBytesArePurged) {
    open_swap_file();
    MemoryRef small = pgAllocateNewRef(&g, 1, 99, 0, false);
    MemoryRef used = pgAllocateNewRef(&g, 1, 100, 0, false);
    MemoryRef busy = pgAllocateNewRef(&g, 1, 100, 0, false);
    MemoryRef kept = pgAllocateNewRef(&g, 1, 100, 0, false);
    MemoryRef temporary = pgAllocateNewRef(&g, 1, 100, 0, false);
    MemoryRef purgeable = pgAllocateNewRef(&g, 1, 100, 0, false);
    UseMemory(used);
    busy->flags |= kBlockBusy;
    SetMemoryPurge(kept, kNeverPurge, false);
    temporary->flags |= kInTempMemory;
    EXPECT_EQ(MemoryPurge(&g, 1 << 20, nullptr), kPurgeShortErr);
    EXPECT_TRUE(purgeable->flags & kPurged);
    for (MemoryRef ref : {small, used, busy, kept, temporary}) EXPECT_FALSE(ref->flags & kPurged);
    busy->flags &= ~kBlockBusy;
    temporary->flags &= ~kInTempMemory;
    UnuseMemory(used);
}

TEST_F(MemoryManager, LowerPriorityThenLowerSlotGoesFirst) {
    open_swap_file();
    MemoryRef a = pgAllocateNewRef(&g, 1, 200, 0, false);
    MemoryRef b = pgAllocateNewRef(&g, 1, 200, 0, false);
    MemoryRef c = pgAllocateNewRef(&g, 1, 200, 0, false);
    SetMemoryPurge(c, 0x10, false);
    EXPECT_EQ(MemoryPurge(&g, 150, nullptr), 0);
    EXPECT_TRUE(c->flags & kPurged);
    EXPECT_EQ(MemoryPurge(&g, 150, b), 0);  // b is protected
    EXPECT_TRUE(a->flags & kPurged);
    EXPECT_FALSE(b->flags & kPurged);
}

TEST_F(MemoryManager, ReloadGivesItsRangeBackForReuse) {
    open_swap_file();
    MemoryRef a = patterned_block(300, 1);
    MemoryRef b = patterned_block(300, 2);
    MemoryPurge(&g, 600, nullptr);
    ASSERT_TRUE((a->flags & kPurged) && (b->flags & kPurged));
    uint32_t start_of_a = a->swap_start;
    EXPECT_EQ(free_ranges(g), (Ranges{{600, kEnd}}));
    EXPECT_TRUE(has_pattern(a, 1));
    EXPECT_EQ(free_ranges(g), (Ranges{{0, 300}, {600, kEnd}}));
    MemoryRef c = patterned_block(300, 3);
    MemoryPurge(&g, 300, a);  // c is the only candidate left
    EXPECT_TRUE(c->flags & kPurged);
    EXPECT_EQ(c->swap_start, start_of_a);
    EXPECT_TRUE(has_pattern(b, 2));
    EXPECT_TRUE(has_pattern(c, 3));
    EXPECT_EQ(free_ranges(g), (Ranges{{0, kEnd}}));  // merged into the tail
}

TEST_F(MemoryManager, ReloadAfterGrowingWhilePurged) {
    open_swap_file();
    MemoryRef ref = patterned_block(200, 5);
    MemoryPurge(&g, 200, nullptr);
    SetMemorySize(ref, 300);
    EXPECT_EQ(GetMemorySize(ref), 300);
    auto* p = static_cast<unsigned char*>(UseMemory(ref));
    ASSERT_NE(p, nullptr);
    for (int i = 0; i < 200; ++i) ASSERT_EQ(p[i], static_cast<unsigned char>(i * 7 + 5));
    EXPECT_EQ(pf::get_handle_size(ref->data), 300);
    UnuseMemory(ref);
}

TEST_F(MemoryManager, DiscardableBlocksComeBackEmptyHanded) {
    open_swap_file();
    MemoryRef ref = patterned_block(500, 9);
    SetMemoryPurge(ref, kKeepPriority, true);
    EXPECT_EQ(MemoryPurge(&g, 500, nullptr), 0);
    EXPECT_TRUE(ref->flags & kPurged);
    EXPECT_EQ(free_ranges(g), (Ranges{{0, kEnd}}));  // nothing was written
    EXPECT_NE(UseMemory(ref), nullptr);
    EXPECT_EQ(GetByteSize(ref), 500);
    UnuseAndDispose(ref);
}

TEST_F(MemoryManager, DisposingAPurgedBlockFreesItsRange) {
    open_swap_file();
    MemoryRef a = patterned_block(100, 1);
    MemoryRef b = patterned_block(100, 2);
    MemoryPurge(&g, 200, nullptr);
    DisposeMemory(a);
    EXPECT_EQ(free_ranges(g), (Ranges{{0, 100}, {200, kEnd}}));
    DisposeMemory(b);
    EXPECT_EQ(free_ranges(g), (Ranges{{0, kEnd}}));
}

TEST_F(MemoryManager, CopyIntoAPurgedBlockGoesToTheSwapFile) {
    open_swap_file();
    MemoryRef dest = patterned_block(150, 1);
    MemoryPurge(&g, 150, nullptr);
    MemoryRef src = patterned_block(400, 4);
    MemoryCopy(src, dest);
    EXPECT_TRUE(dest->flags & kPurged);
    EXPECT_EQ(dest->swap_end - dest->swap_start, 400u);  // the old range goes back once written
    EXPECT_EQ(free_ranges(g), (Ranges{{0, 150}, {550, kEnd}}));
    EXPECT_TRUE(has_pattern(dest, 4));
}

TEST_F(MemoryManager, WithoutSwapFileNothingIsPurged) {
    MemoryRef ref = pgAllocateNewRef(&g, 1, 1000, 0, false);
    EXPECT_EQ(MemoryPurge(&g, 100, nullptr), kPurgeShortErr);  // no purge procedure yet
    InitVirtualMemory(&g, nullptr, 0);
    EXPECT_EQ(MemoryPurge(&g, 100, nullptr), kNoSwapFileErr);
    EXPECT_FALSE(ref->flags & kPurged);
}

TEST_F(MemoryManager, AFreeProcedureIsAskedFirst) {
    open_swap_file();
    MemoryRef ref = pgAllocateNewRef(&g, 1, 1000, 0, false);
    g.free_proc = [](MemoryGlobals*, int32_t bytes) { return bytes; };
    int32_t before = g.bytes_in_use;
    EXPECT_EQ(MemoryPurge(&g, 64, nullptr), 0);
    EXPECT_EQ(g.bytes_in_use, before - 64);
    EXPECT_FALSE(ref->flags & kPurged);
}

TEST_F(MemoryManager, RangesGivenBackMergeAndNeverTwice) {
    open_swap_file();
    std::vector<MemoryRef> blocks;
    for (int i = 0; i < 4; ++i) blocks.push_back(patterned_block(100, i));
    MemoryPurge(&g, 400, nullptr);
    EXPECT_EQ(free_ranges(g), (Ranges{{400, kEnd}}));
    DisposeMemory(blocks[1]);
    DisposeMemory(blocks[3]);  // adjacent to the tail
    EXPECT_EQ(free_ranges(g), (Ranges{{100, 200}, {300, kEnd}}));
    // A release repeated for a block whose range was already given back.
    pgStandardPurgeProc(blocks[0], &g, kReleaseSwapRange);
    pgStandardPurgeProc(blocks[0], &g, kReleaseSwapRange);
    EXPECT_EQ(free_ranges(g), (Ranges{{0, 200}, {300, kEnd}}));
    EXPECT_TRUE(has_pattern(blocks[2], 2));
    // The block whose range went back cannot be read; take it out quietly.
    blocks[0]->flags |= kDiscardable;
    DisposeMemory(blocks[0]);
    EXPECT_EQ(free_ranges(g), (Ranges{{0, kEnd}}));
}

TEST_F(MemoryManager, GrowingPastTheHeapPurgesTheBlockItself) {
    open_swap_file();
    MemoryRef ref = patterned_block(64 * 1024, 3);
    limit_heap(40 * 1024);
    SetMemorySize(ref, 128 * 1024);
    EXPECT_EQ(GetMemorySize(ref), 128 * 1024);
    EXPECT_TRUE(ref->flags & kPurged);
    EXPECT_EQ(memory_test::last_resort_calls, 0);
    pf::set_heap_budget(pf::kNoBudget);
    auto* p = static_cast<unsigned char*>(UseMemory(ref));
    ASSERT_NE(p, nullptr);
    for (int i = 0; i < 64 * 1024; ++i) ASSERT_EQ(p[i], static_cast<unsigned char>(i * 7 + 3));
    UnuseMemory(ref);
}

// A block in use is never purged under its users: its growth fails instead.
TEST_F(MemoryManager, GrowingABlockInUseFailsRatherThanPurgingIt) {
    open_swap_file();
    MemoryRef ref = patterned_block(64 * 1024, 3);
    void* held = UseMemory(ref);
    UseMemory(ref);
    limit_heap(40 * 1024);
    EXPECT_EQ(AppendMemory(ref, 128 * 1024, false), nullptr);
    EXPECT_EQ(memory_test::last_resort_calls, 1);
    EXPECT_EQ(g.error, kNoMemoryErr);
    EXPECT_FALSE(ref->flags & kPurged);
    EXPECT_EQ(GetAccessCtr(ref), 2);
    EXPECT_EQ(GetMemoryPtr(ref), held);
    EXPECT_EQ(GetMemorySize(ref), 64 * 1024);
    UnuseFailedMemory(ref);
}

int blocks_written = 0;
int16_t counting_purge_proc(MemoryRef ref, MemoryGlobals* globals, int16_t verb) {
    if (verb == kPurgeBlock) ++blocks_written;
    return pgStandardPurgeProc(ref, globals, verb);
}

// A block grown record by record (as readers grow their cells) once memory has
// no room for its margin: rather than being written to the swap file and read
// back for every record, it comes back with room to grow, or its growth fails
// at once with the block as it was.
TEST_F(MemoryManager, GrowingPastTheHeapCostsFewPurgesAndFailsAtOnceWhenNothingIsLeft) {
    open_swap_file();
    g.purge_proc = counting_purge_proc;
    blocks_written = 0;
    // A quarter more is more than the heap has left with the emergency reserve
    // given up, but a reload goes to temporary memory.
    MemoryRef roomy = patterned_block(256 * 1024, 3);
    limit_heap(8 * 1024);
    for (int i = 0; i < 400; ++i) {
        ReserveMemoryGrowth(roomy, 64);
        ASSERT_NE(AppendMemory(roomy, 64, true), nullptr) << i;
        UnuseMemory(roomy);
    }
    EXPECT_LE(blocks_written, 3);
    EXPECT_EQ(GetMemorySize(roomy), 256 * 1024 + 400 * 64);
    pf::set_heap_budget(pf::kNoBudget);
    DisposeMemory(roomy);

    blocks_written = 0;
    MemoryRef tight = patterned_block(256 * 1024, 4);
    limit_heap(8 * 1024);
    pf::set_temp_budget(0);  // now nothing has room for the margin
    int appended = 0;
    const int16_t err = with_failure_handler(&g, [&] {
        for (; appended < 100; ++appended) {
            ReserveMemoryGrowth(tight, 16);
            AppendMemory(tight, 16, true);
            UnuseMemory(tight);
        }
    });
    EXPECT_EQ(memory_error_to_tell(err), kNoMemoryErr);
    EXPECT_EQ(appended, 0);
    EXPECT_LE(blocks_written, 1);
    EXPECT_EQ(GetMemorySize(tight), 256 * 1024);
    EXPECT_EQ(GetAccessCtr(tight), 0);
    pf::set_heap_budget(pf::kNoBudget);
    EXPECT_TRUE(has_pattern(tight, 4));
}

TEST_F(MemoryManager, SwapWriteErrorKeepsTheBlock) {
    open_swap_file(pf::kReadPermission);
    MemoryRef ref = patterned_block(1000, 6);
    int16_t err = with_failure_handler(&g, [&] { MemoryPurge(&g, 1000, nullptr); });
    EXPECT_LT(err, 0);
    EXPECT_EQ(err, msProcessError(err));
    EXPECT_EQ(g.failed_ref, ref);
    EXPECT_FALSE(ref->flags & kPurged);
    EXPECT_TRUE(has_pattern(ref, 6));
    EXPECT_EQ(free_ranges(g), (Ranges{{0, kEnd}}));
}

// With no handler pushed, a block that cannot come back answers null, not a
// pointer to data it does not have.
TEST_F(MemoryManager, UnreloadableBlockAnswersNullWithoutHandler) {
    open_swap_file();
    MemoryRef ref = patterned_block(50 * 1024, 8);
    MemoryPurge(&g, 50 * 1024, nullptr);
    MemoryGlobals* globals = &g;
    free_tire(globals);
    limit_heap(1024);
    pf::set_temp_budget(0);
    EXPECT_EQ(UseMemory(ref), nullptr);
    EXPECT_EQ(memory_test::last_resort_calls, 1);
    EXPECT_EQ(g.error, kPurgeShortErr);
    EXPECT_TRUE(ref->flags & kPurged);
    EXPECT_FALSE(ref->flags & (kBlockBusy | kTempFirstAfterFailure));
    EXPECT_EQ(GetAccessCtr(ref), 0);
    pf::set_heap_budget(pf::kNoBudget);
    EXPECT_TRUE(has_pattern(ref, 8));
}

TEST_F(MemoryManager, ReloadFallsBackOnTemporaryMemory) {
    open_swap_file();
    MemoryRef ref = patterned_block(50 * 1024, 8);
    MemoryPurge(&g, 50 * 1024, nullptr);
    free_tire(&g);
    limit_heap(1024);
    EXPECT_TRUE(has_pattern(ref, 8));
    EXPECT_TRUE(ref->flags & kInTempMemory);
    EXPECT_TRUE(pf::is_temporary_handle(ref->data));
    SetMemoryPurge(ref, kKeepPriority, true);
    UseMemory(ref);
    UnuseMemory(ref);  // discardable in temporary memory: released at once
    EXPECT_TRUE(ref->flags & kPurged);
    EXPECT_EQ(ref->data, nullptr);
}

// Released at its last unuse, a discardable block in temporary memory comes
// back even with no swap file.
TEST_F(MemoryManager, DiscardableTemporaryBlockReturnsWithoutSwapFile) {
    free_tire(&g);
    limit_heap(1024);
    MemoryRef ref = pgAllocateNewRef(&g, 1, 8192, 0, true);
    ASSERT_NE(ref, nullptr);
    ASSERT_TRUE(ref->flags & kInTempMemory);
    SetMemoryPurge(ref, kKeepPriority, true);
    UseMemory(ref);
    UnuseMemory(ref);
    ASSERT_TRUE(ref->flags & kPurged);
    EXPECT_NE(UseMemory(ref), nullptr);
    EXPECT_EQ(GetByteSize(ref), 8192);
    EXPECT_EQ(memory_test::last_resort_calls, 0);
    UnuseMemory(ref);
}

}  // namespace
