// The text functions as the evaluator calls them. Counting characters uses
// the byte classes of the text's script.
#include <cmath>
#include <cstring>

#include "formula/arguments.h"
#include "formula/error_values.h"
#include "formula/evaluator.h"
#include "formula/function_values.h"
#include "formula/functions_text.h"
#include "formula/library.h"
#include "formula/library_support.h"
#include "model/calc_globals.h"
#include "platform/text/text.h"

namespace {

// A count or position argument: an error number is handed on, a text or
// empty value is "#TVALUE!"; otherwise the number truncated, which must be
// at least `least` ("#VALUE!").
bool count_argument(int32_t least, int32_t* count, double* error) {
    if (g_valueType != kValueNumber) {
        *error = N_AN(kErrTextValue);
        return false;
    }
    if (is_error_value(g_value)) {
        *error = g_value;
        return false;
    }
    double whole = std::trunc(g_value);
    if (whole < least) {
        *error = N_AN(kErrValue);
        return false;
    }
    *count = clamp_to_int32(whole);
    return true;
}

// The first (or the next) argument as text; false, with the call ended, for
// an error.
bool read_text(unsigned char* text, bool first, int16_t* script = nullptr) {
    if (first)
        GetNextValue();
    else
        AdvValue();
    double error;
    if (script) *script = argument_text_script();
    if (argument_text(text, &error)) return true;
    skip_remaining_arguments();
    number_result(error);
    return false;
}

// The next argument as a count of at least `least`; false, with the call
// ended, when it is not one.
bool next_count(int32_t least, int32_t* count) {
    AdvValue();
    double error;
    if (count_argument(least, count, &error)) return true;
    skip_remaining_arguments();
    number_result(error);
    return false;
}

using SpanRoutine = void (*)(const unsigned char*, int32_t, unsigned char*, int16_t);

void text_span(SpanRoutine routine) {
    TextBuffer text, out;
    int32_t count;
    int16_t script;
    if (!read_text(text, true, &script) || !next_count(0, &count)) return;
    routine(text, count, out, script);
    text_result(out, script);
}

// The next argument must be text.
bool next_is_text(unsigned char* text, int16_t* script = nullptr) {
    AdvValue();
    if (g_valueType != kValueText) return false;
    copy_register_text(text);
    if (script) *script = g_textScript;
    return true;
}

// The optional argument's number truncated, or the default; an error counts
// as -1.
int32_t optional_position(int32_t fallback) {
    if (!more_arguments()) return fallback;
    AdvValue();
    return is_error_value(g_value) ? -1 : clamp_to_int32(std::trunc(g_value));
}

}  // namespace

void LEN(int16_t number) {
    TextBuffer text;
    int16_t script;
    if (!read_text(text, true, &script)) return;
    number_result(number == 64 ? text[0] : text_characters(text, script));
}

void LEFTB(int16_t number) { text_span(number == 65 ? left_bytes : left_characters); }

void RIGHTB(int16_t number) { text_span(number == 93 ? right_bytes : right_characters); }

void MID(int16_t number) {
    TextBuffer text, out;
    int32_t start, count = 1;
    int16_t script;
    if (!read_text(text, true, &script) || !next_count(1, &start)) return;
    if (more_arguments() && !next_count(1, &count)) return;
    if (number == 92)
        middle_bytes(text, start, count, out, script);
    else
        middle_characters(text, start, count, out, script);
    text_result(out, script);
}

void find_func(int16_t number) {
    TextBuffer find, within;
    GetNextValue();
    bool texts = g_valueType == kValueText;
    if (texts) copy_register_text(find);
    int16_t script = pf::kScriptRoman;
    texts = next_is_text(within, &script) && texts;
    int32_t start = optional_position(1);
    if (!texts || start < 1) {
        error_result(kErrValue);
        return;
    }
    bool ignore_case = number == 131 || number == 136;
    int32_t found = number >= 135 ? FindTextB(find, within, start, ignore_case)
                                  : find_characters(find, within, start, ignore_case, script);
    if (found == 0)
        error_result(kErrValue);
    else
        number_result(found);
}

void substitute_func() {
    TextBuffer text = {0}, old_text, new_text, out;
    GetNextValue();
    const int16_t script = argument_text_script();
    if (g_valueType == kValueText) copy_register_text(text);
    bool texts = next_is_text(old_text);
    int16_t new_script = pf::kScriptRoman;
    texts = next_is_text(new_text, &new_script) && texts;
    int32_t instance = optional_position(0);
    if (!texts || instance < 0) {
        error_result(kErrValue);
        return;
    }
    substitute_text(text, old_text, new_text, instance, out);
    text_result(out, common_script(text, script, new_text, new_script));
}

void rept() {
    TextBuffer text = {0}, out;
    GetNextValue();
    const int16_t script = argument_text_script();
    if (g_valueType == kValueText) {
        copy_register_text(text);
    } else if (g_valueType == kValueNumber) {
        double value = g_value;
        CellErrStr(text, &value, -1, 1, 1, decimalPt);
    }
    AdvValue();
    double count = std::trunc(g_value);
    if (is_error_value(g_value) || count < 0) {
        error_result(kErrValue);
        return;
    }
    repeat_text(text, clamp_to_int32(count), out);
    text_result(out, script);
}

void exact_func() {
    TextBuffer a = {0}, b = {0};
    GetNextValue();
    bool numbers = g_valueType == kValueNumber;
    if (g_valueType == kValueText) copy_register_text(a);
    AdvValue();
    numbers = numbers || g_valueType == kValueNumber;
    if (g_valueType == kValueText) copy_register_text(b);
    if (numbers)
        error_result(kErrNA);
    else
        number_result(texts_exact(a, b) ? 1 : 0);
}

void trimclean_func(int16_t number) {
    TextBuffer text, out;
    int16_t script;
    if (!read_text(text, true, &script)) return;
    if (number == 94)
        trim_spaces(text, out);
    else
        drop_control_characters(text, out);
    text_result(out, script);
}

void proper_func() {
    TextBuffer text, out;
    int16_t script;
    if (!read_text(text, true, &script)) return;
    capitalise_words(text, out, script);
    text_result(out, script);
}

void concat_func() {
    TextBuffer result = {0}, piece;
    int16_t script = pf::kScriptRoman;
    double error = 0;
    bool failed = false;
    GetNextValue();
    for (bool first = true;; first = false) {
        if (!first) AdvValue();
        if (!failed) {
            const int16_t piece_script = argument_text_script();
            failed = !argument_text(piece, &error);
            if (!failed) {
                TextBuffer joined;
                join_register_texts(result, script, piece, piece_script, joined, &script);
                std::memcpy(result, joined, joined[0] + 1);
            }
        }
        if (!more_arguments()) break;
    }
    if (failed)
        number_result(error);
    else
        text_result(result, script);
}

void replace_func(int16_t number) {
    TextBuffer text, new_text, out;
    int16_t script, new_script;
    if (!read_text(text, true, &script)) return;
    double start_count[2];
    read_numbers(start_count, 2, false);
    double error;
    if (first_error_of({start_count[0], start_count[1]}, &error)) {
        skip_remaining_arguments();
        number_result(error);
        return;
    }
    if (!read_text(new_text, false, &new_script)) return;
    int16_t code = number == 141 ? replace_bytes(text, start_count[0], start_count[1], new_text, out)
                                 : replace_characters(text, start_count[0], start_count[1], new_text, out,
                                                      script);
    if (code)
        error_result(code);
    else
        text_result(out, common_script(text, script, new_text, new_script));
}
