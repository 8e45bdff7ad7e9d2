// The preferences dialog (DLOG 300): six panels chosen by a pop-up, each laid
// over the dialog's first four items, editing a copy of the preferences that
// reaches the record on OK. Typed numbers are checked against their ranges
// before the dialog leaves a panel or closes.
#include "shell/prefs_dialog.h"

#include <cstdlib>
#include <cstring>
#include <iterator>
#include <string>

#include "ui/alerts.h"
#include "core/memory_manager.h"
#include "ui/modal_dialog.h"
#include "core/number_text.h"
#include "ui/port_utils.h"
#include "ui/system_info.h"
#include "ui/text_input.h"
#include "model/cell_format.h"
#include "model/format_commands.h"
#include "model/layer.h"
#include "model/record_bytes.h"
#include "platform/controls/controls.h"
#include "platform/fonts/fonts.h"
#include "platform/menus/menus.h"
#include "platform/resources/resources.h"
#include "platform/windows/windows.h"
#include "shell/bar_dialogs.h"
#include "shell/shell_commands.h"
#include "spelling/spell_engine.h"
#include "window/entry_line.h"
#include "resource_ids.h"

namespace {

constexpr int16_t kRangeMessage = 1, kNoDictionaryMessage = 5;
constexpr int16_t kOkItem = 1, kCancelItem = 2, kPanelItem = 3, kKeptItems = 4;
constexpr int16_t kFirstPanel = 1, kLastPanel = 6;
constexpr int16_t kDateMenuTailItems = 2;
constexpr int16_t kMainDictionaryEntry = 6;
// The Settings menu.

// Panel 1, new workbooks.
constexpr int16_t kFontItem = 5, kSizeItem = 6, kDecimalsItem = 16, kWidthItem = 19;
// Panel 2, editing.
constexpr int16_t kUndoItem = 9, kDateItem = 10, kUnitItem = 11;
// Panel 3, clipboard: export radios; panel 6, start-up radios.
constexpr int16_t kFirstExportRadio = 6, kLastExportRadio = 8, kFirstStartupRadio = 6, kLastStartupRadio = 9;
// Panel 4, spelling.
constexpr int16_t kClearIgnoredItem = 9, kFindDictionaryItem = 10, kDictionaryNameItem = 12;

enum class Word : uint8_t { kGeneral, kDisplay, kNumberFlags };

struct FlagBox {
    int16_t panel, item;
    uint32_t bit;
    Word word;
    bool checked_when_clear;
};

constexpr FlagBox kBoxes[] = {
    {1, 7, kLayerGridLines, Word::kGeneral, false},
    {1, 8, kLayerHeadings, Word::kGeneral, false},
    {1, 9, kLayerPrintGrid, Word::kGeneral, false},
    {1, 10, kLayerPageBreaks, Word::kGeneral, false},
    {1, 11, kLayerPrintHeadings, Word::kGeneral, false},
    {1, 12, kLayerPrintColours, Word::kGeneral, false},
    {1, 13, 0x02, Word::kNumberFlags, false},  // thousands separator
    {1, 14, 0x40, Word::kNumberFlags, false},  // zero values left blank
    {1, 17, kLayerFixedRowHeights, Word::kGeneral, true},
    {2, 5, kPrefSwapArrows, Word::kDisplay, false},
    {2, 6, kPrefDragAndDrop, Word::kGeneral, false},
    {2, 7, 0x00020000, Word::kGeneral, false},  // Enter moves
    {2, 8, 0x00000008, Word::kDisplay, false},  // live scroll thumbs
    {2, 12, kPrefFontsInOwnFace, Word::kGeneral, false},
    {2, 13, kPrefControlNavigation, Word::kDisplay, false},
    {2, 14, 0x00000100, Word::kDisplay, true},  // help tags off
    {2, 15, kPrefAntiAliasedText, Word::kDisplay, false},
    {3, 10, 0x04000000, Word::kGeneral, false},
    {3, 11, 0x08000000, Word::kGeneral, false},
    {4, 5, 0x00000002, Word::kDisplay, false},
    {4, 6, 0x00000004, Word::kDisplay, false},
    {4, 7, 0x20000000, Word::kGeneral, false},
    {4, 8, 0x40000000, Word::kGeneral, false},
    {5, 5, kPrefInlineInput, Word::kGeneral, false},
    {5, 6, kPrefEngineExtraFlag, Word::kDisplay, false},
    {5, 7, kPrefKeepKeyboardScript, Word::kDisplay, false},
};

constexpr int16_t kSizes[] = {9, 10, 12, 14, 18, 24, 36};

struct PrefsDialog {
    DialogRef dialog;
    int16_t panel;
    AppPrefs choices;
};

uint32_t read_word(const AppPrefs& c, Word word) {
    if (word == Word::kGeneral) return c.options;
    if (word == Word::kDisplay) return c.options2;
    return c.default_format[kDefaultNumberFlagsByte];
}

void flip_bit(AppPrefs& c, const FlagBox& box) {
    if (box.word == Word::kGeneral) c.options ^= box.bit;
    else if (box.word == Word::kDisplay) c.options2 ^= box.bit;
    else c.default_format[kDefaultNumberFlagsByte] ^= uint8_t(box.bit);
}

pf::ControlRef control_of(const PrefsDialog& d, int16_t item) { return GetDialogControl(d.dialog, item); }

int16_t pop_up_value(const PrefsDialog& d, int16_t item) {
    pf::ControlRef control = control_of(d, item);
    return control ? int16_t(pf::get_control_value(control)) : 0;
}

void set_pop_up_value(const PrefsDialog& d, int16_t item, int32_t value) {
    if (pf::ControlRef control = control_of(d, item)) pf::set_control_value(control, value);
}

// ---- Filling a panel ---------------------------------------------------------------

void show_number(DialogRef dialog, int16_t item, int32_t value) {
    SetDNum(dialog, item, int16_t(value), false);
}

// The panel's first field takes the typing, its text selected.
void focus_field(DialogRef dialog, int16_t item) {
    SetEditTextDialogItemFocus(dialog, item);
    SelectTheDialogItemText(dialog, item, 0, kAllCharacters);
}

void show_points(DialogRef dialog, int16_t item, int16_t points) {
    unsigned char text[256];
    convert_margin_num(points, text, kUnitPoints);
    SetDEditText(dialog, item, text);
}

int16_t column_width_points(const AppPrefs& c) { return c.default_format[kDefaultColumnWidthByte]; }

// The date pop-up holds the Date menu's formats, without its Custom item.
void fill_date_pop(const PrefsDialog& d) {
    pf::MenuRef dates = GetContolPopMenu(d.dialog, kDateItem);
    pf::MenuRef date_menu = pf::get_menu_handle(kDateMenu);
    if (!dates || !date_menu) return;
    pf::delete_menu_items(dates, 1, pf::count_menu_items(dates));
    const int16_t formats = int16_t(pf::count_menu_items(date_menu) - kDateMenuTailItems);
    for (int16_t i = 1; i <= formats; ++i) pf::append_menu_item_text(dates, pf::get_menu_item_text(date_menu, i));
    pf::ControlRef control = control_of(d, kDateItem);
    pf::set_control_minimum(control, 1);
    pf::set_control_maximum(control, formats);
    const int16_t chosen = format_to_dateitem(d.choices.default_format[kDefaultDateFormatByte]);
    pf::set_control_value(control, chosen > 0 && chosen <= formats ? chosen : 0);
}

void show_dictionary_name(const PrefsDialog& d) {
    const unsigned char* name = app_prefs.items[kMainDictionaryEntry].name;
    pf::set_dialog_item_text(d.dialog, kDictionaryNameItem,
                             name[0] ? std::string(reinterpret_cast<const char*>(name + 1), name[0])
                                     : pf::get_indexed_string(kPrefsStrings, kNoDictionaryMessage));
}

void fill_fields(PrefsDialog& d) {
    DialogRef dialog = d.dialog;
    const AppPrefs& c = d.choices;
    switch (d.panel) {
        case 1:
            set_font_pop(dialog, kFontItem, load_i16(c.default_format + kFmtFont));
            set_size_pop(dialog, kSizeItem, c.default_format[kFmtSize]);
            show_number(dialog, kDecimalsItem, c.default_format[kFmtDecimals]);
            show_points(dialog, kWidthItem, column_width_points(c));
            focus_field(dialog, kDecimalsItem);
            break;
        case 2:
            show_number(dialog, kUndoItem, c.undo_depth);
            fill_date_pop(d);
            set_pop_up_value(d, kUnitItem, c.margin_unit + 1);
            focus_field(dialog, kUndoItem);
            break;
        case 3: SetDRadios(dialog, kFirstExportRadio, kLastExportRadio, int16_t(kFirstExportRadio + c.export_choice)); break;
        case 4:
            EnableButton(dialog, kClearIgnoredItem, ignore_ref != nullptr);
            show_dictionary_name(d);
            break;
        case 5: EnableButton(dialog, 5, TSMTE_Available()); break;
        default:
            SetDRadios(dialog, kFirstStartupRadio, kLastStartupRadio, int16_t(kFirstStartupRadio + c.startup_action));
            break;
    }
}

void fill_panel(PrefsDialog& d) {
    for (const FlagBox& box : kBoxes) {
        if (box.panel != d.panel) continue;
        const bool set = (read_word(d.choices, box.word) & box.bit) != 0;
        SetCheckbox(d.dialog, box.item, set != box.checked_when_clear);
    }
    fill_fields(d);
}

// ---- Reading the typed fields ----------------------------------------------------------

void refuse(DialogRef dialog, int16_t item, PrefsField field) {
    const PrefsRange range = prefs_field_range(field);
    const std::string name = pf::get_indexed_string(kPrefsStrings, kRangeMessage + int(field));
    std::string lowest = std::to_string(range.minimum), highest = std::to_string(range.maximum);
    if (field == PrefsField::kColumnWidth) lowest += " pt", highest += " pt";
    figures_alert(kPrefsStrings, kRangeMessage, {name, lowest, highest});
    SetEditTextDialogItemFocus(dialog, item);
    SelectTheDialogItemText(dialog, item, 0, kAllCharacters);
}

bool is_empty_field(DialogRef dialog, int16_t item) {
    unsigned char text[256];
    GetDEditText(dialog, item, text);
    return text[0] == 0;
}

// A typed value within its field's range, or refused; an empty field keeps the
// earlier value when allowed.
bool read_field(DialogRef dialog, int16_t item, PrefsField field, bool empty_keeps, int16_t* value) {
    if (empty_keeps && is_empty_field(dialog, item)) return true;
    const PrefsRange range = prefs_field_range(field);
    const bool length = field == PrefsField::kColumnWidth;
    if (!field_number_within(dialog, item, false, range.minimum, range.maximum,
                             length ? int16_t(kUnitPoints + 1) : kWholeNumberField)) {
        refuse(dialog, item, field);
        return false;
    }
    *value = length ? get_margin_num(dialog, item, nullptr, kUnitPoints) : GetDNum(dialog, item);
    return true;
}

bool read_panel(PrefsDialog& d) {
    AppPrefs& c = d.choices;
    int16_t value = 0;
    if (d.panel == 1) {
        value = c.default_format[kFmtDecimals];
        if (!read_field(d.dialog, kDecimalsItem, PrefsField::kDecimalPlaces, true, &value)) return false;
        c.default_format[kFmtDecimals] = uint8_t(value);
        value = column_width_points(c);
        if (!read_field(d.dialog, kWidthItem, PrefsField::kColumnWidth, true, &value)) return false;
        c.default_format[kDefaultColumnWidthByte] = uint8_t(value);
    } else if (d.panel == 2) {
        value = c.undo_depth;
        if (!read_field(d.dialog, kUndoItem, PrefsField::kUndoLevels, false, &value)) return false;
        c.undo_depth = value;
    }
    return true;
}

// ---- Clicks ----------------------------------------------------------------------------

void switch_panel(PrefsDialog& d) {
    const int16_t chosen = pop_up_value(d, kPanelItem);
    if (chosen == d.panel || chosen < kFirstPanel || chosen > kLastPanel) return;
    if (!read_panel(d)) {
        set_pop_up_value(d, kPanelItem, d.panel);
        return;
    }
    panelSwap(d.dialog, kPrefsDialog + 1, d.panel, chosen, kKeptItems);
    d.panel = chosen;
    fill_panel(d);
    pf::draw_dialog(d.dialog);
}

bool flip_box(PrefsDialog& d, int16_t item) {
    for (const FlagBox& box : kBoxes) {
        if (box.panel != d.panel || box.item != item) continue;
        FlipCheckbox(d.dialog, item);
        flip_bit(d.choices, box);
        return true;
    }
    return false;
}

// A radio of the group first to last sets the choice to its place in the group.
void pick_radio(DialogRef dialog, int16_t item, int16_t first, int16_t last, int16_t* choice) {
    if (item < first || item > last) return;
    SetDRadios(dialog, first, last, item);
    *choice = int16_t(item - first);
}

void click_panel_item(PrefsDialog& d, int16_t item) {
    if (flip_box(d, item)) return;
    AppPrefs& c = d.choices;
    switch (d.panel) {
        case 1:
            if (item == kFontItem) store_i16(c.default_format + kFmtFont, get_pop_font(d.dialog, item));
            if (item == kSizeItem) c.default_format[kFmtSize] = uint8_t(get_pop_size(d.dialog, item));
            break;
        case 2:
            if (item == kDateItem && date_verb(pop_up_value(d, item)) >= 0)
                c.default_format[kDefaultDateFormatByte] = uint8_t(date_verb(pop_up_value(d, item)));
            if (item == kUnitItem) c.margin_unit = int16_t(pop_up_value(d, item) - 1);
            break;
        case 3: pick_radio(d.dialog, item, kFirstExportRadio, kLastExportRadio, &c.export_choice); break;
        case 4:
            if (item == kClearIgnoredItem) {
                clear_Ignore();
                EnableButton(d.dialog, kClearIgnoredItem, false);
            } else if (item == kFindDictionaryItem && find_main_dictionary() == 0) {
                show_dictionary_name(d);
                DrawDialogItem(d.dialog, kDictionaryNameItem);
            }
            break;
        case 6: pick_radio(d.dialog, item, kFirstStartupRadio, kLastStartupRadio, &c.startup_action); break;
        default: break;
    }
}

// Runs the dialog; true when it was confirmed with every field in range.
bool run_prefs_dialog(PrefsDialog& d) {
    for (;;) {
        pf::EventRecord event;
        const int16_t item = GetModalDialogItem(d.dialog, &event, kModalAllOptions);
        if (item == kOkItem && read_panel(d)) return true;
        if (item == kCancelItem || item == kModalCloseBox) return false;
        if (item == kPanelItem) switch_panel(d);
        else if (item > kKeptItems) click_panel_item(d, item);
    }
}

void redraw_every_window() {
    for (pf::WindowRef w = pf::first_window(); w; w = pf::next_window(w))
        pf::inval_window_rect(w, pf::window_port(w)->port_rect);
}

void follow_inline_input(bool wanted) {
    const bool running = (g_system.flags & kSysInlineInput) != 0;
    if (wanted && !running) InitTSMTE();
    if (!wanted && running) QuitTSMTE();
}

}  // namespace

namespace {

// Chooses the pop-up's item with the text, added at the end when missing.
void choose_pop_text(DialogRef dialog, int16_t item, const std::string& text) {
    pf::MenuRef menu = GetContolPopMenu(dialog, item);
    pf::ControlRef control = GetDialogControl(dialog, item);
    if (!menu || !control || text.empty()) return;
    int16_t chosen = 0;
    for (int16_t i = 1; i <= pf::count_menu_items(menu) && !chosen; ++i)
        if (pf::get_menu_item_text(menu, i) == text) chosen = i;
    if (!chosen) {
        pf::append_menu_item_text(menu, text);
        chosen = pf::count_menu_items(menu);
    }
    pf::set_control_maximum(control, pf::count_menu_items(menu));
    pf::set_control_value(control, chosen);
}

}  // namespace

void set_font_pop(DialogRef dialog, int16_t item, int16_t font) {
    make_font_pop(dialog, item);
    choose_pop_text(dialog, item, pf::font_name(font));  // a font not installed stays shown
}

int16_t get_pop_font(DialogRef dialog, int16_t item) {
    pf::MenuRef menu = GetContolPopMenu(dialog, item);
    pf::ControlRef control = GetDialogControl(dialog, item);
    if (!menu || !control) return 0;
    return pf::font_number(pf::get_menu_item_text(menu, int16_t(pf::get_control_value(control))));
}

void set_size_pop(DialogRef dialog, int16_t item, int16_t size) { choose_pop_text(dialog, item, std::to_string(size)); }

int16_t get_pop_size(DialogRef dialog, int16_t item) {
    pf::MenuRef menu = GetContolPopMenu(dialog, item);
    pf::ControlRef control = GetDialogControl(dialog, item);
    if (!control) return 0;
    const int16_t value = int16_t(pf::get_control_value(control));
    return menu ? int16_t(std::atoi(pf::get_menu_item_text(menu, value).c_str())) : value;
}

PrefsRange prefs_field_range(PrefsField field) {
    switch (field) {
        case PrefsField::kUndoLevels: return {1, kMostUndoLevels};
        case PrefsField::kDecimalPlaces: return {0, kMostDecimals};
        default: return {0, 255};  // a byte of points; 0 gives the standard width
    }
}

void copy_edited_prefs(const AppPrefs& from, AppPrefs& to) {
    std::memcpy(to.default_format, from.default_format, sizeof to.default_format);
    to.options = from.options;
    to.options2 = from.options2;
    to.undo_depth = from.undo_depth;
    to.margin_unit = from.margin_unit;
    to.export_choice = from.export_choice;
    to.startup_action = from.startup_action;
}

void apply_prefs_choices(const AppPrefs& c) {
    const bool smooth_before = (app_prefs.options2 & kPrefAntiAliasedText) != 0;
    copy_edited_prefs(c, app_prefs);
    pg_setUndoLevels(c.undo_depth);
    if ((c.options & kPrefDragAndDrop) && DRAG_Available()) g_system.flags |= kSysDragInUse;
    else g_system.flags &= ~kSysDragInUse;
    follow_inline_input((c.options & kPrefInlineInput) != 0);
    const bool smooth = (c.options2 & kPrefAntiAliasedText) != 0;
    if (smooth == smooth_before) return;
    if (smooth) SetAliasText();
    else SetQDText();
    redraw_every_window();
}

void get_app_prefs(int16_t panel) {
    PrefsDialog d{};
    d.panel = panel >= kFirstPanel && panel <= kLastPanel ? panel : kFirstPanel;
    d.choices = app_prefs;
    const pf::FileSpec dictionary = app_prefs.items[kMainDictionaryEntry];
    d.dialog = StdNewDLOG(kPrefsDialog, kOkItem, nullptr);
    if (!d.dialog) return;
    set_pop_up_value(d, kPanelItem, d.panel);
    panelSwap(d.dialog, kPrefsDialog + 1, 0, d.panel, kKeptItems);
    fill_panel(d);
    pf::draw_dialog(d.dialog);
    const bool confirmed = run_prefs_dialog(d);
    StdDLOG_close(d.dialog, nullptr);
    if (!confirmed) {
        app_prefs.items[kMainDictionaryEntry] = dictionary;
        return;
    }
    app_prefs.prefs_panel = d.panel;
    apply_prefs_choices(d.choices);
}

void DoPrefsMenu(MemoryRef, int16_t item) {
    switch (item) {
        case kSettingsPreferencesItem: get_app_prefs(app_prefs.prefs_panel); break;
        case kSettingsCustomizeBarItem: customize_commandbar(); break;
        case kSettingsSaveBarItem: write_button_positions(); break;
        default: break;
    }
}
