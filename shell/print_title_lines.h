// The rows or the columns a layer prints on every page.
#pragma once

#include <cstdint>

#include "core/memory_manager.h"

struct TitleLines {
    int16_t first, last;  // -1, -1: none
};

TitleLines stored_title_lines(MemoryRef layer, bool rows);
// Stores them; the document counts as changed.
void store_title_lines(MemoryRef layer, bool rows, TitleLines lines);
