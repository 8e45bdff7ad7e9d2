// Fitting row heights and column widths to what their cells show.
#pragma once

#include <cstdint>

#include "core/memory_manager.h"
#include "model/cell_range.h"

constexpr int16_t kMaxAutoRowHeight = 250;
constexpr int16_t kMaxAutoColumnWidth = 800;

// Fits the rows from the range's top row to its bottom row that hold cells
// to their tallest text (lines of wrapped text counted); 1 when any changed.
int16_t CheckRowSize(const CellRange* range, MemoryRef layer);
// Fits a column (all the selection's columns when it is among them) to its
// widest display text; with `limit`, only the selection's rows are measured.
// Only columns that hold measured text get a format record.
void AutoColumnWidth(int16_t limit, int16_t column, MemoryRef layer);
// The whole columns AutoColumnWidth fits for `column`: the selection's
// columns when it is among them, else that column alone.
CellRange columns_to_fit(MemoryRef layer, int16_t column);
