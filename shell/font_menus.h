// The Font (142), Size (143), Style (144), Alignment (146) and text
// alignment (159) menus: applied to the edited text of the front document
// (the entry line or a drawing object's text) or else to its selected cells,
// and their marks.
#pragma once

#include <cstdint>

#include "core/memory_manager.h"
#include "shell/document_facts.h"

// The sizes of the Size menu's items 1-7; a cell size above the largest
// reads as the default.
constexpr int16_t kMenuSizes[] = {9, 10, 12, 14, 18, 24, 36};
constexpr int16_t kLargestCellSize = 200;

// Checks the font (the layer's default for 65535) by its name and marks the
// Size menu for the font and size. A font no longer installed reads as the
// layer's default, a size outside 1..200 as the default size.
void set_font_menu(MemoryRef layer, int16_t font, int16_t size);
// Marks the alignment and text alignment menus for the front document.
void set_Align_menu(const DocumentFacts& facts);
// The Size menu item of a size: 1-7 for the listed sizes, else 12 (Other).
int16_t txtsize_to_menu(int16_t size);
// The size Larger (+1) or Smaller (-1) gives cells showing `size` (the
// default above 200): at most the largest size; 0 stands for the default.
int16_t stepped_cell_size(int16_t size, int16_t step, int16_t default_size);
