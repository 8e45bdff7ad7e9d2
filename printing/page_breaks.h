// Page boundaries of a layer: the last row and the last column of each printed
// page, computed from the page's printable size, the row heights and column
// widths and the manual page breaks, as far as the layer's cells reach.
#pragma once

#include <cstdint>

#include "core/memory_manager.h"
#include "model/cell_range.h"

// The printable size of a page in pixels when the layer's page setup gives none:
// a letter page less half-inch margins.
constexpr int16_t kFallbackPageWidth = 540;
constexpr int16_t kFallbackPageHeight = 720;

// The first page-boundary column at or after `column`, the last one when none
// follows, or `column` itself when the layer has none.
int16_t nextColumnBreak(MemoryRef layer, int16_t column);

// Recomputes the page breaks.
void reset_page(MemoryRef layer);
// The printed page that holds a cell (row in the low half, column in the high).
int16_t page_number_of(MemoryRef layer, int32_t cell);
// Recomputes the pane rectangles (non-zero when they changed).
int16_t SetActiveRects(MemoryRef layer);
// The printable rectangle of the layer's page inside its margins, in points.
void Page_Setup(MemoryRef layer, pf::Rect* printable);

// The last row and the last column holding a cell ({-1, -1} for none).
CellPoint used_cell_extent(MemoryRef layer);
// The pages as reset_page last computed them, numbered from 1 down the rows,
// then across: how many there are (at least 1), and the cells of page n
// (false past the last).
int16_t CountPages(MemoryRef layer);
bool GetPageRect(MemoryRef layer, int16_t page, CellRange* range);
