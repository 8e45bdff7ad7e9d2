// DoCommand: a command code turned into the menu item the menu resources give
// it, carried out by the application's menu procedure, or into a small action
// of its own (AutoSum, inserting and deleting rows and columns, sorting,
// typing an operator, protection, the preferences).
#include "shell/command_codes.h"

#include "ui/alerts.h"
#include "ui/calc_alerts.h"
#include "ui/task_manager.h"
#include "ui/ui_services.h"
#include "model/cell_format.h"
#include "model/insert_delete.h"
#include "model/workbook.h"
#include "platform/events/events.h"
#include "platform/resources/resources.h"
#include "platform/system/international.h"
#include "printing/printing.h"
#include "shell/command_bar.h"
#include "shell/document_facts.h"
#include "shell/shell_commands.h"
#include "shell/shell_services.h"
#include "shell/sort_command.h"
#include "window/entry_line.h"
#include "window/window_commands.h"
#include "window/point_mode.h"
#include "window/selection_tracking.h"
#include "window/front_document.h"
#include "resource_ids.h"

uint32_t gLastCommand = 0;

namespace {

// Codes that carry out another code's menu item: copying with options is
// enabled as Copy is and copies as Copy does.
struct SameItemAs {
    const char* code;
    const char* menu_code;
};

constexpr SameItemAs kSameItemCodes[] = {{"copt", "copy"}};

uint32_t menu_code_of(uint32_t code) {
    for (const SameItemAs& entry : kSameItemCodes) {
        if (code_value(entry.code) == code) return code_value(entry.menu_code);
    }
    return code;
}

// The first item, in ascending menu id, that the MENU resources give the code.
MenuChoice menu_item_given(uint32_t code) {
    if (code == 0) return MenuChoice{0, 0};
    for (int16_t id : pf::resource_ids(pf::kMenuType)) {
        pf::MenuTemplate menu;
        const pf::Resource* resource = pf::get_resource(pf::kMenuType, id);
        if (!resource || !pf::decode_menu(resource->bytes, menu)) continue;
        for (size_t i = 0; i < menu.items.size(); ++i) {
            if (menu.items[i].command == code) return MenuChoice{id, int16_t(i + 1)};
        }
    }
    return MenuChoice{0, 0};
}

struct ActionEntry {
    const char* code;
    CommandKind kind;
};

constexpr ActionEntry kActionCodes[] = {
    {"asum", CommandKind::kAutoSum},        {"delc", CommandKind::kDeleteColumns},
    {"delr", CommandKind::kDeleteRows},     {"insc", CommandKind::kInsertColumns},
    {"insr", CommandKind::kInsertRows},     {"srta", CommandKind::kSortAscending},
    {"srtd", CommandKind::kSortDescending}, {"prot", CommandKind::kProtection},
    {"prfd", CommandKind::kPreferences},    {"op,,", CommandKind::kListSeparator},
    {"spri", CommandKind::kPrintSelection}, {"pwin", CommandKind::kPrintWindow},
};

// Operator codes type the character they repeat; two codes type two characters.
constexpr const char* kOperatorCodes[] = {"op$$", "op&&", "op((", "op))", "op**", "op++", "op--",
                                          "op//", "op::", "op<<", "op==", "op>>", "op^^"};

constexpr unsigned char kEquals = 61;

CommandAction typing(char first, char second) {
    CommandAction action{CommandKind::kTypeText};
    action.text[0] = first;
    action.text[1] = second;
    return action;
}

void run_auto_sum() {
    MemoryRef record = front_document_record();
    if (Editor_Wind) {
        shell_services.menu_button(kFirstFunctionMenu, kMathSumItem);
        return;
    }
    if (!record) return;
    DocumentFacts facts = read_document_facts(record);
    if (facts.layer && check_access(facts.layer)) {
        quorvin_alert(6);
        return;
    }
    if (facts.object_selected) return;
    uint32_t saved = app_prefs.options;
    app_prefs.options &= ~kPrefFunctionTemplates;
    EditorKey(kEquals, record, 0);
    shell_services.menu_button(kFirstFunctionMenu, kMathSumItem);
    DoAllUpdates();
    CellRange range{};
    if (facts.layer && AddSumRange(facts.layer, &range)) FakeMouse(record, &range);
    app_prefs.options = saved;
}

// The guards of insert, delete and sort: a document, no selected object and
// no cell being edited.
MemoryRef layer_for_row_command() {
    DocumentFacts facts = read_document_facts(front_document_record());
    if (!facts.layer || facts.object_selected || Editor_Wind) return nullptr;
    return facts.layer;
}

void run_insert_delete(bool insert, bool rows) {
    MemoryRef layer = layer_for_row_command();
    if (!layer) return;
    int16_t err = insert ? insert_rowcol(layer, rows) : delete_rowcol(layer, rows);
    if (err) show_file_error(err);
    DisplayText(front_document_record(), 1);  // the active cell may hold another entry now
}

void run_sort(int16_t direction) {
    MemoryRef layer = layer_for_row_command();
    if (!layer) return;
    Sort(layer, direction);
    DisplayText(front_document_record(), 1);
}

// Locks the selection when it is unlocked, else unlocks it; with no document
// the default format is asked (the model's format reader needs a layer).
void run_protection() {
    DocumentFacts facts = read_document_facts(front_document_record());
    uint8_t flags = facts.option_flags;
    if (!facts.layer) {
        CellFormat format{};
        GetDefaultFormat(format.bytes);
        flags = format.bytes[kFmtFlagsA];
    }
    shell_services.menu_button(kOptionsMenu, (flags & kFlagLocked) ? kOptionsUnlockItem : kOptionsLockItem);
}

}  // namespace

CommandAction command_action(uint32_t code) {
    if (MenuChoice choice = menu_item_given(menu_code_of(code)); choice.menu)
        return CommandAction{CommandKind::kMenuItem, choice.menu, choice.item};
    for (const ActionEntry& entry : kActionCodes) {
        if (code_value(entry.code) == code) return CommandAction{entry.kind};
    }
    for (const char* op : kOperatorCodes) {
        if (code_value(op) == code) return typing(op[2], 0);
    }
    if (code == pf::four_cc("op<=")) return typing('<', '=');
    if (code == pf::four_cc("op>=")) return typing('>', '=');
    return CommandAction{};
}

char argument_separator() {
    const pf::IntlSettings& intl = pf::international_settings();
    if (intl.decimal_point != '.' && intl.thousands_separator != ',') return intl.list_separator;
    return ',';
}

void choose_menu_item(int16_t menu, int16_t item) {
    MenuChoice choice{menu, item};
    if (ui_services.app_task_menu) ui_services.app_task_menu(nullptr, 0, uintptr_t(&choice));
}

void EditKey(unsigned char ch, uint16_t modifiers) {
    if (MemoryRef record = front_document_record()) EditorKey(ch, record, int16_t(modifiers));
}

int16_t DoCommand(uint32_t code) {
    gLastCommand = code;
    app_prefs.options2 |= kPrefRefreshButtons;
    CommandAction action = command_action(code);
    switch (action.kind) {
        case CommandKind::kNone: break;
        case CommandKind::kMenuItem: choose_menu_item(action.menu, action.item); break;
        case CommandKind::kAutoSum: run_auto_sum(); break;
        case CommandKind::kDeleteColumns: run_insert_delete(false, false); break;
        case CommandKind::kDeleteRows: run_insert_delete(false, true); break;
        case CommandKind::kInsertColumns: run_insert_delete(true, false); break;
        case CommandKind::kInsertRows: run_insert_delete(true, true); break;
        case CommandKind::kSortAscending: run_sort(1); break;
        case CommandKind::kSortDescending: run_sort(-1); break;
        case CommandKind::kProtection: run_protection(); break;
        case CommandKind::kPreferences: get_app_prefs(app_prefs.prefs_panel); break;
        case CommandKind::kPrintSelection: print_doc(front_document_record(), PrintedCells::kSelection); break;
        case CommandKind::kPrintWindow: print_doc(front_document_record(), PrintedCells::kWindow); break;
        case CommandKind::kTypeText:
            for (int i = 0; i < 2 && action.text[i]; ++i) EditKey(uint8_t(action.text[i]), 0);
            break;
        case CommandKind::kListSeparator: EditKey(uint8_t(argument_separator()), 0); break;
    }
    return 0;
}
