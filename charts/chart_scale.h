// Automatic scaling of a chart's value axis: round limits and a round step
// for any set of finite values, however narrow, wide or huge.
#pragma once

#include <string>

struct AxisScale {
    double minimum = 0, maximum = 1;  // minimum < maximum, both finite
    double step = 1;                  // between ticks, > 0
    int intervals = 1;                // ticks are minimum + i * step for i in 0..intervals
};

constexpr int kMostAxisIntervals = 10;
// Limits and a unit a chart fixes for an axis (NaN where it leaves them
// automatic).
struct AxisLimits {
    double minimum, maximum, step;
};
constexpr int kMostFixedIntervals = 50;

// A scale covering low..high (either order; non-finite limits are ignored),
// taking in zero when asked.
AxisScale auto_scale(double low, double high, bool with_zero);
// The automatic scale with the limits and unit the chart fixes; limits that
// leave no range, and a unit that would need more than kMostFixedIntervals
// ticks, are ignored.
AxisScale fixed_scale(double low, double high, bool with_zero, const AxisLimits& limits);
// The value of tick i (the last tick is the maximum itself).
double tick_value(const AxisScale& scale, int i);
// Where a value lies between the limits: 0 at the minimum, 1 at the maximum.
double scale_fraction(const AxisScale& scale, double value);
// A tick's label: up to six significant digits, never "-0".
std::string tick_label(double value);
