// The cell borders dialog: the line style and colour of each side of the
// selected cells, of every side at once or of the selection's outline, with a
// sample of six cells; applied as one undoable format change.
#pragma once

#include <cstdint>

#include "core/memory_manager.h"

// Entries of the line and colour choices.
enum : int16_t { kAllSides = 0, kOutlineSides = 1, kLeftSide = 2, kTopSide = 3, kRightSide = 4, kBottomSide = 5 };
constexpr int16_t kBorderEntries = 6;

// Line choice codes (items of the line pop-up; -1 and 0 leave a side alone).
enum : int16_t {
    kLineMixed = -1,
    kLineUnchanged = 0,
    kLineRemove = 1,
    kLineHair = 2,
    kLineThin = 3,
    kLineGray = 4,
    kLineThick = 5,
    kLineDouble = 6
};

// The choices the dialog edits: a line code and a colour (colour-menu item
// - 1: 0 none, c table entry c - 1) per entry, and the sides (left, top,
// right, bottom) on which the selected cells differ.
struct BorderChoices {
    int16_t line_param[kBorderEntries] = {};
    int16_t color_param[kBorderEntries] = {};
    int16_t mixed_param[4] = {};
    bool colours_changed = false;
    int16_t opened_line[kBorderEntries] = {};  // the codes the dialog opened with
};

// Line codes 2 to 6 as border styles; every other code unchanged.
int16_t menu2grid(int16_t code);
// A border style as a line code.
int16_t grid2menu(int16_t style);

// The choices the dialog opens with for the layer's selection: the sides of
// the selection's format as codes, -1 where the cells differ (not looked at
// for a selection that reaches the last row or column), and every side's
// code in the all-sides entry when the four are equal.
BorderChoices read_border_choices(MemoryRef layer);
// Whether the four sides have one code (the dialog then opens on radio 22).
bool same_line_everywhere(const BorderChoices& choices);

// Applies the choices to the layer's selection with undo: 1 when applied, 0
// when refused (a protected workbook or locked cells). The side colours are
// cleared only when no side keeps a line: a side left mixed, or reset to no
// change where the cells have a line, keeps its lines and their colours.
int16_t apply_border_choices(MemoryRef layer, const BorderChoices& choices);

// The dialog over the layer's selection: 1 when applied, 0 when cancelled or refused.
int16_t border_dialog(MemoryRef layer);
