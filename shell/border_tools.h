// The twelve border tools of the grid palette and the borders pop-up menu:
// each sets sides of the selected cells' border words (tools 11 and 12 the
// outline of the selection), and the tool a border word marks.
#pragma once

#include <cstdint>

#include "core/memory_manager.h"

// Line styles of a border side.
constexpr int16_t kNoBorder = 0, kThinBorder = 2, kThickBorder = 4, kDoubleBorder = 6;
constexpr int16_t kBorderTools = 12;
// The border word of a selection whose cells differ.
constexpr uint16_t kMixedBorders = 0xFFFF;

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
