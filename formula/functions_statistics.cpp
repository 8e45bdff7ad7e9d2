// Variance, median and rank.
#include "formula/functions_statistics.h"

#include <algorithm>
#include <cmath>

#include "formula/function_values.h"

void add_moment(MomentSum* sum, double value) {
    if (is_error_value(value)) {
        if (!sum->has_error) sum->error = value, sum->has_error = true;
        return;
    }
    sum->count += 1;
    double delta = value - sum->mean;
    sum->mean += delta / sum->count;
    sum->squares += delta * (value - sum->mean);
}

double sample_variance(const MomentSum& sum) {
    if (sum.has_error) return sum.error;
    if (sum.count == 0) return 0;
    if (sum.count == 1) return N_AN(kErrDivZero);
    return sum.squares / (sum.count - 1);
}

double sample_deviation(const MomentSum& sum) {
    double variance = sample_variance(sum);
    return is_error_value(variance) ? variance : std::sqrt(variance);
}

int double_t_compare(double a, double b) {
    int16_t code_a = checkValue(&a), code_b = checkValue(&b);
    if (code_a == 0 && code_b == 0) return a < b ? -1 : a > b ? 1 : 0;
    if (code_a == 0 || code_b == 0) return code_a == 0 ? -1 : 1;  // numbers first
    return code_a < code_b ? -1 : code_a > code_b ? 1 : 0;
}

namespace {

bool value_before(double a, double b) { return double_t_compare(a, b) < 0; }

}  // namespace

double median_of(double* values, int32_t count) {
    if (count <= 0) return N_AN(kErrRef);
    for (int32_t i = 0; i < count; ++i)
        if (is_error_value(values[i])) return values[i];
    // Only the middle one or two places of the sorted order are needed.
    int32_t k = (count - 1) / 2;
    std::nth_element(values, values + k, values + count, value_before);
    if (count % 2 == 1) return values[k];
    double upper = *std::min_element(values + k + 1, values + count, value_before);
    return 0.5 * upper + 0.5 * values[k];
}

void add_rank_value(RankCount* rank, double value) {
    if (is_error_value(value)) {
        if (!rank->has_error) rank->error = value, rank->has_error = true;
        return;
    }
    if (rank->ascending ? value < rank->x : value > rank->x) rank->beyond += 1;
}

double rank_result(const RankCount& rank) {
    if (is_error_value(rank.x)) return rank.x;
    if (rank.has_error) return rank.error;
    return rank.beyond + 1.0;
}
