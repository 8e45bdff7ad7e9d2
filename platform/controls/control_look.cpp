#include "platform/controls/control_look.h"

#include "platform/draw/small_images.h"
#include "platform/draw/text.h"
#include "platform/draw/unicode_text.h"
#include "platform/text/mac_roman.h"
#include "platform/resources/resources.h"

#include <algorithm>
#include <string>

namespace pf {

LookScope::LookScope() : port(get_port()) {
    if (port) saved = *port;
}
LookScope::~LookScope() {
    if (port) static_cast<DrawingState&>(*port) = saved;
}

Rect inset_rect(const Rect& r, int dh, int dv) {
    return Rect{int16_t(r.top + dv), int16_t(r.left + dh), int16_t(r.bottom - dv), int16_t(r.right - dh)};
}

Rect offset_rect(const Rect& r, int dh, int dv) {
    return Rect{int16_t(r.top + dv), int16_t(r.left + dh), int16_t(r.bottom + dv), int16_t(r.right + dh)};
}

void fill_rect_color(const Rect& r, const RGBColor& colour) {
    LookScope scope;
    pen_normal();
    rgb_fore_color(colour);
    paint_rect(r);
}

void frame_rect_color(const Rect& r, const RGBColor& colour) {
    LookScope scope;
    pen_normal();
    rgb_fore_color(colour);
    frame_rect(r);
}

int16_t look_state(bool pressed, bool dimmed) {
    if (dimmed) return kThemeStateInactive;
    return pressed ? kThemeStatePressed : kThemeStateActive;
}

namespace {

void edge_lines(const Rect& r, const RGBColor& top_left, const RGBColor& bottom_right) {
    pen_normal();
    rgb_fore_color(top_left);
    move_to(r.left, int16_t(r.bottom - 1));
    line_to(r.left, r.top);
    line_to(int16_t(r.right - 1), r.top);
    rgb_fore_color(bottom_right);
    move_to(int16_t(r.left + 1), int16_t(r.bottom - 1));
    line_to(int16_t(r.right - 1), int16_t(r.bottom - 1));
    line_to(int16_t(r.right - 1), int16_t(r.top + 1));
}

}  // namespace

// The theme's bevel buttons are drawn by this too.
void draw_bevel(const Rect& r, bool pressed, bool dimmed) {
    LookScope scope;
    fill_rect_color(r, dimmed ? kLookDialogBack : pressed ? kLookFacePressed : kLookFace);
    frame_rect_color(r, dimmed ? kLookShadow : kLookFrame);
    if (dimmed || r.width() < 4 || r.height() < 4) return;
    Rect inner = inset_rect(r, 1, 1);
    if (pressed)
        edge_lines(inner, kLookShadow, kLookFacePressed);
    else
        edge_lines(inner, kLookLight, kLookShadow);
}

void draw_sunken_frame(const Rect& r, bool dimmed) {
    Rect inside = inset_rect(r, 1, 1);
    fill_rect_color(inside, kLookLight);
    draw_theme_edit_text_frame(inside, look_state(false, dimmed));
}

void draw_focus_ring(const Rect& r, bool focused) { draw_theme_focus_rect(inset_rect(r, -1, -1), focused); }

void draw_triangle(const Rect& box, TriangleDirection direction, int size, const RGBColor& colour) {
    LookScope scope;
    pen_normal();
    rgb_fore_color(colour);
    int cv = (box.top + box.bottom) / 2, ch = (box.left + box.right) / 2;
    // Rows (or columns) from the base to the point, each two pixels narrower.
    for (int step = 0; step < size; ++step) {
        int half = size - 1 - step;
        switch (direction) {
            case TriangleDirection::kDown:
                paint_rect(Rect{int16_t(cv - size / 2 + step), int16_t(ch - half), int16_t(cv - size / 2 + step + 1),
                                int16_t(ch + half + 1)});
                break;
            case TriangleDirection::kUp:
                paint_rect(Rect{int16_t(cv + size / 2 - step), int16_t(ch - half), int16_t(cv + size / 2 - step + 1),
                                int16_t(ch + half + 1)});
                break;
            case TriangleDirection::kRight:
                paint_rect(Rect{int16_t(cv - half), int16_t(ch - size / 2 + step), int16_t(cv + half + 1),
                                int16_t(ch - size / 2 + step + 1)});
                break;
            case TriangleDirection::kLeft:
                paint_rect(Rect{int16_t(cv - half), int16_t(ch + size / 2 - step), int16_t(cv + half + 1),
                                int16_t(ch + size / 2 - step + 1)});
                break;
        }
    }
}

void draw_check_glyph(const Rect& box, const RGBColor& colour) {
    LookScope scope;
    pen_normal();
    pen_size(2, 2);
    rgb_fore_color(colour);
    int cv = (box.top + box.bottom) / 2, ch = (box.left + box.right) / 2;
    move_to(int16_t(ch - 5), int16_t(cv - 1));
    line_to(int16_t(ch - 2), int16_t(cv + 2));
    line_to(int16_t(ch + 3), int16_t(cv - 4));
}

void draw_diamond_glyph(const Rect& box, const RGBColor& colour) {
    LookScope scope;
    pen_normal();
    rgb_fore_color(colour);
    int cv = (box.top + box.bottom) / 2, ch = (box.left + box.right) / 2;
    for (int d = -3; d <= 3; ++d) {
        int half = 3 - std::abs(d);
        paint_rect(Rect{int16_t(cv + d), int16_t(ch - half), int16_t(cv + d + 1), int16_t(ch + half + 1)});
    }
}

void draw_small_icon(int16_t id, const Rect& box) {
    Rect dst = image_rect_at(box.left, box.top);
    Rect src{0, 0, 16, 16};
    if (const Resource* colour = get_resource(kColorIconType, id)) {
        ColorIcon pixels;
        if (decode_color_icon(colour->bytes, pixels)) copy_bits(color_icon_map(pixels), src, dst, kSrcCopy);
        return;
    }
    const Resource* mono = get_resource(kSmallIconType, id);
    SmallIcon icon;
    if (!mono || !decode_small_icon(mono->bytes, icon)) return;
    Image16 image = image16_of(icon.image), mask = image16_of(icon.mask);
    copy_mask(image16_map(image), image16_map(mask), src, src, dst);
}

int16_t line_height() {
    FontInfo info;
    get_font_info(info);
    return int16_t(info.ascent + info.descent + info.leading);
}

namespace {

// A line of the port font's bytes, cut to the box with an ellipsis; or of
// UTF-8 with `unicode`.
void draw_line_at(const Rect& box, int baseline, std::string text, TextAlign align, bool unicode = false) {
    if (!unicode) trunc_text(int16_t(std::max(0, box.width())), text, kTruncEnd);
    int width = unicode ? unicode_text_width(text) : text_width(text);
    int h = box.left;
    if (align == TextAlign::kCenter) h = box.left + (box.width() - width) / 2;
    if (align == TextAlign::kRight) h = box.right - width;
    move_to(int16_t(h), int16_t(baseline));
    if (unicode) draw_unicode_text(text);
    else draw_text(text);
}

// Cuts a UTF-8 text between letters, an ellipsis after it, to fit `width`.
void trunc_unicode_text(int width, std::string& utf8) {
    if (unicode_text_width(utf8) <= width) return;
    const std::string_view ellipsis = "\xE2\x80\xA6";
    size_t end = utf8.size();
    do {
        end = utf8_whole_letters(utf8, end - 1);
    } while (end > 0 && unicode_text_width(utf8.substr(0, end) + std::string(ellipsis)) > width);
    utf8.resize(end);
    utf8 += ellipsis;
}

int baseline_in(const Rect& box) {
    FontInfo info;
    get_font_info(info);
    return box.top + (box.height() - (info.ascent + info.descent)) / 2 + info.ascent;
}

}  // namespace

void draw_unicode_text_in_box(const Rect& box, std::string_view utf8, TextAlign align, const RGBColor& colour) {
    LookScope scope;
    rgb_fore_color(colour);
    text_mode(kSrcOr);
    std::string text(utf8);
    trunc_unicode_text(std::max(0, box.width()), text);
    draw_line_at(box, baseline_in(box), text, align, true);
}

void draw_text_in_box(const Rect& box, std::string_view text, TextAlign align, const RGBColor& colour) {
    LookScope scope;
    rgb_fore_color(colour);
    text_mode(kSrcOr);
    draw_line_at(box, baseline_in(box), std::string(text), align);
}

void draw_wrapped_text(const Rect& box, std::string_view text, TextAlign align, const RGBColor& colour, bool unicode) {
    LookScope scope;
    rgb_fore_color(colour);
    text_mode(kSrcOr);
    FontInfo info;
    get_font_info(info);
    int height = info.ascent + info.descent + info.leading;
    int baseline = box.top + info.ascent;
    size_t pos = 0;
    while (pos < text.size() && baseline - info.ascent < box.bottom) {
        // The longest run of words that fits, at least one word (cut when alone).
        size_t end = pos, fit = pos;
        while (end < text.size() && text[end] != '\r') {
            size_t next = text.find_first_of(" \r", end);
            if (next == std::string_view::npos) next = text.size();
            const std::string_view line = text.substr(pos, next - pos);
            if ((unicode ? unicode_text_width(line) : text_width(line)) > box.width() && fit > pos) break;
            fit = next;
            end = next;
            if (end < text.size() && text[end] == ' ') ++end;
        }
        if (fit == pos) fit = end;
        draw_line_at(box, baseline, std::string(text.substr(pos, fit - pos)), align, unicode);
        pos = fit;
        while (pos < text.size() && text[pos] == ' ') ++pos;
        if (pos < text.size() && text[pos] == '\r') ++pos;
        baseline += height;
    }
}

std::string toolbox_string(int index, std::string_view fallback) {
    std::string text = get_indexed_string(kToolboxStringsId, index);
    return text.empty() ? std::string(fallback) : text;
}

}  // namespace pf
