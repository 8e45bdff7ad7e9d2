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
bool decode_utf8(std::string_view text, size_t& i, char32_t& code_point);

// Whether the text is well-formed UTF-8 throughout (ASCII is).
bool is_utf8(std::string_view text);

// Appends the UTF-8 form of a code point.
void append_utf8(std::string& out, char32_t code_point);

// Whole texts. Characters Mac Roman cannot spell become `replacement`;
// malformed UTF-8 sequences count as one such character each.
std::string mac_roman_to_utf8(std::string_view mac_roman);
std::string utf8_to_mac_roman(std::string_view utf8, unsigned char replacement = '?');

}  // namespace pf
