// The headless host's test driver: scripted user input at global points,
// played one step per host pump so that tracking loops see the mouse move;
// running the event loop until idle; the system clipboard of "another program".
#pragma once

#include "platform/events/events.h"
#include "platform/types.h"

#include <string>
#include <string_view>
#include <vector>

namespace pf {

// Mouse: a click is press and release at one point; a drag presses at `from`,
// moves in `steps` steps and releases at `to`. `modifiers` are held throughout.
void driver_move(Point to);
void driver_press(Point where, uint16_t modifiers = 0);
void driver_release(Point where);
void driver_click(Point where, uint16_t modifiers = 0);
void driver_drag(Point from, Point to, uint16_t modifiers = 0, int steps = 4);
// A key press and release with the given key code and character; the modifier
// keys are held meanwhile (in the keyboard map too). Down and up apart let a test
// hold a key while the program polls the keyboard (Command-period).
void driver_key(uint8_t key_code, unsigned char character, uint16_t modifiers = 0);
void driver_key_down(uint8_t key_code, unsigned char character, uint16_t modifiers = 0);
void driver_key_up(uint8_t key_code, unsigned char character);
// Typed text, UTF-8, as a user of a keyboard layout would type it.
void driver_type(std::string_view utf8);
void driver_wheel(Point where, int axis, int32_t delta);
// The program loses (false) or regains (true) the input focus.
void driver_focus(bool active);
// Another program drops files (POSIX paths, one drag of several items) or text
// (UTF-8) at a point.
void driver_drop_files(Point where, const std::vector<std::string>& paths);
void driver_drop_text(Point where, std::string_view utf8);

// Steps of scripted input not yet played.
int driver_pending_steps();
// Drops the script (tests call this between cases).
void driver_reset();

// Takes events until the script is played and a null event comes, handing each
// to `handle`. Answers the number of events handled.
int driver_run_until_idle(void (*handle)(const EventRecord& event));

// The system clipboard of the headless host, as other programs see it.
void driver_set_system_clipboard(const std::string& utf8);
bool driver_system_clipboard(std::string& utf8);
// A PNG image another program put on the system clipboard (its only content);
// the picture on it as a PNG image, false when it holds none.
void driver_set_system_clipboard_png(const std::vector<uint8_t>& png);
bool driver_system_clipboard_png(std::vector<uint8_t>& png);

}  // namespace pf
