// Linked into every test program: a block released more often than it was used
// fails the test that did it.
#include <gtest/gtest.h>

#include "core/memory_manager.h"

namespace {

void fail_unbalanced_release(MemoryRef ref) {
    ADD_FAILURE() << "a block (id " << GetMemoryRefID(ref) << ") was released more often than it was used";
}

const bool installed = (SetUnbalancedReleaseProc(fail_unbalanced_release), true);

}  // namespace
