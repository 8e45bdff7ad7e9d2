// Menu items whose commands are not built yet are dimmed rather than doing
// nothing when chosen; Close, Save and Save As are dimmed while no document
// window is open (with one, the document's own state decides). An entry leaves this table when its command is built.
#include "ui/menu_bar.h"

#include "platform/menus/menus.h"
#include "resource_ids.h"
#include "ui/task_manager.h"

namespace {

constexpr int16_t kWholeMenu = 0;

struct PendingItems {
    int16_t menu;
    int16_t first;  // kWholeMenu: the menu's title too
    int16_t last;
};

constexpr PendingItems kPending[] = {
    {150, 3, 6},                   // Chart Options: Data Labels, Axes, Titles
};

// Sets one item, or a whole menu; answers whether a menu title changed.
bool set_enabled(pf::MenuRef menu, int16_t item, bool enabled) {
    bool title_was = menu->enabled;
    if (enabled) pf::enable_menu_item(menu, item);
    else pf::disable_menu_item(menu, item);
    return item == kWholeMenu && title_was != menu->enabled;
}

}  // namespace

void dim_pending_commands() {
    bool titles_changed = false;
    for (const PendingItems& pending : kPending) {
        pf::MenuRef menu = pf::get_menu_handle(pending.menu);
        if (!menu) continue;
        for (int16_t item = pending.first; item <= pending.last; ++item)
            titles_changed |= set_enabled(menu, item, false);
    }
    pf::MenuRef file = pf::get_menu_handle(kFileMenu);
    if (file && !FrontDocWindow()) {
        for (int16_t item : {kFileCloseItem, kFileSaveItem, kFileSaveAsItem}) set_enabled(file, item, false);
    }
    if (titles_changed) pf::draw_menu_bar();
}
