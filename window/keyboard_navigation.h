// Keys that move the active cell and the selection, the view commands of the
// navigation keys, and the searches for the last used row and cells.
#pragma once

#include <cstdint>

#include "core/memory_manager.h"
#include "model/cell_range.h"

// Character codes of the keys.
constexpr unsigned char kKeyHome = 1;
constexpr unsigned char kKeyEnter = 3;
constexpr unsigned char kKeyEnd = 4;
constexpr unsigned char kKeyBackspace = 8;
constexpr unsigned char kKeyTab = 9;
constexpr unsigned char kKeyShiftTab = 10;
constexpr unsigned char kKeyPageUp = 11;
constexpr unsigned char kKeyPageDown = 12;
constexpr unsigned char kKeyReturn = 13;
constexpr unsigned char kKeyShiftReturn = 14;
constexpr unsigned char kKeyIgnored = 26;
constexpr unsigned char kKeyEscape = 27;
constexpr unsigned char kKeyLeft = 28;
constexpr unsigned char kKeyRight = 29;
constexpr unsigned char kKeyUpArrow = 30;
constexpr unsigned char kKeyDownArrow = 31;

// Preference (first options word): Enter moves the active cell in a single-cell selection.
constexpr uint32_t kPrefEnterMoves = 0x00020000;

// The view commands of nav_command.
enum NavCommand : int16_t {
    kNavShowHome = 1,
    kNavSelectHome = 2,
    kNavNextPage = 3,
    kNavPreviousPage = 4,
    kNavShowLastRow = 5,
    kNavSelectLastRow = 6,
    kNavShowActive = 7,
    kNavNextRow = 8,
    kNavPreviousRow = 9,
};

// Moves the active cell or the selection by a key, with the modifier keys
// held now (SheetArrowKeys) or given.
void SheetArrowKeys(unsigned char key, MemoryRef layer);
void sheet_arrow_keys(unsigned char key, uint16_t modifiers, MemoryRef layer);
void nav_command(int16_t command, MemoryRef layer);

// The last row with a row record; the first (first != 0) or last row with a
// value in a column; the first or last column with a value in a row. -1 when none.
int16_t FindBottomRow(MemoryRef layer);
int16_t FindBottomCell(int16_t first, int16_t column, MemoryRef layer);
int16_t FindRightCell(int16_t first, int16_t row, MemoryRef layer);

// The row after which a page-down or page-up shows its page (a top row), or
// -1 when nothing moves; `bounds` are the last rows of the pages, ascending.
int32_t next_page_top(const int16_t* bounds, int count, int16_t top);
int32_t previous_page_top(const int16_t* bounds, int count, int16_t top);
