// The formula parser: entries to numbers, dates or stored formulas.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <vector>

#include "core/memory_use.h"
#include "core/number_text.h"
#include "core/string_utils.h"
#include "formula/date_functions.h"
#include "formula/error_values.h"
#include "model/compiled_formula.h"
#include "formula/evaluator.h"
#include "formula/function_table.h"
#include "formula/parser.h"
#include "formula/reference_text.h"
#include "model/calc_globals.h"
#include "model/date_serials.h"
#include "model/layer.h"
#include "model/links.h"

namespace {

const uint8_t* text_start = nullptr;   // first byte of the entry
const uint8_t* symbol_start = nullptr; // first byte of the current symbol
bool after_operand = false;            // the symbol before the current one ends an operand
int expression_depth = 0;              // levels of expressions being parsed

constexpr int16_t kFormatFormulaText = 'f';
constexpr int16_t kFormatFraction = 'J';

bool is_digit(uint8_t c) { return c >= '0' && c <= '9'; }

bool at_end() { return Ch == 0 && g_formulaPtr > g_endPtr; }

// Moves the reading position back so that `p` is the current byte.
void go_back_to(const uint8_t* p) {
    g_formulaPtr = p;
    AdvPChar();
}

// Stops parsing at the current symbol with a code.
void fail_at_symbol(int16_t code) {
    ParserError = code;
    g_formulaPtr = symbol_start + 1;
}

bool is_operator_byte(uint8_t c) {
    switch (c) {
    case '+': case '-': case '*': case '/': case '=': case '<': case '>': case '^': case '&': case '%':
    case kNotEqualSign: case kLessEqualSign: case kGreaterEqualSign: case kDivisionSign:
        return true;
    default:
        return false;
    }
}

bool ends_identifier(uint8_t c) {
    return is_operator_byte(c) || c == '(' || c == ')' || c == '!' || c == listSep || c == '"' ||
           c == '\'' || c == ' ';
}

uint8_t upper_case(uint8_t c) { return extended_toupper(c); }

void InSymbol();

// "()" directly after the name of a function without arguments is read with
// the name and not stored; an opened parenthesis must close at once.
void skip_empty_parentheses() {
    if (Ch != '(') return;
    AdvPChar();
    if (Ch == ')') {
        AdvPChar();
        return;
    }
    symbol_start = g_formulaPtr - 1;
    Sy = kSyUnknown;
    ParserError = kParseMissingClose;
}

// A function name or a reference; Ch is its first byte.
void ScanIdentifier() {
    const uint8_t* start = g_formulaPtr - 1;
    unsigned char text[256];
    text[0] = 0;
    bool has_range_chars = false;
    while (!at_end() && !ends_identifier(Ch)) {
        if (text[0] == 255) break;
        uint8_t c = upper_case(Ch);
        has_range_chars = has_range_chars || c == ':' || c == '$';
        text[++text[0]] = c;
        AdvPChar();
    }
    if (text[0] > 0 && !has_range_chars) {
        int number = function_number_of(text);
        if (number > 0) {
            Sy = kSyFunction;
            g_functionNum = int16_t(number);
            append_formula_byte(ParserReturn, kTokFunction);
            append_formula_byte(ParserReturn, uint8_t(number));
            if (function_takes_no_arguments(number)) skip_empty_parentheses();
            return;
        }
    }
    RangeToRect(text, g_calcSheet);
    if (Sy != kSyReference) go_back_to(start);
}

void ScanNumber() {
    const uint8_t* start = g_formulaPtr - 1;
    char text[256];
    int length = 0;
    bool has_colon = false, plain_integer = true;
    while (!at_end() && length < 255) {
        if (is_digit(Ch) || Ch == decimalPt || Ch == ':') {
            has_colon = has_colon || Ch == ':';
            plain_integer = plain_integer && is_digit(Ch);
            text[length++] = Ch == decimalPt ? '.' : char(Ch);
            AdvPChar();
        } else if (Ch == 'E' || Ch == 'e') {
            plain_integer = false;
            text[length++] = char(Ch);
            AdvPChar();
            if (!at_end() && (Ch == '+' || Ch == '-') && length < 255) {
                text[length++] = char(Ch);
                AdvPChar();
            }
        } else {
            break;
        }
    }
    if (has_colon) {
        go_back_to(start);
        ScanIdentifier();
        return;
    }
    double value = 0;
    // The whole text must be one number: 1.2.3 or 2E are refused.
    if (decimal_text_to_double(text, length, &value) != length) {
        go_back_to(start);
        return;
    }
    Sy = kSyNumber;
    if (plain_integer && value < kSmallIntLimit) {
        append_formula_byte(ParserReturn, kTokSmallInt);
        append_formula_i16(ParserReturn, int16_t(value));
    } else {
        append_formula_bytes(ParserReturn, reinterpret_cast<const uint8_t*>(text), length);
    }
}

void ScanText() {
    const uint8_t* start = g_formulaPtr - 1;
    const uint8_t* close = start + 1;
    while (close < g_endPtr && *close != '"') ++close;
    if (close >= g_endPtr) {
        ParserError = kParseOpenText;
        return;
    }
    append_formula_bytes(ParserReturn, start, int32_t(close + 1 - start));
    go_back_to(close + 1);
    Sy = kSyText;
}

// Gives the reference token at `body` (its "@") the layer part of the linked
// document's first layer, as if "1:" had been typed before it.
void put_first_layer_before(int32_t body) {
    int32_t after_marker = body + 1;
    int32_t size = GetMemorySize(ParserReturn);
    MemoryUse<uint8_t> bytes(ParserReturn);
    std::vector<uint8_t> rest(bytes + after_marker, bytes + size);
    bytes.release();
    SetMemorySize(ParserReturn, after_marker);
    int16_t offset = int16_t(0 - GetSheetID(g_calcSheet));
    append_formula_byte(ParserReturn, kBodyLayers);
    append_formula_byte(ParserReturn, ParamChar(false, false));
    append_formula_i16(ParserReturn, offset);
    append_formula_i16(ParserReturn, offset);
    append_formula_bytes(ParserReturn, rest.data(), int32_t(rest.size()));
}

// 'Document name'! and the reference in the linked document that follows;
// a reference without a layer part reads the document's first layer.
void ScanDocumentName() {
    const uint8_t* start = g_formulaPtr - 1;
    const uint8_t* close = start + 1;
    while (close < g_endPtr && *close != '\'') ++close;
    if (close >= g_endPtr) {
        ParserError = kParseOpenDocName;
        return;
    }
    unsigned char name[256];
    name[0] = uint8_t(std::min<std::ptrdiff_t>(close - start - 1, 255));
    std::memcpy(name + 1, start + 1, name[0]);
    MemoryRef linked = nullptr;
    // An untitled document has no name to link to, and no name is not a document.
    if (name[0] == 0) return;
    if (close + 1 >= g_endPtr || close[1] != '!' || !MatchFileStr(name, &linked)) return;
    int16_t link = -1;
    CheckFileInfo(&link, g_calcSheet, linked, name);
    if (link < 0) return;
    go_back_to(close + 2);
    int32_t before = GetMemorySize(ParserReturn);
    append_formula_byte(ParserReturn, kTokLink);
    append_formula_i16(ParserReturn, link);
    int32_t body = GetMemorySize(ParserReturn);
    ScanIdentifier();
    if (Sy != kSyReference) {
        SetMemorySize(ParserReturn, before);
        Sy = kSyUnknown;
        go_back_to(start);
        return;
    }
    MemoryUse<uint8_t> bytes(ParserReturn);
    bool three_d = GetMemorySize(ParserReturn) > body + 1 && bytes[body + 1] == kBodyLayers;
    bytes.release();
    if (!three_d) put_first_layer_before(body);
}

void read_operator(int16_t sy, int16_t op) {
    NextPChar();
    Sy = sy;
    Op = op;
}

void read_comparison() {
    uint8_t first = Ch;
    NextPChar();
    Sy = kSyCompare;
    if (first == '<' && Ch == '=') {
        NextPChar();
        Op = kOpLessEqual;
    } else if (first == '<' && Ch == '>') {
        NextPChar();
        Op = kOpNotEqual;
    } else if (first == '>' && Ch == '=') {
        NextPChar();
        Op = kOpGreaterEqual;
    } else {
        Op = first == '<' ? kOpLessThan : first == '>' ? kOpGreaterThan : kOpEqual;
    }
}

bool symbol_ends_operand(int16_t sy) {
    return sy == kSyText || sy == kSyNumber || sy == kSyReference || sy == kSyClose;
}

void InSymbol() {
    while (Ch == ' ' && !at_end()) AdvPChar();
    Sy = kSyUnknown;
    Op = kOpNone;
    symbol_start = g_formulaPtr - 1;
    bool percent_allowed = after_operand;
    if (at_end()) {
        Sy = kSyEnd;
    } else {
        switch (Ch) {
        case '+': read_operator(kSyAdd, kOpAdd); break;
        case '-': read_operator(kSyAdd, kOpSubtract); break;
        case '*': read_operator(kSyMultiply, kOpMultiply); break;
        case '/': case kDivisionSign: read_operator(kSyMultiply, kOpDivide); break;
        case '^': read_operator(kSyPower, kOpNone); break;
        case '&': read_operator(kSyConcat, kOpNone); break;
        case '(': read_operator(kSyOpen, kOpNone); break;
        case ')': read_operator(kSyClose, kOpNone); break;
        case '=': case '<': case '>': read_comparison(); break;
        case kNotEqualSign: read_operator(kSyCompare, kOpNotEqual); break;
        case kLessEqualSign: read_operator(kSyCompare, kOpLessEqual); break;
        case kGreaterEqualSign: read_operator(kSyCompare, kOpGreaterEqual); break;
        case '%':
            // A percent sign follows an operand; it is read through.
            if (!percent_allowed) break;
            NextPChar();
            InSymbol();
            return;
        case '"': ScanText(); break;
        case '\'': ScanDocumentName(); break;
        default:
            if (is_digit(Ch) || Ch == decimalPt) {
                ScanNumber();
            } else if (Ch == listSep) {
                append_formula_byte(ParserReturn, ',');
                AdvPChar();
                Sy = kSySeparator;
            } else if (Ch != 0) {
                ScanIdentifier();
            }
        }
    }
    if (Sy == kSyUnknown) {
        if (ParserError == 0) ParserError = kParseUnknownSymbol;
        go_back_to(symbol_start);
        g_formulaPtr = symbol_start + 1;
    }
    after_operand = symbol_ends_operand(Sy);
}

// ---- Grammar -------------------------------------------------------------------

void Expression();

// After an operand only an operator, ")", "," or the end may come.
void check_operand_follows() {
    if (ParserError) return;
    if (Sy <= kSyConcat || Sy == kSyClose || Sy == kSySeparator || Sy == kSyEnd) return;
    fail_at_symbol(kParseOperandFollows);
}

// The first output byte of an argument that must be a reference: "@", or the
// "!" of a link followed by its "@".
int32_t reference_start(int32_t argument_start) {
    int32_t size = GetMemorySize(ParserReturn);
    if (size <= argument_start) return -1;
    MemoryUse<uint8_t> bytes(ParserReturn);
    int32_t at = bytes[argument_start] == kTokLink ? argument_start + 3 : argument_start;
    bool reference = at < size && bytes[at] == kTokReference;
    bytes.release();
    return reference ? at : -1;
}

void mark_position_only(int32_t at) {
    MemoryUse<uint8_t> bytes(ParserReturn);
    bytes[at] = kTokReferenceArg;
}

// Checks an argument that has just been parsed from output offset `start`.
void check_reference_argument(const FunctionArity& arity, int index, int32_t start) {
    if (!arity.reference_argument(index)) return;
    int32_t at = reference_start(start);
    if (at < 0) {
        fail_at_symbol(kParseNotReference);
        return;
    }
    if (arity.position_only) mark_position_only(at);
}

void set_kind_after_call(int number) {
    int16_t kind = function_entry_kind(number);
    if (kind) ParserCellType = kind;
}

void FunctionCall() {
    const int number = g_functionNum;
    const FunctionArity arity = function_arity(number);
    ParserCellType = kKindFormula;
    if (function_takes_no_arguments(number)) {
        // No parentheses: the name stands alone (a "()" after it was read with it).
        after_operand = true;
        InSymbol();
        set_kind_after_call(number);
        check_operand_follows();
        return;
    }
    InSymbol();
    if (ParserError) return;
    if (Sy != kSyOpen) {
        fail_at_symbol(kParseMissingClose);
        return;
    }
    int32_t start = GetMemorySize(ParserReturn);
    InSymbol();
    if (ParserError) return;
    int count = 0;
    if (Sy == kSyClose) {
        if (arity.min > 0) fail_at_symbol(arity.reference_argument(0) ? kParseNotReference : kParseUnknownSymbol);
    } else {
        for (;;) {
            if (count == arity.max) {
                fail_at_symbol(kParseMissingClose);
                return;
            }
            Expression();
            if (ParserError) return;
            check_reference_argument(arity, count, start);
            if (ParserError) return;
            ++count;
            if (Sy != kSySeparator) break;
            start = GetMemorySize(ParserReturn);
            InSymbol();
            if (ParserError) return;
        }
        if (Sy != kSyClose) {
            fail_at_symbol(kParseMissingClose);
            return;
        }
        if (count < arity.min) {
            fail_at_symbol(arity.too_few_code);
            return;
        }
    }
    InSymbol();
    set_kind_after_call(number);
    check_operand_follows();
}

void Factor() {
    switch (Sy) {
    case kSyOpen:
        InSymbol();
        if (ParserError) return;
        Expression();
        if (ParserError) return;
        if (Sy != kSyClose) {
            fail_at_symbol(kParseMissingClose);
            return;
        }
        InSymbol();
        check_operand_follows();
        return;
    case kSyNumber:
    case kSyText:
    case kSyReference:
        InSymbol();
        check_operand_follows();
        return;
    case kSySeparator:
        return;  // an empty argument
    case kSyFunction:
        FunctionCall();
        return;
    default:
        fail_at_symbol(kParseUnknownSymbol);
    }
}

void ExpTerm() {
    Factor();
    while (!ParserError && Sy == kSyPower) {
        InSymbol();
        if (!ParserError && Sy == kSyAdd) InSymbol();
        if (!ParserError) Factor();
    }
}

void MultTerm() {
    ExpTerm();
    while (!ParserError && Sy == kSyMultiply) {
        InSymbol();
        if (!ParserError && Sy == kSyAdd && Op == kOpSubtract) InSymbol();
        if (!ParserError) ExpTerm();
    }
}

void AddTerm() {
    if (ParserError) return;
    if (Sy == kSyAdd) InSymbol();
    if (!ParserError) MultTerm();
    while (!ParserError && Sy == kSyAdd) {
        InSymbol();
        if (!ParserError) MultTerm();
    }
}

// Counts a level of the evaluator's recursion; false, with the parse
// stopped, past the deepest the evaluator takes.
bool enter_level(int* levels) {
    ++*levels;
    if (++expression_depth <= kMaxExpressionDepth) return true;
    fail_at_symbol(kParseUnknownSymbol);
    return false;
}

void Expression() {
    if (ParserError) return;
    int levels = 0;
    if (enter_level(&levels)) {
        AddTerm();
        if (!ParserError && Sy == kSyCompare && enter_level(&levels)) {
            InSymbol();
            if (!ParserError) AddTerm();
            if (!ParserError && Sy == kSyCompare) fail_at_symbol(kParseMissingSeparator);
        }
        while (!ParserError && Sy == kSyConcat && enter_level(&levels)) {
            InSymbol();
            if (!ParserError) AddTerm();
        }
    }
    expression_depth -= levels;
}

// ---- Entries that are numbers or dates -------------------------------------------

bool is_date_format(uint8_t format) { return format < 31 || (format >= 'n' && format <= 't'); }

bool reads_as_date(const unsigned char* text) {
    unsigned char copy[256];
    std::memcpy(copy, text, text[0] + 1);
    return parseDate(copy, dateOrder, false) != 0;
}

bool contains(const unsigned char* text, uint8_t c) {
    return std::memchr(text + 1, c, text[0]) != nullptr;
}

// Step 3 of ParseText: the kind of an entry that does not begin with "=",
// or 0 when it is neither a number nor a date.
int16_t constant_kind(unsigned char* text, uint8_t format) {
    ParserCellType = kKindNumber;
    const bool date_cell = is_date_format(format);
    if (date_cell && reads_as_date(text)) return kKindDate;
    if (!date_cell && format == kFormatFraction) return validConstant(text, 1) ? kKindNumber : 0;
    bool number = false;
    if (dateSep == '.') {
        if (contains(text, '/') && reads_as_date(text)) return kKindDate;
        number = validConstant(text, 1) != 0;
        if (!number && reads_as_date(text)) return kKindDate;
    } else {
        if (reads_as_date(text)) return kKindDate;
        number = validConstant(text, 1) != 0;
    }
    if (!number) return 0;
    return date_cell ? kKindNumberInDateCell : ParserCellType;
}

// ---- validConstant -------------------------------------------------------------

struct Cleaned {
    char text[256];
    int length = 0;
};

bool convert_whole(const char* text, int length, double* value) {
    return length > 0 && decimal_text_to_double(text, length, value) == length && std::isfinite(*value);
}

bool read_fraction(const Cleaned& c, int slash, int space) {
    if (c.length >= 32 || slash == c.length - 1) return false;
    double w = 0, a = 0, b = 0;
    if (space < 0) {
        if (slash == 0) return false;
        if (!convert_whole(c.text, slash, &a)) return false;
    } else {
        if (space > slash || slash == space + 1) return false;
        if (!convert_whole(c.text, space, &w)) return false;
        if (!convert_whole(c.text + space + 1, slash - space - 1, &a)) return false;
    }
    if (!convert_whole(c.text + slash + 1, c.length - slash - 1, &b)) return false;
    if (a == 0 || b == 0) return false;
    if (space < 0)
        g_value = a / b;
    else
        g_value = (w <= 0 && c.text[0] == '-') ? w - a / b : w + a / b;
    ParserCellType = kKindFraction;
    return true;
}

}  // namespace

// ---- Reading routines ----------------------------------------------------------

void NextPChar() {
    append_formula_byte(ParserReturn, Ch);
    AdvPChar();
}

int16_t validConstant(unsigned char* text, int16_t flag) {
    Cleaned c;
    int from = 1;
    if (flag == 0 && text[0] > 0 && text[1] == '\'') from = 2;
    bool currency_removed = false;
    for (int i = from; i <= text[0]; ++i) {
        if (!currency_removed && text[i] == currSym1) {
            currency_removed = true;
            continue;
        }
        c.text[c.length++] = char(text[i]);
    }
    // Thousands separators go, unless one stands among the last three places.
    int kept = 0;
    for (int i = 0; i < c.length; ++i) {
        if (uint8_t(c.text[i]) == thousSep) {
            if (i >= c.length - 3) return 0;
            continue;
        }
        c.text[kept++] = c.text[i];
    }
    c.length = kept;
    while (c.length > 0 && c.text[c.length - 1] == ' ') --c.length;
    if (c.length == 0) return 0;
    int first = 0;
    if (c.text[0] == '+' || c.text[0] == '-') {
        if (c.length < 2) return 0;
        first = 1;
    }
    if (c.length - first == 1 && (uint8_t(c.text[first]) == decimalPt || uint8_t(c.text[first]) == listSep))
        return 0;
    int exponent = -1, point = -1, slash = -1, space = -1;
    for (int i = first; i < c.length; ++i) {
        uint8_t ch = uint8_t(c.text[i]);
        if (is_digit(ch)) continue;
        if ((ch == 'E' || ch == 'e') && exponent < 0) {
            exponent = i;
        } else if ((ch == '+' || ch == '-') && exponent == i - 1) {
        } else if (ch == decimalPt && point < 0) {
            point = i;
            c.text[i] = '.';
        } else if (ch == '/' && slash < 0 && flag == 1) {
            slash = i;
        } else if (ch == ' ' && space < 0) {
            space = i;
        } else {
            return 0;
        }
    }
    if (slash >= 0) {
        if (!read_fraction(c, slash, space)) return 0;
    } else {
        if (space >= 0) return 0;
        double value = 0;
        if (decimal_text_to_double(c.text, c.length, &value) != c.length) return 0;
        g_value = value;
        if (flag == 1) {
            text[0] = uint8_t(c.length);
            std::memcpy(text + 1, c.text, c.length);
        }
    }
    return checkgValue() == 0 ? 1 : 0;
}

void InitParser(CellPoint cell, MemoryRef text, MemoryRef layer) {
    g_calcCell = cell;
    g_calcSheet = layer;
    text_start = static_cast<const uint8_t*>(UseMemory(text));
    g_formulaPtr = text_start;
    g_endPtr = text_start + GetByteSize(text);
    AdvPChar();
}

int16_t ParseText(unsigned char* text, MemoryRef* formula, int16_t* kind, uint8_t format,
                  MemoryGlobals* memory) {
    ParserError = 0;
    ParserReturn = pgAllocateNewRef(memory, 1, 0, 255, false);
    *formula = ParserReturn;
    if (!ParserReturn) return kParseUnknownSymbol;
    if (Ch == '=') {
        NextPChar();
        if (text[0] > 0 && text[1] == '=') DeletePString(text, 1, 1);
    } else {
        if (text[0] > 0 && format != kFormatFormulaText) {
            int16_t found = constant_kind(text, format);
            if (found) {
                *kind = found;
                return 0;
            }
        }
        if (*kind == 0) return 1;
    }
    ParserCellType = kKindFormula;
    after_operand = false;
    expression_depth = 0;
    InSymbol();
    if (!ParserError && Sy != kSyEnd) Expression();
    *kind = ParserCellType;
    if (ParserError) return ParserError;
    if (Sy != kSyEnd) {
        fail_at_symbol(kParseUnknownSymbol);
        return ParserError;
    }
    return 0;
}

int32_t parser_error_offset() { return int32_t(g_formulaPtr - 1 - text_start); }

int16_t parse_formula_text(const unsigned char* text, CellPoint cell, MemoryRef layer, MemoryRef* formula,
                           int16_t* kind, int32_t* error_offset, uint8_t format, unsigned char* parsed_text) {
    *formula = nullptr;
    MemoryRef source = Bytes2Memory(&mem_globals, text + 1, 1, text[0]);
    if (!source) return kParseUnknownSymbol;
    unsigned char copy[256];
    std::memcpy(copy, text, text[0] + 1);
    InitParser(cell, source, layer);
    *kind = text[0] > 0 && text[1] == '=' ? 1 : 0;
    MemoryRef out = nullptr;
    int16_t result = ParseText(copy, &out, kind, format, &mem_globals);
    if (error_offset) *error_offset = result > 1 ? parser_error_offset() : 0;
    if (parsed_text) std::memcpy(parsed_text, copy, size_t(copy[0]) + 1);
    UnuseMemory(source);
    DisposeMemory(source);
    bool is_formula = result == 0 && (*kind == kKindFormula || *kind == kKindDateFormula || *kind == kKindTimeFormula);
    if (is_formula)
        *formula = out;
    else
        DisposeNonNilMemory(out);
    ParserReturn = nullptr;
    return result;
}

bool split_percent_entry(std::string_view text, std::string_view* number, uint8_t* decimals) {
    if (text.size() < 2 || text.back() != '%' || text.front() == '=') return false;
    *number = text.substr(0, text.size() - 1);
    const size_t point = number->find(char(decimalPt));
    const size_t written = point == std::string_view::npos ? 0 : number->size() - point - 1;
    *decimals = uint8_t(std::min<size_t>(written, 9));
    return true;
}
