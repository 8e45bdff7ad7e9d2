// Events: the event record and its numbers, the event queue, ticks, and the
// mouse and keyboard state that tracking loops poll.
//
// Everything that waits or measures time uses ticks (60 per second) from the
// clock of clock.h, so tests can run with a clock they advance themselves.
#pragma once

#include "platform/draw/region.h"
#include "platform/events/clock.h"
#include "platform/types.h"

#include <cstdint>

namespace pf {

// ---- The event record -------------------------------------------------------

struct EventRecord {
    uint16_t what = 0;        // event kind
    uintptr_t message = 0;    // kind-specific; a window for update and activate events
    uint32_t when = 0;        // ticks
    Point where{};            // mouse, global coordinates
    uint16_t modifiers = 0;   // modifier keys, button state, activate flag
};

// Event kinds.
constexpr uint16_t kNullEvent = 0;
constexpr uint16_t kMouseDown = 1;
constexpr uint16_t kMouseUp = 2;
constexpr uint16_t kKeyDown = 3;
constexpr uint16_t kKeyUp = 4;
constexpr uint16_t kAutoKey = 5;
constexpr uint16_t kUpdateEvent = 6;
constexpr uint16_t kActivateEvent = 8;
constexpr uint16_t kOSEvent = 15;
constexpr uint16_t kHighLevelEvent = 23;

// Event masks: bit (1 << kind), except the high-level mask.
constexpr uint16_t kMouseDownMask = 1 << kMouseDown;
constexpr uint16_t kMouseUpMask = 1 << kMouseUp;
constexpr uint16_t kKeyDownMask = 1 << kKeyDown;
constexpr uint16_t kKeyUpMask = 1 << kKeyUp;
constexpr uint16_t kAutoKeyMask = 1 << kAutoKey;
constexpr uint16_t kUpdateMask = 1 << kUpdateEvent;
constexpr uint16_t kActivateMask = 1 << kActivateEvent;
constexpr uint16_t kHighLevelEventMask = 0x0400;
constexpr uint16_t kOSMask = 0x8000;
constexpr uint16_t kEveryEvent = 0xFFFF;

// The mask bit an event kind answers to.
uint16_t event_mask_of(uint16_t kind);

// Modifier word.
constexpr uint16_t kActiveFlag = 0x0001;   // activate event: activating (else deactivating)
constexpr uint16_t kButtonState = 0x0080;  // set while the mouse button is UP
constexpr uint16_t kCmdKey = 0x0100;
constexpr uint16_t kShiftKey = 0x0200;
constexpr uint16_t kAlphaLock = 0x0400;
constexpr uint16_t kOptionKey = 0x0800;
constexpr uint16_t kControlKey = 0x1000;

// Key events: message = (key code << 8) | character code.
constexpr uintptr_t kCharCodeMask = 0x000000FF;
constexpr uintptr_t kKeyCodeMask = 0x0000FF00;
inline unsigned char event_char(const EventRecord& e) { return uint8_t(e.message & kCharCodeMask); }
inline uint8_t event_key_code(const EventRecord& e) { return uint8_t((e.message & kKeyCodeMask) >> 8); }
// A key event also carries the script of the keyboard that typed it (the
// script number plus one, 0 for none): taking the event makes that the
// keyboard's script, so each byte is read in the script it was typed in
// however many wait in the queue.
constexpr uintptr_t kKeyScriptMask = 0x00FF0000;

// Operating-system events: the kind of OS event is in the message's high byte.
constexpr uint32_t kSuspendResumeMessage = 0x01;
constexpr uint32_t kMouseMovedMessage = 0xFA;
constexpr uint32_t kResumeFlag = 0x01;            // low bit of a suspend/resume message
constexpr uint32_t kConvertClipboardFlag = 0x02;  // resume: the clipboard changed meanwhile
inline uint32_t os_event_kind(const EventRecord& e) { return uint32_t(e.message >> 24) & 0xFF; }

// High-level events (Apple events sent to ourselves): the message is the event
// class, the event id is packed into `where`.
FourCC high_level_event_id(const EventRecord& event);

// Character codes of the non-printing keys.
constexpr unsigned char kHomeChar = 1;
constexpr unsigned char kEnterChar = 3;
constexpr unsigned char kEndChar = 4;
constexpr unsigned char kHelpChar = 5;
constexpr unsigned char kBackspaceChar = 8;
constexpr unsigned char kTabChar = 9;
constexpr unsigned char kPageUpChar = 11;
constexpr unsigned char kPageDownChar = 12;
constexpr unsigned char kReturnChar = 13;
constexpr unsigned char kFunctionKeyChar = 16;
constexpr unsigned char kClearChar = 27;
constexpr unsigned char kEscapeChar = 27;
constexpr unsigned char kLeftArrowChar = 28;
constexpr unsigned char kRightArrowChar = 29;
constexpr unsigned char kUpArrowChar = 30;
constexpr unsigned char kDownArrowChar = 31;
constexpr unsigned char kDeleteChar = 127;  // forward delete

// ---- The queue --------------------------------------------------------------

// Puts an event at the end of the queue; `when`, `where` and `modifiers` are
// filled from the clock and the current input state. False when the queue is full.
bool post_event(uint16_t kind, uintptr_t message);
// Puts a complete record at the end of the queue.
bool post_event_record(const EventRecord& event);
// Fills `when`, `where` and `modifiers` from the clock and the input state as
// they are (takes no host input: event sources use it).
void stamp_event(EventRecord& event);

// Waits up to `sleep` ticks for an event of the mask and takes it. Presents the
// screen and takes host input while waiting. With a mouse region (global), a
// mouse-moved OS event is answered when the mouse lies outside it. Answers false
// with a null event (where and modifiers filled) when nothing came.
bool wait_next_event(uint16_t mask, EventRecord& event, uint32_t sleep, RgnHandle mouse_region);
// The same without waiting.
bool get_next_event(uint16_t mask, EventRecord& event);
// Takes the first event of the mask, waiting at most `timeout` ticks for one.
bool take_event(uint16_t mask, EventRecord& event, uint32_t timeout);
// Looks at the first event of the mask without taking it.
bool event_avail(uint16_t mask, EventRecord& event);
// Removes queued events of the mask, stopping at the first event of the stop mask.
void flush_events(uint16_t mask, uint16_t stop_mask);
// Number of queued events (not counting those window and other sources produce).
int queued_event_count();

// Sources of events that are made on demand rather than queued: the window
// manager's activate and update events, the high-level events of the event
// manager. A source answers whether it has an event of the mask and, when
// `take` is true, gives it up. Sources of kBeforeQueue are asked before the
// queue, those of kAfterQueue after it.
using EventSourceProc = bool (*)(uint16_t mask, EventRecord& event, bool take);
enum class EventSourceOrder { kBeforeQueue, kAfterQueue };
void add_event_source(EventSourceProc proc, EventSourceOrder order);
void remove_event_source(EventSourceProc proc);

// Mouse-wheel events do not enter the queue: they are handed to this procedure
// (the window manager's) when the application next asks for an event.
using WheelProc = void (*)(Point where, int axis, int32_t delta, uint16_t modifiers);
void set_wheel_proc(WheelProc proc);

// ---- Times ------------------------------------------------------------------

// Auto-key events for a held key: the first after `threshold` ticks, then one
// every `rate` ticks. A threshold of 0 leaves repeating to the host (the SDL host
// reports the system's own repeats).
void set_key_repeat(uint32_t threshold, uint32_t rate);

// Ticks within which a second click counts as a double click.
uint32_t double_click_time();
// Ticks between caret blinks.
uint32_t caret_time();

// ---- Mouse and keyboard state (polling) -------------------------------------
//
// These take host input and present the screen before they answer, so that a
// tracking loop built on them shows what it draws.

// Whether the mouse button is down now.
bool button();
// Whether the button is down and no mouse-up is waiting in the queue.
bool still_down();
// Waits for the button to come up; takes the mouse-up event. False when the
// button was already up with no mouse-up waiting.
bool wait_mouse_up();
// Until the button is released: whether the mouse moved more than a few pixels
// from `start` (global) — the test that a click became a drag.
bool wait_mouse_moved(Point start);
// The mouse position in global coordinates.
Point mouse_location();
// The modifier word of this moment (including the button state bit).
uint16_t current_modifiers();
// The keyboard map: bit (key code & 7) of byte (key code >> 3) is set while the key is down.
using KeyMap = uint8_t[16];
void get_keys(KeyMap keys);
bool key_is_down(uint8_t key_code);

// Whether the application is in the foreground (the host has the input focus).
bool in_foreground();

// Clears the queue, the sources, the input state, the key repeat and the
// foreground flag (tests).
void events_reset();

}  // namespace pf
