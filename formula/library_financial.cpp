// The financial functions as the evaluator calls them: each reads its
// arguments and leaves the result.
#include <cmath>
#include <vector>

#include "formula/arguments.h"
#include "formula/error_values.h"
#include "formula/evaluator.h"
#include "formula/function_values.h"
#include "formula/functions_financial.h"
#include "formula/library.h"
#include "formula/library_support.h"

namespace {

using AnnuityRoutine = double (*)(double, double, double, double, bool);

// rate, periods, a value [, a second value 0 [, type 0]].
void annuity_function(AnnuityRoutine routine) {
    double args[3];
    read_numbers(args, 3, true);
    double second = optional_number(0);
    double type = optional_number(0);
    double error;
    if (first_error_of({args[0], args[1], args[2], second, type}, &error)) {
        number_result(error);
        return;
    }
    number_result(routine(args[0], args[1], args[2], second, std::lround(type) != 0));
}

bool add_npv_cell(void* context) {
    if (have_numeric_value()) add_npv_term(static_cast<NpvSum*>(context), g_value);
    return true;
}

bool collect_cell(void* context) {
    if (have_numeric_value()) static_cast<std::vector<double>*>(context)->push_back(g_value);
    return true;
}

}  // namespace

void PV() { annuity_function(present_value); }
void FV() { annuity_function(future_value); }
void PMT() { annuity_function(payment_per_period); }

void NPV() {
    GetNextValue();
    NpvSum sum{g_value, 0, 0};
    while (more_arguments()) {
        AdvValue();
        if (!value_is_scalar())
            walk_range_cells(&sum, add_npv_cell);
        else if (have_numeric_value())
            add_npv_term(&sum, g_value);
    }
    number_result(is_error_value(sum.rate) ? sum.rate : sum.total);
}

void IRR() {
    GetNextValue();
    bool is_range = !value_is_scalar();
    std::vector<double> values;
    if (is_range) walk_range_cells(&values, collect_cell);
    double guess = optional_number(0.1);
    if (is_error_value(guess)) {
        number_result(guess);
        return;
    }
    if (!is_range) {
        error_result(kErrNum);
        return;
    }
    number_result(internal_rate_of_return(values.data(), static_cast<int32_t>(values.size()), guess));
}

void SLN() {
    double args[3];
    read_numbers(args, 3, true);
    number_result(straight_line_depreciation(args[0], args[1], args[2]));
}

void SYD() {
    double args[4];
    read_numbers(args, 4, true);
    number_result(sum_of_years_depreciation(args[0], args[1], args[2], args[3]));
}

void DDB() {
    double args[4];
    read_numbers(args, 4, true);
    double factor = optional_number(2);
    number_result(double_declining_depreciation(args[0], args[1], args[2], args[3], factor));
}

void DB() {
    double args[4];
    read_numbers(args, 4, true);
    double months = optional_number(12);
    number_result(fixed_declining_depreciation(args[0], args[1], args[2], args[3], months));
}
