// The header and footer editor.
#pragma once

#include <cstdint>

#include "core/memory_manager.h"

// Edits a working header or footer list (the list may be made when there was
// none); non-zero when the user confirmed a change.
int16_t HeaderDialog(MemoryRef* list, bool is_header);
