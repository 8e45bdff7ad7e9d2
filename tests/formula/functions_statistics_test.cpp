#include "formula/functions_statistics.h"

#include <vector>

#include "function_test_support.h"

namespace {

MomentSum moments_of(const std::vector<double>& values) {
    MomentSum sum;
    for (double value : values) add_moment(&sum, value);
    return sum;
}

TEST(Variance, SampleVarianceAndDeviation) {
    struct Case { std::vector<double> values; Expected variance, deviation; };
    const Case cases[] = {
        {{1, 2, 3, 4}, {1.6666666666666667}, {1.2909944487358056}},
        {{1e8 + 0.1, 1e8 + 0.2, 1e8 + 0.3}, {0.01}, {0.1}},  // no cancellation far from 0
        {{1e15 + 1, 1e15 + 2, 1e15 + 3, 1e15 + 4}, {1.6666666666666667}, {1.2909944487358056}},
        {{5, 5, 5}, {0}, {0}},
        {{7}, {0, kDiv0}, {0, kDiv0}},
        {{}, {0}, {0}},
        {{1, N_AN(kNA), 3, N_AN(kRef)}, {0, kNA}, {0, kNA}},
    };
    for (const Case& c : cases) {
        MomentSum sum = moments_of(c.values);
        expect_result(sample_variance(sum), c.variance, 1e-7);
        expect_result(sample_deviation(sum), c.deviation, 1e-7);
    }
}

TEST(Median, MiddleValueOrMeanOfTheTwo) {
    struct Case { std::vector<double> values; Expected want; };
    const Case cases[] = {
        {{3, 1, 2}, {2}},
        {{4, 1, 3, 2}, {2.5}},
        {{7}, {7}},
        {{-1, -1e300, 1e300, 0}, {-0.5}},
        {{}, {0, kRef}},
        {{3, N_AN(kNA), 1, N_AN(kValue)}, {0, kNA}},  // the first error in argument order
    };
    for (Case c : cases) expect_result(median_of(c.values.data(), int32_t(c.values.size())), c.want);
}

bool value_before(double a, double b) { return double_t_compare(a, b) < 0; }

TEST(Median, OrderIsStrictAndTotalWithErrors) {
    const std::vector<double> values = {N_AN(kNA), 3, N_AN(kDiv0), -1, N_AN(kNA), 0, N_AN(kRef), 3};
    for (double a : values) {
        EXPECT_FALSE(value_before(a, a));
        for (double b : values) {
            if (value_before(a, b)) {
                EXPECT_FALSE(value_before(b, a));
            }
            for (double c : values) {
                if (value_before(a, b) && value_before(b, c)) {
                    EXPECT_TRUE(value_before(a, c));
                }
            }
        }
    }
    EXPECT_TRUE(value_before(1e300, N_AN(kDiv0)));
    EXPECT_FALSE(value_before(N_AN(kDiv0), -1e300));
    EXPECT_TRUE(value_before(N_AN(kDiv0), N_AN(kNA)));
    EXPECT_EQ(double_t_compare(N_AN(kNA), N_AN(kNA)), 0);
    EXPECT_EQ(double_t_compare(2, 2), 0);
}

TEST(Rank, OnePlusTheValuesBeyond) {
    struct Case { double x; bool ascending; std::vector<double> values; Expected want; };
    const std::vector<double> range = {1, 5, 5, 9};
    const Case cases[] = {
        {5, false, range, {2}},  {5, true, range, {2}},  {10, false, range, {1}},
        {10, true, range, {5}},  {9, false, range, {1}}, {1, true, range, {1}},
        {4, false, range, {4}},  // need not occur
        {3, false, {}, {1}},
        {5, false, {1, N_AN(kNA), 9}, {0, kNA}},
        {N_AN(kRef), false, range, {0, kRef}},
    };
    for (const Case& c : cases) {
        RankCount rank{c.x, c.ascending};
        for (double value : c.values) add_rank_value(&rank, value);
        expect_result(rank_result(rank), c.want);
    }
}

}  // namespace
