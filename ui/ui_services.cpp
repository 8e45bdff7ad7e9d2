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

constexpr UiServices kHeadless{no_event,      no_event,    no_event,        nothing,        nothing,
                               never,         ignore_flag, no_quit_key,     ignore_error,   no_dialog_idle,
                               ignore_item,   menu_bar_unchanged, nullptr,  nullptr,        nullptr,
                               nothing};

}  // namespace

UiServices ui_services = kHeadless;

UiServices headless_ui_services() { return kHeadless; }
