// Lists: a grid of cells (rows and columns) holding text, shown in a rectangle of
// a window with a vertical scroll bar beside it; cells are selected by clicking
// (one, or several with Shift and Command), by arrow keys and by typing the start
// of a cell's text; a second click on the same cell soon after is a double click.
// A list definition procedure may draw the cells instead of the standard text.
//
// Cells are (v = row, h = column) from 0; rectangles are local to the window's port.
#pragma once

#include "platform/types.h"
#include "platform/windows/windows.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pf {

struct Control;
struct ListRec;
using ListHandle = ListRec*;

// Messages of a list definition procedure.
enum : int16_t { kListInitMsg = 0, kListDrawMsg = 1, kListHiliteMsg = 2, kListCloseMsg = 3 };
using ListDefProc = void (*)(int16_t message, bool selected, const Rect& cell_rect, Point cell, std::string_view data,
                             ListHandle list);

// Width of the scroll bar, which stands just right of the view (over its last pixel column).
constexpr int16_t kListScrollBarWidth = 16;

// Selection flags.
constexpr uint8_t kListOnlyOne = 0x80;  // at most one selected cell

struct ListRec {
    WindowRef window = nullptr;
    Rect view{};        // the cells' area, without the scroll bar
    Point cell_size{};  // v = height, h = width
    int16_t rows = 0, columns = 0;
    int16_t top_row = 0;  // the first row shown
    std::vector<std::string> cells;  // row by row
    std::vector<uint8_t> selected;
    Control* v_scroll = nullptr;
    uint8_t sel_flags = 0;
    bool draw_on = true;
    bool active = true;
    ListDefProc ldef = nullptr;
    uintptr_t refcon = 0;
    Point last_click{-1, -1};
    uint32_t last_click_ticks = 0;
    std::string typed;  // typing selection, while keys come quickly
    uint32_t typed_ticks = 0;
};

// A list of `rows` x `columns` empty cells in `view` (local to the window's port);
// a cell_size of 0 takes the view's width over the columns and the font's line
// height. With scroll_vertical a scroll bar 16 pixels wide stands right of the view.
ListHandle new_list(const Rect& view, int16_t rows, int16_t columns, Point cell_size, ListDefProc ldef,
                    WindowRef window, bool draw_it, bool scroll_vertical);
void dispose_list(ListHandle list);

// Adds `count` rows before `row` (past the end: at the end); answers the first new row.
int16_t list_add_row(ListHandle list, int16_t count, int16_t row);
// Deletes `count` rows from `row`; count 0 deletes every row.
void list_delete_row(ListHandle list, int16_t count, int16_t row);
int16_t list_rows(ListHandle list);

void list_set_cell(ListHandle list, Point cell, std::string_view data);
std::string list_get_cell(ListHandle list, Point cell);

void list_set_select(ListHandle list, bool select, Point cell);
bool list_is_selected(ListHandle list, Point cell);
// The first selected cell at or after `cell` (row by row) when `next`, else whether
// `cell` itself is selected. `cell` becomes the cell found.
bool list_get_select(ListHandle list, bool next, Point& cell);
// Every selected row of column 0.
std::vector<int16_t> list_selected_rows(ListHandle list);

// A click at a local point: selects (Shift extends, Command toggles, dragging
// sweeps) and tracks the scroll bar. Answers true for a double click.
bool list_click(ListHandle list, Point where, uint16_t modifiers);
Point list_last_click(ListHandle list);
// Up and down arrows move the selection one row (Shift extends); Home, End, page
// keys jump; printable characters select the first row whose text starts with what
// was typed (case ignored). Answers whether the key was used.
bool list_key(ListHandle list, unsigned char ch, uint16_t modifiers);

// Scrolls by rows (positive: down the list) and scrolls the first selection into view.
void list_scroll(ListHandle list, int16_t rows);
void list_auto_scroll(ListHandle list);
// The cell's rectangle (local; it may lie outside the view).
Rect list_cell_rect(ListHandle list, Point cell);

void list_draw_cell(ListHandle list, Point cell);
// Draws every shown cell and the scroll bar.
void list_update(ListHandle list);
void list_set_draw_mode(ListHandle list, bool draw);
void list_activate(ListHandle list, bool active);
// Moves the view and its scroll bar.
void list_move(ListHandle list, const Rect& view);

}  // namespace pf
