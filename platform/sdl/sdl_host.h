// The SDL host: one resizable window that shows the screen.
#pragma once

namespace pf {

// Opens the host window and a screen of the given size; false (with a message on
// stderr) when no display can be had.
bool sdl_host_open(int width, int height);
// How many beeps were shown as a flash of the menu bar, no sound being had.
int sdl_beep_flashes();

}  // namespace pf
