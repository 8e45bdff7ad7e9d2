// How each kind of control is drawn, in the toolbox's look.
#include "platform/controls/control_look.h"
#include "platform/controls/controls.h"
#include "platform/controls/controls_internal.h"
#include "platform/draw/text.h"

#include <algorithm>

namespace pf {

using namespace controls_detail;

namespace {

constexpr int16_t kScrollArrow = 16;
constexpr int16_t kMinThumb = 16;
constexpr int16_t kBoxSize = 12;  // check boxes and radio buttons
constexpr int16_t kPopupArrowWidth = 20;

void use_control_font(ControlRef c) {
    text_font(control_text_font(c));
    text_size(c->size);
    text_face(c->face);
}

RGBColor text_colour(ControlRef c) { return is_control_active(c) ? kLookText : kLookDimText; }

void draw_push_button(ControlRef c) {
    bool active = is_control_active(c);
    if (c->is_default) {
        LookScope scope;
        pen_normal();
        pen_size(3, 3);
        rgb_fore_color(active ? kLookAccent : kLookShadow);
        frame_round_rect(inset_rect(c->bounds, -4, -4), 16, 16);
    }
    draw_bevel(c->bounds, c->hilite == kControlButtonPart, !active);
    draw_text_in_box(inset_rect(c->bounds, 4, 0), c->title, TextAlign::kCenter, text_colour(c));
}

Rect box_of(ControlRef c) {
    int16_t top = int16_t((c->bounds.top + c->bounds.bottom - kBoxSize) / 2);
    return Rect{top, c->bounds.left, int16_t(top + kBoxSize), int16_t(c->bounds.left + kBoxSize)};
}

void draw_box_title(ControlRef c) {
    Rect text = c->bounds;
    text.left = int16_t(c->bounds.left + kBoxSize + 5);
    draw_text_in_box(text, c->title, TextAlign::kLeft, text_colour(c));
}

void draw_check_box(ControlRef c) {
    erase_rect(c->bounds);
    Rect box = box_of(c);
    bool pressed = c->hilite == kControlCheckBoxPart;
    fill_rect_color(box, pressed ? kLookFacePressed : kLookLight);
    frame_rect_color(box, is_control_active(c) ? kLookFrame : kLookShadow);
    RGBColor mark = is_control_active(c) ? kLookAccent : kLookShadow;
    if (c->value == kControlCheckBoxCheckedValue) draw_check_glyph(offset_rect(box, 1, 0), mark);
    if (c->value == kControlCheckBoxMixedValue)
        fill_rect_color(Rect{int16_t(box.top + 5), int16_t(box.left + 3), int16_t(box.top + 7), int16_t(box.right - 3)},
                        mark);
    draw_box_title(c);
}

void draw_radio_button(ControlRef c) {
    erase_rect(c->bounds);
    Rect box = box_of(c);
    LookScope scope;
    pen_normal();
    rgb_fore_color(c->hilite == kControlRadioButtonPart ? kLookFacePressed : kLookLight);
    paint_oval(box);
    rgb_fore_color(is_control_active(c) ? kLookFrame : kLookShadow);
    frame_oval(box);
    if (c->value) {
        rgb_fore_color(is_control_active(c) ? kLookAccent : kLookShadow);
        paint_oval(inset_rect(box, 3, 3));
    }
    draw_box_title(c);
}

void draw_scroll_bar(ControlRef c) {
    bool vertical = is_vertical(c);
    bool usable = is_control_active(c) && c->maximum > c->minimum;
    fill_rect_color(c->bounds, kLookFacePressed);
    frame_rect_color(c->bounds, kLookFrame);
    auto arrow = [&](int16_t part, TriangleDirection direction) {
        Rect r = scroll_part_rect(c, part);
        draw_bevel(r, c->hilite == part, !usable);
        draw_triangle(r, direction, 4, usable ? kLookText : kLookDimText);
    };
    arrow(kControlUpButtonPart, vertical ? TriangleDirection::kUp : TriangleDirection::kLeft);
    arrow(kControlDownButtonPart, vertical ? TriangleDirection::kDown : TriangleDirection::kRight);
    if (!usable) return;
    Rect page = scroll_part_rect(c, c->hilite == kControlPageUpPart ? kControlPageUpPart : kControlPageDownPart);
    if (c->hilite == kControlPageUpPart || c->hilite == kControlPageDownPart) fill_rect_color(page, kLookShadow);
    draw_bevel(scroll_part_rect(c, kControlIndicatorPart), c->hilite == kControlIndicatorPart, false);
}

void draw_little_arrows(ControlRef c) {
    bool active = is_control_active(c);
    Rect up = scroll_part_rect(c, kControlUpButtonPart), down = scroll_part_rect(c, kControlDownButtonPart);
    draw_bevel(up, c->hilite == kControlUpButtonPart, !active);
    draw_bevel(down, c->hilite == kControlDownButtonPart, !active);
    RGBColor colour = active ? kLookText : kLookDimText;
    draw_triangle(up, TriangleDirection::kUp, 4, colour);
    draw_triangle(down, TriangleDirection::kDown, 4, colour);
}

int16_t popup_title_width(ControlRef c) {
    if (c->title.empty()) return 0;
    return c->title_width > 0 ? c->title_width : int16_t(text_width(c->title) + 6);
}

void draw_popup_button(ControlRef c) {
    erase_rect(c->bounds);
    int16_t title_width = popup_title_width(c);
    if (title_width) {
        Rect title = c->bounds;
        title.right = int16_t(c->bounds.left + title_width - 6);
        draw_text_in_box(title, c->title, TextAlign::kRight, text_colour(c));
    }
    Rect button = c->bounds;
    button.left = int16_t(c->bounds.left + title_width);
    bool active = is_control_active(c);
    draw_theme_popup_button(button, look_state(c->hilite == kControlMenuPart, !active));
    Rect text{button.top, int16_t(button.left + 8), button.bottom, int16_t(button.right - kPopupArrowWidth - 2)};
    // The chosen item in its own font, or its UTF-8 in its scripts' fonts, as
    // the open menu shows it.
    const MenuItem* chosen = menu_item(c->menu, int16_t(c->value));
    if (chosen && chosen->font >= 0) text_font(chosen->font);
    const RGBColor ink = active ? kLookText : kLookDimText;
    if (chosen && chosen->utf8) draw_unicode_text_in_box(text, chosen->text, TextAlign::kLeft, ink);
    else draw_text_in_box(text, get_menu_item_text(c->menu, int16_t(c->value)), TextAlign::kLeft, ink);
    text_font(control_text_font(c));
}

void draw_static_text(ControlRef c) {
    erase_rect(c->bounds);
    draw_wrapped_text(c->bounds, c->title, TextAlign::kLeft, text_colour(c));
}

void draw_group_box(ControlRef c) {
    FontInfo info;
    get_font_info(info);
    int16_t title_height = int16_t(info.ascent + info.descent);
    Rect frame = c->bounds;
    if (!c->title.empty()) frame.top = int16_t(c->bounds.top + title_height / 2);
    frame_rect_color(frame, kLookShadow);
    frame_rect_color(offset_rect(frame, 1, 1), kLookLight);
    if (c->title.empty()) return;
    Rect title{c->bounds.top, int16_t(c->bounds.left + 8), int16_t(c->bounds.top + title_height),
               int16_t(c->bounds.left + 12 + text_width(c->title))};
    title.right = std::min(title.right, int16_t(c->bounds.right - 8));
    erase_rect(title);
    draw_text_in_box(inset_rect(title, 2, 0), c->title, TextAlign::kLeft, text_colour(c));
}

void draw_user_pane(ControlRef c) {
    if (c->draw_proc) c->draw_proc(c, kControlNoPart);
}

void draw_kind(ControlRef c) {
    switch (c->kind) {
        case kPushButtonControl: draw_push_button(c); break;
        case kCheckBoxControl: draw_check_box(c); break;
        case kRadioButtonControl: draw_radio_button(c); break;
        case kScrollBarControl: draw_scroll_bar(c); break;
        case kLittleArrowsControl: draw_little_arrows(c); break;
        case kPopupButtonControl: draw_popup_button(c); break;
        case kEditTextControl:
        case kPasswordTextControl: draw_edit_text(c); break;
        case kStaticTextControl: draw_static_text(c); break;
        case kGroupBoxControl: draw_group_box(c); break;
        case kListBoxControl: list_box_draw(c); break;
        case kUserPaneControl: draw_user_pane(c); break;
        default: draw_bevel(c->bounds, false, !is_control_active(c)); break;
    }
}

}  // namespace

namespace controls_detail {

bool is_vertical(ControlRef bar) { return bar->bounds.height() > bar->bounds.width(); }

// The track between the arrows, as (start, end) along the bar's axis.
static std::pair<int, int> track_of(ControlRef bar) {
    bool vertical = is_vertical(bar);
    int start = (vertical ? bar->bounds.top : bar->bounds.left) + kScrollArrow - 1;
    int end = (vertical ? bar->bounds.bottom : bar->bounds.right) - kScrollArrow + 1;
    return {start, std::max(start, end)};
}

int thumb_position(ControlRef bar) {
    auto [start, end] = track_of(bar);
    int room = std::max(0, end - start - kMinThumb);
    int range = bar->maximum - bar->minimum;
    if (range <= 0) return start;
    return start + int(int64_t(room) * (bar->value - bar->minimum) / range);
}

int32_t scroll_value_at(ControlRef bar, int position) {
    auto [start, end] = track_of(bar);
    int room = std::max(1, end - start - kMinThumb);
    int64_t range = int64_t(bar->maximum) - bar->minimum;
    int offset = std::clamp(position - start, 0, room);
    return int32_t(bar->minimum + (range * offset + room / 2) / room);
}

Rect scroll_part_rect(ControlRef bar, int16_t part) {
    const Rect& b = bar->bounds;
    bool vertical = bar->kind == kLittleArrowsControl || is_vertical(bar);
    // Little arrows split their height in two; a scroll bar has square arrows at its ends.
    int arrow = bar->kind == kLittleArrowsControl ? b.height() / 2 : kScrollArrow;
    auto span = [&](int from, int to) {
        return vertical ? Rect{int16_t(from), b.left, int16_t(to), b.right} : Rect{b.top, int16_t(from), b.bottom, int16_t(to)};
    };
    int lo = vertical ? b.top : b.left, hi = vertical ? b.bottom : b.right;
    if (part == kControlUpButtonPart) return span(lo, lo + arrow);
    if (part == kControlDownButtonPart) return span(hi - arrow, hi);
    if (bar->kind == kLittleArrowsControl) return Rect{};
    int thumb = thumb_position(bar);
    auto [start, end] = track_of(bar);
    if (part == kControlIndicatorPart) return span(thumb, thumb + kMinThumb);
    if (part == kControlPageUpPart) return span(start, thumb);
    if (part == kControlPageDownPart) return span(thumb + kMinThumb, end);
    return Rect{};
}

}  // namespace controls_detail

void draw_one_control(ControlRef control) {
    if (!control || !shows(control)) return;
    ControlPortScope port(control);
    LookScope scope;
    use_control_font(control);
    draw_kind(control);
    for (ControlRef child : control->children) draw_one_control(child);
}

void draw_controls(WindowRef window) {
    WindowControls* wc = find_controls_of(window);
    if (!wc) return;
    for (ControlRef c : std::vector<ControlRef>(wc->top)) draw_one_control(c);
}

void update_controls(WindowRef window, RgnHandle rgn) {
    WindowControls* wc = find_controls_of(window);
    if (!wc) return;
    for (ControlRef c : window_controls(window)) {
        if (!shows(c) || c == wc->root) continue;
        if (!rgn || rect_in_region(inset_rect(c->bounds, -4, -4), rgn)) {
            ControlPortScope port(c);
            LookScope scope;
            use_control_font(c);
            draw_kind(c);
        }
    }
}

}  // namespace pf
