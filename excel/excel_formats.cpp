#include "excel/excel_formats.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "model/cell_format.h"
#include "model/display_text.h"
#include "model/record_bytes.h"
#include "model/model_services.h"
#include "model/program_colours.h"
#include "platform/fonts/classic_fonts.h"

namespace {

// Format codes of this program used for Excel's layouts.
constexpr uint8_t kDateMonthDayShortYear = 0;
constexpr uint8_t kDateMonthDay = 1;
constexpr uint8_t kDateYearMonthDay = 5;
constexpr uint8_t kDateMonthDayYear = 6;
constexpr uint8_t kDateDayMonthName = 7;
constexpr uint8_t kDateMonthNameYear = 8;
constexpr uint8_t kDateDayMonthNameYear = 9;
constexpr uint8_t kTimeHourMinute = 21;
constexpr uint8_t kTimeHourMinuteSecond = 22;
constexpr uint8_t kTime12HourMinute = 23;
constexpr uint8_t kTime12HourMinuteSecond = 24;
constexpr uint8_t kDateAndTime = 25;
constexpr uint8_t kTimeMinuteSecond = 29;
constexpr uint8_t kCurrencyDollar = 36;
constexpr uint8_t kCurrencyPound = 46;
constexpr uint8_t kCurrencyEuro = 50;
constexpr uint8_t kCurrencyYen = 31;

// Excel's built-in number formats that a workbook need not write out.
const char* builtin_format(uint16_t index) {
    switch (index) {
    case 1: return "0";
    case 2: return "0.00";
    case 3: return "#,##0";
    case 4: return "#,##0.00";
    case 5: return "$#,##0_);($#,##0)";
    case 6: return "$#,##0_);[Red]($#,##0)";
    case 7: return "$#,##0.00_);($#,##0.00)";
    case 8: return "$#,##0.00_);[Red]($#,##0.00)";
    case 9: return "0%";
    case 10: return "0.00%";
    case 11: return "0.00E+00";
    case 12: return "# ?/?";
    case 13: return "# ?" "?/?" "?";
    case 14: return "m/d/yyyy";
    case 15: return "d-mmm-yy";
    case 16: return "d-mmm";
    case 17: return "mmm-yy";
    case 18: return "h:mm AM/PM";
    case 19: return "h:mm:ss AM/PM";
    case 20: return "h:mm";
    case 21: return "h:mm:ss";
    case 22: return "m/d/yyyy h:mm";
    case 37: return "#,##0_);(#,##0)";
    case 38: return "#,##0_);[Red](#,##0)";
    case 39: return "#,##0.00_);(#,##0.00)";
    case 40: return "#,##0.00_);[Red](#,##0.00)";
    case 45: return "mm:ss";
    case 46: return "[h]:mm:ss";
    case 47: return "mm:ss.0";
    case 48: return "##0.0E+0";
    default: return "General";
    }
}

// The first section of a format, without quoted texts, escapes and colours,
// lower-cased.
std::string first_section(const std::string& format) {
    std::string out;
    bool quoted = false;
    for (size_t i = 0; i < format.size(); ++i) {
        char c = format[i];
        if (c == '"') {
            quoted = !quoted;
        } else if (quoted) {
            continue;
        } else if (c == '\\' || c == '_' || c == '*') {
            ++i;  // the next character is shown or spaced, not a code
        } else if (c == '[') {
            size_t end = format.find(']', i);
            if (end == std::string::npos) break;
            std::string inside = format.substr(i + 1, end - i - 1);
            if (!inside.empty() && (inside[0] == 'h' || inside[0] == 'H' || inside[0] == 'm' || inside[0] == 'M' ||
                                    inside[0] == 's' || inside[0] == 'S'))
                out += inside;  // elapsed hours, minutes or seconds
            i = end;
        } else if (c == ';') {
            break;
        } else {
            out += char(std::tolower(static_cast<unsigned char>(c)));
        }
    }
    return out;
}

bool has(const std::string& text, const char* part) { return text.find(part) != std::string::npos; }

NumberFormatMatch date_or_time(const std::string& s) {
    bool year = has(s, "y"), day = has(s, "d"), hour = has(s, "h"), second = has(s, "s");
    bool twelve_hour = has(s, "am/pm") || has(s, "a/p");
    bool month_name = has(s, "mmm");
    if ((year || day) && hour) return {kDateAndTime, 0, false, false};
    if (hour) {
        if (twelve_hour) return {second ? kTime12HourMinuteSecond : kTime12HourMinute, 0, false, false};
        return {second ? kTimeHourMinuteSecond : kTimeHourMinute, 0, false, false};
    }
    if (second) return {kTimeMinuteSecond, 0, false, false};
    if (month_name) {
        if (day && year) return {kDateDayMonthNameYear, 0, false, false};
        if (day) return {kDateDayMonthName, 0, false, false};
        return {kDateMonthNameYear, 0, false, false};
    }
    if (day && !year) return {kDateMonthDay, 0, false, false};
    if (s.rfind('y', 0) == 0) return {kDateYearMonthDay, 0, false, false};
    return {has(s, "yyyy") ? kDateMonthDayYear : kDateMonthDayShortYear, 0, false, false};
}

int8_t decimals_of(const std::string& s) {
    size_t point = s.find('.');
    if (point == std::string::npos) return 0;
    int8_t count = 0;
    for (size_t i = point + 1; i < s.size() && (s[i] == '0' || s[i] == '#' || s[i] == '?') && count < 15; ++i)
        ++count;
    return count;
}

// Currency signs as a format shows them outside brackets and quotes (UTF-8).
constexpr const char* kBareSigns[] = {"$", "\u00a3", "\u20ac", "\u00a5", "\uffe5"};

// The sign at `at` of a format, or "".
std::string bare_sign_at(const std::string& format, size_t at) {
    for (const char* sign : kBareSigns)
        if (format.compare(at, std::strlen(sign), sign) == 0) return sign;
    return "";
}

std::string trimmed(const std::string& text) {
    size_t first = text.find_first_not_of(' '), last = text.find_last_not_of(' ');
    return first == std::string::npos ? "" : text.substr(first, last - first + 1);
}

// This program's currency code of a currency symbol: 0 for a text that is no
// currency symbol known here.
uint8_t currency_code(const std::string& symbol) {
    struct Currency {
        const char* symbol;
        uint8_t code;
    };
    static constexpr Currency kCurrencies[] = {
        {"$", kCurrencyDollar},      {"US$", kCurrencyDollar},  {"USD", kCurrencyDollar},
        {"\u00a3", kCurrencyPound},  {"GBP", kCurrencyPound},   {"\u20ac", kCurrencyEuro},
        {"EUR", kCurrencyEuro},      {"\u00a5", kCurrencyYen},  {"\uffe5", kCurrencyYen},
        {"JPY", kCurrencyYen},
    };
    for (const Currency& currency : kCurrencies)
        if (symbol == currency.symbol) return currency.code;
    return 0;
}

// The currency symbol of a format's first section: the symbol of a bracketed
// "[$€-407]", a quoted known sign ("\"€\""), or a sign written as it is or
// escaped; "" when it shows none.
std::string currency_symbol(const std::string& format) {
    for (size_t i = 0; i < format.size(); ++i) {
        const char c = format[i];
        if (c == ';') break;
        if (c == '[') {
            const size_t end = format.find(']', i);
            if (end == std::string::npos) break;
            if (format[i + 1] == '$') {
                const std::string symbol = format.substr(i + 2, end - i - 2);
                const std::string shown = symbol.substr(0, symbol.find('-'));
                if (!shown.empty()) return shown;
            }
            i = end;
        } else if (c == '"') {
            const size_t end = format.find('"', i + 1);
            if (end == std::string::npos) break;
            const std::string quoted = trimmed(format.substr(i + 1, end - i - 1));
            if (currency_code(quoted)) return quoted;
            i = end;
        } else if (c == '_' || c == '*') {
            ++i;  // the next character is spaced or repeated, not shown
        } else if (std::string sign = bare_sign_at(format, c == '\\' ? i + 1 : i); !sign.empty()) {
            return sign;
        } else if (c == '\\') {
            ++i;
        }
    }
    return "";
}

enum class Elapsed { none, hours_minutes_seconds, other };

// Whether the bracket at `at` gives a format's language alone ("[$-409]"):
// it shows nothing, as for the date formats.
bool language_part_at(const std::string& format, size_t at) { return format.compare(at, 3, "[$-") == 0; }

// Whether a format's first section counts elapsed hours, minutes or seconds
// ("[h]:mm:ss", "[mm]:ss"), and whether as the hours, minutes and seconds
// of the one duration format here; a language part is passed over.
Elapsed elapsed_form(const std::string& format) {
    std::string section;
    bool quoted = false;
    for (size_t i = 0; i < format.size(); ++i) {
        const char c = format[i];
        if (c == '"') quoted = !quoted;
        if (c == ';' && !quoted) break;
        if (!quoted && language_part_at(format, i)) {
            const size_t end = format.find(']', i);
            if (end == std::string::npos) break;
            i = end;
            continue;
        }
        section += char(std::tolower(static_cast<unsigned char>(c)));
    }
    for (const char* unit : {"[h", "[m", "[s"})
        if (has(section, unit)) return section == "[h]:mm:ss" || section == "[hh]:mm:ss" ? Elapsed::hours_minutes_seconds
                                                                                      : Elapsed::other;
    return Elapsed::none;
}

}  // namespace

NumberFormatMatch match_number_format(const std::string& format) {
    if (const Elapsed elapsed = elapsed_form(format); elapsed != Elapsed::none) {
        if (elapsed == Elapsed::hours_minutes_seconds) return {kFormatElapsedTime, 0, false, false};
        return {kFormatGeneral, 2, false, false, false, true};
    }
    std::string s = first_section(format);
    if (s.empty() || s == "general" || s == "@") return {kFormatGeneral, 2, false, false};
    if (has(s, "y") || has(s, "d") || has(s, "h") || has(s, "s") ||
        (has(s, "m") && !has(s, "0") && !has(s, "#")))
        return date_or_time(s);
    int8_t decimals = decimals_of(s);
    bool thousands = has(s, ",");
    if (has(s, "e+") || has(s, "e-")) return {kFormatScientific, decimals, false, true};
    if (has(s, "%")) return {kFormatPercent, decimals, false, true};
    if (has(s, "/")) return {kFormatFraction, 2, false, false};
    // A currency without a format here shows its number with its decimals.
    if (std::string symbol = currency_symbol(format); !symbol.empty()) {
        if (uint8_t currency = currency_code(symbol)) return {currency, decimals, thousands, true};
        return {kFormatFixed, decimals, thousands, true, true};
    }
    if (has(s, "0") || has(s, "#")) return {kFormatFixed, decimals, thousands, true};
    return {kFormatGeneral, 2, false, false};
}

std::string number_format_string(const ExcelBook& book, uint16_t index) {
    auto found = book.formats.find(index);
    return found != book.formats.end() ? found->second : builtin_format(index);
}

namespace {

// Excel's font table skips index 4.
const ExcelFont* font_of(const ExcelBook& book, uint16_t index) {
    size_t at = index >= 4 ? size_t(index) - 1 : index;
    return at < book.fonts.size() ? &book.fonts[at] : nullptr;
}

// Excel's standard palette: indexes 8 to 63, 0xRRGGBB. Indexes 0 to 7 repeat
// its first eight.
constexpr uint32_t kStandardPalette[56] = {
    0x000000, 0xFFFFFF, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0xFF00FF, 0x00FFFF, 0x800000, 0x008000,
    0x000080, 0x808000, 0x800080, 0x008080, 0xC0C0C0, 0x808080, 0x9999FF, 0x993366, 0xFFFFCC, 0xCCFFFF,
    0x660066, 0xFF8080, 0x0066CC, 0xCCCCFF, 0x000080, 0xFF00FF, 0xFFFF00, 0x00FFFF, 0x800080, 0x800000,
    0x008080, 0x0000FF, 0x00CCFF, 0xCCFFFF, 0xCCFFCC, 0xFFFF99, 0x99CCFF, 0xFF99CC, 0xCC99FF, 0xFFCC99,
    0x3366FF, 0x33CCCC, 0x99CC00, 0xFFCC00, 0xFF9900, 0xFF6600, 0x666699, 0x969696, 0x003366, 0x339966,
    0x003300, 0x333300, 0x993300, 0x993366, 0x333399, 0x333333};

// The colour of a palette index; false for the automatic colour.
bool palette_colour(const ExcelBook& book, uint16_t index, uint32_t* rgb) {
    if (index < 8) index = uint16_t(index + 8);
    size_t at = size_t(index) - 8;
    if (at < book.palette.size()) *rgb = book.palette[at];
    else if (at < std::size(kStandardPalette)) *rgb = kStandardPalette[at];
    else return false;
    return true;
}

// The colour code of the program's colour table nearest to `rgb`: 0 for black,
// else the entry + 1.
uint8_t nearest_colour_code(uint32_t rgb) {
    if (rgb == 0) return 0;
    const std::vector<pf::RGBColor>& colours = program_colours();
    auto distance = [rgb](const pf::RGBColor& entry) {
        long red = long(rgb >> 16) - (entry.red >> 8), green = long(rgb >> 8 & 0xFF) - (entry.green >> 8),
             blue = long(rgb & 0xFF) - (entry.blue >> 8);
        return red * red + green * green + blue * blue;
    };
    size_t best = 0;
    for (size_t i = 1; i < colours.size() && i < 255; ++i)
        if (distance(colours[i]) < distance(colours[best])) best = i;
    return colours.empty() ? 0 : uint8_t(best + 1);
}

// The fill colour code of a solid fill (black is entry 1 of the table, white
// entry 0 shows no fill), 0 for none; patterned fills are left out.
uint8_t solid_fill_code(const ExcelBook& book, const ExcelXf& xf) {
    constexpr uint8_t kSolidFill = 1, kWhiteCode = 1, kBlackCode = 2;
    uint32_t fill = 0;
    if (xf.fill_pattern != kSolidFill || !palette_colour(book, xf.fill_colour, &fill)) return 0;
    uint8_t code = nearest_colour_code(fill);
    if (code == kWhiteCode) return 0;
    return code == 0 ? kBlackCode : code;
}

uint8_t border_style(uint8_t excel_style) {
    constexpr uint8_t kThin = 2, kThick = 4, kDouble = 6;
    switch (excel_style) {
    case 0: return 0;
    case 2:
    case 5: return kThick;  // medium and thick lines
    case 6: return kDouble;
    default: return kThin;
    }
}

}  // namespace

NumberFormatMatch apply_excel_format(const ExcelBook& book, uint16_t xf_index, bool sheet_protected, uint8_t* format) {
    if (xf_index >= book.xfs.size()) return {kFormatGeneral, 2, false, false};
    const ExcelXf& xf = book.xfs[xf_index];
    NumberFormatMatch number = match_number_format(number_format_string(book, xf.format));
    format[kFmtCode] = number.code;
    format[kFmtDecimals] = uint8_t(number.decimals);
    if (number.thousands) format[kFmtFlagsA] |= kFlagAThousands;
    if (number.fixed_decimals) format[kFmtFlagsB] |= kFlagBFixedDecimals;
    if (sheet_protected && xf.locked) format[kFmtFlagsA] |= kFlagLocked;
    if (xf.horizontal >= 1 && xf.horizontal <= 3) format[kFmtAlign] = xf.horizontal;
    uint16_t borders = uint16_t(border_style(xf.border_left) << 12 | border_style(xf.border_top) << 8 |
                                border_style(xf.border_right) << 4 | border_style(xf.border_bottom));
    store_u16(format + kFmtBorderStyles, borders);
    format[kFmtPatternFore] = solid_fill_code(book, xf);
    const ExcelFont* font = font_of(book, xf.font);
    if (font) {
        constexpr uint8_t kBoldFace = 0x01, kItalicFace = 0x02, kUnderlineFace = 0x04;
        format[kFmtFace] = uint8_t((font->bold ? kBoldFace : 0) | (font->italic ? kItalicFace : 0) |
                                   (font->underline ? kUnderlineFace : 0));
        uint32_t rgb = 0;
        if (palette_colour(book, font->colour, &rgb)) format[kFmtTextColour] = nearest_colour_code(rgb);
    }
    // What a cell's font shares with the workbook's own font keeps the layer's
    // default: a font of another script at the workbook's size keeps its size.
    const ExcelFont* standard = font_of(book, 0);
    if (!font || !standard) return number;
    if (font->height != standard->height) {
        int points = font->height / 20;
        if (points >= 1 && points <= 127) format[kFmtSize] = uint8_t(points);
    }
    if (font->name != standard->name) {
        bool found = false;
        int16_t number_of_font = model_services.number_of_font_name(font->name, &found);
        if (found) store_u16(format + kFmtFont, uint16_t(number_of_font));
    }
    return number;
}
