// Floating palette windows: made at the saved place of their kind (or a
// default place when that is off the screen), found by their titles; keys
// typed while one is in front go to the front document.
#pragma once

#include "core/task_manager.h"

WindowRef make_palette_window(const char* title, int position_index, int16_t offset, int16_t width, int16_t height,
                              const WindowTaskProcs& procs);
// The open palette of that title, or none.
WindowRef find_empty_palette(const char* title);
int32_t pass_key_to_document(EventRecord* event, uintptr_t, uintptr_t);
