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

// A scale covering low..high (either order; non-finite limits are ignored),
// taking in zero when asked.
AxisScale auto_scale(double low, double high, bool with_zero);
// The value of tick i (the last tick is the maximum itself).
double tick_value(const AxisScale& scale, int i);
// Where a value lies between the limits: 0 at the minimum, 1 at the maximum.
double scale_fraction(const AxisScale& scale, double value);
// A tick's label: up to six significant digits, never "-0".
std::string tick_label(double value);
