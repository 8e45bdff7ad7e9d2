// Case mapping and the comparison order of text: Mac Roman by its letters,
// the characters of the other scripts by their alphabets (collation_weights).
#include <algorithm>

#include "platform/text/collation_weights.h"
#include "platform/text/letters.h"
#include "platform/text/text.h"

namespace pf {
namespace {

unsigned char ascii_lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c + 32) : c; }

// The characters of a text as the passes read them: a Roman byte below 256,
// any other character as 256 + its code point.
constexpr uint32_t kFirstOtherCharacter = 256;

struct RomanBytes {
    std::string_view text;
    size_t size() const { return text.size(); }
    uint32_t operator[](size_t i) const { return static_cast<unsigned char>(text[i]); }
};

struct CollationCharacters {
    std::u32string_view text;
    size_t size() const { return text.size(); }
    uint32_t operator[](size_t i) const { return text[i]; }
};

const collation::CharacterWeights& other_weights(uint32_t c) {
    return collation::character_weights(char32_t(c - kFirstOtherCharacter));
}

// Walks a text as its primary spelling: letters lower-case and unmarked,
// ligatures spelled out, each unit as collation::roman_unit; another
// character by its own primary unit, or the spelling of the Roman byte its
// alphabet ranks alike; kEndOfText at the end.
template <typename Text>
struct PrimaryCursor {
    Text text;
    size_t next = 0;
    const char* pending = nullptr;

    uint64_t take() {
        if (pending && *pending) return collation::roman_unit(ascii_lower(*pending++));
        if (next >= text.size()) return collation::kEndOfText;
        uint32_t character = text[next++];
        if (character >= kFirstOtherCharacter) {
            const collation::CharacterWeights& w = other_weights(character);
            if (w.roman_equal < 0) return w.primary;
            character = uint32_t(w.roman_equal);
        }
        const unsigned char c = static_cast<unsigned char>(character);
        const letters::LetterInfo& info = letters::info(c);
        if (c < 0x80 || !info.letter) return collation::roman_unit(info.letter ? ascii_lower(char(c)) : c);
        pending = info.base + 1;
        return collation::roman_unit(ascii_lower(info.base[0]));
    }
};

int sign(int v) { return v < 0 ? -1 : v > 0 ? 1 : 0; }

template <typename A, typename B>
int compare_primary(A a, B b) {
    PrimaryCursor<A> ca{a};
    PrimaryCursor<B> cb{b};
    for (;;) {
        const uint64_t x = ca.take(), y = cb.take();
        if (x != y) return x < y ? -1 : 1;
        if (x == collation::kEndOfText) return 0;
    }
}

// 0 for an unmarked character; marked letters and ligatures by their
// lower-case code, other marked characters after them.
int mark_weight(uint32_t c) {
    if (c >= kFirstOtherCharacter) return other_weights(c).mark;
    return c >= 0x80 && letters::info(static_cast<unsigned char>(c)).letter
               ? to_lower_mac_roman(static_cast<unsigned char>(c))
               : 0;
}

// Upper case first.
int case_weight(uint32_t c) {
    if (c >= kFirstOtherCharacter) return other_weights(c).upper ? 0 : 1;
    return letters::info(static_cast<unsigned char>(c)).upper ? 0 : 1;
}

int character_weight(uint32_t c) { return int(c); }

template <typename A, typename B, typename Weight>
int compare_by_weight(A a, B b, Weight weight) {
    size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        int d = weight(a[i]) - weight(b[i]);
        if (d) return sign(d);
    }
    return sign(int(a.size() > b.size()) - int(a.size() < b.size()));
}

template <typename A, typename B>
int compare_passes(A a, B b, TextCompare how) {
    if (int d = compare_primary(a, b)) return d;
    if (how.marks_count) {
        if (int d = compare_by_weight(a, b, mark_weight)) return d;
    }
    if (how.case_counts) {
        if (int d = compare_by_weight(a, b, case_weight)) return d;
    }
    if (how.marks_count && how.case_counts) return compare_by_weight(a, b, character_weight);
    return 0;
}

bool ascii_only(std::string_view bytes) {
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// A character of a text of another script: ASCII and the Mac Roman letters
// as their Roman bytes, so that they compare as in Roman text.
uint32_t collation_character(char32_t c) {
    unsigned char byte = 0;
    if (c < 0x80) return c;
    if (unicode_to_mac_roman(c, byte) && letters::info(byte).letter) return byte;
    return kFirstOtherCharacter + c;
}

std::string_view view_of_pstring(const unsigned char* p) {
    return p ? std::string_view(reinterpret_cast<const char*>(p + 1), p[0]) : std::string_view();
}

}  // namespace

unsigned char to_upper_mac_roman(unsigned char c) {
    const letters::LetterInfo& info = letters::info(c);
    return info.upper ? c : info.partner;
}

unsigned char to_lower_mac_roman(unsigned char c) {
    const letters::LetterInfo& info = letters::info(c);
    return info.upper ? info.partner : c;
}

void uppercase_text(char* text, int32_t length) {
    for (int32_t i = 0; i < length; ++i) text[i] = char(to_upper_mac_roman(static_cast<unsigned char>(text[i])));
}

void lowercase_text(char* text, int32_t length) {
    for (int32_t i = 0; i < length; ++i) text[i] = char(to_lower_mac_roman(static_cast<unsigned char>(text[i])));
}

namespace {

// A block of letters whose capitals and small letters lie `offset` apart.
struct CaseBlock {
    char32_t first_capital, last_capital;
    int32_t offset;
};
constexpr CaseBlock kCaseBlocks[] = {
    {U'A', U'Z', 32},         {0x00C0, 0x00DE, 32},  // not × (U+00D7)
    {0x0391, 0x03A9, 32},     {0x0388, 0x038A, 37},  {0x0410, 0x042F, 32}, {0x0400, 0x040F, 80},
};

bool in_block(char32_t capital, const CaseBlock& b) {
    return capital >= b.first_capital && capital <= b.last_capital && capital != 0x00D7 && capital != 0x03A2;
}

// Latin Extended-A pairs: a capital at an even code point before U+0138 and
// from U+014A, at an odd one between; U+0178 (Ÿ) pairs with U+00FF.
bool latin_extended_capital(char32_t c) {
    if (c < 0x0100 || c > 0x017E || c == 0x0138 || c == 0x0149 || c == 0x017F) return false;
    const bool odd_capitals = (c >= 0x0139 && c <= 0x0148) || c >= 0x0179;
    return c == 0x0178 || (odd_capitals ? c % 2 == 1 : c % 2 == 0);
}

}  // namespace

char32_t to_upper_letter(char32_t c) {
    for (const CaseBlock& b : kCaseBlocks)
        if (in_block(char32_t(c - b.offset), b)) return char32_t(c - b.offset);
    if (c == 0x03C2) return 0x03A3;  // final sigma
    if (c == 0x03AC) return 0x0386;
    if (c == 0x03CC) return 0x038C;
    if (c == 0x03CD || c == 0x03CE) return char32_t(c - 63);
    if (c == 0x00FF) return 0x0178;
    if (c > 0x0100 && c <= 0x017E && c != 0x0178 && latin_extended_capital(c - 1) && !latin_extended_capital(c))
        return char32_t(c - 1);
    return c;
}

char32_t to_lower_letter(char32_t c) {
    for (const CaseBlock& b : kCaseBlocks)
        if (in_block(c, b)) return char32_t(c + b.offset);
    if (c == 0x0386) return 0x03AC;
    if (c == 0x038C) return 0x03CC;
    if (c == 0x038E || c == 0x038F) return char32_t(c + 63);
    if (c == 0x0178) return 0x00FF;
    if (latin_extended_capital(c) && c < 0x017E) return char32_t(c + 1);
    return c;
}

unsigned char strip_diacritic(unsigned char c) {
    const letters::LetterInfo& info = letters::info(c);
    return info.letter && info.base[1] == 0 ? static_cast<unsigned char>(info.base[0]) : c;
}

int compare_text(std::string_view a, std::string_view b, TextCompare how) {
    return compare_passes(RomanBytes{a}, RomanBytes{b}, how);
}

CollationText collation_text(std::string_view bytes, int16_t script) {
    CollationText text;
    if (script == kScriptRoman || (script != kUtf8Text && ascii_only(bytes))) {
        text.roman = bytes;
        return text;
    }
    text.is_roman = false;
    const std::string utf8 = script == kUtf8Text ? std::string(bytes) : script_to_utf8(bytes, script);
    text.characters.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size();) {
        char32_t c = 0;
        text.characters.push_back(collation_character(decode_utf8(utf8, i, c) ? c : U'\uFFFD'));
    }
    return text;
}

int compare_collation_texts(const CollationText& a, const CollationText& b, TextCompare how) {
    const RomanBytes roman_a{a.roman}, roman_b{b.roman};
    const CollationCharacters chars_a{a.characters}, chars_b{b.characters};
    if (a.is_roman) return b.is_roman ? compare_passes(roman_a, roman_b, how) : compare_passes(roman_a, chars_b, how);
    return b.is_roman ? compare_passes(chars_a, roman_b, how) : compare_passes(chars_a, chars_b, how);
}

int compare_text(std::string_view a, int16_t a_script, std::string_view b, int16_t b_script, TextCompare how) {
    if ((a_script == kScriptRoman || ascii_only(a)) && (b_script == kScriptRoman || ascii_only(b)))
        return compare_text(a, b, how);
    return compare_collation_texts(collation_text(a, a_script), collation_text(b, b_script), how);
}

bool equal_text(std::string_view a, std::string_view b, bool case_counts, bool marks_count) {
    if (case_counts && marks_count) return a == b;
    return compare_text(a, b, {case_counts, marks_count}) == 0;
}

int compare_pstring(const unsigned char* a, const unsigned char* b, TextCompare how) {
    return compare_text(view_of_pstring(a), view_of_pstring(b), how);
}

int compare_pstring(const unsigned char* a, int16_t a_script, const unsigned char* b, int16_t b_script,
                    TextCompare how) {
    return compare_text(view_of_pstring(a), a_script, view_of_pstring(b), b_script, how);
}

bool equal_pstring(const unsigned char* a, const unsigned char* b, bool case_counts, bool marks_count) {
    return equal_text(view_of_pstring(a), view_of_pstring(b), case_counts, marks_count);
}

}  // namespace pf
