// The clock behind every tick count: 60 ticks a second. The system's steady
// clock by default; tests install a manual clock that moves only when they (or
// a headless wait) advance it.
#pragma once

#include <cstdint>

namespace pf {

// Ticks since the clock started.
uint32_t tick_count();

// Milliseconds since the clock started.
uint64_t clock_milliseconds();

// Switches to a manual clock standing at `start_ms`; it moves by advance_clock
// and by clock_sleep.
void use_manual_clock(uint64_t start_ms = 0);
void advance_clock(uint64_t milliseconds);
// Makes the manual clock also move by `milliseconds` at every reading, so that
// code polling the time sees it pass (0, the default, stops that).
void set_clock_step(uint64_t milliseconds);
// Back to the system's steady clock.
void use_system_clock();
bool clock_is_manual();

// Sleeps; with the manual clock, advances it instead.
void clock_sleep(int milliseconds);

// Milliseconds of `ticks` (rounded up) and ticks of `milliseconds` (rounded down).
uint64_t ticks_to_milliseconds(uint32_t ticks);
uint32_t milliseconds_to_ticks(uint64_t milliseconds);

}  // namespace pf
