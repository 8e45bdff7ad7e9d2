// Starting and stopping the window manager, for the program's start-up (without
// the drawing declarations of windows.h).
#pragma once

namespace pf {

// Starts the window manager on the current screen (its event sources, the
// screen's composer, the wheel procedure); windows_close disposes every window
// and stops it.
void windows_open();
void windows_close();

}  // namespace pf
