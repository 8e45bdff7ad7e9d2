// Mac Roman, the single-byte text encoding used inside the program, and its
// mapping to Unicode. Bytes 0x00-0x7F are ASCII.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace pf {

// The Unicode code point of a Mac Roman byte.
char32_t mac_roman_to_unicode(unsigned char byte);

// The Mac Roman byte of a code point; false when Mac Roman cannot spell it.
bool unicode_to_mac_roman(char32_t code_point, unsigned char& byte);

// Decodes the UTF-8 sequence at text[i] (i < text.size()) and moves i past it;
// false for a malformed sequence, with i past the bytes it took.
inline bool decode_utf8(std::string_view text, size_t& i, char32_t& code_point) {
    const unsigned char lead = static_cast<unsigned char>(text[i++]);
    if (lead < 0x80) {
        code_point = lead;
        return true;
    }
    // The continuation bytes the lead byte announces: none for a byte that
    // begins no well-formed sequence (a continuation byte, C0 and C1, F5 to FF).
    const int extra = lead >= 0xC2 && lead <= 0xDF ? 1 : lead >= 0xE0 && lead <= 0xEF ? 2 : lead >= 0xF0 && lead <= 0xF4 ? 3 : 0;
    if (extra == 0) return false;
    char32_t c = lead & (0x3F >> extra);
    for (const size_t end = i + size_t(extra); i < end; ++i) {
        if (i >= text.size()) return false;
        const unsigned char next = static_cast<unsigned char>(text[i]);
        if ((next & 0xC0) != 0x80) return false;
        c = (c << 6) | (next & 0x3F);
    }
    constexpr char32_t kLeast[] = {0, 0x80, 0x800, 0x10000};
    if (c < kLeast[extra] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return false;
    code_point = c;
    return true;
}

// Whether the text is well-formed UTF-8 throughout (ASCII is).
bool is_utf8(std::string_view text);

// Appends the UTF-8 form of a code point.
void append_utf8(std::string& out, char32_t code_point);

// Whole texts. Characters Mac Roman cannot spell become `replacement`;
// malformed UTF-8 sequences count as one such character each.
std::string mac_roman_to_utf8(std::string_view mac_roman);
std::string utf8_to_mac_roman(std::string_view utf8, unsigned char replacement = '?');

}  // namespace pf
