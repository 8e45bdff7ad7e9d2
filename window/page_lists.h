// The page boundaries a layer keeps (computed by printing): the last row and
// the last column of each printed page, as the sheet draws them.
#pragma once

#include <cstdint>
#include <vector>

#include "core/memory_manager.h"

// The values of a list of page boundaries or manual breaks (none for none).
std::vector<int16_t> read_page_list(MemoryRef list);

// The first page-boundary column at or after `column`, the last one when none
// follows, or `column` itself when the layer has none.
int16_t nextColumnBreak(MemoryRef layer, int16_t column);
