// DoCommand: a command code turned into the menu command it stands for, or
// into a small action of its own (AutoSum, inserting and deleting rows and
// columns, sorting, typing an operator, protection, the preferences).
#include "shell/command_codes.h"

#include "charts/charts.h"
#include "ui/alerts.h"
#include "ui/calc_alerts.h"
#include "ui/ui_services.h"
#include "editing/editing_commands.h"
#include "model/cell_format.h"
#include "model/insert_delete.h"
#include "model/workbook.h"
#include "platform/events/events.h"
#include "platform/system/international.h"
#include "shell/command_bar.h"
#include "shell/document_facts.h"
#include "shell/shell_commands.h"
#include "shell/shell_services.h"
#include "shell/sort_command.h"
#include "window/window_commands.h"
#include "window/entry_line.h"
#include "window/point_mode.h"
#include "window/selection_tracking.h"
#include "window/front_document.h"
#include "shell/format_menus.h"
#include "resource_ids.h"
#include "shell/file_menu.h"

uint32_t gLastCommand = 0;

namespace {

struct CodeEntry {
    const char* code;
    int16_t menu;
    int16_t item;
};

constexpr CodeEntry kMenuCodes[] = {
    {"newd", kFileMenu, 1},   {"open", kFileMenu, 2},   {"clos", kFileMenu, 4},
    {"save", kFileMenu, 6},   {"sava", kFileMenu, 7},   {"rvrt", kFileMenu, 8},
    {"prar", kFileMenu, 14},  {"pgsu", kFileMenu, 15},  {"view", kFileMenu, 16},
    {"pdoc", kFileMenu, 17},
    // Printing the window or the selection is the File menu's Print, whose
    // dialog offers the selection.
    {"pwin", kFileMenu, 17},  {"spri", kFileMenu, 17},
    {"quit", kAppleMenu, 5},
    {"undo", kEditMenu, 1},   {"redo", kEditMenu, 2},   {"cut ", kEditMenu, 4},
    {"copy", kEditMenu, 5},   {"past", kEditMenu, 6},   {"delo", kEditMenu, 7},
    {"pstv", kEditMenu, 8},   {"find", kEditMenu, 11},  {"fina", kEditMenu, 12},
    {"spel", kEditMenu, 13},
    // Copying with options is enabled as Copy is and copies as Copy does.
    {"copt", kEditMenu, 5},
    {"fild", kFillMenu, 1},   {"filr", kFillMenu, 2},   {"filu", kFillMenu, 3},
    {"filL", kFillMenu, 4},
    {"plan", kStyleMenu, 1},  {"bold", kStyleMenu, 3},  {"ital", kStyleMenu, 4},
    {"undl", kStyleMenu, 5},  {"outl", kStyleMenu, 6},  {"shad", kStyleMenu, 7},
    {"cond", kStyleMenu, 8},  {"pexp", kStyleMenu, 9},
    {"jdef", kAlignMenu, 1},  {"left", kAlignMenu, 2},  {"cent", kAlignMenu, 3},
    {"rght", kAlignMenu, 4},  {"full", kAlignMenu, 5},
    {"genl", kFormatMenu, 11}, {"scie", kFormatMenu, 12}, {"perc", kFormatMenu, 13},
    {"ffor", kFormatMenu, 14}, {"trfa", kFormatMenu, 15}, {"frac", kFormatMenu, 16},
    {"coma", kFormatOptionMenu, 1}, {"hzer", kFormatOptionMenu, 2}, {"pren", kFormatOptionMenu, 6},
    {"incd", kPrecisionMenu, 4}, {"decd", kPrecisionMenu, 5},
    {"stak", kArrangeMenu, 1}, {"tilh", kArrangeMenu, 3}, {"tilv", kArrangeMenu, 4},
    {"cloa", kLayerMenu, 8},
    {"txlr", kSizeMenu, 9},   {"txsm", kSizeMenu, 10},
};

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
    for (const CodeEntry& entry : kMenuCodes) {
        if (code_value(entry.code) == code) return CommandAction{CommandKind::kMenuItem, entry.menu, entry.item};
    }
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

void run_menu_handler(int16_t menu, int16_t item) {
    switch (menu) {
        case kAppleMenu: ui_services.apple_menu(item); break;
        case kFileMenu: DoFileMenu(nullptr, item); break;
        case kEditMenu: DoEditMenu(nullptr, item); break;
        case kFormatMenu: DoFormatMenu(nullptr, item); break;
        case kSizeMenu: DoSizeMenu(nullptr, item); break;
        case kStyleMenu: DoStyleMenu(nullptr, item); break;
        case kAlignMenu: DoAlignMenu(nullptr, item); break;
        case kFillMenu: DoFillMenu(nullptr, item); break;
        case kFormatOptionMenu: DoFormatOptionMenu(nullptr, item); break;
        case kPrecisionMenu: DoPrecisionMenu(nullptr, item); break;
        case kArrangeMenu: DoArrangeMenu(nullptr, item); break;
        case kLayerMenu: DoLayerMenu(nullptr, item); break;
        default: break;
    }
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
        case CommandKind::kMenuItem: run_menu_handler(action.menu, action.item); break;
        case CommandKind::kAutoSum: run_auto_sum(); break;
        case CommandKind::kDeleteColumns: run_insert_delete(false, false); break;
        case CommandKind::kDeleteRows: run_insert_delete(false, true); break;
        case CommandKind::kInsertColumns: run_insert_delete(true, false); break;
        case CommandKind::kInsertRows: run_insert_delete(true, true); break;
        case CommandKind::kSortAscending: run_sort(1); break;
        case CommandKind::kSortDescending: run_sort(-1); break;
        case CommandKind::kProtection: run_protection(); break;
        case CommandKind::kPreferences: get_app_prefs(app_prefs.prefs_panel); break;
        case CommandKind::kTypeText:
            for (int i = 0; i < 2 && action.text[i]; ++i) EditKey(uint8_t(action.text[i]), 0);
            break;
        case CommandKind::kListSeparator: EditKey(uint8_t(argument_separator()), 0); break;
    }
    return 0;
}
