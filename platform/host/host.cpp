#include "platform/host/host.h"

#include "platform/events/clock.h"
#include "platform/host/headless.h"
#include "platform/screen/screen.h"

namespace pf {

namespace {

HostProcs current = headless_host_procs();
void (*composer)() = nullptr;
bool quit_requested = false;

}  // namespace

void host_install(const HostProcs& procs) {
    current = procs;
    quit_requested = false;
}

void host_set_composer(void (*compose)()) { composer = compose; }

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

void host_close() {
    current.close();
    current = headless_host_procs();
}

bool host_get_clipboard_text(std::string& utf8) { return current.get_clipboard_text(utf8); }
void host_set_clipboard_text(const std::string& utf8) { current.set_clipboard_text(utf8); }
void host_apply_cursor(const Cursor* image, bool visible) { current.apply_cursor(image, visible); }
void host_beep() { current.beep(); }

void headless_host_open(int width, int height) {
    host_install(headless_host_procs());
    screen_open(width, height);
}

}  // namespace pf
