// Menus: the menu bar across the top of the screen and the menus it pulls down,
// pop-up menus at a point, hierarchical submenus, key equivalents, marks, item
// styles, fonts, enable states and command ids. Menus are drawn straight onto the
// screen over whatever lies there; the pixels beneath are saved when a menu opens
// and put back when it closes.
//
// A menu is drawn, sized and hit-tested by its definition procedure: the standard
// one (definition 0) or one registered under an id, so that graphical menus (grids
// of colours or patterns) answer the same messages.
//
// Items count from 1. A choice is answered as (menu id << 16) | item, 0 for none.
#pragma once

#include "platform/draw/draw.h"
#include "platform/events/events.h"
#include "platform/fonts/fonts.h"
#include "platform/resources/resource_format.h"
#include "platform/text/scripts.h"
#include "platform/types.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pf {

struct Menu;
using MenuRef = Menu*;

// Messages of a menu definition procedure.
enum : int16_t {
    kMenuDrawMsg = 0,
    kMenuSizeMsg = 2,
    kMenuPopUpMsg = 3,
    kMenuThemeSavvyMsg = 7,
    kMenuInitMsg = 8,
    kMenuDisposeMsg = 9,
    kMenuFindItemMsg = 10,
    kMenuHiliteItemMsg = 11,
};
constexpr uint32_t kThemeSavvyMenuResponse = 0x7473;

// What a message gives the procedure and what it answers.
struct MenuDefParams {
    Point hit{};                // find item, highlight: the mouse, global
    int16_t top = 0, left = 0;  // pop up: where the chosen item goes
    int16_t pop_item = 0;       // pop up: the item to place there
    int16_t previous_item = 0;  // highlight: the item highlighted before (0 none)
    int16_t new_item = 0;       // highlight: the item to highlight now (0 none)
    // Find item answers: the item under the mouse, the item that a release now
    // would choose (0 none), and the selected item's rectangle, global.
    int16_t item_under_mouse = 0;
    int16_t item_selected = 0;
    Rect item_rect{};
    uint32_t answer = 0;  // theme savvy
};

// `menu_rect` is global: draw, find item and highlight read it; pop up sets it.
// Size sets the menu's width and height (menu_width, menu_height).
using MenuDefProc = void (*)(int16_t message, MenuRef menu, Rect& menu_rect, MenuDefParams& params);

struct MenuItem {
    std::string text;  // Mac Roman, or UTF-8 with `utf8`; "-" draws a separator line
    bool utf8 = false;       // drawn in the fonts of the scripts that spell its letters
    uint8_t key = 0;         // key equivalent, 0 for none
    uint8_t modifiers = 0;   // kMenuShiftModifier ... beside Command
    uint8_t mark = 0;        // kCheckMark, kDiamondMark, another character or 0
    uint8_t style = 0;       // face bits
    int16_t font = -1;       // item font, -1: the menu's
    int16_t icon = 0;
    int16_t submenu = 0;     // id of a hierarchical submenu, 0 none
    FourCC command = 0;
    bool enabled = true;
};

struct Menu {
    int16_t id = 0;
    std::string title;  // Mac Roman
    std::vector<MenuItem> items;
    bool enabled = true;  // the whole menu (its title is dimmed when not)
    int16_t definition = 0;
    MenuDefProc proc = nullptr;
    int16_t font = kSystemFont;
    int16_t size = 0;  // 0: 12
    int16_t menu_width = 0, menu_height = 0;  // from the size message; 0 before it
    int16_t minimum_width = 0;  // a pop-up is at least as wide as its button
    uintptr_t refcon = 0;
};

// The key equivalent as the keys a Linux keyboard presses, e.g. "Ctrl+Shift+S".
std::string key_equivalent_text(const MenuItem& item);

// ---- Making menus ---------------------------------------------------------------

// An empty menu with the standard definition.
MenuRef new_menu(int16_t id, std::string_view title);
// A menu from MENU id; null when missing or damaged.
MenuRef get_menu(int16_t resource_id);
void dispose_menu(MenuRef menu);

// Definition procedures registered under an id; a MENU naming the id uses it.
void register_menu_definition(int16_t definition, MenuDefProc proc);
void set_menu_definition(MenuRef menu, MenuDefProc proc);
// The standard definition, for custom procedures that draw some items in its way.
void standard_menu_definition(int16_t message, MenuRef menu, Rect& menu_rect, MenuDefParams& params);

// ---- Items ----------------------------------------------------------------------

// Adds items written with metacharacters: items are separated by ';' or Return;
// within an item '(' disables it, '/C' gives key equivalent C, '!C' mark C,
// '<B' a style (B I U O S), '^n' an icon; an item "-" (or "(-") is a separator.
void append_menu(MenuRef menu, std::string_view data);
void insert_menu_item(MenuRef menu, std::string_view data, int16_t after_item);
// Adds one item whose text is taken as it stands (names of files, layers ...).
void append_menu_item_text(MenuRef menu, std::string_view text);
void insert_menu_item_text(MenuRef menu, std::string_view text, int16_t after_item);
void delete_menu_item(MenuRef menu, int16_t item);
void delete_menu_items(MenuRef menu, int16_t first, int16_t count);
int16_t count_menu_items(MenuRef menu);

// The item record, null for an item out of range.
MenuItem* menu_item(MenuRef menu, int16_t item);

void set_menu_item_text(MenuRef menu, int16_t item, std::string_view text);
std::string get_menu_item_text(MenuRef menu, int16_t item);
void set_menu_title(MenuRef menu, std::string_view title);

// Item 0 stands for the whole menu.
void enable_menu_item(MenuRef menu, int16_t item);
void disable_menu_item(MenuRef menu, int16_t item);
bool is_menu_item_enabled(MenuRef menu, int16_t item);  // the menu's state too

void check_menu_item(MenuRef menu, int16_t item, bool checked);
void set_item_mark(MenuRef menu, int16_t item, uint8_t mark);
uint8_t get_item_mark(MenuRef menu, int16_t item);
void set_item_style(MenuRef menu, int16_t item, uint8_t style);
uint8_t get_item_style(MenuRef menu, int16_t item);
void set_menu_item_font(MenuRef menu, int16_t item, int16_t font);
// The item shows a text of a script (a file's name, a window's title): its
// bytes, in that script's font.
void set_menu_item_script_text(MenuRef menu, int16_t item, const ScriptText& text);
// The item shows a text as it reads whatever its scripts (a name typed in
// several): UTF-8, each stretch in the font of a script that spells it
// (platform/draw/unicode_text.h).
void set_menu_item_utf8_text(MenuRef menu, int16_t item, std::string_view utf8);
void set_item_key(MenuRef menu, int16_t item, uint8_t key, uint8_t modifiers);
uint8_t get_item_key(MenuRef menu, int16_t item);
void set_menu_item_command_id(MenuRef menu, int16_t item, FourCC command);
FourCC get_menu_item_command_id(MenuRef menu, int16_t item);
void set_menu_item_submenu(MenuRef menu, int16_t item, int16_t submenu_id);
// The menu's font and size (small pop-ups); size 0 means 12.
void set_menu_font(MenuRef menu, int16_t font, int16_t size);

// ---- The menu list and the bar --------------------------------------------------

constexpr int16_t kInsertHierarchicalMenu = -1;

// Inserts a menu into the bar before the menu `before_id` (0: at the end, before
// the Help menu), or with kInsertHierarchicalMenu into the list of submenus and
// pop-ups, which take part in key equivalents and hierarchical lookups but have
// no title in the bar.
void insert_menu(MenuRef menu, int16_t before_id);
// Takes a menu out of the bar or the submenu list (it is not disposed).
void delete_menu(int16_t id);
// A menu in the bar or the submenu list, or null.
MenuRef get_menu_handle(int16_t id);
// The ids of the bar's menus, left to right.
std::vector<int16_t> menu_bar_ids();
// Loads the menus of MBAR id and puts them in the bar (after what is there). False
// when the MBAR or one of its menus is missing.
bool set_menu_bar_from_resource(int16_t mbar_id);
// Removes and disposes every menu of the bar and the submenu list.
void clear_menu_bar();
void draw_menu_bar();
// Highlights the title of a bar menu (0: none).
void hilite_menu(int16_t id);
// The bar menu whose title is highlighted (0: none).
int16_t hilited_menu();
// The title's rectangle in the bar, global; empty when the menu is not in the bar.
Rect menu_title_rect(int16_t id);

// The Help menu: made on first use, always the last menu of the bar, titled
// "Help"; the application appends its items.
MenuRef help_menu();
int16_t help_menu_id();

// ---- Choosing --------------------------------------------------------------------

// Tracks the mouse from a mouse-down in the menu bar until release; answers the
// choice (menu id << 16 | item) and leaves the chosen menu's title highlighted,
// or 0 (no title highlighted) when nothing enabled was chosen. A click that lets
// go on a title (or a quick click in place) leaves the menu open: then the next
// click chooses (on an item), switches menus (on a title) or closes (outside; a
// second click on the open menu's title), the mouse highlights items and opens
// submenus as it passes, and the keys Up/Down (the enabled items), Right/Left
// (into and out of submenus, else the next and previous title), Return/Enter
// (choose) and Escape or Command-period (close) work the open menu.
int32_t menu_select(Point start);
// The choice of a key equivalent: `ch` with the event's modifiers (Command held
// unless the item asks for none). Disabled items and menus answer 0.
int32_t menu_key(unsigned char ch, uint16_t modifiers);
// menu_key for a key-down event.
int32_t menu_event(const EventRecord& event);
// Pops a menu up with item `pop_up_item` at (top, left), global, never above the
// bottom of the menu bar; tracks while the button is down, and after a click in
// place stays open for the next click or the keys as menu_select does. The menu
// need not be in the bar. Answers the choice or 0.
int32_t pop_up_menu_select(MenuRef menu, int16_t top, int16_t left, int16_t pop_up_item);
// The height the menu takes on the screen, its items measured.
int16_t menu_height(MenuRef menu);

// The (menu, item) of a command id among the bar's and the submenus' menus; false
// when no item has it. `nth` counts matches from 1.
bool get_index_menu_item_with_command_id(FourCC command, int nth, MenuRef* menu, int16_t* item);
void enable_menu_command(FourCC command, bool enable);

// Forgets every menu (tests, shutdown).
void menus_reset();

}  // namespace pf
