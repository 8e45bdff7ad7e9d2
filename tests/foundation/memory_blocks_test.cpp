#include <vector>

#include "memory_test_support.h"

namespace {

using memory_test::MemoryManager;

int32_t master_slots(const MemoryGlobals& g) {
    return pf::get_handle_size(g.master_list) / int32_t(sizeof(MemoryRef));
}

TEST_F(MemoryManager, StartsWithReserveAndOneStepOfMasterList) {
    EXPECT_EQ(g.signature, 0x7777);
    EXPECT_EQ(g.flags, kMemStartedFlags);
    EXPECT_EQ(master_slots(g), kMasterListGrowth);
    EXPECT_EQ(g.bytes_in_use, kReserveBytes + kMasterListGrowth * int32_t(sizeof(MemoryRef)));
    EXPECT_EQ(g.ceiling, kNoCeiling);
}

TEST_F(MemoryManager, BlockLifeKeepsTheFigure) {
    int32_t start = g.bytes_in_use;
    MemoryRef ref = pgAllocateNewRef(&g, 12, 5, 3, true);
    ASSERT_NE(ref, nullptr);
    EXPECT_EQ(GetMemorySize(ref), 5);
    EXPECT_EQ(ref->num_alloc, 8u);
    EXPECT_EQ(GetMemoryRefID(ref), 1u);
    EXPECT_EQ(ref->flags & kPurgePriorityMask, kNewBlockPriority);
    EXPECT_EQ(g.bytes_in_use, start + 8 * 12);
    auto* p = static_cast<unsigned char*>(UseMemory(ref));
    EXPECT_EQ(std::vector<unsigned char>(p, p + 60), std::vector<unsigned char>(60, 0));
    UnuseMemory(ref);
    SetMemorySize(ref, 2);
    EXPECT_EQ(ref->num_alloc, 8u);  // shrinking keeps the room
    ForceMinimumMemorySize(ref);
    EXPECT_EQ(ref->num_alloc, 2u);
    EXPECT_EQ(g.bytes_in_use, start + 2 * 12);
    FixFailedMemory(ref);
    EXPECT_EQ(ref->num_alloc, 5u);
    EXPECT_EQ(g.bytes_in_use, start + 5 * 12);
    DisposeMemory(ref);
    EXPECT_EQ(g.bytes_in_use, start);
}

TEST_F(MemoryManager, UsesAreCountedAndLockTheData) {
    MemoryRef ref = pgAllocateNewRef(&g, 4, 10, 0, false);
    EXPECT_EQ(UseMemory(ref), UseMemory(ref));
    EXPECT_EQ(GetAccessCtr(ref), 2);
    EXPECT_TRUE(pf::h_get_state(ref->data) & pf::kHandleLocked);
    UnuseMemory(ref);
    EXPECT_TRUE(pf::h_get_state(ref->data) & pf::kHandleLocked);
    UnuseMemory(ref);
    static MemoryRef overreleased = nullptr;
    const auto kept = SetUnbalancedReleaseProc([](MemoryRef released) { overreleased = released; });
    UnuseMemory(ref);  // one too many is reported and changes nothing
    SetUnbalancedReleaseProc(kept);
    EXPECT_EQ(overreleased, ref);
    EXPECT_EQ(GetAccessCtr(ref), 0);
    EXPECT_FALSE(pf::h_get_state(ref->data) & pf::kHandleLocked);
    UseMemory(ref);
    UseMemory(ref);
    UnuseFailedMemory(ref);
    EXPECT_EQ(GetAccessCtr(ref), 0);
    EXPECT_EQ(UseMemoryRecord(ref, 3, 0, true), static_cast<char*>(GetMemoryPtr(ref)) + 12);
    UnuseAndDispose(ref);
}

TEST_F(MemoryManager, AppendLeavesOneUseForTheCaller) {
    MemoryRef ref = pgAllocateNewRef(&g, 2, 1, 2, true);
    auto* first = static_cast<int16_t*>(AppendMemory(ref, 5, true));
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(GetAccessCtr(ref), 1);
    EXPECT_EQ(GetMemorySize(ref), 6);
    EXPECT_EQ(ref->num_alloc, 8u);  // grown by the extend
    first[4] = 77;
    UnuseMemory(ref);
    UseMemory(ref);
    UseMemory(ref);
    AppendMemory(ref, 1, true);  // in use: the answer replaces one use
    EXPECT_EQ(GetAccessCtr(ref), 2);
    UnuseFailedMemory(ref);
    int16_t record;
    GetMemoryRecord(ref, 5, &record);
    EXPECT_EQ(record, 77);
    DisposeMemory(ref);
}

TEST_F(MemoryManager, GrowthPastTheRecordLimitFailsAndKeepsTheRecords) {
    MemoryRef ref = Bytes2Memory(&g, "abcdefghijkl", 4, 3);
    EXPECT_EQ(with_failure_handler(&g, [&] { AppendMemory(ref, INT32_MAX, false); }), kNoMemoryErr);
    EXPECT_EQ(with_failure_handler(&g, [&] { InsertMemory(ref, 1, INT32_MAX - 1); }), kNoMemoryErr);
    EXPECT_EQ(with_failure_handler(&g, [&] { SetMemorySize(ref, INT32_MAX); }), kNoMemoryErr);
    EXPECT_EQ(GetMemorySize(ref), 3);
    EXPECT_EQ(GetAccessCtr(ref), 0);
    EXPECT_EQ(std::memcmp(GetMemoryPtr(ref), "abcdefghijkl", 12), 0);
    DisposeMemory(ref);
}

TEST_F(MemoryManager, InsertAndDeleteMoveTheRecords) {
    MemoryRef ref = Bytes2Memory(&g, "abcdef", 1, 6);
    auto* gap = static_cast<char*>(InsertMemory(ref, 2, 3));
    std::memcpy(gap, "XYZ", 3);
    UnuseMemory(ref);
    unsigned char text[256];
    Memory2PString(ref, text, 255);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(text + 1), text[0]), "abXYZcdef");
    DeleteMemory(ref, 1, 4);
    Memory2PString(ref, text, 3);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(text + 1), text[0]), "acd");
    DeleteMemory(ref, 3, 100);  // cut to what is there
    DeleteMemory(ref, 9, 1);    // past the end: nothing
    EXPECT_EQ(GetMemorySize(ref), 3);
    InsertMemory(ref, 3, 1);    // at the count appends
    UnuseMemory(ref);
    EXPECT_EQ(GetMemorySize(ref), 4);
    DisposeMemory(ref);
}

TEST_F(MemoryManager, CopiesConcatenationAndDuplicates) {
    MemoryRef a = Bytes2Memory(&g, "12345678", 4, 2);
    MemoryRef b = Bytes2Memory(&g, "abcd", 4, 1);
    ConcatMemory(a, b);
    ConcatMemory(a, a);
    EXPECT_EQ(GetMemorySize(a), 6);
    MemoryRef odd = Bytes2Memory(&g, "xyz", 1, 3);
    ConcatMemory(a, odd);  // record sizes differ: nothing
    EXPECT_EQ(GetMemorySize(a), 6);
    SetMemoryRefID(a, 42);
    MemoryRef dup = MemoryDuplicate(a);
    EXPECT_EQ(GetMemoryRefID(dup), 42u);
    EXPECT_EQ(GetByteSize(dup), 24);
    EXPECT_EQ(std::memcmp(GetMemoryPtr(dup), "12345678abcd12345678abcd", 24), 0);
    MemoryCopy(odd, dup);
    EXPECT_EQ(GetMemoryRecSize(dup), 1);
    EXPECT_EQ(GetMemorySize(dup), 3);
    EXPECT_EQ(std::memcmp(GetMemoryPtr(dup), "xyz", 3), 0);
    PtrAndMemory("!!", dup, 2);
    EXPECT_EQ(GetAccessCtr(dup), 0);
    EXPECT_EQ(std::memcmp(GetMemoryPtr(dup), "xyz!!", 5), 0);
    EXPECT_EQ(DuplicateNonNilMemory(nullptr), nullptr);
    for (MemoryRef r : {a, b, odd, dup}) DisposeMemory(r);
}

TEST_F(MemoryManager, The257thBlockGrowsTheMasterListOnce) {
    std::vector<MemoryRef> blocks;
    for (int i = 0; i < kMasterListGrowth; ++i) blocks.push_back(pgAllocateNewRef(&g, 1, 0, 0, false));
    EXPECT_EQ(master_slots(g), kMasterListGrowth);
    EXPECT_EQ(g.first_free_slot, -1);
    int32_t before = g.bytes_in_use;
    blocks.push_back(pgAllocateNewRef(&g, 1, 0, 0, false));
    EXPECT_EQ(master_slots(g), 2 * kMasterListGrowth);
    EXPECT_EQ(g.bytes_in_use, before + kMasterListGrowth * int32_t(sizeof(MemoryRef)));
    EXPECT_EQ(blocks.back()->master_slot, uint32_t(kMasterListGrowth));
    for (int i = 1; i < kMasterListGrowth; ++i) blocks.push_back(pgAllocateNewRef(&g, 1, 0, 0, false));
    EXPECT_EQ(master_slots(g), 2 * kMasterListGrowth);
    for (MemoryRef r : blocks) DisposeMemory(r);
}

TEST_F(MemoryManager, FreedSlotIsTakenFirst) {
    MemoryRef a = pgAllocateNewRef(&g, 1, 0, 0, false);
    MemoryRef b = pgAllocateNewRef(&g, 1, 0, 0, false);
    MemoryRef c = pgAllocateNewRef(&g, 1, 0, 0, false);
    uint32_t slot_of_b = b->master_slot;
    DisposeMemory(b);
    MemoryRef d = pgAllocateNewRef(&g, 1, 0, 0, false);
    EXPECT_EQ(d->master_slot, slot_of_b);
    for (MemoryRef r : {a, c, d}) DisposeMemory(r);
}

// A detached block leaves no header behind in the master list.
TEST_F(MemoryManager, HandleRoundTripClearsTheSlot) {
    int32_t start = g.bytes_in_use;
    pf::Handle h = pf::new_handle(10);
    std::memcpy(*h, "0123456789", 10);
    MemoryRef ref = HandleToMemory(&g, h, 4);
    ASSERT_NE(ref, nullptr);
    EXPECT_EQ(GetMemorySize(ref), 2);
    EXPECT_EQ(pf::get_handle_size(h), 8);
    EXPECT_EQ(ref->flags, kAdoptedBlockPriority);
    uint32_t slot = ref->master_slot;
    UseMemory(ref);  // the handle comes back unlocked whatever its uses
    pf::Handle back = MemoryToHandle(ref);
    EXPECT_EQ(back, h);
    EXPECT_FALSE(pf::h_get_state(back) & pf::kHandleLocked);
    EXPECT_EQ(reinterpret_cast<MemoryRef*>(*g.master_list)[slot], nullptr);
    EXPECT_EQ(g.first_free_slot, int32_t(slot));
    EXPECT_EQ(g.bytes_in_use, start);
    EXPECT_EQ(MemoryPurge(&g, 1 << 20, nullptr), kPurgeShortErr);  // walks the list safely
    pf::dispose_handle(back);
}

TEST_F(MemoryManager, RawMovesAndFills) {
    char bytes[12] = "abcdefghijk";
    msBlockMove(bytes, bytes + 2, 4);  // forwards, overlapping
    EXPECT_EQ(std::string(bytes, 8), "ababcdgh");
    char up[9] = "12345678";
    msBlockMove(up + 4, up + 6, -4);  // backwards: the 4 bytes below up+4 end below up+6
    EXPECT_EQ(std::string(up, 8), "12123478");
    msFillBlock(bytes + 1, 5, 'z');
    EXPECT_EQ(std::string(bytes, 8), "azzzzzgh");
    pf::Handle h = nullptr;
    EXPECT_EQ(AllocateBlock(8, kAllocateClear, &h), 0);
    EXPECT_EQ(std::string(*h, 8), std::string(8, '\0'));
    EXPECT_FALSE(SetHandleLock(h, true));
    EXPECT_TRUE(SetHandleLock(h, false));
    DeleteNonNilMemory(&h);
    EXPECT_EQ(h, nullptr);
    DeleteNonNilMemory(&h);
}

TEST_F(MemoryManager, UndoListsKeepTheirDepth) {
    MemoryRef list = pgAllocateNewRef(&g, sizeof(MemoryRef), 0, 4, false);
    EXPECT_EQ(pg_GetMultUndo(list, -1), nullptr);
    pg_setUndoLevels(2);
    MemoryRef first = pgAllocateNewRef(&g, 1, 4, 0, false);
    MemoryRef second = pgAllocateNewRef(&g, 1, 4, 0, false);
    MemoryRef third = pgAllocateNewRef(&g, 1, 4, 0, false);
    MemoryRef pending = nullptr;
    PrepareMultUndo(list, first, &pending);
    PrepareMultUndo(list, second, &pending);
    PrepareMultUndo(list, third, &pending);  // disposes `first`
    EXPECT_EQ(GetMemorySize(list), 2);
    EXPECT_EQ(pg_GetMultUndo(list, 0), second);
    EXPECT_EQ(pg_GetMultUndo(list, -1), third);
    EXPECT_EQ(pg_GetMultUndo(list, 2), nullptr);
    pg_SetMultUndo(list, 5, first);  // out of range stores nothing
    pg_DisposeMultUndo(list, -1);
    EXPECT_EQ(pg_GetMultUndo(list, -1), second);
    ClobberMultUndo(list);
    EXPECT_EQ(GetMemorySize(list), 0);
    pg_setUndoLevels(0);  // at least one
    pg_incrementUndo(list);
    pg_incrementUndo(list);
    EXPECT_EQ(GetMemorySize(list), 1);
    pg_setUndoLevels(10);
    DisposeMemory(list);
}

}  // namespace
