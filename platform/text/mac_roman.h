// Mac Roman, the single-byte text encoding used inside the program, and its
// mapping to Unicode. Bytes 0x00-0x7F are ASCII.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace pf {

// The Unicode code point of a Mac Roman byte.
char32_t mac_roman_to_unicode(unsigned char byte);

// The Mac Roman byte of a code point; false when Mac Roman cannot spell it.
bool unicode_to_mac_roman(char32_t code_point, unsigned char& byte);

// Decodes the UTF-8 sequence at text[i] (i < text.size()) and moves i past it;
// false for a malformed sequence, with i past the bytes it took.
[[gnu::always_inline]] inline bool decode_utf8(std::string_view text, size_t& i, char32_t& code_point) {
    const unsigned char lead = static_cast<unsigned char>(text[i++]);
    if (lead < 0x80) {
        code_point = lead;
        return true;
    }
    // Two bytes, and three after a lead whose characters are all in range (not
    // E0, overlong below U+0800, nor ED, the surrogates), well formed: straight.
    const auto* at = reinterpret_cast<const unsigned char*>(text.data()) + i;
    const size_t left = text.size() - i;
    if (lead >= 0xC2 && lead <= 0xDF && left >= 1 && (at[0] & 0xC0) == 0x80) {
        code_point = char32_t(lead & 0x1F) << 6 | char32_t(at[0] & 0x3F);
        i += 1;
        return true;
    }
    if (lead >= 0xE1 && lead <= 0xEF && lead != 0xED && left >= 2 && (at[0] & 0xC0) == 0x80 && (at[1] & 0xC0) == 0x80) {
        code_point = char32_t(lead & 0x0F) << 12 | char32_t(at[0] & 0x3F) << 6 | char32_t(at[1] & 0x3F);
        i += 2;
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

// Where the run of ASCII bytes from `at` ends: at the next byte above 127, or
// the text's end. Eight bytes are looked at a time.
inline size_t ascii_run_end(std::string_view text, size_t at) {
    constexpr uint64_t kHighBits = 0x8080808080808080ull;
    for (uint64_t eight = 0; at + 8 <= text.size(); at += 8) {
        std::memcpy(&eight, text.data() + at, 8);
        if (eight & kHighBits) break;
    }
    while (at < text.size() && static_cast<unsigned char>(text[at]) < 0x80) ++at;
    return at;
}

// Whether the text is well-formed UTF-8 throughout (ASCII is).
bool is_utf8(std::string_view text);

// The length of the longest start of a UTF-8 text, at most `most` bytes, that
// ends between letters.
inline size_t utf8_whole_letters(std::string_view utf8, size_t most) {
    if (utf8.size() <= most) return utf8.size();
    while (most > 0 && (static_cast<unsigned char>(utf8[most]) & 0xC0) == 0x80) --most;
    return most;
}

// The most bytes a code point takes in UTF-8.
constexpr size_t kUtf8Longest = 4;

// Writes the UTF-8 form of a code point at `bytes` (room for kUtf8Longest);
// answers how many bytes it took.
inline size_t encode_utf8(char32_t c, char* bytes) {
    if (c < 0x80) {
        bytes[0] = char(c);
        return 1;
    }
    size_t length = 0;
    if (c < 0x800) {
        bytes[length++] = char(0xC0 | (c >> 6));
    } else if (c < 0x10000) {
        bytes[length++] = char(0xE0 | (c >> 12));
        bytes[length++] = char(0x80 | ((c >> 6) & 0x3F));
    } else {
        bytes[length++] = char(0xF0 | (c >> 18));
        bytes[length++] = char(0x80 | ((c >> 12) & 0x3F));
        bytes[length++] = char(0x80 | ((c >> 6) & 0x3F));
    }
    bytes[length++] = char(0x80 | (c & 0x3F));
    return length;
}

// Appends the UTF-8 form of a code point.
void append_utf8(std::string& out, char32_t code_point);

// Whole texts. Characters Mac Roman cannot spell become `replacement`;
// malformed UTF-8 sequences count as one such character each.
std::string mac_roman_to_utf8(std::string_view mac_roman);
std::string utf8_to_mac_roman(std::string_view utf8, unsigned char replacement = '?');

}  // namespace pf
