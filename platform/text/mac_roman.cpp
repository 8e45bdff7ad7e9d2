#include "platform/text/mac_roman.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

namespace pf {

namespace {

constexpr char16_t kHighHalf[128] = {
    0x00C4, 0x00C5, 0x00C7, 0x00C9, 0x00D1, 0x00D6, 0x00DC, 0x00E1,
    0x00E0, 0x00E2, 0x00E4, 0x00E3, 0x00E5, 0x00E7, 0x00E9, 0x00E8,
    0x00EA, 0x00EB, 0x00ED, 0x00EC, 0x00EE, 0x00EF, 0x00F1, 0x00F3,
    0x00F2, 0x00F4, 0x00F6, 0x00F5, 0x00FA, 0x00F9, 0x00FB, 0x00FC,
    0x2020, 0x00B0, 0x00A2, 0x00A3, 0x00A7, 0x2022, 0x00B6, 0x00DF,
    0x00AE, 0x00A9, 0x2122, 0x00B4, 0x00A8, 0x2260, 0x00C6, 0x00D8,
    0x221E, 0x00B1, 0x2264, 0x2265, 0x00A5, 0x00B5, 0x2202, 0x2211,
    0x220F, 0x03C0, 0x222B, 0x00AA, 0x00BA, 0x03A9, 0x00E6, 0x00F8,
    0x00BF, 0x00A1, 0x00AC, 0x221A, 0x0192, 0x2248, 0x2206, 0x00AB,
    0x00BB, 0x2026, 0x00A0, 0x00C0, 0x00C3, 0x00D5, 0x0152, 0x0153,
    0x2013, 0x2014, 0x201C, 0x201D, 0x2018, 0x2019, 0x00F7, 0x25CA,
    0x00FF, 0x0178, 0x2044, 0x20AC, 0x2039, 0x203A, 0xFB01, 0xFB02,
    0x2021, 0x00B7, 0x201A, 0x201E, 0x2030, 0x00C2, 0x00CA, 0x00C1,
    0x00CB, 0x00C8, 0x00CD, 0x00CE, 0x00CF, 0x00CC, 0x00D3, 0x00D4,
    0xF8FF, 0x00D2, 0x00DA, 0x00DB, 0x00D9, 0x0131, 0x02C6, 0x02DC,
    0x00AF, 0x02D8, 0x02D9, 0x02DA, 0x00B8, 0x02DD, 0x02DB, 0x02C7,
};

// The high half by code point, for the way back.
struct HighByte {
    char16_t code_point;
    uint8_t byte;
};
constexpr std::array<HighByte, 128> kHighHalfByCodePoint = [] {
    std::array<HighByte, 128> table{};
    for (size_t i = 0; i < table.size(); ++i) table[i] = {kHighHalf[i], uint8_t(0x80 + i)};
    std::ranges::sort(table, {}, &HighByte::code_point);
    return table;
}();

// Whether a 256-character page of Unicode holds any character of the high
// half: most characters beyond Mac Roman are refused by their page.
constexpr std::array<bool, 0x100> kPagesOfHighHalf = [] {
    std::array<bool, 0x100> pages{};
    for (char16_t c : kHighHalf) pages[c >> 8] = true;
    return pages;
}();

}  // namespace

void append_utf8(std::string& out, char32_t c) {
    char bytes[kUtf8Longest];
    out.append(bytes, encode_utf8(c, bytes));
}

char32_t mac_roman_to_unicode(unsigned char byte) {
    return byte < 0x80 ? char32_t(byte) : char32_t(kHighHalf[byte - 0x80]);
}

bool unicode_to_mac_roman(char32_t code_point, unsigned char& byte) {
    if (code_point < 0x80) {
        byte = static_cast<unsigned char>(code_point);
        return true;
    }
    if (code_point > 0xFFFF || !kPagesOfHighHalf[code_point >> 8]) return false;
    const auto* found = std::ranges::lower_bound(kHighHalfByCodePoint, code_point, {}, &HighByte::code_point);
    if (found == kHighHalfByCodePoint.end() || found->code_point != code_point) return false;
    byte = found->byte;
    return true;
}

bool is_utf8(std::string_view text) {
    for (size_t i = ascii_run_end(text, 0); i < text.size(); i = ascii_run_end(text, i)) {
        char32_t ignored = 0;
        if (!decode_utf8(text, i, ignored)) return false;
    }
    return true;
}

std::string mac_roman_to_utf8(std::string_view mac_roman) {
    std::string out;
    out.reserve(mac_roman.size());
    for (char c : mac_roman) append_utf8(out, mac_roman_to_unicode(static_cast<unsigned char>(c)));
    return out;
}

std::string utf8_to_mac_roman(std::string_view utf8, unsigned char replacement) {
    std::string out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size();) {
        char32_t code_point;
        unsigned char byte;
        bool spelled = decode_utf8(utf8, i, code_point) && unicode_to_mac_roman(code_point, byte);
        out += char(spelled ? byte : replacement);
    }
    return out;
}

}  // namespace pf
