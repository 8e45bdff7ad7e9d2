// What the platform answers the engine, stood in for in the engine's test
// programs so that they link the engine alone: fonts are the classic ones the
// engine itself knows, a text is measured at one width a character while a
// test sets a port, and the user's events and Command-period are what a test
// says they are.
#pragma once

#include <cstdint>
#include <vector>

namespace stand_in {

// Measures every character this many pixels wide, as in a port set to a
// fixed-width font; 0: there is no port to measure in.
void measure_characters_at(int16_t width);
// An event of the user waits until it is taken.
void post_user_event();
void take_user_event();
// Command-period held down, or let go.
void hold_command_period(bool down);
// The print record of the older printing interface the engine last handed
// over for a page format; the page format answered holds the same bytes.
const std::vector<uint8_t>& last_old_print_record();
// Nothing measured, waiting or pressed.
void reset();

}  // namespace stand_in
