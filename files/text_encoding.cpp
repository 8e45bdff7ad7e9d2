// Text file encodings to and from Mac Roman.
#include "files/text_encoding.h"

#include <algorithm>
#include <cstring>

#include "platform/text/text.h"

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LittleMark = "\xFF\xFE";
constexpr std::string_view kUtf16BigMark = "\xFE\xFF";

bool starts_with(std::string_view text, std::string_view head) { return text.substr(0, head.size()) == head; }

// How far a text converted to Mac Roman: whole, up to a character Mac Roman
// cannot spell, or not at all for bytes that are not UTF-8.
enum class RomanConversion : uint8_t { whole, stopped, not_utf8 };

// Strict UTF-8 to Mac Roman, each character Mac Roman cannot spell a "?"
// counted in `unmapped`; with `stop_beyond_roman`, the conversion stops at
// the first of them.
RomanConversion convert_to_roman(std::string_view utf8, DecodedText& out, bool stop_beyond_roman) {
    out.text.clear();
    out.text.reserve(utf8.size());
    out.unmapped = 0;
    for (size_t i = 0; i < utf8.size();) {
        const size_t run_end = pf::ascii_run_end(utf8, i);
        out.text.append(utf8.substr(i, run_end - i));
        i = run_end;
        if (i == utf8.size()) break;
        char32_t code_point = 0;
        if (!pf::decode_utf8(utf8, i, code_point)) return RomanConversion::not_utf8;
        unsigned char byte = 0;
        if (code_point == 0xFEFF) continue;
        if (!pf::unicode_to_mac_roman(code_point, byte)) {
            if (stop_beyond_roman)
                return pf::is_utf8(utf8.substr(i)) ? RomanConversion::stopped : RomanConversion::not_utf8;
            byte = '?';
            ++out.unmapped;
        }
        out.text.push_back(char(byte));
    }
    return RomanConversion::whole;
}

bool utf8_to_roman(std::string_view utf8, DecodedText& out) {
    return convert_to_roman(utf8, out, false) != RomanConversion::not_utf8;
}

int32_t count_high_bytes(std::string_view text) {
    return int32_t(std::count_if(text.begin(), text.end(), [](char c) { return uint8_t(c) >= 0x80; }));
}

// Zero bytes at the even and the odd positions of byte pairs.
struct ZeroBytes {
    size_t even = 0, odd = 0, pairs = 0;
};

ZeroBytes count_zero_bytes(std::string_view bytes) {
    ZeroBytes zeros;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2, ++zeros.pairs) {
        zeros.even += bytes[i] == 0;
        zeros.odd += bytes[i + 1] == 0;
    }
    return zeros;
}

// UTF-16 without a mark: the order whose zero bytes sit where ASCII text puts them.
const char* utf16_order_of(const ZeroBytes& zeros) { return zeros.even > zeros.odd ? "UTF-16BE" : "UTF-16LE"; }

// Text without a mark is taken for UTF-16 only when zero bytes stand at one
// position of at least half its byte pairs and seldom at the other,
// as in UTF-16 of mostly Latin text: a stray NUL in 8-bit text is no sign.
// Its byte order then, from the same count; null when it is not UTF-16.
const char* unmarked_utf16_order(std::string_view bytes) {
    if (bytes.size() < 2 || bytes.size() % 2 != 0) return nullptr;
    const ZeroBytes zeros = count_zero_bytes(bytes);
    const size_t more = std::max(zeros.even, zeros.odd), fewer = std::min(zeros.even, zeros.odd);
    if (more * 2 < zeros.pairs || fewer * 4 > more) return nullptr;
    return utf16_order_of(zeros);
}

// Unicode text whose characters Mac Roman cannot all spell stays UTF-8, its
// fields spelled in their scripts when read.
bool unicode_text(std::string_view utf8, DecodedText& out) {
    const RomanConversion conversion = convert_to_roman(utf8, out, true);
    if (conversion != RomanConversion::stopped) return conversion == RomanConversion::whole;
    out.text.assign(utf8);
    out.unmapped = 0;
    out.scripted = true;
    return true;
}

bool utf16_to_roman(std::string_view bytes, const char* order, DecodedText& out) {
    std::string utf8;
    if (bytes.size() % 2 != 0 || !pf::convert_encoding(bytes, order, "UTF-8", utf8)) return false;
    return unicode_text(utf8, out);
}

// A NUL byte of a text file has no character here: each becomes "?" and is counted.
void replace_nul_bytes(DecodedText& out) {
    for (size_t at = out.text.find('\0'); at != std::string::npos; at = out.text.find('\0', at + 1)) {
        out.text[at] = '?';
        ++out.unmapped;
    }
}

}  // namespace

bool has_high_bytes(std::string_view text) { return pf::ascii_run_end(text, 0) < text.size(); }

namespace {

bool is_little_endian(const char* order) { return std::strcmp(order, "UTF-16LE") == 0; }

// The first line end of the text; CR LF when it has none.
TextLineEnds first_line_end(std::string_view text) {
    const size_t at = text.find_first_of("\r\n");
    if (at == std::string_view::npos) return TextLineEnds::crlf;
    if (text[at] == '\n') return TextLineEnds::lf;
    return at + 1 < text.size() && text[at + 1] == '\n' ? TextLineEnds::crlf : TextLineEnds::cr;
}

// The text in its encoding, told by a mark or by its bytes.
TextFileEncoding decode_encoded_text(std::string_view bytes, DecodedText& out) {
    using E = TextFileEncoding;
    if (starts_with(bytes, kUtf8Mark) && unicode_text(bytes.substr(kUtf8Mark.size()), out)) return E::utf8_marked;
    if (starts_with(bytes, kUtf16LittleMark) && utf16_to_roman(bytes.substr(2), "UTF-16LE", out))
        return E::utf16_little_marked;
    if (starts_with(bytes, kUtf16BigMark) && utf16_to_roman(bytes.substr(2), "UTF-16BE", out))
        return E::utf16_big_marked;
    const char* order = unmarked_utf16_order(bytes);
    if (order && utf16_to_roman(bytes, order, out)) {
        replace_nul_bytes(out);
        return is_little_endian(order) ? E::utf16_little : E::utf16_big;
    }
    if (!has_high_bytes(bytes) || !unicode_text(bytes, out)) {
        out.text.assign(bytes);
        out.unmapped = 0;
        out.guessed = count_high_bytes(bytes);
    }
    replace_nul_bytes(out);
    return E::utf8;
}

const char* utf16_order_of(TextFileEncoding encoding) {
    using E = TextFileEncoding;
    if (encoding == E::utf16_little || encoding == E::utf16_little_marked) return "UTF-16LE";
    if (encoding == E::utf16_big || encoding == E::utf16_big_marked) return "UTF-16BE";
    return nullptr;
}

}  // namespace

DecodedText decode_text_file(std::string_view bytes) {
    DecodedText out;
    out.form.encoding = decode_encoded_text(bytes, out);
    out.form.line_ends = first_line_end(out.text);
    return out;
}

std::string_view line_end_text(TextLineEnds line_ends) {
    switch (line_ends) {
        case TextLineEnds::lf: return "\n";
        case TextLineEnds::cr: return "\r";
        default: return "\r\n";
    }
}

std::string_view encoding_mark(TextFileEncoding encoding) {
    switch (encoding) {
        case TextFileEncoding::utf8_marked: return kUtf8Mark;
        case TextFileEncoding::utf16_little_marked: return kUtf16LittleMark;
        case TextFileEncoding::utf16_big_marked: return kUtf16BigMark;
        default: return {};
    }
}

bool encode_in(std::string_view utf8, TextFileEncoding encoding, std::string& out) {
    const char* order = utf16_order_of(encoding);
    if (!order) {
        out.assign(utf8);
        return true;
    }
    return pf::convert_encoding(utf8, "UTF-8", order, out);
}

std::string encode_text_file(std::string_view mac_roman) {
    return has_high_bytes(mac_roman) ? pf::mac_roman_to_utf8(mac_roman) : std::string(mac_roman);
}

std::string encode_cell_text(std::string_view text, int16_t font) {
    std::string utf8;
    append_cell_text_utf8(text, font, utf8);
    return utf8;
}

void append_cell_text_utf8(std::string_view text, int16_t font, std::string& out) {
    if (!has_high_bytes(text)) {
        out += text;
        return;
    }
    const int16_t script = pf::font_to_script(font);
    if (script == pf::kScriptRoman) out += pf::mac_roman_to_utf8(text);
    else pf::append_script_utf8(text, script, out);
}

void unscript_text(DecodedText& decoded) {
    if (!decoded.scripted) return;
    const std::string utf8 = std::move(decoded.text);
    utf8_to_roman(utf8, decoded);
    decoded.scripted = false;
}
