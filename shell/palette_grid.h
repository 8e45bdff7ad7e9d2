// The box geometry shared by the floating tool, grid and options palettes and
// by the palette pop-up menus (tools 191, borders 192, chart kinds 190): three
// columns of 22 x 20 boxes at a pitch of 23 x 21, four rows (five for the
// options window and the chart kinds), with grid lines between the boxes.
#pragma once

#include <cstdint>

#include "platform/draw/draw.h"
#include "platform/menus/menus.h"
#include "resource_ids.h"

constexpr int16_t kPaletteColumns = 3;
constexpr int16_t kToolRows = 4, kLongPaletteRows = 5;

// The size of a palette of that many rows: 68 x 83 for four rows.
int16_t palette_width();
int16_t palette_height(int16_t rows);

// The box of an item (1 .. 3 x rows) relative to the palette; empty for no item.
void FindToolBox(int16_t rows, int16_t item, pf::Rect* box);
// The item under a point relative to the palette, 0 when none.
int16_t FindTItem(int16_t rows, pf::Point where);

// The grid lines between the boxes of a palette drawn at `r`, grey when not active.
void draw_palette_lines(const pf::Rect& r, int16_t rows, bool active);
// The palettes' background.
void paint_palette_background(const pf::Rect& r);
// A floating palette's face in the current port: background and grid lines;
// answers its rectangle.
pf::Rect paint_palette_face(int16_t rows);
// The picture resource of that id drawn at its own size from r's top-left.
void draw_palette_picture(int16_t id, const pf::Rect& r);

// Tracks the mouse over the boxes of the current port's palette while the
// button is down, inverting the box under it; answers the item released on, 0
// outside the boxes.
int16_t SelectTools(int16_t rows);

// Draws a palette menu's face into its rectangle.
void DoDrawMsg(pf::MenuRef menu, const pf::Rect& r);
