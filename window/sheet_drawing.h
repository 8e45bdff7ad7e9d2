// Drawing of a layer into the current port: Draw_Spreadsheet draws every part
// of the layer's panes that an update region covers (headers, split and freeze
// lines, grid, cells with their fills, text, notes and borders, page-break
// marks); DrawRow draws one row of one pane and decides where each cell's text
// goes (alignment, overflow into empty neighbours, cutting, "#" marks for a
// number that does not fit, wrapped and stacked text).
#pragma once

#include <cstdint>

#include "core/memory_manager.h"
#include "model/cell_range.h"
#include "platform/draw/region.h"
#include "window/row_drawing.h"

constexpr uint8_t kAlignGeneral = 0, kAlignLeft = 1, kAlignCentre = 2, kAlignRight = 3, kAlignJustify = 4;
constexpr uint8_t kAlignVertical = 0x08;
constexpr uint8_t kAlignAcrossSelection = 0x10;
constexpr uint8_t kAlignWrap = 0x40;
constexpr uint8_t kAlignWrapToPage = 0x80;

void Draw_Spreadsheet(pf::RgnHandle region, MemoryRef layer);
// Draws one row record's cells in a pane; `row_rect` spans the pane's width
// from the row's top to its bottom.
void DrawRow(const pf::Rect* row_rect, int16_t pane, const uint8_t* row, RowDrawState* state);
int16_t Get_WorkSheet_Defaults(RowDrawState* state, MemoryRef layer);
void Set_Cell_Attributes(RowDrawState* state);
int16_t Get_Cell_Alignment(const RowDrawState* state);
// Measuring the current cell (state->cell and column set): the width of its
// whole display text in its font or style runs, -1 when it shows no text; and
// the height of its lines (the tallest style run), its display text taken.
int16_t cell_text_width(RowDrawState* state);
int16_t cell_line_height(RowDrawState* state);
void SetTextColor(int16_t colour_index, int16_t colour_style);
// Erases and redraws the band of rows from `first_row` to `last_row` in every pane.
void DrawEntryCell(MemoryRef layer, int16_t first_row, int16_t last_row);
