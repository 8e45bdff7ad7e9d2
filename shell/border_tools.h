// The twelve border tools of the grid palette and the borders pop-up menu:
// each sets sides of the selected cells' border words (tools 11 and 12 the
// outline of the selection), and the tool a border word marks.
#pragma once

#include <cstdint>

#include "core/memory_manager.h"
#include "model/cell_format.h"
#include "model/cell_range.h"

// Line styles of a border side.
constexpr int16_t kNoBorder = 0, kThinBorder = 2, kThickBorder = 4, kDoubleBorder = 6;
constexpr int16_t kBorderTools = 12;
// The border word of a selection whose cells differ.
constexpr uint16_t kMixedBorders = 0xFFFF;

// SetFormatByte's border fields: the top (value 0-15) or left (16-31) side,
// the bottom (0-15) or right (16-31) side; the colour of one side.
constexpr int16_t kTopOrLeft = kFmtBorderStyles, kBottomOrRight = kFmtBorderStyles + 1;
constexpr int16_t kSecondSide = 16;
constexpr int16_t kTopColour = kFmtBorderColours, kLeftColour = kFmtBorderColours + 1,
                  kBottomColour = kFmtBorderColours + 2, kRightColour = kFmtBorderColours + 3;

// The layer's selection.
CellRange selected_range(MemoryRef layer);
// Sets one border field to a value over a range, without checks or undo.
void set_border_field(MemoryRef layer, const CellRange& range, int16_t field, int16_t value);

// Applies a tool (1 to 12) to the front document's selected cells as one
// undoable format change; the command bar is refreshed in every case.
void DoGridMenu(int16_t item);

// Sets the outline of the layer's selection to a style, and a colour (above
// 0: table entry colour - 1) on the same sides. No checks, no undo.
void outline_cells(MemoryRef layer, int16_t style, int16_t colour);

// The tool a border word marks: 1 to 12, 0 for none, -1 for mixed; the word
// that marks a tool.
int16_t grid_tool_of(uint16_t border_word);
uint16_t grid_tool_word(int16_t tool);
