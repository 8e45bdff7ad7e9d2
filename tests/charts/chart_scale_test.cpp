// Automatic value scales: round limits covering the data for any finite
// range, with a bounded number of ticks and no division by zero.
#include "charts/chart_scale.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>

namespace {

// Every scale must hold: finite limits around the values, a positive step,
// ticks in order from the minimum to the maximum, and few of them.
void expect_sound(const AxisScale& scale, double low, double high) {
    ASSERT_TRUE(std::isfinite(scale.minimum) && std::isfinite(scale.maximum)) << low << " " << high;
    EXPECT_LT(scale.minimum, scale.maximum);
    EXPECT_LE(scale.minimum, low);
    EXPECT_GE(scale.maximum, high);
    EXPECT_GT(scale.step, 0);
    ASSERT_GE(scale.intervals, 1);
    ASSERT_LE(scale.intervals, kMostAxisIntervals);
    for (int i = 1; i <= scale.intervals; ++i) EXPECT_GT(tick_value(scale, i), tick_value(scale, i - 1)) << i;
    EXPECT_EQ(tick_value(scale, scale.intervals), scale.maximum);
    EXPECT_DOUBLE_EQ(scale_fraction(scale, scale.minimum), 0);
    EXPECT_DOUBLE_EQ(scale_fraction(scale, scale.maximum), 1);
}

TEST(ChartScale, OrdinaryRangesGetRoundStepsAndLimits) {
    AxisScale scale = auto_scale(3, 47, true);
    EXPECT_EQ(scale.minimum, 0);
    EXPECT_EQ(scale.maximum, 50);
    EXPECT_EQ(scale.step, 10);
    scale = auto_scale(-7, 3, true);
    EXPECT_EQ(scale.minimum, -8);
    EXPECT_EQ(scale.maximum, 4);
    EXPECT_EQ(scale.step, 2);
    EXPECT_EQ(tick_label(tick_value(scale, 4)), "0");
    scale = auto_scale(1012, 1088, false);  // no zero asked: the axis starts near the data
    EXPECT_EQ(scale.minimum, 1000);
    EXPECT_EQ(scale.maximum, 1100);
    expect_sound(scale, 1012, 1088);
    scale = auto_scale(0.1, 0.7, true);
    EXPECT_EQ(tick_label(tick_value(scale, 3)), "0.6");  // not 0.6000000000000001
}

TEST(ChartScale, NegativesZerosAndSingleValues) {
    for (auto [low, high] : {std::pair{-50.0, -2.0}, {-3.0, -3.0}, {0.0, 0.0}, {5.0, 5.0}, {-1e-9, 1e-9}, {0.0, 1e-300}})
        for (bool with_zero : {true, false}) expect_sound(auto_scale(low, high, with_zero), low, high);
    AxisScale zero = auto_scale(0, 0, false);
    EXPECT_EQ(zero.minimum, -1);
    EXPECT_EQ(zero.maximum, 1);
    AxisScale negatives = auto_scale(-50, -2, true);
    EXPECT_EQ(negatives.maximum, 0);
    EXPECT_EQ(auto_scale(9, 2, false).minimum, auto_scale(2, 9, false).minimum);  // either order
}

TEST(ChartScale, HugeTinyAndUnroundableRangesStayBounded) {
    const double cases[][2] = {{-DBL_MAX, DBL_MAX}, {0, DBL_MAX}, {1e300, 1.5e308}, {-1e308, -1e307},
                               {DBL_MIN, 2 * DBL_MIN}, {4.9e-324, 1e-323}, {1e17, 1e17 + 64}, {1, 1 + 1e-15},
                               {DBL_MAX, DBL_MAX}, {-DBL_MAX, -DBL_MAX}};
    for (const auto& c : cases)
        for (bool with_zero : {true, false}) expect_sound(auto_scale(c[0], c[1], with_zero), c[0], c[1]);
}

TEST(ChartScale, NonFiniteLimitsAreIgnored) {
    const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
    expect_sound(auto_scale(nan, 4, false), 4, 4);
    expect_sound(auto_scale(-inf, inf, true), 0, 0);
    expect_sound(auto_scale(nan, nan, false), 0, 0);
    EXPECT_EQ(tick_label(-0.0), "0");
}

}  // namespace

namespace {

TEST(ChartScale, FixedLimitsAndUnitsAreTakenWhenTheyLeaveARange) {
    const double none = std::numeric_limits<double>::quiet_NaN();
    AxisScale scale = fixed_scale(3, 47, true, {0, 100, 25});
    EXPECT_EQ(scale.minimum, 0);
    EXPECT_EQ(scale.maximum, 100);
    EXPECT_EQ(scale.step, 25);
    EXPECT_EQ(scale.intervals, 4);
    scale = fixed_scale(3, 47, true, {none, 30, none});  // the data reach past a fixed maximum
    EXPECT_EQ(scale.maximum, 30);
    EXPECT_LE(scale.intervals, kMostFixedIntervals);
    scale = fixed_scale(0, 10, false, {0, 10, 3});  // a unit that does not divide the range
    EXPECT_EQ(scale.intervals, 4);
    EXPECT_EQ(tick_value(scale, 4), 10);

    const AxisScale automatic = auto_scale(3, 47, true);
    for (const AxisLimits& refused : {AxisLimits{50, 10, none}, AxisLimits{5, 5, none}, AxisLimits{none, -20, none},
                                      AxisLimits{none, none, -5}, AxisLimits{none, none, 0}}) {
        scale = fixed_scale(3, 47, true, refused);
        EXPECT_EQ(scale.minimum, automatic.minimum);
        EXPECT_EQ(scale.maximum, automatic.maximum);
    }
    // A unit far too small for the range: the ticks stay few.
    for (const AxisLimits& tiny : {AxisLimits{0, 1e300, 1e-300}, AxisLimits{none, none, 1e-9}, AxisLimits{-DBL_MAX, DBL_MAX, 1}}) {
        scale = fixed_scale(3, 47, true, tiny);
        EXPECT_GE(scale.intervals, 1);
        EXPECT_LE(scale.intervals, kMostFixedIntervals);
        EXPECT_LT(scale.minimum, scale.maximum);
    }
}

}  // namespace
