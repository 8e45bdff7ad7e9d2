// The headless answers of the user interface's services: no loop runs, so no
// event is routed and nothing is drawn, and no quit is asked.
#include "ui/ui_services.h"

namespace {

void no_event(EventRecord*) {}
void nothing() {}
bool never() { return false; }
void ignore_flag(bool) {}
bool no_quit_key(const EventRecord&) { return false; }
void ignore_error(int32_t) {}
IdleProc no_dialog_idle() { return nullptr; }
void ignore_item(int16_t) {}
void menu_bar_unchanged(int16_t, int16_t) {}

constexpr UiServices kHeadless{.hand_event_to_task = no_event,
                               .handle_event = no_event,
                               .draw_update = no_event,
                               .draw_waiting_updates = nothing,
                               .reset_cursor = nothing,
                               .quit_requested = never,
                               .set_quit_requested = ignore_flag,
                               .take_quit_key = no_quit_key,
                               .set_task_error = ignore_error,
                               .dialog_idle = no_dialog_idle,
                               .apple_menu = ignore_item,
                               .dialog_menu_bar = menu_bar_unchanged,
                               .app_task_menu = nullptr,
                               .app_task_menu_enable = nullptr,
                               .app_task_buttons = nullptr,
                               .add_app_menus = nothing};

}  // namespace

UiServices ui_services = kHeadless;

UiServices headless_ui_services() { return kHeadless; }
