#include "shell/bar_dialogs.h"

#include <algorithm>
#include <string>

#include "ui/dialog_items.h"
#include "ui/lists_and_menus.h"
#include "ui/modal_dialog.h"
#include "core/string_utils.h"
#include "platform/controls/control_look.h"
#include "platform/controls/controls.h"
#include "platform/draw/port.h"
#include "platform/fonts/classic_fonts.h"
#include "platform/resources/resources.h"
#include "platform/windows/windows.h"
#include "ui/app_prefs.h"
#include "shell/command_bar.h"
#include "resource_ids.h"

namespace {

constexpr int16_t kUntitledName = 1, kSpaceText = 1;
constexpr int16_t kDoneItem = 1, kNewItem = 3, kEditItem = 4, kBarPopup = 5, kDeleteItem = 6, kResetItem = 7;
constexpr int16_t kOkItem = 1, kCancelItem = 2, kNameItem = 3, kToolList = 6, kBarList = 7, kAddBeforeItem = 8,
                  kRemoveItem = 9, kToolText = 12, kButtonText = 13, kAddAfterItem = 14, kToolSetPopup = 15,
                  kEditingBarBox = 17;
constexpr int16_t kToolSetsBase = 999;  // 'bars' 999 + the tool-set pop-up's value

// ---- The rows and descriptions of buttons --------------------------------------------

std::string row_text(const ButtonRecord& button) {
    std::string text = button.help_list ? pf::get_indexed_string(button.help_list, button.help_index) : "";
    return text.empty() ? pf::get_indexed_string(kBarEditorStrings, kSpaceText) : text;
}

std::string description_of(const ButtonRecord& button) {
    return button.description_list ? pf::get_indexed_string(button.description_list, button.description_index) : "";
}

void fill_list(pf::ListHandle list, const std::vector<ButtonRecord>& buttons) {
    clear_list_data(list);
    unsigned char text[256];
    for (const ButtonRecord& button : buttons) {
        set_pstring(text, row_text(button));
        add_list_str(text, list);
    }
}

// ---- The lists' rows: each button's picture and its short help ----------------------

constexpr int16_t kButtonRowHeight = 24, kRowButtonHeight = 22, kStandardButtonWidth = 22;
constexpr int16_t kRowTextSize = 10;

int16_t row_button_width(const ButtonRecord& button) {
    const int16_t width = button.rect.right - button.rect.left;
    return width > 0 ? width : kStandardButtonWidth;
}

bool in_current_bar(const ButtonRecord& tool) {
    if (tool.flags & kButtonInert) return false;
    return std::any_of(current_bar.buttons.begin(), current_bar.buttons.end(),
                       [&](const ButtonRecord& button) { return button.command == tool.command; });
}

void draw_button_row(const ButtonRecord& button, const pf::Rect& cell, bool selected, bool italic, std::string_view text,
                     pf::ListHandle list) {
    pf::fill_rect_color(cell, selected ? (list->active ? pf::kLookAccent : pf::kLookFacePressed) : pf::kLookLight);
    ButtonRecord shown = button;
    const int16_t left = int16_t(cell.left + 2), top = int16_t(cell.top + 1);
    shown.rect = pf::Rect{top, left, int16_t(top + kRowButtonHeight), int16_t(left + row_button_width(button))};
    draw_command_button(shown, list->window, command_bar_depth());
    if (description_of(button).empty()) return;
    pf::text_font(pf::kSystemFont);
    pf::text_size(kRowTextSize);
    pf::text_face(italic ? pf::kItalic : 0);
    const pf::Rect box{int16_t(cell.top + 6), int16_t(shown.rect.right + 2), int16_t(cell.top + 18), cell.right};
    pf::draw_text_in_box(box, text, pf::TextAlign::kLeft, selected && list->active ? pf::kLookAccentText : pf::kLookText);
    pf::text_face(0);
}

// The list of a row's button: its refcon holds the buttons shown.
const ButtonRecord* row_button(pf::Point cell, pf::ListHandle list) {
    const auto* buttons = reinterpret_cast<const std::vector<ButtonRecord>*>(list->refcon);
    if (!buttons || cell.v < 0 || cell.v >= int16_t(buttons->size())) return nullptr;
    return &(*buttons)[size_t(cell.v)];
}

// The bar list: each button of the bar being edited.
void ButtonLDEF(int16_t message, bool selected, const pf::Rect& cell_rect, pf::Point cell, std::string_view data,
                pf::ListHandle list) {
    if (message != pf::kListDrawMsg) return;
    if (const ButtonRecord* button = row_button(cell, list)) draw_button_row(*button, cell_rect, selected, false, data, list);
}

// The tool list: each tool of the tool set, in italic when the bar has it already.
void StaticLDEF(int16_t message, bool selected, const pf::Rect& cell_rect, pf::Point cell, std::string_view data,
                pf::ListHandle list) {
    if (message != pf::kListDrawMsg) return;
    if (const ButtonRecord* tool = row_button(cell, list))
        draw_button_row(*tool, cell_rect, selected, in_current_bar(*tool), data, list);
}

void show_buttons_in(pf::ListHandle list, pf::ListDefProc ldef, const std::vector<ButtonRecord>* buttons) {
    if (!list) return;
    list->ldef = ldef;
    list->refcon = reinterpret_cast<uintptr_t>(buttons);
    list->cell_size.v = kButtonRowHeight;
}

void select_only_row(pf::ListHandle list, int16_t row) {
    if (!list) return;
    for (int16_t selected : pf::list_selected_rows(list)) select_list_cell(list, selected, false);
    if (row >= 0 && row < pf::list_rows(list)) {
        select_list_cell(list, row, true);
        pf::list_auto_scroll(list);
    }
}

struct BarEditor {
    DialogRef dialog = nullptr;
    pf::ListHandle tool_list = nullptr, bar_list = nullptr;
    std::vector<ButtonRecord> tools;
    std::string name;  // the name typed, read at OK
};

void show_description(const BarEditor& e, int16_t text_item, pf::ListHandle list,
                      const std::vector<ButtonRecord>& buttons) {
    const int16_t row = FindSelect(list);
    const std::string text = row >= 0 && row < int16_t(buttons.size()) ? description_of(buttons[size_t(row)]) : "";
    pf::set_dialog_item_text(e.dialog, text_item, text);
    DrawDialogItem(e.dialog, text_item);
}

void show_descriptions(const BarEditor& e) {
    show_description(e, kToolText, e.tool_list, e.tools);
    show_description(e, kButtonText, e.bar_list, current_bar.buttons);
}

void load_tool_set(BarEditor& e) {
    pf::ControlRef popup = GetDialogControl(e.dialog, kToolSetPopup);
    const int16_t set = popup ? int16_t(pf::get_control_value(popup)) : 1;
    e.tools.clear();
    for (int16_t id : bar_resource_ids(int16_t(kToolSetsBase + set))) {
        ButtonRecord button;
        if (load_button(id, &button)) e.tools.push_back(button);
    }
    fill_list(e.tool_list, e.tools);
    select_only_row(e.tool_list, 0);
}

// The bar list and the command bar after an edit, the row selected.
void show_bar_edit(BarEditor& e, int16_t row) {
    fill_list(e.bar_list, current_bar.buttons);
    select_only_row(e.bar_list, row);
    DrawDialogItem(e.dialog, kBarList);
    DrawDialogItem(e.dialog, kToolList);  // the tools now in the bar turn italic
    reset_toolbar();
    show_descriptions(e);
}

void enable_edit_buttons(const BarEditor& e) {
    const bool tool = FindSelect(e.tool_list) >= 0;
    EnableButton(e.dialog, kAddBeforeItem, tool);
    EnableButton(e.dialog, kAddAfterItem, tool);
    EnableButton(e.dialog, kRemoveItem, !current_bar.buttons.empty());
}

void add_tool(BarEditor& e, bool after) {
    const int16_t tool = FindSelect(e.tool_list);
    if (tool < 0 || tool >= int16_t(e.tools.size())) return;
    const int16_t row = FindSelect(e.bar_list);
    show_bar_edit(e, insert_bar_button(current_bar.buttons, e.tools[size_t(tool)], std::max<int16_t>(row, 0),
                                       after && row >= 0));
}

// The bar row under a point of the dialog's content, -1 for none.
int16_t bar_row_at(const BarEditor& e, pf::Point global) {
    const pf::Rect content = pf::window_content_rect(pf::get_dialog_window(e.dialog));
    const pf::Point local{int16_t(global.v - content.top), int16_t(global.h - content.left)};
    for (int16_t row = 0; row < pf::list_rows(e.bar_list); ++row)
        if (pf::pt_in_rect(local, pf::list_cell_rect(e.bar_list, pf::Point{row, 0}))) return row;
    return -1;
}

// A click in the bar list: a row dragged to another place moves its button there.
void bar_list_click(BarEditor& e, const pf::EventRecord& event) {
    if (event.what == pf::kMouseDown) {
        const int16_t from = bar_row_at(e, event.where), to = pf::list_last_click(e.bar_list).v;
        if (from >= 0 && to >= 0 && from != to) {
            show_bar_edit(e, move_bar_button(current_bar.buttons, from, to));
            return;
        }
    }
    show_description(e, kButtonText, e.bar_list, current_bar.buttons);
}

// Reads the name typed into e.name; false (the refusal shown) when Roman cannot spell it.
bool read_typed_name(BarEditor& e) {
    unsigned char name[256];
    if (!GetDRomanText(e.dialog, kNameItem, name)) return false;
    e.name = pstring_text(name);
    return true;
}

std::string typed_name(const BarEditor& e) {
    return e.name.empty() ? pf::get_indexed_string(kBarNames, kUntitledName) : e.name;
}

// Stores the edited bar; the previous bar is what the shown one held before.
void keep_edited_bar(const BarEditor& e, bool new_bar, const ButtonBar& previous) {
    const bool editing_bar = GetCheckbox(e.dialog, kEditingBarBox) != 0;
    if (new_bar) {
        button_list.push_back(ButtonBar{typed_name(e), current_bar.buttons, 0});
        if (editing_bar) app_prefs.editing_bar = int16_t(button_list.size());
        current_bar = previous;
    } else {
        current_bar.name = typed_name(e);
        button_list[size_t(app_prefs.bar_shown)] = current_bar;
        const int16_t number = int16_t(app_prefs.bar_shown + 1);
        if (editing_bar) app_prefs.editing_bar = number;
        else if (app_prefs.editing_bar == number) app_prefs.editing_bar = 0;
    }
    reset_toolbar();
    write_button_positions();
}

bool run_bar_editor(BarEditor& e) {
    for (;;) {
        enable_edit_buttons(e);
        pf::EventRecord event;
        const int16_t item = GetModalDialogItem(e.dialog, &event, kModalAllOptions);
        if (item == kOkItem && read_typed_name(e)) return true;
        if (item == kCancelItem || item == kModalCloseBox) return false;
        if (item == kAddBeforeItem || item == kAddAfterItem) add_tool(e, item == kAddAfterItem);
        else if (item == kRemoveItem)
            show_bar_edit(e, remove_bar_button(current_bar.buttons, FindSelect(e.bar_list)));
        else if (item == kBarList) bar_list_click(e, event);
        else if (item == kToolList) show_description(e, kToolText, e.tool_list, e.tools);
        else if (item == kToolSetPopup) {
            load_tool_set(e);
            DrawDialogItem(e.dialog, kToolList);
            show_description(e, kToolText, e.tool_list, e.tools);
        } else if (item == kEditingBarBox) FlipCheckbox(e.dialog, item);
    }
}

void fill_bar_pop(DialogRef dialog) {
    pf::MenuRef menu = GetContolPopMenu(dialog, kBarPopup);
    pf::ControlRef control = GetDialogControl(dialog, kBarPopup);
    if (!menu || !control) return;
    pf::delete_menu_items(menu, 1, pf::count_menu_items(menu));
    const int16_t current = append_button_names(menu);
    pf::set_control_maximum(control, pf::count_menu_items(menu));
    pf::set_control_value(control, current ? current : 1);
    DrawDialogItem(dialog, kBarPopup);
}

}  // namespace

int16_t insert_bar_button(std::vector<ButtonRecord>& buttons, const ButtonRecord& tool, int16_t row, bool after) {
    const int16_t at = std::clamp<int16_t>(int16_t(row + (after ? 1 : 0)), 0, int16_t(buttons.size()));
    buttons.insert(buttons.begin() + at, tool);
    return at;
}

int16_t remove_bar_button(std::vector<ButtonRecord>& buttons, int16_t row) {
    if (row < 0 || row >= int16_t(buttons.size())) return buttons.empty() ? -1 : 0;
    buttons.erase(buttons.begin() + row);
    if (buttons.empty()) return -1;
    return std::max<int16_t>(int16_t(row - 1), 0);
}

int16_t move_bar_button(std::vector<ButtonRecord>& buttons, int16_t from, int16_t to) {
    const int16_t count = int16_t(buttons.size());
    if (from < 0 || from >= count || to < 0 || to >= count) return from;
    const ButtonRecord moved = buttons[size_t(from)];
    buttons.erase(buttons.begin() + from);
    buttons.insert(buttons.begin() + to, moved);
    return to;
}

int16_t command_dialog(int16_t new_bar) {
    if (!has_current_bar) return 0;
    BarEditor e;
    e.dialog = StdNewDLOG(kBarEditorDialog, kOkItem, nullptr);
    if (!e.dialog) return 0;
    e.tool_list = GetDialogListHandle(e.dialog, kToolList);
    e.bar_list = GetDialogListHandle(e.dialog, kBarList);
    show_buttons_in(e.tool_list, StaticLDEF, &e.tools);
    show_buttons_in(e.bar_list, ButtonLDEF, &current_bar.buttons);
    const ButtonBar previous = current_bar;
    const bool making = new_bar < 0;
    if (making) {
        current_bar.buttons.clear();
        current_bar.name = pf::get_indexed_string(kBarNames, kUntitledName);
        reset_toolbar();
    } else {
        SetCheckbox(e.dialog, kEditingBarBox, app_prefs.editing_bar == app_prefs.bar_shown + 1);
    }
    pf::set_dialog_item_text(e.dialog, kNameItem, current_bar.name);
    SelectTheDialogItemText(e.dialog, kNameItem, 0, kAllCharacters);
    load_tool_set(e);
    fill_list(e.bar_list, current_bar.buttons);
    select_only_row(e.bar_list, 0);
    pf::draw_dialog(e.dialog);
    show_descriptions(e);
    const bool accepted = run_bar_editor(e);
    if (accepted) keep_edited_bar(e, making, previous);
    StdDLOG_close(e.dialog, nullptr);
    if (accepted) return 1;
    current_bar = previous;
    reset_toolbar();
    return 0;
}

int16_t customize_commandbar() {
    DialogRef dialog = StdNewDLOG(kCustomizeDialog, kDoneItem, nullptr);
    if (!dialog) return 0;
    fill_bar_pop(dialog);
    pf::draw_dialog(dialog);
    for (;;) {
        pf::EventRecord event;
        const int16_t item = GetModalDialogItem(dialog, &event, kModalAllOptions);
        if (item == kDoneItem || item == kCancelItem || item == kModalCloseBox) break;
        if (item == kNewItem && command_dialog(-1)) switch_bars(int16_t(button_list.size()));
        else if (item == kEditItem) command_dialog(0);
        else if (item == kBarPopup) {
            pf::ControlRef control = GetDialogControl(dialog, kBarPopup);
            switch_bars(int16_t(pf::get_control_value(control)));
        } else if (item == kDeleteItem) delete_bar(true);
        else if (item == kResetItem) reset_to_default_bar();
        fill_bar_pop(dialog);
    }
    StdDLOG_close(dialog, nullptr);
    return 1;
}
