#include "platform/host/headless.h"

#include "platform/drag/drag.h"
#include "platform/events/clock.h"
#include "platform/events/events.h"
#include "platform/events/events_internal.h"
#include "platform/events/input.h"
#include "platform/events/keyboard.h"
#include "platform/host/driver.h"
#include "platform/screen/cursor.h"
#include "platform/screen/screen.h"
#include "platform/scrap/scrap.h"
#include "platform/events/input_method.h"
#include "platform/text/mac_roman.h"

#include <deque>
#include <optional>

namespace pf {

namespace {

enum class StepKind { kMove, kPress, kRelease, kKeyDown, kKeyUp, kText, kWheel, kFocus, kDropFiles, kDropText };

struct Step {
    StepKind kind = StepKind::kMove;
    Point where{};
    uint16_t modifiers = 0;
    uint8_t key_code = 0;
    unsigned char character = 0;
    std::string text{};  // UTF-8
    std::vector<std::string> paths{};
    int axis = 0;
    int32_t delta = 0;
    bool active = true;
};

std::deque<Step> script;
std::optional<std::string> system_clipboard;
std::optional<std::vector<uint8_t>> system_clipboard_png;
// The picture this program offered, made when first read.
std::function<std::vector<uint8_t>()> offered_png;

// The modifier keys held, in the keyboard map and the modifier word.
void hold_modifiers(uint16_t modifiers) {
    constexpr struct {
        uint16_t bit;
        uint8_t key_code;
    } kModifierKeys[] = {{kCmdKey, kKeyCodeCommand}, {kShiftKey, kKeyCodeShift}, {kAlphaLock, kKeyCodeCapsLock},
                         {kOptionKey, kKeyCodeOption}, {kControlKey, kKeyCodeControl}};
    for (const auto& m : kModifierKeys) input_key_state(m.key_code, (modifiers & m.bit) != 0);
    input_modifiers(modifiers);
}

void play(const Step& step) {
    switch (step.kind) {
        case StepKind::kMove:
            input_mouse_move(step.where);
            break;
        case StepKind::kPress:
            hold_modifiers(step.modifiers);
            input_mouse_button(true, step.where);
            break;
        case StepKind::kRelease:
            input_mouse_button(false, step.where);
            hold_modifiers(0);
            break;
        case StepKind::kKeyDown:
            hold_modifiers(step.modifiers);
            input_key(step.key_code, step.character, true, false);
            break;
        case StepKind::kKeyUp:
            input_key(step.key_code, step.character, false, false);
            hold_modifiers(0);
            break;
        case StepKind::kText:  // the keyboard takes the text's script as it is typed
            input_text(keyboard_text_from_utf8(step.text), 0, false);
            break;
        case StepKind::kWheel:
            input_wheel(step.where, step.axis, step.delta);
            break;
        case StepKind::kFocus:
            input_focus(step.active);
            break;
        case StepKind::kDropFiles:
            input_mouse_move(step.where);
            for (const std::string& path : step.paths) receive_dropped_file(path);
            break;
        case StepKind::kDropText:
            input_mouse_move(step.where);
            receive_dropped_text(step.text);
            break;
    }
}

void headless_present() { screen_take_dirty(); }

// One scripted step per pump while the button is down, so that a tracking loop
// polling the mouse sees every move of a drag; moves with the button up go
// together with the step after them. A script never leaves the button held.
bool headless_pump() {
    if (script.empty()) {
        if (events_detail::input_state().button_down)
            input_mouse_button(false, events_detail::input_state().mouse);
        return true;
    }
    for (;;) {
        Step step = script.front();
        script.pop_front();
        play(step);
        bool free_move = step.kind == StepKind::kMove && !events_detail::input_state().button_down;
        if (!free_move || script.empty()) break;
    }
    return true;
}

void headless_wait(int milliseconds) { clock_sleep(milliseconds); }
void headless_close() { screen_close(); }

bool headless_get_clipboard(std::string& utf8) {
    if (!system_clipboard) return false;
    utf8 = *system_clipboard;
    return true;
}

bool headless_get_clipboard_png(std::vector<uint8_t>& png) {
    if (offered_png) {
        system_clipboard_png = offered_png();
        offered_png = nullptr;
    }
    if (!system_clipboard_png) return false;
    png = *system_clipboard_png;
    return true;
}

void headless_set_clipboard(const ClipboardOffer& offer) {
    system_clipboard.reset();
    if (offer.has_text) system_clipboard = offer.utf8;
    system_clipboard_png.reset();
    offered_png = offer.png;
}
void headless_apply_cursor(const Cursor*, bool) {}
void headless_beep() {}

void add(Step step) { script.push_back(std::move(step)); }

}  // namespace

HostProcs headless_host_procs() {
    return HostProcs{.present = headless_present,
                     .pump = headless_pump,
                     .wait = headless_wait,
                     .close = headless_close,
                     .get_clipboard_text = headless_get_clipboard,
                     .get_clipboard_png = headless_get_clipboard_png,
                     .set_clipboard = headless_set_clipboard,
                     .apply_cursor = headless_apply_cursor,
                     .beep = headless_beep};
}

// ---- Driver -------------------------------------------------------------------

void driver_move(Point to) { add({.kind = StepKind::kMove, .where = to}); }

void driver_press(Point where, uint16_t modifiers) {
    driver_move(where);
    add({.kind = StepKind::kPress, .where = where, .modifiers = modifiers});
}

void driver_release(Point where) { add({.kind = StepKind::kRelease, .where = where}); }

void driver_click(Point where, uint16_t modifiers) {
    driver_press(where, modifiers);
    driver_release(where);
}

void driver_drag(Point from, Point to, uint16_t modifiers, int steps) {
    driver_press(from, modifiers);
    if (steps < 1) steps = 1;
    for (int i = 1; i <= steps; ++i) {
        Point p{int16_t(from.v + (to.v - from.v) * i / steps), int16_t(from.h + (to.h - from.h) * i / steps)};
        driver_move(p);
    }
    driver_release(to);
}

void driver_key_down(uint8_t key_code, unsigned char character, uint16_t modifiers) {
    add({.kind = StepKind::kKeyDown, .modifiers = modifiers, .key_code = key_code, .character = character});
}

void driver_key_up(uint8_t key_code, unsigned char character) {
    add({.kind = StepKind::kKeyUp, .key_code = key_code, .character = character});
}

void driver_key(uint8_t key_code, unsigned char character, uint16_t modifiers) {
    driver_key_down(key_code, character, modifiers);
    driver_key_up(key_code, character);
}

void driver_type(std::string_view utf8) { add({.kind = StepKind::kText, .text = std::string(utf8)}); }

void driver_wheel(Point where, int axis, int32_t delta) {
    driver_move(where);
    add({.kind = StepKind::kWheel, .where = where, .axis = axis, .delta = delta});
}

void driver_focus(bool active) { add({.kind = StepKind::kFocus, .active = active}); }

void driver_drop_files(Point where, const std::vector<std::string>& paths) {
    add({.kind = StepKind::kDropFiles, .where = where, .paths = paths});
}

void driver_drop_text(Point where, std::string_view utf8) {
    add({.kind = StepKind::kDropText, .where = where, .text = std::string(utf8)});
}

int driver_pending_steps() { return int(script.size()); }

void driver_reset() {
    script.clear();
    system_clipboard.reset();
    system_clipboard_png.reset();
    offered_png = nullptr;
}

int driver_run_until_idle(void (*handle)(const EventRecord& event)) {
    // A bound, so that a handler that never clears an update cannot hang a test.
    constexpr int kMaxEvents = 100000;
    int handled = 0;
    while (handled < kMaxEvents) {
        EventRecord event;
        bool got = wait_next_event(kEveryEvent, event, 0, nullptr);
        if (got) {
            handle(event);
            ++handled;
        } else if (script.empty()) {
            break;
        }
    }
    return handled;
}

void driver_set_system_clipboard(const std::string& utf8) {
    system_clipboard = utf8;
    system_clipboard_png.reset();
    offered_png = nullptr;
    scrap_system_changed();
}

void driver_set_system_clipboard_png(const std::vector<uint8_t>& png) {
    system_clipboard.reset();
    system_clipboard_png = png;
    offered_png = nullptr;
    scrap_system_changed();
}

bool driver_system_clipboard_png(std::vector<uint8_t>& png) { return headless_get_clipboard_png(png); }

bool driver_system_clipboard(std::string& utf8) { return headless_get_clipboard(utf8); }

}  // namespace pf
