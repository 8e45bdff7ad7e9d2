#include "platform/host/host.h"

#include "platform/events/clock.h"
#include "platform/host/headless.h"
#include "platform/menus/menus.h"
#include "platform/screen/screen.h"

#include <algorithm>

namespace pf {

namespace {

HostProcs current = headless_host_procs();
void (*composer)() = nullptr;
ScreenResizedProc screen_resized = nullptr;
bool quit_requested = false;
std::vector<WatchedDescriptorsProc> watched;

}  // namespace

void host_install(const HostProcs& procs) {
    current = procs;
    quit_requested = false;
}

void host_set_composer(void (*compose)()) { composer = compose; }

void host_set_screen_resized(ScreenResizedProc proc) { screen_resized = proc; }

void host_resize_screen(int width, int height) {
    Screen* old = screen();
    if (width <= 0 || height <= 0 || !old || (old->width == width && old->height == height)) return;
    const int old_width = old->width, old_height = old->height;
    screen_open(width, height);
    screen_mark_dirty(Rect{0, 0, int16_t(height), int16_t(width)});
    draw_menu_bar();
    if (screen_resized) screen_resized(old_width, old_height);
    host_present();
}

void host_present() {
    if (composer) composer();
    current.present();
}

bool host_pump() {
    if (!current.pump()) quit_requested = true;
    return !quit_requested;
}

bool host_quit_requested() { return quit_requested; }

void host_clear_quit_request() { quit_requested = false; }

void host_wait(int milliseconds) { current.wait(milliseconds); }

void host_watch_descriptors(WatchedDescriptorsProc proc) {
    if (std::ranges::find(watched, proc) == watched.end()) watched.push_back(proc);
}

void host_unwatch_descriptors(WatchedDescriptorsProc proc) { std::erase(watched, proc); }

void host_watched_descriptors(std::vector<pollfd>& descriptors) {
    for (WatchedDescriptorsProc proc : watched) proc(descriptors);
}

void host_close() {
    current.close();
    current = headless_host_procs();
}

bool host_get_clipboard_text(std::string& utf8) { return current.get_clipboard_text(utf8); }
bool host_get_clipboard_png(std::vector<uint8_t>& png) { return current.get_clipboard_png(png); }
void host_set_clipboard(const ClipboardOffer& offer) { current.set_clipboard(offer); }
void host_apply_cursor(const Cursor* image, bool visible) { current.apply_cursor(image, visible); }
void host_beep() { current.beep(); }

void host_begin_outside_drag(OutsideDragOffer offer) {
    if (current.begin_outside_drag) current.begin_outside_drag(std::move(offer));
}

void host_follow_outside_drag() {
    if (current.follow_outside_drag) current.follow_outside_drag();
}

bool host_end_outside_drag(bool drop) { return current.end_outside_drag && current.end_outside_drag(drop); }

void headless_host_open(int width, int height) {
    host_install(headless_host_procs());
    screen_open(width, height);
}

}  // namespace pf
