// Error values: a calculation never fails by jumping out; an error is a quiet
// NaN whose low payload byte is the code (N_AN, checkValue in core). The
// shared setters of the evaluator's registers (the codes and their texts are core's).
#pragma once

#include <cstdint>

#include "core/number_text.h"  // N_AN, checkValue, the codes and their texts
#include "formula/function_values.h"

// g_value becomes the error of the code and its type a number; SetErrorValue
// also makes the formula's result a number.
void SetError(int16_t code);
void SetErrorValue(int16_t code);
