// The computations behind the financial functions: depreciation, the
// annuity functions and the cash-flow functions. Error values among the
// arguments are answered unchanged, the first in argument order winning;
// domain failures give "#NUM!".
#pragma once

#include <cstdint>

// (1 + rate)^periods, and the present value of 1 paid at the end of each of
// `periods` periods, (1 - (1 + rate)^-periods) / rate (periods at rate 0).
double compound(double rate, double periods);
double annuity(double rate, double periods);
// Function 46: the compound factor for a rate and periods above 0.
double compound_factor(double rate, double periods);

// Depreciation for one period.
double straight_line_depreciation(double cost, double salvage, double life);
double sum_of_years_depreciation(double cost, double salvage, double life, double period);
double double_declining_depreciation(double cost, double salvage, double life, double period, double factor);
double fixed_declining_depreciation(double cost, double salvage, double life, double period, double months);

// The annuity functions; `at_start` (type 1) puts payments at the start of
// each period. Money paid out is negative, money received positive.
double future_value(double rate, double periods, double payment, double present, bool at_start);
double present_value(double rate, double periods, double payment, double future, bool at_start);
double payment_per_period(double rate, double periods, double present, double future, bool at_start);

// A running net present value: the k-th value added is discounted k periods.
struct NpvSum {
    double rate = 0;
    int32_t count = 0;
    double total = 0;
};
void add_npv_term(NpvSum* sum, double value);

// The rate at which the net present value of `values` (first value one
// period out) is 0, found from `guess`; "#NUM!" when the values do not change
// sign or the search does not converge.
double internal_rate_of_return(const double* values, int32_t count, double guess);
