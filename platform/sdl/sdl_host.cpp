#include "platform/sdl/sdl_host.h"

#include "platform/appleevents/appleevents.h"
#include "platform/drag/drag.h"
#include "platform/events/events.h"
#include "platform/events/input.h"
#include "platform/events/keyboard.h"
#include "platform/events/input_method.h"
#include "platform/host/host.h"
#include "platform/scrap/scrap.h"
#include "platform/sdl/x11_clipboard.h"
#include "platform/sdl/x11_drag.h"
#include "platform/system/system.h"
#include "platform/screen/cursor.h"
#include "platform/screen/screen.h"
#include "platform/text/mac_roman.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <malloc.h>
#include <poll.h>
#include <unistd.h>
#include <string>
#include <vector>

namespace pf {

namespace {

SDL_Window* window = nullptr;
// The descriptor of the window's X connection; -1 when SDL draws without X.
int window_connection = -1;
// Screen pixels are shown as scale x scale host pixels on large displays.
int scale = 1;
SDL_Cursor* shown_cursor = nullptr;
SDL_AudioDeviceID audio = 0;
// Audio is tried once, at the first beep; without it beeps flash the menu bar.
enum class AudioState { untried, open, unavailable };
AudioState audio_state = AudioState::untried;
int flashes = 0;

// A key-down that waits for its characters from SDL text input.
struct PendingText {
    uint8_t key_code = 0;
    bool repeat = false;
};
PendingText pending_text;
// A key typed with Command or Control was posted from the key itself; text
// that SDL still reports for it is dropped.
bool drop_next_text = false;

// ---- Output ---------------------------------------------------------------------

// The screen follows the window's size; the whole screen is redrawn after a resize.
void resize_screen(int window_width, int window_height) { host_resize_screen(window_width / scale, window_height / scale); }

void sdl_present() {
    Screen* s = screen();
    if (!s || !window) return;
    Rect dirty = screen_take_dirty();
    if (dirty.empty()) return;
    SDL_Surface* target = SDL_GetWindowSurface(window);
    if (!target) return;
    cairo_surface_flush(s->surface);
    SDL_Surface* source = SDL_CreateRGBSurfaceWithFormatFrom(
        cairo_image_surface_get_data(s->surface), s->width, s->height, 32,
        cairo_image_surface_get_stride(s->surface), SDL_PIXELFORMAT_XRGB8888);
    if (!source) return;
    SDL_Rect area{dirty.left, dirty.top, dirty.width(), dirty.height()};
    SDL_Rect shown{area.x * scale, area.y * scale, area.w * scale, area.h * scale};
    if (scale == 1)
        SDL_BlitSurface(source, &area, target, &shown);
    else
        SDL_BlitScaled(source, &area, target, &shown);
    SDL_FreeSurface(source);
    SDL_UpdateWindowSurfaceRects(window, &shown, 1);
}

// ---- Input ----------------------------------------------------------------------

uint32_t host_modifiers(uint16_t sdl_mod) {
    uint32_t m = 0;
    if (sdl_mod & KMOD_SHIFT) m |= kHostShift;
    if (sdl_mod & KMOD_CTRL) m |= kHostCtrl;
    if (sdl_mod & KMOD_ALT) m |= kHostAlt;
    if (sdl_mod & KMOD_GUI) m |= kHostSuper;
    if (sdl_mod & KMOD_CAPS) m |= kHostCapsLock;
    return m;
}

char32_t layout_char(SDL_Keycode sym) { return sym > 0 && sym < 0x80 ? char32_t(sym) : 0; }

void key_event(const SDL_KeyboardEvent& key) {
    bool down = key.type == SDL_KEYDOWN;
    uint8_t code = key_code_from_usb_usage(key.keysym.scancode);
    uint16_t modifiers = modifiers_from_host(host_modifiers(key.keysym.mod));
    input_modifiers(modifiers);
    if (is_modifier_key(code)) {
        input_key_state(code, down);
        return;
    }
    if (down) {
        drop_next_text = false;
        if (key_waits_for_text(code, modifiers)) {
            pending_text = PendingText{code, key.repeat != 0};
            input_key_state(code, true);
            return;
        }
        drop_next_text = (modifiers & (kCmdKey | kControlKey)) != 0;
    }
    unsigned char c = command_key_char(code, layout_char(key.keysym.sym), modifiers);
    input_key(code, c, down, key.repeat != 0);
}

void text_event(const SDL_TextInputEvent& text) {
    if (drop_next_text) {
        drop_next_text = false;
        return;
    }
    const std::string bytes = keyboard_text_from_utf8(text.text);
    if (!input_commit(bytes)) input_text(bytes, pending_text.key_code, pending_text.repeat);
    pending_text = PendingText{};
}

// The input method's composition: its text, and the caret and selection in
// characters.
void editing_event(const SDL_TextEditingEvent& edit) { input_composition_utf8(edit.text, edit.start, edit.length); }

// The input method's candidate list goes beside the text being composed.
void place_input_method(const Rect& global) {
    SDL_Rect r{global.left * scale, global.top * scale, global.width() * scale, global.height() * scale};
    SDL_SetTextInputRect(&r);
}

// A composition confirmed by the program: the input method starts afresh.
void reset_input_method() {
    SDL_StopTextInput();
    SDL_StartTextInput();
}

Point point_of(int x, int y) { return Point{int16_t(y / scale), int16_t(x / scale)}; }

// The right button stands for a Control-click (contextual menus): Control
// counts as held from its press to its release.
void button_event(const SDL_MouseButtonEvent& b) {
    if (b.button != SDL_BUTTON_LEFT && b.button != SDL_BUTTON_RIGHT) return;
    bool down = b.type == SDL_MOUSEBUTTONDOWN;
    uint16_t held = modifiers_from_host(host_modifiers(SDL_GetModState()));
    input_modifiers(b.button == SDL_BUTTON_RIGHT ? uint16_t(held | kControlKey) : held);
    input_mouse_button(down, point_of(b.x, b.y));
    if (!down) input_modifiers(held);
}

void wheel_event(const SDL_MouseWheelEvent& w) {
    int x = 0, y = 0;
    SDL_GetMouseState(&x, &y);
    int sign = w.direction == SDL_MOUSEWHEEL_FLIPPED ? -1 : 1;
    if (w.y != 0) input_wheel(point_of(x, y), 0, sign * w.y);
    if (w.x != 0) input_wheel(point_of(x, y), 1, sign * w.x);
}

void window_event(const SDL_WindowEvent& w) {
    switch (w.event) {
        case SDL_WINDOWEVENT_SIZE_CHANGED:
            resize_screen(w.data1, w.data2);
            break;
        case SDL_WINDOWEVENT_EXPOSED:
            if (Screen* s = screen()) screen_mark_dirty(Rect{0, 0, int16_t(s->height), int16_t(s->width)});
            break;
        case SDL_WINDOWEVENT_FOCUS_GAINED:
            input_focus(true);
            break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
            input_focus(false);
            break;
        default:
            break;
    }
}

// Closing the window asks the program to quit through a quit Apple event when
// it handles one (it may ask to save first); otherwise it quits at once.
bool ask_to_quit() {
    AEEventHandler handler = nullptr;
    long refcon = 0;
    if (ae_get_event_handler(kCoreEventClass, kQuitApplication, handler, refcon) != noErr || !handler) return false;
    AEDesc self;
    AppleEvent quit;
    bool sent = ae_address_of_self(self) == noErr &&
                ae_create_apple_event(kCoreEventClass, kQuitApplication, self, -1, 0, quit) == noErr &&
                ae_send(quit, nullptr, kAENoReply) == noErr;
    ae_dispose_desc(quit);
    ae_dispose_desc(self);
    return sent;
}

// A file or text dropped by another program, at the mouse as it is now (drops
// carry no position of their own).
void drop_event(const SDL_DropEvent& drop) {
    if (!drop.file) return;
    int x = 0, y = 0;
    SDL_GetMouseState(&x, &y);
    input_mouse_move(point_of(x, y));
    if (drop.type == SDL_DROPFILE)
        receive_dropped_file(drop.file);
    else
        receive_dropped_text(drop.file);
    SDL_free(drop.file);
}

bool handle(const SDL_Event& event) {
    switch (event.type) {
        case SDL_QUIT:
            return ask_to_quit();
        case SDL_WINDOWEVENT:
            window_event(event.window);
            break;
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            key_event(event.key);
            break;
        case SDL_TEXTINPUT:
            text_event(event.text);
            break;
        case SDL_TEXTEDITING:
            editing_event(event.edit);
            break;
        case SDL_MOUSEMOTION:
            input_mouse_move(point_of(event.motion.x, event.motion.y));
            break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            button_event(event.button);
            break;
        case SDL_MOUSEWHEEL:
            wheel_event(event.wheel);
            break;
        case SDL_CLIPBOARDUPDATE:
            scrap_system_changed();
            break;
        case SDL_DROPFILE:
        case SDL_DROPTEXT:
            drop_event(event.drop);
            break;
        default:
            break;
    }
    return true;
}

bool sdl_pump() {
    x11_clipboard_pump();
    SDL_Event event;
    bool keep_running = true;
    while (SDL_PollEvent(&event)) keep_running = handle(event) && keep_running;
    return keep_running;
}

void watch_input(std::vector<pollfd>& descriptors, int fd) {
    if (fd >= 0) descriptors.push_back(pollfd{fd, POLLIN, 0});
}

// Waits on every connection that brings input at once: the window's, the
// clipboard's (other programs' requests are answered while the program
// waits) and the descriptors the program watches, so that input is taken
// as soon as it comes. Without a window connection (SDL drawing without X)
// the wait is cut into slices between which SDL looks for its events.
void sdl_wait(int milliseconds) {
    constexpr int kSliceMilliseconds = 10;
    const uint32_t until = SDL_GetTicks() + uint32_t(std::max(milliseconds, 0));
    std::vector<pollfd> descriptors;
    for (;;) {
        x11_clipboard_pump();
        if (SDL_PollEvent(nullptr)) return;  // reads the window's connection first
        const int left = int(until - SDL_GetTicks());
        if (left <= 0) return;
        descriptors.clear();
        watch_input(descriptors, window_connection);
        watch_input(descriptors, x11_clipboard_descriptor());
        const size_t hosts_own = descriptors.size();
        host_watched_descriptors(descriptors);
        const int slice = window_connection >= 0 ? left : std::min(left, kSliceMilliseconds);
        const int ready = poll(descriptors.data(), nfds_t(descriptors.size()), slice);
        if (ready < 0) return;
        const bool watched_ready = std::any_of(descriptors.begin() + long(hosts_own), descriptors.end(),
                                               [](const pollfd& d) { return d.revents != 0; });
        if (watched_ready) return;  // the caller reads it
    }
}

// ---- Clipboard, cursor, beep ------------------------------------------------------

// The X11 window and connection under the SDL window; false when it has none.
bool x11_side_of(SDL_Window* sdl_window, SDL_SysWMinfo& info) {
    SDL_VERSION(&info.version);
    return SDL_GetWindowWMInfo(sdl_window, &info) && info.subsystem == SDL_SYSWM_X11;
}

bool sdl_get_clipboard(std::string& utf8) {
    if (!SDL_HasClipboardText()) return false;
    char* text = SDL_GetClipboardText();
    if (!text) return false;
    utf8 = text;
    SDL_free(text);
    return true;
}

// Without X11 selections the window library's clipboard carries text alone.
bool sdl_get_clipboard_png(std::vector<uint8_t>&) { return false; }
void sdl_set_clipboard(const ClipboardOffer& offer) { SDL_SetClipboardText(offer.has_text ? offer.utf8.c_str() : ""); }

SDL_Cursor* make_sdl_cursor(const Cursor& c) {
    uint8_t data[32], mask[32];
    for (int row = 0; row < 16; ++row) {
        data[2 * row] = uint8_t(c.data[row] >> 8);
        data[2 * row + 1] = uint8_t(c.data[row]);
        mask[2 * row] = uint8_t(c.mask[row] >> 8);
        mask[2 * row + 1] = uint8_t(c.mask[row]);
    }
    return SDL_CreateCursor(data, mask, 16, 16, c.hot_spot.h, c.hot_spot.v);
}

// QUORVIN_CURSOR_LOG names a file that always holds the CURS id of the
// cursor set on the window (0 the arrow), for checks of the whole program.
void log_cursor() {
    const char* path = std::getenv("QUORVIN_CURSOR_LOG");
    if (!path || !*path) return;
    if (std::FILE* file = std::fopen(path, "w")) {
        std::fprintf(file, "%d\n", int(current_cursor_resource()));
        std::fclose(file);
    }
}

void sdl_apply_cursor(const Cursor* image, bool visible) {
    log_cursor();
    SDL_Cursor* next = image ? make_sdl_cursor(*image) : SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_ARROW);
    if (next) {
        SDL_SetCursor(next);
        if (shown_cursor) SDL_FreeCursor(shown_cursor);
        shown_cursor = next;
    }
    SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE);
}

// Runs `attempt` with the standard error sent to /dev/null: the audio libraries
// report a missing sound card there on their own, at length.
bool quietly(bool (*attempt)()) {
    std::fflush(stderr);
    int saved = dup(STDERR_FILENO);
    int null = open("/dev/null", O_WRONLY);
    if (saved >= 0 && null >= 0) dup2(null, STDERR_FILENO);
    bool opened = attempt();
    if (saved >= 0) dup2(saved, STDERR_FILENO);
    if (saved >= 0) close(saved);
    if (null >= 0) close(null);
    return opened;
}

bool open_audio_device() {
    constexpr int kRate = 22050;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    SDL_AudioSpec want{}, have{};
    want.freq = kRate;
    want.format = AUDIO_S16SYS;
    want.channels = 1;
    want.samples = 1024;
    audio = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (!audio) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    SDL_PauseAudioDevice(audio, 0);
    return true;
}

bool have_audio() {
    if (audio_state == AudioState::untried)
        audio_state = quietly(open_audio_device) ? AudioState::open : AudioState::unavailable;
    return audio_state == AudioState::open;
}

// The menu bar shown inverted for a moment, where no sound can be made.
void flash_menu_bar() {
    Screen* s = screen();
    if (!s || !window) return;
    Rect bar{0, 0, int16_t(s->menu_bar_height), int16_t(s->width)};
    auto invert = [&] {
        cairo_surface_flush(s->surface);
        unsigned char* data = cairo_image_surface_get_data(s->surface);
        int stride = cairo_image_surface_get_stride(s->surface);
        for (int v = bar.top; v < bar.bottom && v < s->height; ++v) {
            auto* row = reinterpret_cast<uint32_t*>(data + v * stride);
            for (int h = 0; h < s->width; ++h) row[h] ^= 0x00FFFFFF;
        }
        cairo_surface_mark_dirty(s->surface);
        screen_mark_dirty(bar);
        sdl_present();
    };
    constexpr int kFlashMilliseconds = 80;
    invert();
    SDL_Delay(kFlashMilliseconds);
    invert();
    ++flashes;
}

// A short soft tone, or a flash of the menu bar where no audio device can be had.
void sdl_beep() {
    constexpr int kRate = 22050;
    if (!have_audio()) {
        flash_menu_bar();
        return;
    }
    std::vector<int16_t> samples(kRate / 8);
    for (size_t i = 0; i < samples.size(); ++i) {
        double fade = 1.0 - double(i) / double(samples.size());
        samples[i] = int16_t(6000 * fade * std::sin(2 * M_PI * 880 * double(i) / kRate));
    }
    SDL_QueueAudio(audio, samples.data(), uint32_t(samples.size() * sizeof(int16_t)));
}

// Bringing the program forward raises the host window; a notification flashes it
// until it has the focus, and removing the notification stops the flashing.
void sdl_raise() { SDL_RaiseWindow(window); }

void sdl_notify(const NotificationRequest* request) {
    SDL_FlashWindow(window, request ? SDL_FLASH_UNTIL_FOCUSED : SDL_FLASH_CANCEL);
}

void sdl_close() {
    x11_clipboard_close();
    set_raise_proc(nullptr);
    set_composition_reset_hook(nullptr);
    set_composition_area_hook(nullptr);
    set_notification_proc(nullptr);
    screen_close();
    if (audio) SDL_CloseAudioDevice(audio);
    audio = 0;
    audio_state = AudioState::untried;
    if (shown_cursor) SDL_FreeCursor(shown_cursor);
    shown_cursor = nullptr;
    if (window) SDL_DestroyWindow(window);
    window = nullptr;
    window_connection = -1;
    SDL_Quit();
}

// Whole-number scaling for displays at least twice the size the program is laid out for.
int display_scale() {
    constexpr int kBaseWidth = 1280, kBaseHeight = 900;
    SDL_Rect bounds;
    if (SDL_GetDisplayBounds(0, &bounds) != 0) return 1;
    return std::max(1, std::min(bounds.w / kBaseWidth, bounds.h / kBaseHeight));
}

// Whether SDL found a real display: its drivers without one (offscreen, dummy)
// count only when asked for by name.
bool has_display() {
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!driver) return false;
    bool displayless = std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0;
    const char* asked = std::getenv("SDL_VIDEODRIVER");
    return !displayless || (asked && std::strcmp(asked, driver) == 0);
}

bool display_named() {
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (x11 && *x11) || (wayland && *wayland);
}

// Starts SDL on a real display. A display that is named but does not answer
// yet (a display server still starting on a busy machine) is tried again for
// a few seconds; with no display named the answer comes at once.
bool open_display() {
    constexpr int kRetryMilliseconds = 250;
    constexpr int kRetries = 5000 / kRetryMilliseconds;
    for (int attempt = 0;; ++attempt) {
        bool started = SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) == 0;
        if (started && has_display()) return true;
        std::string reason = started ? "" : SDL_GetError();
        if (started) SDL_Quit();
        if (attempt >= kRetries || !display_named()) {
            if (reason.empty()) std::fprintf(stderr, "quorvin: cannot open a display\n");
            else std::fprintf(stderr, "quorvin: cannot open a display: %s\n", reason.c_str());
            return false;
        }
        SDL_Delay(kRetryMilliseconds);
    }
}

}  // namespace

int sdl_beep_flashes() { return flashes; }

bool sdl_host_open(int width, int height) {
    // The host's threads (audio, input) allocate from the program's one heap: a
    // heap of a thread's own takes 64 MB of address space, which a limited
    // address space cannot spare, and without it every allocation of that
    // thread is a slow mapping of its own.
    mallopt(M_ARENA_MAX, 1);
    setenv("SDL_FRAMEBUFFER_ACCELERATION", "0", 0);
    if (!open_display()) return false;
    scale = display_scale();
    window = SDL_CreateWindow("Quorvin", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, width * scale,
                              height * scale, SDL_WINDOW_RESIZABLE);
    if (!window) {
        std::fprintf(stderr, "quorvin: cannot open a window: %s\n", SDL_GetError());
        SDL_Quit();
        return false;
    }
    SDL_GetWindowSize(window, &width, &height);
    screen_open(width / scale, height / scale);
    SDL_StartTextInput();
    set_composition_reset_hook(reset_input_method);
    set_composition_area_hook(place_input_method);
    set_key_repeat(0, 0);  // the system repeats held keys itself
    const bool x11 = std::strcmp(SDL_GetCurrentVideoDriver(), "x11") == 0 && x11_clipboard_open();
    SDL_SysWMinfo x11_side;
    const bool on_x11 = x11_side_of(window, x11_side);
    window_connection = on_x11 ? ConnectionNumber(x11_side.info.x11.display) : -1;
    if (x11) x11_drag_open(on_x11 ? x11_side.info.x11.window : 0);
    host_install(HostProcs{.present = sdl_present,
                           .pump = sdl_pump,
                           .wait = sdl_wait,
                           .close = sdl_close,
                           .get_clipboard_text = x11 ? x11_clipboard_text : sdl_get_clipboard,
                           .get_clipboard_png = x11 ? x11_clipboard_png : sdl_get_clipboard_png,
                           .set_clipboard = x11 ? x11_clipboard_offer : sdl_set_clipboard,
                           .apply_cursor = sdl_apply_cursor,
                           .beep = sdl_beep,
                           .begin_outside_drag = x11 ? x11_begin_outside_drag : nullptr,
                           .follow_outside_drag = x11 ? x11_follow_outside_drag : nullptr,
                           .end_outside_drag = x11 ? x11_end_outside_drag : nullptr});
    set_raise_proc(sdl_raise);
    set_notification_proc(sdl_notify);
    scrap_system_changed();
    return true;
}

}  // namespace pf
