// The text of a cell range as the worksheet shows it: column letters and the
// 1-based row, "$" before each absolute part, ":" between two corners; whole
// rows show only row numbers and whole columns only letters.
#pragma once

#include <cstdint>

#include "core/memory_manager.h"
#include "model/cell_range.h"

// The flags: row of the first corner, column of the first corner, row of the
// second corner, column of the second corner. With a layer, a named range of
// exactly this range gives its name and the answer 1; otherwise 0.
int16_t RangeString(unsigned char* text, const CellRange* range, const bool absolute[4], MemoryRef layer);
