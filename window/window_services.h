// What the sheet view needs from the application above it (the Window menu,
// the recent documents, the calculation library's alerts), as a record of
// procedure slots the application fills in at start-up. The defaults answer as
// a program without menus: nothing is listed or remembered, and every alert is
// taken as answered by its first button.
#pragma once

#include <cstdint>

#include "platform/files/files.h"
#include "platform/windows/windows.h"

struct WindowServices {
    // The Window menu: lists a document window under its title, takes one
    // out; how many windows are listed (where a new window is staggered).
    void (*list_window)(pf::WindowRef window);
    void (*unlist_window)(pf::WindowRef window);
    int16_t (*listed_window_count)();

    // Recent documents: puts a document first among them (add 1) or takes it
    // out (0); opens the one at an index.
    void (*remember_document)(const pf::FileSpec* spec, int16_t add);
    void (*open_recent_document)(int16_t index);

    // The calculation library's alert for a code (the alert number in the low
    // half, a number it shows in the high half); answers the button.
    int16_t (*calc_alert)(int32_t code);
};

extern WindowServices window_services;
WindowServices headless_window_services();
