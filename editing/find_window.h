// The Find window: a modeless window in which the search string and its
// replacement are typed, the search options set, and Find, Replace, Replace
// and Find, and Replace All run on the front document. The found cell's text
// is shown with the hit in bold red.
#pragma once

#include "platform/dialogs/dialogs.h"

// The window while it is open, else null.
extern pf::DialogRef find_wind;

// Whether the window is the Find window.
bool is_find_window(pf::WindowRef window);
// Opens the window, or brings it to the front when it is open.
void open_find_dialog();
// Closes the window when it is open, keeping its place in the preferences.
void close_find_window();
// Copies the search fields and the option boxes into the search state.
void update_find_rec();
// Enables the buttons for the search state and redraws the found text.
void enable_find_buttons();
