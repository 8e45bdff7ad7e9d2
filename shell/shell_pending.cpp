// Stand-ins for the menus, palettes, dialogs and preferences not built yet:
// a password dialog that confirms nothing,
// factory preferences that are never read from or written to a file, a
// workspace list kept for the run, empty palettes, and menu handlers that do
// nothing.
#include <cstring>
#include <string>
#include <vector>

#include "core/app_menus.h"
#include "core/screen_geometry.h"
#include "formula/recalc.h"
#include "platform/fonts/fonts.h"
#include "platform/menus/menus.h"
#include "platform/system/system.h"
#include "platform/resources/resources.h"
#include "shell/shell_pending.h"
#include "shell/shell_services.h"

AppPrefs app_prefs;

namespace {

constexpr int16_t kPrefsFolderStrings = 25005;
constexpr int kSwapFileNameItem = 5;
constexpr pf::FourCC kSwapFileType = pf::four_cc("QRVM");
constexpr pf::FourCC kCreator = pf::four_cc("QRVA");

std::vector<std::vector<uint8_t>> workspace;

void factory_prefs() {
    app_prefs = AppPrefs{};
    app_prefs.version = 1280;
    int16_t font = pf::font_number("Lucida Grande");
    app_prefs.default_format[2] = uint8_t(font >> 8);
    app_prefs.default_format[3] = uint8_t(font);
    app_prefs.default_format[4] = 12;
    app_prefs.default_format[5] = 1;
    app_prefs.default_format[6] = 2;
    app_prefs.default_format[9] = 0x02;
    app_prefs.default_format[11] = 76;
    app_prefs.margin_unit = pf::international_settings().metric ? 0 : 1;
    app_prefs.undo_depth = 3;
    app_prefs.unused_86 = 36;
    app_prefs.unused_88 = 1;
    app_prefs.options = 0x0C8141F3;
    app_prefs.options2 = 0x00000208;
    app_prefs.startup_action = kStartupNewDocument;
}

// The "Quorvin" folder of the preferences folder, made when missing.
pf::OSErr prefs_folder(int16_t& volume, uint32_t& folder) {
    uint32_t prefs;
    pf::OSErr err = pf::find_folder(pf::FolderKind::preferences, true, volume, prefs);
    if (err) return err;
    const unsigned char name[] = "\x07Quorvin";
    pf::FileSpec spec;
    err = pf::make_file_spec(volume, prefs, name, spec);
    if (err == pf::kFileNotFoundErr) return pf::create_folder(spec, folder);
    if (err) return err;
    return pf::folder_id_of_spec(spec, folder);
}

pf::OSErr swap_file_spec(pf::FileSpec& spec) {
    int16_t volume;
    uint32_t folder;
    pf::OSErr err = prefs_folder(volume, folder);
    if (err) return err;
    pf::Str255 name;
    pf::get_indexed_string(name, kPrefsFolderStrings, kSwapFileNameItem);
    if (name[0] == 0) return pf::kBadNameErr;
    err = pf::make_file_spec(volume, folder, name, spec);
    return err == pf::kFileNotFoundErr ? pf::noErr : err;
}

pf::OSErr open_swap_file(int16_t* ref_num) {
    pf::FileSpec spec;
    pf::OSErr err = swap_file_spec(spec);
    if (err) return err;
    err = pf::create_file(spec, kCreator, kSwapFileType);
    if (err && err != pf::kDuplicateNameErr) return err;
    err = pf::open_data_fork(spec, pf::kReadWritePermission, *ref_num);
    if (err) return err;
    return pf::set_end_of_file(*ref_num, 0);
}

pf::OSErr close_swap_file(int16_t* ref_num) {
    pf::FileSpec spec;
    pf::OSErr err = pf::get_file_spec_of_ref(*ref_num, spec);
    pf::set_end_of_file(*ref_num, 0);
    pf::close_file(*ref_num);
    *ref_num = 0;
    if (err) return err;
    return pf::delete_file(spec);
}

}  // namespace

// The password dialog cannot ask anyone yet: no password is ever confirmed.
int16_t verify_dialog(const unsigned char*, int16_t) { return 0; }

int16_t ReadPrefs() {
    factory_prefs();
    return pf::kFileNotFoundErr;
}

int16_t WritePrefs() { return 0; }

int16_t access_vm_file(int16_t* ref_num) {
    if (*ref_num == 0) return open_swap_file(ref_num);
    return close_swap_file(ref_num);
}

int16_t OpenWorkspaceItems() { return 0; }

void RemoveWorkspaceItems() { workspace.clear(); }

void AddWorkspaceItem(pf::Handle alias) {
    if (!alias) return;
    workspace.emplace_back(*alias, *alias + pf::get_handle_size(alias));
    pf::dispose_handle(alias);
}

// The copy is one block of bytes: each alias as a 32-bit length and its bytes.
MemoryRef CopyWorkspaceItems() {
    MemoryRef copy = pgAllocateNewRef(&mem_globals, 1, 0, 64, true);
    for (const std::vector<uint8_t>& alias : workspace) {
        uint32_t length = uint32_t(alias.size());
        PtrAndMemory(&length, copy, sizeof length);
        PtrAndMemory(alias.data(), copy, int32_t(length));
    }
    return copy;
}

void RestoreWorkspaceItems(MemoryRef copy) {
    workspace.clear();
    if (!copy) return;
    size_t size = size_t(GetMemorySize(copy));
    const uint8_t* bytes = static_cast<const uint8_t*>(UseMemory(copy));
    for (size_t at = 0; at + sizeof(uint32_t) <= size;) {
        uint32_t length;
        std::memcpy(&length, bytes + at, sizeof length);
        at += sizeof length;
        if (length > size - at) break;
        workspace.emplace_back(bytes + at, bytes + at + length);
        at += length;
    }
    UnuseMemory(copy);
    DisposeMemory(copy);
}

int16_t CountWorkspaceItems() { return int16_t(workspace.size()); }

void RemovePrefItem(int16_t index) {
    if (index < 0 || index >= kRecentDocuments) return;
    for (int i = index; i < kRecentDocuments - 1; ++i) app_prefs.items[i] = app_prefs.items[i + 1];
    app_prefs.items[kRecentDocuments - 1] = pf::FileSpec{};
    ResetFavoriteMenu();
}

// Menu 140: one item per recent document, then its separator and Clear item.
void ResetFavoriteMenu() {
    pf::MenuRef menu = pf::get_menu_handle(kRecentMenu);
    if (!menu) return;
    int16_t fixed_items = 2;
    int16_t listed = int16_t(pf::count_menu_items(menu) - fixed_items);
    if (listed > 0) pf::delete_menu_items(menu, 1, listed);
    int entries = 0;
    while (entries < kRecentDocuments && app_prefs.items[entries].name[0] != 0) ++entries;
    for (int i = entries - 1; i >= 0; --i) {
        const unsigned char* name = app_prefs.items[i].name;
        pf::insert_menu_item_text(menu, std::string(reinterpret_cast<const char*>(name + 1), name[0]), 0);
    }
}

void command_idle() {
    if (app_prefs.options2 & kPrefRefreshButtons) {
        WindowRef front = wxFrontNonFloatingWindow();
        TaskRecord task;
        get_task_from_window(front, &task);
        if (task.button_state) task.button_state(nullptr, task.app_ref, uintptr_t(front));
        app_prefs.options2 &= ~kPrefRefreshButtons;
    } else {
        calc_proc();
    }
}

int32_t MenuHiliteProc(EventRecord*, uintptr_t, uintptr_t) { return 0; }
int32_t ButtonHiliteProc(EventRecord*, uintptr_t, uintptr_t) { return 0; }
void draw_cmd_msg(const unsigned char*, int16_t) {}

void DialogMenubar(int16_t enable, int16_t movable_modal) {
    constexpr int16_t kApplicationMenu = 128, kFirstMenu = 129, kLastMenu = 136;
    for (int16_t id = movable_modal ? kApplicationMenu : kFirstMenu; id <= kLastMenu; ++id) {
        pf::MenuRef menu = pf::get_menu_handle(id);
        if (!menu) continue;
        if (enable || id == kApplicationMenu) pf::enable_menu_item(menu, 0);
        else pf::disable_menu_item(menu, 0);
    }
    if (movable_modal) pf::hilite_menu(0);
    pf::draw_menu_bar();
}

void CheckLimitRect(WindowRef window) {
    if (!window) return;
    pf::Rect content = pf::window_content_rect(window);
    int16_t lowest_top = int16_t(pf::menu_bar_height() + title_bar_height());
    if (content.top < lowest_top) pf::move_window(window, content.left, lowest_top, false);
}

void DisplaySelection(const CellRange*) {}
void DisplayRange(MemoryRef) {}
void DisplaySize(int32_t) {}
void Display_WidthHeight(int32_t, int32_t) {}

// Keys typed while a palette is in front go to the front document.
int32_t pass_key_to_document(EventRecord* event, uintptr_t, uintptr_t) {
    WindowRef document = wxFrontNonFloatingWindow();
    TaskRecord task;
    get_task_from_window(document, &task);
    if (!document || !task.key) return 0;
    PushWindowPort(document);
    int32_t answer = task.key(event, task.app_ref, 0);
    PopPort();
    return answer;
}

WindowRef make_empty_palette(const char* title, int position_index, int16_t offset) {
    for (WindowRef w = pf::first_window(); w; w = pf::next_window(w)) {
        if (pf::window_title(w) == title && pf::window_kind(w) == kPaletteWindowKind) return w;
    }
    pf::Point where = app_prefs.palette_positions[position_index];
    if (!checkonscreen(where)) where = pf::Point{int16_t(60 + offset), int16_t(pf::screen_bounds().right - 160)};
    pf::Rect bounds{where.v, where.h, int16_t(where.v + 60), int16_t(where.h + 120)};
    unsigned char pstr[256];
    pstr[0] = uint8_t(std::strlen(title));
    std::memcpy(pstr + 1, title, pstr[0]);
    WindowRef window = pf::new_window(bounds, pstr, true, pf::kFloatProc, pf::kFirstWindowOfClass, true, 0);
    if (!window) return nullptr;
    pf::set_window_kind(window, kPaletteWindowKind);
    TaskRecord task;
    InitAppTask(&task);
    task.window = window;
    task.kind = kFloatingToolTask;
    task.key = pass_key_to_document;
    NewTask(&task);
    return window;
}

WindowRef MakeIconWindow() { return nullptr; }
WindowRef command_bar_window() { return nullptr; }
void MakeColorWindow() { make_empty_palette("Colors", kColorPalettePosition, 30); }
void MakeToolWindow() { make_empty_palette("Tools", kToolPalettePosition, 110); }
void MakeGridWindow() { make_empty_palette("Borders", kGridPalettePosition, 270); }
void MakeOpWindow() { make_empty_palette("Options", kOptionsWindowPosition, 350); }
WindowRef Do_Splash() { return nullptr; }
void DoAbout() {}
void get_app_prefs(int16_t) {}

// The graphical menus draw as plain lists until their definitions exist.
void COLORMDEF(int16_t message, pf::MenuRef menu, pf::Rect& menu_rect, pf::MenuDefParams& params) {
    pf::standard_menu_definition(message, menu, menu_rect, params);
}
void PaletteMDEF(int16_t message, pf::MenuRef menu, pf::Rect& menu_rect, pf::MenuDefParams& params) {
    pf::standard_menu_definition(message, menu, menu_rect, params);
}
void PatternMDEF(int16_t message, pf::MenuRef menu, pf::Rect& menu_rect, pf::MenuDefParams& params) {
    pf::standard_menu_definition(message, menu, menu_rect, params);
}

void InitHelpMenu() {}
int16_t GetHelpMenuID() { return 0; }
void DoHelpMenu(int16_t) {}

void DoOptionMenu(MemoryRef, int16_t) {}
void DoWindowMenu(MemoryRef, int16_t) {}
void DoViewMenu(MemoryRef, int16_t) {}
void DoPrefsMenu(MemoryRef, int16_t) {}
void DoFontMenu(MemoryRef, int16_t) {}
void DoSizeMenu(MemoryRef, int16_t) {}
void DoStyleMenu(MemoryRef, int16_t) {}
void DoAlignMenu(MemoryRef, int16_t) {}
void DoAlignOptionMenu(MemoryRef, int16_t) {}
void DoArrangeMenu(MemoryRef, int16_t) {}
void DoPaletteMenu(MemoryRef, int16_t) {}
void Do_showhide_Menu(MemoryRef, int16_t) {}
void DoCommandMenu(MemoryRef, int16_t) {}
void DoToolMenu(MemoryRef, int16_t) {}
void ColorMenus(int16_t, int16_t) {}
void PatternMenus(int16_t, int16_t) {}
