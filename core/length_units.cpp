// Lengths as whole points, typed and shown in centimetres, inches, points or picas.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "core/number_text.h"
#include "core/string_utils.h"
#include "platform/system/international.h"

namespace {

constexpr int kMaxKeptCharacters = 7;
constexpr double kPointsPerCentimetre = 28.45;

const unsigned char* unit_suffix(int16_t unit) {
    static const unsigned char* const suffixes[] = {
        reinterpret_cast<const unsigned char*>("\3 cm"), reinterpret_cast<const unsigned char*>("\3 in"),
        reinterpret_cast<const unsigned char*>("\3 pt"), reinterpret_cast<const unsigned char*>("\3 pi")};
    return unit >= 0 && unit <= 3 ? suffixes[unit] : nullptr;
}

unsigned char system_decimal_separator() {
    return static_cast<unsigned char>(pf::international_settings().decimal_point);
}

bool is_digit(unsigned char ch) { return ch >= '0' && ch <= '9'; }

bool is_unit_letter(unsigned char ch) { return ch > 127 || std::isalpha(ch); }

// The unit named by the trailing run of letters, or the default.
int16_t unit_of_text(const unsigned char* text, int16_t default_unit) {
    int end = text[0];
    int start = end;
    while (start > 0 && is_unit_letter(text[start])) --start;
    char word[4] = {};
    if (end - start > 2) return default_unit;
    for (int i = start + 1; i <= end; ++i) word[i - start - 1] = static_cast<char>(std::toupper(text[i]));
    if (!std::strcmp(word, "P") || !std::strcmp(word, "PI")) return kUnitPicas;
    if (!std::strcmp(word, "PT")) return kUnitPoints;
    if (!std::strcmp(word, "I") || !std::strcmp(word, "IN")) return kUnitInches;
    if (!std::strcmp(word, "C") || !std::strcmp(word, "CM")) return kUnitCentimetres;
    return default_unit;
}

// Hundredths of the number in the text ("-12.345" -> -1234); false when the text
// holds anything but an optional leading minus, digits and one separator.
bool parse_hundredths(const unsigned char* text, int64_t& hundredths) {
    int64_t whole = 0, fraction = 0;
    int fraction_digits = 0;
    bool negative = false, after_separator = false;
    for (int i = 1; i <= text[0]; ++i) {
        unsigned char ch = text[i];
        if (ch == '-' && i == 1) {
            negative = true;
        } else if ((ch == '.' || ch == system_decimal_separator()) && !after_separator) {
            after_separator = true;
        } else if (!is_digit(ch)) {
            return false;
        } else if (!after_separator) {
            whole = whole * 10 + (ch - '0');
        } else if (fraction_digits < 2) {
            fraction = fraction * 10 + (ch - '0');
            ++fraction_digits;
        }
    }
    if (fraction_digits == 1) fraction *= 10;
    hundredths = (whole * 100 + fraction) * (negative ? -1 : 1);
    return true;
}

// Cut to an integer, raised by one when the cut-off part is a half or more.
int64_t rounded_half_up(double magnitude) {
    double whole = std::floor(magnitude);
    return static_cast<int64_t>(magnitude - whole >= 0.5 ? whole + 1 : whole);
}

// Points in one of the unit; 0 for points and units without a size (kept whole).
double points_per_unit(int16_t unit) {
    switch (unit) {
    case kUnitInches: return 72;
    case kUnitPicas: return 12;
    case kUnitCentimetres: return kPointsPerCentimetre;
    default: return 0;
    }
}

int16_t points_of(int64_t hundredths, int16_t unit) {
    int64_t magnitude = hundredths < 0 ? -hundredths : hundredths;
    double scale = points_per_unit(unit);
    int64_t points = scale ? rounded_half_up(magnitude * scale / 100.0) : magnitude / 100;
    points = std::min<int64_t>(points, INT16_MAX);
    return static_cast<int16_t>(hundredths < 0 ? -points : points);
}

}  // namespace

void strip_unit_chars(unsigned char* text) {
    while (text[0] > 0 && !is_digit(text[text[0]])) --text[0];
}

void concat_unit_str(unsigned char* text, int16_t unit) {
    const unsigned char* suffix = unit_suffix(unit);
    if (suffix && text[0] < 5) ConcatPString(text, suffix);
}

int16_t margin_text_to_points(const unsigned char* text, unsigned char* echo, int16_t default_unit) {
    int16_t unit = unit_of_text(text, default_unit);
    unsigned char kept[256];
    std::memcpy(kept, text, text[0] + 1);
    strip_unit_chars(kept);
    kept[0] = static_cast<unsigned char>(std::min<int>(kept[0], kMaxKeptCharacters));
    if (echo) {
        std::memcpy(echo, kept, kept[0] + 1);
        if (kept[0] > 0) concat_unit_str(echo, unit);
    }
    int64_t hundredths = 0;
    if (kept[0] == 0) return 0;
    if (!parse_hundredths(kept, hundredths)) {
        if (echo) echo[0] = 0;
        return 0;
    }
    return points_of(hundredths, unit);
}

// Points as a whole number, the other units with two decimals.
void convert_margin_num(int16_t points, unsigned char* dest, int16_t unit) {
    dest[0] = 0;
    if (unit < 0) return;
    if (double scale = points_per_unit(unit)) {
        double value = points / scale;
        ExtendedtoStr(dest, &value, 2, true, false, system_decimal_separator());
    } else {
        Num_To_String(points, dest);
    }
    if (const unsigned char* suffix = unit_suffix(unit)) ConcatPString(dest, suffix);
}
