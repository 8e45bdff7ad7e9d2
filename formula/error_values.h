// Error values: a calculation never fails by jumping out; an error is a quiet
// NaN whose low payload byte is the code (N_AN, checkValue in core). The
// codes, their texts, and the shared setters of the evaluator's registers.
#pragma once

#include <cstdint>
#include <string>

#include "core/number_text.h"  // N_AN, checkValue, checkgValue
#include "formula/function_values.h"

// The codes 4, 17 (g_TextErr), 20, 21 (g_StdErr), 64 and 255 are named in
// function_values.h; these two only show.
constexpr int16_t kErrDivZeroAlt = 8;
constexpr int16_t kErrBlank = 200;  // shows nothing

// The display text of a code ("#DIV/0!", "#NUM!" ...); the empty text for 200.
void error_text(int16_t code, unsigned char* text);

// g_value becomes the error of the code and its type a number; SetErrorValue
// also makes the formula's result a number.
void SetError(int16_t code);
void SetErrorValue(int16_t code);

// The text of a value: an error's text, else the number formatted with the
// digits as decimals (b positional, a trimmed) and the decimal character.
void CellErrStr(unsigned char* text, const double* value, int16_t digits, int16_t a, int16_t b,
                unsigned char decimal_char);

// The general display text of a value (an error's text for an error value).
std::string general_value_text(double value, unsigned char decimal_char);
