// Where the window, drag and toolbox tests start: a 640 x 480 headless screen
// with its window manager open, no event or scripted input waiting, and the
// clock held at 0.
#pragma once

#include "platform/events/clock.h"
#include "platform/events/events.h"
#include "platform/host/driver.h"
#include "platform/host/host.h"
#include "platform/windows/window_manager.h"

inline void open_headless_screen() {
    pf::headless_host_open(640, 480);
    pf::events_reset();
    pf::driver_reset();
    pf::use_manual_clock(0);
    pf::windows_open();
}
