// Typed entries through the formula parser's cell-input mode.
#include "formula/typed_entry.h"

#include <algorithm>
#include <cstring>

#include "core/memory_use.h"
#include "formula/evaluator.h"
#include "formula/parser.h"
#include "model/calc_globals.h"
#include "model/cell_format.h"
#include "model/display_text.h"
#include "model/model_services.h"

namespace {

constexpr uint8_t kFormatDateTime = 25;
constexpr uint8_t kFormatTimeMinutes = 21;
constexpr uint8_t kFormatTimeSeconds = 22;

// The flag of the date order an entry was read in.
uint8_t date_order_bit() {
    switch (dateOrder) {
        case 2: return 0x04;
        case 1: return 0x08;
        case 5: return 0x10;
        default: return 0x02;
    }
}

uint8_t preferred_date_code() { return model_services.preferred_cell_format()[kFmtCode]; }

// The number format of a typed date or time.
uint8_t typed_date_code(std::string_view typed, uint8_t code) {
    if (is_date_format(code) || is_time_format(code)) return code;
    const auto colons = std::count(typed.begin(), typed.end(), ':');
    if (colons == 0) return preferred_date_code();
    if (typed.find(char(dateSep)) != std::string_view::npos || typed.find('/') != std::string_view::npos)
        return kFormatDateTime;
    return colons == 1 ? kFormatTimeMinutes : kFormatTimeSeconds;
}

bool is_formula_kind(int16_t kind) {
    return kind == kKindFormula || kind == kKindDateFormula || kind == kKindTimeFormula;
}

// The number format and date order a kind gives the cell, written into `header`.
void apply_kind(int16_t kind, std::string_view typed, uint8_t* header) {
    uint8_t& code = header[kFmtCode];
    switch (kind) {
        case kKindDate: code = typed_date_code(typed, code); break;
        case kKindDateFormula:
            if (!is_date_format(code)) code = preferred_date_code();
            break;
        case kKindTimeFormula:
            if (!is_time_format(code)) code = kFormatTimeMinutes;
            break;
        case kKindNumberInDateCell: code = kFormatGeneral; break;
        case kKindFraction: code = kFormatFraction; break;
        default: break;
    }
    if (kind == kKindDate || kind == kKindDateFormula || kind == kKindTimeFormula)
        header[kFmtFlagsB] = uint8_t((header[kFmtFlagsB] & ~kDateOrderMask) | date_order_bit());
}

// Whether a formula the parser stopped reading at `stop` ends there inside a
// parenthesis: nothing but blanks follows, and more "(" than ")" were opened
// outside text constants and quoted document names.
bool ends_inside_parenthesis(std::string_view typed, int32_t stop) {
    const size_t last = typed.find_last_not_of(' ');
    if (last == std::string_view::npos || stop <= int32_t(last)) return false;
    int open = 0;
    char quote = 0;
    for (char c : typed) {
        if (quote) quote = c == quote ? 0 : quote;
        else if (c == '"' || c == '\'') quote = c;
        else if (c == '(') ++open;
        else if (c == ')') --open;
    }
    return open > 0;
}

// The parser's code for a refused formula, as the refusal explains it: a
// formula that ends where an operand should come ("=SUM(", "=(1+") while a
// parenthesis is open lacks first of all its closing parenthesis, which the
// parser reports as an unknown symbol.
int16_t explained_refusal(int16_t code, std::string_view typed, int32_t stop) {
    return code == kParseUnknownSymbol && ends_inside_parenthesis(typed, stop) ? kParseMissingClose : code;
}

TypedEntry parse_entry(std::string_view typed, CellPoint where, MemoryRef layer, uint8_t format) {
    TypedEntry entry;
    unsigned char text[256];
    text[0] = uint8_t(typed.size());
    std::memcpy(text + 1, typed.data(), typed.size());
    std::memcpy(entry.parsed_text, text, typed.size() + 1);
    MemoryRef formula = nullptr;
    entry.result = parse_formula_text(text, where, layer, &formula, &entry.kind, &entry.error_offset, format,
                                      entry.parsed_text);
    entry.value = g_value;
    if (formula) {
        MemoryUse<const uint8_t> bytes(formula);
        entry.formula.assign(bytes.get(), bytes + GetByteSize(formula));
        bytes.release();
        DisposeMemory(formula);
    }
    return entry;
}

}  // namespace

TypedEntry read_typed_entry(std::string_view typed, CellPoint where, MemoryRef layer, uint8_t format) {
    std::string_view number;
    uint8_t decimals = 0;
    if (split_percent_entry(typed, &number, &decimals)) {
        TypedEntry percent = parse_entry(number, where, layer, format);
        if (percent.result == 0 && percent.kind == kKindNumber) {
            percent.value /= 100;
            percent.percent = true;
            percent.percent_decimals = decimals;
            return percent;
        }
    }
    return parse_entry(typed, where, layer, format);
}

SettledEntry settle_typed_entry(std::string_view typed, CellPoint where, MemoryRef layer, uint8_t* header) {
    SettledEntry settled;
    const bool formula = !typed.empty() && typed[0] == '=';
    TypedEntry entry = read_typed_entry(typed, where, layer, header[kFmtCode]);
    if (entry.percent) {
        header[kFmtCode] = kFormatPercent;
        header[kFmtDecimals] = entry.percent_decimals;
        settled.outcome = EntryOutcome::number;
        settled.value = entry.value;
        return settled;
    }
    if (formula && entry.result > 1) {
        settled.outcome = EntryOutcome::refused;
        settled.error = explained_refusal(entry.result, typed, entry.error_offset);
        settled.error_offset = entry.error_offset;
        return settled;
    }
    // "=" with nothing but spaces after it compiles to no formula: it stays text, as typed.
    if (entry.result != 0 || (formula && entry.formula.size() < 2)) return settled;
    apply_kind(entry.kind, typed, header);
    if (is_formula_kind(entry.kind)) {
        settled.outcome = EntryOutcome::formula;
        settled.formula = std::move(entry.formula);
    } else {
        settled.outcome = EntryOutcome::number;
        settled.value = entry.value;
    }
    return settled;
}
