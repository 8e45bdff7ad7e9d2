// The cursor, set by CURS id, and its two animations: the busy cycle
// (CURS 200-207, nesting) and the calculation cycle (CURS 180-183).
#include "ui/screen_geometry.h"
#include "ui/system_info.h"
#include "platform/events/clock.h"
#include "platform/screen/cursor.h"

namespace {

constexpr uint32_t kBusyStepTicks = 10;
constexpr uint32_t kCalcStepTicks = 30;
constexpr uint16_t kNoCursorSet = 65535;

struct CursorState {
    uint16_t last_cursor_id = kNoCursorSet;
    int16_t spin_enable = 0;
    int16_t watch_spin = kFirstBusyCursor;
    uint32_t last_ticks = 0;
    int16_t calc_spin = kFirstCalcCursor;
    uint32_t calc_ticks = 0;
};

CursorState state;

int16_t next_in_cycle(int16_t id, int16_t first, int16_t last) { return id >= last ? first : int16_t(id + 1); }

}  // namespace

void SetCursorTo(int16_t id) {
    if (in_background() || uint16_t(id) == state.last_cursor_id) return;
    state.last_cursor_id = uint16_t(id);
    if (id == kForgetCursor) return;
    if (id == kArrowCursor) pf::set_arrow_cursor();
    else pf::set_cursor_resource(id);
}

void SpinAppCursor(int16_t n) {
    if (n < 0) {
        if (state.spin_enable++ > 0) return;
        state.watch_spin = kFirstBusyCursor;
        state.last_ticks = pf::tick_count();
        state.last_cursor_id = kNoCursorSet;
        SetCursorTo(kFirstBusyCursor);
        return;
    }
    if (n == 0 && state.spin_enable > 0) --state.spin_enable;
    if (state.spin_enable == 0) return;
    uint32_t now = pf::tick_count();
    if (now - state.last_ticks <= kBusyStepTicks) return;
    state.last_ticks = now;
    state.watch_spin = next_in_cycle(state.watch_spin, kFirstBusyCursor, kLastBusyCursor);
    SetCursorTo(state.watch_spin);
}

void SpinCalcCursor() {
    uint32_t now = pf::tick_count();
    if (now - state.calc_ticks <= kCalcStepTicks) return;
    state.calc_ticks = now;
    state.calc_spin = next_in_cycle(state.calc_spin, kFirstCalcCursor, kLastCalcCursor);
    SetCursorTo(state.calc_spin);
}

int16_t current_cursor_id() { return int16_t(state.last_cursor_id); }

void reset_cursor_state() { state = CursorState{}; }
