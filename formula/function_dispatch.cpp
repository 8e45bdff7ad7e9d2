// Function calls of the evaluator: the table of the worksheet functions, from
// which a call is evaluated by its number; the simple mathematical functions
// are computed here.
#include <cmath>
#include <cstring>
#include <iterator>
#include <numbers>

#include "core/number_text.h"
#include "formula/date_functions.h"
#include "formula/arguments.h"
#include "formula/cell_values.h"
#include "model/compiled_formula.h"
#include "formula/error_values.h"
#include "formula/evaluator.h"
#include "formula/function_table.h"
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
    const int16_t script = argument_text_script();
    if (!argument_text(text, &error)) {
        number_result(error);
        return;
    }
    change_text_case(text, upper, script);
    text_result(text, script);
}

void code_function() {
    GetNextValue();
    unsigned char text[256];
    const int16_t script = argument_text_script();
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
    int16_t error = character_code(text, script, &code);
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
    text_result(text, text[0] == 2 ? pf::kScriptJapanese : pf::kScriptRoman);
}

void t_function() {
    GetNextValue();
    unsigned char text[256] = {0};
    if (g_valueType == kValueText) std::memcpy(text, g_CellString, g_CellString[0] + 1);
    text_result(text, argument_text_script());
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

// A call that is not evaluated (a row without a routine, or a number past the
// table): its argument list is passed over and the value stays as it stands.
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

double radians(double x) { return x / 180.0 * std::numbers::pi; }
double degrees(double x) { return x / std::numbers::pi * 180.0; }
double cotangent(double x) { return 1.0 / std::tan(x); }
double arc_tangent(double x) { return std::atan(x); }

void now_function(int16_t) { number_result(g_calc_time + calculation_day_offset()); }
void today_function(int16_t) { number_result(std::floor(g_calc_time) + calculation_day_offset()); }

constexpr uint8_t kAny = kUnlimitedArguments;

// Every function by its number. An arity written {min, max} reports a missing
// argument with code 3 and takes any argument as it stands.
constexpr WorksheetFunction kFunctions[] = {
    {1, "CELL", {2, 3}, 0, [](int16_t) { CELLRC(); }},
    {2, "ROUND", {1, 2}, 0, ROUND_FUNC},
    {3, "INT", {1, 1}, 0, [](int16_t) { unary([](double x) { return std::floor(x); }); }},
    {4, "IF", {2, 3, kParseMissingClose}, 0, [](int16_t) { IF_FUNC(); }},
    {5, "ABS", {1, 1}, 0, [](int16_t) { unary([](double x) { return std::fabs(x); }); }},
    {6, "AVERAGE", {1, kAny}, 0, [](int16_t) { AVERAGE(); }},
    {7, "MOD", {2, 2}, 0, [](int16_t) { modulo(); }},
    {8, "MAX", {1, kAny}, 0, MINMAX},
    {9, "MIN", {1, kAny}, 0, MINMAX},
    {10, "SUM", {1, kAny}, 0, sum_function},
    {11, "PI", {0, 0, 0}, 0, [](int16_t) { number_result(std::numbers::pi); }},
    {12, "CHOOSE", {2, kAny}, 0, [](int16_t) { CHOOSE(); }},
    {13, "COUNT", {1, kAny}, 0, [](int16_t) { COUNT(); }},
    {14, "ACOS", {1, 1}, 0, [](int16_t) { unary([](double x) { return std::acos(x); }); }},
    {15, "ASIN", {1, 1}, 0, [](int16_t) { unary([](double x) { return std::asin(x); }); }},
    {16, "ATAN", {1, 1}, 0, [](int16_t) { unary(arc_tangent); }},
    {17, "ATAN2", {2, 2}, 0, [](int16_t) { calc_atantoo(); }},
    {18, "TAN", {1, 1}, 0, [](int16_t) { trigonometric([](double x) { return std::tan(x); }); }},
    {19, "COS", {1, 1}, 0, [](int16_t) { trigonometric([](double x) { return std::cos(x); }); }},
    {20, "SIN", {1, 1}, 0, [](int16_t) { trigonometric([](double x) { return std::sin(x); }); }},
    {21, "RADIANS", {1, 1}, 0, [](int16_t) { unary(radians); }},
    {22, "DEGREES", {1, 1}, 0, [](int16_t) { unary(degrees); }},
    {23, "SQRT", {1, 1}, 0, [](int16_t) { square_root(); }},
    {24, "SIGN", {1, 1}, 0, [](int16_t) { sign_function(); }},
    {25, "NOT", {1, 1}, 0, [](int16_t) { not_function(); }},
    {26, "LOG10", {1, 1}, 0, [](int16_t) { unary([](double x) { return std::log10(x); }); }},
    {27, "LN", {1, 1}, 0, [](int16_t) { unary([](double x) { return std::log(x); }); }},
    {28, "EXP", {1, 1}, 0, [](int16_t) { exponential(); }},
    {29, "MINUTE", {1, 1}, 0, date_part},
    {30, "HOUR", {1, 1}, 0, date_part},
    {31, "SECOND", {1, 1}, 0, date_part},
    {32, "YEAR", {1, 1}, 0, date_part},
    {33, "WEEKDAY", {1, 1}, 0, date_part},
    {34, "MONTH", {1, 1}, 0, date_part},
    {35, "DAY", {1, 1}, 0, date_part},
    {36, "TRUE", {0, 0, 0}, 0, [](int16_t) { number_result(1.0); }},
    {37, "FALSE", {0, 0, 0}, 0, [](int16_t) { number_result(0.0); }},
    {38, "RAND", {0, 0, 0}, 0, [](int16_t) { random_number(); }},
    {39, "ERR", {0, 0, 0}, 0, [](int16_t) { number_result(g_StdErr); }},
    {40, "NA", {0, 0, 0}, 0, [](int16_t) { number_result(N_AN(kErrNA)); }},
    {41, "ISNA", {1, 1}, 0, error_test},
    {42, "ISERROR", {1, 1}, 0, error_test},
    {43, "AND", {1, kAny}, 0, [](int16_t) { _AND(); }},
    {44, "OR", {1, kAny}, 0, [](int16_t) { _OR(); }},
    {45, "ANNUITY", {2, 2}, 0, [](int16_t) { binary(annuity); }},
    {46, "COMPOUND", {2, 2}, 0, [](int16_t) { binary(compound_factor); }},
    {47, "PV", {3, 5}, 0, [](int16_t) { PV(); }},
    {48, "FV", {3, 5}, 0, [](int16_t) { FV(); }},
    {49, "PMT", {3, 5}, 0, [](int16_t) { PMT(); }},
    {50, "NPV", {2, kAny}, 0, [](int16_t) { NPV(); }},
    {51, "IRR", {1, 2}, 0, [](int16_t) { IRR(); }},
    {52, "VAR", {1, kAny}, 0, VAR_STDDEV},
    {53, "STDEV", {1, kAny}, 0, VAR_STDDEV},
    {54, "NOW", {0, 0, 0}, kKindDateFormula, now_function},
    {55, "COLUMN", {0, 1, 3, 0b1, true}, 0, position_of_reference},
    {56, "ROW", {0, 1, 3, 0b1, true}, 0, position_of_reference},
    {57, "COT", {1, 1}, 0, [](int16_t) { unary(cotangent); }},
    {58, "ISBLANK", {1, 1}, 0, type_test},
    {59, "ISNUMBER", {1, 1}, 0, type_test},
    {60, "INDEX", {3, 3, 3, 0b1}, 0, [](int16_t) { INDEX(); }},
    {61, "HLOOKUP", {3, 4, 3, 0b10}, 0, H_V_LOOKUP},
    {62, "VLOOKUP", {3, 4, 3, 0b10}, 0, H_V_LOOKUP},
    {63, "DATEADD", {1, 7}, kKindDateFormula, [](int16_t) { add_time(); }},
    {64, "LENB", {1, 1}, 0, LEN},
    {65, "LEFTB", {2, 2}, 0, LEFTB},
    {66, "PAGE", {0, 0, 0}, 0, [](int16_t) { page_number(); }},
    {67, "CODE", {1, 1}, 0, [](int16_t) { code_function(); }},
    {68, "CHAR", {1, 1}, 0, [](int16_t) { char_function(); }},
    {69, "LEFT", {2, 2}, 0, LEFTB},
    {70, "LEN", {1, 1}, 0, LEN},
    {71, "MID", {2, 3}, 0, MID},
    {72, "T", {1, 1}, 0, [](int16_t) { t_function(); }},
    {73, "RIGHT", {2, 2}, 0, RIGHTB},
    {74, "LOWER", {1, 1}, 0, [](int16_t) { change_case(false); }},
    {75, "UPPER", {1, 1}, 0, [](int16_t) { change_case(true); }},
    {76, "COUNTA", {1, kAny}, 0, [](int16_t) { COUNTA(); }},
    {77, "LOOKUP", {2, 3, kParseMissingClose, 0b110}, 0, [](int16_t) { LOOKUP(); }},
    {78, "DATE", {3, 3}, kKindDateFormula, [](int16_t) { read_date(); }},
    {79, "DATEVALUE", {}, kKindDateFormula, [](int16_t) { date_value(false); }},
    {80, "TODAY", {0, 0, 0}, kKindDateFormula, today_function},
    {81, "ISERR", {1, 1}, 0, error_test},
    {82, "LOG", {2, 2}, 0, [](int16_t) { log_to_base(); }},
    {83, "ROUNDUP", {1, 2}, 0, ROUND_FUNC},
    {84, "ISTEXT", {1, 1}, 0, type_test},
    {85, "ROUNDDOWN", {1, 2}, 0, ROUND_FUNC},
    {86, "ISNONTEXT", {1, 1}, 0, type_test},
    {87, "", {1, 1}, 0, nullptr},
    {88, "N", {1, 1}, 0, [](int16_t) { number_value(); }},
    {89, "TYPE", {1, 1}, 0, [](int16_t) { type_code(); }},
    {90, "COLUMNS", {1, 1, 3, 0b1, true}, 0, size_of_reference},
    {91, "ROWS", {1, 1, 3, 0b1, true}, 0, size_of_reference},
    {92, "MIDB", {2, 3}, 0, MID},
    {93, "RIGHTB", {2, 2}, 0, RIGHTB},
    {94, "TRIM", {1, 1}, 0, trimclean_func},
    {95, "YEN", {1, 3}, 0, ROUND_FUNC},
    {96, "REPT", {2, 2}, 0, [](int16_t) { rept(); }},
    {97, "DDB", {4, 5}, 0, [](int16_t) { DDB(); }},
    {98, "SLN", {3, 3}, 0, [](int16_t) { SLN(); }},
    {99, "SYD", {4, 4}, 0, [](int16_t) { SYD(); }},
    {100, "DB", {4, 5}, 0, [](int16_t) { DB(); }},
    {101, "CONVERT", {3, 3}, 0, [](int16_t) { unit_conversion_function(); }},
    {102, "TRUNC", {1, 2}, 0, ROUND_FUNC},
    {103, "FIND", {2, 3, kParseMissingClose}, 0, find_func},
    {104, "RANK", {2, 3, kParseMissingClose}, 0, [](int16_t) { calc_rank(); }},
    {105, "ATANH", {1, 1}, 0, [](int16_t) { inverse_tanh(); }},
    {106, "ACOSH", {1, 1}, 0, [](int16_t) { unary([](double x) { return std::acosh(x); }); }},
    {107, "ASINH", {1, 1}, 0, [](int16_t) { unary([](double x) { return std::asinh(x); }); }},
    {108, "TANH", {1, 1}, 0, [](int16_t) { trigonometric([](double x) { return std::tanh(x); }); }},
    {109, "COSH", {1, 1}, 0, [](int16_t) { trigonometric([](double x) { return std::cosh(x); }); }},
    {110, "SINH", {1, 1}, 0, [](int16_t) { trigonometric([](double x) { return std::sinh(x); }); }},
    {111, "PRODUCT", {1, kAny}, 0, sum_function},
    {112, "ODD", {1, 1}, 0, [](int16_t) { unary([](double x) { return round_to_parity(x, true); }); }},
    {113, "EVEN", {1, 1}, 0, [](int16_t) { unary([](double x) { return round_to_parity(x, false); }); }},
    {114, "POWER", {2, 2}, 0, [](int16_t) { binary([](double x, double y) { return std::pow(x, y); }); }},
    {115, "EXACT", {2, 2}, 0, [](int16_t) { exact_func(); }},
    {116, "GAMMALN", {1, 1}, 0, [](int16_t) { log_gamma(); }},
    {117, "DOLLAR", {1, 3}, 0, ROUND_FUNC},
    {118, "TIME", {3, 3}, 0, [](int16_t) { read_time(); }},
    {119, "TIMEVALUE", {}, kKindTimeFormula, [](int16_t) { date_value(true); }},
    {120, "DAYS360", {2, 3, kParseMissingClose}, 0, [](int16_t) { date360func(); }},
    {121, "CEILING", {2, 2}, 0, CEILINGFLOOR_FUNC},
    {122, "FLOOR", {2, 2}, 0, CEILINGFLOOR_FUNC},
    {123, "FACT", {1, 1}, 0, [](int16_t) { factorial_function(); }},
    {124, "FIXED", {1, 3}, 0, ROUND_FUNC},
    {125, "MEDIAN", {1, kAny}, 0, [](int16_t) { calc_median(); }},
    {126, "OFFSET", {3, 5}, 0, [](int16_t) { calc_offset(); }},
    {127, "CLEAN", {1, 1}, 0, trimclean_func},
    {128, "COMBIN", {2, 2}, 0, calc_permutcombin},
    {129, "CONCATENATE", {1, kAny}, 0, [](int16_t) { concat_func(); }},
    {130, "PROPER", {1, 1}, 0, [](int16_t) { proper_func(); }},
    {131, "SEARCH", {2, 3, kParseMissingClose}, 0, find_func},
    {132, "SUBSTITUTE", {3, 4}, 0, [](int16_t) { substitute_func(); }},
    {133, "PERMUT", {2, 2}, 0, calc_permutcombin},
    {134, "SUMSQ", {1, kAny}, 0, sum_function},
    {135, "FINDB", {2, 3, kParseMissingClose}, 0, find_func},
    {136, "SEARCHB", {2, 3, kParseMissingClose}, 0, find_func},
    {137, "NARGS", {1, kAny}, 0, [](int16_t) { count_arguments(); }},
    {138, "ADDRESS", {2, 4}, kKindDateFormula, [](int16_t) { calc_address(); }},
    {139, "INDIRECT", {1, 2}, 0, [](int16_t) { calc_indirect(); }},
    {140, "REPLACE", {4, 4}, 0, replace_func},
    {141, "REPLACEB", {4, 4}, 0, replace_func},
    {142, "SUMIF", {3, 3}, 0, [](int16_t) { SumIf(); }},
    {143, "COUNTIF", {2, 2}, 0, [](int16_t) { CountIf(); }},
};

static_assert(std::size(kFunctions) == kFunctionCount);

constexpr bool rows_in_number_order() {
    for (size_t i = 0; i < std::size(kFunctions); ++i)
        if (kFunctions[i].number != int16_t(i + 1)) return false;
    return true;
}
static_assert(rows_in_number_order());

}  // namespace

std::span<const WorksheetFunction> worksheet_functions() { return kFunctions; }

const WorksheetFunction* worksheet_function(int number) {
    if (number < 1 || number > int(std::size(kFunctions))) return nullptr;
    return &kFunctions[number - 1];
}

void c_FuncTerm() {
    const int16_t n = g_functionNum;
    g_valueType = kValueNumber;
    g_resultType = kValueNumber;
    const WorksheetFunction* row = worksheet_function(n);
    if (row && row->evaluate) row->evaluate(n);
    else pass_over_call();
}
