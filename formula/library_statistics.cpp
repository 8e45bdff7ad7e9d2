// The statistical functions over argument lists and ranges: mean, sample
// variance and deviation, median, rank, combinations and permutations.
#include <vector>

#include "formula/arguments.h"
#include "formula/error_values.h"
#include "formula/evaluator.h"
#include "formula/function_values.h"
#include "formula/functions_math.h"
#include "formula/functions_statistics.h"
#include "formula/library.h"
#include "formula/library_support.h"

namespace {

// Calls `take` with every value of the call's arguments that the function
// counts: numeric cells of ranges, numeric scalars (error values included).
template <typename Take>
void for_each_argument_value(Take&& take) {
    GetNextValue();
    for (bool first = true;; first = false) {
        if (!first) AdvValue();
        if (!value_is_scalar()) {
            walk_range_cells(&take, [](void* context) {
                if (have_numeric_value()) (*static_cast<Take*>(context))(g_value);
                return true;
            });
        } else if (argument_is_number()) {
            take(g_value);
        }
        if (!more_arguments()) break;
    }
}

}  // namespace

void AVERAGE() {
    int32_t count = 0;
    double total = 0, error = 0;
    bool has_error = false;
    for_each_argument_value([&](double value) {
        if (is_error_value(value)) {
            if (!has_error) error = value, has_error = true;
            return;
        }
        total += value;
        count += 1;
    });
    number_result(has_error ? error : count == 0 ? 0 : total / count);
}

void VAR_STDDEV(int16_t number) {
    MomentSum sum;
    for_each_argument_value([&](double value) { add_moment(&sum, value); });
    number_result(number == 53 ? sample_deviation(sum) : sample_variance(sum));
}

void calc_median() {
    std::vector<double> values;
    for_each_argument_value([&](double value) { values.push_back(value); });
    number_result(median_of(values.data(), static_cast<int32_t>(values.size())));
}

void calc_rank() {
    GetNextValue();
    RankCount rank{g_value, false};
    AdvValue();
    HeldRange range = hold_range();
    rank.ascending = optional_number(0) != 0;
    select_range(range);
    int16_t first_layer, last_layer;
    if (check_range_params(&first_layer, &last_layer)) {
        error_result(kErrRef);
        return;
    }
    walk_range_cells(&rank, [](void* context) {
        if (have_numeric_value()) add_rank_value(static_cast<RankCount*>(context), g_value);
        return true;
    });
    number_result(rank_result(rank));
}

void calc_permutcombin(int16_t number) {
    double n_k[2];
    read_numbers(n_k, 2, true);
    number_result(number == 128 ? combinations(n_k[0], n_k[1]) : permutations(n_k[0], n_k[1]));
}
