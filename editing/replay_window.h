// The window a replayed change shows in.
#pragma once

#include "core/memory_manager.h"

// Makes the layer's window, or brings it in front of the documents.
void show_window_of_layer(MemoryRef layer);
