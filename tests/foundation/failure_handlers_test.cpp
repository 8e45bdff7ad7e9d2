#include <string>
#include <vector>

#include "core/invariant_checks.h"
#include "memory_test_support.h"

namespace {

using memory_test::MemoryManager;

int fatal_calls = 0;
int16_t fatal_error = 0;
void record_fatal(int16_t error, int32_t) {
    ++fatal_calls;
    fatal_error = error;
}

// Notes when it is destroyed, to show unwinding runs destructors.
struct Witness {
    std::vector<std::string>* log;
    const char* name;
    ~Witness() { log->push_back(name); }
};

TEST_F(MemoryManager, FailureReachesTheInnermostFrame) {
    std::vector<std::string> log;
    MemoryRef named = pgAllocateNewRef(&g, 1, 0, 0, false);
    int16_t inner = 0;
    int16_t outer = with_failure_handler(&g, [&] {
        inner = with_failure_handler(&g, [&] {
            Witness w{&log, "inner work"};
            msFailure(&g, kPurgeShortErr, named);
            log.push_back("not reached");
        });
        log.push_back("inner handled");
        EXPECT_EQ(g.failed_ref, named);
        msFailure(&g, inner, g.failed_ref);  // passed on outwards
    });
    EXPECT_EQ(inner, kPurgeShortErr);
    EXPECT_EQ(outer, kPurgeShortErr);
    EXPECT_EQ(g.failed_ref, named);
    EXPECT_EQ(log, (std::vector<std::string>{"inner work", "inner handled"}));
    EXPECT_EQ(g.handler_chain, nullptr);
    EXPECT_EQ(memory_test::last_resort_calls, 0);
}

TEST_F(MemoryManager, FramesPushAndPopInOrder) {
    FailureFrame outer, inner;
    msPushHandler(&g, &outer);
    g.error = 9;
    msPushHandler(&g, &inner);
    EXPECT_EQ(g.error, 0);  // cleared on every push
    EXPECT_EQ(g.handler_chain, &inner);
    EXPECT_EQ(msSuccess(&g), &outer);
    EXPECT_EQ(msSuccess(&g), nullptr);
    EXPECT_EQ(memory_test::last_resort_calls, 0);
    msSuccess(&g);  // stray: a failure with no handler
    EXPECT_EQ(memory_test::last_resort_calls, 1);
}

TEST_F(MemoryManager, RawFramesCatchWhatIsThrownAtThem) {
    FailureFrame frame;
    msPushHandler(&g, &frame);
    try {
        msFailure(&g, -39, nullptr);
        FAIL() << "msFailure returned with a frame pushed";
    } catch (const MemoryFailure& failure) {
        EXPECT_EQ(failure.frame, &frame);
        EXPECT_EQ(failure.error, -39);
    }
    EXPECT_EQ(g.handler_chain, nullptr);  // already unlinked
}

TEST_F(MemoryManager, OtherExceptionsLeaveNoFrameBehind) {
    EXPECT_THROW(with_failure_handler(&g, [] { throw std::runtime_error("other"); }), std::runtime_error);
    EXPECT_EQ(g.handler_chain, nullptr);
}

TEST_F(MemoryManager, NoHandlerGoesToTheLastResortAndReturns) {
    limit_heap(1024);
    pf::set_temp_budget(0);
    free_tire(&g);
    EXPECT_EQ(pgAllocateNewRef(&g, 1, 1 << 20, 0, false), nullptr);
    EXPECT_EQ(memory_test::last_resort_calls, 1);
    EXPECT_EQ(g.error, kPurgeShortErr);  // nothing could be purged
    EXPECT_EQ(g.handler_chain, nullptr);
}

TEST_F(MemoryManager, NoLastResortCallsTheFatalProcedure) {
    fatal_calls = 0;
    g.no_handler_proc = nullptr;
    g.fatal_proc = record_fatal;
    msFailure(&g, kNoMemoryErr, nullptr);
    EXPECT_EQ(fatal_calls, 1);
    EXPECT_EQ(fatal_error, kNoHandlerErr);
    last_gasp_error_handler(&g);  // formats the number and does nothing more
}

TEST_F(MemoryManager, FailureWithAFrameDoesNotReachTheLastResort) {
    limit_heap(1024);
    pf::set_temp_budget(0);
    free_tire(&g);
    MemoryRef made = nullptr;
    int16_t err = with_failure_handler(&g, [&] { made = pgAllocateNewRef(&g, 1, 1 << 20, 0, false); });
    EXPECT_EQ(err, kPurgeShortErr);
    EXPECT_EQ(made, nullptr);
    EXPECT_EQ(memory_test::last_resort_calls, 0);
}

TEST_F(MemoryManager, FailNotErrorLetsTheAllowedCodeThrough) {
    EXPECT_EQ(with_failure_handler(&g, [&] { msFailNotError(&g, 257, 257); }), 0);
    EXPECT_EQ(with_failure_handler(&g, [&] { msFailNotError(&g, 257, 0); }), 0);
    EXPECT_EQ(with_failure_handler(&g, [&] { msFailNotError(&g, 257, 258); }), 258);
}

// Work that takes its frame off the chain and leaves another in its place
// breaks invariant 3: the checked build stops there, saying which one broke.
TEST_F(MemoryManager, AFrameLeftInPlaceOfTheWorksOwnStopsTheCheckedBuild) {
    if (!kInvariantsChecked) GTEST_SKIP() << "invariants are not checked in this build";
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(with_failure_handler(&g,
                                      [&] {
                                          static FailureFrame stray;
                                          msSuccess(&g);
                                          msPushHandler(&g, &stray);
                                      }),
                 "invariant 3 of the failure chain broken");
}

TEST(FailureHandlers, FileErrorsMapToTheReportedSet) {
    const std::pair<int16_t, int16_t> cases[] = {
        {0, 0},     {-61, -54}, {-54, -54}, {-45, -45}, {-44, -44}, {-40, -39},
        {-39, -39}, {-38, -38}, {-34, -34}, {-33, -34}, {-43, -36}, {-108, -36},
    };
    for (auto [in, out] : cases) EXPECT_EQ(msProcessError(in), out) << in;
}

}  // namespace
