// Scoped uses: a use given back on every way out of its scope, and never a
// null pointer for a block that could not be brought back.
#include "core/memory_use.h"
#include "memory_test_support.h"

namespace {

using memory_test::MemoryManager;

int fatal_calls = 0;
void record_fatal(int16_t, int32_t) { ++fatal_calls; }

TEST_F(MemoryManager, AUseIsGivenBackByReturnByFailureAndByAnEarlyRelease) {
    MemoryRef ref = pgAllocateNewRef(&g, 1, 64, 0, true);
    {
        MemoryUse<uint8_t> bytes(ref);
        MemoryUse<uint8_t> again(ref);
        bytes[3] = 7;
        EXPECT_EQ(GetAccessCtr(ref), 2);
    }
    EXPECT_EQ(GetAccessCtr(ref), 0);

    int16_t error = with_failure_handler(&g, [&] {
        MemoryUse<uint8_t> bytes(ref);
        msFailure(&g, kNoMemoryErr, nullptr);
    });
    EXPECT_EQ(error, kNoMemoryErr);
    EXPECT_EQ(GetAccessCtr(ref), 0);

    {
        MemoryUse<uint8_t> bytes(ref);
        EXPECT_EQ(bytes[3], 7);
        bytes.release();
        EXPECT_EQ(GetAccessCtr(ref), 0);
        EXPECT_EQ(bytes.get(), nullptr);
    }  // a second release here would be reported as unbalanced
    EXPECT_EQ(GetAccessCtr(ref), 0);
    DisposeMemory(ref);
}

TEST_F(MemoryManager, AGuardOfNoBlockHoldsNoUse) {
    MemoryUse<uint8_t> none(nullptr);
    EXPECT_EQ(none.get(), nullptr);
}

TEST_F(MemoryManager, AGuardFollowsItsRecordsWhenTheBlockGrows) {
    MemoryRef ref = pgAllocateNewRef(&g, 1, 16, 0, true);
    MemoryUse<uint8_t> bytes(ref);
    bytes[0] = 42;
    AppendMemory(ref, 100000, true);
    EXPECT_EQ(bytes.get(), GetMemoryPtr(ref));
    EXPECT_EQ(bytes[0], 42);
    bytes.release();
    DisposeMemory(ref);
}

// A purged block that memory is too short to bring back: the failure goes to
// the innermost frame and the code after the guard never sees a null pointer.
TEST_F(MemoryManager, ABlockThatCannotComeBackFailsToTheFrameInsteadOfAnsweringNull) {
    open_swap_file();
    MemoryRef ref = patterned_block(20000, 3);
    ASSERT_EQ(MemoryPurge(&g, 20000, nullptr), 0);
    ASSERT_TRUE(ref->flags & kPurged);
    free_tire(&g);
    limit_heap(100);
    pf::set_temp_budget(0);
    bool reached = false;
    int16_t error = with_failure_handler(&g, [&] {
        MemoryUse<const uint8_t> bytes(ref);
        reached = true;
    });
    pf::set_heap_budget(pf::kNoBudget);
    pf::set_temp_budget(pf::kNoBudget);
    EXPECT_NE(error, 0);
    EXPECT_EQ(memory_error_to_tell(error), kNoMemoryErr);
    EXPECT_FALSE(reached);
    EXPECT_EQ(GetAccessCtr(ref), 0);
    EXPECT_TRUE(has_pattern(ref, 3)) << "with memory again the block comes back whole";
}

// With no frame at all the last-resort procedure returns; a guard with no
// records to give then ends the program rather than hand out null, even
// when the fatal procedure returns.
TEST_F(MemoryManager, WithNoFrameAGuardThatCannotBringItsBlockBackEndsTheProgram) {
    open_swap_file();
    MemoryRef ref = patterned_block(20000, 4);
    ASSERT_EQ(MemoryPurge(&g, 20000, nullptr), 0);
    g.fatal_proc = record_fatal;
    EXPECT_DEATH(
        {
            free_tire(&g);
            limit_heap(100);
            pf::set_temp_budget(0);
            MemoryUse<const uint8_t> bytes(ref);
            static_cast<void>(bytes);
        },
        "");
}

}  // namespace
