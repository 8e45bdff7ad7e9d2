// Function calls of the evaluator: the library functions are called by
// number; the simple mathematical functions are computed here.
#include <cmath>
#include <cstring>
#include <numbers>

#include "core/number_text.h"
#include "formula/arguments.h"
#include "formula/cell_values.h"
#include "formula/compiled_formula.h"
#include "formula/error_values.h"
#include "formula/evaluator.h"
#include "formula/functions_financial.h"
#include "formula/functions_math.h"
#include "formula/functions_text.h"
#include "formula/library.h"
#include "formula/library_support.h"
#include "formula/parser.h"
#include "formula/unit_conversion.h"
#include "model/calc_globals.h"
#include "model/date_serials.h"
#include "model/layer.h"
#include "model/model_services.h"
#include "platform/text/text.h"

namespace {

constexpr double kExpHigh = 11356.0;
constexpr double kExpLow = -11355.0;

bool is_error(double value) { return checkValue(&value) != 0; }

// The first argument; false, with the call finished, when it is an error
// (which is then the result).
bool read_x(double* x) {
    GetNextValue();
    *x = g_value;
    if (!is_error(*x)) return true;
    number_result(*x);
    return false;
}

// A function of one number through a math routine; an error stays.
void unary(double (*routine)(double)) {
    double x;
    if (read_x(&x)) number_result(routine(x));
}

// Two numbers; the first error in argument order is the result.
bool read_x_y(double* x, double* y) {
    GetNextValue();
    *x = g_value;
    AdvValue();
    *y = g_value;
    if (is_error(*x)) {
        number_result(*x);
        return false;
    }
    if (is_error(*y)) {
        number_result(*y);
        return false;
    }
    return true;
}

void trigonometric(double (*routine)(double)) {
    double x;
    if (!read_x(&x)) return;
    if (test_sine_value()) {
        SetNValue();
        return;
    }
    number_result(routine(x));
}

// ---- Sums, products and sums of squares --------------------------------------------

double add_or_multiply(double total, double value, int16_t number) {
    if (is_error(total)) return total;
    if (is_error(value)) return value;
    switch (number) {
    case 111: return total * value;
    case 134: return total + value * value;
    default: return total + value;
    }
}

// A range adds its own sum, product or sum of squares; a number adds
// itself (its square for 134); texts and empty values add nothing.
void sum_function(int16_t number) {
    GetNextValue();
    double total = number == 111 ? 1.0 : 0.0;
    for (;;) {
        if (!value_is_scalar()) {
            GetRangeSum(number);
            total = add_or_multiply(total, g_value, number == 134 ? 10 : number);
        } else if (g_valueType < 0) {
            total = add_or_multiply(total, g_value, number);
        }
        if (!more_arguments()) break;
        AdvValue();
    }
    number_result(total);
}

// ---- Texts --------------------------------------------------------------------------

void change_case(bool upper) {
    GetNextValue();
    unsigned char text[256];
    double error = 0;
    if (!argument_text(text, &error)) {
        number_result(error);
        return;
    }
    if (upper)
        pf::uppercase_text(reinterpret_cast<char*>(text + 1), text[0]);
    else
        pf::lowercase_text(reinterpret_cast<char*>(text + 1), text[0]);
    text_result(text);
}

void code_function() {
    GetNextValue();
    unsigned char text[256];
    if (g_valueType == kValueText) {
        std::memcpy(text, g_CellString, g_CellString[0] + 1);
    } else if (is_error(g_value)) {
        SetNValue();
        return;
    } else {
        double v = g_value;
        ExtendedtoStr(text, &v, 2, true, false, decimalPt);
    }
    double code = 0;
    int16_t error = character_code(text, pf::system_script(), &code);
    number_result(error ? N_AN(error) : code);
}

void char_function() {
    GetNextValue();
    if (g_valueType != kValueNumber) {
        error_result(kErrTextValue);
        return;
    }
    if (is_error(g_value)) {
        SetNValue();
        return;
    }
    unsigned char text[256];
    int16_t error = character_of_code(std::trunc(g_value), text);
    if (error) {
        error_result(error);
        return;
    }
    text_result(text);
}

void t_function() {
    GetNextValue();
    unsigned char text[256] = {0};
    if (g_valueType == kValueText) std::memcpy(text, g_CellString, g_CellString[0] + 1);
    text_result(text);
}

// 79 (a date text) and 119 (a time text).
void date_value(bool time_only) {
    GetNextValue();
    if (g_valueType == kValueText) {
        unsigned char copy[256];
        std::memcpy(copy, g_CellString, g_CellString[0] + 1);
        bool read = time_only ? parse_time_of_day(copy, dateOrder, &g_value) : parseDate(copy, dateOrder, false);
        if (!read) g_value = g_StdErr;
    } else if (!is_error(g_value)) {
        g_value = g_StdErr;
    }
    g_CellString[0] = 0;
    SetNValue();
}

// ---- Tests of values -----------------------------------------------------------------

void error_test(int16_t number) {
    GetNextValue();
    int16_t code = have_numeric_value() ? checkgValue() : 0;
    bool yes = number == 41 ? code == kErrNA : number == 42 ? code != 0 : code != 0 && code < kErrNA;
    number_result(yes ? 1 : 0);
}

void type_test(int16_t number) {
    GetNextValue();
    bool yes = false;
    switch (number) {
    case 58: yes = g_valueType == kValueEmpty; break;
    case 59: yes = g_valueType == kValueNumber && !is_error(g_value); break;
    case 84: yes = g_valueType == kValueText; break;
    default: yes = g_valueType != kValueText; break;  // 86
    }
    number_result(yes ? 1 : 0);
}

void type_code() {
    GetNextValue();
    double code = g_valueType == kValueText ? 2 : is_error(g_value) ? 16 : 1;
    number_result(code);
}

// ---- Positions of references ------------------------------------------------------------

void position_of_reference(int16_t number) {
    c_InSymbol();  // the "("
    double result;
    if (Sy == kSyOpen && Ch == ')') {
        c_InSymbol();
        result = (number == 55 ? g_calcCell.h : g_calcCell.v) + 1;
    } else {
        AdvValue();
        const CellRange r = g_rangeRect;
        if (value_is_scalar())
            result = (number == 55 ? r.botRight.h : r.botRight.v) + 1;
        else
            result = (number == 55 ? r.topLeft.h : r.topLeft.v) + 1;
    }
    number_result(result);
}

void size_of_reference(int16_t number) {
    GetNextValue();
    const CellRange r = g_rangeRect;
    double result = 1;
    if (!value_is_scalar())
        result = number == 90 ? r.botRight.h - r.topLeft.h + 1 : r.botRight.v - r.topLeft.v + 1;
    number_result(result);
}

// ---- The rest ----------------------------------------------------------------------------

void log_to_base() {
    double x, y;
    if (!read_x_y(&x, &y)) return;
    if (x < 0 || y <= 0) {
        error_result(kErrNum);
        return;
    }
    number_result(std::log(x) / std::log(y));
}

void modulo() {
    double x, y;
    if (!read_x_y(&x, &y)) return;
    if (y == 0) {
        error_result(kErrDivZero);
        return;
    }
    number_result(x - y * std::floor(x / y));
}

// A function of two numbers; the first error in argument order is the result.
void binary(double (*routine)(double, double)) {
    double x, y;
    if (read_x_y(&x, &y)) number_result(routine(x, y));
}

void square_root() {
    double x;
    if (!read_x(&x)) return;
    if (x < 0) {
        error_result(kErrNum);
        return;
    }
    number_result(std::sqrt(x));
}

void exponential() {
    double x;
    if (!read_x(&x)) return;
    if (x > kExpHigh || x < kExpLow) {
        error_result(kErrValue);
        return;
    }
    number_result(std::exp(x));
}

void inverse_tanh() {
    double x;
    if (!read_x(&x)) return;
    if (x < -1 || x > 1) {
        error_result(kErrValue);
        return;
    }
    number_result(std::atanh(x));
}

void log_gamma() {
    double x;
    if (!read_x(&x)) return;
    if (x == 0) {
        error_result(kErrTextValue);
        return;
    }
    number_result(std::lgamma(x));
}

void factorial_function() {
    GetNextValue();
    number_result(have_numeric_value() ? factorial(g_value) : g_StdErr);
}

void sign_function() {
    double x;
    if (read_x(&x)) number_result(x < 0 ? -1.0 : x > 0 ? 1.0 : x);
}

void not_function() {
    double x;
    if (read_x(&x)) number_result(x == 0 ? 1.0 : 0.0);
}

void random_number() {
    if (g_calcSheet && GetSpreadSheetCalcCycle(g_calcSheet) == 1)
        g_value = random_small();
    else
        g_AccessError = 1;
    SetNValue();
}

double calculation_day_offset() { return calc_uses_1900_dates() ? k1900ShiftDays : 0.0; }

void page_number() {
    int32_t cell = int32_t(uint16_t(g_calcCell.v)) | (int32_t(g_calcCell.h) << 16);
    int16_t page = g_calcSheet ? pageNumber(g_calcSheet, cell) : 0;
    number_result(page ? page : g_AccessError);
}

void count_arguments() {
    GetNextValue();
    int32_t count = 1;
    while (more_arguments()) {
        AdvValue();
        ++count;
    }
    number_result(count);
}

void number_value() {
    GetNextValue();
    g_CellString[0] = 0;
    SetNValue();
}

void date_part(int16_t number) {
    GetNextValue();
    GetDateArg();
    Date_Func(number);
}

// A call that is not evaluated (function 87, or a number past the table):
// its argument list is passed over and the value stays as it stands.
void pass_over_call() {
    if (Ch == '(') {
        int depth = 0;
        while (g_formulaPtr - 1 < g_endPtr) {
            FormulaToken token = read_formula_token(g_formulaPtr - 1, g_endPtr);
            if (token.kind == FormulaTokenKind::malformed) break;
            uint8_t byte = token.start[0];
            g_formulaPtr = token.start + token.length;
            AdvPChar();
            if (token.kind != FormulaTokenKind::op) continue;
            if (byte == '(') ++depth;
            if (byte == ')' && --depth == 0) break;
        }
    }
    c_InSymbol();
}

bool library_function(int16_t n) {
    switch (n) {
    case 1: CELLRC(); return true;
    case 2: case 83: case 85: case 95: case 102: case 117: case 124: ROUND_FUNC(n); return true;
    case 4: IF_FUNC(); return true;
    case 6: AVERAGE(); return true;
    case 8: case 9: MINMAX(n); return true;
    case 12: CHOOSE(); return true;
    case 13: COUNT(); return true;
    case 76: COUNTA(); return true;
    case 17: calc_atantoo(); return true;
    case 43: _AND(); return true;
    case 44: _OR(); return true;
    case 47: PV(); return true;
    case 48: FV(); return true;
    case 49: PMT(); return true;
    case 50: NPV(); return true;
    case 51: IRR(); return true;
    case 52: case 53: VAR_STDDEV(n); return true;
    case 60: INDEX(); return true;
    case 61: case 62: H_V_LOOKUP(n); return true;
    case 77: LOOKUP(); return true;
    case 63: add_time(); return true;
    case 64: case 70: LEN(n); return true;
    case 65: case 69: LEFTB(n); return true;
    case 71: case 92: MID(n); return true;
    case 73: case 93: RIGHTB(n); return true;
    case 78: read_date(); return true;
    case 118: read_time(); return true;
    case 120: date360func(); return true;
    case 94: case 127: trimclean_func(n); return true;
    case 96: rept(); return true;
    case 97: DDB(); return true;
    case 98: SLN(); return true;
    case 99: SYD(); return true;
    case 100: DB(); return true;
    case 103: case 131: case 135: case 136: find_func(n); return true;
    case 104: calc_rank(); return true;
    case 115: exact_func(); return true;
    case 121: case 122: CEILINGFLOOR_FUNC(n); return true;
    case 125: calc_median(); return true;
    case 126: calc_offset(); return true;
    case 128: case 133: calc_permutcombin(n); return true;
    case 129: concat_func(); return true;
    case 130: proper_func(); return true;
    case 132: substitute_func(); return true;
    case 138: calc_address(); return true;
    case 139: calc_indirect(); return true;
    case 140: case 141: replace_func(n); return true;
    case 142: SumIf(); return true;
    case 143: CountIf(); return true;
    default: return false;
    }
}

double radians(double x) { return x / 180.0 * std::numbers::pi; }
double degrees(double x) { return x / std::numbers::pi * 180.0; }
double cotangent(double x) { return 1.0 / std::tan(x); }
double arc_tangent(double x) { return std::atan(x); }

}  // namespace

void c_FuncTerm() {
    const int16_t n = g_functionNum;
    g_valueType = kValueNumber;
    g_resultType = kValueNumber;
    if (n < 1 || n > 143 || n == 87) {
        pass_over_call();
        return;
    }
    if (library_function(n)) return;
    switch (n) {
    case 3: unary([](double x) { return std::floor(x); }); return;
    case 5: unary([](double x) { return std::fabs(x); }); return;
    case 7: modulo(); return;
    case 10: case 111: case 134: sum_function(n); return;
    case 11: number_result(std::numbers::pi); return;
    case 14: unary([](double x) { return std::acos(x); }); return;
    case 15: unary([](double x) { return std::asin(x); }); return;
    case 16: unary(arc_tangent); return;
    case 18: trigonometric([](double x) { return std::tan(x); }); return;
    case 19: trigonometric([](double x) { return std::cos(x); }); return;
    case 20: trigonometric([](double x) { return std::sin(x); }); return;
    case 21: unary(radians); return;
    case 22: unary(degrees); return;
    case 23: square_root(); return;
    case 24: sign_function(); return;
    case 25: not_function(); return;
    case 26: unary([](double x) { return std::log10(x); }); return;
    case 27: unary([](double x) { return std::log(x); }); return;
    case 28: exponential(); return;
    case 29: case 30: case 31: case 32: case 33: case 34: case 35: date_part(n); return;
    case 36: number_result(1.0); return;
    case 37: number_result(0.0); return;
    case 38: random_number(); return;
    case 39: number_result(g_StdErr); return;
    case 40: number_result(N_AN(kErrNA)); return;
    case 41: case 42: case 81: error_test(n); return;
    case 45: binary(annuity); return;
    case 46: binary(compound_factor); return;
    case 54: number_result(g_calc_time + calculation_day_offset()); return;
    case 55: case 56: position_of_reference(n); return;
    case 57: unary(cotangent); return;
    case 58: case 59: case 84: case 86: type_test(n); return;
    case 66: page_number(); return;
    case 67: code_function(); return;
    case 68: char_function(); return;
    case 72: t_function(); return;
    case 74: change_case(false); return;
    case 75: change_case(true); return;
    case 79: date_value(false); return;
    case 119: date_value(true); return;
    case 80: number_result(std::floor(g_calc_time) + calculation_day_offset()); return;
    case 82: log_to_base(); return;
    case 88: number_value(); return;
    case 89: type_code(); return;
    case 90: case 91: size_of_reference(n); return;
    case 101: unit_conversion_function(); return;
    case 105: inverse_tanh(); return;
    case 106: unary([](double x) { return std::acosh(x); }); return;
    case 107: unary([](double x) { return std::asinh(x); }); return;
    case 108: trigonometric([](double x) { return std::tanh(x); }); return;
    case 109: trigonometric([](double x) { return std::cosh(x); }); return;
    case 110: trigonometric([](double x) { return std::sinh(x); }); return;
    case 112: unary([](double x) { return round_to_parity(x, true); }); return;
    case 113: unary([](double x) { return round_to_parity(x, false); }); return;
    case 114: binary([](double x, double y) { return std::pow(x, y); }); return;
    case 116: log_gamma(); return;
    case 123: factorial_function(); return;
    case 137: count_arguments(); return;
    default: pass_over_call(); return;
    }
}
