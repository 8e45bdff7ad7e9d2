// Host input: what a host reports when the user acts. These keep the current
// mouse and keyboard state and post the matching events.
#pragma once

#include "platform/types.h"

#include <cstdint>
#include <string_view>

namespace pf {

// The mouse moved (global coordinates).
void input_mouse_move(Point where);
// The button went down or up at `where`: posts a mouse-down or mouse-up.
void input_mouse_button(bool down, Point where);
// The modifier keys now held (command, shift, caps lock, option, control bits).
void input_modifiers(uint16_t modifiers);
// A key went down (`repeat`: held down and repeating) or up: posts a key-down,
// auto-key or key-up with the character code and key code, and keeps the keyboard map.
void input_key(uint8_t key_code, unsigned char character, bool down, bool repeat);
// Records a key in the keyboard map without posting anything (modifier keys).
void input_key_state(uint8_t key_code, bool down);
// Typed text (Mac Roman): one key-down (auto-key when `repeat`) per byte; the
// first carries `key_code`, the others key code 0.
void input_text(std::string_view mac_roman, uint8_t key_code, bool repeat);
// The wheel turned: `axis` 0 vertical, 1 horizontal; `delta` positive away from the user / right.
void input_wheel(Point where, int axis, int32_t delta);
// The host gained or lost the input focus: posts a resume or suspend OS event.
void input_focus(bool active);

}  // namespace pf
