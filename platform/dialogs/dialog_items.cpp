// Dialog records: made from DLOG/DITL templates or item lists built in code, the
// controls behind their items, item access, appended and shortened item lists,
// and the parameter texts.
#include "platform/controls/control_look.h"
#include "platform/dialogs/dialogs.h"
#include "platform/dialogs/dialogs_internal.h"
#include "platform/resources/resources.h"
#include "platform/screen/screen.h"

#include <algorithm>
#include <array>

namespace pf {

using namespace dialogs_detail;

namespace {

std::array<std::string, 4> parameter_texts;

int16_t control_kind_of(uint8_t item_kind) {
    switch (item_kind) {
        case kButtonItem: return kPushButtonControl;
        case kCheckBoxItem: return kCheckBoxControl;
        case kRadioButtonItem: return kRadioButtonControl;
        case kEditTextItem: return kEditTextControl;
        default: return -1;
    }
}

// Makes the control behind an item (buttons, boxes, radios, edit texts, CNTL items).
void make_item_control(DialogRef dialog, DialogItem& item) {
    if (item.kind == kControlItem) {
        // The item's box places the control; an empty box keeps the CNTL's own rectangle.
        item.control = get_new_control(item.resource_id, dialog->window);
        if (item.control && item.box.empty()) item.box = item.control->bounds;
        if (item.control) item.control->bounds = item.box;
    } else if (int16_t kind = control_kind_of(item.kind); kind >= 0) {
        item.control = new_control(dialog->window, item.box, item.text, true, 0, 0, 1, kind, 0);
    }
    if (item.control && !item.enabled && item.kind != kEditTextItem) item.control->hilite = kControlInactiveHilite;
}

void add_items(DialogRef dialog, const std::vector<DialogItemSpec>& specs) {
    for (const DialogItemSpec& spec : specs) {
        DialogItem item;
        item.kind = spec.kind;
        item.enabled = spec.enabled;
        item.box = spec.box;
        item.text = spec.text;
        item.resource_id = spec.resource_id;
        dialog->items.push_back(item);
        make_item_control(dialog, dialog->items.back());
    }
}

// The first edit-text item takes the keyboard focus, its text all selected.
void focus_first_edit_text(DialogRef dialog) {
    for (const DialogItem& item : dialog->items) {
        if (item.kind == kEditTextItem && item.control && !item.hidden) {
            set_keyboard_focus(dialog->window, item.control, kControlFocusNextPart);
            return;
        }
    }
}

}  // namespace

namespace dialogs_detail {

bool load_item_list(int16_t ditl_id, std::vector<DialogItemSpec>& out) {
    const Resource* resource = get_resource(kItemListType, ditl_id);
    return resource && decode_item_list(resource->bytes, out);
}

Rect place_on_screen(const Rect& rect, uint16_t position) {
    Rect screen_rect = screen_bounds();
    int width = rect.width(), height = rect.height();
    int top = rect.top, left = rect.left;
    if (position == kCenterMainScreen || position == kAlertPositionMainScreen || position == kStaggerMainScreen) {
        left = (screen_rect.width() - width) / 2;
        int room = screen_rect.height() - menu_bar_height() - height;
        top = menu_bar_height() + (position == kAlertPositionMainScreen ? room / 3 : room / 2);
    }
    return Rect{int16_t(top), int16_t(left), int16_t(top + height), int16_t(left + width)};
}

std::vector<DialogRef>& dialog_list() {
    static std::vector<DialogRef> list;
    return list;
}

DialogRef make_dialog(const Rect& bounds, std::string_view title, int16_t proc_id, bool visible,
                      const std::vector<DialogItemSpec>& items, bool go_away) {
    DialogRef dialog = new Dialog;
    unsigned char pascal_title[256];
    size_t length = std::min<size_t>(title.size(), 255);
    pascal_title[0] = uint8_t(length);
    std::copy_n(title.begin(), length, pascal_title + 1);
    dialog->window = new_window(bounds, pascal_title, false, proc_id, kFirstWindowOfClass, go_away, 0);
    set_window_kind(dialog->window, kDialogWindowKind);
    rgb_back_color_of(dialog->window, kLookDialogBack);
    dialog_list().push_back(dialog);
    create_root_control(dialog->window);
    add_items(dialog, items);
    focus_first_edit_text(dialog);
    if (visible) show_window(dialog->window);
    return dialog;
}

void rgb_back_color_of(WindowRef window, const RGBColor& colour) {
    PortScope scope(window_port(window));
    rgb_back_color(colour);
}

}  // namespace dialogs_detail

DialogRef get_new_dialog(int16_t dlog_id) {
    const Resource* resource = get_resource(kDialogType, dlog_id);
    DialogTemplate t;
    std::vector<DialogItemSpec> items;
    if (!resource || !decode_dialog(resource->bytes, t) || !load_item_list(t.items_id, items)) return nullptr;
    DialogRef dialog = make_dialog(place_on_screen(t.rect, t.position), t.title, t.window_kind, t.visible, items, t.close_box);
    dialog->refcon = uintptr_t(t.ref_con);
    return dialog;
}

DialogRef new_dialog(const Rect& bounds, std::string_view title, int16_t proc_id, bool visible,
                     const std::vector<DialogItemSpec>& items) {
    return make_dialog(bounds, title, proc_id, visible, items);
}

void dispose_dialog(DialogRef dialog) {
    if (!dialog) return;
    auto& list = dialog_list();
    list.erase(std::remove(list.begin(), list.end(), dialog), list.end());
    kill_controls(dialog->window);
    dispose_window(dialog->window);
    delete dialog;
}

DialogRef get_dialog_from_window(WindowRef window) {
    for (DialogRef d : dialog_list())
        if (d->window == window) return d;
    return nullptr;
}

WindowRef get_dialog_window(DialogRef dialog) { return dialog ? dialog->window : nullptr; }

void param_text(std::string_view p0, std::string_view p1, std::string_view p2, std::string_view p3) {
    parameter_texts = {std::string(p0), std::string(p1), std::string(p2), std::string(p3)};
}

std::string expand_param_text(std::string_view text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '^' && i + 1 < text.size() && text[i + 1] >= '0' && text[i + 1] <= '3') {
            out += parameter_texts[size_t(text[i + 1] - '0')];
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

int16_t count_dialog_items(DialogRef dialog) { return dialog ? int16_t(dialog->items.size()) : 0; }

DialogItem* dialog_item(DialogRef dialog, int16_t item) {
    if (!dialog || item < 1 || size_t(item) > dialog->items.size()) return nullptr;
    return &dialog->items[size_t(item - 1)];
}

uint8_t get_dialog_item_kind(DialogRef dialog, int16_t item) {
    DialogItem* it = dialog_item(dialog, item);
    return it ? uint8_t(it->kind | (it->enabled ? 0 : kItemDisabled)) : 0;
}

Rect get_dialog_item_box(DialogRef dialog, int16_t item) {
    DialogItem* it = dialog_item(dialog, item);
    return it ? it->box : Rect{};
}

void set_dialog_item_box(DialogRef dialog, int16_t item, const Rect& box) {
    DialogItem* it = dialog_item(dialog, item);
    if (!it) return;
    it->box = box;
    if (it->control) {
        move_control(it->control, box.left, box.top);
        size_control(it->control, box.width(), box.height());
    }
    invalidate_dialog(dialog);
}

ControlRef get_dialog_item_control(DialogRef dialog, int16_t item) {
    DialogItem* it = dialog_item(dialog, item);
    return it ? it->control : nullptr;
}

std::string get_dialog_item_text(DialogRef dialog, int16_t item) {
    DialogItem* it = dialog_item(dialog, item);
    if (!it) return {};
    if (it->kind == kEditTextItem && it->control) return it->control->text;
    if (it->control) return it->control->title;
    return it->text;
}

void set_dialog_item_text(DialogRef dialog, int16_t item, std::string_view text) {
    DialogItem* it = dialog_item(dialog, item);
    if (!it) return;
    if (it->kind == kEditTextItem && it->control) {
        set_control_data(it->control, 0, kControlEditTextTextTag, text.size(), text.data());
    } else if (it->control) {
        set_control_title(it->control, text);
    } else {
        it->text = std::string(text);
        draw_dialog_item(dialog, item);
    }
}

void select_dialog_item_text(DialogRef dialog, int16_t item, int32_t start, int32_t end) {
    DialogItem* it = dialog_item(dialog, item);
    if (it && it->kind == kEditTextItem && it->control) {
        set_keyboard_focus(dialog->window, it->control, kControlFocusNextPart);
        edit_text_select(it->control, start, end);
    }
}

int32_t get_dialog_item_value(DialogRef dialog, int16_t item) { return get_control_value(get_dialog_item_control(dialog, item)); }

void set_dialog_item_value(DialogRef dialog, int16_t item, int32_t value) {
    set_control_value(get_dialog_item_control(dialog, item), value);
}

void hide_dialog_item(DialogRef dialog, int16_t item) {
    DialogItem* it = dialog_item(dialog, item);
    if (!it || it->hidden) return;
    it->hidden = true;
    if (it->control) hide_control(it->control);
    invalidate_dialog(dialog);
}

void show_dialog_item(DialogRef dialog, int16_t item) {
    DialogItem* it = dialog_item(dialog, item);
    if (!it || !it->hidden) return;
    it->hidden = false;
    if (it->control) show_control(it->control);
    draw_dialog_item(dialog, item);
}

void enable_dialog_item(DialogRef dialog, int16_t item, bool enable) {
    DialogItem* it = dialog_item(dialog, item);
    if (!it) return;
    it->enabled = enable;
    if (it->control && it->kind != kEditTextItem) hilite_control(it->control, enable ? 0 : kControlInactiveHilite);
}

bool is_dialog_item_enabled(DialogRef dialog, int16_t item) {
    DialogItem* it = dialog_item(dialog, item);
    return it && it->enabled && !it->hidden;
}

void set_dialog_item_user_proc(DialogRef dialog, int16_t item, UserItemProc proc) {
    if (DialogItem* it = dialog_item(dialog, item)) it->user_proc = proc;
}

void set_dialog_default_item(DialogRef dialog, int16_t item) {
    dialog->default_item = item;
    ControlRef button = get_dialog_item_control(dialog, item);
    set_window_default_button(dialog->window, button && button->kind == kPushButtonControl ? button : nullptr);
}

void set_dialog_cancel_item(DialogRef dialog, int16_t item) {
    dialog->cancel_item = item;
    set_window_cancel_button(dialog->window, get_dialog_item_control(dialog, item));
}

int16_t get_dialog_keyboard_focus(DialogRef dialog) {
    ControlRef focus = get_keyboard_focus(dialog->window);
    for (size_t i = 0; i < dialog->items.size(); ++i)
        if (focus && dialog->items[i].control == focus) return int16_t(i + 1);
    return 0;
}

void set_dialog_keyboard_focus(DialogRef dialog, int16_t item) {
    set_keyboard_focus(dialog->window, get_dialog_item_control(dialog, item), kControlFocusNextPart);
}

void append_dialog_item_specs(DialogRef dialog, const std::vector<DialogItemSpec>& items, AppendMethod method) {
    Rect content = window_port(dialog->window)->port_rect;
    Rect extent{};
    for (const DialogItem& item : dialog->items) {
        extent.bottom = std::max(extent.bottom, item.box.bottom);
        extent.right = std::max(extent.right, item.box.right);
    }
    int16_t dh = method == AppendMethod::kRight ? extent.right : 0;
    int16_t dv = method == AppendMethod::kBottom ? extent.bottom : 0;
    std::vector<DialogItemSpec> moved = items;
    int16_t bottom = content.bottom, right = content.right;
    for (DialogItemSpec& spec : moved) {
        spec.box = offset_rect(spec.box, dh, dv);
        bottom = std::max<int16_t>(bottom, int16_t(spec.box.bottom + 10));
        right = std::max<int16_t>(right, int16_t(spec.box.right + 10));
    }
    if (bottom != content.bottom || right != content.right)
        size_window(dialog->window, int16_t(right - content.left), int16_t(bottom - content.top), true);
    add_items(dialog, moved);
    invalidate_dialog(dialog);
}

bool append_dialog_items(DialogRef dialog, int16_t ditl_id, AppendMethod method) {
    std::vector<DialogItemSpec> items;
    if (!load_item_list(ditl_id, items)) return false;
    append_dialog_item_specs(dialog, items, method);
    return true;
}

int16_t append_dialog_control_item(DialogRef dialog, ControlRef control, bool enabled) {
    DialogItem item;
    item.kind = kControlItem;
    item.enabled = enabled;
    item.box = control->bounds;
    item.control = control;
    dialog->items.push_back(item);
    return int16_t(dialog->items.size());
}

void shorten_dialog_items(DialogRef dialog, int16_t count) {
    while (count-- > 0 && !dialog->items.empty()) {
        dispose_control(dialog->items.back().control);
        dialog->items.pop_back();
    }
    invalidate_dialog(dialog);
}

void dialogs_reset() {
    while (!dialog_list().empty()) dispose_dialog(dialog_list().back());
    param_text({});
    set_dialog_other_event_handler(nullptr);
}

}  // namespace pf
