// Page boundaries of a layer: the last row and the last column of each printed
// page, computed from the page's printable size at the page's scale, the row
// heights and column widths, the printed headings and print titles and the
// manual page breaks, over the print area or as far as the layer's cells
// reach. Pages are numbered from 1, down the rows first, then across.
#pragma once

#include <cstdint>

#include "core/memory_manager.h"
#include "model/cell_range.h"

// The printable size of a page in pixels when the layer's page setup gives none:
// a letter page less half-inch margins.
constexpr int16_t kFallbackPageWidth = 540;
constexpr int16_t kFallbackPageHeight = 720;

constexpr int16_t kSmallestScale = 10;
constexpr int16_t kLargestScale = 400;

// Recomputes the page breaks.
void reset_page(MemoryRef layer);
// The printed page that holds a cell (row in the low half, column in the high).
int16_t page_number_of(MemoryRef layer, int32_t cell);
// The printable rectangle of the layer's page inside its margins, in points.
void Page_Setup(MemoryRef layer, pf::Rect* printable);

// The page's scale in percent (100 when none was set), kept in the layer's
// page setup block.
int16_t page_scale(MemoryRef layer);
void set_page_scale(MemoryRef layer, int16_t percent);

// The cells that print: the print area, else from A1 to the last row and
// column holding a cell; bottom-right inclusive, row -1 when nothing prints.
CellRange printed_range(MemoryRef layer);

// The number of pages down (row pages), and of all pages (0 when nothing prints).
int16_t GetMaxPage(MemoryRef layer);
int16_t CountPages(MemoryRef layer);
// The cells of page `page` (from 1); 0 when there is no such page.
int16_t GetPageRect(MemoryRef layer, int16_t page, CellRange* range);

// Manual page breaks at the selection: a selection of whole rows breaks
// before its top row, of whole columns before its left column, of cells
// before its top row and its left column. TestPageBreak answers 1 when the
// selected whole row or column holds a manual page break.
int16_t TestPageBreak(MemoryRef layer);
void SetPageBreak(MemoryRef layer);
void RemovePageBreak(MemoryRef layer);

// The printed horizontal extent of a column on a page: `left` and `right`
// of `extent` in pixels from the page's first column (top and bottom 0), and
// the column's width in `width`; 0 when the column is not on the page.
int16_t PrintCell_H(const CellRange* page, int16_t* width, pf::Rect* extent, int16_t column, MemoryRef layer);

// The last row and the last column holding a cell ({-1, -1} for none).
CellPoint used_cell_extent(MemoryRef layer);
