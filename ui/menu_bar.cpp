// The menu bar of MBAR 128 with its submenus, and the menu manager's answers
// the event loop asks for.
#include "ui/menu_bar.h"
#include "ui/system_info.h"
#include "model/cell_format.h"
#include "model/date_serials.h"
#include "model/display_text.h"
#include "model/format_commands.h"
#include "platform/fonts/fonts.h"
#include "platform/menus/menus.h"
#include "platform/resources/resources.h"
#include "platform/system/date_time.h"
#include "resource_ids.h"
#include "ui/app_prefs.h"
#include "ui/ui_services.h"

namespace {

// The moment the Date and Time menus show in each of their formats: a day
// above 12 and a month below it tell the order of day and month apart.
constexpr pf::DateTimeRec kSampleMoment{2026, 1, 31, 13, 30, 55, 7};
constexpr int16_t kShiftCommandItem = 4;
constexpr int kLanguageItem = 18;

void add_submenu(int16_t id) {
    if (pf::get_menu_handle(id)) return;
    if (pf::MenuRef menu = pf::get_menu(id)) pf::insert_menu(menu, pf::kInsertHierarchicalMenu);
}

void fill_font_menu() {
    pf::MenuRef menu = pf::get_menu_handle(kFontMenu);
    if (!menu) return;
    for (const pf::FontFamily& family : pf::font_list()) {
        pf::append_menu_item_text(menu, family.name);
        if (app_prefs.options & kPrefFontsInOwnFace)
            pf::set_menu_item_font(menu, pf::count_menu_items(menu), family.number);
    }
}

void shift_command_item() {
    pf::MenuRef menu = pf::get_menu_handle(kOptionsMenu);
    if (!menu) return;
    pf::set_item_key(menu, kShiftCommandItem, pf::get_item_key(menu, kShiftCommandItem), pf::kMenuShiftModifier);
}

// Names each item of a format menu by the sample moment shown in the item's own
// format, so that the menu shows what choosing it gives; an item with no
// format, or whose format gives no text, keeps its text.
void name_items_by_their_formats(int16_t menu_id, int16_t (*code_of)(int16_t item)) {
    pf::MenuRef menu = pf::get_menu_handle(menu_id);
    uint32_t seconds = 0;
    if (!menu || !pf::date_to_seconds(kSampleMoment, seconds)) return;
    const double sample = serial_of_seconds(seconds, false);
    uint8_t format[kCellFormatSize];
    GetDefaultFormat(format);
    for (int16_t item = 1; item <= pf::count_menu_items(menu); ++item) {
        const int16_t code = code_of(item);
        if (code < 0) continue;
        format[kFmtCode] = uint8_t(code);
        unsigned char text[256];
        get_format_string(text, format, &sample, nullptr);
        if (text[0]) pf::set_menu_item_text(menu, item, std::string_view(reinterpret_cast<char*>(text + 1), text[0]));
    }
}

}  // namespace

void InitAppMenus() {
    if (pf::get_resource(pf::kMenuBarType, kMenuBar)) pf::set_menu_bar_from_resource(kMenuBar);
    for (int16_t id = kDateMenu; id <= kLayerMenu; ++id) add_submenu(id);
    for (int16_t id : {kChartKindMenu, kToolMenu, kShowLayerMenu}) add_submenu(id);
    fill_font_menu();
    name_items_by_their_formats(kDateMenu, date_verb);
    name_items_by_their_formats(kTimeMenu, time_verb);
    shift_command_item();
    dim_unavailable_commands();
    pf::draw_menu_bar();
    ui_services.add_app_menus();
}

void remove_menu_bar() {
    pf::clear_menu_bar();
    pf::draw_menu_bar();
}

void switch_language(int16_t) { remove_menu_bar(); }

int32_t menu_bar_choice(pf::Point where) { return pf::menu_select(where); }

int32_t menu_key_choice(const EventRecord& event) { return pf::menu_event(event); }

void unhilite_menu_bar() { pf::hilite_menu(0); }

int16_t path_pop_up_choice(int16_t menu_id, pf::Point where) {
    pf::MenuRef menu = pf::get_menu(menu_id);
    if (!menu) return 0;
    int32_t choice = pf::pop_up_menu_select(menu, where.v, where.h, 1);
    pf::dispose_menu(menu);
    return int16_t(choice & 0xFFFF);
}

MenuItemState menu_item_state(int16_t menu_id, int16_t item) {
    pf::MenuRef menu = pf::get_menu_handle(menu_id);
    if (!menu || !menu->enabled || item <= 0) return MenuItemState::kMissing;
    return pf::is_menu_item_enabled(menu, item) ? MenuItemState::kEnabled : MenuItemState::kDisabled;
}
