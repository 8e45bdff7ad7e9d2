// Measuring text in the current port: widths, justification, caret positions and
// truncation.
#include "platform/draw/text_layout.h"

#include <algorithm>
#include <cstring>

namespace pf {

namespace {

constexpr unsigned char kEllipsis = 0xC9;

bool is_blank(unsigned char b) { return b == ' ' || b == '\t' || b == '\r' || b == '\n'; }
bool ends_line(int16_t run_position) { return run_position == kOnlyStyleRun || run_position == kRightStyleRun; }

// Bytes before this end may stretch.
size_t stretch_end(std::string_view text, int16_t run_position) {
    return ends_line(run_position) ? size_t(visible_length(text)) : text.size();
}

int32_t stretching_spaces(std::string_view text, int16_t run_position) {
    return int32_t(std::count(text.begin(), text.begin() + stretch_end(text, run_position), ' '));
}

int16_t pinned_width(int32_t w) { return int16_t(std::clamp<int32_t>(w, -32768, 32767)); }

// Where each character of a text begins, and the text's end.
std::vector<size_t> character_starts(const FontInstance& font, std::string_view text) {
    std::vector<size_t> starts;
    for (size_t i = 0, length = 1; i < text.size(); i += length) {
        starts.push_back(i);
        character_glyph(font, text, i, length);
    }
    starts.push_back(text.size());
    return starts;
}

std::string_view as_view(const unsigned char* pstr) {
    return std::string_view(reinterpret_cast<const char*>(pstr + 1), pstr[0]);
}

std::string truncated_at_end(const FontInstance& font, const std::string& text, int budget) {
    size_t keep = 0, length = 1;
    for (int32_t w = 0; keep < text.size(); keep += length) {
        w += character_glyph(font, text, keep, length).width;
        if (w > budget) break;
    }
    return text.substr(0, keep) + char(kEllipsis);
}

// Whole characters kept at both ends: `left` characters from the start and
// the characters from `right` on.
std::string truncated_in_middle(const FontInstance& font, const std::string& text, int budget) {
    const std::vector<size_t> starts = character_starts(font, text);
    const size_t count = starts.size() - 1;
    size_t left = (count + 1) / 2, right = count - count / 2;  // characters [0, left) and [right, count)
    auto width_of = [&](size_t from, size_t to) {
        return text_advance(font, std::string_view(text).substr(starts[from], starts[to] - starts[from]));
    };
    int32_t left_width = width_of(0, left), right_width = width_of(right, count);
    while (left_width + right_width > budget) {
        if (left >= count - right) {
            --left;
            left_width = width_of(0, left);
        } else {
            ++right;
            right_width = width_of(right, count);
        }
    }
    return text.substr(0, starts[left]) + char(kEllipsis) + text.substr(starts[right]);
}

}  // namespace

const FontInstance& port_font() { return font_instance(port_text_style()); }

TextStyle port_text_style() {
    const Port& p = *get_port();
    return TextStyle{p.text_font, p.text_size, p.text_face};
}

void layout_text(const FontInstance& font, std::string_view text, Fixed slop, int16_t run_position,
                 std::vector<int32_t>& x) {
    x.resize(text.size() + 1);
    const int32_t spaces = slop ? stretching_spaces(text, run_position) : 0;
    const size_t stretch_before = spaces ? stretch_end(text, run_position) : 0;
    int32_t pos = 0, given = 0, spaces_seen = 0;
    x[0] = 0;
    const bool two_byte = has_two_byte_characters(font);
    for (size_t i = 0, length = 1; i < text.size(); i += length) {
        pos += two_byte ? character_glyph(font, text, i, length).width : font.width[uint8_t(text[i])];
        if (text[i] == ' ' && i < stretch_before) {
            ++spaces_seen;
            int32_t share = int32_t((int64_t(slop) * spaces_seen / spaces) >> 16);
            pos += share - given;
            given = share;
        }
        for (size_t k = 1; k <= length; ++k) x[i + k] = pos;  // inside a character: its end
    }
}

Fixed portion_line(std::string_view text, int16_t run_position) {
    return stretching_spaces(text, run_position) * kFixedOne;
}

int16_t text_width(std::string_view text) { return pinned_width(text_advance(port_font(), text)); }
int16_t string_width(const unsigned char* pstr) { return text_width(as_view(pstr)); }
int16_t char_width(unsigned char ch) { return port_font().width[ch]; }
void get_font_info(FontInfo& info) { info = port_font().info; }

int16_t char_to_pixel(std::string_view text, Fixed slop, int32_t offset, int16_t run_position) {
    std::vector<int32_t> x;
    layout_text(port_font(), text, slop, run_position, x);
    return pinned_width(x[std::clamp<size_t>(size_t(std::max(offset, 0)), 0, text.size())]);
}

PixelHit pixel_to_char(std::string_view text, Fixed slop, Fixed pixel_width, int16_t run_position) {
    if (pixel_width < 0) return PixelHit{0, true, -1};
    std::vector<int32_t> x;
    layout_text(port_font(), text, slop, run_position, x);
    const int64_t pixel = pixel_width;
    for (size_t i = 0, length = 1; i < text.size(); i += length) {
        character_glyph(port_font(), text, i, length);
        int64_t left = int64_t(x[i]) << 16, right = int64_t(x[i + length]) << 16;
        if (pixel >= right) continue;
        if (2 * (pixel - left) < right - left) return PixelHit{int32_t(i), true, -1};
        return PixelHit{int32_t(i + length), false, -1};
    }
    return PixelHit{int32_t(text.size()), false, Fixed(pixel - (int64_t(x.back()) << 16))};
}

int32_t visible_length(std::string_view text) {
    size_t n = text.size();
    while (n > 0 && is_blank(uint8_t(text[n - 1]))) --n;
    return int32_t(n);
}

int16_t trunc_text(int16_t width, std::string& text, int16_t where) {
    if (width < 0) return kTruncError;
    const FontInstance& font = port_font();
    if (text_advance(font, text) <= width) return kNotTruncated;
    int budget = width - font.width[kEllipsis];
    if (budget < 0) {
        text.clear();
        return kTruncated;
    }
    text = where == kTruncMiddle ? truncated_in_middle(font, text, budget) : truncated_at_end(font, text, budget);
    return kTruncated;
}

int16_t trunc_string(int16_t width, unsigned char* pstr, int16_t where) {
    std::string text(as_view(pstr));
    int16_t result = trunc_text(width, text, where);
    pstr[0] = uint8_t(text.size());
    std::memcpy(pstr + 1, text.data(), text.size());
    return result;
}

}  // namespace pf
