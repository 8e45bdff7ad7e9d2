// A floating palette window with a task and no contents, for the palettes not
// built yet; made at most once per title.
#pragma once

#include "core/task_manager.h"
#include "shell/palette_windows.h"

WindowRef make_empty_palette(const char* title, int position_index, int16_t offset);

// Stand-ins for commands of the palettes and dialogs not built yet.
void set_option_menu(MemoryRef layer);
