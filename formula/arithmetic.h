// The arithmetic of the evaluator's operators, shared by the recursive
// evaluator and the decoded formula programs so that both come to the same
// bits.
#pragma once

#include <cmath>
#include <cstdint>

#include "core/number_text.h"
#include "formula/parser.h"

// Both operands of an arithmetic step are errors: the left one's error wins,
// whatever order the hardware would pick between two NaNs. pow(1, NaN) and
// pow(NaN, 0) would even drop the error.
inline bool pass_operand_error(double left, double right, double* result) {
    if (std::isfinite(left) && std::isfinite(right)) return false;  // the usual case, without the calls
    if (checkValue(&left)) {
        *result = left;
        return true;
    }
    if (checkValue(&right)) {
        *result = right;
        return true;
    }
    return false;
}

// One operator step; kOpNone is the power.
inline double arithmetic(double left, double right, int16_t op) {
    double result;
    if (pass_operand_error(left, right, &result)) return result;
    switch (op) {
    case kOpAdd: return left + right;
    case kOpSubtract: return left - right;
    case kOpMultiply: return left * right;
    case kOpDivide: return left / right;
    default: return std::pow(left, right);
    }
}
