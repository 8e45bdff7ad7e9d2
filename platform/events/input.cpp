#include "platform/events/input.h"

#include "platform/events/events.h"
#include "platform/events/events_internal.h"
#include "platform/events/keyboard.h"
#include "platform/host/host.h"
#include "platform/text/text.h"
#include "platform/screen/cursor.h"

#include <cstdlib>
#include <vector>

namespace pf {

namespace {

// Movement beyond this many pixels from the press turns a click into a drag.
constexpr int kDragThreshold = 3;

events_detail::InputState state;

struct WheelTurn {
    Point where;
    int axis;
    int32_t delta;
    uint16_t modifiers;
};
std::vector<WheelTurn> wheel_turns;
WheelProc wheel_proc = nullptr;

// The key held down, for auto-key events.
struct HeldKey {
    bool held = false;
    uint8_t key_code = 0;
    unsigned char character = 0;
    uint32_t next_repeat = 0;  // ticks
};
HeldKey held_key;
constexpr uint32_t kDefaultRepeatThreshold = 24;
constexpr uint32_t kDefaultRepeatRate = 4;
uint32_t repeat_threshold = kDefaultRepeatThreshold;
uint32_t repeat_rate = kDefaultRepeatRate;

void hold_key(uint8_t key_code, unsigned char character, bool down) {
    if (down)
        held_key = HeldKey{true, key_code, character, tick_count() + repeat_threshold};
    else if (held_key.key_code == key_code)
        held_key = HeldKey{};
}

void set_key_bit(uint8_t key_code, bool down) {
    if (key_code >= 128) return;
    uint8_t bit = uint8_t(1u << (key_code & 7));
    if (down)
        state.keys[key_code >> 3] |= bit;
    else
        state.keys[key_code >> 3] &= uint8_t(~bit);
}

void post_key(uint16_t kind, uint8_t key_code, unsigned char character) {
    const uintptr_t script = uintptr_t(keyboard_script() + 1) << 16 & kKeyScriptMask;
    post_event(kind, script | (uintptr_t(key_code) << 8) | character);
}

bool mouse_up_waiting() { return events_detail::queue_holds(kMouseUpMask); }

}  // namespace

namespace events_detail {

InputState& input_state() { return state; }

void poll_host() {
    host_present();
    host_pump();
}

void queue_wheel_event(Point where, int axis, int32_t delta, uint16_t modifiers) {
    constexpr size_t kMaxWaitingTurns = 256;  // a program that stops asking loses the oldest
    if (wheel_turns.size() >= kMaxWaitingTurns) wheel_turns.erase(wheel_turns.begin());
    wheel_turns.push_back(WheelTurn{where, axis, delta, modifiers});
}

void deliver_wheel_events() {
    std::vector<WheelTurn> turns;
    turns.swap(wheel_turns);
    if (!wheel_proc) return;
    for (const WheelTurn& t : turns) wheel_proc(t.where, t.axis, t.delta, t.modifiers);
}

void clear_wheel_events() { wheel_turns.clear(); }

void reset_key_repeat() { set_key_repeat(kDefaultRepeatThreshold, kDefaultRepeatRate); }

void repeat_held_key() {
    if (!held_key.held || repeat_threshold == 0 || int32_t(tick_count() - held_key.next_repeat) < 0) return;
    post_key(kAutoKey, held_key.key_code, held_key.character);
    held_key.next_repeat = tick_count() + repeat_rate;
}

}  // namespace events_detail

void set_wheel_proc(WheelProc proc) { wheel_proc = proc; }

// ---- Host side ----------------------------------------------------------------

void input_mouse_move(Point where) {
    if (where == state.mouse) return;
    state.mouse = where;
    cursor_mouse_moved();
}

void input_mouse_button(bool down, Point where) {
    state.mouse = where;
    state.button_down = down;
    post_event(down ? kMouseDown : kMouseUp, 0);
}

void input_modifiers(uint16_t modifiers) {
    state.modifier_keys = modifiers & (kCmdKey | kShiftKey | kAlphaLock | kOptionKey | kControlKey);
}

void set_key_repeat(uint32_t threshold, uint32_t rate) {
    repeat_threshold = threshold;
    repeat_rate = rate > 0 ? rate : 1;
    held_key = HeldKey{};
}

void input_key(uint8_t key_code, unsigned char character, bool down, bool repeat) {
    set_key_bit(key_code, down);
    if (!repeat) hold_key(key_code, character, down);
    uint16_t kind = !down ? kKeyUp : repeat ? kAutoKey : kKeyDown;
    post_key(kind, key_code, character);
}

void input_key_state(uint8_t key_code, bool down) { set_key_bit(key_code, down); }

void input_text(std::string_view mac_roman, uint8_t key_code, bool repeat) {
    for (unsigned char c : mac_roman) {
        post_key(repeat ? kAutoKey : kKeyDown, key_code, c);
        key_code = 0;
    }
}

void input_wheel(Point where, int axis, int32_t delta) {
    events_detail::queue_wheel_event(where, axis, delta, current_modifiers());
}

void input_focus(bool active) {
    if (state.foreground == active) return;
    state.foreground = active;
    uint32_t message = (kSuspendResumeMessage << 24) | (active ? kResumeFlag : 0);
    post_event(kOSEvent, message);
}

// ---- Polling ------------------------------------------------------------------

bool button() {
    events_detail::poll_host();
    return state.button_down;
}

bool still_down() { return button() && !mouse_up_waiting(); }

bool wait_mouse_up() {
    for (;;) {
        EventRecord up;
        if (take_event(kMouseUpMask, up, 0)) return true;
        if (!state.button_down) return false;
        host_wait(1);
    }
}

bool wait_mouse_moved(Point start) {
    while (still_down()) {
        Point now = state.mouse;
        if (std::abs(now.h - start.h) > kDragThreshold || std::abs(now.v - start.v) > kDragThreshold)
            return true;
        host_wait(1);
    }
    return false;
}

Point mouse_location() {
    events_detail::poll_host();
    return state.mouse;
}

uint16_t current_modifiers() {
    return uint16_t(state.modifier_keys | (state.button_down ? 0 : kButtonState));
}

void get_keys(KeyMap keys) {
    for (int i = 0; i < 16; ++i) keys[i] = state.keys[i];
}

bool key_is_down(uint8_t key_code) {
    return key_code < 128 && (state.keys[key_code >> 3] & (1u << (key_code & 7))) != 0;
}

bool in_foreground() { return state.foreground; }

}  // namespace pf
