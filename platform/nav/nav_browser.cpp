// The open, choose-folder and save dialogs: one browser of a folder's items with
// a pop-up of the folder's parents, run modally until the user chooses or cancels.
#include "platform/controls/control_look.h"
#include "platform/draw/text.h"
#include "platform/host/host.h"
#include "platform/lists/lists.h"
#include "platform/nav/nav.h"
#include "platform/nav/nav_internal.h"
#include "platform/text/mac_roman.h"
#include "platform/windows/windows.h"

#include <algorithm>
#include <cstdlib>

namespace pf {

using namespace nav_detail;

namespace {

enum class BrowserKind { kOpen, kChooseFolder, kSave };

// Item numbers of the browser dialog.
enum : int16_t {
    kDefaultItem = 1,
    kCancelItem = 2,
    kMessageItem = 3,
    kPathItem = 4,
    kListItem = 5,
    kNamePromptItem = 6,  // save: the name; open: a path to go to
    kNameItem = 7,
    kShowAllItem = 8,  // open only
};

constexpr int16_t kWidth = 480;
constexpr int16_t kListHeight = 220;
constexpr int16_t kShowAllHeight = 18;
constexpr int16_t kMaxFolderDepth = 64;

struct Entry {
    FileSpec spec;
    CatalogInfo info;
    ScriptText typed_name;   // as typing in the list finds it: in its script, else Roman
    std::string shown_name;  // as the list shows it: UTF-8, as it reads
};

struct Browser {
    BrowserKind kind = BrowserKind::kOpen;
    const NavDialogOptions* options = nullptr;
    DialogRef dialog = nullptr;
    int16_t volume = kSystemVolume;
    uint32_t folder = kRootFolderId;
    std::vector<uint32_t> parents;  // the folder, its parent ... the root, for the path pop-up
    std::vector<Entry> entries;
    ListHandle list = nullptr;
    int16_t first_custom_item = 0;
    bool show_all = false;  // open: the types and the filter set aside
    bool done = false;
    NavReply* reply = nullptr;
};

Browser* active = nullptr;

// Hidden files and folders only with all files shown (open dialogs).
bool shown(const Browser& b, const Entry& e) {
    if (b.show_all) return true;
    if (e.info.finder.flags & kFinderFlagInvisible) return false;
    if (e.info.is_folder) return true;
    if (b.kind == BrowserKind::kChooseFolder) return false;
    const auto& types = b.options->types;
    if (!types.empty() && std::find(types.begin(), types.end(), e.info.finder.type) == types.end()) return false;
    return !b.options->filter || b.options->filter(e.spec, e.info, b.options->filter_user);
}

std::vector<Entry> list_folder(const Browser& b) {
    std::vector<Entry> entries;
    for (int index = 1;; ++index) {
        Entry e;
        if (get_catalog_info_by_index(b.volume, b.folder, index, e.info, &e.spec) != noErr) break;
        if (!shown(b, e)) continue;
        e.typed_name = file_spec_shown_name(e.spec);
        e.shown_name = file_spec_shown_utf8(e.spec);
        entries.push_back(e);
    }
    return entries;
}

// The folder and its parents up to the root, with their names for the pop-up.
void path_of(Browser& b, std::vector<std::string>& names) {
    b.parents.clear();
    names.clear();
    uint32_t folder = b.folder;
    for (int depth = 0; depth < kMaxFolderDepth; ++depth) {
        FileSpec spec;
        static const unsigned char kEmpty[1] = {0};
        if (make_file_spec(b.volume, folder, kEmpty, spec) != noErr) break;
        b.parents.push_back(folder);
        names.push_back(folder == kRootFolderId || spec.name[0] == 0 ? std::string("/") : file_spec_shown_utf8(spec));
        if (folder == kRootFolderId || spec.parent == kRootParentId) break;
        folder = spec.parent;
    }
}

ControlRef item_control(Browser& b, int16_t item) { return get_dialog_item_control(b.dialog, item); }

std::vector<int16_t> selected_rows(Browser& b) { return list_selected_rows(b.list); }

const Entry* single_selected_folder(Browser& b) {
    std::vector<int16_t> rows = selected_rows(b);
    if (rows.size() != 1 || size_t(rows[0]) >= b.entries.size()) return nullptr;
    const Entry& e = b.entries[size_t(rows[0])];
    return e.info.is_folder ? &e : nullptr;
}

std::string typed_name(Browser& b) { return get_dialog_item_text(b.dialog, kNameItem); }

void update_default_button(Browser& b) {
    bool enable = true;
    if (b.kind == BrowserKind::kOpen) enable = !selected_rows(b).empty() || !typed_name(b).empty();
    if (b.kind == BrowserKind::kSave) enable = !typed_name(b).empty();
    enable_dialog_item(b.dialog, kDefaultItem, enable);
}

void show_folder(Browser& b, uint32_t folder) {
    b.folder = folder;
    nav_set_last_folder(b.volume, folder);
    b.entries = list_folder(b);
    list_set_draw_mode(b.list, false);
    list_delete_row(b.list, 0, 0);
    list_add_row(b.list, int16_t(std::min<size_t>(b.entries.size(), 32767)), 0);
    for (size_t i = 0; i < b.entries.size() && i < 32767; ++i)
        list_set_cell(b.list, Point{int16_t(i), 0}, b.entries[i].typed_name.bytes);
    if (b.kind != BrowserKind::kSave && !b.entries.empty() && !b.options->allow_multiple)
        list_set_select(b.list, true, Point{0, 0});
    list_set_draw_mode(b.list, true);

    std::vector<std::string> names;
    path_of(b, names);
    MenuRef menu = new_menu(0, "");
    for (const std::string& name : names) {
        append_menu_item_text(menu, "");
        set_menu_item_utf8_text(menu, count_menu_items(menu), name);
    }
    ControlRef path = item_control(b, kPathItem);
    set_control_data(path, 0, kControlPopupButtonMenuHandleTag, sizeof menu, &menu);
    set_control_value(path, 1);
    draw_one_control(path);
    update_default_button(b);
}

void go_up(Browser& b, size_t levels) {
    if (levels < b.parents.size() && levels > 0) show_folder(b, b.parents[levels]);
}

void enter_folder(Browser& b, const Entry& e) {
    uint32_t id = e.info.folder_id;
    if (id || folder_id_of_spec(e.spec, id) == noErr) show_folder(b, id);
}

void finish(Browser& b, std::vector<FileSpec> selection) {
    b.reply->valid = true;
    b.reply->selection = std::move(selection);
    b.done = true;
}

std::string home_folder() {
    const char* home = getenv("HOME");
    return home && *home ? std::string(home) : std::string("/");
}

// The POSIX path of a typed folder (Mac Roman, ending in '/') or file: absolute,
// "~/" for the home folder, otherwise from the folder shown.
std::string typed_folder_path(const Browser& b, std::string_view typed) {
    std::string folder = mac_roman_to_utf8(typed);
    if (folder.starts_with("~/")) return home_folder() + folder.substr(1);
    if (folder.starts_with('/')) return folder;
    std::string shown;
    if (path_from_folder_id(b.volume, b.folder, shown) != noErr) return {};
    return shown + "/" + folder;
}

// The typed folder as the message names it: without its closing '/', except the root's.
std::string_view folder_as_typed(std::string_view typed) {
    return typed.size() > 1 ? typed.substr(0, typed.size() - 1) : typed;
}

bool is_reserved_name(std::string_view name) { return name == "." || name == ".."; }

// The name typed in the save dialog's field: in its script's bytes, or in
// UTF-8 when it was typed in several (kSeveralScripts).
std::string field_name(DialogRef dialog) {
    ControlRef field = get_dialog_item_control(dialog, kNameItem);
    return edit_text_script(field) == kSeveralScripts ? edit_text_utf8(field) : get_dialog_item_text(dialog, kNameItem);
}

// The name field's text changed as the application adjusts a name (its
// extension), in the terms of field_name, its script kept.
void set_name_keeping_script(DialogRef dialog, std::string_view name) {
    ControlRef field = get_dialog_item_control(dialog, kNameItem);
    const int16_t script = edit_text_script(field);
    if (script == kSeveralScripts) return set_edit_text_utf8(field, name);
    set_dialog_item_text(dialog, kNameItem, name);
    set_edit_text_script(field, script);
}

// The typed name as the application takes it; the field shows what it became.
std::string accepted_name(Browser& b, const std::string& typed) {
    const NavCustomArea& custom = b.options->custom;
    if (!custom.accept) return typed;
    std::string name = typed;
    custom.accept(b.dialog, name, custom.user);
    if (name != typed && field_name(b.dialog) == typed) set_name_keeping_script(b.dialog, name);
    return name;
}

// A name typed in several scripts is taken in UTF-8, as it reads.
std::string name_as_it_reads(const std::string& name, int16_t script) {
    return script == kSeveralScripts ? name : script_to_utf8(name, script);
}

// The spec of a name typed in a folder: a name in another script than Roman
// names the file in UTF-8, as it reads.
OSErr spec_of_typed_name(int16_t volume, uint32_t folder, const std::string& name, int16_t script, FileSpec& spec) {
    if (script == kScriptRoman) {
        unsigned char pname[64];
        pname[0] = uint8_t(name.size());
        std::copy(name.begin(), name.end(), pname + 1);
        return make_file_spec(volume, folder, pname, spec);
    }
    std::string path;
    if (OSErr err = path_from_folder_id(volume, folder, path)) return err;
    return file_spec_from_path(path + "/" + name_as_it_reads(name, script), spec);
}

// The script of the name typed in the save dialog's field.
int16_t typed_name_script(Browser& b) { return edit_text_script(item_control(b, kNameItem)); }


// The save dialog's choice: a usable new name, or an existing file the user agrees to replace.
void save_in_folder(Browser& b, int16_t volume, uint32_t folder, const std::string& typed, int16_t script) {
    const std::string name = accepted_name(b, typed);
    const std::string shown = name_as_it_reads(name, script);
    if (is_reserved_name(name)) {
        refuse_name(with_name(kReservedNameIndex, "\xD2^0\xD3 cannot be used as a name.", shown),
                    toolbox_string(kReservedNameHintIndex, "Please type another name."));
        return;
    }
    if (name.size() > size_t(kMaxSpecName)) {
        refuse_name(with_name(kLongNameIndex, "The name \xD2^0\xD3 is too long.", shown),
                    toolbox_string(kLongNameHintIndex, "A name can have at most 63 characters. Please type a shorter name."));
        return;
    }
    if (name.empty()) {
        host_beep();
        return;
    }
    FileSpec spec;
    OSErr err = spec_of_typed_name(volume, folder, name, script, spec);
    CatalogInfo info;
    if (err == noErr && get_catalog_info(spec, info) == noErr && info.is_folder) err = kDuplicateNameErr;
    if (err != noErr && err != kFileNotFoundErr) {
        host_beep();
        return;
    }
    if (err == noErr) {
        if (!confirm_replace(shown)) return;
        b.reply->replacing = true;
    }
    finish(b, {spec});
}

// A name is never a path on disk, so a typed '/' ends a folder: the file goes into
// that folder when it exists; a folder alone is shown; a missing one is refused.
void try_save(Browser& b) {
    std::string typed = field_name(b.dialog);
    const int16_t script = typed_name_script(b);
    size_t slash = typed.rfind('/');
    if (slash == std::string::npos) {
        save_in_folder(b, b.volume, b.folder, typed, script);
        return;
    }
    std::string_view folder_part = std::string_view(typed).substr(0, slash + 1);
    std::string name = typed.substr(slash + 1);
    uint32_t folder = 0;
    std::string path = typed_folder_path(b, folder_part);
    if (path.empty() || folder_id_from_path(path, folder) != noErr) {
        refuse_name(with_name(kNoSuchFolderIndex, "There is no folder \xD2^0\xD3.", name_as_it_reads(std::string(folder_as_typed(folder_part)), script)),
                    toolbox_string(kNoSuchFolderHintIndex,
                                   "Type the path of an existing folder, or a name without \xD2/\xD3 to save in "
                                   "the folder shown."));
        return;
    }
    if (name.empty()) {
        b.volume = kSystemVolume;
        show_folder(b, folder);
        set_dialog_item_text(b.dialog, kNameItem, "");
        update_default_button(b);
        return;
    }
    save_in_folder(b, kSystemVolume, folder, name, script);
}

// A typed path in the open dialog: a folder is shown, a file is opened
// whatever the filter says, anything else is refused.
void open_typed(Browser& b, const std::string& typed) {
    std::string path = typed_folder_path(b, typed);
    uint32_t folder = 0;
    if (!path.empty() && folder_id_from_path(path, folder) == noErr) {
        b.volume = kSystemVolume;
        set_dialog_item_text(b.dialog, kNameItem, "");
        show_folder(b, folder);
        return;
    }
    FileSpec spec;
    CatalogInfo info;
    if (!path.empty() && file_spec_from_path(path, spec) == noErr && get_catalog_info(spec, info) == noErr) {
        finish(b, {spec});
        return;
    }
    refuse_name(with_name(kNoSuchItemIndex, "There is no file or folder \xD2^0\xD3.", mac_roman_to_utf8(typed)),
                toolbox_string(kNoSuchItemHintIndex, "Type the path of a file to open it, or of a folder to show it."));
}

void show_all_files(Browser& b) {
    ControlRef box = item_control(b, kShowAllItem);
    b.show_all = get_control_value(box) == 0;
    set_control_value(box, b.show_all ? 1 : 0);
    show_folder(b, b.folder);
}

void press_default(Browser& b) {
    if (b.kind == BrowserKind::kSave) {
        try_save(b);
        return;
    }
    if (b.kind == BrowserKind::kOpen && !typed_name(b).empty()) {
        open_typed(b, typed_name(b));
        return;
    }
    if (const Entry* folder = single_selected_folder(b)) {
        if (b.kind == BrowserKind::kChooseFolder) {
            finish(b, {folder->spec});
        } else {
            enter_folder(b, *folder);
        }
        return;
    }
    if (b.kind == BrowserKind::kChooseFolder) {
        FileSpec current;
        static const unsigned char kEmpty[1] = {0};
        if (make_file_spec(b.volume, b.folder, kEmpty, current) == noErr) finish(b, {current});
        return;
    }
    std::vector<FileSpec> files;
    for (int16_t row : selected_rows(b))
        if (size_t(row) < b.entries.size() && !b.entries[size_t(row)].info.is_folder) files.push_back(b.entries[size_t(row)].spec);
    if (!files.empty()) finish(b, files);
}

void list_hit(Browser& b) {
    uint8_t double_click = 0;
    get_control_data(item_control(b, kListItem), 0, kControlListBoxDoubleClickTag, 1, &double_click, nullptr);
    update_default_button(b);
    std::vector<int16_t> rows = selected_rows(b);
    if (b.kind == BrowserKind::kSave && rows.size() == 1 && !b.entries[size_t(rows[0])].info.is_folder) {
        // A file clicked while saving names the file, as the list shows it.
        set_edit_text_utf8(item_control(b, kNameItem), b.entries[size_t(rows[0])].shown_name);
        update_default_button(b);
    }
    if (!double_click || rows.size() != 1) return;
    const Entry& e = b.entries[size_t(rows[0])];
    if (e.info.is_folder)
        enter_folder(b, e);
    else if (b.kind == BrowserKind::kOpen)
        finish(b, {e.spec});
}

void item_hit(Browser& b, int16_t item) {
    switch (item) {
        case kDefaultItem: press_default(b); break;
        case kCancelItem: b.done = true; break;
        case kPathItem: go_up(b, size_t(get_control_value(item_control(b, kPathItem)) - 1)); break;
        case kListItem: list_hit(b); break;
        case kNameItem: update_default_button(b); break;
        default:
            // The open dialog's own check box; in a save dialog this number is a custom item's.
            if (b.kind == BrowserKind::kOpen && item == kShowAllItem) {
                show_all_files(b);
                break;
            }
            if (item >= b.first_custom_item && b.options->custom.item_hit)
                b.options->custom.item_hit(b.dialog, item, b.options->custom.user);
            break;
    }
}

// Whether a key typed in the open dialog's list begins a path ('/' or '~'),
// which goes to the Go to field rather than selecting by name.
bool starts_typed_path(Browser& b, unsigned char ch, bool command) {
    return b.kind == BrowserKind::kOpen && !command && (ch == '/' || ch == '~') &&
           get_dialog_keyboard_focus(b.dialog) == kListItem;
}

// Keys the browser takes before the dialog: Return and Enter, Escape and
// Command-period, Command-Up and Command-Down; a path typed in the list moves
// to the Go to field.
bool browser_filter(DialogRef dialog, EventRecord& event, int16_t& item) {
    Browser& b = *active;
    if (event.what != kKeyDown && event.what != kAutoKey) return false;
    unsigned char ch = event_char(event);
    bool command = event.modifiers & kCmdKey;
    if (command && ch == kUpArrowChar) {
        go_up(b, 1);
        return false;
    }
    if (command && ch == kDownArrowChar) {
        if (const Entry* folder = single_selected_folder(b)) enter_folder(b, *folder);
        return false;
    }
    if (starts_typed_path(b, ch, command)) set_dialog_keyboard_focus(dialog, kNameItem);
    if (ch == kReturnChar || ch == kEnterChar) {
        // Taken even when the default button is disabled: a Return is never typed into a field.
        item = flash_dialog_item(dialog, kDefaultItem) ? int16_t(kDefaultItem) : int16_t(0);
        return true;
    }
    return standard_filter(dialog, event, item);
}

void other_events(const EventRecord& event) {
    if (active && active->options->event_proc) active->options->event_proc(event, active->options->event_user);
}

// Draws a cell: a small folder or page before the name.
void browser_cell(int16_t message, bool selected, const Rect& r, Point cell, std::string_view data, ListHandle list) {
    if (message != kListDrawMsg) return;
    auto* b = reinterpret_cast<Browser*>(list->refcon);
    const Entry* entry = b && size_t(cell.v) < b->entries.size() ? &b->entries[size_t(cell.v)] : nullptr;
    bool folder = entry && entry->info.is_folder;
    fill_rect_color(r, selected ? kLookAccent : kLookLight);
    RGBColor ink = selected ? kLookAccentText : kLookText;
    Rect glyph{int16_t(r.top + (r.height() - 10) / 2), int16_t(r.left + 5), 0, 0};
    glyph.bottom = int16_t(glyph.top + 10);
    glyph.right = int16_t(glyph.left + (folder ? 13 : 9));
    if (folder) {
        fill_rect_color(Rect{int16_t(glyph.top - 2), glyph.left, glyph.top, int16_t(glyph.left + 5)}, kNavFolderColour);
        fill_rect_color(glyph, kNavFolderColour);
    } else {
        fill_rect_color(glyph, kLookLight);
        frame_rect_color(glyph, selected ? kLookAccentText : kLookShadow);
    }
    // The name as it reads, in the fonts of the scripts that spell it.
    const std::string shown = entry ? entry->shown_name : mac_roman_to_utf8(data);
    draw_unicode_text_in_box(Rect{r.top, int16_t(r.left + 24), r.bottom, int16_t(r.right - 2)}, shown, TextAlign::kLeft,
                             ink);
}

std::string title_for(BrowserKind kind, const NavDialogOptions& options) {
    if (!options.window_title.empty()) return options.window_title;
    switch (kind) {
        case BrowserKind::kOpen: return toolbox_string(kOpenDialogTitleIndex, "Open");
        case BrowserKind::kChooseFolder: return toolbox_string(kChooseFolderTitleIndex, "Choose a Folder");
        case BrowserKind::kSave: return toolbox_string(kSaveDialogTitleIndex, "Save");
    }
    return {};
}

std::string default_title_for(BrowserKind kind) {
    switch (kind) {
        case BrowserKind::kOpen: return toolbox_string(kOpenTitleIndex, "Open");
        case BrowserKind::kChooseFolder: return toolbox_string(kChooseTitleIndex, "Choose");
        case BrowserKind::kSave: return toolbox_string(kSaveTitleIndex, "Save");
    }
    return {};
}

DialogRef make_browser_dialog(Browser& b) {
    const NavDialogOptions& options = *b.options;
    bool saving = b.kind == BrowserKind::kSave;
    bool opening = b.kind == BrowserKind::kOpen;
    int16_t top = saving || opening ? 44 : 10;
    // A save dialog's message (why a name is asked) may take two lines.
    const int16_t message_height = saving && !options.message.empty() ? 34 : 18;
    int16_t list_top = int16_t(top + message_height + 34);
    int16_t custom_top = int16_t(list_top + kListHeight + 10);
    int16_t custom_height = saving ? options.custom.height : opening ? kShowAllHeight : 0;
    int16_t buttons_top = int16_t(custom_top + custom_height + 6);
    int16_t height = int16_t(buttons_top + 36);
    Rect screen_rect = screen_bounds();
    int16_t left = int16_t((screen_rect.width() - kWidth) / 2);
    int16_t window_top = int16_t(menu_bar_height() + std::max(20, (screen_rect.height() - menu_bar_height() - height) / 3));
    std::vector<DialogItemSpec> items{
        {kButtonItem, Rect{int16_t(buttons_top + 6), 370, int16_t(buttons_top + 26), 460}, default_title_for(b.kind), 0, true},
        {kButtonItem, Rect{int16_t(buttons_top + 6), 270, int16_t(buttons_top + 26), 350},
         toolbox_string(kCancelTitleIndex, "Cancel"), 0, true},
        {kStaticTextItem, Rect{top, 20, int16_t(top + message_height), 460}, options.message, 0, false},
    };
    DialogRef dialog = new_dialog(Rect{window_top, left, int16_t(window_top + height), int16_t(left + kWidth)},
                                  title_for(b.kind, options), kMovableDialogBoxProc, false, items);
    ControlRef path = new_control(dialog->window, Rect{int16_t(list_top - 30), 20, int16_t(list_top - 10), 300},
                                  toolbox_string(kWhereIndex, "Where:"), true, 1, 0, 0, kPopupButtonControl, 0);
    append_dialog_control_item(dialog, path);
    ControlRef box = new_control(dialog->window, Rect{list_top, 20, int16_t(list_top + kListHeight), 460}, "", true, 0,
                                 0, 0, kListBoxControl, 0);
    append_dialog_control_item(dialog, box);
    get_control_data(box, 0, kControlListBoxListHandleTag, sizeof b.list, &b.list, nullptr);
    b.list->ldef = browser_cell;
    b.list->refcon = reinterpret_cast<uintptr_t>(&b);
    b.list->sel_flags = options.allow_multiple && b.kind == BrowserKind::kOpen ? 0 : kListOnlyOne;
    if (saving) {
        append_dialog_item_specs(dialog,
                                 {{kStaticTextItem, Rect{14, 20, 32, 90}, toolbox_string(kSaveAsPromptIndex, "Save As:"), 0, false},
                                  {kEditTextItem, Rect{12, 96, 34, 300}, options.saved_file_name, 0, true}},
                                 AppendMethod::kOverlay);
        b.first_custom_item = int16_t(count_dialog_items(dialog) + 1);
        ControlRef name_field = get_dialog_item_control(dialog, kNameItem);
        if (options.saved_file_name_script == kSeveralScripts) set_edit_text_utf8(name_field, options.saved_file_name);
        else set_edit_text_script(name_field, options.saved_file_name_script);
        if (options.custom.start && options.custom.height > 0)
            options.custom.start(dialog, Rect{custom_top, 20, int16_t(custom_top + options.custom.height), 460},
                                 options.custom.user);
    }
    if (opening)
        append_dialog_item_specs(dialog,
                                 {{kStaticTextItem, Rect{14, 20, 32, 90}, toolbox_string(kGoToPromptIndex, "Go to:"), 0, false},
                                  {kEditTextItem, Rect{12, 96, 34, 460}, "", 0, true},
                                  {kCheckBoxItem, Rect{custom_top, 20, int16_t(custom_top + kShowAllHeight), 300},
                                   toolbox_string(kShowAllFilesIndex, "Show all files"), 0, true}},
                                 AppendMethod::kOverlay);
    set_dialog_default_item(dialog, kDefaultItem);
    set_dialog_cancel_item(dialog, kCancelItem);
    return dialog;
}

OSErr starting_folder(const FileSpec* location, int16_t& volume, uint32_t& folder) {
    if (location) {
        if (folder_id_of_spec(*location, folder) == noErr) {
            volume = location->volume;
            return noErr;
        }
        // A file's location is its folder.
        CatalogInfo info;
        OSErr err = get_catalog_info(*location, info);
        if (err != noErr && err != kFileNotFoundErr) return err;
        volume = location->volume;
        folder = location->parent;
        return noErr;
    }
    if (nav_last_folder(volume, folder)) return noErr;
    std::string home = getenv("HOME") ? getenv("HOME") : "/";
    volume = kSystemVolume;
    return folder_id_from_path(home, folder);
}

OSErr run_browser(BrowserKind kind, const FileSpec* location, const NavDialogOptions& options, NavReply& reply) {
    reply = NavReply{};
    Browser b;
    b.kind = kind;
    b.options = &options;
    b.reply = &reply;
    if (OSErr err = starting_folder(location, b.volume, b.folder)) return err;
    Browser* outer = active;
    active = &b;
    OtherEventProc outer_handler = dialog_other_event_handler();
    if (options.event_proc) set_dialog_other_event_handler(other_events);
    b.dialog = make_browser_dialog(b);
    show_window(b.dialog->window);
    select_window(b.dialog->window);
    show_folder(b, b.folder);
    draw_dialog(b.dialog);
    if (kind == BrowserKind::kSave) {
        set_dialog_keyboard_focus(b.dialog, kNameItem);
        update_default_button(b);
    } else {
        set_dialog_keyboard_focus(b.dialog, kListItem);
    }
    while (!b.done) item_hit(b, modal_dialog(browser_filter));
    dispose_dialog(b.dialog);
    set_dialog_other_event_handler(outer_handler);
    active = outer;
    return reply.valid ? noErr : kUserCanceledErr;
}

}  // namespace

std::string nav_file_name(DialogRef dialog) { return field_name(dialog); }

int16_t nav_file_name_script(DialogRef dialog) {
    return edit_text_script(get_dialog_item_control(dialog, kNameItem));
}

void nav_set_file_name(DialogRef dialog, std::string_view name) {
    set_name_keeping_script(dialog, name);
    select_dialog_item_text(dialog, kNameItem, 0, int32_t(name.size()));  // typing replaces it, as at the start
    if (active && active->dialog == dialog) update_default_button(*active);
}

OSErr nav_get_file(const FileSpec* default_location, const NavDialogOptions& options, NavReply& reply) {
    return run_browser(BrowserKind::kOpen, default_location, options, reply);
}

OSErr nav_choose_folder(const FileSpec* default_location, const NavDialogOptions& options, NavReply& reply) {
    return run_browser(BrowserKind::kChooseFolder, default_location, options, reply);
}

OSErr nav_put_file(const FileSpec* default_location, const NavDialogOptions& options, NavReply& reply) {
    return run_browser(BrowserKind::kSave, default_location, options, reply);
}

}  // namespace pf
