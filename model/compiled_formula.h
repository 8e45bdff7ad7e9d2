// The stored form of a formula (CompiledFormula): "=" and then tokens, with
// function names as numbers, references as binary cell coordinates and small
// integers as binary values; operators, parentheses, separators, text
// constants and other numbers stay characters. Two-byte fields are in host
// order and unaligned. One reader, read_formula_token, decodes every token
// with all its fields and never reads past the end; every walker of stored
// formulas goes through it.
#pragma once

#include <cstdint>

// Token bytes.
constexpr uint8_t kTokSmallInt = 'I';
constexpr uint8_t kTokFunction = 0xC4;
constexpr uint8_t kTokReference = '@';
constexpr uint8_t kTokReferenceArg = 0xA7;  // a reference used for its position only
constexpr uint8_t kTokLink = '!';
constexpr uint8_t kTokQuote = '"';
constexpr uint8_t kDivisionSign = 0xD6;
constexpr uint8_t kNotEqualSign = 0xAD;
constexpr uint8_t kLessEqualSign = 0xB2;
constexpr uint8_t kGreaterEqualSign = 0xB3;

// Reference bodies.
constexpr uint8_t kBodyRange = 'r';
constexpr uint8_t kBodyName = '&';
constexpr uint8_t kBodyLayers = 'R';

// Position markers: row and column absolute or relative. For layers the
// first flag is the last layer's, the second the first layer's.
constexpr uint8_t kMarkBothAbsolute = '#';
constexpr uint8_t kMarkFirstAbsolute = 0xA8;   // cell: row absolute, column relative
constexpr uint8_t kMarkSecondAbsolute = 0xA9;  // cell: row relative, column absolute
constexpr uint8_t kMarkBothRelative = 0xBA;

constexpr int kSmallIntLimit = 32000;  // "I" holds 0 .. 31999
// How deep expressions may nest (parentheses, arguments, and each
// concatenation or comparison, which the evaluator reads recursively), so
// that neither the parser nor the evaluator can run out of stack.
constexpr int kMaxExpressionDepth = 1000;

bool is_position_marker(uint8_t byte);
// The marker of two absolute flags (a: row or last layer, b: column or first layer).
uint8_t ParamChar(bool a, bool b);
inline bool marker_first_absolute(uint8_t marker) {
    return marker == kMarkBothAbsolute || marker == kMarkFirstAbsolute;
}
inline bool marker_second_absolute(uint8_t marker) {
    return marker == kMarkBothAbsolute || marker == kMarkSecondAbsolute;
}

enum class FormulaTokenKind : uint8_t {
    op,          // one operator, parenthesis or separator byte (or "<>", "<=", ">=")
    small_int,   // "I" i16
    number,      // number text
    text,        // text constant, quotes included
    function,    // 0xC4 u8
    link,        // "!" i16; the reference token follows
    reference,   // "@" or 0xA7 and a body
    space,       // a space between tokens
    malformed,   // a token cut short by the end of the bytes
};

enum class ReferenceKind : uint8_t { cell, range, name };

struct StoredReference {
    ReferenceKind kind = ReferenceKind::cell;
    bool position_only = false;       // written with 0xA7
    bool three_d = false;
    uint8_t layer_marker = 0;
    int16_t first_layer = 0, last_layer = 0;
    uint8_t markers[2] = {0, 0};      // a cell has one marker, used for both corners
    int16_t top = 0, left = 0, bottom = 0, right = 0;
    const uint8_t* name = nullptr;    // length-prefixed: name[0] is the length
};

struct FormulaToken {
    FormulaTokenKind kind = FormulaTokenKind::malformed;
    const uint8_t* start = nullptr;
    int32_t length = 0;               // bytes of the token
    int16_t value = 0;                // small integer, function number or link id
    StoredReference ref;
};

// Decodes the token at `p` (p < end). A token whose fields run past `end`
// comes back malformed with the remaining length, so a walk always ends.
FormulaToken read_formula_token(const uint8_t* p, const uint8_t* end);

// Calls visit for every token of a formula after its leading "=" (false from
// visit stops the walk); answers false when a malformed token was met.
template <typename Visit>
bool walk_formula(const uint8_t* bytes, int32_t length, Visit&& visit) {
    const uint8_t* p = bytes;
    const uint8_t* end = bytes + length;
    if (p < end && *p == '=') ++p;
    while (p < end) {
        FormulaToken token = read_formula_token(p, end);
        if (token.kind == FormulaTokenKind::malformed) return false;
        if (!visit(token)) return true;
        p += token.length;
    }
    return true;
}

// Appending tokens to an output block of 1-byte records.
struct MemoryRecord;
void append_formula_byte(MemoryRecord* out, uint8_t byte);
void append_formula_i16(MemoryRecord* out, int16_t value);
void append_formula_bytes(MemoryRecord* out, const uint8_t* bytes, int32_t count);
