// Small functions the function library shares for error values held in
// doubles.
#pragma once

#include <cstdint>
#include <initializer_list>

#include "core/number_text.h"

inline bool is_error_value(double value) { return checkValue(&value) != 0; }

// The first error value among `values`, in their order, into *error.
inline bool first_error_of(std::initializer_list<double> values, double* error) {
    for (double value : values)
        if (is_error_value(value)) {
            *error = value;
            return true;
        }
    return false;
}

// A double clamped into the int32 range, truncated toward zero; NaN gives 0.
inline int32_t clamp_to_int32(double value) {
    if (!(value == value)) return 0;
    if (value >= 2147483647.0) return 2147483647;
    if (value <= -2147483647.0) return -2147483647;
    return static_cast<int32_t>(value);
}
