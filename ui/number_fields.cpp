// Number and column-letter fields of dialogs, and the little arrows beside them.
#include <cctype>
#include <cmath>
#include <cstring>

#include "ui/dialog_items.h"
#include "core/number_text.h"
#include "platform/screen/cursor.h"
#include "platform/system/international.h"

namespace {

constexpr int kErrorBeep = 9;
constexpr uint32_t kArrowRepeatTicks = 15;
constexpr int16_t kLastColumn = 31999;
constexpr int kLongestZeroText = 3;

unsigned char decimal_separator() { return static_cast<unsigned char>(pf::international_settings().decimal_point); }
bool is_separator(unsigned char ch) { return ch == '.' || ch == decimal_separator(); }
bool is_digit(unsigned char ch) { return ch >= '0' && ch <= '9'; }

bool is_length_unit(int16_t unit) { return unit >= 1 && unit <= 4; }

void read_field(DialogRef dialog, int16_t item, unsigned char* text) { GetDEditText(dialog, item, text); }

void write_field(DialogRef dialog, int16_t item, const unsigned char* text) { SetDEditText(dialog, item, text); }

void select_all(DialogRef dialog, int16_t item) { SelectTheDialogItemText(dialog, item, 0, kAllCharacters); }

// The text without its trailing unit word and blanks.
void without_unit_word(const unsigned char* text, unsigned char* out) {
    std::memcpy(out, text, size_t(text[0]) + 1);
    while (out[0] > 0 && (std::isalpha(out[out[0]]) || out[out[0]] == ' ' || out[out[0]] > 127)) --out[0];
}

// "0", "0.0", "." and the like: a length being typed that stands for zero.
bool is_zero_text(const unsigned char* text) {
    if (text[0] == 0 || text[0] > kLongestZeroText) return false;
    for (int i = 1; i <= text[0]; ++i)
        if (text[i] != '0' && !is_separator(text[i])) return false;
    return true;
}

// A number with at most one separator and at least one digit.
bool is_one_number(const unsigned char* text) {
    int separators = 0, digits = 0;
    for (int i = 1; i <= text[0]; ++i) {
        separators += is_separator(text[i]);
        digits += is_digit(text[i]);
    }
    return separators <= 1 && digits > 0;
}

double points_per_unit_suffix(const unsigned char* echo) {
    if (echo[0] < 3) return 1;
    const char* suffix = reinterpret_cast<const char*>(echo + echo[0] - 2);
    if (!std::strncmp(suffix, " cm", 3)) return 28.45;
    if (!std::strncmp(suffix, " in", 3)) return 72;
    if (!std::strncmp(suffix, " pi", 3)) return 12;
    return 1;
}

// The points of a typed length, exactly enough to compare with the bounds.
bool length_in_points(const unsigned char* text, int16_t unit, bool allow_minus, double* points) {
    unsigned char number[256];
    std::memcpy(number, text, size_t(text[0]) + 1);
    strip_unit_chars(number);
    if (!filter_Num_Chars(true, allow_minus, number) || !is_one_number(number)) return false;
    char plain[256];
    for (int i = 1; i <= number[0]; ++i) plain[i - 1] = is_separator(number[i]) ? '.' : char(number[i]);
    double value = 0;
    if (decimal_text_to_double(plain, number[0], &value) != number[0]) return false;
    unsigned char echo[256];
    margin_text_to_points(text, echo, int16_t(unit - 1));
    *points = value * points_per_unit_suffix(echo);
    return std::isfinite(*points);
}

bool within(double value, int32_t minimum, int32_t maximum) { return value >= minimum && value <= maximum; }

void restore_whole_number(DialogRef dialog, int16_t item, int32_t restore) {
    SetDNum(dialog, item, int16_t(restore), true);
    pf::sys_beep(kErrorBeep);
}

void restore_length(DialogRef dialog, int16_t item, int32_t restore, int16_t unit) {
    unsigned char text[256];
    convert_margin_num(int16_t(restore), text, int16_t(unit - 1));
    write_field(dialog, item, text);
    SelectTheNumberStr(dialog, item);
    pf::sys_beep(kErrorBeep);
}

int16_t item_of_control(DialogRef dialog, pf::ControlRef control) {
    for (int16_t item = 1; item <= pf::count_dialog_items(dialog); ++item)
        if (pf::get_dialog_item_control(dialog, item) == control) return item;
    return 0;
}

int32_t read_field_value(DialogRef dialog, int16_t field, int16_t kind) {
    if (is_length_unit(kind)) return get_margin_num(dialog, field, nullptr, int16_t(kind - 1));
    if (kind != kColumnLetterField) return GetDNum(dialog, field);
    unsigned char text[256];
    read_field(dialog, field, text);
    return ColumnToNumber(text);
}

void write_field_value(DialogRef dialog, int16_t field, int16_t kind, int32_t value) {
    unsigned char text[256];
    if (kind == kColumnLetterField) {
        NumberToColumn(text, int16_t(value));
        write_field(dialog, field, text);
        select_all(dialog, field);
    } else if (is_length_unit(kind)) {
        convert_margin_num(int16_t(value), text, int16_t(kind - 1));
        write_field(dialog, field, text);
        SelectTheNumberStr(dialog, field);
    } else {
        SetDNum(dialog, field, int16_t(value), true);
    }
}

}  // namespace

bool filter_Num_Chars(bool allow_decimal, bool allow_minus, const unsigned char* text) {
    if (text[0] == 0) return false;
    for (int i = 1; i <= text[0]; ++i) {
        unsigned char ch = text[i];
        if (is_digit(ch) || (allow_decimal && is_separator(ch)) || (allow_minus && ch == '-' && i == 1)) continue;
        return false;
    }
    return true;
}

int16_t get_margin_num(DialogRef dialog, int16_t item, unsigned char* echo, int16_t default_unit) {
    unsigned char text[256];
    GetDNumberText(dialog, item, text);
    return margin_text_to_points(text, echo, default_unit);
}

namespace {

// A number field's text as it is read, and the same without a length's unit
// word. A length is read without the blanks around it, a whole number as
// GetDNum reads it.
struct NumberText {
    unsigned char typed[256];
    unsigned char number[256];
};

void read_number_text(DialogRef dialog, int16_t item, int16_t unit, NumberText* text) {
    if (is_length_unit(unit)) {
        GetDNumberText(dialog, item, text->typed);
        without_unit_word(text->typed, text->number);
    } else {
        read_field(dialog, item, text->typed);
        std::memcpy(text->number, text->typed, size_t(text->typed[0]) + 1);
    }
}

// The number of a field's text, a length in points; false when it is none.
bool number_of(const NumberText& text, bool allow_minus, int16_t unit, double* value) {
    if (is_length_unit(unit)) {
        if (!is_zero_text(text.number)) return length_in_points(text.typed, unit, allow_minus, value);
        *value = 0;
        return true;
    }
    int32_t whole = 0;
    if (!filter_Num_Chars(false, allow_minus, text.number) || !parse_whole_number(text.number, &whole)) return false;
    *value = whole;
    return true;
}

}  // namespace

bool field_number_within(DialogRef dialog, int16_t item, bool allow_empty, int32_t minimum, int32_t maximum,
                         int16_t unit) {
    NumberText text;
    read_number_text(dialog, item, unit, &text);
    if (text.number[0] == 0) return allow_empty;
    double value = 0;
    return number_of(text, minimum < 0, unit, &value) && within(value, minimum, maximum);
}

bool field_holds_number(DialogRef dialog, int16_t item, bool allow_minus, int16_t unit) {
    NumberText text;
    read_number_text(dialog, item, unit, &text);
    double value = 0;
    return text.number[0] > 0 && number_of(text, allow_minus, unit, &value);
}

int16_t ValidArrowNum(DialogRef dialog, int16_t item, bool allow_empty, int32_t minimum, int32_t maximum,
                      int32_t restore, int16_t unit) {
    if (field_number_within(dialog, item, allow_empty, minimum, maximum, unit)) return 1;
    if (is_length_unit(unit)) restore_length(dialog, item, restore, unit);
    else restore_whole_number(dialog, item, restore);
    return 0;
}

int16_t ValidArrowLetter(DialogRef dialog, int16_t item) {
    unsigned char text[256];
    read_field(dialog, item, text);
    if (text[0] == 0) return 1;
    bool letters = true;
    for (int i = 1; i <= text[0]; ++i) letters = letters && std::isalpha(text[i]);
    int16_t column = letters ? ColumnToNumber(text) : -1;
    if (column >= 0 && column <= kLastColumn) return 1;
    const unsigned char empty[1] = {0};
    write_field(dialog, item, empty);
    select_all(dialog, item);
    return 0;
}

void SelectTheNumberStr(DialogRef dialog, int16_t item) {
    unsigned char text[256];
    read_field(dialog, item, text);
    int16_t end = 0;
    while (end < text[0] && text[end + 1] != ' ') ++end;
    SelectTheDialogItemText(dialog, item, 0, end);
}

void HandleLittleArrows(pf::ControlRef control, int16_t part) {
    pf::DialogRef dialog = control ? pf::get_dialog_from_window(control->window) : nullptr;
    int16_t arrows = dialog ? item_of_control(dialog, control) : 0;
    if (arrows <= 1) return;
    int16_t field = int16_t(arrows - 1);
    int16_t kind = int16_t(control->refcon);
    pf::set_control_value(control, read_field_value(dialog, field, kind));
    int32_t step = (part == pf::kControlUpButtonPart || part == pf::kControlPageUpPart) ? 1
                   : (part == pf::kControlDownButtonPart || part == pf::kControlPageDownPart) ? -1
                                                                                             : 0;
    pf::set_control_value(control, pf::get_control_value(control) + step);
    write_field_value(dialog, field, kind, pf::get_control_value(control));
    dialog_pause(kArrowRepeatTicks);
}
