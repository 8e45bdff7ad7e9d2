// The command bar: a floating window with the rows of buttons of the shown
// bar, the bar-switch icon, the message area, the cancel and accept boxes and
// the entry line with its scroll bar.
#pragma once

#include <cstdint>

#include "ui/task_manager.h"
#include "platform/controls/controls.h"
#include "platform/menus/menus.h"

struct ButtonRecord;
struct CellRange;

extern WindowRef IconBar;
extern pf::Rect edit_rect;
extern pf::ControlRef icon_scroll;
extern unsigned char cmd_msg[32];

// The bounds of the screen that holds the command bar.
pf::Rect command_bar_screen();

// Geometry of the row under the buttons (T is edit_rect.top).
pf::Rect message_rect();
pf::Rect cancel_box_rect();
pf::Rect accept_box_rect();
// Has the cancel and accept boxes redrawn: shown while a cell is edited, else erased.
void redraw_entry_boxes();
constexpr pf::Rect kBarSwitchZone{2, 0, 24, 20};

int32_t update_CommandBar_proc(EventRecord* event, uintptr_t app_ref, uintptr_t window);
int32_t activate_CommandBar_proc(EventRecord* event, uintptr_t app_ref, uintptr_t window);
int32_t idle_CommandBar_proc(EventRecord* event, uintptr_t app_ref, uintptr_t window);
int32_t click_CommandBar_proc(EventRecord* event, uintptr_t app_ref, uintptr_t window);
int32_t key_CommandBar_proc(EventRecord* event, uintptr_t app_ref, uintptr_t window);
int32_t close_CommandBar_proc(EventRecord* event, uintptr_t app_ref, uintptr_t window);

// The help text of what lies under a point of the command bar, and the
// rectangle it belongs to; false for none.
bool command_bar_help(pf::Point where, unsigned char* text, pf::Rect* area);

void get_cmd_msg(int16_t item);
// The share of the progress bar filled, 0 to 100; nothing for a total of 0.
int16_t progress_percent(int32_t done, int32_t total);
// The text the selection display shows for a range.
void selection_size_text(const CellRange& range, unsigned char* out);

// The bar-switch pop-up (MENU 265), its fixed items then one item per bar.
void fill_bar_menu(pf::MenuRef menu);

// Forgets the window and the bars read, so that the next opening makes the
// window and reads the bar file again as at the program's start (tests).
void forget_command_bar();

// The colour depth the command bar draws at.
int16_t command_bar_depth();

// Typing into the front document's key handling.
void EditKey(unsigned char ch, uint16_t modifiers);
int16_t DoCommand(uint32_t code);
extern uint32_t gLastCommand;

int16_t Button_Command(WindowRef window, int16_t depth, int16_t index, pf::Point where);
bool TrackButtonMouseInIconRect(ButtonRecord* button, WindowRef window, int16_t depth);
