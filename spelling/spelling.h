// The spelling engine's start and end, for start-up and shutdown.
#pragma once

#include "platform/windows/windows.h"

void init_spell();
void close_spell();
// Whether the window is the spelling dialog.
bool is_spelling_window(pf::WindowRef window);
