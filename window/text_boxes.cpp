#include "window/text_boxes.h"

#include <algorithm>
#include <string_view>
#include <vector>

#include "platform/draw/draw.h"
#include "platform/draw/text.h"
#include "platform/text/text.h"

namespace {

std::string_view piece(const unsigned char* text, int32_t start, int32_t length) {
    return std::string_view(reinterpret_cast<const char*>(text) + start, size_t(length));
}

// The end of the longest prefix of [start, end) that fits `width`, broken at a
// blank when one lies inside it; at least one character.
int32_t fitting_end(const unsigned char* text, int32_t start, int32_t end, int16_t width,
                    const std::function<int(unsigned char)>& char_width) {
    int32_t fit = start;
    int32_t last_blank = -1;
    int32_t pixels = 0;
    while (fit < end) {
        pixels += char_width(text[fit]);
        if (pixels > width) break;
        if (text[fit] == ' ') last_blank = fit;
        ++fit;
    }
    if (fit == end) return end;
    if (last_blank > start) return last_blank + 1;
    return std::max(fit, start + 1);
}

int16_t line_height_of_port() {
    pf::FontInfo info;
    pf::get_font_info(info);
    return int16_t(info.ascent + info.descent + info.leading);
}

void draw_line_of(const unsigned char* text, const TextLine& line, const pf::Rect& box, int16_t baseline,
                  int16_t justification) {
    std::string_view words = piece(text, line.start, line.length);
    int32_t shown = pf::visible_length(words);
    int16_t width = pf::text_width(words.substr(0, size_t(shown)));
    int16_t room = int16_t(box.right - box.left);
    int16_t left = box.left;
    if (justification == kBoxRight) left = int16_t(box.right - width);
    else if (justification == kBoxCentre) left = int16_t(box.left + (room - width) / 2);
    pf::move_to(left, baseline);
    if (justification == kBoxJustified && !line.ends_paragraph && width < room)
        pf::draw_justified(words, pf::Fixed(room - width) * pf::kFixedOne);
    else
        pf::draw_text(words.substr(0, size_t(shown)));
}

}  // namespace

std::vector<TextLine> break_text_lines(const unsigned char* text, int32_t length, int16_t width,
                                       const std::function<int(unsigned char)>& char_width) {
    std::vector<TextLine> lines;
    int32_t start = 0;
    while (start < length) {
        int32_t paragraph_end = start;
        while (paragraph_end < length && !pf::ends_text_line(text[paragraph_end])) ++paragraph_end;
        int32_t at = start;
        do {
            int32_t end = fitting_end(text, at, paragraph_end, width, char_width);
            lines.push_back(TextLine{at, end - at, end == paragraph_end});
            at = end;
        } while (at < paragraph_end);
        start = paragraph_end < length
                    ? pf::after_line_end(reinterpret_cast<const char*>(text), paragraph_end, length)
                    : length;
    }
    return lines;
}

int16_t NeoTextBox(const unsigned char* text, int32_t length, const pf::Rect* box, int16_t justification,
                   int16_t* line_height, int16_t* text_height, int16_t draw) {
    const int16_t height = line_height_of_port();
    const std::vector<TextLine> lines = break_text_lines(text, std::max<int32_t>(length, 0),
                                                         int16_t(box->right - box->left), pf::char_width);
    if (line_height) *line_height = height;
    if (text_height) *text_height = int16_t(std::min<size_t>(lines.size() * size_t(height), 32000));
    if (draw) {
        pf::FontInfo info;
        pf::get_font_info(info);
        int32_t baseline = box->top + info.ascent;
        for (const TextLine& line : lines) {
            if (baseline - info.ascent >= box->bottom) break;
            draw_line_of(text, line, *box, int16_t(baseline), justification);
            baseline += height;
        }
    }
    return int16_t(std::min<size_t>(lines.size(), 32000));
}

void VertTextBox(const unsigned char* text, int32_t length, const pf::Rect* box, pf::Rect* extent, int16_t vertical,
                 int16_t draw) {
    const int16_t height = line_height_of_port();
    int16_t widest = 0;
    for (int32_t i = 0; i < length; ++i) widest = std::max(widest, pf::char_width(text[i]));
    const int32_t stack = int32_t(std::max<int32_t>(length, 0)) * height;
    if (extent) *extent = pf::Rect{box->top, box->left, int16_t(std::min<int32_t>(box->top + stack, 32000)),
                                   int16_t(box->left + widest)};
    if (!draw) return;
    pf::FontInfo info;
    pf::get_font_info(info);
    int32_t top = box->top;
    if (vertical == 1) top = box->top + (box->bottom - box->top - stack) / 2;
    else if (vertical == -1) top = box->bottom - stack;
    for (int32_t i = 0; i < length; ++i, top += height) {
        if (top >= box->bottom) break;
        int16_t w = pf::char_width(text[i]);
        pf::move_to(int16_t(box->left + (box->right - box->left - w) / 2), int16_t(top + info.ascent));
        pf::draw_char(text[i]);
    }
}

void DrawHairLine(const pf::Rect* rect) {
    if (rect->width() >= rect->height()) pf::paint_rect(pf::Rect{rect->top, rect->left, int16_t(rect->top + 1), rect->right});
    else pf::paint_rect(pf::Rect{rect->top, rect->left, rect->bottom, int16_t(rect->left + 1)});
}
