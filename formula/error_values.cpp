// The evaluator's error values: its current value's code and the setters.
#include "formula/error_values.h"

#include "core/number_text.h"
#include "formula/evaluator.h"

int16_t checkgValue() { return checkValue(&g_value); }

void SetError(int16_t code) {
    g_value = N_AN(code);
    g_valueType = kValueNumber;
}

void SetErrorValue(int16_t code) {
    SetError(code);
    g_resultType = kValueNumber;
}
