// The computations behind the mathematical functions: rounding to digits,
// multiples, parity, factorial, combinations and permutations, the angle of a
// point. Arguments and results are doubles; an error value (a NaN carrying
// its code) given as an argument is answered unchanged, the first one in
// argument order winning.
#pragma once

#include <cstdint>

enum class RoundKind : int16_t {
    half_away,       // 2 and the text forms: halves away from zero
    away_from_zero,  // 83
    toward_zero,     // 85, 102
};

// x rounded to `digits` decimals (truncated; negative digits round to tens,
// hundreds ...).
double round_to_digits(double x, double digits, RoundKind kind);

// x rounded up (121) or down (122) to a multiple of m, away from zero or
// toward it as the sign of x / m says. Opposite signs give "#NUM!", a zero
// multiple "#DIV/0!".
double round_to_multiple(double x, double multiple, bool up);

// x rounded away from zero to the next odd (112) or even (113) integer.
double round_to_parity(double x, bool odd);

// n! of x rounded half away from zero; 0! is 1. Below 0 "#VALUE!"; beyond the
// largest double "#NUM!".
double factorial(double x);

// Combinations (128) and permutations (133) of k out of n, both rounded half
// away from zero: n or k below 0, or k above n, give "#VALUE!"; a result
// beyond the largest double "#NUM!".
double combinations(double n, double k);
double permutations(double n, double k);

// The angle of the point (x, y) from the x axis, -pi..pi; (0, 0) is "#DIV/0!".
double point_angle(double x, double y);
