// A host presents the screen and feeds input. Two exist: the SDL host (the real
// program, platform/sdl) and the headless host (tests), which has no window at all.
#pragma once

namespace pf {

struct HostProcs {
    // Copies the screen's changed pixels to wherever the host shows them.
    void (*present)() = nullptr;
    // Takes pending host input without waiting; answers false once the user asked to quit.
    bool (*pump)() = nullptr;
    // Waits up to the given milliseconds for host input.
    void (*wait)(int milliseconds) = nullptr;
    void (*close)() = nullptr;
};

// Installs a host's procedures; the headless host is in force until another is installed.
void host_install(const HostProcs& procs);
void host_present();
bool host_pump();
void host_wait(int milliseconds);
void host_close();

// Opens the screen with no window; tests read its pixels and write PNGs.
void headless_host_open(int width, int height);

}  // namespace pf
