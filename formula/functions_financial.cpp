// Depreciation, annuities, net present value and internal rate of return.
#include "formula/functions_financial.h"

#include <cmath>
#include <iterator>

#include "formula/function_values.h"

namespace {

constexpr int kMaxNewtonSteps = 100;
constexpr int kMaxBisectionSteps = 200;
constexpr double kRateTolerance = 1e-10;

double num_error() { return N_AN(kErrNum); }

// periods * ln(1 + rate): the one growth exponent every annuity function uses,
// from log1p so that a small rate keeps its digits; NaN where 1 + rate <= 0.
double growth_exponent(double rate, double periods) { return periods * std::log1p(rate); }

// ((1 + rate)^periods - 1) / rate: the future value of 1 paid at the end of
// each period; `periods` at rate 0.
double accumulation_factor(double rate, double periods) {
    if (rate == 0) return periods;
    if (rate <= -1) return (compound(rate, periods) - 1) / rate;
    return std::expm1(growth_exponent(rate, periods)) / rate;
}

double payment_timing(double rate, bool at_start) { return at_start ? 1 + rate : 1; }

// The book value before period n of double-declining depreciation at `rate`
// per period; 0 once a period has written off the whole cost.
double declining_book_value(double cost, double rate, double n) {
    if (n <= 1) return cost;
    if (rate >= 1) return 0;
    return cost * std::pow(1 - rate, n - 1);
}

double npv_at(const double* values, int32_t count, double rate) {
    NpvSum sum{rate, 0, 0};
    for (int32_t i = 0; i < count; ++i) add_npv_term(&sum, values[i]);
    return sum.total;
}

// d NPV / d rate.
double npv_slope(const double* values, int32_t count, double rate) {
    double slope = 0;
    double discount = 1 / (1 + rate);
    double factor = discount;
    for (int32_t k = 1; k <= count; ++k) {
        factor *= discount;  // (1 + rate)^-(k + 1)
        slope -= k * values[k - 1] * factor;
    }
    return slope;
}

bool close_enough(double step, double rate) {
    return std::fabs(step) <= kRateTolerance * std::fmax(1.0, std::fabs(rate));
}

bool newton_rate(const double* values, int32_t count, double guess, double* rate) {
    double r = guess;
    for (int step = 0; step < kMaxNewtonSteps; ++step) {
        double slope = npv_slope(values, count, r);
        if (slope == 0 || !std::isfinite(slope)) return false;
        double next = r - npv_at(values, count, r) / slope;
        if (!std::isfinite(next) || next <= -1) return false;
        if (close_enough(next - r, next)) {
            *rate = next;
            return true;
        }
        r = next;
    }
    return false;
}

// The sign change nearest the guess among a ladder of rates, then halving.
bool bisection_rate(const double* values, int32_t count, double guess, double* rate) {
    static const double kLadder[] = {-0.999, -0.99, -0.9, -0.75, -0.5, -0.25, -0.1, 0, 0.1,
                                     0.25,   0.5,   1,    2,     5,    10,    100,  1000};
    double best_low = 0, best_high = 0, best_distance = INFINITY;
    for (size_t i = 0; i + 1 < std::size(kLadder); ++i) {
        double low = kLadder[i], high = kLadder[i + 1];
        if (npv_at(values, count, low) * npv_at(values, count, high) > 0) continue;
        double distance = std::fabs((low + high) / 2 - guess);
        if (distance < best_distance) best_distance = distance, best_low = low, best_high = high;
    }
    if (best_distance == INFINITY) return false;
    double low_value = npv_at(values, count, best_low);
    for (int step = 0; step < kMaxBisectionSteps; ++step) {
        double middle = (best_low + best_high) / 2;
        double middle_value = npv_at(values, count, middle);
        if ((middle_value < 0) == (low_value < 0) && middle_value != 0) {
            best_low = middle;
            low_value = middle_value;
        } else {
            best_high = middle;
        }
        if (close_enough(best_high - best_low, middle)) {
            *rate = (best_low + best_high) / 2;
            return true;
        }
    }
    return false;
}

}  // namespace

double compound(double rate, double periods) {
    if (rate <= -1) return std::pow(1 + rate, periods);
    return std::exp(growth_exponent(rate, periods));
}

double annuity(double rate, double periods) {
    if (rate == 0) return periods;
    if (rate <= -1) return (1 - 1 / compound(rate, periods)) / rate;
    return -std::expm1(-growth_exponent(rate, periods)) / rate;
}

double compound_factor(double rate, double periods) {
    bool rate_ok = rate > 0 || is_error_value(rate);
    bool periods_ok = periods > 0 || is_error_value(periods);
    if (!rate_ok || !periods_ok) return num_error();
    return compound(rate, periods);
}

double straight_line_depreciation(double cost, double salvage, double life) {
    double error;
    if (first_error_of({cost, salvage, life}, &error)) return error;
    return (cost - salvage) / life;
}

double sum_of_years_depreciation(double cost, double salvage, double life, double period) {
    double error;
    if (first_error_of({cost, salvage, life, period}, &error)) return error;
    if (!(life > 0 && period > 0) || period > life) return num_error();
    return (cost - salvage) * (life - period + 1) / (life * (1 + life) * 0.5);
}

double double_declining_depreciation(double cost, double salvage, double life, double period, double factor) {
    double error;
    if (first_error_of({cost, salvage, life, period, factor}, &error)) return error;
    double n = std::trunc(period);
    if (!(cost > 0 && salvage > 0 && life > 0 && n >= 1 && factor > 0) || n > life) return num_error();
    double rate = factor / life;
    double book = declining_book_value(cost, rate, n);
    if (book <= salvage) return 0;
    double depreciation = book * rate;
    return book - depreciation > salvage ? depreciation : book - salvage;
}

double fixed_declining_depreciation(double cost, double salvage, double life, double period, double months) {
    double error;
    if (first_error_of({cost, salvage, life, period, months}, &error)) return error;
    double n = std::trunc(period);
    if (!(life > 0 && n > 0 && months <= 12 && months >= 1)) return num_error();
    if (n > life && !(months < 12 && life + 1 >= n)) return num_error();
    if (!(salvage > 0 && cost > 0)) return num_error();
    // The rate rounded to three decimals, as the standard definition has it.
    double rate = std::round((1 - std::pow(salvage / cost, 1 / life)) * 1000) / 1000;
    double first = cost * rate * months / 12;
    double depreciation = n == 1 ? first : rate * (cost - first) * std::pow(1 - rate, n - 2);
    return std::trunc(life) >= n ? depreciation : depreciation * (12 - months) / 12;
}

double future_value(double rate, double periods, double payment, double present, bool at_start) {
    double error;
    if (first_error_of({rate, periods, payment, present}, &error)) return error;
    double growth = compound(rate, periods);
    return -(present * growth +
             payment * payment_timing(rate, at_start) * accumulation_factor(rate, periods));
}

double present_value(double rate, double periods, double payment, double future, bool at_start) {
    double error;
    if (first_error_of({rate, periods, payment, future}, &error)) return error;
    double growth = compound(rate, periods);
    return -(future + payment * payment_timing(rate, at_start) * accumulation_factor(rate, periods)) /
           growth;
}

double payment_per_period(double rate, double periods, double present, double future, bool at_start) {
    double error;
    if (first_error_of({rate, periods, present, future}, &error)) return error;
    double growth = compound(rate, periods);
    return -(present * growth + future) /
           (payment_timing(rate, at_start) * accumulation_factor(rate, periods));
}

void add_npv_term(NpvSum* sum, double value) {
    sum->count += 1;
    sum->total += value / std::pow(1 + sum->rate, sum->count);
}

double internal_rate_of_return(const double* values, int32_t count, double guess) {
    if (is_error_value(guess)) return guess;
    bool has_positive = false, has_negative = false;
    for (int32_t i = 0; i < count; ++i) {
        if (is_error_value(values[i])) return num_error();
        has_positive |= values[i] > 0;
        has_negative |= values[i] < 0;
    }
    if (!has_positive || !has_negative) return num_error();
    double rate;
    if (guess > -1 && newton_rate(values, count, guess, &rate)) return rate;
    if (bisection_rate(values, count, guess, &rate)) return rate;
    return num_error();
}
