// Rounding, multiples, parity, factorial, combinations and the angle of a point.
#include "formula/functions_math.h"

#include <cfloat>
#include <cmath>

#include "formula/function_values.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
// Beyond this the double has no fraction left to round.
constexpr double kWholeFrom = 4503599627370496.0;  // 2^52

double round_whole(double s, RoundKind kind) {
    switch (kind) {
    case RoundKind::half_away: return final_Round(&s);
    case RoundKind::away_from_zero: return s > 0 ? std::ceil(s) : std::floor(s);
    case RoundKind::toward_zero: return s > 0 ? std::floor(s) : std::ceil(s);
    }
    return s;
}

// A quotient within a few units in the last place of an integer is that
// integer: 0.3 / 0.1 is 3, not 2.9999999999999996.
double snap_to_integer(double q) {
    double nearest = std::nearbyint(q);
    return std::fabs(q - nearest) <= 1e-12 * std::fmax(1.0, std::fabs(q)) ? nearest : q;
}

// The product of the integers from `from` to `to`; "#NUM!" past the largest
// double. Every factor but possibly the last is at least 2, so the loop ends
// within about a thousand steps whatever the bounds.
double product_of_range(double from, double to) {
    double product = 1;
    for (double factor = from; factor <= to; ++factor) {
        product *= factor;
        if (product > DBL_MAX) return N_AN(kErrNum);
    }
    return product;
}

// s to the 15 significant digits a decimal number typed by the user holds,
// so that 1.005 * 100 rounds as 100.5 rather than as 100.49999999999999.
double to_typed_precision(double s) {
    if (s == 0) return s;
    double scale = std::pow(10.0, 14 - std::floor(std::log10(std::fabs(s))));
    double snapped = std::nearbyint(s * scale) / scale;
    return std::isfinite(snapped) ? snapped : s;
}

double rounded_count(double x) { return final_Round(&x); }

}  // namespace

double round_to_digits(double x, double digits, RoundKind kind) {
    double error;
    if (first_error_of({x, digits}, &error)) return error;
    double d = std::trunc(digits);
    if (d > 308) return x;  // every double is whole at that many decimals
    if (d < -308) return 0;
    double scale = std::pow(10.0, d);
    double s = x * scale;
    if (std::fabs(s) >= kWholeFrom || !std::isfinite(s)) return x;
    return round_whole(to_typed_precision(s), kind) / scale;
}

double round_to_multiple(double x, double multiple, bool up) {
    double error;
    if (first_error_of({x, multiple}, &error)) return error;
    if ((x > 0 && multiple < 0) || (x < 0 && multiple > 0)) return N_AN(kErrNum);
    if (multiple == 0) return N_AN(kErrDivZero);
    double q = snap_to_integer(x / multiple);
    double whole = up ? (q > 0 ? std::ceil(q) : std::floor(q)) : (q > 0 ? std::floor(q) : std::ceil(q));
    return whole * multiple;
}

double round_to_parity(double x, bool odd) {
    if (is_error_value(x)) return x;
    double whole = x > 0 ? std::ceil(x) : std::floor(x);
    bool is_odd = std::fmod(std::fabs(whole), 2.0) == 1.0;
    if (is_odd == odd) return whole;
    return whole >= 0 ? whole + 1 : whole - 1;
}

double factorial(double x) {
    if (is_error_value(x)) return x;
    if (x < 0) return N_AN(kErrValue);
    return product_of_range(2, rounded_count(x));
}

double permutations(double n, double k) {
    double error;
    if (first_error_of({n, k}, &error)) return error;
    n = rounded_count(n);
    k = rounded_count(k);
    if (n < 0 || k < 0 || k > n) return N_AN(kErrValue);
    return product_of_range(n - k + 1, n);
}

double combinations(double n, double k) {
    double error;
    if (first_error_of({n, k}, &error)) return error;
    n = rounded_count(n);
    k = rounded_count(k);
    if (n < 0 || k < 0 || k > n) return N_AN(kErrValue);
    // C(n, k) = C(n, n - k); the multiplicative form keeps every partial
    // result a whole combination count, which rises by at least (n/2+1)/(n/2)
    // per step and so passes the largest double within about a thousand steps.
    double smaller = std::fmin(k, n - k);
    double result = 1;
    for (double i = 1; i <= smaller; ++i) {
        result = result * (n - smaller + i) / i;
        if (result > DBL_MAX) return N_AN(kErrNum);
    }
    return result < kWholeFrom ? std::nearbyint(result) : result;
}

double point_angle(double x, double y) {
    double error;
    if (first_error_of({x, y}, &error)) return error;
    if (x == 0 && y == 0) return N_AN(kErrDivZero);
    double a = std::atan(x != 0 ? y / x : 0.0);
    if (x < 0) return y < 0 ? a - kPi : a + kPi;
    if (x == 0) return y < 0 ? -kPi / 2 : kPi / 2;
    return a;
}
