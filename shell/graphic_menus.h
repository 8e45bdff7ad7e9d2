// The graphical pop-up menus: a 16 x 16 grid of the program's colours (menus
// 145, 181, 182, 187, 188) and an 8 x 5 grid of its patterns (183, 186), each
// remembering the choice it shows as current.
#pragma once

#include <cstdint>

#include "platform/menus/menus.h"
#include "ui/colours.h"
#include "resource_ids.h"

// Item 1 is none; colour item n is table entry n - 2, pattern item n is
// pattern n - 1 of the pattern list (kColourItems and kPatternItems of
// ui/colours.h).

// Boxes of an item relative to the menu's top-left; an empty rectangle for no item.
void FindColorBox(int16_t item, pf::Rect* box);
void FindPatBox(int16_t item, pf::Rect* box);
// The item under a point relative to the menu's top-left, 0 when none.
int16_t FindColorItem(pf::Point where);
int16_t FindPatItem(pf::Point where);

// Places a pop-up menu of the menu's size with its top-left at (top, left),
// moved to stay on the screen; answers the item.
int16_t DoPopUpMsg(pf::MenuRef menu, pf::Rect* menu_rect, int16_t top, int16_t left, int16_t item);

// The remembered choice of a colour or pattern menu (below 1: none).
void init_color_choice(int16_t menu, int16_t item);
void init_pat_choice(int16_t menu, int16_t item);
int16_t get_start_color(int16_t menu);
int16_t get_start_pat(int16_t menu);


// The colour grid's header for an item: its sample, its number, its box framed.
void draw_choice(int16_t item, const pf::Rect& menu_rect);
// The word for none centred in a box.
void DrawNoneRect(const pf::Rect& box);
