// Conversions between Mac Roman, UTF-16 and Shift_JIS.
#include <iconv.h>

#include <cerrno>

#include "platform/text/text.h"

namespace pf {
namespace {

constexpr char16_t kFirstHighSurrogate = 0xD800;
constexpr char16_t kFirstLowSurrogate = 0xDC00;
constexpr char16_t kPastLowSurrogate = 0xE000;

bool is_high_surrogate(char16_t u) { return u >= kFirstHighSurrogate && u < kFirstLowSurrogate; }
bool is_low_surrogate(char16_t u) { return u >= kFirstLowSurrogate && u < kPastLowSurrogate; }

// One iconv descriptor for the length of a conversion.
struct Converter {
    iconv_t cd;
    Converter(const char* from, const char* to) : cd(iconv_open(to, from)) {}
    ~Converter() {
        if (ok()) iconv_close(cd);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    bool ok() const { return cd != iconv_t(-1); }
};

}  // namespace

bool convert_encoding(std::string_view input, const char* from, const char* to, std::string& out) {
    out.clear();
    Converter converter(from, to);
    if (!converter.ok()) return false;
    char* in = const_cast<char*>(input.data());
    size_t in_left = input.size();
    char buffer[4096];
    for (;;) {
        char* dest = buffer;
        size_t dest_left = sizeof buffer;
        size_t result = in_left ? iconv(converter.cd, &in, &in_left, &dest, &dest_left)
                                : iconv(converter.cd, nullptr, nullptr, &dest, &dest_left);
        out.append(buffer, size_t(dest - buffer));
        if (result != size_t(-1) && in_left == 0) {
            if (dest != buffer) continue;  // the flush wrote a shift sequence; flush again
            return true;
        }
        if (result == size_t(-1) && errno == E2BIG) continue;
        out.clear();
        return false;
    }
}

std::u16string mac_roman_to_utf16(std::string_view mac_roman) {
    std::u16string out;
    out.reserve(mac_roman.size());
    for (char c : mac_roman) out += char16_t(mac_roman_to_unicode(static_cast<unsigned char>(c)));
    return out;
}

std::string utf16_to_mac_roman(std::u16string_view utf16, unsigned char replacement) {
    std::string out;
    out.reserve(utf16.size());
    for (size_t i = 0; i < utf16.size(); ++i) {
        char16_t u = utf16[i];
        if (is_high_surrogate(u) && i + 1 < utf16.size() && is_low_surrogate(utf16[i + 1])) {
            ++i;  // outside the basic plane: Mac Roman has none of these
            out += char(replacement);
            continue;
        }
        unsigned char byte = replacement;
        if (!is_high_surrogate(u) && !is_low_surrogate(u)) unicode_to_mac_roman(u, byte);
        out += char(byte);
    }
    return out;
}

bool shift_jis_to_utf8(std::string_view shift_jis, std::string& utf8) {
    return convert_encoding(shift_jis, "CP932", "UTF-8", utf8);
}

bool utf8_to_shift_jis(std::string_view utf8, std::string& shift_jis) {
    return convert_encoding(utf8, "UTF-8", "CP932", shift_jis);
}

}  // namespace pf
