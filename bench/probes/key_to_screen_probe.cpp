// Presses keys on the X display through the test extension, each held for a
// given time, and prints for each press the microseconds until the screen next
// changed (the first damage the server reports after the press). Between keys
// it waits until the screen has been still for a while, so that each press
// starts from rest.
//   key_to_screen_probe KEYS HOLD_MS
// KEYS: the characters to type; digits, letters, '.', '-' and ',' as
// themselves, 'R' for Return.
#include <X11/Xlib.h>
#include <X11/extensions/Xdamage.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <poll.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

constexpr auto kQuiet = std::chrono::milliseconds(40);       // still this long: at rest
constexpr auto kGiveUp = std::chrono::milliseconds(2000);    // no frame this long after a key

struct ScreenWatch {
    Display* display = nullptr;
    int damage_event = 0;
    Damage damage = 0;
};

KeySym key_of(char c) {
    if (c == 'R') return XK_Return;
    if (c == '.') return XK_period;
    if (c == '-') return XK_minus;
    if (c == ',') return XK_comma;
    return KeySym(c);  // digits and lower-case letters are their own key symbols
}

// Whether a damage report came before `until`; reports are taken and the
// damage cleared.
bool damaged_before(ScreenWatch& s, Clock::time_point until) {
    for (;;) {
        bool damaged = false;
        while (XPending(s.display)) {
            XEvent event;
            XNextEvent(s.display, &event);
            if (event.type == s.damage_event + XDamageNotify) damaged = true;
        }
        if (damaged) {
            XDamageSubtract(s.display, s.damage, None, None);
            XFlush(s.display);
            return true;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - Clock::now()).count();
        if (left <= 0) return false;
        pollfd connection{ConnectionNumber(s.display), POLLIN, 0};
        poll(&connection, 1, int(left) + 1);
    }
}

void await_rest(ScreenWatch& s) {
    while (damaged_before(s, Clock::now() + kQuiet)) {
    }
}

void send_key(ScreenWatch& s, KeyCode code, bool down) {
    XTestFakeKeyEvent(s.display, code, down ? True : False, CurrentTime);
    XFlush(s.display);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: key_to_screen_probe KEYS HOLD_MS\n");
        return 2;
    }
    const std::string keys = argv[1];
    const auto hold = std::chrono::milliseconds(std::atoi(argv[2]));
    ScreenWatch s;
    s.display = XOpenDisplay(nullptr);
    int error_base = 0, major = 0, minor = 0;
    if (!s.display || !XDamageQueryExtension(s.display, &s.damage_event, &error_base) ||
        !XTestQueryExtension(s.display, &error_base, &error_base, &major, &minor)) {
        std::fprintf(stderr, "key_to_screen_probe: no display with the damage and test extensions\n");
        return 1;
    }
    s.damage = XDamageCreate(s.display, DefaultRootWindow(s.display), XDamageReportNonEmpty);
    await_rest(s);
    for (char c : keys) {
        const KeyCode code = XKeysymToKeycode(s.display, key_of(c));
        if (code == 0) {
            std::fprintf(stderr, "key_to_screen_probe: no key for '%c'\n", c);
            return 1;
        }
        const auto pressed = Clock::now();
        send_key(s, code, true);
        const bool drawn = damaged_before(s, pressed + kGiveUp);
        const auto seen = Clock::now();
        std::this_thread::sleep_until(pressed + hold);
        send_key(s, code, false);
        if (!drawn) {
            std::fprintf(stderr, "key_to_screen_probe: nothing drawn after '%c'\n", c);
            return 1;
        }
        std::printf("%lld\n",
                    static_cast<long long>(std::chrono::duration_cast<std::chrono::microseconds>(seen - pressed).count()));
        await_rest(s);
    }
    XCloseDisplay(s.display);
    return 0;
}
