// The SDL host: one resizable window that shows the screen.
#pragma once

namespace pf {

// Opens the host window and a screen of the given size; false (with a message on
// stderr) when no display can be had.
bool sdl_host_open(int width, int height);

}  // namespace pf
