// Conversions between Mac Roman, UTF-16 and Shift_JIS.
#include <iconv.h>

#include <cerrno>
#include <string>
#include <vector>

#include "platform/text/text.h"

namespace pf {
namespace {

constexpr char16_t kFirstHighSurrogate = 0xD800;
constexpr char16_t kFirstLowSurrogate = 0xDC00;
constexpr char16_t kPastLowSurrogate = 0xE000;

bool is_high_surrogate(char16_t u) { return u >= kFirstHighSurrogate && u < kFirstLowSurrogate; }
bool is_low_surrogate(char16_t u) { return u >= kFirstLowSurrogate && u < kPastLowSurrogate; }

// The converters opened so far, one per pair of encodings, each kept open for
// the next conversion between them (opening one loads the system's tables):
// a thread's own, as a descriptor holds the state of the conversion it does.
// One from an encoding that takes its byte order from a mark is not kept: it
// keeps the order it last read through a reset.
struct OpenConverter {
    std::string from, to;
    iconv_t cd;
};

struct OpenConverters {
    static constexpr size_t kMostKept = 32;  // the oldest is closed past these
    std::vector<OpenConverter> kept;
    OpenConverters() = default;
    OpenConverters(const OpenConverters&) = delete;
    OpenConverters& operator=(const OpenConverters&) = delete;
    ~OpenConverters() {
        for (OpenConverter& c : kept) iconv_close(c.cd);
    }
};

// Whether text in `encoding` may begin with a mark giving its byte order.
bool reads_byte_order_mark(std::string_view encoding) {
    encoding = encoding.substr(0, encoding.find("//"));
    std::string name;
    for (char c : encoding) name += c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c;
    for (const char* marked : {"UTF-16", "UTF16", "UTF-32", "UTF32", "UNICODE", "CSUNICODE"})
        if (name == marked) return true;
    return false;
}

// The kept converter from `from` to `to`, in its initial state; iconv_t(-1)
// when the system knows no such conversion.
iconv_t kept_converter(const char* from, const char* to) {
    thread_local OpenConverters converters;
    for (OpenConverter& c : converters.kept)
        if (c.from == from && c.to == to) {
            iconv(c.cd, nullptr, nullptr, nullptr, nullptr);
            return c.cd;
        }
    const iconv_t cd = iconv_open(to, from);
    if (cd == iconv_t(-1)) return cd;
    if (converters.kept.size() == OpenConverters::kMostKept) {
        iconv_close(converters.kept.front().cd);
        converters.kept.erase(converters.kept.begin());
    }
    converters.kept.push_back(OpenConverter{from, to, cd});
    return cd;
}

// A converter for one conversion: a kept one, or one of its own closed after.
struct ConverterUse {
    iconv_t cd;
    bool own;
    ConverterUse(const char* from, const char* to)
        : cd(reads_byte_order_mark(from) ? iconv_open(to, from) : kept_converter(from, to)),
          own(reads_byte_order_mark(from)) {}
    ~ConverterUse() {
        if (own && ok()) iconv_close(cd);
    }
    ConverterUse(const ConverterUse&) = delete;
    ConverterUse& operator=(const ConverterUse&) = delete;
    bool ok() const { return cd != iconv_t(-1); }
};

// The input through a converter in its initial state.
bool convert_with(iconv_t cd, std::string_view input, std::string& out) {
    char* in = const_cast<char*>(input.data());
    size_t in_left = input.size();
    char buffer[4096];
    for (;;) {
        char* dest = buffer;
        size_t dest_left = sizeof buffer;
        size_t result = in_left ? iconv(cd, &in, &in_left, &dest, &dest_left)
                                : iconv(cd, nullptr, nullptr, &dest, &dest_left);
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

}  // namespace

bool convert_encoding(std::string_view input, const char* from, const char* to, std::string& out) {
    out.clear();
    const ConverterUse converter(from, to);
    return converter.ok() && convert_with(converter.cd, input, out);
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
