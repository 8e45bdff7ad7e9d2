#include "platform/events/clock.h"

#include <chrono>
#include <thread>

namespace pf {

namespace {

using SteadyClock = std::chrono::steady_clock;

const SteadyClock::time_point system_start = SteadyClock::now();
bool manual = false;
uint64_t manual_ms = 0;
uint64_t step_ms = 0;

uint64_t system_milliseconds() {
    auto elapsed = SteadyClock::now() - system_start;
    return uint64_t(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
}

}  // namespace

uint64_t clock_milliseconds() {
    if (!manual) return system_milliseconds();
    uint64_t now = manual_ms;
    manual_ms += step_ms;
    return now;
}

uint32_t tick_count() { return milliseconds_to_ticks(clock_milliseconds()); }

void use_manual_clock(uint64_t start_ms) {
    manual = true;
    manual_ms = start_ms;
    step_ms = 0;
}

void set_clock_step(uint64_t milliseconds) { step_ms = milliseconds; }

void advance_clock(uint64_t milliseconds) { manual_ms += milliseconds; }

void use_system_clock() {
    manual = false;
    step_ms = 0;
}

bool clock_is_manual() { return manual; }

void clock_sleep(int milliseconds) {
    if (milliseconds <= 0) return;
    if (manual)
        advance_clock(uint64_t(milliseconds));
    else
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

uint64_t ticks_to_milliseconds(uint32_t ticks) { return (uint64_t(ticks) * 1000 + 59) / 60; }

uint32_t milliseconds_to_ticks(uint64_t milliseconds) { return uint32_t(milliseconds * 60 / 1000); }

}  // namespace pf
