// Long-value scroll bars and the entry line's scroll bar. The control's value
// is a scaled image of the long value; an empty range scales to the minimum.
#include "shell/entry_scroll.h"

#include <algorithm>

#include "platform/windows/windows.h"
#include "shell/command_bar.h"
#include "shell/shell_commands.h"
#include "window/entry_line.h"

namespace {

constexpr int32_t kControlLimit = 32767;
constexpr int32_t kLineStep = 16;

LongValue* long_value(pf::ControlRef control) {
    return control ? reinterpret_cast<LongValue*>(control->refcon) : nullptr;
}

// Maps value from [from_min, from_max] to [to_min, to_max] in 16.16 fixed
// point, rounded; an empty source range gives to_min.
int32_t scale(int64_t value, int64_t from_min, int64_t from_max, int64_t to_min, int64_t to_max) {
    int64_t range = from_max - from_min;
    if (range <= 0) return int32_t(to_min);
    int64_t fraction = ((value - from_min) << 16) / range;
    return int32_t(to_min + ((fraction * (to_max - to_min) + 0x8000) >> 16));
}

WEReference entry() { return static_cast<WEReference>(entry_line_editor()); }

// How far the text is scrolled: the view's top less the text's top.
int32_t entry_offset(WEReference we) {
    LongRect view, dest;
    WEGetViewRect(view, we);
    WEGetDestRect(dest, we);
    return view.top - dest.top;
}

}  // namespace

void ScrollBarChanged() {
    WEReference we = entry();
    if (!we || !icon_scroll) return;
    WEScroll(0, entry_offset(we) - LCGetValue(icon_scroll), we);
}

void AdjustIconBars() {
    WEReference we = entry();
    if (!we) return;
    LongRect view, dest;
    WEGetViewRect(view, we);
    WEGetDestRect(dest, we);
    AdjustIconBars(view.top - dest.top, dest.bottom - view.bottom);
}

void IconTextScrolled(WEReference) { AdjustIconBars(); }

bool IconClickLoop(WEReference) {
    if (!icon_scroll) return true;
    pf::Point mouse;
    pf::get_mouse(mouse);
    const int32_t value = LCGetValue(icon_scroll);
    if (mouse.v > edit_rect.bottom && value < LCGetMax(icon_scroll)) LCSetValue(icon_scroll, value + kLineStep);
    else if (mouse.v < edit_rect.top && value >= 1) LCSetValue(icon_scroll, value - kLineStep);
    ScrollBarChanged();
    return true;
}

namespace {

void show_entry_scroll(bool shown) {
    if (!icon_scroll || pf::is_control_visible(icon_scroll) == shown) return;
    if (shown) pf::show_control(icon_scroll);
    else pf::hide_control(icon_scroll);
}

}  // namespace

void fit_command_bar_to_entry(int32_t height, bool scroll_shown) {
    WindowRef bar = command_bar_window();
    if (!bar) return;
    const pf::Rect content = pf::window_content_rect(bar);
    const int16_t wanted = int16_t(edit_rect.top + height);
    if (content.bottom - content.top != wanted)
        pf::size_window(bar, int16_t(content.right - content.left), wanted, true);
    AdjustIconBars();
    show_entry_scroll(scroll_shown);
}

int16_t LCAttach(pf::ControlRef control) {
    if (!control) return -1;
    control->refcon = reinterpret_cast<uintptr_t>(new LongValue{pf::get_control_value(control),
                                                                pf::get_control_minimum(control),
                                                                pf::get_control_maximum(control)});
    return 0;
}

void LCDetach(pf::ControlRef control) {
    delete long_value(control);
    if (control) control->refcon = 0;
}

int32_t LCGetValue(pf::ControlRef control) {
    LongValue* v = long_value(control);
    return v ? v->value : 0;
}

int32_t LCGetMax(pf::ControlRef control) {
    LongValue* v = long_value(control);
    return v ? v->maximum : 0;
}

void LCSetValue(pf::ControlRef control, int32_t value) {
    LongValue* v = long_value(control);
    if (!v) return;
    v->value = std::clamp(value, v->minimum, std::max(v->minimum, v->maximum));
    int32_t shown = scale(v->value, v->minimum, v->maximum, pf::get_control_minimum(control),
                          pf::get_control_maximum(control));
    if (shown != pf::get_control_value(control)) pf::set_control_value(control, shown);
}

void LCSetMax(pf::ControlRef control, int32_t maximum) {
    LongValue* v = long_value(control);
    if (!v) return;
    v->maximum = std::max(maximum, v->minimum);
    pf::set_control_maximum(control, std::min(v->maximum, kControlLimit));
    LCSetValue(control, v->value);
}

void LCSynch(pf::ControlRef control) {
    LongValue* v = long_value(control);
    if (!v) return;
    v->value = scale(pf::get_control_value(control), pf::get_control_minimum(control),
                     pf::get_control_maximum(control), v->minimum, v->maximum);
}

void AdjustIconBars(int32_t offset, int32_t below) {
    if (!icon_scroll) return;
    int32_t maximum = offset + below;
    if (maximum < 1) maximum = 0;
    pf::hilite_control(icon_scroll, maximum == 0 ? pf::kControlInactiveHilite : 0);
    LCSetMax(icon_scroll, maximum);
    LCSetValue(icon_scroll, offset);
    if (maximum < offset) ScrollBarChanged();
}

int32_t scroll_step(int16_t part, int16_t view_height) {
    switch (part) {
        case pf::kControlDownButtonPart: return kLineStep;
        case pf::kControlUpButtonPart: return -kLineStep;
        case pf::kControlPageDownPart: return view_height - kLineStep;
        case pf::kControlPageUpPart: return -(view_height - kLineStep);
        default: return 0;
    }
}

void HandleWEScroll(pf::ControlRef control, int16_t part) {
    int32_t step = scroll_step(part, int16_t(edit_rect.bottom - edit_rect.top));
    int32_t value = LCGetValue(control);
    if (step > 0 && value >= LCGetMax(control)) return;
    if (step < 0 && value < 1) return;
    LCSetValue(control, value + step);
    ScrollBarChanged();
}

void track_entry_scroll(pf::Point where) {
    int16_t part = pf::test_control(icon_scroll, where);
    if (part == pf::kControlIndicatorPart) {
        if (pf::track_control(icon_scroll, where, nullptr)) LCSynch(icon_scroll);
        ScrollBarChanged();
        return;
    }
    pf::track_control(icon_scroll, where, HandleWEScroll);
}
