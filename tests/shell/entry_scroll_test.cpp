// Long-value scroll bars: values beyond the control's 16 bits, clamping, and
// empty ranges that must not divide.
#include <gtest/gtest.h>

#include "platform/controls/controls.h"
#include "platform/windows/windows.h"
#include "shell/entry_scroll.h"

namespace {

struct EntryScrollTest : ::testing::Test {
    pf::Control control;
    pf::ControlRef bar = &control;

    void SetUp() override { ASSERT_EQ(LCAttach(bar), 0); }
    void TearDown() override { LCDetach(bar); }
};

TEST_F(EntryScrollTest, LongMaximumBeyondTheControlsRange) {
    LCSetMax(bar, 100000);
    EXPECT_EQ(LCGetMax(bar), 100000);
    EXPECT_EQ(pf::get_control_maximum(bar), 32767);
    LCSetValue(bar, 100000);
    EXPECT_EQ(LCGetValue(bar), 100000);
    EXPECT_EQ(pf::get_control_value(bar), 32767);
    LCSetValue(bar, 50000);
    EXPECT_NEAR(pf::get_control_value(bar), 16384, 1);
    pf::set_control_value(bar, 32767);
    LCSynch(bar);
    EXPECT_EQ(LCGetValue(bar), 100000);
}

TEST_F(EntryScrollTest, ValuesAreClampedAndEmptyRangesGiveTheMinimum) {
    LCSetMax(bar, 0);
    LCSetValue(bar, 40);
    EXPECT_EQ(LCGetValue(bar), 0);
    EXPECT_EQ(pf::get_control_value(bar), 0);
    LCSynch(bar);
    EXPECT_EQ(LCGetValue(bar), 0);
    LCSetMax(bar, -5);
    EXPECT_EQ(LCGetMax(bar), 0);
    LCSetMax(bar, 64);
    LCSetValue(bar, -3);
    EXPECT_EQ(LCGetValue(bar), 0);
    LCSetValue(bar, 80);
    EXPECT_EQ(LCGetValue(bar), 64);
}

TEST_F(EntryScrollTest, StepsOfArrowsAndPages) {
    EXPECT_EQ(scroll_step(pf::kControlDownButtonPart, 63), 16);
    EXPECT_EQ(scroll_step(pf::kControlUpButtonPart, 63), -16);
    EXPECT_EQ(scroll_step(pf::kControlPageDownPart, 63), 47);
    EXPECT_EQ(scroll_step(pf::kControlPageUpPart, 63), -47);
    EXPECT_EQ(scroll_step(pf::kControlIndicatorPart, 63), 0);
}

TEST_F(EntryScrollTest, HeldArrowsStopAtTheEnds) {
    LCSetMax(bar, 20);
    HandleWEScroll(bar, pf::kControlUpButtonPart);
    EXPECT_EQ(LCGetValue(bar), 0);
    HandleWEScroll(bar, pf::kControlDownButtonPart);
    HandleWEScroll(bar, pf::kControlDownButtonPart);
    EXPECT_EQ(LCGetValue(bar), 20);
    HandleWEScroll(bar, pf::kControlDownButtonPart);
    EXPECT_EQ(LCGetValue(bar), 20);
}

}  // namespace
