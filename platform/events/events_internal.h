// State shared by the files of the events module.
#pragma once

#include "platform/events/events.h"

namespace pf::events_detail {

struct InputState {
    Point mouse{};
    bool button_down = false;
    uint16_t modifier_keys = 0;  // command, shift, caps lock, option, control
    KeyMap keys{};
    bool foreground = true;
};

InputState& input_state();

// Takes pending host input and presents the screen (every polling call does this).
void poll_host();

// Whether the queue holds an event of the mask (no host input is taken).
bool queue_holds(uint16_t mask);

// Posts an auto-key event when a held key is due to repeat.
void repeat_held_key();
// Back to the default repeat, nothing held.
void reset_key_repeat();

// Hands queued mouse-wheel turns to the wheel procedure.
void deliver_wheel_events();
void queue_wheel_event(Point where, int axis, int32_t delta, uint16_t modifiers);
void clear_wheel_events();

}  // namespace pf::events_detail
