#include "formula/functions_math.h"

#include <cmath>

#include "function_test_support.h"

namespace {

const double kNaError = N_AN(kNA);

TEST(RoundToDigits, HalvesGoAwayFromZero) {
    struct Case { double x, d; RoundKind kind; Expected want; };
    const Case cases[] = {
        {2.5, 0, RoundKind::half_away, {3}},
        {-2.5, 0, RoundKind::half_away, {-3}},
        {0.499999999999999, 0, RoundKind::half_away, {1}},
        {0.49999999999999, 0, RoundKind::half_away, {0}},
        {1.005, 2, RoundKind::half_away, {1.01}},
        {1234.5678, -2, RoundKind::half_away, {1200}},
        {1.25, 1.9, RoundKind::half_away, {1.3}},  // digits truncated
        {15, -1, RoundKind::toward_zero, {10}},
        {15, -1, RoundKind::away_from_zero, {20}},
        {-15, -1, RoundKind::toward_zero, {-10}},
        {-15, -1, RoundKind::away_from_zero, {-20}},
        {3.14159, 3, RoundKind::toward_zero, {3.141}},
        {1e300, 2, RoundKind::half_away, {1e300}},
        {123.456, 400, RoundKind::half_away, {123.456}},
        {123.456, -400, RoundKind::half_away, {0}},
        {kNaError, N_AN(kValue), RoundKind::half_away, {0, kNA}},
        {1, N_AN(kValue), RoundKind::half_away, {0, kValue}},
    };
    for (const Case& c : cases) expect_result(round_to_digits(c.x, c.d, c.kind), c.want);
}

TEST(RoundToMultiple, UpAndDownWithSigns) {
    struct Case { double x, m; bool up; Expected want; };
    const Case cases[] = {
        {7, 2, true, {8}},    {7, 2, false, {6}},   {-7, -2, true, {-8}}, {-7, -2, false, {-6}},
        {-7, 2, true, {0, kNum}}, {7, -2, false, {0, kNum}},
        {7, 0, true, {0, kDiv0}},
        {0.3, 0.1, false, {0.3}},  // 0.3 / 0.1 is not taken as 2.999...
        {0, 5, true, {0}},
        {N_AN(kRef), N_AN(kNA), true, {0, kRef}},
    };
    for (const Case& c : cases) expect_result(round_to_multiple(c.x, c.m, c.up), c.want);
}

TEST(RoundToParity, MovesAwayFromZero) {
    struct Case { double x; bool odd; Expected want; };
    const Case cases[] = {
        {2, true, {3}},   {-2, true, {-3}}, {0, true, {1}},  {1.2, true, {3}},
        {3, false, {4}},  {-1, false, {-2}}, {0, false, {0}}, {2.1, false, {4}},
        {kNaError, true, {0, kNA}},
    };
    for (const Case& c : cases) expect_result(round_to_parity(c.x, c.odd), c.want);
}

TEST(Factorial, StandardValues) {
    struct Case { double x; Expected want; };
    const Case cases[] = {
        {0, {1}}, {1, {1}}, {2, {2}}, {3.5, {24}}, {10, {3628800}}, {170, {7.257415615307994e306}},
        {171, {0, kNum}}, {1e300, {0, kNum}}, {-1, {0, kValue}}, {kNaError, {0, kNA}},
    };
    for (const Case& c : cases) expect_result(factorial(c.x), c.want);
}

TEST(Combinatorics, CombinationsAndPermutations) {
    struct Case { double n, k; Expected combin, permut; };
    const Case cases[] = {
        {5, 2, {10}, {20}},
        {5, 5, {1}, {120}},
        {5, 0, {1}, {1}},
        {0, 0, {1}, {1}},
        {200, 2, {19900}, {39800}},
        {1000, 500, {2.7028824094543655e299}, {0, kNum}},
        {1e9, 5e8, {0, kNum}, {0, kNum}},
        {5, 6, {0, kValue}, {0, kValue}},
        {-1, 0, {0, kValue}, {0, kValue}},
        {5.4, 2.6, {10}, {60}},  // both rounded to whole counts
        {kNaError, 2, {0, kNA}, {0, kNA}},
    };
    for (const Case& c : cases) {
        expect_result(combinations(c.n, c.k), c.combin, 1e-12);
        expect_result(permutations(c.n, c.k), c.permut, 1e-12);
    }
}

TEST(AngleOfPoint, QuadrantsAndOrigin) {
    const double pi = 3.14159265358979323846;
    struct Case { double x, y; Expected want; };
    const Case cases[] = {
        {1, 1, {pi / 4}},  {-1, 1, {3 * pi / 4}}, {-1, -1, {-3 * pi / 4}}, {1, -1, {-pi / 4}},
        {-1, 0, {pi}},     {0, -1, {-pi / 2}},    {0, 2, {pi / 2}},          {0, 0, {0, kDiv0}},
        {1, N_AN(kValue), {0, kValue}},
    };
    for (const Case& c : cases) expect_result(point_angle(c.x, c.y), c.want);
}

}  // namespace
