// Menu enabling: the menus enabled, dimmed, named and checked to fit the front
// window, the selection and the clipboard; the menu bar switched off around
// modal dialogs; the Size menu's marks.
#include <algorithm>
#include <iterator>
#include <string>

#include "ui/lists_and_menus.h"
#include "ui/menu_bar.h"
#include "ui/system_info.h"
#include "ui/task_manager.h"
#include "editing/editing_commands.h"
#include "model/layer.h"
#include "model/layer_use.h"
#include "objects/objects.h"
#include "platform/menus/menus.h"
#include "platform/resources/resources.h"
#include "ui/app_prefs.h"
#include "shell/button_states.h"
#include "shell/document_facts.h"
#include "shell/menu_enabling.h"

#include "editing/find_window.h"
#include "shell/shell_commands.h"
#include "shell/shell_services.h"
#include "spelling/spelling.h"
#include "shell/font_menus.h"
#include "shell/format_menus.h"
#include "shell/graphic_menus.h"
#include "window/front_document.h"
#include "resource_ids.h"

namespace {

constexpr int16_t kSetPrintAreaText = 24;
constexpr int16_t kClearPrintAreaText = 25;
constexpr uint32_t kLayerInOwnWindow = 0x2000;
constexpr int16_t kEditingDimmedView[] = {kViewFirstCellItem, kViewGoToItem};
constexpr int16_t kOtherSizeText = 24;

pf::MenuRef menu(int16_t id) { return pf::get_menu_handle(id); }

void set_items(int16_t id, bool enabled) {
    if (pf::MenuRef m = menu(id)) {
        if (enabled) enable_all_items(m);
        else disable_all_items(m);
    }
}

void set_item(int16_t id, int16_t item, bool enabled) {
    pf::MenuRef m = menu(id);
    if (!m) return;
    if (enabled) pf::enable_menu_item(m, item);
    else pf::disable_menu_item(m, item);
}

void check(int16_t id, int16_t item, bool on) {
    if (pf::MenuRef m = menu(id)) pf::check_menu_item(m, item, on);
}

void set_range(int16_t id, int16_t first, bool enabled) {
    pf::MenuRef m = menu(id);
    for (int16_t i = first; m && i <= pf::count_menu_items(m); ++i) set_item(id, i, enabled);
}

void hilite_without_document(WindowRef window) {
    set_items(kAppleMenu, true);
    set_items(kFileMenu, false);
    for (int16_t i = kFileNewItem; i <= kFileRecentItem; ++i) set_item(kFileMenu, i, true);
    set_item(kFileMenu, kFileCloseItem, is_find_window(window) || is_spelling_window(window));
    set_item(kPrefsMenu, kSettingsPreferencesItem, true);
    set_item(kPrefsMenu, kSettingsCustomizeBarItem, false);
    set_item(kPrefsMenu, kSettingsSaveBarItem, false);
    enable_menu_(kEditMenu, false);
    set_item(kEditMenu, 0, true);
    for (int16_t i = kEditCutItem; i <= kEditClearItem; ++i) set_item(kEditMenu, i, true);
    if (is_spelling_window(window)) {
        set_item(kEditMenu, kEditFindItem, true);
        set_item(kEditMenu, kEditSpellingItem, true);
    }
    for (int16_t id : {kFontMenu, kSizeMenu, kStyleMenu}) set_items(id, false);
    for (int16_t id : {kFormatMenu, kOptionsMenu, kObjectMenu, kFunctionsMenu, kViewMenu}) enable_menu_(id, false);
    set_items(kWindowMenu, false);
    set_range(kWindowMenu, kFirstWindowItem, true);
    if (pf::MenuRef w = menu(kWindowMenu)) check_menu_item(w, kFirstWindowItem, pf::count_menu_items(w), 0);
}

void hilite_file_menu(const DocumentFacts& f) {
    set_items(kFileMenu, true);
    if (f.entry_active) {
        set_items(kFileMenu, false);
        set_item(kFileMenu, kFileLinksItem, f.has_links);
        return;
    }
    set_item(kFileMenu, kFileRevertItem, f.ever_saved && f.unsaved);
    set_item(kFileMenu, kFileSaveItem, f.unsaved);
    set_item(kFileMenu, kFileLinksItem, f.has_links);
    if (f.object_selected) {
        set_item(kFileMenu, kFilePrintAreaItem, false);
    } else if (pf::MenuRef m = menu(kFileMenu)) {
        int16_t text = f.has_print_area ? kClearPrintAreaText : kSetPrintAreaText;
        pf::set_menu_item_text(m, kFilePrintAreaItem, pf::get_indexed_string(kMenuTextStrings, text));
    }
}

// The colour and pattern menus show the selection's values as their current
// choices (item = value + 1); the line menus, which cells do not use, none.
void preset_colour_choices(const CellFormat& format) {
    auto item_of_colour = [&](int field) { return int16_t(clamp_colour_value(format.bytes[field]) + 1); };
    init_color_choice(kTextColourMenu, item_of_colour(kFmtTextColour));
    init_color_choice(kFillForeMenu, item_of_colour(kFmtPatternFore));
    init_color_choice(kFillBackMenu, item_of_colour(kFmtPatternBack));
    init_color_choice(kLineForeMenu, 1);
    init_color_choice(kLineBackMenu, 1);
    init_pat_choice(kFillPatternMenu, int16_t(clamp_pattern_value(format.bytes[kFmtPattern]) + 1));
    init_pat_choice(kLinePatternMenu, 1);
}

// Commands 8 to the last are the windows: the document's own item is checked,
// the one before it takes Command-minus and the one after it Command-equals;
// the ends wrap around.
void hilite_window_menu(WindowRef window) {
    set_items(kWindowMenu, true);
    if (g_system.system_version < 0x1000) set_item(kWindowMenu, kWindowBringAllItem, false);
    pf::MenuRef m = menu(kWindowMenu);
    if (!m) return;
    int16_t last = pf::count_menu_items(m);
    int16_t current = shell_services.window_menu_item(window);
    for (int16_t i = kFirstWindowItem; i <= last; ++i) {
        pf::check_menu_item(m, i, i == current);
        pf::set_item_key(m, i, 0, 0);
    }
    if (!current) return;
    int16_t count = int16_t(last - kFirstWindowItem + 1);
    if (current > kFirstWindowItem) pf::set_item_key(m, int16_t(current - 1), '-', 0);
    else if (count >= 2) pf::set_item_key(m, last, '-', 0);
    if (current < last) pf::set_item_key(m, int16_t(current + 1), '=', 0);
    else if (count >= 3) pf::set_item_key(m, kFirstWindowItem, '=', 0);
}

void hilite_layer_and_view(const DocumentFacts& f) {
    set_item(kLayerMenu, kLayerDeleteItem, f.layers >= 2);
    check(kLayerMenu, kLayerOwnWindowItem, (app_prefs.options & kLayerInOwnWindow) != 0);
    check(kFunctionsMenu, kFunctionTemplatesItem, (app_prefs.options & kPrefFunctionTemplates) != 0);
    enable_menu_(kFunctionsMenu, !f.object_selected);
    set_items(kViewMenu, true);
    enable_menu_(kViewMenu, true);
    if (f.layer) {
        check(kViewMenu, kViewFreezeItem, (GetSheetFlags(f.layer) & kLayerFrozenTitles) != 0);
        check(kViewMenu, kViewSplitItem, get_v_divider(f.layer) || get_h_divider(f.layer));
    }
    if (f.entry_active) {
        for (int16_t item : kEditingDimmedView) set_item(kViewMenu, item, false);
    }
}

void hilite_with_document(const DocumentFacts& f, WindowRef window) {
    set_items(kAppleMenu, true);
    set_items(kPrefsMenu, true);  // as the View menu's Customize item
    hilite_file_menu(f);
    hilite_layer_and_view(f);
    set_edit_menu(f.record);
    set_font_menu(f.layer, f.font, f.size);
    set_items(kStyleMenu, true);
    if (pf::MenuRef style = menu(kStyleMenu)) {
        for (int16_t bit = 0; bit < 7; ++bit)
            pf::check_menu_item(style, int16_t(bit + 3), (f.style & (1 << bit)) != 0);
        pf::check_menu_item(style, 1, f.style == 0);
    }
    enable_menu_(kFormatMenu, true);
    set_format_menu(f.layer);
    set_Align_menu(f);
    set_items(kAlignOptionMenu, true);
    enable_menu_(kOptionsMenu, true);
    set_option_menu(f.layer);
    enable_menu_(kObjectMenu, true);
    set_object_menu(f.layer);
    hilite_window_menu(window);
    set_showhide_menu();
    set_palette_menu();
    if (!f.object_selected) preset_colour_choices(f.format);
    if (TextFacts text; editor_text_facts(f.text_editor, &text))
        init_color_choice(kTextColourMenu, int16_t(text.colour + 1));
}

}  // namespace

void enable_menu_(int16_t id, bool enable) {
    pf::MenuRef m = menu(id);
    if (!m) return;
    if (enable) pf::enable_menu_item(m, 0);
    else pf::disable_menu_item(m, 0);
    set_items(id, enable);
}

bool view_menu_enabled() {
    pf::MenuRef m = menu(kViewMenu);
    return m && m->enabled;
}

namespace {

constexpr int16_t kBarTitles[] = {kFileMenu, kEditMenu, kFormatMenu, kFunctionsMenu, kOptionsMenu, kObjectMenu, kViewMenu, kWindowMenu};

// Which titles of the bar are enabled, one bit each.
uint32_t enabled_titles() {
    uint32_t bits = 0;
    for (size_t i = 0; i < std::size(kBarTitles); ++i)
        if (pf::MenuRef m = menu(kBarTitles[i]); m && m->enabled) bits |= 1u << i;
    return bits;
}

bool objects_selected(MemoryRef layer) {
    LayerUse sheet(layer);
    const bool selected = sheet->selected_objects && GetMemorySize(sheet->selected_objects) > 0;
    return selected;
}

}  // namespace

void follow_selection_kind(MemoryRef layer) {
    static MemoryRef last_layer = nullptr;
    static bool last_objects = false;
    if (!layer) return;
    const bool objects = objects_selected(layer);
    if (layer == last_layer && objects == last_objects) return;
    last_layer = layer;
    last_objects = objects;
    WindowRef front = pf::front_window();
    if (front && WindowIsModal(front)) return;
    fix_menu_hilite();
}

int32_t MenuHiliteProc(EventRecord*, uintptr_t app_ref, uintptr_t window) {
    pf::enable_menu_command(pf::four_cc("pref"), true);
    pf::enable_menu_command(pf::four_cc("quit"), true);
    const uint32_t titles_were = enabled_titles();
    MemoryRef record = reinterpret_cast<MemoryRef>(app_ref);
    WindowRef w = reinterpret_cast<WindowRef>(window);
    if (record && record != front_document_record()) record = nullptr;
    if (record) hilite_with_document(read_document_facts(record), w);
    else hilite_without_document(w);
    if (titles_were != enabled_titles()) pf::draw_menu_bar();
    return 1;
}

void fix_menu_hilite() {
    WindowRef window = wxFrontNonFloatingWindow();
    TaskRecord task{};
    if (window) get_task_from_window(window, &task);
    if (window && task.menu_enable) task.menu_enable(nullptr, task.app_ref, uintptr_t(window));
    else MenuHiliteProc(nullptr, 0, 0);
}

void DialogMenubar(int16_t enable, int16_t full) {
    if (full) enable_menu_(kAppleMenu, true);
    for (int16_t id : {kFileMenu, kEditMenu, kFormatMenu, kFunctionsMenu, kOptionsMenu, kObjectMenu, kViewMenu, kWindowMenu}) enable_menu_(id, enable != 0);
    // Back from a dialog the menus follow the window now in front, or its absence.
    if (enable) fix_menu_hilite();
    if (full) pf::hilite_menu(0);
    pf::draw_menu_bar();
    if (enable) {
        dim_unavailable_commands();
        app_prefs.options2 |= kPrefRefreshButtons;
    } else {
        refresh_buttons(nullptr, nullptr);
        pf::enable_menu_command(pf::four_cc("pref"), false);
        pf::enable_menu_command(pf::four_cc("quit"), false);
    }
}

int16_t set_size_menu(const unsigned char* font_name, pf::MenuRef size_menu, int16_t size) {
    if (!size_menu) return 0;
    int16_t last = pf::count_menu_items(size_menu);
    int16_t listed = int16_t(std::size(kMenuSizes));
    if (font_name) {
        for (int16_t i = 0; i < listed; ++i) set_outline_item(size_menu, font_name, kMenuSizes[i], int16_t(i + 1));
    }
    auto at = std::find(std::begin(kMenuSizes), std::end(kMenuSizes), size);
    bool listed_size = at != std::end(kMenuSizes);
    unsigned char other[256];
    pf::get_indexed_string(other, kPromptStrings, kOtherSizeText);
    set_other_item(size_menu, other, last, size, !listed_size);
    int16_t item = listed_size ? int16_t(at - std::begin(kMenuSizes) + 1) : last;
    for (int16_t i = 1; i <= last; ++i) pf::check_menu_item(size_menu, i, i == item);
    return item;
}
