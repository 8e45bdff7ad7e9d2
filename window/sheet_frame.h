// The frame of a worksheet pane: the column-header strip (y 0 to 13) with
// column letters or names, the row-header strip (x 0 to 31) with row numbers,
// the corner box with the layer number, grid lines and the dashed marks of
// computed page breaks. Called with the port, clip and colours set.
#pragma once

#include <cstdint>

#include "core/memory_manager.h"
#include "platform/types.h"

constexpr int16_t kColumnHeaderHeight = 14;  // y 0 to 13, the header line at 13
constexpr int16_t kRowHeaderWidth = 32;      // x 0 to 31, the header line at 31
constexpr uint32_t kLayerPictureDrawing = 0x1000;

void ColumnBars(MemoryRef layer, const pf::Rect* pane, int16_t first_column);
void RowBars(MemoryRef layer, const pf::Rect* pane, const pf::Rect* clip, int16_t first_row, int16_t default_height);
void ColumnGrids(MemoryRef layer, const pf::Rect* pane, int16_t first_column);
void RowGrids(MemoryRef layer, const pf::Rect* band, const pf::Rect* clip, int16_t first_row, int16_t default_height);
// Page marks, dashed in the pane's pattern phase (Draw_Spreadsheet sets it).
void RowPage(MemoryRef layer, const pf::Rect* pane, int16_t pane_index);
void ColumnPage(MemoryRef layer, const pf::Rect* pane, int16_t pane_index);
void Draw_ID(MemoryRef layer);

// The column's header label: its name, or its letters.
void column_label(unsigned char* label, int16_t column, const uint8_t* column_format);
// The colour style drawing uses for a layer: 2 while it draws for print or
// picture, unless the layer keeps its colours for them.
int16_t drawing_colour_style(MemoryRef layer);
