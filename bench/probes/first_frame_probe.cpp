// Starts a program on an empty X display and prints the milliseconds until
// the pixel at the screen's centre first shows something other than black,
// looked at each time the server reports that the screen changed; then ends
// the program.
//   first_frame_probe PROGRAM [ARG...]
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xdamage.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kGiveUp = std::chrono::seconds(60);

bool centre_drawn(Display* display) {
    const int x = DisplayWidth(display, DefaultScreen(display)) / 2;
    const int y = DisplayHeight(display, DefaultScreen(display)) / 2;
    XImage* image = XGetImage(display, DefaultRootWindow(display), x, y, 1, 1, AllPlanes, ZPixmap);
    if (!image) return false;
    const bool drawn = (XGetPixel(image, 0, 0) & 0xFFFFFF) != 0;
    XDestroyImage(image);
    return drawn;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: first_frame_probe PROGRAM [ARG...]\n");
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    int damage_event = 0, error_base = 0;
    if (!display || !XDamageQueryExtension(display, &damage_event, &error_base)) {
        std::fprintf(stderr, "first_frame_probe: no display with the damage extension\n");
        return 1;
    }
    const Damage damage = XDamageCreate(display, DefaultRootWindow(display), XDamageReportNonEmpty);
    XSync(display, False);
    const auto started = Clock::now();
    pid_t child = 0;
    if (posix_spawn(&child, argv[1], nullptr, nullptr, argv + 1, environ) != 0) {
        std::fprintf(stderr, "first_frame_probe: cannot start %s\n", argv[1]);
        return 1;
    }
    bool drawn = false;
    while (!drawn && Clock::now() - started < kGiveUp) {
        pollfd connection{ConnectionNumber(display), POLLIN, 0};
        if (!XPending(display)) poll(&connection, 1, 100);
        bool damaged = false;
        while (XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            damaged = damaged || event.type == damage_event + XDamageNotify;
        }
        if (!damaged) continue;
        XDamageSubtract(display, damage, None, None);
        drawn = centre_drawn(display);
    }
    const auto seen = Clock::now();
    kill(child, SIGTERM);
    waitpid(child, nullptr, 0);
    XCloseDisplay(display);
    if (!drawn) {
        std::fprintf(stderr, "first_frame_probe: nothing drawn by %s\n", argv[1]);
        return 1;
    }
    std::printf("%lld\n", static_cast<long long>(std::chrono::duration_cast<std::chrono::milliseconds>(seen - started).count()));
    return 0;
}
