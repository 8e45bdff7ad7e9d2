// Graphics devices: the screens drawing goes to, with their place in global
// coordinates and pixel depth. There is one, the screen of platform/screen, at 32 bits
// a pixel; a list can be set in its place (tests of code that looks at several
// screens of other depths).
#pragma once

#include "platform/types.h"

#include <vector>

namespace pf {

struct GDevice {
    Rect rect{};            // global coordinates
    int16_t pixel_depth = 32;
    bool is_screen = true;
    bool active = true;
};

// The devices: the list set with set_device_list, else the screen (none before the
// screen is opened).
std::vector<GDevice> device_list();
// Replaces the devices; an empty list goes back to the screen.
void set_device_list(const std::vector<GDevice>& devices);

}  // namespace pf
