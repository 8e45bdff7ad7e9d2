// Case mapping and the comparison order of Mac Roman text.
#include "platform/text/letters.h"
#include "platform/text/text.h"

namespace pf {
namespace {

unsigned char byte_at(std::string_view s, size_t i) { return static_cast<unsigned char>(s[i]); }

unsigned char ascii_lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c + 32) : c; }

// Walks a text as its primary spelling: letters lower-case and unmarked,
// ligatures spelled out; -1 at the end.
struct PrimaryCursor {
    std::string_view text;
    size_t next = 0;
    const char* pending = nullptr;

    int take() {
        if (pending && *pending) return ascii_lower(*pending++);
        if (next >= text.size()) return -1;
        unsigned char c = byte_at(text, next++);
        const letters::LetterInfo& info = letters::info(c);
        if (c < 0x80 || !info.letter) return info.letter ? ascii_lower(char(c)) : c;
        pending = info.base + 1;
        return ascii_lower(info.base[0]);
    }
};

int sign(int v) { return v < 0 ? -1 : v > 0 ? 1 : 0; }

int compare_primary(std::string_view a, std::string_view b) {
    PrimaryCursor ca{a}, cb{b};
    for (;;) {
        int x = ca.take(), y = cb.take();
        if (x != y) return sign(x - y);
        if (x < 0) return 0;
    }
}

// 0 for an unmarked character; marked letters and ligatures by their lower-case code.
int mark_weight(unsigned char c) { return c >= 0x80 && letters::info(c).letter ? to_lower_mac_roman(c) : 0; }

// Upper case first.
int case_weight(unsigned char c) { return letters::info(c).upper ? 0 : 1; }

template <typename Weight>
int compare_by_weight(std::string_view a, std::string_view b, Weight weight) {
    size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        int d = weight(byte_at(a, i)) - weight(byte_at(b, i));
        if (d) return sign(d);
    }
    return sign(int(a.size() > b.size()) - int(a.size() < b.size()));
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
    if (int d = compare_primary(a, b)) return d;
    if (how.marks_count) {
        if (int d = compare_by_weight(a, b, mark_weight)) return d;
    }
    if (how.case_counts) {
        if (int d = compare_by_weight(a, b, case_weight)) return d;
    }
    if (how.marks_count && how.case_counts) return compare_by_weight(a, b, [](unsigned char c) { return int(c); });
    return 0;
}

bool equal_text(std::string_view a, std::string_view b, bool case_counts, bool marks_count) {
    if (case_counts && marks_count) return a == b;
    return compare_text(a, b, {case_counts, marks_count}) == 0;
}

int compare_pstring(const unsigned char* a, const unsigned char* b, TextCompare how) {
    return compare_text(view_of_pstring(a), view_of_pstring(b), how);
}

bool equal_pstring(const unsigned char* a, const unsigned char* b, bool case_counts, bool marks_count) {
    return equal_text(view_of_pstring(a), view_of_pstring(b), case_counts, marks_count);
}

}  // namespace pf
