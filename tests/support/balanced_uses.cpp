// Linked into every test program: a block released more often than it was used,
// or a use a test left open, fails the test that did it.
#include <gtest/gtest.h>

#include <algorithm>

#include "core/memory_manager.h"

namespace {

void fail_unbalanced_release(MemoryRef ref) {
    ADD_FAILURE() << "a block (id " << GetMemoryRefID(ref) << ") was released more often than it was used";
}

// Blocks in use when a test ends that were not in use as often when it began.
class UsesLeftOpen : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override { at_start = BlocksInUse(); }
    void OnTestEnd(const ::testing::TestInfo& test) override {
        for (const BlockInUse& block : BlocksInUse())
            if (std::find(at_start.begin(), at_start.end(), block) == at_start.end())
                ADD_FAILURE() << test.name() << " left a block (id " << GetMemoryRefID(block.ref) << ") with "
                              << block.uses << " open uses";
    }
    std::vector<BlockInUse> at_start;
};

bool install() {
    SetUnbalancedReleaseProc(fail_unbalanced_release);
    ::testing::UnitTest::GetInstance()->listeners().Append(new UsesLeftOpen);
    return true;
}

const bool installed = install();

}  // namespace
