// The SDL host on a real X server (Xvfb) driven by xdotool: two windows that are
// dragged, resized, clicked through and closed with the mouse, and keys typed
// into them. Skipped where Xvfb or xdotool is missing.
#include "platform/events/events.h"
#include "platform/host/host.h"
#include "platform/screen/screen.h"
#include "platform/sdl/sdl_host.h"
#include "platform/windows/windows.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "tests/platform/window_loop.h"

namespace {

using namespace window_loop;
using pf::Rect;

bool have(const std::string& tool) { return std::system(("command -v " + tool + " >/dev/null 2>&1").c_str()) == 0; }

// An X server of our own for the test, on the display it chooses.
struct XServer {
    pid_t pid = -1;
    std::string display;

    // Servers starting side by side can race for a display number: one that
    // gives up names none, and another is started.
    bool start() {
        for (int attempt = 0; attempt < 3; ++attempt)
            if (start_once()) return true;
        return false;
    }

    bool start_once() {
        int fds[2];
        if (pipe(fds) != 0) return false;
        pid = fork();
        if (pid == 0) {
            dup2(fds[1], 1);
            close(fds[0]);
            close(fds[1]);
            execlp("Xvfb", "Xvfb", "-displayfd", "1", "-screen", "0", "800x600x24", "-nolisten", "tcp",
                   static_cast<char*>(nullptr));
            _exit(127);
        }
        close(fds[1]);
        std::string number;
        pollfd p{fds[0], POLLIN, 0};
        char c = 0;
        while (poll(&p, 1, 30000) > 0 && read(fds[0], &c, 1) == 1 && c != '\n') number += c;
        close(fds[0]);
        if (number.empty()) {
            kill(pid, SIGTERM);
            waitpid(pid, nullptr, 0);
            pid = -1;
            return false;
        }
        display = ":" + number;
        return true;
    }
    ~XServer() {
        if (pid <= 0) return;
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
    }
};

// Runs the event loop on the real clock until `done` holds or the time is up,
// so that the X server's events arrive however busy the machine is.
template <typename Done>
bool run_until(Done done, int timeout_ms = 60000) {
    uint64_t end = pf::clock_milliseconds() + uint64_t(timeout_ms);
    while (!done() && pf::clock_milliseconds() < end) {
        pf::EventRecord e;
        if (pf::wait_next_event(pf::kEveryEvent, e, 1, nullptr)) dispatch(e);
    }
    return done();
}

void xdotool(const std::string& arguments) {
    std::system(("xdotool " + arguments + " >/dev/null 2>&1").c_str());
}

// xdotool maps a spare key to characters the keyboard lacks only while it types,
// and a drag is seen as a hand makes it only when the program reads the press,
// the moves and the release in turn: the program must take them meanwhile, so
// this one runs in the background.
void xdotool_in_background(const std::string& arguments) {
    std::system(("xdotool " + arguments + " >/dev/null 2>&1 &").c_str());
}

// Binds a spare key to the keysym for the rest of the session, so that a
// program reading the keyboard map after xdotool let go of its own binding
// still finds the letter.
void bind_spare_key(const std::string& keysym) {
    std::system(("free=$(xmodmap -pke | awk '$3 == \"=\" && NF == 3 {print $2; exit}') && "
                 "xmodmap -e \"keycode $free = " + keysym + "\" >/dev/null 2>&1").c_str());
}

std::string at(int h, int v) { return std::to_string(h) + " " + std::to_string(v); }

bool logged(const std::string& entry) {
    return std::find(log_entries.begin(), log_entries.end(), entry) != log_entries.end();
}

// The log less update events, which come whenever the X server leaves a pause.
std::vector<std::string> without_updates() {
    std::vector<std::string> entries = log_entries;
    std::erase_if(entries, [](const std::string& e) { return e.starts_with("update"); });
    return entries;
}

TEST(XvfbWindows, TwoWindowsAreDraggedResizedClickedThroughClosedAndTypedInto) {
    if (!have("Xvfb") || !have("xdotool")) GTEST_SKIP() << "skipped: Xvfb or xdotool is missing";
    XServer x;
    ASSERT_TRUE(x.start());
    setenv("DISPLAY", x.display.c_str(), 1);
    setenv("SDL_VIDEODRIVER", "x11", 1);
    pf::events_reset();
    pf::use_system_clock();
    ASSERT_TRUE(pf::sdl_host_open(640, 480));
    pf::windows_open();
    // No window manager gives the window the focus: a click into a window
    // without it would only bring the program forward.
    xdotool("search --sync --name '^Quorvin$' windowmove %@ 0 0 windowfocus --sync %@");
    // The pointer seen where the X server put it: the window is at the origin
    // and its input flows.
    xdotool("mousemove " + at(300, 5));
    ASSERT_TRUE(run_until([] { return pf::mouse_location() == pf::Point{5, 300}; }));

    log_entries.clear();
    WindowRef a = pf::create_window(pf::kDocumentWindowClass, pf::kWindowStandardDocumentAttributes, Rect{60, 40, 260, 300});
    WindowRef b = pf::create_window(pf::kDocumentWindowClass, pf::kWindowStandardDocumentAttributes, Rect{120, 200, 360, 520});
    names = {{a, "A"}, {b, "B"}};
    colours = {{a, pf::RGBColor{0xFFFF, 0, 0}}, {b, pf::RGBColor{0, 0xFFFF, 0}}};
    pf::set_window_title(a, "Alpha");
    pf::set_window_title(b, "Beta");
    pf::show_window(a);
    pf::show_window(b);
    EXPECT_TRUE(run_until([&] { return logged("update A"); }));
    EXPECT_TRUE(logged("activate B"));

    // Drag Alpha by its title bar 60 right and 40 down.
    // The pointer is seen over the title bar before the press: a press from a
    // pointer the program has not seen arrive can be lost.
    xdotool("mousemove " + at(170, 48));
    ASSERT_TRUE(run_until([] { return pf::mouse_location() == pf::Point{48, 170}; }));
    xdotool_in_background("mousedown 1 sleep 0.2 mousemove " + at(200, 70) + " sleep 0.1 mousemove " + at(230, 88) +
                          " sleep 0.2 mouseup 1");
    EXPECT_TRUE(run_until([&] { return pf::window_content_rect(a).top == 100; }));
    EXPECT_EQ(pf::window_content_rect(a), (Rect{100, 100, 300, 360}));
    EXPECT_EQ(pf::front_non_floating_window(), a);

    // Select Beta, then make it 50 wider and 40 taller by its grow box.
    xdotool("mousemove " + at(500, 200) + " click 1");
    EXPECT_TRUE(run_until([&] { return pf::front_non_floating_window() == b; }));
    xdotool_in_background("mousemove " + at(515, 355) + " mousedown 1 sleep 0.2 mousemove " + at(540, 375) + " sleep 0.1 mousemove " +
            at(565, 395) + " sleep 0.2 mouseup 1");
    EXPECT_TRUE(run_until([&] { return pf::window_content_rect(b).right == 570; }));
    EXPECT_EQ(pf::window_content_rect(b), (Rect{120, 200, 400, 570}));

    // Click through to Alpha: the first click selects it, the second reaches its content.
    log_entries.clear();
    xdotool("mousemove " + at(150, 150) + " click 1");
    EXPECT_TRUE(run_until([&] { return pf::front_non_floating_window() == a; }));
    xdotool("mousemove " + at(150, 150) + " click 1");
    EXPECT_TRUE(run_until([&] { return logged("click A"); }));
    EXPECT_EQ(without_updates(), (std::vector<std::string>{"deactivate B", "activate A", "click A"}));

    // Keys typed into the program arrive as key events, Mac Roman inside.
    log_entries.clear();
    xdotool("search --name '^Quorvin$' key --window %1 ctrl+s");
    bind_spare_key("eacute");
    xdotool_in_background("search --name '^Quorvin$' type --delay 50 --window %1 'H\u00e9'");
    EXPECT_TRUE(run_until([&] { return logged("key \x8E"); }));
    EXPECT_TRUE(logged("key s"));
    EXPECT_TRUE(logged("key H"));

    if (have("import")) {
        auto shot = std::filesystem::path(QUORVIN_BINARY_DIR) / "xvfb_windows.png";
        std::system(("import -display " + x.display + " -window root " + shot.string() + " 2>/dev/null").c_str());
    }

    // Close Alpha with its close box: Beta becomes active again.
    log_entries.clear();
    Rect s = pf::window_struct_rect(a);
    xdotool("mousemove " + at(s.left + 15, s.top + 11) + " click 1");
    EXPECT_TRUE(run_until([&] { return logged("activate B"); }));
    EXPECT_EQ(without_updates(), (std::vector<std::string>{"close A", "activate B"}));
    EXPECT_EQ(pf::front_non_floating_window(), b);

    pf::windows_close();
    pf::host_close();
    pf::events_reset();
    unsetenv("DISPLAY");
    setenv("SDL_VIDEODRIVER", "dummy", 1);
}

}  // namespace
