// SYLK escapes, pictures and record fields.
#include "files/sylk_format.h"

#include <algorithm>
#include <array>
#include <charconv>

#include "files/entry_cells.h"
#include "platform/resources/resources.h"
#include "platform/text/mac_roman.h"

namespace {

// ESC "N" accent letter: the accented Mac Roman letter of each pair.
struct Accented {
    char accent;  // "A" grave, "B" acute, "C" circumflex, "D" tilde, "H" diaeresis, "J" ring, "K" cedilla
    char letter;
    uint8_t byte;
};
constexpr Accented kAccented[] = {
    {'A', 'A', 0xCB}, {'D', 'A', 0xCC}, {'H', 'A', 0x80}, {'J', 'A', 0x81}, {'K', 'C', 0x82}, {'B', 'E', 0x83},
    {'D', 'N', 0x84}, {'H', 'O', 0x85}, {'D', 'O', 0xCD}, {'H', 'U', 0x86}, {'B', 'a', 0x87}, {'A', 'a', 0x88},
    {'C', 'a', 0x89}, {'H', 'a', 0x8A}, {'D', 'a', 0x8B}, {'J', 'a', 0x8C}, {'K', 'c', 0x8D}, {'B', 'e', 0x8E},
    {'A', 'e', 0x8F}, {'C', 'e', 0x90}, {'H', 'e', 0x91}, {'B', 'i', 0x92}, {'A', 'i', 0x93}, {'C', 'i', 0x94},
    {'H', 'i', 0x95}, {'D', 'n', 0x96}, {'B', 'o', 0x97}, {'A', 'o', 0x98}, {'C', 'o', 0x99}, {'H', 'o', 0x9A},
    {'D', 'o', 0x9B}, {'B', 'u', 0x9C}, {'A', 'u', 0x9D}, {'C', 'u', 0x9E}, {'H', 'u', 0x9F}, {'H', 'y', 0xD8},
    {'J', ' ', 0xA1}, {'B', ' ', 0xAB}, {'H', ' ', 0xAC},
};

// ESC "N" x for x from 0x60 to 0x7B.
struct Symbol {
    char x;
    uint8_t byte;
};
constexpr Symbol kSymbols[] = {{'`', 0xBD}, {'a', 0xAE}, {'c', 0xBB}, {'i', 0xAF}, {'j', 0xCE}, {'k', 0xBC},
                               {'q', 0xBE}, {'x', 0xA0}, {'y', 0xBF}, {'z', 0xCF}, {'{', 0xA7}};

uint8_t accented(uint8_t accent, uint8_t letter) {
    for (const Accented& a : kAccented)
        if (uint8_t(a.accent) == accent && uint8_t(a.letter) == letter) return a.byte;
    return letter;
}

uint8_t symbol(uint8_t x) {
    for (const Symbol& s : kSymbols)
        if (uint8_t(s.x) == x) return s.byte;
    return x;
}

// The escape that spells a Mac Roman byte, or empty.
const std::array<std::string, 256>& escapes_by_byte() {
    static const std::array<std::string, 256> table = [] {
        std::array<std::string, 256> t;
        for (const Accented& a : kAccented) t[a.byte] = std::string{char(kEscape), 'N', a.accent, a.letter};
        for (const Symbol& s : kSymbols) t[s.byte] = std::string{char(kEscape), 'N', s.x};
        for (int c = 0; c < 32; ++c)
            if (c != '\t') t[c] = std::string{char(kEscape), c < 16 ? ' ' : '!', char('0' + (c < 16 ? c : c - 16))};
        return t;
    }();
    return table;
}

// Picture positions of STR# 500 and their format codes.
struct Picture {
    int16_t item;
    uint8_t code;
};
constexpr Picture kPictures[] = {
    {9, 36},   {10, 37},  {11, 38},  {12, 39},  {13, 'I'}, {14, 'I'}, {15, 'S'}, {16, 'J'}, {17, 'J'},
    {18, 4},   {19, 9},   {20, 7},   {21, 8},   {22, 23},  {23, 24},  {24, 21},  {25, 22},  {26, 25},
    {27, 1},   {28, 2},   {29, 3},   {30, 10},  {31, 28},  {32, 5},   {33, 6},   {34, 30},  {35, 0},   {36, 29},
    {37, 26},  {38, 27},  {39, 110}, {40, 111}, {41, 112}, {42, 113}, {43, 114}, {44, 115}, {45, 116},
    {46, 11},  {47, 12},  {48, 13},  {49, 14},  {50, 15},  {51, 16},  {52, 17},  {53, 18},  {54, 19},
    {55, 20},  {56, 31},  {57, 32},  {58, 33},  {59, 34},  {60, 45},  {61, 46},  {62, 47},  {63, 48},
    {64, 49},  {65, 50},  {66, 'B'}, {67, 'f'}, {68, 120}, {69, 'F'},
};

// Codes that the type letter alone carries: percent, scientific, general.
bool written_by_letter(uint8_t code) { return code == 'I' || code == 'S' || code == 'G'; }

}  // namespace

uint8_t EscFilter(const uint8_t** p, const uint8_t* end) {
    const uint8_t* at = *p;
    if (end - at < 3) {
        *p = end - 1;
        return end - at == 2 ? at[1] : 0;
    }
    if (at[1] != 'N') {
        *p = at + 2;
        return uint8_t(((at[1] << 4) + at[2] - 0x230) & 0xFF);
    }
    const uint8_t x = at[2];
    if (x >= 0x40 && x <= 0x4F && end - at >= 4) {
        *p = at + 3;
        return accented(x, at[3]);
    }
    *p = at + 2;
    return x >= 0x60 && x <= 0x7B ? symbol(x) : x;
}

namespace {

// Each byte that has an escape written as one (of the control characters
// alone when `accented_too` is false), each ";" doubled.
void escape_bytes(std::string_view text, bool accented_too, std::string& out) {
    const auto& escapes = escapes_by_byte();
    for (char c : text) {
        const std::string& escape = escapes[uint8_t(c)];
        if (!escape.empty() && (accented_too || uint8_t(c) < 32)) {
            for (char e : escape) out.append(e == ';' ? 2 : 1, e);  // an escape may end in ";"
        } else if (c == ';')
            out.append(";;");
        else
            out.push_back(c);
    }
}

// A raw value with ";;" pairs made one and escapes decoded, each character an
// escape stands for given to `escaped` (a Mac Roman byte).
template <typename Escaped>
std::string unescape_with(std::string_view raw, bool drop_controls, Escaped escaped) {
    std::string single;
    single.reserve(raw.size());
    for (size_t i = 0; i < raw.size(); ++i) {
        single.push_back(raw[i]);
        if (raw[i] == ';' && i + 1 < raw.size() && raw[i + 1] == ';') ++i;
    }
    std::string out;
    out.reserve(single.size());
    const auto* p = reinterpret_cast<const uint8_t*>(single.data());
    const uint8_t* end = p + single.size();
    for (; p < end; ++p) {
        uint8_t c = *p;
        if (c == kEscape) {
            escaped(EscFilter(&p, end), out);
            continue;
        } else if (c < 32 && c != '\t' && c != '\n' && drop_controls) {
            continue;
        }
        out.push_back(char(c));
    }
    return out;
}

}  // namespace

void escape_sylk_text(std::string_view text, std::string& out) { escape_bytes(text, true, out); }

void escape_sylk_controls(std::string_view text, std::string& out) { escape_bytes(text, false, out); }

int16_t code_of_picture(int16_t item) {
    for (const Picture& p : kPictures)
        if (p.item == item) return p.code;
    return -1;
}

int16_t picture_of_code(uint8_t code) {
    if (written_by_letter(code)) return 0;
    for (const Picture& p : kPictures)
        if (p.code == code) return p.item;
    return 0;
}

int16_t picture_count() {
    static int16_t count = 0;  // counted once the strings are there
    if (count == 0)
        while (!pf::get_indexed_string(kSylkPictureStrings, count + 1).empty()) ++count;
    return count;
}

SylkRecord split_record(std::string_view line) {
    size_t semicolon = line.find(';');
    if (semicolon == std::string_view::npos) return SylkRecord{line, {}};
    return SylkRecord{line.substr(0, semicolon), line.substr(semicolon)};
}

bool next_field(std::string_view& rest, SylkField& field) {
    if (rest.size() < 2 || rest[0] != ';') return false;
    field.letter = rest[1];
    size_t i = 2;
    while (i < rest.size()) {
        if (rest[i] == ';') {
            if (i + 1 < rest.size() && rest[i + 1] == ';') {
                i += 2;
                continue;
            }
            break;
        }
        ++i;
    }
    field.value = rest.substr(2, i - 2);
    rest = rest.substr(i);
    return true;
}

namespace {

// The bytes that may keep a value from being taken as written: the escape,
// a semicolon (doubled, it stands for one) and the controls.
constexpr std::array<bool, 256> kMayBeEscaped = [] {
    std::array<bool, 256> bytes{};
    for (int c = 0; c < 32; ++c) bytes[size_t(c)] = true;
    bytes[';'] = true;
    return bytes;
}();

}  // namespace

bool value_as_written(std::string_view raw, bool drop_controls) {
    static_assert(kEscape < 32);
    for (size_t i = 0; i < raw.size(); ++i) {
        const auto c = uint8_t(raw[i]);
        if (!kMayBeEscaped[c]) continue;
        if (c == kEscape || (c == ';' && i + 1 < raw.size() && raw[i + 1] == ';')) return false;
        if (drop_controls && c < 32 && c != '\t' && c != '\n') return false;
    }
    return true;
}

std::string_view field_value(std::string_view raw, std::string& unescaped) {
    if (value_as_written(raw, true)) return raw;
    unescaped = unescape_value(raw, true);
    return unescaped;
}

std::string unescape_value(std::string_view raw, bool drop_controls) {
    if (value_as_written(raw, drop_controls)) return std::string(raw);
    return unescape_with(raw, drop_controls, [](uint8_t c, std::string& out) { out.push_back(char(c)); });
}

std::string unescape_unicode_value(std::string_view raw, bool drop_controls) {
    return unescape_with(raw, drop_controls, [](uint8_t c, std::string& out) {
        if (c < 0x80) out.push_back(char(c));
        else out += pf::mac_roman_to_utf8(std::string_view(reinterpret_cast<const char*>(&c), 1));
    });
}

std::string decimal_moved_by_days(std::string_view text, int32_t days) {
    using Wide = __int128;
    constexpr size_t kMostDigits = 36;  // well inside 128 bits with the days added
    const bool negative = !text.empty() && text[0] == '-';
    if (negative) text.remove_prefix(1);
    const size_t point = text.find('.');
    const std::string_view whole = text.substr(0, point);
    const std::string_view fraction = point == std::string_view::npos ? std::string_view() : text.substr(point + 1);
    auto all_digits = [](std::string_view t) {
        return std::all_of(t.begin(), t.end(), [](char c) { return c >= '0' && c <= '9'; });
    };
    if (whole.empty() || !all_digits(whole) || !all_digits(fraction) || whole.size() + fraction.size() > kMostDigits)
        return {};
    Wide scale = 1, number = 0;
    for (char c : whole) number = number * 10 + (c - '0');
    for (char c : fraction) number = number * 10 + (c - '0'), scale *= 10;
    number = (negative ? -number : number) + Wide(days) * scale;
    const bool below_zero = number < 0;
    Wide magnitude = below_zero ? -number : number;
    std::string fraction_digits;
    for (Wide s = scale; s > 1; s /= 10, magnitude /= 10)
        fraction_digits.insert(fraction_digits.begin(), char('0' + int(magnitude % 10)));
    while (!fraction_digits.empty() && fraction_digits.back() == '0') fraction_digits.pop_back();
    std::string out;
    do {
        out.insert(out.begin(), char('0' + int(magnitude % 10)));
        magnitude /= 10;
    } while (magnitude > 0);
    if (!fraction_digits.empty()) out += "." + fraction_digits;
    if (below_zero) out.insert(out.begin(), '-');
    return out;
}

std::string number_text_moved_by_days(double value, int32_t days) {
    std::string moved = decimal_moved_by_days(file_number_text(value), days);
    return moved.empty() ? file_number_text(value + days) : moved;
}

bool read_integer(std::string_view text, int32_t* value) {
    if (!text.empty() && text[0] == '+') text.remove_prefix(1);
    auto result = std::from_chars(text.data(), text.data() + text.size(), *value);
    return result.ec == std::errc() && result.ptr == text.data() + text.size();
}
