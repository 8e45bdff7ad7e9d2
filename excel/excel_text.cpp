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

std::string ExcelTextDecoder::mac_roman(const RawText& text) {
    std::string out;
    auto put = [&](char32_t code_point) {
        unsigned char byte;
        if (pf::unicode_to_mac_roman(code_point, byte)) {
            out.push_back(char(byte));
        } else {
            out.push_back('?');
            ++replaced;
        }
    };
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
            put(unit);
        }
        return out;
    }
    if (code_page == kCodePageUtf16) {  // compressed UTF-16: the low bytes
        for (unsigned char c : text.bytes) put(c);
        return out;
    }
    std::string utf8;
    if (!pf::convert_encoding(text.bytes, iconv_name(code_page).c_str(), "UTF-8", utf8) &&
        !pf::convert_encoding(text.bytes, "CP1252", "UTF-8", utf8)) {
        for (unsigned char c : text.bytes) put(c < 0x80 ? c : 0xFFFD);
        return out;
    }
    size_t i = 0;
    char32_t code_point;
    while (i < utf8.size()) {
        if (!pf::decode_utf8(utf8, i, code_point)) code_point = 0xFFFD;
        put(code_point);
    }
    return out;
}

std::string round_trip_number(double value) {
    char text[40];
    std::to_chars_result end = std::to_chars(text, text + sizeof text, value);
    return std::string(text, end.ptr);
}
