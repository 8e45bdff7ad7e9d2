// The computations behind the statistical functions: the sample variance
// by Welford's running update (no cancellation when the values lie far from
// 0), the median over a sort order that is total even with error values, and
// the rank of a number among values.
#pragma once

#include <cstdint>

// A running count, mean and sum of squared deviations. An error value is not
// counted; the first one met is kept and becomes the result.
struct MomentSum {
    int32_t count = 0;
    double mean = 0;
    double squares = 0;  // sum of (x - mean)^2
    double error = 0;
    bool has_error = false;
};
void add_moment(MomentSum* sum, double value);
// Sample variance: 0 with no values, "#DIV/0!" with one.
double sample_variance(const MomentSum& sum);
double sample_deviation(const MomentSum& sum);

// The sort order of the median: -1, 0 or 1 as a comes before, with or after
// b. Numbers ascend; every error value comes after every number, errors
// among themselves by code; so the order is total for any doubles.
int double_t_compare(double a, double b);
// The median of `count` values, reordering them: "#REF!" for none; the first
// error value in the given order when there is one.
double median_of(double* values, int32_t count);

// The rank of x among values counted so far: 1 plus the values above it
// (descending) or below it (ascending); equal values share a rank.
struct RankCount {
    double x = 0;
    bool ascending = false;
    int32_t beyond = 0;
    double error = 0;
    bool has_error = false;
};
void add_rank_value(RankCount* rank, double value);
double rank_result(const RankCount& rank);
