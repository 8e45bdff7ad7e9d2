// Floating palette windows: made at the saved place of their kind (or a
// default place when that is off the screen), found by their titles, closed
// keeping their place; keys typed while one is in front go to the front
// document.
#pragma once

#include "ui/task_manager.h"

WindowRef make_palette_window(const char* title, int position_index, int16_t offset, int16_t width, int16_t height,
                              const WindowTaskProcs& procs);
// The open palette of that title, or none.
WindowRef find_palette(const char* title);
int32_t pass_key_to_document(EventRecord* event, uintptr_t, uintptr_t);
// The arrow cursor over a palette.
int32_t palette_idle_proc(EventRecord* event, uintptr_t, uintptr_t);
// Saves an open palette's place, clears its start-up bit unless the
// application is quitting, hides it and forgets it (`window` becomes null);
// answers whether the user closed it (not quitting).
bool close_palette_window(WindowRef& window, int position_index, uint32_t start_up_bit, const EventRecord* event);
