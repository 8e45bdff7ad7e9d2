// Dialog items: the small operations every dialog uses on its items, through
// the controls behind them.
#include "ui/dialog_items.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "ui/alerts.h"
#include "ui/modal_dialog.h"
#include "ui/screen_geometry.h"
#include "core/string_utils.h"
#include "ui/task_manager.h"
#include "platform/controls/controls.h"
#include "platform/draw/draw.h"
#include "platform/draw/theme.h"
#include "platform/events/keyboard.h"
#include "platform/fonts/fonts.h"
#include "platform/menus/menus.h"
#include "platform/resources/resources.h"
#include "platform/screen/cursor.h"
#include "platform/text/mac_roman.h"
#include "platform/text/text.h"
#include "files/entry_script.h"
#include "model/text_runs.h"
#include "ui/ui_services.h"
#include "resource_ids.h"

namespace {

constexpr uint32_t kFlashTicks = 8;
constexpr int16_t kMovableModalVariant = 5;

bool is_edit_text(DialogRef dialog, int16_t item) { return pf::get_dialog_item_kind(dialog, item) == pf::kEditTextItem; }

}  // namespace

pf::Port* dialog_port(DialogRef dialog) { return pf::window_port(pf::get_dialog_window(dialog)); }

// ---- Items and their controls ----------------------------------------------------

pf::ControlRef GetDialogControl(DialogRef dialog, int16_t item) {
    return dialog ? pf::get_dialog_item_control(dialog, item) : nullptr;
}

void DrawDialogItem(DialogRef dialog, int16_t item) { pf::draw_dialog_item(dialog, item); }

void GetDItemBox(DialogRef dialog, int16_t item, pf::Rect* box) { *box = pf::get_dialog_item_box(dialog, item); }

void AttachDUserProc(DialogRef dialog, int16_t item, pf::UserItemProc proc) {
    pf::set_dialog_item_user_proc(dialog, item, proc);
}

// ---- Texts and numbers -------------------------------------------------------------

void SetDText(DialogRef dialog, int16_t item, const unsigned char* text) {
    pf::set_dialog_item_text(dialog, item, pstring_text(text));
}

void GetDText(DialogRef dialog, int16_t item, unsigned char* text) {
    set_pstring(text, pf::get_dialog_item_text(dialog, item));
}

void SetDEditText(DialogRef dialog, int16_t item, const unsigned char* text) {
    pf::ControlRef control = GetDialogControl(dialog, item);
    if (!control) return;
    pf::set_control_data(control, pf::kControlEditTextPart, pf::kControlEditTextTextTag, text[0], text + 1);
    pf::draw_one_control(control);
}

void SetDEditTextUtf8(DialogRef dialog, int16_t item, std::string_view utf8) {
    pf::ControlRef control = GetDialogControl(dialog, item);
    if (control && pf::get_dialog_item_kind(dialog, item) == pf::kEditTextItem) pf::set_edit_text_utf8(control, utf8);
    else pf::set_dialog_item_text(dialog, item, pf::utf8_to_mac_roman(utf8));
}

std::string GetDEditTextUtf8(DialogRef dialog, int16_t item) {
    pf::ControlRef control = GetDialogControl(dialog, item);
    if (control && pf::get_dialog_item_kind(dialog, item) == pf::kEditTextItem) return pf::edit_text_utf8(control);
    return pf::mac_roman_to_utf8(pf::get_dialog_item_text(dialog, item));
}

void GetDEditText(DialogRef dialog, int16_t item, unsigned char* text) {
    set_pstring(text, pf::utf8_to_mac_roman(GetDEditTextUtf8(dialog, item)));
}

bool GetDRomanText(DialogRef dialog, int16_t item, unsigned char* text) {
    return GetDRomanText(dialog, item, text, kRomanLettersAlert);
}

bool GetDRomanTextQuietly(DialogRef dialog, int16_t item, unsigned char* text) {
    const std::string typed = GetDEditTextUtf8(dialog, item);
    std::string roman;
    const bool spelled = pf::utf8_to_script(typed, pf::kScriptRoman, roman);
    set_pstring(text, spelled ? roman : pf::utf8_to_mac_roman(typed));
    return spelled;
}

namespace {

// The characters of a text Mac Roman cannot spell, each once, in order.
std::u32string letters_roman_lacks(std::string_view utf8) {
    std::u32string lacking;
    size_t at = 0;
    char32_t letter = 0;
    while (at < utf8.size()) {
        const size_t start = at;
        std::string roman;
        const bool decoded = pf::decode_utf8(utf8, at, letter);
        if (!decoded) letter = U'\uFFFD';
        if (decoded && pf::utf8_to_script(utf8.substr(start, at - start), pf::kScriptRoman, roman)) continue;
        if (lacking.find(letter) == std::u32string::npos) lacking.push_back(letter);
    }
    return lacking;
}

// The scripts of letters Roman lacks, by name ("Japanese", "Japanese and
// Cyrillic"); a letter no installed script spells named by its code point.
std::string scripts_of_letters(std::u32string_view letters) {
    std::vector<std::string> names;
    const auto add = [&names](std::string name) {
        if (std::find(names.begin(), names.end(), name) == names.end()) names.push_back(std::move(name));
    };
    for (char32_t letter : letters) {
        std::string utf8;
        pf::append_utf8(utf8, letter);
        const pf::ScriptText spelled = pf::spell_in_a_script(utf8);
        if (spelled.unmapped == 0) add(pf::script_name(spelled.script));
        else add(pf::code_point_names(std::u32string_view(&letter, 1), 1).substr(1));
    }
    std::string named;
    for (size_t i = 0; i < names.size(); ++i)
        named += (i == 0 ? "" : i + 1 == names.size() ? " and " : ", ") + names[i];
    return named;
}

}  // namespace

std::string scripts_roman_lacks(std::string_view utf8) { return scripts_of_letters(letters_roman_lacks(utf8)); }

bool GetDRomanText(DialogRef dialog, int16_t item, unsigned char* text, int16_t alert) {
    if (GetDRomanTextQuietly(dialog, item, text)) return true;
    unsigned char scripts[256];
    set_pstring(scripts, scripts_roman_lacks(GetDEditTextUtf8(dialog, item)));
    key_caution_alert(scripts, alert, kStopAlertKind);
    SetEditTextDialogItemFocus(dialog, item);
    SelectTheDialogItemText(dialog, item, 0, kAllCharacters);
    return false;
}

namespace {

// A text set or pasted into a field, spelled as a cell's entry is: in one
// script when one spells it all, else in runs of the scripts that spell its
// words. A paste of characters no installed script spells is asked about
// first, as a paste into the entry line is.
bool spell_field_text(std::string_view utf8, bool pasted, std::string& bytes, std::vector<int16_t>& scripts) {
    const RunLook look;
    ScriptedText spelled = spell_text_in_scripts(utf8, look);
    if (pasted && !spelled.unspelled_characters.empty() && !paste_despite_unspelled(spelled.unspelled_characters))
        return false;
    bytes = std::move(spelled.text);
    scripts.assign(bytes.size(), spelled.script);
    if (spelled.runs.empty()) return true;
    for (const TextRun& run : text_runs(spelled.runs, bytes.size()))
        std::fill(scripts.begin() + ptrdiff_t(run.start), scripts.begin() + ptrdiff_t(run.end), run_script(run, look.font));
    return true;
}

}  // namespace

void install_field_text_speller() { pf::set_edit_text_speller(spell_field_text); }

void SelectTheDialogItemText(DialogRef dialog, int16_t item, int16_t start, int16_t end) {
    pf::select_dialog_item_text(dialog, item, start, end);
}

void SetEditTextDialogItemFocus(DialogRef dialog, int16_t item) { pf::set_dialog_keyboard_focus(dialog, item); }

void SetCntrlText(DialogRef dialog, int16_t item, const unsigned char* text) {
    if (pf::ControlRef control = GetDialogControl(dialog, item)) pf::set_control_title(control, pstring_text(text));
}

void SetDNum(DialogRef dialog, int16_t item, int16_t number, bool select) {
    std::string text = std::to_string(number);
    pf::set_dialog_item_text(dialog, item, text);
    if (select) pf::select_dialog_item_text(dialog, item, 0, kAllCharacters);
}

bool parse_whole_number(const unsigned char* text, int32_t* value) {
    int length = text[0];
    int at = 1;
    bool negative = false;
    if (at <= length && (text[at] == '-' || text[at] == '+')) negative = text[at++] == '-';
    if (at > length) return false;
    int64_t number = 0;
    for (; at <= length; ++at) {
        if (text[at] < '0' || text[at] > '9') return false;
        number = std::min<int64_t>(number * 10 + (text[at] - '0'), int64_t(INT32_MAX) + 1);
    }
    number = negative ? -number : std::min<int64_t>(number, INT32_MAX);
    *value = int32_t(number);
    return true;
}

void GetDNumberText(DialogRef dialog, int16_t item, unsigned char* text) {
    GetDEditText(dialog, item, text);
    int first = 1;
    while (first <= text[0] && text[first] == ' ') ++first;
    int last = text[0];
    while (last >= first && text[last] == ' ') --last;
    text[0] = uint8_t(last - first + 1);
    std::memmove(text + 1, text + first, text[0]);
}

int16_t GetDNum(DialogRef dialog, int16_t item) {
    unsigned char text[256];
    GetDEditText(dialog, item, text);
    int32_t value = 0;
    if (!parse_whole_number(text, &value)) return 0;
    return int16_t(std::clamp<int32_t>(value, INT16_MIN, INT16_MAX));
}

// ---- Check boxes, radios and buttons -----------------------------------------------

int16_t GetCheckbox(DialogRef dialog, int16_t item) {
    pf::ControlRef control = GetDialogControl(dialog, item);
    return control ? int16_t(pf::get_control_value(control)) : 0;
}

void SetCheckbox(DialogRef dialog, int16_t item, int16_t value) {
    if (pf::ControlRef control = GetDialogControl(dialog, item)) pf::set_control_value(control, value);
}

int16_t FlipControl(pf::ControlRef control) {
    if (!control) return 0;
    int32_t value = pf::get_control_value(control) ? 0 : 1;
    pf::set_control_value(control, value);
    return int16_t(value);
}

int16_t FlipCheckbox(DialogRef dialog, int16_t item) { return FlipControl(GetDialogControl(dialog, item)); }

void SetDRadios(DialogRef dialog, int16_t first, int16_t last, int16_t on) {
    for (int16_t item = first; item <= last; ++item) {
        pf::ControlRef control = GetDialogControl(dialog, item);
        if (!control) continue;
        pf::set_control_value(control, item == on ? 1 : 0);
        pf::draw_one_control(control);
    }
}

int16_t GetDRadios(DialogRef dialog, int16_t first, int16_t last) {
    for (int16_t item = first; item <= last; ++item)
        if (GetCheckbox(dialog, item)) return item;
    return 0;
}

void msEnableControl(pf::ControlRef control, bool enable) {
    if (control) pf::hilite_control(control, enable ? 0 : pf::kControlInactiveHilite);
}

void EnableButton(DialogRef dialog, int16_t item, bool enable) {
    if (!GetDialogControl(dialog, item)) return;
    pf::enable_dialog_item(dialog, item, enable);
    msEnableControl(GetDialogControl(dialog, item), enable);
}

void SetControlState(DialogRef dialog, int16_t first, int16_t last, bool enable) {
    for (int16_t item = first; item <= last; ++item) EnableButton(dialog, item, enable);
}

bool msGetControlEnabled(pf::ControlRef control) {
    return control && control->hilite != pf::kControlInactiveHilite;
}

bool GetButtonEnable(DialogRef dialog, int16_t item) {
    pf::ControlRef control = GetDialogControl(dialog, item);
    return pf::is_dialog_item_enabled(dialog, item) && (!control || msGetControlEnabled(control));
}

void dialog_pause(uint32_t ticks) {
    uint32_t until = pf::tick_count() + ticks;
    while (pf::tick_count() < until) {
        pf::compose_screen();
        pf::clock_sleep(16);
    }
}

int16_t flash_control(pf::ControlRef control) {
    if (!control || control->hilite != 0) return 1;
    pf::hilite_control(control, pf::kControlButtonPart);
    dialog_pause(kFlashTicks);
    pf::hilite_control(control, 0);
    return 0;
}

int16_t flash_button(DialogRef dialog, int16_t item) {
    if (!pf::is_dialog_item_enabled(dialog, item) || is_edit_text(dialog, item)) return 1;
    return flash_control(GetDialogControl(dialog, item));
}

// ---- Pop-ups, fonts and styles -------------------------------------------------------

pf::MenuRef GetContolPopMenu(DialogRef dialog, int16_t item) {
    pf::ControlRef control = GetDialogControl(dialog, item);
    return control && control->kind == pf::kPopupButtonControl ? control->menu : nullptr;
}

void make_font_pop(DialogRef dialog, int16_t item) {
    pf::MenuRef menu = GetContolPopMenu(dialog, item);
    if (!menu) return;
    pf::delete_menu_items(menu, 1, pf::count_menu_items(menu));
    for (const pf::FontFamily& family : pf::font_list()) pf::append_menu_item_text(menu, family.name);
    pf::ControlRef control = GetDialogControl(dialog, item);
    pf::set_control_minimum(control, 1);
    pf::set_control_maximum(control, pf::count_menu_items(menu));
}

void DimAppearanceText(DialogRef dialog, int16_t item, bool dim) {
    pf::ControlRef control = GetDialogControl(dialog, item);
    if (!control) return;
    if (dim) pf::deactivate_control(control);
    else pf::activate_control(control);
}

int16_t Do_DLOG_Popup(DialogRef dialog, int16_t item, int16_t title_item, int16_t menu_id, int16_t current) {
    pf::MenuRef menu = pf::get_menu(menu_id);
    if (!menu) return 0;
    pf::insert_menu(menu, pf::kInsertHierarchicalMenu);
    int16_t count = pf::count_menu_items(menu);
    if (current >= 0)
        for (int16_t i = 1; i <= count; ++i) pf::check_menu_item(menu, i, i == current);
    PushPort(dialog_port(dialog));
    pf::Rect box = pf::get_dialog_item_box(dialog, item);
    pf::Point corner{int16_t(box.top + 1), int16_t(box.left + 1)};
    pf::local_to_global(corner);
    pf::Rect title_box = title_item ? pf::get_dialog_item_box(dialog, title_item) : pf::Rect{};
    if (title_item) pf::invert_rect(title_box);
    int32_t choice = pf::pop_up_menu_select(menu, corner.v, corner.h, current > 0 ? current : 1);
    if (title_item) pf::invert_rect(title_box);
    pf::delete_menu(menu_id);
    pf::dispose_menu(menu);
    PopPort();
    return int16_t(choice & 0xFFFF);
}

void draw_pop(const pf::Rect* rect, bool active, int16_t) {
    pf::draw_theme_popup_button(*rect, active ? pf::kThemeStateActive : pf::kThemeStateInactive);
}

void DrawColorPopSample(DialogRef dialog, int16_t item, bool active, const pf::RGBColor* colour) {
    pf::Rect box = pf::get_dialog_item_box(dialog, item);
    PushPort(dialog_port(dialog));
    draw_pop(&box, active, 32);
    if (active) {
        pf::Rect sample{int16_t(box.top + 3), int16_t(box.left + 4), int16_t(box.bottom - 3), int16_t(box.right - 20)};
        pf::RGBColor saved;
        pf::get_fore_color(saved);
        if (colour) {
            pf::rgb_fore_color(*colour);
            pf::paint_rect(sample);
            pf::rgb_fore_color(saved);
            pf::frame_rect(sample);
        } else {
            int16_t v = int16_t((sample.top + sample.bottom) / 2), h = int16_t((sample.left + sample.right) / 2);
            pf::move_to(h, v);
            pf::line_to(h, v);
        }
    }
    PopPort();
}

// ---- The default button ----------------------------------------------------------------

void SetOKBoxProc(DialogRef dialog, int16_t item) {
    pf::set_dialog_default_item(dialog, item);
    if (pf::ControlRef control = GetDialogControl(dialog, item))
        pf::set_window_default_button(pf::get_dialog_window(dialog), control);
}

void reset_ok_button(DialogRef dialog, bool enable) {
    if (GetButtonEnable(dialog, dialog->default_item) != enable) EnableButton(dialog, dialog->default_item, enable);
}

// ---- Opening, closing, editing, panels ---------------------------------------------------

DialogRef StdNewDLOG(int16_t dlog_id, int16_t default_item, const pf::Point* saved) {
    if (!pf::get_resource(pf::kDialogType, dlog_id)) return nullptr;
    answer_unattended(pf::kEscapeChar, pf::kKeyCodeEscape);
    DeactivateFloatersAndFirstDocumentWindow();
    DialogRef dialog = pf::get_new_dialog(dlog_id);
    if (!dialog) {
        ActivateFloatersAndFirstDocumentWindow();
        return nullptr;
    }
    WindowRef window = pf::get_dialog_window(dialog);
    if (saved && checkonscreen(*saved)) pf::move_window(window, saved->h, saved->v, false);
    pf::set_port(pf::window_port(window));
    if (default_item) SetOKBoxProc(dialog, default_item);
    ui_services.dialog_menu_bar(0, pf::window_variant(window) == kMovableModalVariant);
    pf::set_window_refcon(window, 0);
    SetCursorTo(kArrowCursor);
    return dialog;
}

ModalMenuBar::ModalMenuBar() : dimmed(!WindowIsModal(pf::front_window())) {
    if (dimmed) ui_services.dialog_menu_bar(0, 0);
}

ModalMenuBar::~ModalMenuBar() {
    if (dimmed) ui_services.dialog_menu_bar(1, 0);
}

void StdDLOG_close(DialogRef dialog, pf::Point* saved) {
    if (!dialog) return;
    if (saved) *saved = get_global_loc(pf::get_dialog_window(dialog));
    pf::dispose_dialog(dialog);
    if (WindowIsModal(pf::front_window())) return;
    ui_services.dialog_menu_bar(1, 0);
    ActivateFloatersAndFirstDocumentWindow();
}

bool is_field_edit_item(int16_t menu_item) {
    return (menu_item >= kEditCutItem && menu_item <= kEditClearItem) || menu_item == kEditSelectAllItem;
}

void dlog_menus(DialogRef dialog, int16_t menu_item) {
    int16_t item = pf::get_dialog_keyboard_focus(dialog);
    pf::ControlRef control = GetDialogControl(dialog, item);
    if (!control) return;
    switch (menu_item) {
        case kEditUndoItem: pf::edit_text_undo(control); break;
        case kEditCutItem: pf::edit_text_cut(control); break;
        case kEditCopyItem: pf::edit_text_copy(control); break;
        case kEditPasteItem: pf::edit_text_paste(control); break;
        case kEditClearItem: pf::edit_text_clear(control); break;
        case kEditSelectAllItem: pf::edit_text_select(control, 0, kAllCharacters); break;
        default: return;
    }
    pf::inval_window_rect(pf::get_dialog_window(dialog), pf::get_dialog_item_box(dialog, item));
}

void panelSwap(DialogRef dialog, int16_t base_ditl, int16_t, int16_t new_panel, int16_t items_kept) {
    int16_t extra = int16_t(pf::count_dialog_items(dialog) - items_kept);
    if (extra > 0) pf::shorten_dialog_items(dialog, extra);
    pf::append_dialog_items(dialog, int16_t(base_ditl + new_panel), pf::AppendMethod::kOverlay);
}

// ---- The standard key filter ------------------------------------------------------------------

bool KeyFilter(DialogRef dialog, pf::EventRecord& event, int16_t& item_hit) {
    switch (event.what) {
        case pf::kMouseDown:
            if (!modal_window_item(pf::get_dialog_window(dialog), &event)) return pf::standard_filter(dialog, event, item_hit);
            item_hit = 0;
            return true;
        case pf::kKeyDown:
        case pf::kAutoKey:
            break;
        case pf::kUpdateEvent:
            if (reinterpret_cast<WindowRef>(event.message) != pf::get_dialog_window(dialog)) ui_services.draw_update(&event);
            return pf::standard_filter(dialog, event, item_hit);
        default:
            return pf::standard_filter(dialog, event, item_hit);
    }
    unsigned char ch = pf::event_char(event);
    bool command = (event.modifiers & pf::kCmdKey) != 0;
    if (command) {
        if (ch != '.') return false;
        ch = pf::kEscapeChar;
    }
    if (ch == pf::kReturnChar || ch == pf::kEnterChar) {
        if (!GetButtonEnable(dialog, 1)) return false;
        flash_button(dialog, 1);
        item_hit = 1;
        return true;
    }
    if (ch == pf::kEscapeChar) {
        if (!GetDialogControl(dialog, 2) || !GetButtonEnable(dialog, 2)) return false;
        flash_button(dialog, 2);
        item_hit = 2;
        return true;
    }
    if (ch == pf::kBackspaceChar || ch == pf::kTabChar || ch >= ' ') {
        pf::DialogRef hit_dialog = nullptr;
        int16_t hit = 0;
        pf::dialog_select(event, &hit_dialog, &hit);
        if (!pf::get_dialog_keyboard_focus(dialog)) return false;
        item_hit = hit;
        return true;
    }
    return pf::standard_filter(dialog, event, item_hit);
}
