// Menus: check marks and enabling, menus in and out of the bar, pop-up menus,
// the font menu with the last font used at its top and the size pop-up.
#include <algorithm>
#include <cstdlib>
#include <string>

#include "ui/dialog_items.h"
#include "ui/lists_and_menus.h"
#include "ui/menu_bar.h"
#include "core/string_utils.h"
#include "ui/task_manager.h"
#include "platform/controls/controls.h"
#include "platform/events/keyboard.h"
#include "platform/fonts/fonts.h"
#include "platform/text/text.h"
#include "resource_ids.h"

namespace {

constexpr int16_t kStandardSizeCount = 7;
constexpr int16_t kCustomSizeItems = 2;  // a custom size and its separator line
constexpr int16_t kSavedFontSearch = 4;
constexpr unsigned char kEllipsis = 0xC9;

struct SavedMenuFont {
    int16_t font = pf::kSystemFont;
    int16_t size = 0;
} saved_menu_font;

// Close, Save and Save As need a document: dimmed while no document window is
// open (with one, the document's own state decides).
void dim_document_commands() {
    pf::MenuRef file = pf::get_menu_handle(kFileMenu);
    if (!file || FrontDocWindow()) return;
    for (int16_t item : {kFileCloseItem, kFileSaveItem, kFileSaveAsItem}) pf::disable_menu_item(file, item);
}

// The whole number an item's text starts with, 0 for none.
int16_t item_number(pf::MenuRef menu, int16_t item) {
    return int16_t(std::atoi(pf::get_menu_item_text(menu, item).c_str()));
}

bool is_separator_text(const std::string& text) { return !text.empty() && text[0] == '-'; }

void check_only(pf::MenuRef menu, int16_t on) {
    int16_t count = pf::count_menu_items(menu);
    for (int16_t item = 1; item <= count; ++item) pf::check_menu_item(menu, item, item == on);
}

}  // namespace

void check_menu_item(pf::MenuRef menu, int16_t first, int16_t last, int16_t on) {
    if (!menu) return;
    for (int16_t item = first; item <= last; ++item) pf::check_menu_item(menu, item, item == on);
}

int16_t check_menu_enable(pf::MenuRef menu) {
    if (!menu || menu->enabled) return 0;
    pf::enable_menu_item(menu, 0);
    return 1;
}

int16_t check_menu_disable(pf::MenuRef menu) {
    if (!menu || !menu->enabled) return 0;
    pf::disable_menu_item(menu, 0);
    return 1;
}

void enable_all_items(pf::MenuRef menu) {
    for (int16_t item = 1; menu && item <= pf::count_menu_items(menu); ++item) pf::enable_menu_item(menu, item);
}

void disable_all_items(pf::MenuRef menu) {
    for (int16_t item = 1; menu && item <= pf::count_menu_items(menu); ++item) pf::disable_menu_item(menu, item);
}

void remove_menu_items(pf::MenuRef menu, int16_t first) {
    if (!menu) return;
    first = std::max<int16_t>(first, 1);
    int16_t count = pf::count_menu_items(menu);
    if (count >= first) pf::delete_menu_items(menu, first, int16_t(count - first + 1));
}

int16_t find_font_name(pf::MenuRef menu, const unsigned char* name) {
    if (!menu) return 0;
    for (int16_t item = pf::count_menu_items(menu); item >= 1; --item)
        if (pf::equal_text(pf::get_menu_item_text(menu, item), pstring_text(name), false, false)) return item;
    return 0;
}

void set_outline_item(pf::MenuRef menu, const unsigned char* font_name, int16_t size, int16_t item) {
    bool found = false;
    int16_t font = pf::font_number(pstring_text(font_name), &found);
    pf::set_item_style(menu, item, found && pf::real_font(font, size) ? pf::kOutline : 0);
}

void set_other_item(pf::MenuRef menu, const unsigned char* text, int16_t item, int16_t value, bool show_value) {
    std::string label = pstring_text(text);
    if (show_value) label += " (" + std::to_string(value) + ")";
    label += char(kEllipsis);
    pf::set_menu_item_text(menu, item, label);
}

void SetMenuSize(pf::MenuRef menu, int16_t size) {
    if (!menu) return;
    saved_menu_font = SavedMenuFont{menu->font, menu->size};
    pf::set_menu_font(menu, pf::kApplFont, size);
}

void RestoreMenuSize(pf::MenuRef menu) {
    if (menu) pf::set_menu_font(menu, saved_menu_font.font, saved_menu_font.size);
}

int16_t Do_Popup(const pf::Rect* rect, int16_t menu_id, bool load, int16_t current, int16_t item_under_point,
                 int16_t size) {
    pf::MenuRef menu = load ? pf::get_menu(menu_id) : pf::get_menu_handle(menu_id);
    if (!menu) return 0;
    if (load) pf::insert_menu(menu, pf::kInsertHierarchicalMenu);
    if (current >= 0) check_only(menu, current);
    pf::Point corner{rect->bottom, int16_t(rect->left + 1)};
    pf::local_to_global(corner);
    corner.v = std::max<int16_t>(corner.v, pf::menu_bar_height());
    int16_t pop_item = item_under_point > 0 ? item_under_point : 1;
    if (rect->bottom == rect->top && current > 0) pop_item = current;
    if (size) SetMenuSize(menu, size);
    int32_t choice = pf::pop_up_menu_select(menu, corner.v, corner.h, pop_item);
    if (size) RestoreMenuSize(menu);
    if (load) {
        pf::delete_menu(menu_id);
        pf::dispose_menu(menu);
    }
    return int16_t(choice & 0xFFFF);
}

void adjustSizePopup(pf::DialogRef dialog, int16_t item, int16_t size) {
    pf::MenuRef menu = GetContolPopMenu(dialog, item);
    if (!menu) return;
    check_only(menu, 0);
    int16_t count = pf::count_menu_items(menu);
    int16_t match = 0;
    for (int16_t i = 1; i <= count && !match; ++i)
        if (item_number(menu, i) == size && !is_separator_text(pf::get_menu_item_text(menu, i))) match = i;
    std::string size_text = std::to_string(size);
    if (match) {
        if (count > kStandardSizeCount && match > kCustomSizeItems) {
            pf::delete_menu_items(menu, 1, kCustomSizeItems);
            match = int16_t(match - kCustomSizeItems);
        }
    } else if (count == kStandardSizeCount) {
        pf::insert_menu_item(menu, "(-", 0);
        pf::insert_menu_item_text(menu, size_text, 0);
        match = 1;
    } else {
        pf::set_menu_item_text(menu, 1, size_text);
        match = 1;
    }
    pf::check_menu_item(menu, match, true);
    pf::ControlRef control = pf::get_dialog_item_control(dialog, item);
    pf::set_control_maximum(control, pf::count_menu_items(menu));
    pf::set_control_value(control, match);
    pf::draw_one_control(control);
}

void editSizePopup(pf::DialogRef dialog, int16_t item) {
    pf::MenuRef menu = GetContolPopMenu(dialog, item);
    pf::ControlRef control = pf::get_dialog_item_control(dialog, item);
    if (!menu || !control) return;
    std::string chosen = pf::get_menu_item_text(menu, int16_t(pf::get_control_value(control)));
    pf::set_dialog_item_text(dialog, int16_t(item - 1), chosen);
    pf::select_dialog_item_text(dialog, int16_t(item - 1), 0, 32000);
}

void SavedFontNameUsed(pf::MenuRef menu, const unsigned char* name, int16_t, int16_t count) {
    if (!menu || !name || name[0] == 0) return;
    std::string font = pstring_text(name);
    int16_t searched = std::min<int16_t>(kSavedFontSearch, pf::count_menu_items(menu));
    bool present = false;
    for (int16_t item = 1; item <= searched; ++item) {
        std::string text = pf::get_menu_item_text(menu, item);
        present = present || text == font;
        if (!is_separator_text(text)) continue;
        if (present) return;
        if (item == count + 1) pf::delete_menu_item(menu, count);
        pf::insert_menu_item_text(menu, font, 0);
        return;
    }
    pf::insert_menu_item(menu, "(-", 0);
    pf::insert_menu_item_text(menu, font, 0);
}

// ---- Keyboard ----------------------------------------------------------------------

bool OptionKeyDown() { return pf::key_is_down(pf::kKeyCodeOption); }
bool CommandKeyDown() { return pf::key_is_down(pf::kKeyCodeCommand); }
bool CommandPeriod() { return CommandKeyDown() && pf::key_is_down(pf::kKeyCodePeriod); }
bool is_an_arrow(unsigned char ch) { return ch >= pf::kLeftArrowChar && ch <= pf::kDownArrowChar; }

void dim_unavailable_commands() { dim_document_commands(); }
