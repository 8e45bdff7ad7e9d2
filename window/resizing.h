// Resizing rows and columns by dragging the boundaries between their
// headings, and storing new sizes with an undo record.
#pragma once

#include <cstdint>

#include "core/memory_manager.h"
#include "model/cell_range.h"
#include "platform/types.h"

constexpr int16_t kMaxDragColumnWidth = 801;
constexpr int16_t kMaxDragRowHeight = 250;

// Whether a point (local) lies on a column (row) boundary in the headings:
// the column left of it (row above it) and the pane (0 or 2; 0 or 1, else -1).
int16_t test_col_resize(MemoryRef layer, pf::Point where, int16_t* column, int16_t* pane);
int16_t test_row_resize(MemoryRef layer, pf::Point where, int16_t* row, int16_t* pane);

// The columns (rows) a new size applies to: all selected whole columns (rows)
// when the dragged one is among them, else the dragged one alone.
CellRange columns_to_resize(MemoryRef layer, int16_t column);
CellRange rows_to_resize(MemoryRef layer, int16_t row);

// Stores a width (height) for the columns (rows) of a whole-column (row)
// range with an undo record, and lays the layer out again; resizing them all
// changes the layer's default. 0 when every size already was `size`.
int16_t apply_column_width(MemoryRef layer, const CellRange& columns, int16_t width);
int16_t apply_row_height(MemoryRef layer, const CellRange& rows, int16_t height);

// Follow the drag of a boundary; 1 when the size changed.
int16_t resize_column(MemoryRef layer, int16_t column, int16_t pane, pf::Point start);
int16_t resize_row(MemoryRef layer, int16_t row, int16_t pane, pf::Point start);

// A click in the headings on a boundary: resizes by dragging, fits the size
// to the contents with a double click. 1 when the click was on a boundary.
int16_t click_heading_border(MemoryRef record, pf::Point where);
