// Control records: making and disposing, the per-window registry and embedding,
// visibility, highlight, geometry, values, keyboard focus and tagged data.
#include "platform/controls/control_look.h"
#include "platform/controls/controls.h"
#include "platform/controls/controls_internal.h"
#include "platform/draw/text.h"
#include "platform/resources/resources.h"
#include "platform/text/scripts.h"

#include <algorithm>
#include <cstring>
#include <map>

namespace pf {

using namespace controls_detail;

namespace {

std::map<WindowRef, WindowControls>& registry() {
    static std::map<WindowRef, WindowControls> table;
    return table;
}

std::vector<ControlRef>& siblings_of(ControlRef control) {
    return control->parent ? control->parent->children : controls_of(control->window).top;
}

void detach(ControlRef control) {
    auto& list = siblings_of(control);
    list.erase(std::remove(list.begin(), list.end(), control), list.end());
    control->parent = nullptr;
}

void collect(ControlRef control, std::vector<ControlRef>& out) {
    out.push_back(control);
    for (ControlRef child : control->children) collect(child, out);
}

// Erases a control's area to the window's background and draws what lies there.
void erase_and_redraw_around(ControlRef control) {
    if (!control->window) return;
    ControlPortScope scope(control);
    Rect area = inset_rect(control->bounds, -4, -4);  // the default ring and focus ring lie outside
    erase_rect(area);
    RgnHandle rgn = new_region();
    rect_region(rgn, area);
    update_controls(control->window, rgn);
    dispose_region(rgn);
}

void pin_value(ControlRef control) {
    if (control->kind == kEditTextControl || control->kind == kPasswordTextControl) return;
    control->value = std::clamp(control->value, control->minimum, std::max(control->minimum, control->maximum));
}

void prepare_kind(ControlRef control) {
    switch (control->kind) {
        case kPopupButtonControl:
            control->menu = get_menu(int16_t(control->minimum));
            control->title_width = int16_t(control->maximum);
            control->minimum = 1;
            control->maximum = count_menu_items(control->menu);
            control->value = 1;
            break;
        case kListBoxControl:
            list_box_make(control);
            break;
        case kEditTextControl:
        case kPasswordTextControl:
            control->text = control->title.substr(0, kMaxEditTextLength);
            control->scripts.assign(control->text.size(), kScriptRoman);
            control->title.clear();
            control->sel_start = control->sel_end = int32_t(control->text.size());
            break;
        default:
            break;
    }
    pin_value(control);
}

template <typename T>
OSErr store(T& field, size_t size, const void* data) {
    if (size != sizeof(T) || !data) return kParamErr;
    std::memcpy(&field, data, sizeof(T));
    return noErr;
}

OSErr store_flag(bool& field, size_t size, const void* data) {
    if (size < 1 || !data) return kParamErr;
    field = *static_cast<const uint8_t*>(data) != 0;
    return noErr;
}

bool is_text_kind(ControlRef c) { return c->kind == kEditTextControl || c->kind == kPasswordTextControl; }

// The bytes of a tag for get_control_data, or false when the tag is not the control's.
bool data_bytes(ControlRef c, FourCC tag, std::string& out) {
    auto bytes_of = [&out](const void* p, size_t n) { out.assign(static_cast<const char*>(p), n); };
    uint8_t flag = 0;
    if (tag == kControlEditTextTextTag && is_text_kind(c)) {
        out = edit_text_shown(c);
    } else if (tag == kControlStaticTextTextTag && c->kind == kStaticTextControl) {
        out = c->title;
    } else if (tag == kControlEditTextPasswordTag && c->kind == kPasswordTextControl) {
        out = c->text;
    } else if (tag == kControlEditTextSelectionTag && is_text_kind(c)) {
        ControlEditTextSelection sel{int16_t(c->sel_start), int16_t(c->sel_end)};
        bytes_of(&sel, sizeof sel);
    } else if (tag == kControlEditTextKeyFilterTag && is_text_kind(c)) {
        bytes_of(&c->key_filter, sizeof c->key_filter);
    } else if (tag == kControlPushButtonDefaultTag && c->kind == kPushButtonControl) {
        flag = c->is_default;
        bytes_of(&flag, 1);
    } else if (tag == kControlPushButtonCancelTag && c->kind == kPushButtonControl) {
        flag = c->is_cancel;
        bytes_of(&flag, 1);
    } else if (tag == kControlListBoxListHandleTag && c->kind == kListBoxControl) {
        bytes_of(&c->list, sizeof c->list);
    } else if (tag == kControlListBoxDoubleClickTag && c->kind == kListBoxControl) {
        flag = c->double_clicked;
        bytes_of(&flag, 1);
    } else if (tag == kControlPopupButtonMenuHandleTag && c->kind == kPopupButtonControl) {
        bytes_of(&c->menu, sizeof c->menu);
    } else {
        return false;
    }
    return true;
}

}  // namespace

namespace controls_detail {

WindowControls& controls_of(WindowRef window) { return registry()[window]; }

WindowControls* find_controls_of(WindowRef window) {
    auto found = registry().find(window);
    return found == registry().end() ? nullptr : &found->second;
}

void forget_window(WindowRef window) { registry().erase(window); }

ControlPortScope::ControlPortScope(ControlRef control) : scope(window_port(control->window)) {}

bool shows(ControlRef control) {
    for (ControlRef c = control; c; c = c->parent)
        if (!c->visible) return false;
    return control->window && window_port(control->window);
}

void redraw(ControlRef control) {
    if (shows(control)) draw_one_control(control);
}

}  // namespace controls_detail

ControlRef new_control(WindowRef window, const Rect& bounds, std::string_view title, bool visible, int32_t value,
                       int32_t minimum, int32_t maximum, int16_t kind, uintptr_t refcon) {
    ControlRef control = new Control;
    control->window = window;
    control->bounds = bounds;
    control->title = std::string(title);
    control->visible = visible;
    control->value = value;
    control->minimum = minimum;
    control->maximum = maximum;
    control->kind = kind;
    control->refcon = refcon;
    WindowControls& wc = controls_of(window);
    if (wc.root) {
        control->parent = wc.root;
        wc.root->children.push_back(control);
    } else {
        wc.top.push_back(control);
    }
    prepare_kind(control);
    return control;
}

ControlRef get_new_control(int16_t resource_id, WindowRef window) {
    const Resource* resource = get_resource(kControlType, resource_id);
    ControlTemplate t;
    if (!resource || !decode_control(resource->bytes, t)) return nullptr;
    ControlRef control = new_control(window, t.rect, t.title, t.visible, t.value, t.minimum, t.maximum, t.kind, uintptr_t(t.ref_con));
    if (t.kind == kPopupButtonControl && t.value > 0) control->value = std::min<int32_t>(t.value, control->maximum);
    return control;
}

void dispose_control(ControlRef control) {
    if (!control) return;
    while (!control->children.empty()) dispose_control(control->children.back());
    WindowControls& wc = controls_of(control->window);
    if (wc.focus == control) wc.focus = nullptr;
    if (wc.default_button == control) wc.default_button = nullptr;
    if (wc.cancel_button == control) wc.cancel_button = nullptr;
    if (wc.root == control) wc.root = nullptr;
    detach(control);
    if (control->kind == kListBoxControl) list_box_dispose(control);
    if (control->kind == kPopupButtonControl) dispose_menu(control->menu);
    edit_text_forget_clicks(control);
    delete control;
}

void kill_controls(WindowRef window) {
    WindowControls* wc = find_controls_of(window);
    if (!wc) return;
    while (!wc->top.empty()) dispose_control(wc->top.back());
    forget_window(window);
}

ControlRef create_root_control(WindowRef window) {
    WindowControls& wc = controls_of(window);
    if (wc.root) return wc.root;
    Rect content = window_port(window)->port_rect;
    ControlRef root = new_control(window, content, "", true, 0, 0, 0, kUserPaneControl, 0);
    // Controls made before the root go inside it.
    for (ControlRef c : std::vector<ControlRef>(wc.top))
        if (c != root) embed_control(c, root);
    wc.root = root;
    return root;
}

ControlRef get_root_control(WindowRef window) {
    WindowControls* wc = find_controls_of(window);
    return wc ? wc->root : nullptr;
}

void embed_control(ControlRef control, ControlRef container) {
    if (!control || !container || control == container || control->window != container->window) return;
    for (ControlRef c = container; c; c = c->parent)
        if (c == control) return;  // a control cannot hold its own container
    detach(control);
    control->parent = container;
    container->children.push_back(control);
}

std::vector<ControlRef> window_controls(WindowRef window) {
    std::vector<ControlRef> all;
    if (WindowControls* wc = find_controls_of(window))
        for (ControlRef c : wc->top) collect(c, all);
    return all;
}

void show_control(ControlRef control) { set_control_visibility(control, true, true); }
void hide_control(ControlRef control) { set_control_visibility(control, false, true); }

void set_control_visibility(ControlRef control, bool visible, bool draw) {
    if (!control || control->visible == visible) return;
    if (!visible) {
        WindowControls& wc = controls_of(control->window);
        std::vector<ControlRef> inside;
        collect(control, inside);
        if (std::find(inside.begin(), inside.end(), wc.focus) != inside.end()) wc.focus = nullptr;
    }
    control->visible = visible;
    if (!draw) return;
    if (visible)
        redraw(control);
    else
        erase_and_redraw_around(control);
}

bool is_control_visible(ControlRef control) { return control && shows(control); }

void hilite_control(ControlRef control, int16_t part) {
    if (!control || control->hilite == uint8_t(part)) return;
    control->hilite = uint8_t(part);
    if (control->kind == kListBoxControl) list_box_activate(control, part != kControlInactiveHilite);
    redraw(control);
}

void activate_control(ControlRef control) { hilite_control(control, 0); }
void deactivate_control(ControlRef control) { hilite_control(control, kControlInactiveHilite); }

bool is_control_active(ControlRef control) {
    for (ControlRef c = control; c; c = c->parent)
        if (c->hilite == kControlInactiveHilite) return false;
    return control != nullptr;
}

namespace {

void shift_control(ControlRef control, int16_t dh, int16_t dv) {
    control->bounds = offset_rect(control->bounds, dh, dv);
    if (control->kind == kListBoxControl) list_box_moved(control);
    for (ControlRef child : control->children) shift_control(child, dh, dv);
}

}  // namespace

void move_control(ControlRef control, int16_t h, int16_t v) {
    if (!control) return;
    bool visible = shows(control);
    if (visible) erase_and_redraw_around(control);
    shift_control(control, int16_t(h - control->bounds.left), int16_t(v - control->bounds.top));
    if (visible) redraw(control);
}

void size_control(ControlRef control, int16_t width, int16_t height) {
    if (!control) return;
    bool visible = shows(control);
    if (visible) erase_and_redraw_around(control);
    control->bounds.right = int16_t(control->bounds.left + width);
    control->bounds.bottom = int16_t(control->bounds.top + height);
    if (control->kind == kListBoxControl) list_box_moved(control);
    if (visible) redraw(control);
}

int32_t get_control_value(ControlRef control) { return control ? control->value : 0; }

void set_control_value(ControlRef control, int32_t value) {
    if (!control) return;
    int32_t old = control->value;
    control->value = value;
    pin_value(control);
    if (control->value != old) redraw(control);
}

int32_t get_control_minimum(ControlRef control) { return control ? control->minimum : 0; }
int32_t get_control_maximum(ControlRef control) { return control ? control->maximum : 0; }

void set_control_minimum(ControlRef control, int32_t minimum) {
    if (!control) return;
    control->minimum = minimum;
    pin_value(control);
    redraw(control);
}

void set_control_maximum(ControlRef control, int32_t maximum) {
    if (!control) return;
    control->maximum = maximum;
    pin_value(control);
    redraw(control);
}

std::string get_control_title(ControlRef control) { return control ? control->title : std::string(); }

void set_control_title(ControlRef control, std::string_view title) {
    if (!control) return;
    control->title = std::string(title);
    if (shows(control)) erase_and_redraw_around(control);
}

void set_control_action(ControlRef control, ControlActionProc action) {
    if (control) control->action = action;
}

void set_control_font_style(ControlRef control, int16_t font, int16_t size, uint8_t face) {
    if (!control) return;
    control->font = font;
    control->size = size;
    control->face = face;
    redraw(control);
}

// ---- Keyboard focus ------------------------------------------------------------------

OSErr set_keyboard_focus(WindowRef window, ControlRef control, int16_t part) {
    WindowControls& wc = controls_of(window);
    if (part == kControlFocusNoPart) control = nullptr;
    if (control && (!takes_focus(control) || !shows(control) || !is_control_active(control)))
        return kControlNotFocusableErr;
    if (wc.focus == control) return noErr;
    ControlRef old = wc.focus;
    wc.focus = control;
    if (old) {
        if (old->focus_proc) old->focus_proc(old, kControlFocusNoPart);
        if (shows(old)) draw_focus(old, false);
    }
    if (control) {
        if (control->focus_proc) control->focus_proc(control, kControlFocusNextPart);
        if (is_text_kind(control)) edit_text_select(control, 0, int32_t(control->text.size()));
        draw_focus(control, true);
    }
    return noErr;
}

ControlRef get_keyboard_focus(WindowRef window) {
    WindowControls* wc = find_controls_of(window);
    return wc ? wc->focus : nullptr;
}

namespace {

OSErr move_focus(WindowRef window, int direction) {
    std::vector<ControlRef> all = window_controls(window);
    std::vector<ControlRef> candidates;
    for (ControlRef c : all)
        if (takes_focus(c) && shows(c) && is_control_active(c)) candidates.push_back(c);
    if (candidates.empty()) return kControlNotFocusableErr;
    ControlRef current = get_keyboard_focus(window);
    auto at = std::find(candidates.begin(), candidates.end(), current);
    long index = at == candidates.end() ? (direction > 0 ? -1 : 0) : long(at - candidates.begin());
    long count = long(candidates.size());
    long next = ((index + direction) % count + count) % count;
    return set_keyboard_focus(window, candidates[size_t(next)], kControlFocusNextPart);
}

}  // namespace

OSErr advance_keyboard_focus(WindowRef window) { return move_focus(window, 1); }
OSErr reverse_keyboard_focus(WindowRef window) { return move_focus(window, -1); }

int16_t handle_control_key(ControlRef control, unsigned char ch, uint16_t modifiers) {
    if (!control || !is_control_active(control)) return kControlNoPart;
    if (ch == kReturnChar || ch == kEnterChar || ch == kEscapeChar || ch == kTabChar) return kControlNoPart;
    if (is_text_kind(control)) return edit_text_key(control, ch, modifiers);
    if (control->kind == kListBoxControl) return list_box_key(control, ch, modifiers);
    if (control->key_down_proc) return control->key_down_proc(control, ch, modifiers);
    return kControlNoPart;
}

// ---- Tagged data -----------------------------------------------------------------------

OSErr set_control_data(ControlRef c, int16_t, FourCC tag, size_t size, const void* data) {
    if (!c) return kParamErr;
    std::string_view bytes(static_cast<const char*>(data), data ? size : 0);
    if (tag == kControlEditTextTextTag && is_text_kind(c)) {
        edit_text_set_text(c, bytes);
    } else if (tag == kControlStaticTextTextTag && c->kind == kStaticTextControl) {
        set_control_title(c, bytes);
    } else if (tag == kControlEditTextPasswordTag && c->kind == kPasswordTextControl) {
        edit_text_set_text(c, bytes);
    } else if (tag == kControlEditTextSelectionTag && is_text_kind(c)) {
        ControlEditTextSelection sel;
        if (OSErr err = store(sel, size, data)) return err;
        edit_text_select(c, sel.sel_start, sel.sel_end);
    } else if (tag == kControlEditTextKeyFilterTag && is_text_kind(c)) {
        return store(c->key_filter, size, data);
    } else if (tag == kControlPushButtonDefaultTag && c->kind == kPushButtonControl) {
        if (OSErr err = store_flag(c->is_default, size, data)) return err;
        if (c->is_default) controls_of(c->window).default_button = c;
        erase_and_redraw_around(c);
    } else if (tag == kControlPushButtonCancelTag && c->kind == kPushButtonControl) {
        if (OSErr err = store_flag(c->is_cancel, size, data)) return err;
        if (c->is_cancel) controls_of(c->window).cancel_button = c;
    } else if (tag == kControlListBoxDoubleClickTag && c->kind == kListBoxControl) {
        return store_flag(c->double_clicked, size, data);
    } else if (tag == kControlPopupButtonMenuHandleTag && c->kind == kPopupButtonControl) {
        MenuRef menu = nullptr;
        if (OSErr err = store(menu, size, data)) return err;
        if (menu != c->menu) dispose_menu(c->menu);
        c->menu = menu;
        c->maximum = count_menu_items(menu);
        pin_value(c);
        redraw(c);
    } else if (tag == kControlUserPaneDrawProcTag && c->kind == kUserPaneControl) {
        return store(c->draw_proc, size, data);
    } else if (tag == kControlUserPaneHitTestProcTag && c->kind == kUserPaneControl) {
        return store(c->hit_test_proc, size, data);
    } else if (tag == kControlUserPaneTrackingProcTag && c->kind == kUserPaneControl) {
        return store(c->tracking_proc, size, data);
    } else if (tag == kControlUserPaneKeyDownProcTag && c->kind == kUserPaneControl) {
        return store(c->key_down_proc, size, data);
    } else if (tag == kControlUserPaneFocusProcTag && c->kind == kUserPaneControl) {
        return store(c->focus_proc, size, data);
    } else {
        return kDataNotSupportedErr;
    }
    return noErr;
}

OSErr get_control_data(ControlRef c, int16_t, FourCC tag, size_t buffer_size, void* data, size_t* actual_size) {
    std::string bytes;
    if (!c || !data_bytes(c, tag, bytes)) return c ? kDataNotSupportedErr : kParamErr;
    if (actual_size) *actual_size = bytes.size();
    if (data) std::memcpy(data, bytes.data(), std::min(buffer_size, bytes.size()));
    return noErr;
}

OSErr get_control_data_size(ControlRef c, int16_t, FourCC tag, size_t& size) {
    std::string bytes;
    if (!c || !data_bytes(c, tag, bytes)) return c ? kDataNotSupportedErr : kParamErr;
    size = bytes.size();
    return noErr;
}

void set_window_default_button(WindowRef window, ControlRef button) {
    WindowControls& wc = controls_of(window);
    ControlRef old = wc.default_button;
    if (old == button) return;
    if (old) {
        old->is_default = false;
        erase_and_redraw_around(old);
    }
    wc.default_button = button;
    if (button) {
        button->is_default = true;
        redraw(button);
    }
}

void set_window_cancel_button(WindowRef window, ControlRef button) {
    WindowControls& wc = controls_of(window);
    if (wc.cancel_button) wc.cancel_button->is_cancel = false;
    wc.cancel_button = button;
    if (button) button->is_cancel = true;
}

ControlRef get_window_default_button(WindowRef window) {
    WindowControls* wc = find_controls_of(window);
    return wc ? wc->default_button : nullptr;
}

ControlRef get_window_cancel_button(WindowRef window) {
    WindowControls* wc = find_controls_of(window);
    return wc ? wc->cancel_button : nullptr;
}

void controls_reset() {
    std::vector<WindowRef> windows;
    for (auto& [window, wc] : registry()) windows.push_back(window);
    for (WindowRef w : windows) kill_controls(w);
    registry().clear();
}

}  // namespace pf
