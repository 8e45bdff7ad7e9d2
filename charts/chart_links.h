// Charts kept up to date with their cells: marking the charts that read a
// changed range, redrawing the marked ones at idle time, and data ranges
// that follow inserted and deleted rows and columns.
#pragma once

#include <cstdint>

#include "core/memory_manager.h"
#include "model/cell_range.h"

// Whether the chart reads a cell of the range: its data range, or its
// series-name row or column across the data range.
bool chart_reads(MemoryRef chart, const CellRange& range);
// Invalidates the object's rectangle in every pane of its layer's window.
void redraw_object(MemoryRef object, MemoryRef layer);
// Redraws the layer's charts marked for update and clears their marks:
// non-zero when there was one.
int16_t chartupdate(MemoryRef layer);

// Whether the chart held by `holder` takes its data from `source`.
bool chart_reads_layer(MemoryRef chart, MemoryRef holder, MemoryRef source);
// The chart's data range and series-name row and column after `count`
// lines were inserted (negative: deleted) at `first`, rows or columns.
void shift_chart_data(MemoryRef chart, bool rows, int16_t first, int16_t count);
// The data range and series-name column and row kept for undo, and put back.
void keep_chart_placement(MemoryRef chart, CellRange* data, int16_t* name_column, int16_t* name_row);
void restore_chart_placement(MemoryRef chart, const CellRange& data, int16_t name_column, int16_t name_row);

// The charts on the workbook's other layers that read `layer` follow `count`
// lines inserted (negative: deleted) at `first`; the data each had is
// appended to the placement list in an entry of its own (ObjectPlacement),
// and put back from there.
void shift_other_layers_charts(MemoryRef placements, bool rows, int16_t first, int16_t count, MemoryRef layer);
void restore_other_layers_charts(MemoryRef placements, MemoryRef layer);
