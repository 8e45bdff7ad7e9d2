// Decoding the tokens of stored formulas.
#include "model/compiled_formula.h"

#include "core/memory_manager.h"
#include "model/record_bytes.h"

bool is_position_marker(uint8_t byte) {
    return byte == kMarkBothAbsolute || byte == kMarkFirstAbsolute || byte == kMarkSecondAbsolute ||
           byte == kMarkBothRelative;
}

uint8_t ParamChar(bool a, bool b) {
    if (a && b) return kMarkBothAbsolute;
    if (a) return kMarkFirstAbsolute;
    if (b) return kMarkSecondAbsolute;
    return kMarkBothRelative;
}

namespace {

bool is_number_byte(uint8_t byte) { return (byte >= '0' && byte <= '9') || byte == '.'; }

// The length of the number text at p: digits, ".", an "E" or "e" with an
// optional sign right after it.
int32_t number_text_length(const uint8_t* p, const uint8_t* end) {
    const uint8_t* q = p;
    while (q < end) {
        if (is_number_byte(*q)) {
            ++q;
        } else if (*q == 'E' || *q == 'e') {
            ++q;
            if (q < end && (*q == '+' || *q == '-')) ++q;
        } else {
            break;
        }
    }
    return int32_t(q - p);
}

// A reference body at p; answers its length, or 0 when it is cut short or
// unknown.
int32_t read_reference_body(const uint8_t* p, const uint8_t* end, StoredReference& ref) {
    const uint8_t* start = p;
    if (p < end && *p == kBodyLayers) {
        if (end - p < 6) return 0;
        ref.three_d = true;
        ref.layer_marker = p[1];
        ref.first_layer = load_i16(p + 2);
        ref.last_layer = load_i16(p + 4);
        p += 6;
    }
    if (p >= end) return 0;
    if (is_position_marker(*p)) {
        if (end - p < 5) return 0;
        ref.kind = ReferenceKind::cell;
        ref.markers[0] = ref.markers[1] = p[0];
        ref.top = ref.bottom = load_i16(p + 1);
        ref.left = ref.right = load_i16(p + 3);
        p += 5;
    } else if (*p == kBodyRange) {
        if (end - p < 11) return 0;
        ref.kind = ReferenceKind::range;
        ref.markers[0] = p[1];
        ref.markers[1] = p[2];
        ref.top = load_i16(p + 3);
        ref.left = load_i16(p + 5);
        ref.bottom = load_i16(p + 7);
        ref.right = load_i16(p + 9);
        p += 11;
    } else if (*p == kBodyName) {
        if (end - p < 2 || end - p < 2 + p[1]) return 0;
        ref.kind = ReferenceKind::name;
        ref.name = p + 1;
        p += 2 + p[1];
    } else {
        return 0;
    }
    return int32_t(p - start);
}

}  // namespace

FormulaToken read_formula_token(const uint8_t* p, const uint8_t* end) {
    FormulaToken token;
    token.start = p;
    token.length = int32_t(end - p);
    token.kind = FormulaTokenKind::malformed;
    const int32_t left = int32_t(end - p);
    switch (*p) {
    case kTokSmallInt:
    case kTokLink:
        if (left < 3) return token;
        token.kind = *p == kTokLink ? FormulaTokenKind::link : FormulaTokenKind::small_int;
        token.value = load_i16(p + 1);
        token.length = 3;
        return token;
    case kTokFunction:
        if (left < 2) return token;
        token.kind = FormulaTokenKind::function;
        token.value = p[1];
        token.length = 2;
        return token;
    case kTokQuote:
        for (const uint8_t* q = p + 1; q < end; ++q)
            if (*q == kTokQuote) {
                token.kind = FormulaTokenKind::text;
                token.length = int32_t(q + 1 - p);
                return token;
            }
        return token;
    case kTokReference:
    case kTokReferenceArg: {
        token.ref.position_only = *p == kTokReferenceArg;
        int32_t body = read_reference_body(p + 1, end, token.ref);
        if (body == 0) return token;
        token.kind = FormulaTokenKind::reference;
        token.length = 1 + body;
        return token;
    }
    case ' ':
        token.kind = FormulaTokenKind::space;
        token.length = 1;
        return token;
    default:
        break;
    }
    if (is_number_byte(*p)) {
        token.kind = FormulaTokenKind::number;
        token.length = number_text_length(p, end);
        return token;
    }
    token.kind = FormulaTokenKind::op;
    token.length = 1;
    if (left >= 2 && ((p[0] == '<' && (p[1] == '>' || p[1] == '=')) || (p[0] == '>' && p[1] == '=')))
        token.length = 2;
    return token;
}

void append_formula_byte(MemoryRecord* out, uint8_t byte) { PtrAndMemory(&byte, out, 1); }

void append_formula_i16(MemoryRecord* out, int16_t value) {
    uint8_t bytes[2];
    store_i16(bytes, value);
    PtrAndMemory(bytes, out, 2);
}

void append_formula_bytes(MemoryRecord* out, const uint8_t* bytes, int32_t count) {
    if (count > 0) PtrAndMemory(bytes, out, count);
}
