// The File menu's commands for document windows, and the document layout
// dialog it opens.
#pragma once

#include <cstdint>

#include "core/memory_manager.h"

void DoFileMenu(MemoryRef record, int16_t item);
// The document layout dialog for a document window, opening on panel 1 to 3.
void doc_layout(MemoryRef record, int16_t panel);
