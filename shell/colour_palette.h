// The colour palette: a floating window of swatches showing the selection's
// text colour, fill (colours and pattern), line (colours and pattern), line
// size and frame type; a click on a swatch pops up its menu and applies the
// choice. Negative values (not applicable or mixed) are drawn grey and
// cannot be clicked.
#pragma once

#include <cstdint>

#include "ui/task_manager.h"
#include "platform/draw/draw.h"

extern WindowRef ColorPalette;

struct DocumentFacts;
// The selection's values shown (called after each change of selection).
void show_selection_in_color_palette(const DocumentFacts& facts);
// Redraws the swatches when the palette is open.
void draw_color_palette();

// Swatch items 1 to 9 in hit-test order, rectangles in a window whose right
// edge is `right`; the item under a point, 0 for none.
pf::Rect color_item_rect(int16_t item, int16_t right);
int16_t find_color_item(pf::Point where, int16_t right, bool text_colour_shown);

// Swatch drawings, shared with the object dialogs.
void draw_color_block(const pf::Rect& rect, int16_t value);
void draw_pattern_block(const pf::Rect& rect, int16_t value);

int32_t close_Color_proc(EventRecord* event, uintptr_t, uintptr_t);
int32_t click_Color_proc(EventRecord* event, uintptr_t, uintptr_t);
