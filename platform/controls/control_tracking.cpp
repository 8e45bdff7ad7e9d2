// Controls under the mouse: which part a point hits, and following the mouse from
// a click until release, with repeating arrows and pages and a live thumb.
#include "platform/controls/control_look.h"
#include "platform/controls/controls.h"
#include "platform/controls/controls_internal.h"
#include "platform/draw/text.h"
#include "platform/host/host.h"

#include <algorithm>

namespace pf {

using namespace controls_detail;

namespace {

constexpr int kPollMilliseconds = 16;  // about one tick between polls
constexpr uint32_t kRepeatDelayTicks = 20;
constexpr uint32_t kRepeatIntervalTicks = 2;

Point mouse_now() {
    Point p;
    get_mouse(p);
    return p;
}

int16_t scroll_part_at(ControlRef c, Point where) {
    for (int16_t part : {kControlUpButtonPart, kControlDownButtonPart, kControlIndicatorPart, kControlPageUpPart,
                         kControlPageDownPart}) {
        if (c->kind == kScrollBarControl && c->maximum <= c->minimum && part != kControlUpButtonPart &&
            part != kControlDownButtonPart)
            continue;
        if (pt_in_rect(where, scroll_part_rect(c, part))) return part;
    }
    return kControlNoPart;
}

ControlActionProc resolve(ControlRef c, ControlActionProc action) {
    return action == kUseControlAction ? c->action : action;
}

// Buttons, boxes and other one-part controls: highlighted while the mouse is inside.
int16_t track_press(ControlRef c, int16_t part, ControlActionProc action) {
    bool inside = true;
    hilite_control(c, part);
    while (still_down()) {
        host_wait(kPollMilliseconds);
        bool now = test_control(c, mouse_now()) == part;
        if (now != inside) hilite_control(c, now ? part : 0);
        inside = now;
        if (inside && action) action(c, part);
    }
    inside = test_control(c, mouse_now()) == part;
    hilite_control(c, 0);
    wait_mouse_up();
    return inside ? part : int16_t(kControlNoPart);
}

// Arrows and page areas: the action runs at once, then repeats after a pause for
// as long as the mouse stays over the part.
int16_t track_repeating(ControlRef c, int16_t part, ControlActionProc action) {
    hilite_control(c, part);
    if (action) action(c, part);
    uint32_t next = tick_count() + kRepeatDelayTicks;
    bool inside = true;
    while (still_down()) {
        host_wait(kPollMilliseconds);
        Point mouse = mouse_now();
        bool now = (c->kind == kScrollBarControl ? scroll_part_at(c, mouse) : test_control(c, mouse)) == part;
        if (now != inside) hilite_control(c, now ? part : 0);
        inside = now;
        if (inside && action && tick_count() >= next) {
            action(c, part);
            next = tick_count() + kRepeatIntervalTicks;
        }
    }
    hilite_control(c, 0);
    wait_mouse_up();
    return inside ? part : int16_t(kControlNoPart);
}

// The thumb follows the mouse; the value changes as it moves.
int16_t track_thumb(ControlRef c, Point start, ControlActionProc action) {
    bool vertical = is_vertical(c);
    int grab = (vertical ? start.v : start.h) - thumb_position(c);
    hilite_control(c, kControlIndicatorPart);
    while (still_down()) {
        host_wait(kPollMilliseconds);
        Point mouse = mouse_now();
        int32_t value = scroll_value_at(c, (vertical ? mouse.v : mouse.h) - grab);
        if (value != c->value) {
            set_control_value(c, value);
            if (action) action(c, kControlIndicatorPart);
        }
    }
    Point mouse = mouse_now();
    set_control_value(c, scroll_value_at(c, (vertical ? mouse.v : mouse.h) - grab));
    hilite_control(c, 0);
    wait_mouse_up();
    return kControlIndicatorPart;
}

int16_t track_popup(ControlRef c) {
    hilite_control(c, kControlMenuPart);
    Point top_left{c->bounds.top, c->bounds.left};
    {
        ControlPortScope port(c);
        local_to_global(top_left);
    }
    int16_t title_width = 0;
    if (!c->title.empty()) {
        ControlPortScope port(c);
        LookScope scope;
        text_font(c->font);
        text_size(c->size);
        title_width = c->title_width > 0 ? c->title_width : int16_t(text_width(c->title) + 6);
    }
    set_menu_font(c->menu, c->font, c->size);
    if (c->menu) c->menu->minimum_width = int16_t(c->bounds.width() - title_width);
    int32_t choice = pop_up_menu_select(c->menu, int16_t(top_left.v + 1), int16_t(top_left.h + title_width),
                                        int16_t(c->value));
    hilite_control(c, 0);
    if (!choice) return kControlNoPart;
    set_control_value(c, choice & 0xFFFF);
    return kControlMenuPart;
}

}  // namespace

int16_t test_control(ControlRef c, Point where) {
    if (!c || !shows(c) || !is_control_active(c) || !pt_in_rect(where, c->bounds)) return kControlNoPart;
    switch (c->kind) {
        case kPushButtonControl: return kControlButtonPart;
        case kCheckBoxControl: return kControlCheckBoxPart;
        case kRadioButtonControl: return kControlRadioButtonPart;
        case kScrollBarControl:
        case kLittleArrowsControl: return scroll_part_at(c, where);
        case kPopupButtonControl: return kControlMenuPart;
        case kEditTextControl:
        case kPasswordTextControl: return kControlEditTextPart;
        case kListBoxControl: return kControlListBoxPart;
        case kUserPaneControl: return c->hit_test_proc ? c->hit_test_proc(c, where) : int16_t(kControlNoPart);
        default: return kControlNoPart;  // static text, group boxes
    }
}

int16_t find_control(Point where, WindowRef window, ControlRef* control) {
    if (control) *control = nullptr;
    std::vector<ControlRef> all = window_controls(window);
    // Drawing order puts contents after their containers: the last hit is the innermost.
    for (auto it = all.rbegin(); it != all.rend(); ++it) {
        ControlRef c = *it;
        if (!shows(c) || !pt_in_rect(where, c->bounds)) continue;
        int16_t part = test_control(c, where);
        if (part == kControlNoPart && (c->kind == kUserPaneControl || c->kind == kGroupBoxControl)) continue;
        if (part == kControlNoPart && !is_control_active(c)) continue;
        if (control) *control = c;
        return part;
    }
    return kControlNoPart;
}

int16_t track_control(ControlRef c, Point start, ControlActionProc action) {
    int16_t part = test_control(c, start);
    if (part == kControlNoPart) {
        wait_mouse_up();
        return kControlNoPart;
    }
    action = resolve(c, action);
    switch (c->kind) {
        case kScrollBarControl:
            if (part == kControlIndicatorPart) return track_thumb(c, start, action);
            return track_repeating(c, part, action);
        case kLittleArrowsControl:
            return track_repeating(c, part, action);
        case kPopupButtonControl:
            return track_popup(c);
        case kEditTextControl:
        case kPasswordTextControl:
            edit_text_click(c, start, 0);
            wait_mouse_up();
            return part;
        case kListBoxControl:
            return list_box_click(c, start, 0);
        case kUserPaneControl:
            if (c->tracking_proc) return c->tracking_proc(c, start, action);
            return track_press(c, part, action);
        default:
            return track_press(c, part, nullptr);
    }
}

int16_t handle_control_click(ControlRef c, Point where, uint16_t modifiers, ControlActionProc action) {
    if (test_control(c, where) == kControlNoPart) return kControlNoPart;
    if (takes_focus(c)) set_keyboard_focus(c->window, c, kControlFocusNextPart);
    switch (c->kind) {
        case kEditTextControl:
        case kPasswordTextControl:
            edit_text_click(c, where, modifiers);
            wait_mouse_up();
            return kControlEditTextPart;
        case kListBoxControl:
            return list_box_click(c, where, modifiers);
        default:
            return track_control(c, where, action);
    }
}

}  // namespace pf
