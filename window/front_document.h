// The front document: the record of the document window in front of the
// other non-floating windows, which the commands, palettes and menus act on.
#pragma once

#include "core/memory_manager.h"

// The record of the front non-floating window's document, or none.
MemoryRef front_document_record();
