#include <random>
#include <vector>

#include "memory_test_support.h"

namespace {

using memory_test::MemoryManager;

struct Tracked {
    MemoryRef ref = nullptr;
    std::vector<unsigned char> expected;
};

bool matches(Tracked& t) {
    if (GetByteSize(t.ref) != static_cast<int32_t>(t.expected.size())) return false;
    if (t.expected.empty()) return true;
    auto* p = static_cast<unsigned char*>(UseMemory(t.ref));
    bool same = p && std::memcmp(p, t.expected.data(), t.expected.size()) == 0;
    if (p) UnuseMemory(t.ref);
    return same;
}

// Random growth, shrinking, insertion, deletion and disposal of many blocks in a
// heap too small for them all: every block keeps exactly its records, whatever
// was purged and reloaded meanwhile, and the swap file ends empty.
TEST_F(MemoryManager, ContentsSurviveRandomWorkUnderPressure) {
    open_swap_file();
    std::mt19937 random(1234);
    auto pick = [&](int n) { return static_cast<int>(random() % n); };
    std::vector<Tracked> blocks(60);
    limit_heap(400 * 1024);
    for (int step = 0; step < 20000; ++step) {
        Tracked& t = blocks[pick(int(blocks.size()))];
        if (!t.ref) {
            t.ref = pgAllocateNewRef(&g, 1, 0, pick(64), false);
            ASSERT_NE(t.ref, nullptr);
            t.expected.clear();
            continue;
        }
        switch (pick(6)) {
        case 0: {  // append
            int n = 1 + pick(8000);
            auto* p = static_cast<unsigned char*>(AppendMemory(t.ref, n, false));
            ASSERT_NE(p, nullptr) << step;
            for (int i = 0; i < n; ++i) t.expected.push_back(p[i] = static_cast<unsigned char>(random()));
            UnuseMemory(t.ref);
            break;
        }
        case 1: {  // insert
            int at = pick(int(t.expected.size()) + 1), n = 1 + pick(500);
            auto* p = static_cast<unsigned char*>(InsertMemory(t.ref, at, n));
            ASSERT_NE(p, nullptr) << step;
            std::vector<unsigned char> fresh(n);
            for (auto& b : fresh) b = static_cast<unsigned char>(random());
            std::memcpy(p, fresh.data(), n);
            t.expected.insert(t.expected.begin() + at, fresh.begin(), fresh.end());
            UnuseMemory(t.ref);
            break;
        }
        case 2:  // delete
            if (!t.expected.empty()) {
                int at = pick(int(t.expected.size())), n = 1 + pick(2000);
                DeleteMemory(t.ref, at, n);
                t.expected.erase(t.expected.begin() + at,
                                 t.expected.begin() + std::min<size_t>(t.expected.size(), at + n));
            }
            break;
        case 3: {  // shrink
            int count = pick(int(t.expected.size()) + 1);
            SetMemorySize(t.ref, count);
            t.expected.resize(count);
            break;
        }
        case 4:
            ASSERT_TRUE(matches(t)) << step;
            break;
        default:
            if (pick(4) == 0) {
                DisposeMemory(t.ref);
                t.ref = nullptr;
            }
        }
    }
    EXPECT_EQ(memory_test::last_resort_calls, 0);
    int purged = 0;
    for (Tracked& t : blocks)
        if (t.ref) {
            purged += (t.ref->flags & kPurged) != 0;
            EXPECT_TRUE(matches(t));
            DisposeMemory(t.ref);
        }
    EXPECT_GT(purged, 0);
    auto* ranges = static_cast<uint32_t*>(GetMemoryPtr(g.free_ranges));
    EXPECT_EQ(GetByteSize(g.free_ranges), 8);
    EXPECT_EQ(ranges[0], 0u);
    EXPECT_EQ(ranges[1], 0x7FFFFFFFu);
}

}  // namespace
