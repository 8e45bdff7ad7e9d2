#include <cmath>
#include <limits>

#include "formula_fixture.h"

namespace {

std::string shown(double value) { return general_value_text(value, '.'); }

TEST(ErrorValues, CodesShowTheirTexts) {
    EXPECT_EQ(shown(N_AN(4)), "#DIV/0!");
    EXPECT_EQ(shown(N_AN(8)), "#DIV/0!");
    EXPECT_EQ(shown(N_AN(17)), "#TVALUE!");
    EXPECT_EQ(shown(N_AN(20)), "#NUM!");
    EXPECT_EQ(shown(N_AN(21)), "#VALUE!");
    EXPECT_EQ(shown(N_AN(64)), "#REF!");
    EXPECT_EQ(shown(N_AN(255)), "#N/A");
    EXPECT_EQ(shown(N_AN(200)), "");
    for (int16_t other : {1, 3, 100, 128}) EXPECT_EQ(shown(N_AN(other)), "#NUM!") << other;
}

TEST(ErrorValues, InfinitiesAndBareNaNsAreDivisionErrors) {
    double inf = std::numeric_limits<double>::infinity();
    double bare = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(checkValue(&inf), 4);
    double minus_inf = -inf;
    EXPECT_EQ(checkValue(&minus_inf), 4);
    EXPECT_EQ(checkValue(&bare), 4);
    EXPECT_EQ(shown(inf), "#DIV/0!");
}

TEST(ErrorValues, TheCurrentValuesCodeIsItsErrorCode) {
    g_value = N_AN(42);
    EXPECT_EQ(checkgValue(), 42);
    g_value = 0;
    EXPECT_EQ(checkgValue(), 0);
}

TEST(ErrorValues, ZerosAndSubnormalsAreNumbers) {
    double zero = 0.0, minus_zero = -0.0, subnormal = 1e-310, smallest = std::numeric_limits<double>::denorm_min();
    EXPECT_EQ(checkValue(&zero), 0);
    EXPECT_EQ(checkValue(&minus_zero), 0);
    EXPECT_EQ(checkValue(&subnormal), 0);
    EXPECT_EQ(checkValue(&smallest), 0);
    EXPECT_EQ(shown(1e-310), "1E-310");
}

TEST(ErrorValues, NumbersReadTheSameInEveryLocale) {
    // The reader ignores the process locale: a comma is never a decimal point.
    double value = 0;
    EXPECT_EQ(decimal_text_to_double("1.5", 3, &value), 3);
    EXPECT_EQ(value, 1.5);
    EXPECT_EQ(decimal_text_to_double("1,5", 3, &value), 1);
    EXPECT_EQ(decimal_text_to_double("-2e3x", 5, &value), 4);
    EXPECT_EQ(value, -2000);
    EXPECT_EQ(decimal_text_to_double("1e999", 5, &value), 5);
    EXPECT_TRUE(std::isinf(value));
    EXPECT_EQ(decimal_text_to_double("1e-999", 6, &value), 6);
    EXPECT_EQ(value, 0.0);
    EXPECT_EQ(decimal_text_to_double("+-1", 3, &value), 0);
    EXPECT_EQ(decimal_text_to_double("inf", 3, &value), 0);
}

}  // namespace
