// The recent-documents menu (140), built from the preferences' recent documents.
#include <string>

#include "platform/files/files.h"
#include "platform/menus/menus.h"
#include "resource_ids.h"
#include "shell/shell_commands.h"
#include "ui/app_prefs.h"

void RemovePrefItem(int16_t index) {
    if (index < 0 || index >= kRecentDocuments) return;
    for (int i = index; i < kRecentDocuments - 1; ++i) app_prefs.items[i] = app_prefs.items[i + 1];
    app_prefs.items[kRecentDocuments - 1] = pf::FileSpec{};
    ResetFavoriteMenu();
}

// Menu 140: one item per recent document, then its separator and Clear item,
// which is dimmed while the list is empty.
void ResetFavoriteMenu() {
    pf::MenuRef menu = pf::get_menu_handle(kRecentMenu);
    if (!menu) return;
    int16_t fixed_items = 2;
    int16_t listed = int16_t(pf::count_menu_items(menu) - fixed_items);
    if (listed > 0) pf::delete_menu_items(menu, 1, listed);
    for (int i = recent_document_count() - 1; i >= 0; --i) {
        pf::insert_menu_item_text(menu, "", 0);
        pf::set_menu_item_utf8_text(menu, 1, pf::file_spec_shown_utf8(app_prefs.items[i]));
    }
    int16_t clear_item = pf::count_menu_items(menu);
    if (recent_document_count() > 0) pf::enable_menu_item(menu, clear_item);
    else pf::disable_menu_item(menu, clear_item);
}
