// Drawing dialogs and the pieces of a modal loop: which events belong to a dialog,
// dialog selection, the standard filter, flashing buttons and a plain modal loop.
#include "platform/controls/control_look.h"
#include "platform/dialogs/dialogs.h"
#include "platform/dialogs/dialogs_internal.h"
#include "platform/draw/bits.h"
#include "platform/draw/picture.h"
#include "platform/host/host.h"
#include "platform/resources/resources.h"

#include <algorithm>

namespace pf {

using namespace dialogs_detail;

namespace {

constexpr uint32_t kFlashTicks = 8;
constexpr Rect kAlertIconBox{10, 20, 42, 52};
OtherEventProc other_event_handler = nullptr;

void draw_picture_item(int16_t id, const Rect& box) {
    if (const Resource* picture = get_resource(kPictureType, id))
        draw_picture_data(picture->bytes.data(), picture->bytes.size(), box);
}

// Items with no control: static texts, icons, pictures and user items.
void draw_plain_item(DialogRef dialog, int16_t index) {
    const DialogItem& item = dialog->items[size_t(index - 1)];
    if (item.hidden || item.control) return;
    LookScope scope;
    switch (item.kind) {
        case kStaticTextItem:
            // A disabled static text only reports no clicks: it reads the same.
            draw_wrapped_text(item.box, item.literal ? item.text : expand_param_text(item.text), TextAlign::kLeft,
                              kLookText, item.unicode);
            break;
        case kIconItem: draw_small_icon(item.resource_id, item.box); break;
        case kPictureItem: draw_picture_item(item.resource_id, item.box); break;
        case kUserItem:
            if (item.user_proc) item.user_proc(dialog, index);
            break;
        default: break;
    }
}

// The item whose control (or a control inside it) is `control`.
int16_t item_of_control(DialogRef dialog, ControlRef control) {
    for (ControlRef c = control; c; c = c->parent)
        for (size_t i = 0; i < dialog->items.size(); ++i)
            if (dialog->items[i].control == c) return int16_t(i + 1);
    return 0;
}

WindowRef event_window(const EventRecord& event) {
    switch (event.what) {
        case kUpdateEvent:
        case kActivateEvent: return reinterpret_cast<WindowRef>(event.message);
        case kMouseDown: {
            WindowRef w = nullptr;
            find_window(event.where, &w);
            return w;
        }
        case kHighLevelEvent:
        case kOSEvent: return nullptr;  // of the program, not of a window
        default: {  // keys: a dialog among the palettes, else the one in front of the documents
            WindowRef front = front_window();
            return get_dialog_from_window(front) ? front : front_non_floating_window();
        }
    }
}

bool select_by_mouse(DialogRef dialog, const EventRecord& event, int16_t& item_hit) {
    WindowRef w = nullptr;
    if (find_window(event.where, &w) != kInContent || w != dialog->window) return false;
    PortScope scope(window_port(dialog->window));
    Point local = event.where;
    global_to_local(local);
    ControlRef control = nullptr;
    find_control(local, dialog->window, &control);
    int16_t item = item_of_control(dialog, control);
    if (item && control) {
        int16_t part = handle_control_click(control, local, event.modifiers, kUseControlAction);
        if (part == kControlNoPart || !is_dialog_item_enabled(dialog, item)) return false;
        item_hit = item;
        return true;
    }
    for (size_t i = dialog->items.size(); i-- > 0;) {
        const DialogItem& it = dialog->items[i];
        if (it.hidden || it.control || !pt_in_rect(local, it.box)) continue;
        // A user item (a pop-up drawn by its owner) takes the press itself and
        // tracks the mouse while the button is held; the others wait for the release.
        if (it.kind != kUserItem) wait_mouse_up();
        if (!it.enabled) return false;
        item_hit = int16_t(i + 1);
        return true;
    }
    return false;
}

bool select_by_key(DialogRef dialog, const EventRecord& event, int16_t& item_hit) {
    unsigned char ch = event_char(event);
    if (ch == kTabChar) {
        if (event.modifiers & kShiftKey)
            reverse_keyboard_focus(dialog->window);
        else
            advance_keyboard_focus(dialog->window);
        return false;
    }
    ControlRef focus = get_keyboard_focus(dialog->window);
    if (!focus || handle_control_key(focus, ch, event.modifiers) == kControlNoPart) return false;
    int16_t item = item_of_control(dialog, focus);
    if (!item || !is_dialog_item_enabled(dialog, item)) return false;
    item_hit = item;
    return true;
}

void wait_ticks(uint32_t ticks) {
    uint32_t until = tick_count() + ticks;
    while (tick_count() < until) {
        host_present();
        host_wait(16);
    }
}

}  // namespace

namespace dialogs_detail {

void invalidate_dialog(DialogRef dialog) {
    inval_window_rect(dialog->window, window_port(dialog->window)->port_rect);
}

}  // namespace dialogs_detail

void draw_dialog_item(DialogRef dialog, int16_t item) {
    DialogItem* it = dialog_item(dialog, item);
    if (!it || !window_visible(dialog->window)) return;
    PortScope scope(window_port(dialog->window));
    if (it->control) {
        draw_one_control(it->control);
        return;
    }
    erase_rect(it->box);
    draw_plain_item(dialog, item);
}

void draw_dialog(DialogRef dialog) {
    PortScope scope(window_port(dialog->window));
    erase_rect(window_port(dialog->window)->port_rect);
    if (dialog->alert_kind >= 0) draw_alert_icon(dialog->alert_kind, kAlertIconBox);
    for (size_t i = 0; i < dialog->items.size(); ++i) draw_plain_item(dialog, int16_t(i + 1));
    draw_controls(dialog->window);
}

bool is_dialog_event(const EventRecord& event) {
    if (event.what == kMouseDown) {
        WindowRef w = nullptr;
        return find_window(event.where, &w) == kInContent && get_dialog_from_window(w);
    }
    return get_dialog_from_window(event_window(event)) != nullptr;
}

bool dialog_select(const EventRecord& event, DialogRef* dialog_out, int16_t* item_out) {
    DialogRef dialog = get_dialog_from_window(event_window(event));
    if (dialog_out) *dialog_out = dialog;
    if (item_out) *item_out = 0;
    if (!dialog) return false;
    int16_t item = 0;
    bool hit = false;
    switch (event.what) {
        case kUpdateEvent:
            begin_update(dialog->window);
            draw_dialog(dialog);
            end_update(dialog->window);
            break;
        case kActivateEvent:
            // The items of a window in the back are drawn inactive; each keeps its own state.
            if (event.modifiers & kActiveFlag)
                activate_control(get_root_control(dialog->window));
            else
                deactivate_control(get_root_control(dialog->window));
            break;
        case kNullEvent:
            idle_controls(dialog->window);
            break;
        case kMouseDown:
            hit = select_by_mouse(dialog, event, item);
            break;
        case kKeyDown:
        case kAutoKey:
            hit = select_by_key(dialog, event, item);
            break;
        default:
            break;
    }
    if (item_out) *item_out = hit ? item : 0;
    return hit;
}

bool flash_dialog_item(DialogRef dialog, int16_t item) {
    ControlRef control = get_dialog_item_control(dialog, item);
    if (!control || !is_dialog_item_enabled(dialog, item) || !is_control_active(control)) return false;
    hilite_control(control, kControlButtonPart);
    wait_ticks(kFlashTicks);
    hilite_control(control, 0);
    return true;
}

bool standard_filter(DialogRef dialog, EventRecord& event, int16_t& item_hit) {
    if (event.what != kKeyDown && event.what != kAutoKey) return false;
    unsigned char ch = event_char(event);
    int16_t item = 0;
    if (ch == kReturnChar || ch == kEnterChar)
        item = dialog->default_item;
    else if (ch == kEscapeChar || ((event.modifiers & kCmdKey) && ch == '.'))
        item = dialog->cancel_item ? dialog->cancel_item : 2;
    if (!item || !flash_dialog_item(dialog, item)) return false;
    item_hit = item;
    return true;
}

void set_dialog_other_event_handler(OtherEventProc handler) { other_event_handler = handler; }
OtherEventProc dialog_other_event_handler() { return other_event_handler; }

int16_t modal_dialog(ModalFilterProc filter) {
    DialogRef dialog = get_dialog_from_window(front_window());
    if (!dialog) return 0;
    for (;;) {
        EventRecord event;
        wait_next_event(kEveryEvent, event, 15, nullptr);
        int16_t item = 0;
        if ((filter ? filter : standard_filter)(dialog, event, item)) return item;
        WindowRef w = event_window(event);
        if (event.what == kMouseDown && w != dialog->window) continue;  // clicks outside are refused
        if (event.what == kMouseDown && find_window(event.where, &w) == kInDrag) {
            drag_window(dialog->window, event.where, desktop_bounds());
            continue;
        }
        if (w == dialog->window || event.what == kKeyDown || event.what == kAutoKey || event.what == kNullEvent) {
            DialogRef hit_dialog = nullptr;
            if (dialog_select(event, &hit_dialog, &item) && hit_dialog == dialog) return item;
            continue;
        }
        if (other_event_handler) {
            other_event_handler(event);
        } else if (event.what == kUpdateEvent && w) {
            begin_update(w);  // nobody draws it: take the update so it does not repeat
            end_update(w);
        }
    }
}

}  // namespace pf
