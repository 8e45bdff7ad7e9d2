// The mathematical and logical functions over argument lists as the
// evaluator calls them: rounding and its text forms, multiples, the angle of
// a point, extremes, counts, the conditional, logical and and or, choice.
#include <cmath>

#include "core/number_text.h"
#include "formula/arguments.h"
#include "formula/error_values.h"
#include "formula/evaluator.h"
#include "formula/function_values.h"
#include "formula/functions_math.h"
#include "formula/library.h"
#include "formula/library_support.h"
#include "model/cell_format.h"
#include "model/display_text.h"
#include "platform/text/text.h"

namespace {

constexpr uint8_t kFormatYen = 31;
constexpr uint8_t kFormatDollar = '$';
constexpr int kMostTextDecimals = 14;

bool is_text_form(int16_t number) { return number == 95 || number == 117 || number == 124; }

RoundKind round_kind(int16_t number) {
    switch (number) {
    case 83: return RoundKind::away_from_zero;
    case 85: case 102: return RoundKind::toward_zero;
    default: return RoundKind::half_away;
    }
}

uint8_t text_form_code(int16_t number) {
    return number == 95 ? kFormatYen : number == 117 ? kFormatDollar : kFormatGeneral;
}

// The rounded value as the text of a fixed-decimals format.
void rounded_text(int16_t number, double value, double digits, bool thousands) {
    CellFormat format;
    GetDefaultFormat(format.bytes);
    double d = std::trunc(digits);
    int8_t decimals = d > kMostTextDecimals ? kMostTextDecimals : d < -kMostTextDecimals ? 0 : int8_t(d);
    format.bytes[kFmtDecimals] = static_cast<uint8_t>(decimals);
    format.bytes[kFmtCode] = text_form_code(number);
    format.bytes[kFmtFlagsB] |= kFlagBFixedDecimals;
    if (thousands) format.bytes[kFmtFlagsA] |= kFlagAThousands;
    TextBuffer text;
    get_format_string(text, format.bytes, &value, g_calcSheet);
    text_result(text, pf::kScriptRoman);
}

// Tests of the logical functions: a value's truth joined into the running one.
struct LogicalRun {
    bool is_and;
    bool have_value = false;
    double running = 0;
};

void join_logical(LogicalRun* run, double value) {
    if (run->have_value && is_error_value(run->running)) return;
    if (is_error_value(value)) {
        run->running = value;
    } else if (!run->have_value) {
        run->running = value != 0 ? 1 : 0;
    } else if (run->is_and) {
        run->running = run->running != 0 && value != 0 ? 1 : 0;
    } else {
        run->running = run->running != 0 || value != 0 ? 1 : 0;
    }
    run->have_value = true;
}

void logical_function(bool is_and) {
    LogicalRun run{is_and};
    GetNextValue();
    for (bool first = true;; first = false) {
        if (!first) AdvValue();
        if (!value_is_scalar()) {
            int32_t count = 0;
            double combined = 0;
            GetRangeValue(is_and ? 43 : 44, &count, &combined);
            if (count > 0) join_logical(&run, combined);
        } else if (g_valueType != kValueEmpty) {
            join_logical(&run, g_value);  // a text's number is its error
        }
        if (!more_arguments()) break;
    }
    // Arguments without a single value give the value error.
    number_result(run.have_value ? run.running : N_AN(kErrValue));
}

// Counts of numbers (13) or of values (76).
void count_function(int16_t op) {
    int32_t total = 0;
    GetNextValue();
    for (bool first = true;; first = false) {
        if (!first) AdvValue();
        if (!value_is_scalar()) {
            double unused = 0;
            int32_t count = total;
            GetRangeValue(op, &count, &unused);
            total = static_cast<int32_t>(g_value);
        } else if (op == 13 ? argument_is_number() && !is_error_value(g_value) : g_valueType != kValueEmpty) {
            total += 1;
        }
        if (!more_arguments()) break;
    }
    number_result(total);
}

}  // namespace

void ROUND_FUNC(int16_t number) {
    double x[1];
    read_numbers(x, 1, true);
    double digits = optional_number(0);
    double thousands = is_text_form(number) ? optional_number(0) : 0;
    double error;
    if (first_error_of({x[0], digits, thousands}, &error)) {
        number_result(error);
        return;
    }
    double rounded = round_to_digits(x[0], digits, round_kind(number));
    if (is_text_form(number) && !is_error_value(rounded))
        rounded_text(number, rounded, digits, thousands != 0);
    else
        number_result(rounded);
}

void CEILINGFLOOR_FUNC(int16_t number) {
    double args[2];
    read_numbers(args, 2, true);
    number_result(round_to_multiple(args[0], args[1], number == 121));
}

void calc_atantoo() {
    double args[2];
    read_numbers(args, 2, true);
    number_result(point_angle(args[0], args[1]));
}

void MINMAX(int16_t number) {
    int32_t count = 0;
    double current = 0;
    GetNextValue();
    for (bool first = true;; first = false) {
        if (!first) AdvValue();
        if (!value_is_scalar()) {
            GetRangeValue(number, &count, &current);
        } else if (argument_is_number()) {
            double value = g_value;
            bool replaces = count == 0 || is_error_value(value) ||
                            (!is_error_value(current) && (number == 8 ? value > current : value < current));
            if (replaces) current = value;
            count += 1;
        }
        if (!more_arguments()) break;
    }
    number_result(count == 0 ? 0 : current);
}

void COUNT() { count_function(13); }
void COUNTA() { count_function(76); }

void IF_FUNC() {
    GetNextValue();
    double test = g_value;
    if (g_valueType == kValueEmpty) test = 0;
    AdvValue();
    HeldValue then_value = hold_value();
    HeldValue else_value;  // the number 0 when there is no else-value
    else_value.type = kValueNumber;
    if (more_arguments()) {
        AdvValue();
        else_value = hold_value();
    }
    if (is_error_value(test)) {
        number_result(test);
        return;
    }
    held_result(test == 0 ? else_value : then_value);
}

void _AND() { logical_function(true); }
void _OR() { logical_function(false); }

void CHOOSE() {
    GetNextValue();
    double index = is_error_value(g_value) ? 0 : final_Round(&g_value);
    HeldValue chosen;
    bool found = false;
    for (int32_t position = 1; more_arguments(); ++position) {
        AdvValue();
        if (position == index) {
            chosen = hold_value();
            found = true;
        }
    }
    if (found)
        held_result(chosen);
    else
        error_result(kErrRef);
}
