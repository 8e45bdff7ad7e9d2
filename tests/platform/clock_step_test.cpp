// The manual clock moving by a step at every reading.
#include <gtest/gtest.h>

#include "platform/events/clock.h"

TEST(ClockStep, ManualClockMovesAtEveryReading) {
    pf::use_manual_clock(1000);
    pf::set_clock_step(50);
    EXPECT_EQ(pf::clock_milliseconds(), 1000u);
    EXPECT_EQ(pf::clock_milliseconds(), 1050u);
    EXPECT_EQ(pf::tick_count(), pf::milliseconds_to_ticks(1100));
    pf::set_clock_step(0);
    EXPECT_EQ(pf::clock_milliseconds(), pf::clock_milliseconds());
    pf::set_clock_step(10);
    pf::use_manual_clock(0);  // a new manual clock stands still
    EXPECT_EQ(pf::clock_milliseconds(), 0u);
    EXPECT_EQ(pf::clock_milliseconds(), 0u);
    pf::use_system_clock();
}
