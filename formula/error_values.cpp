// Error codes and their texts.
#include "formula/error_values.h"

#include <cstring>

#include "core/number_text.h"
#include "formula/evaluator.h"

void error_text(int16_t code, unsigned char* text) {
    const char* literal;
    switch (code) {
    case kErrDivZero:
    case kErrDivZeroAlt: literal = "#DIV/0!"; break;
    case kErrTextValue: literal = "#TVALUE!"; break;
    case kErrValue: literal = "#VALUE!"; break;
    case kErrRef: literal = "#REF!"; break;
    case kErrBlank: literal = ""; break;
    case kErrNA: literal = "#N/A"; break;
    default: literal = "#NUM!"; break;
    }
    text[0] = uint8_t(std::strlen(literal));
    std::memcpy(text + 1, literal, text[0]);
}

void SetError(int16_t code) {
    g_value = N_AN(code);
    g_valueType = kValueNumber;
}

void SetErrorValue(int16_t code) {
    SetError(code);
    g_resultType = kValueNumber;
}

void CellErrStr(unsigned char* text, const double* value, int16_t digits, int16_t a, int16_t b,
                unsigned char decimal_char) {
    text[0] = 0;
    int16_t code = checkValue(value);
    if (code != 0) {
        error_text(code, text);
        return;
    }
    ExtendedtoStr(text, value, digits, b != 0, a != 0, decimal_char);
}

std::string general_value_text(double value, unsigned char decimal_char) {
    unsigned char text[256];
    CellErrStr(text, &value, -1, 1, 1, decimal_char);
    return std::string(reinterpret_cast<const char*>(text + 1), text[0]);
}
