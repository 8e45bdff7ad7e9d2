// The token lengths of stored formulas, with every step checked against the
// end of the formula.
#include "files/formula_walk.h"

namespace {

constexpr uint8_t kQuote = '"';
constexpr uint8_t kSmallInteger = 'I';
constexpr uint8_t kFunction = 0xC4;
constexpr uint8_t kLink = '!';
constexpr uint8_t kReference = '@';
constexpr uint8_t kReferenceArgument = 0xA7;
constexpr uint8_t kRange = 'r';
constexpr uint8_t kName = '&';
constexpr uint8_t kLayers = 'R';
constexpr int kLastFunction = 143;
constexpr int kLongestName = 31;

bool is_position_marker(uint8_t byte) { return byte == '#' || byte == 0xA8 || byte == 0xA9 || byte == 0xBA; }

struct Cursor {
    uint8_t* bytes;
    int32_t at;
    int32_t end;
    const FormulaWalk& walk;

    bool has(int32_t n) const { return n <= end - at; }
    void word(int32_t offset) {
        if (walk.word) walk.word(bytes + at + offset, walk.context);
    }
};

// A reference body, from its marker byte.
bool walk_reference_body(Cursor& c, bool layers_allowed) {
    if (!c.has(1)) return false;
    uint8_t marker = c.bytes[c.at];
    if (is_position_marker(marker)) {
        if (!c.has(5)) return false;
        c.word(1), c.word(3);
        c.at += 5;
        return true;
    }
    if (marker == kRange) {
        if (!c.has(11) || !is_position_marker(c.bytes[c.at + 1]) || !is_position_marker(c.bytes[c.at + 2]))
            return false;
        for (int offset = 3; offset < 11; offset += 2) c.word(offset);
        c.at += 11;
        return true;
    }
    if (marker == kName) {
        if (!c.has(2)) return false;
        int length = c.bytes[c.at + 1];
        if (length < 1 || length > kLongestName || !c.has(2 + length)) return false;
        c.at += 2 + length;
        return true;
    }
    if (marker == kLayers && layers_allowed) {
        if (!c.has(6) || !is_position_marker(c.bytes[c.at + 1])) return false;
        c.word(2), c.word(4);
        c.at += 6;
        return walk_reference_body(c, false);
    }
    return false;
}

bool walk_token(Cursor& c) {
    uint8_t token = c.bytes[c.at];
    switch (token) {
    case kQuote: {
        for (int32_t i = c.at + 1; i < c.end; ++i)
            if (c.bytes[i] == kQuote) {
                c.at = i + 1;
                return true;
            }
        return false;
    }
    case kSmallInteger:
        if (!c.has(3)) return false;
        c.word(1);
        c.at += 3;
        return true;
    case kFunction:
        if (!c.has(2) || c.bytes[c.at + 1] < 1 || c.bytes[c.at + 1] > kLastFunction) return false;
        c.at += 2;
        return true;
    case kLink:
        if (!c.has(4) || c.bytes[c.at + 3] != kReference) return false;
        c.word(1);
        if (c.walk.link) c.walk.link(c.bytes + c.at + 1, c.walk.context);
        c.at += 3;
        return true;
    case kReference:
    case kReferenceArgument:
        c.at += 1;
        return walk_reference_body(c, true);
    default:
        c.at += 1;
        return true;
    }
}

}  // namespace

bool walk_stored_formula(uint8_t* body, int32_t length, const FormulaWalk& walk) {
    if (length < 0) return false;
    Cursor cursor{body, 0, length, walk};
    while (cursor.at < cursor.end)
        if (!walk_token(cursor)) return false;
    return true;
}
