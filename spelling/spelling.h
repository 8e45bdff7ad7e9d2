// The spelling engine's start and end, for start-up and shutdown.
#pragma once

#include "platform/windows/windows.h"

// init_spell reads no dictionary: they are opened when spelling is first used.
void init_spell();
void close_spell();
// Whether the window is the spelling dialog.
bool is_spelling_window(pf::WindowRef window);
