#include "excel/excel_text.h"

#include <charconv>

#include "platform/text/mac_roman.h"
#include "platform/text/text.h"

namespace {

constexpr uint16_t kCodePageUtf16 = 1200;
constexpr uint16_t kCodePageMacRoman = 10000;
constexpr uint16_t kCodePageMacOld = 32768;
constexpr uint16_t kCodePageAnsiOld = 32769;
constexpr uint16_t kCodePageAscii = 367;

// The iconv name of a Windows or Mac code page of a byte string.
std::string iconv_name(uint16_t code_page) {
    switch (code_page) {
    case kCodePageMacRoman:
    case kCodePageMacOld: return "MACINTOSH";
    case kCodePageAnsiOld: return "CP1252";
    case kCodePageAscii: return "ASCII";
    default: return "CP" + std::to_string(code_page);
    }
}

}  // namespace

constexpr char32_t kReplacementCharacter = 0xFFFD;

std::string ExcelTextDecoder::utf8(const RawText& text) const {
    std::string out;
    if (text.wide) {
        const std::string& b = text.bytes;
        for (size_t i = 0; i + 1 < b.size(); i += 2) {
            char32_t unit = uint8_t(b[i]) | uint8_t(b[i + 1]) << 8;
            if (unit >= 0xD800 && unit < 0xDC00 && i + 3 < b.size()) {
                char32_t low = uint8_t(b[i + 2]) | uint8_t(b[i + 3]) << 8;
                if (low >= 0xDC00 && low < 0xE000) {
                    unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
                    i += 2;
                }
            }
            pf::append_utf8(out, unit >= 0xD800 && unit < 0xE000 ? kReplacementCharacter : unit);
        }
        return out;
    }
    if (code_page == kCodePageUtf16) {  // compressed UTF-16: the low bytes
        for (unsigned char c : text.bytes) pf::append_utf8(out, c);
        return out;
    }
    if (pf::convert_encoding(text.bytes, iconv_name(code_page).c_str(), "UTF-8", out) ||
        pf::convert_encoding(text.bytes, "CP1252", "UTF-8", out))
        return out;
    for (unsigned char c : text.bytes) pf::append_utf8(out, c < 0x80 ? c : kReplacementCharacter);
    return out;
}

std::string ExcelTextDecoder::mac_roman(const RawText& text) {
    const std::string unicode = utf8(text);
    std::string out;
    size_t i = 0;
    char32_t code_point;
    while (i < unicode.size()) {
        if (!pf::decode_utf8(unicode, i, code_point)) code_point = kReplacementCharacter;
        unsigned char byte;
        if (pf::unicode_to_mac_roman(code_point, byte)) {
            out.push_back(char(byte));
        } else {
            out.push_back('?');
            ++replaced;
        }
    }
    return out;
}

ScriptedText ExcelTextDecoder::cell_text(const RawText& text) {
    ScriptedText spelled = spell_text_in_scripts(utf8(text), RunLook{});
    replaced += spelled.unspelled;
    return spelled;
}

bool spelled_in_mac_roman(std::string_view utf8, std::string& roman) {
    roman.clear();
    size_t i = 0;
    char32_t code_point;
    while (i < utf8.size()) {
        unsigned char byte;
        if (!pf::decode_utf8(utf8, i, code_point) || !pf::unicode_to_mac_roman(code_point, byte)) return false;
        roman.push_back(char(byte));
    }
    return true;
}

std::string round_trip_number(double value) {
    char text[40];
    std::to_chars_result end = std::to_chars(text, text + sizeof text, value);
    return std::string(text, end.ptr);
}
