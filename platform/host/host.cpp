#include "platform/host/host.h"

#include "platform/screen/screen.h"

namespace pf {

namespace {

void headless_present() { screen_take_dirty(); }
bool headless_pump() { return true; }
void headless_wait(int) {}
void headless_close() { screen_close(); }

constexpr HostProcs kHeadless{headless_present, headless_pump, headless_wait, headless_close};
HostProcs current = kHeadless;

}  // namespace

void host_install(const HostProcs& procs) { current = procs; }
void host_present() { current.present(); }
bool host_pump() { return current.pump(); }
void host_wait(int milliseconds) { current.wait(milliseconds); }

void host_close() {
    current.close();
    current = kHeadless;
}

void headless_host_open(int width, int height) {
    host_install(kHeadless);
    screen_open(width, height);
}

}  // namespace pf
