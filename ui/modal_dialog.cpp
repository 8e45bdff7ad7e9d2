// The modal dialog loop and the routing of events to dialog tasks.
#include "ui/modal_dialog.h"

#include <string>

#include "platform/menus/menus.h"
#include "resource_ids.h"
#include "ui/dialog_items.h"
#include "ui/menu_bar.h"
#include "ui/screen_geometry.h"
#include "ui/task_manager.h"
#include "ui/ui_services.h"

uint32_t dialog_timer = 0;

namespace {

constexpr uint32_t kModalSleep = 15;

bool is_key_event(const EventRecord& event) { return event.what == pf::kKeyDown || event.what == pf::kAutoKey; }
bool is_arrow(unsigned char ch) { return ch >= pf::kLeftArrowChar && ch <= pf::kDownArrowChar; }

bool belongs_to(const EventRecord& event, WindowRef window) {
    switch (event.what) {
        case pf::kNullEvent:
            return true;
        case pf::kKeyDown:
        case pf::kAutoKey:
            return pf::front_window() == window || pf::front_non_floating_window() == window;
        case pf::kMouseDown: {
            WindowRef hit = nullptr;
            return pf::find_window(event.where, &hit) == pf::kInContent && hit == window;
        }
        case pf::kUpdateEvent:
        case pf::kActivateEvent:
            return reinterpret_cast<WindowRef>(event.message) == window;
        default:
            return false;
    }
}

// Hands the event to the dialog; the item hit, 0 for none.
int16_t select_in(pf::DialogRef dialog, const EventRecord& event) {
    pf::DialogRef hit_dialog = nullptr;
    int16_t item = 0;
    return pf::dialog_select(event, &hit_dialog, &item) && hit_dialog == dialog ? item : 0;
}

void idle_modal_dialog(pf::DialogRef dialog, EventRecord* event) {
    event->what = pf::kNullEvent;
    if (IdleProc idle = ui_services.dialog_idle()) idle();
    else SetCursorTo(kArrowCursor);
    select_in(dialog, *event);
}

// A key in the front modal dialog: the answer, or 0 to wait on.
int16_t modal_key(pf::DialogRef dialog, EventRecord* event, int16_t options) {
    unsigned char ch = pf::event_char(*event);
    bool command = (event->modifiers & pf::kCmdKey) != 0;
    if ((ch == pf::kReturnChar && (options & kModalReturnDefault)) || (ch == pf::kEnterChar && (options & kModalEnterDefault))) {
        if (flash_button(dialog, dialog->default_item) == 0) return dialog->default_item;
    } else if (is_cancel_key(*event) && (options & kModalCancelKeys)) {
        if (flash_button(dialog, 2) == 0) return 2;
    }
    if (!command && (ch > 31 || ch == pf::kBackspaceChar) && !is_arrow(ch)) {
        select_in(dialog, *event);
        return pf::get_dialog_keyboard_focus(dialog);
    }
    if (is_arrow(ch)) {
        int16_t needed = ch >= pf::kUpArrowChar ? kModalUpDownArrows : kModalLeftRightArrows;
        if (!(options & needed)) return kModalKey;
        int16_t item = select_in(dialog, *event);
        return item ? item : kModalKey;
    }
    // Command-key editing that changed a text field answers the field, as typing does.
    int16_t focus = pf::get_dialog_keyboard_focus(dialog);
    std::string before = focus ? pf::get_dialog_item_text(dialog, focus) : std::string();
    select_in(dialog, *event);
    if (command && focus && pf::get_dialog_item_text(dialog, focus) != before) return focus;
    event->what = pf::kKeyDown;
    return kModalKey;
}

// An event of another window: updates and Apple events are served, a click outside answers -5.
int16_t other_window_event(EventRecord* event) {
    switch (event->what) {
        case pf::kUpdateEvent:
        case pf::kActivateEvent:
        case pf::kHighLevelEvent:
        case pf::kOSEvent: ui_services.hand_event_to_task(event); return 0;
        case pf::kMouseDown:
            return kModalClickOutside;
        default:
            return 0;
    }
}

// A key-down of a dialog task with the keys the dialog does not take itself.
void pass_key(const TaskRecord& task, WindowRef window, EventRecord* event) {
    event->what = pf::kKeyDown;
    call_task_in_port(task.key, window, event, task.app_ref, 0);
}

}  // namespace

bool is_cancel_key(const EventRecord& event) {
    unsigned char ch = pf::event_char(event);
    return ch == pf::kEscapeChar || ((event.modifiers & pf::kCmdKey) && ch == '.');
}

int16_t modal_window_item(WindowRef window, EventRecord* event) {
    if (event->what != pf::kMouseDown) return 0;
    WindowRef hit = nullptr;
    int16_t part = pf::find_window(event->where, &hit);
    if (part == pf::kInMenuBar) {
        pf::MenuRef apple = pf::get_menu_handle(kAppleMenu);
        bool about_enabled = apple && pf::is_menu_item_enabled(apple, kAppAboutItem);
        if (apple) pf::disable_menu_item(apple, kAppAboutItem);
        int32_t choice = pf::menu_select(event->where);
        if (apple && about_enabled) pf::enable_menu_item(apple, kAppAboutItem);
        if ((choice >> 16) == kAppleMenu) ui_services.apple_menu(int16_t(choice & 0xFFFF));
        pf::hilite_menu(0);
        return kModalMenuBar;
    }
    if (hit != window || !window) return 0;
    if (part == pf::kInDrag) {
        pf::drag_window(window, event->where, pf::desktop_bounds());
        return kModalDragged;
    }
    return part == pf::kInGoAway ? kModalCloseBox : 0;
}

int16_t GetModalDialogItem(pf::DialogRef dialog, EventRecord* event, int16_t options) {
    SetCursorTo(kArrowCursor);
    WindowRef window = pf::get_dialog_window(dialog);
    uint32_t deadline = dialog_timer ? pf::tick_count() + dialog_timer : 0;
    for (;;) {
        if (deadline && pf::tick_count() >= deadline) {
            dialog_timer = 0;
            return 1;
        }
        bool got = pf::wait_next_event(pf::kEveryEvent, *event, kModalSleep, nullptr);
        if (int16_t answer = modal_window_item(window, event)) return answer;
        if (!got) {
            idle_modal_dialog(dialog, event);
            continue;
        }
        if (!belongs_to(*event, window)) {
            if (int16_t answer = other_window_event(event)) return answer;
            continue;
        }
        if (ui_services.take_quit_key(*event)) continue;
        if (is_key_event(*event)) {
            if (int16_t answer = modal_key(dialog, event, options)) return answer;
            continue;
        }
        int16_t item = select_in(dialog, *event);
        if (item && event->what == pf::kMouseDown) return item;
    }
}

int16_t handle_dialog_event(EventRecord* event, WindowRef window) {
    switch (modal_window_item(window, event)) {
        case kModalDragged:
        case kModalMenuBar:
            return 1;
        case kModalCloseBox:
            if (pf::track_go_away(window, event->where)) {
                TaskRecord task;
                get_task_from_window(window, &task);
                task.close_reason = kCloseByUser;
                CloseTask(task);
            }
            return 1;
        default:
            break;
    }
    pf::DialogRef dialog = pf::get_dialog_from_window(window);
    if (!dialog || !belongs_to(*event, window)) return 0;
    TaskRecord task;
    get_task_from_window(window, &task);
    if (is_key_event(*event)) {
        unsigned char ch = pf::event_char(*event);
        if (ch == pf::kReturnChar || ch == pf::kEnterChar) {
            int16_t item = dialog->default_item;
            flash_button(dialog, item);
            call_task_in_port(task.click, window, event, task.app_ref, uintptr_t(&item));
            return 1;
        }
        if (ch == pf::kEscapeChar || ch == pf::kUpArrowChar || ch == pf::kDownArrowChar) {
            pass_key(task, window, event);
            return 1;
        }
    }
    bool in_front = pf::is_floating_window(window) || pf::front_non_floating_window() == window;
    if (event->what == pf::kMouseDown && !in_front) {
        pf::select_window(window);
        return 1;
    }
    int16_t item = select_in(dialog, *event);
    if (item) {
        if (is_key_event(*event)) pass_key(task, window, event);
        else call_task_in_port(task.click, window, event, task.app_ref, uintptr_t(&item));
        return 1;
    }
    switch (event->what) {
        case pf::kKeyDown:
        case pf::kAutoKey:
            pass_key(task, window, event);
            break;
        case pf::kNullEvent:
            call_task_in_port(task.idle, window, event, task.app_ref, uintptr_t(window));
            break;
        case pf::kActivateEvent:
            call_task_in_port(task.activate, window, event, task.app_ref, uintptr_t(window));
            break;
        default:
            break;
    }
    return 1;
}

bool run_radio_dialog(DialogRef dialog, int16_t first, int16_t last, int16_t* chosen, pf::Point* saved_position) {
    const auto read_choice = [&] {
        *chosen = GetDRadios(dialog, first, last);
        return true;
    };
    const auto click = [&](int16_t item) {
        if (item >= first && item <= last) SetDRadios(dialog, first, last, item);
    };
    return run_ok_cancel_dialog(dialog, read_choice, click, saved_position) != 0;
}
