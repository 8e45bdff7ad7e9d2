// Round axis limits: a step of 1, 2 or 5 times a power of ten that splits the
// range into at most kMostAxisIntervals, computed without overflow.
#include "charts/chart_scale.h"

#include <cfloat>
#include <cmath>
#include <cstdio>

namespace {

constexpr int kWantedIntervals = 5;

// The round step at or above a raw step (1, 2, 5 times a power of ten).
double round_step(double raw) {
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (double factor : {1.0, 2.0, 5.0, 10.0})
        if (power * factor >= raw * (1 - 1e-12)) return power * factor;
    return power * 10;
}

// Half the distance, safe where the full distance would overflow.
double half_span(double low, double high) { return high / 2 - low / 2; }

// Limits for one value: a band around it (zero alone gives 0..1).
void widen_single(double* low, double* high) {
    const double magnitude = std::fabs(*low);
    const double band = magnitude > 0 ? magnitude / 10 : 1;
    *low -= band;
    *high += band;
    if (!std::isfinite(*low)) *low = -DBL_MAX;
    if (!std::isfinite(*high)) *high = DBL_MAX;
}

// The plain scale low..high with one interval, for ranges no round step fits.
AxisScale single_interval(double low, double high) {
    AxisScale scale;
    scale.minimum = low;
    scale.maximum = high > low ? high : std::nextafter(low, DBL_MAX);
    scale.step = half_span(scale.minimum, scale.maximum) * 2;
    if (!std::isfinite(scale.step) || scale.step <= 0) scale.step = DBL_MAX;
    scale.intervals = 1;
    return scale;
}

}  // namespace

AxisScale auto_scale(double low, double high, bool with_zero) {
    if (!std::isfinite(low)) low = std::isfinite(high) ? high : 0;
    if (!std::isfinite(high)) high = low;
    if (low > high) std::swap(low, high);
    if (with_zero) low = std::fmin(low, 0), high = std::fmax(high, 0);
    if (low == high) widen_single(&low, &high);
    const double raw = half_span(low, high) * 2 / kWantedIntervals;
    if (!std::isfinite(raw) || raw <= DBL_MIN) return single_interval(low, high);
    const double step = round_step(raw);
    AxisScale scale;
    scale.step = step;
    scale.minimum = std::floor(low / step) * step;
    scale.maximum = std::ceil(high / step) * step;
    if (!std::isfinite(scale.minimum)) scale.minimum = low;
    if (!std::isfinite(scale.maximum)) scale.maximum = high;
    const double intervals = std::round(scale.maximum / step - scale.minimum / step);
    // A step lost below the values' precision, or too many ticks: no round scale.
    if (!std::isfinite(step) || scale.minimum + step == scale.minimum || !(intervals >= 1) ||
        intervals > kMostAxisIntervals)
        return single_interval(low, high);
    scale.intervals = int(intervals);
    return scale;
}

double tick_value(const AxisScale& scale, int i) {
    if (i >= scale.intervals) return scale.maximum;
    const double value = scale.minimum + scale.step * i;
    return std::fabs(value) < scale.step * 1e-9 ? 0 : value;
}

double scale_fraction(const AxisScale& scale, double value) {
    const double span = half_span(scale.minimum, scale.maximum);
    if (!(span > 0)) return 0;
    return half_span(scale.minimum, value) / span;
}

std::string tick_label(double value) {
    if (value == 0) value = 0;  // no "-0"
    char text[32];
    std::snprintf(text, sizeof text, "%.6g", value);
    return text;
}

AxisScale fixed_scale(double low, double high, bool with_zero, const AxisLimits& limits) {
    const AxisScale automatic = auto_scale(low, high, with_zero);
    const bool fixed_minimum = std::isfinite(limits.minimum), fixed_maximum = std::isfinite(limits.maximum);
    const bool fixed_step = std::isfinite(limits.step) && limits.step > 0;
    if (!fixed_minimum && !fixed_maximum && !fixed_step) return automatic;
    const double minimum = fixed_minimum ? limits.minimum : automatic.minimum;
    const double maximum = fixed_maximum ? limits.maximum : automatic.maximum;
    if (!(minimum < maximum)) return automatic;
    AxisScale scale = fixed_minimum || fixed_maximum ? auto_scale(minimum, maximum, false) : automatic;
    scale.minimum = minimum;
    scale.maximum = maximum;
    const double wanted = fixed_step ? limits.step : scale.step;
    const double intervals = std::ceil(maximum / wanted - minimum / wanted - 1e-9);
    if (std::isfinite(intervals) && intervals >= 1 && intervals <= kMostFixedIntervals) {
        scale.step = wanted;
        scale.intervals = int(intervals);
    } else {
        scale = single_interval(minimum, maximum);
    }
    return scale;
}
