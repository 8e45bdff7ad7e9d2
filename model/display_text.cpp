// The display text of a cell and the number forms of its format codes.
#include "model/display_text.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "core/memory_use.h"
#include "core/number_text.h"
#include "core/string_utils.h"
#include "model/calc_globals.h"
#include "model/cell_record.h"
#include "model/cell_store.h"
#include "model/display_text_internal.h"
#include "model/model_services.h"
#include "model/date_serials.h"
#include "model/layer.h"
#include "model/workbook.h"
#include "platform/system/system.h"
#include "platform/text/text.h"

namespace {

constexpr unsigned char kYenSign = 180;
constexpr unsigned char kBackslashYen = 92;
constexpr unsigned char kPoundSign = 163;
constexpr unsigned char kEuroSign = 219;
constexpr unsigned char kIncrementSign = 198;
constexpr unsigned char kFullWidthPound[] = {129, 146};
constexpr unsigned char kBlackTriangle[] = {129, 162};
constexpr uint16_t kEuroSystemVersion = 0x0850;
constexpr int kLongTextLimit = 255;

// How the number codes write a value: the currency symbol or prefix in front,
// the suffix behind, and the decimal and thousands characters.
struct NumberStyle {
    std::string symbol;
    std::string suffix;
    unsigned char decimal_char = '.';
    unsigned char thousands_char = ',';
    bool parens = false;          // negative and parentheses wanted
    bool second_variant = false;  // negative and flags B 0x40: symbol outside the parentheses
};

uint8_t flags_a(const CellInfoRecord* info) { return info->format.bytes[kFmtFlagsA]; }
uint8_t flags_b(const CellInfoRecord* info) { return info->format.bytes[kFmtFlagsB]; }
uint8_t format_code(const CellInfoRecord* info) { return info->format.bytes[kFmtCode]; }
int16_t format_decimals(const CellInfoRecord* info) { return int8_t(info->format.bytes[kFmtDecimals]); }

// The script the cell's text is set in: a font above 1 has its own, the
// system and application fonts the system's.
int16_t cell_script(const CellInfoRecord* info) {
    int16_t font = int16_t(format_font(info->format.bytes));
    return font > 1 ? pf::font_to_script(font) : display_system_facts().system_script;
}

bool japanese_cell(const CellInfoRecord* info) { return cell_script(info) == pf::kScriptJapanese; }

bool is_currency_code(uint8_t code) { return code >= 31 && code <= 50; }

// The symbol, suffix and separators of the number codes; false for a code
// with no number form.
bool number_style(const CellInfoRecord* info, uint8_t code, NumberStyle& style) {
    const bool japanese = japanese_cell(info);
    style.decimal_char = decimalPt;
    style.thousands_char = thousSep;
    if (code >= 31 && code <= 34) {
        style.symbol = std::string(1, char(japanese ? kBackslashYen : kYenSign));
        style.decimal_char = '.', style.thousands_char = ',';
    } else if (code >= 36 && code <= 39) {
        style.symbol = "$";
        style.decimal_char = '.', style.thousands_char = ',';
    } else if (code == 46) {
        style.symbol = japanese ? std::string(reinterpret_cast<const char*>(kFullWidthPound), 2)
                                : std::string(1, char(kPoundSign));
        style.decimal_char = '.', style.thousands_char = ',';
    } else if (code == 47) {
        style.symbol = "L. ";
        style.decimal_char = ',', style.thousands_char = '.';
    } else if (code == 48) {
        style.suffix = " DM";
        style.decimal_char = ',', style.thousands_char = '.';
    } else if (code == 49) {
        style.suffix = " F";
        style.decimal_char = ',', style.thousands_char = ' ';
    } else if (code == 50) {
        bool old_system = display_system_facts().system_version < kEuroSystemVersion;
        style.symbol = japanese || old_system ? "EUR" : std::string(1, char(kEuroSign));
    } else if (code == kFormatPercent) {
        style.suffix = "%";
    } else if (code != kFormatFixed && code != kFormatGeneral && code != kFormatScientific) {
        return false;
    }
    return true;
}

bool has_decimal_char(const unsigned char* text, unsigned char decimal_char) {
    return std::memchr(text + 1, decimal_char, text[0]) != nullptr;
}

bool not_a_number_text(const unsigned char* text) {
    for (int i = 1; i <= text[0]; ++i)
        if (text[i] == 'N' || text[i] == 'n') return true;
    return false;
}

// The digits of a value with `decimals` decimals (as many as needed when
// negative): positional except in the scientific form.
void write_digits(unsigned char* text, double value, int16_t decimals, bool scientific, bool trim,
                  unsigned char decimal_char) {
    ExtendedtoStr(text, &value, decimals, !scientific, trim, decimal_char);
}

// Thousands, suffix, parentheses, currency symbol and label around the digits.
int16_t add_number_parts(unsigned char* text, const CellInfoRecord* info, uint8_t code, const NumberStyle& style) {
    unsigned char piece[256];
    if ((flags_a(info) & kFlagAThousands) && code != kFormatScientific)
        AddCommas(text, style.thousands_char, style.decimal_char);
    if (!style.second_variant) append_text(text, style.suffix);
    if (style.parens) AddBrackets(text);
    if (!style.symbol.empty()) {
        set_text(piece, style.symbol);
        AddCurrency(text, piece, style.second_variant);
    }
    if (style.second_variant) append_text(text, style.suffix);
    return AddLabel(text, info);
}

// Decimals and value of the fixed-decimals form.
int16_t fixed_decimals(double* value, const CellInfoRecord* info) {
    return NegDigits(value, format_decimals(info));
}

// The general and scientific forms made narrower: fewer decimals first, then
// (general only) the exponent form with 2 decimals.
void fit_to_width(unsigned char* text, const CellInfoRecord* info, uint8_t code, const NumberStyle& style,
                  double value) {
    const bool scientific = code == kFormatScientific;
    int16_t pixels = model_services.measured_text_width(text);
    if (pixels < 0) return;
    if (pixels <= info->available_width || text[0] == 0) return;
    if (!has_decimal_char(text, style.decimal_char) && code == kFormatGeneral) {
        write_digits(text, value, 2, true, false, style.decimal_char);
        return;
    }
    const unsigned char* point = static_cast<const unsigned char*>(std::memchr(text + 1, style.decimal_char, text[0]));
    if (point) {
        const unsigned char* end = text + 1 + text[0];
        if (scientific) {
            const void* exponent = std::memchr(point, 'E', size_t(end - point));
            if (exponent) end = static_cast<const unsigned char*>(exponent);
        }
        int shown = int(end - point) - 1;
        if (!scientific) {
            shown -= style.parens ? 1 : 0;
            shown -= int(style.suffix.size());
            if (_labelLength_(info->format.bytes) && !(flags_b(info) & kFlagBCustomDate) &&
                !(flags_a(info) & kFlagALabelBefore))
                shown -= _labelLength_(info->format.bytes) + 1;
        }
        double average = double(pixels) / text[0];
        int excess = int(double(pixels - info->available_width) / average + 1);
        int16_t decimals = int16_t(std::max(0, shown - excess));
        write_digits(text, value, decimals, scientific, !scientific, style.decimal_char);
        add_number_parts(text, info, code, style);
        if (model_services.measured_text_width(text) <= info->available_width) return;
    }
    if (code == kFormatGeneral) write_digits(text, value, 2, true, false, style.decimal_char);
}

// FormatNumber: the text of a number with its prefix, suffix and separators.
void FormatNumber(unsigned char* text, CellInfoRecord* info, uint8_t code, double value, const NumberStyle& style) {
    const bool scientific = code == kFormatScientific;
    if (flags_b(info) & kFlagBFixedDecimals) {
        int16_t decimals = fixed_decimals(&value, info);
        write_digits(text, value, decimals, scientific, false, style.decimal_char);
    } else {
        write_digits(text, value, -1, scientific, true, style.decimal_char);
        if (not_a_number_text(text)) return;
    }
    add_number_parts(text, info, code, style);
    if ((code == kFormatGeneral || scientific) && info->available_width > 0)
        fit_to_width(text, info, code, style, value);
}

// Code 45: "ÖS " and the number with "." and "," always, no parentheses, no label.
void austrian_schilling(unsigned char* text, const CellInfoRecord* info, double value) {
    int16_t decimals = fixed_decimals(&value, info);
    write_digits(text, value, decimals, false, false, '.');
    AddCommas(text, ',', '.');
    unsigned char symbol[] = {3, 0x85, 'S', ' '};
    AddCurrency(text, symbol, false);
}

// The continued fraction of f within a largest denominator: numerator and
// denominator (0 when there is none).
void best_fraction(double f, int32_t largest, int64_t& numerator, int64_t& denominator) {
    constexpr int kMaxTerms = 28;
    double x = f;
    double p2 = 0, p1 = 1, q2 = 1, q1 = 0;
    numerator = denominator = 0;
    double previous = NAN;
    for (int term = 0; term < kMaxTerms; ++term) {
        double a = std::nearbyint(x);
        double p = a * p1 + p2;
        double q = a * q1 + q2;
        if (q != 0 && p / q == previous) break;
        if (std::fabs(q) > largest || std::fabs(p) > largest) break;
        numerator = int64_t(std::fabs(p));
        denominator = int64_t(std::fabs(q));
        previous = q != 0 ? p / q : NAN;
        if (q != 0 && p / q == f) break;
        p2 = p1, p1 = p;
        q2 = q1, q1 = q;
        if (x == a) break;
        x = 1 / (x - a);
    }
}

int32_t largest_denominator(const CellInfoRecord* info) {
    static constexpr int32_t kByDecimals[] = {9, 99, 999, 9999, 99999};
    int16_t decimals = format_decimals(info);
    if ((flags_b(info) & kFlagBFixedDecimals) && decimals >= 1 && decimals <= 5) return kByDecimals[decimals - 1];
    return 999999;
}

void fraction_text(unsigned char* text, const CellInfoRecord* info, double value, bool parens) {
    text[0] = 0;
    if (value == 0) {
        set_text(text, "0");
        return;
    }
    double whole = std::trunc(value);
    int64_t numerator = 0, denominator = 0;
    best_fraction(value - whole, largest_denominator(info), numerator, denominator);
    if (numerator != 0 && numerator == denominator) {
        whole += value < 0 ? -1 : 1;
        numerator = 0;
    }
    if (whole != 0) write_digits(text, whole, 0, false, false, '.');
    if (numerator != 0 && denominator != 0) {
        if (whole != 0) append_byte(text, ' ');
        else if (value < 0) append_byte(text, '-');
        append_text(text, std::to_string(numerator) + "/" + std::to_string(denominator));
    }
    if (text[0] == 0) set_text(text, "0");
    if (parens) AddBrackets(text);
    AddLabel(text, info);
}

void mark_negative(unsigned char* text, CellInfoRecord* info, double value) {
    if (value < 0 && (flags_a(info) & kFlagANegativeRed)) info->negative_in_red = 1;
    if ((flags_b(info) & kFlagBTriangle) && text[0] > 0 && text[1] == '-') {
        unsigned char sign[3];
        if (japanese_cell(info)) {
            sign[0] = 2, sign[1] = kBlackTriangle[0], sign[2] = kBlackTriangle[1];
        } else {
            sign[0] = 1, sign[1] = kIncrementSign;
        }
        DeletePString(text, 1, 1);
        InsertConcat(sign, text, 1);
    }
}

void format_number_text(CellInfoRecord* info) {
    unsigned char* text = info->text;
    const double value = info->value;
    const uint8_t code = format_code(info);
    text[0] = 0;
    if ((flags_a(info) & kFlagAZeroEmpty) && value == 0) return;
    const bool negative = value < 0;
    NumberStyle style;
    style.parens = negative && (flags_a(info) & kFlagANegativeParens);
    style.second_variant = negative && (flags_b(info) & kFlagBSecondCurrency);
    if (is_currency_code(code) && code != 45 && style.second_variant) style.parens = true;
    if (code == 45) {
        austrian_schilling(text, info, value);
    } else if (code == kFormatBoolean) {
        set_text(text, value != 0 ? "True" : "False");
    } else if (code == kFormatFraction) {
        fraction_text(text, info, value, style.parens);
    } else if (number_style(info, code, style)) {
        if (code == kFormatFixed) info->format.bytes[kFmtFlagsB] |= kFlagBFixedDecimals;
        FormatNumber(text, info, code, code == kFormatPercent ? value * 100 : value, style);
    }
    mark_negative(text, info, value);
}

void copy_long_text(CellInfoRecord* info, const uint8_t* bytes, int32_t length) {
    info->text_length = int16_t(length);
    if (length >= kLongTextLimit) {
        std::memcpy(info->text + 1, bytes, kLongTextLimit);
        info->text[0] = kLongTextLimit;
        info->long_text = bytes;
    } else {
        std::memcpy(info->text + 1, bytes, size_t(length));
        info->text[0] = uint8_t(length);
    }
}

// A number whose date or time the calendar cannot show: the number itself.
void general_number_text(CellInfoRecord* info) {
    const uint8_t code = info->format.bytes[kFmtCode];
    info->format.bytes[kFmtCode] = kFormatGeneral;
    format_number_text(info);
    info->format.bytes[kFmtCode] = code;
}

// The "f" form: the formula's text, or the typed text kept after a number.
void formula_text(CellInfoRecord* info) {
    const uint8_t* cell = info->cell;
    const uint8_t* first = _formulaPtr_(cell);
    const uint8_t* end = first + _formulaLength_(cell);
    info->text[0] = 0;
    if (_cellType_(cell) == kCellConstant) {
        first = std::min(first + kNumberSlotSize, end);
        copy_long_text(info, first, int32_t(end - first));
        info->long_text = nullptr;
    } else {
        int32_t where = int32_t(uint16_t(info->where.v)) | (int32_t(info->where.h) << 16);
        MemoryGlobals* memory = info->memory ? info->memory : &mem_globals;
        MemoryRef block = model_services.formula_text(where, first, end, info->layer, memory);
        if (block) {
            MemoryUse<const uint8_t> bytes(block);
            int32_t length = GetByteSize(block);
            std::memcpy(info->text + 1, bytes, size_t(std::min(length, kLongTextLimit)));
            info->text[0] = uint8_t(std::min(length, kLongTextLimit));
            info->text_length = info->text[0];
            bytes.release();
            DisposeMemory(block);
        }
    }
    info->format.bytes[kFmtCellType] = kCellText;
}

void format_record(CellInfoRecord* info, const uint8_t* format, const double* value, MemoryRef layer) {
    *info = CellInfoRecord{};
    info->layer = layer;
    info->memory = &mem_globals;
    if (layer) {
        info->default_font = Get_Default_Font(layer);
        MemoryGlobals* memory = GetMemoryGlobals(layer);
        if (memory) info->memory = memory;
    }
    std::memcpy(info->format.bytes, format, kCellFormatSize);
    // A format with a label heads a cell record: the label follows it.
    if (format[kFmtLabelLength] > 0) info->cell = format;
    if (value) {
        info->value = *value;
    } else {
        info->value = SpreadSheetTime();
        if (layer && layer_uses_1900_dates(layer)) info->value += 1462.0;
    }
}

void format_with_record(unsigned char* text, CellInfoRecord* info) {
    info->format.bytes[kFmtFlagsB] |= kFlagBFixedDecimals;
    info->available_width = 0;
    FormatCellString(info);
    std::memcpy(text, info->text, size_t(info->text[0]) + 1);
}

}  // namespace

// ---- Shared pieces ----------------------------------------------------------------

void append_text(unsigned char* text, const char* bytes, size_t count) {
    size_t room = size_t(kMaxPStringLength - text[0]);
    count = std::min(count, room);
    std::memcpy(text + 1 + text[0], bytes, count);
    text[0] = uint8_t(text[0] + count);
}

void append_byte(unsigned char* text, unsigned char byte) { append_text(text, reinterpret_cast<const char*>(&byte), 1); }

void set_text(unsigned char* text, const std::string& bytes) {
    text[0] = 0;
    append_text(text, bytes);
}

bool layer_uses_1900_dates(MemoryRef layer) { return layer && GetSheet_1900Date_Flag(layer) != 0; }

DisplaySystemFacts& display_system_facts() {
    static DisplaySystemFacts facts{pf::script_enabled(pf::kScriptJapanese), pf::system_script(),
                                    uint16_t(pf::kSystemVersion)};
    return facts;
}

// ---- Entry points -----------------------------------------------------------------

std::string displayed_cell_text(MemoryRef layer, CellPoint where, int16_t* font) {
    uint8_t* cell = nullptr;
    int16_t length = 0;
    if (!layer || !get_cell_ptr(&cell, &length, where, layer)) return {};
    CellInfoRecord info{};
    info.where = where;
    info.cell = cell;
    std::memcpy(info.format.bytes, cell, kCellFormatSize);
    info.layer = layer;
    info.default_font = Get_Default_Font(layer);
    info.memory = GetMemoryGlobals(layer);
    CellString(&info);
    if (font) *font = int16_t(format_font(info.format.bytes));
    const unsigned char* text = info.long_text ? info.long_text : info.text + 1;
    return std::string(reinterpret_cast<const char*>(text), size_t(info.long_text ? info.text_length : info.text[0]));
}

bool is_date_format(uint8_t code) { return code < 21 || code > 109; }
bool is_time_format(uint8_t code) { return code >= 21 && code <= 29; }

namespace {

// A formula's text result in a script other than its cell font's is shown in
// that script's font.
void show_in_result_script(CellInfoRecord* info, int16_t result_type) {
    const int16_t own = pf::font_to_script(int16_t(format_font(info->format.bytes)));
    const int16_t script = text_result_script(result_type, own);
    if (script != own) store_u16(info->format.bytes + kFmtFont, uint16_t(pf::script_font(script)));
}

}  // namespace

void CellString(CellInfoRecord* info) {
    info->text[0] = 0;
    info->long_text = nullptr;
    info->text_length = 0;
    info->negative_in_red = 0;
    if (format_font(info->format.bytes) == kDefaultFontNumber) store_u16(info->format.bytes + kFmtFont, uint16_t(info->default_font));
    const uint8_t* cell = info->cell;
    if (!cell) return;
    const bool show_formula = format_code(info) == kFormatShowFormula;
    switch (_cellType_(cell)) {
    case kCellFormula:
        if (_resultType_(cell) > 0) {
            info->format.bytes[kFmtCellType] = kCellText;
            show_in_result_script(info, _resultType_(cell));
            if (!show_formula) {
                copy_long_text(info, _resultPtr_(cell), _resultLength_(cell));
                return;
            }
            break;
        }
        info->value = _resultType_(cell) == kResultNumber ? load_f64(_resultPtr_(cell)) : 0;
        break;
    case kCellText:
        copy_long_text(info, _formulaPtr_(cell), _formulaLength_(cell));
        return;
    case kCellConstant:
        info->value = load_f64(_formulaPtr_(cell));
        break;
    default:
        return;
    }
    if (show_formula) {
        formula_text(info);
        return;
    }
    if (checkValue(&info->value) != 0) {
        CellErrStr(info->text, &info->value, -1, 1, 1, decimalPt);
        info->text_length = info->text[0];
        return;
    }
    info->text_length = FormatCellString(info);
}

int16_t FormatCellString(CellInfoRecord* info) {
    const uint8_t code = format_code(info);
    if (code >= 31 && code <= 109)
        format_number_text(info);
    else if (!format_date_text(info))
        general_number_text(info);
    return info->text[0];
}

void CustomFormatString(unsigned char* text, const uint8_t* format, const double* value, MemoryRef layer) {
    CellInfoRecord info;
    format_record(&info, format, value, layer);
    format_with_record(text, &info);
}

void get_format_string(unsigned char* text, const uint8_t* format, const double* value, MemoryRef layer) {
    CellInfoRecord info;
    format_record(&info, format, value, layer);
    info.format.bytes[kFmtLabelLength] = 0;
    info.format.bytes[kFmtFlagsB] = 0;
    format_with_record(text, &info);
}

// ---- Text routines ----------------------------------------------------------------

void AddCommas(unsigned char* text, unsigned char separator, unsigned char decimal_char) {
    if (std::memchr(text + 1, 'E', text[0])) return;
    const void* point = std::memchr(text + 1, decimal_char, text[0]);
    int integer_end = point ? int(static_cast<const unsigned char*>(point) - (text + 1)) : text[0];
    unsigned char mark[] = {1, separator};
    for (int at = integer_end - 3; at >= 1; at -= 3) {
        unsigned char before = text[at];  // 0-based index at-1 is byte `at`
        if (before >= '0' && before <= '9') InsertConcat(mark, text, int16_t(at + 1));
    }
}

void AddBrackets(unsigned char* text) {
    if (text[0] > 0 && text[1] == '(') return;
    if (text[0] > 0 && text[1] == '-') {
        text[1] = '(';
    } else {
        void* minus = std::memchr(text + 1, '-', text[0]);
        if (minus) DeletePString(text, int16_t(static_cast<unsigned char*>(minus) - text), 1);
        unsigned char open[] = {1, '('};
        InsertConcat(open, text, 1);
    }
    append_byte(text, ')');
}

void AddCurrency(unsigned char* text, const unsigned char* symbol, bool before_sign) {
    const bool signed_text = text[0] > 0 && (text[1] == '-' || text[1] == '(');
    if (signed_text && before_sign) {
        unsigned char space[] = {1, ' '};
        InsertConcat(space, text, 1);
        InsertConcat(symbol, text, 1);
    } else {
        InsertConcat(symbol, text, signed_text ? 2 : 1);
    }
}

int16_t AddLabel(unsigned char* text, const CellInfoRecord* info) {
    const uint8_t length = info->format.bytes[kFmtLabelLength];
    if (length == 0 || (flags_b(info) & kFlagBCustomDate) || !info->cell) return 0;
    unsigned char label[256];
    label[0] = length;
    std::memcpy(label + 1, _labelPtr_(info->cell), length);
    if (flags_a(info) & kFlagALabelBefore) {
        unsigned char space[] = {1, ' '};
        InsertConcat(space, text, 1);
        InsertConcat(label, text, 1);
        return 0;
    }
    append_byte(text, ' ');
    append_text(text, reinterpret_cast<const char*>(label + 1), length);
    return int16_t(length + 1);
}

void InsertConcat(const unsigned char* source, unsigned char* target, int16_t position) {
    int at = std::clamp<int>(position, 1, target[0] + 1);
    int count = std::min<int>(source[0], kMaxPStringLength - target[0]);
    if (count <= 0) return;
    std::memmove(target + at + count, target + at, size_t(target[0] - at + 1));
    std::memcpy(target + at, source + 1, size_t(count));
    target[0] = uint8_t(target[0] + count);
}

int16_t NegDigits(double* value, int16_t decimals) {
    if (decimals >= 0) return decimals;
    *value *= std::pow(10.0, decimals);
    return std::fabs(*value) < 1 ? int16_t(-decimals) : 0;
}

int16_t CountSequentialChars(const unsigned char* text, int16_t position, unsigned char ch) {
    int16_t count = 0;
    for (int i = position; i >= 1 && i <= text[0] && text[i] == ch; ++i) ++count;
    return count;
}
