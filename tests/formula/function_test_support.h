// Shared checks for the function library's tests.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

#include "core/number_text.h"

// The error code of a value, 0 for a number.
inline int error_code(double value) { return checkValue(&value); }

// A length-prefixed text from a literal.
struct PText {
    unsigned char bytes[256] = {0};
    explicit PText(const std::string& text) {
        bytes[0] = static_cast<unsigned char>(text.size());
        std::memcpy(bytes + 1, text.data(), text.size());
    }
    operator const unsigned char*() const { return bytes; }
};

inline std::string as_string(const unsigned char* text) {
    return std::string(reinterpret_cast<const char*>(text + 1), text[0]);
}

// A number within a relative tolerance, or an error code when `code` is not 0.
struct Expected {
    double value;
    int code = 0;
};

inline void expect_result(double actual, Expected expected, double tolerance = 1e-9) {
    if (expected.code != 0) {
        EXPECT_EQ(error_code(actual), expected.code) << "value " << actual;
        return;
    }
    EXPECT_EQ(error_code(actual), 0);
    EXPECT_NEAR(actual, expected.value, tolerance * std::fmax(1.0, std::fabs(expected.value)));
}

constexpr int kDiv0 = 4, kTValue = 17, kNum = 20, kValue = 21, kRef = 64, kNA = 255;
