// What the menu module's files share: the menu list, the bar's layout, and the
// screen pixels saved beneath an open menu.
#pragma once

#include "platform/menus/menus.h"

#include <vector>

namespace pf::menus_detail {

struct MenuList {
    std::vector<MenuRef> bar;           // left to right, the Help menu last when made
    std::vector<MenuRef> hierarchical;  // submenus and pop-ups
    int16_t hilited = 0;                // the bar menu whose title is highlighted
    MenuRef help = nullptr;
};
MenuList& menu_list();

// Every menu of the bar and of the submenu list.
std::vector<MenuRef> all_menus();

// The definition procedure a menu answers with.
MenuDefProc definition_of(MenuRef menu);
// Sends the size message when the menu has no size yet (or `force`).
void ensure_menu_size(MenuRef menu, bool force = false);
// A menu's size is computed again before it is next shown.
void invalidate_menu_size(MenuRef menu);

// Whether an item is a separator line (its text "-").
bool is_separator(const MenuItem& item);
// The rectangle of an item of a standard-definition menu placed at menu_rect, global.
Rect standard_item_rect(MenuRef menu, const Rect& menu_rect, int16_t item);

// Draws one title of the bar, highlighted or not.
void draw_menu_title(MenuRef menu, bool hilited);

// Screen pixels beneath a menu, put back when it closes.
struct SavedPixels {
    Rect rect{};
    std::vector<uint32_t> pixels;
};
SavedPixels save_screen_pixels(const Rect& global);
void restore_screen_pixels(const SavedPixels& saved);

// A port on the whole screen with local = global coordinates.
struct ScreenPort {
    ScreenPort();
    ~ScreenPort();
    Port port;
    PortScope scope;
};

}  // namespace pf::menus_detail
