// The application task's menu procedure, the Window menu's list of windows and
// the recent-documents entries.
#include <algorithm>
#include <cstring>
#include <string>

#include "charts/charts.h"
#include "app/app_menus.h"
#include "core/file_utils.h"
#include "ui/alerts.h"
#include "app/required_events.h"
#include "ui/port_utils.h"
#include "core/string_utils.h"
#include "window/open_command.h"
#include "ui/system_info.h"
#include "editing/editing_commands.h"
#include "model/layer.h"
#include "model/format_commands.h"
#include "objects/objects.h"
#include "platform/appleevents/appleevents.h"
#include "platform/menus/menus.h"
#include "platform/resources/resources.h"
#include "shell/shell_commands.h"
#include "window/window_commands.h"
#include "window/entry_line.h"
#include "shell/format_menus.h"
#include "resource_ids.h"
#include "shell/file_menu.h"

MemoryRef window_list = nullptr;

namespace {

constexpr int16_t kWindowListExtend = 10;
constexpr unsigned char kEqualsKey = 61;

// Sends ourselves a required event, as the system's application menu does.
void send_self(pf::FourCC event_id) {
    pf::AEDesc self;
    pf::AppleEvent event;
    pf::ae_address_of_self(self);
    if (pf::ae_create_apple_event(pf::kCoreEventClass, event_id, self, pf::kAutoGenerateReturnId,
                                  pf::kAnyTransactionId, event) == pf::noErr) {
        pf::ae_send(event, nullptr, pf::kAENoReply);
    }
}

// A window chosen from the Window menu comes to the front, expanded when it
// was collapsed.
void bring_listed_window(WindowRef window) {
    if (!window) return;
    if (pf::window_collapsed(window)) pf::collapse_window(window, false);
    SelectReferencedWindow(window);
}

void insert_function(MemoryRef record, int16_t menu, int16_t item) {
    if (!record) return;
    if (!GetActiveEditor(nullptr)) EditorKey(kEqualsKey, record, 0);
    std::string text;
    if (app_prefs.options & kPrefFunctionTemplates)
        text = pf::get_indexed_string(int16_t(kMathTemplates + menu - kFirstFunctionMenu), item);
    // The plain name comes with its parentheses, the caret between them.
    if (text.empty())
        if (pf::MenuRef m = pf::get_menu_handle(menu)) text = pf::get_menu_item_text(m, item) + "()";
    unsigned char pstr[256];
    set_pstring(pstr, text);
    AddFunctionStr(pstr);
}

void dispatch_menu(MemoryRef record, int16_t menu, int16_t item) {
    switch (menu) {
        case 0: return;
        case kAppleMenu: do_apple_menu(item); return;
        case kFileMenu: DoFileMenu(record, item); return;
        case kEditMenu: DoEditMenu(record, item); return;
        case kFormatMenu: DoFormatMenu(record, item); return;
        case kOptionsMenu: DoOptionMenu(record, item); return;
        case kObjectMenu: DoObjectMenu(record, item); return;
        case kWindowMenu:
            if (item >= kFirstWindowItem) bring_listed_window(window_of_menu_item(item));
            else DoWindowMenu(record, item);
            return;
        case kFunctionsMenu:
            if (item == kFunctionTemplatesItem) app_prefs.options ^= kPrefFunctionTemplates;
            return;
        case kViewMenu: DoViewMenu(record, item); return;
        case kDateMenu: DoDateMenu(record, item); return;
        case kTimeMenu: DoTimeMenu(record, item); return;
        case kCurrencyMenu: DoCurrencyMenu(record, item); return;
        case kRecentMenu: open_special(int16_t(item - 1)); return;
        case kPrefsMenu: DoPrefsMenu(record, item); return;
        case kFontMenu: DoFontMenu(record, item); return;
        case kSizeMenu: DoSizeMenu(record, item); return;
        case kStyleMenu: DoStyleMenu(record, item); return;
        case kTextColourMenu: case kFillForeMenu: case kFillBackMenu: case kLineForeMenu: case kLineBackMenu:
            ColorMenus(menu, item);
            return;
        case kAlignMenu: DoAlignMenu(record, item); return;
        case kFillMenu: DoFillMenu(record, item); return;
        case kFormatOptionMenu: DoFormatOptionMenu(record, item); return;
        case kPrecisionMenu: DoPrecisionMenu(record, item); return;
        case kChartOptionMenu: DoChartOptionMenu(record, item); return;
        case kAlignOptionMenu: DoAlignOptionMenu(record, item); return;
        case kArrangeMenu: DoArrangeMenu(record, item); return;
        case kPaletteMenu: DoPaletteMenu(record, item); return;
        case kShowHideMenu: Do_showhide_Menu(record, item); return;
        case kLayerMenu: DoLayerMenu(record, item); return;
        case kShowLayerMenu: DoCommandMenu(record, item); return;
        case kFillPatternMenu: case kLinePatternMenu: PatternMenus(menu, item); return;
        case kChartKindMenu: DoChartMenu(record, item); return;
        case kToolMenu: DoToolMenu(record, item); return;
        default: break;
    }
    if (menu >= kFirstFunctionMenu && menu <= kLastFunctionMenu) insert_function(record, menu, item);
    else if (menu == GetHelpMenuID()) DoHelpMenu(item);
}

int32_t listed_windows() { return window_list ? GetMemorySize(window_list) : 0; }

WindowRef listed_window(int32_t position) {
    WindowRef window = nullptr;
    GetMemoryRecord(window_list, position, &window);
    return window;
}

int32_t window_position(WindowRef window) {
    for (int32_t i = 0; i < listed_windows(); ++i) {
        if (listed_window(i) == window) return i;
    }
    return -1;
}

void set_window_item_text(int16_t item, WindowRef window) {
    pf::MenuRef menu = pf::get_menu_handle(kWindowMenu);
    if (!menu) return;
    while (pf::count_menu_items(menu) < item) pf::append_menu_item_text(menu, "NEW");
    pf::set_menu_item_utf8_text(menu, item, pf::window_title_utf8(window));  // as its title bar shows it
}

bool same_entry(const pf::FileSpec& a, const pf::FileSpec& b) { return SameFile(&a, &b) != 0; }

}  // namespace

int32_t app_menu_proc(EventRecord*, uintptr_t app_ref, uintptr_t menu_pair) {
    app_prefs.options2 |= kPrefRefreshButtons;
    const MenuChoice* choice = reinterpret_cast<const MenuChoice*>(menu_pair);
    if (choice) dispatch_menu(reinterpret_cast<MemoryRef>(app_ref), choice->menu, choice->item);
    command_idle();
    return 1;
}

void do_apple_menu(int16_t item) {
    if (item <= 1) {
        DoAbout();
        return;
    }
    pf::MenuRef menu = pf::get_menu_handle(kAppleMenu);
    pf::FourCC command = menu ? pf::get_menu_item_command_id(menu, item) : 0;
    if (command == pf::kQuitApplication || command == pf::kShowPreferences) send_self(command);
}

// ---- Window menu ------------------------------------------------------------

int16_t window_stagger_index() {
    pf::MenuRef menu = pf::get_menu_handle(kWindowMenu);
    return menu ? int16_t(std::max(0, pf::count_menu_items(menu) - (kFirstWindowItem - 1))) : 0;
}

void fill_app_menus() {
    if (!window_list) {
        window_list = pgAllocateNewRef(&mem_globals, sizeof(WindowRef), 0, 10, true);
        SetMemoryPurge(window_list, kNeverPurge, false);
    }
    ResetFavoriteMenu();
    RemoveWindowMenu();
    InitHelpMenu();
}

void AddToWindowMenu(WindowRef window) {
    if (!window) return;
    if (!window_list) {
        window_list = pgAllocateNewRef(&mem_globals, sizeof(WindowRef), 0, kWindowListExtend, true);
        SetMemoryPurge(window_list, kNeverPurge, false);
    }
    int32_t position = window_position(window);
    if (position < 0) {
        PtrAndMemory(&window, window_list, 1);
        position = listed_windows() - 1;
    }
    set_window_item_text(int16_t(kFirstWindowItem + position), window);
}

void RemoveFromWindowMenu(WindowRef window) {
    int32_t position = window_position(window);
    if (position < 0) return;
    DeleteMemory(window_list, position, 1);
    RemoveWindowMenu();
}

void RemoveWindowMenu() {
    pf::MenuRef menu = pf::get_menu_handle(kWindowMenu);
    if (!menu) return;
    int16_t count = pf::count_menu_items(menu);
    if (count >= kFirstWindowItem) pf::delete_menu_items(menu, kFirstWindowItem, int16_t(count - kFirstWindowItem + 1));
    for (int32_t i = 0; i < listed_windows(); ++i) set_window_item_text(int16_t(kFirstWindowItem + i), listed_window(i));
}

int16_t find_window_item(WindowRef window) {
    int32_t position = window_position(window);
    return position < 0 ? 0 : int16_t(kFirstWindowItem + position);
}

int16_t GetWindowMenuItem(WindowRef window) { return find_window_item(window); }

WindowRef window_of_menu_item(int16_t item) {
    int32_t position = item - kFirstWindowItem;
    if (position < 0 || position >= listed_windows()) return nullptr;
    return listed_window(position);
}

// ---- Recent documents -----------------------------------------------------------

void update_pref_specs(const pf::FileSpec* spec, int16_t add) {
    if (!add || !spec || spec->name[0] == 0) return;
    int found = kRecentDocuments - 1;
    for (int i = 0; i < kRecentDocuments; ++i) {
        if (app_prefs.items[i].name[0] != 0 && same_entry(app_prefs.items[i], *spec)) {
            found = i;
            break;
        }
    }
    for (int i = found; i > 0; --i) app_prefs.items[i] = app_prefs.items[i - 1];
    app_prefs.items[0] = *spec;
    ResetFavoriteMenu();
}

void open_special(int16_t index) {
    int entries = recent_document_count();
    if (index == entries + 1) {
        for (int i = 0; i < kRecentDocuments; ++i) app_prefs.items[i].name[0] = 0;
        ResetFavoriteMenu();
        return;
    }
    if (index < 0 || index >= entries) return;
    pf::FileSpec spec = app_prefs.items[index];
    if (is_file_open(&spec)) return;
    pf::OSErr err = test_open_document(spec);
    if (err) {
        show_named_file_error(err, spec.name);
        RemovePrefItem(index);
        return;
    }
    Open_File(1, &spec, 0);
}
