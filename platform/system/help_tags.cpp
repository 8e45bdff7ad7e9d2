#include "platform/system/help_tags.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "platform/controls/control_look.h"
#include "platform/draw/port.h"
#include "platform/draw/shapes.h"
#include "platform/draw/text.h"
#include "platform/events/clock.h"
#include "platform/fonts/classic_fonts.h"
#include "platform/menus/menus_internal.h"
#include "platform/screen/screen.h"
#include "platform/system/system.h"

namespace pf {

namespace {

using menus_detail::SavedPixels;

constexpr RGBColor kTagFill{0xFFFF, 0xFFFF, 0xCCCC};
constexpr int16_t kTagFontSize = 10;
constexpr int16_t kTagMargin = 3;
constexpr int16_t kTagMaxWidth = 240;
constexpr int16_t kBelowPointer = 18;

struct HelpTagState {
    HelpTagProvider provider = nullptr;
    Point mouse{-1, -1};
    uint32_t rest_since = 0;
    bool asked = false;  // the window under the resting pointer was asked already
    std::optional<HelpTag> shown;
    Rect rect{};
    SavedPixels under;
};

HelpTagState state;

void set_tag_font() {
    text_font(kApplFont);
    text_size(kTagFontSize);
}

// The text broken into lines at returns and, past the widest a tag grows, at blanks.
std::vector<std::string> tag_lines(const std::string& text) {
    std::vector<std::string> lines;
    std::string line;
    size_t i = 0;
    while (i <= text.size()) {
        if (i == text.size() || text[i] == '\r' || text[i] == '\n') {
            lines.push_back(line);
            line.clear();
            ++i;
            continue;
        }
        size_t end = text.find_first_of(" \r\n", i);
        if (end == std::string::npos) end = text.size();
        std::string word = text.substr(i, end - i);
        std::string longer = line.empty() ? word : line + " " + word;
        if (!line.empty() && text_width(longer) > kTagMaxWidth) {
            lines.push_back(line);
            longer = word;
        }
        line = longer;
        i = end < text.size() && text[end] == ' ' ? end + 1 : end;
    }
    while (!lines.empty() && lines.back().empty()) lines.pop_back();
    return lines;
}

Rect tag_rect(const HelpTag& tag, Point mouse, const std::vector<std::string>& lines, int16_t line_height) {
    int16_t width = 0;
    for (const std::string& line : lines) width = std::max(width, text_width(line));
    const int16_t w = int16_t(width + 2 * kTagMargin + 2), h = int16_t(lines.size() * line_height + 2 * kTagMargin);
    Point at = tag.side == kHelpTagRight ? Point{tag.hot.top, int16_t(tag.hot.right + 2)}
                                         : Point{int16_t(mouse.v + kBelowPointer), mouse.h};
    if (const Screen* s = screen()) {
        at.h = int16_t(std::clamp<int>(at.h, 0, std::max(0, s->width - w)));
        at.v = int16_t(std::clamp<int>(at.v, 0, std::max(0, s->height - h)));
    }
    return Rect{at.v, at.h, int16_t(at.v + h), int16_t(at.h + w)};
}

void show(const HelpTag& tag, Point mouse) {
    menus_detail::ScreenPort port;
    set_tag_font();
    FontInfo info;
    get_font_info(info);
    const int16_t line_height = int16_t(info.ascent + info.descent + info.leading);
    const std::vector<std::string> lines = tag_lines(tag.text);
    if (lines.empty()) return;
    state.rect = tag_rect(tag, mouse, lines, line_height);
    state.under = menus_detail::save_screen_pixels(state.rect);
    fill_rect_color(state.rect, kTagFill);
    rgb_fore_color(RGBColor{0, 0, 0});
    frame_rect(state.rect);
    int16_t baseline = int16_t(state.rect.top + kTagMargin + info.ascent);
    for (const std::string& line : lines) {
        move_to(int16_t(state.rect.left + kTagMargin + 1), baseline);
        draw_text(line);
        baseline = int16_t(baseline + line_height);
    }
    screen_mark_dirty(state.rect);
    state.shown = tag;
}

}  // namespace

void set_help_tag_provider(HelpTagProvider provider) { state.provider = provider; }

void hide_help_tag() {
    state.asked = true;
    if (!state.shown) return;
    menus_detail::restore_screen_pixels(state.under);
    screen_mark_dirty(state.rect);
    state.shown.reset();
    state.rect = Rect{};
    state.under = SavedPixels{};
}

void help_tags_idle(Point mouse) {
    const uint32_t now = tick_count();
    if (mouse != state.mouse) {
        hide_help_tag();
        state.mouse = mouse;
        state.rest_since = now;
        state.asked = false;
        return;
    }
    if (state.asked || !state.provider || now - state.rest_since < uint32_t(help_tag_delay())) return;
    state.asked = true;
    WindowRef window = nullptr;
    if (find_window(mouse, &window) != kInContent || !window) return;
    HelpTag tag;
    if (state.provider(window, mouse, &tag) && !tag.text.empty()) show(tag, mouse);
}

const HelpTag* shown_help_tag() { return state.shown ? &*state.shown : nullptr; }
Rect shown_help_tag_rect() { return state.rect; }

}  // namespace pf
