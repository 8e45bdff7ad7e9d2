// A host presents the screen and feeds input. Two exist: the SDL host (the real
// program, platform/sdl) and the headless host (tests), which has no window at
// all; its test driver is in platform/host/driver.h.
#pragma once

#include <poll.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace pf {

struct Cursor;

// What the program puts on the system clipboard: text (UTF-8) when it has
// some, and a picture as a PNG image made only when another program asks.
struct ClipboardOffer {
    bool has_text = false;
    std::string utf8;
    std::function<std::vector<uint8_t>()> png;
};

using OutsideDragOffer = std::function<ClipboardOffer()>;

struct HostProcs {
    // Copies the screen's changed pixels to wherever the host shows them.
    void (*present)() = nullptr;
    // Takes pending host input without waiting; answers false once the user asked to quit.
    bool (*pump)() = nullptr;
    // Waits up to the given milliseconds for host input, or for input at the
    // descriptors the program watches (host_watched_descriptors).
    void (*wait)(int milliseconds) = nullptr;
    void (*close)() = nullptr;
    // The system clipboard's text as UTF-8; false when it holds none.
    bool (*get_clipboard_text)(std::string& utf8) = nullptr;
    // The system clipboard's picture as a PNG image; false when it holds none.
    bool (*get_clipboard_png)(std::vector<uint8_t>& png) = nullptr;
    void (*set_clipboard)(const ClipboardOffer& offer) = nullptr;
    // Shows the cursor image (null: the arrow) or hides it.
    void (*apply_cursor)(const Cursor* image, bool visible) = nullptr;
    void (*beep)() = nullptr;
    // A drag of ours over other programs' windows: begun with what it would
    // give them (made when one might first take it), followed on every pass
    // of the drag, and ended at the release, dropped or not; the end answers
    // whether another program took the drop. Null in hosts without others.
    void (*begin_outside_drag)(OutsideDragOffer offer) = nullptr;
    void (*follow_outside_drag)() = nullptr;
    bool (*end_outside_drag)(bool drop) = nullptr;
};

// Installs a host's procedures; the headless host is in force until another is installed.
void host_install(const HostProcs& procs);
// Composes the screen (windows over the desktop) and presents what changed.
void host_present();
bool host_pump();
void host_wait(int milliseconds);
void host_close();
bool host_get_clipboard_text(std::string& utf8);
bool host_get_clipboard_png(std::vector<uint8_t>& png);
void host_set_clipboard(const ClipboardOffer& offer);
void host_apply_cursor(const Cursor* image, bool visible);
void host_beep();
void host_begin_outside_drag(OutsideDragOffer offer);
void host_follow_outside_drag();
bool host_end_outside_drag(bool drop);
// Sources of input beside the host's own (the scripting socket) name the
// descriptors they read, each time the host is about to wait, so that input
// there ends the wait at once.
using WatchedDescriptorsProc = void (*)(std::vector<pollfd>& descriptors);
void host_watch_descriptors(WatchedDescriptorsProc proc);
void host_unwatch_descriptors(WatchedDescriptorsProc proc);
// Appends the descriptors of every source watched.
void host_watched_descriptors(std::vector<pollfd>& descriptors);
// Whether the user asked the program to quit (closing the host window).
bool host_quit_requested();
// Forgets the request once the program has taken it (a refused quit goes on running).
void host_clear_quit_request();

// The screen is composed by this procedure before every present (the window manager's).
void host_set_composer(void (*compose)());

// The host's window took a new size: the screen is made again at that size
// (windows are composed onto it afresh), the menu bar is drawn at once, and
// the program's procedure, when set, moves what belongs to the screen's edges.
// Nothing happens when the size is the screen's own or not positive.
using ScreenResizedProc = void (*)(int old_width, int old_height);
void host_set_screen_resized(ScreenResizedProc proc);
void host_resize_screen(int width, int height);

// Opens the screen with no window; tests read its pixels and write PNGs.
void headless_host_open(int width, int height);

}  // namespace pf
