// What the commands need from the application above them (menu dispatch, the
// Window menu's list, opening documents), as a record of procedure slots the
// application fills in at start-up. The defaults answer as a program without
// menus: no command is carried out, no window is listed, no document opens.
#pragma once

#include <cstdint>

#include "platform/files/files.h"
#include "platform/windows/windows.h"

struct ShellServices {
    // A menu's item chosen as if from the menu bar: the menus are enabled
    // first; a missing item does nothing, a dimmed one beeps.
    void (*menu_button)(int16_t menu, int16_t item);
    // The Window menu's item listing a window (0 when it is not listed).
    int16_t (*window_menu_item)(pf::WindowRef window);
    // Opens a document, or brings its window to the front when it is open.
    pf::OSErr (*open_or_bring_document)(const pf::FileSpec* spec);
};

extern ShellServices shell_services;
ShellServices headless_shell_services();
