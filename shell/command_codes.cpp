// DoCommand: a command code turned into the menu command it stands for, or
// into a small action of its own (AutoSum, inserting and deleting rows and
// columns, sorting, typing an operator, protection, the preferences).
#include "shell/command_codes.h"

#include "charts/charts.h"
#include "core/alerts.h"
#include "core/app_menus.h"
#include "core/startup.h"
#include "editing/editing_commands.h"
#include "model/cell_format.h"
#include "model/insert_delete.h"
#include "model/workbook.h"
#include "platform/events/events.h"
#include "platform/system/international.h"
#include "shell/command_bar.h"
#include "shell/document_facts.h"
#include "shell/shell_commands.h"
#include "shell/sort_command.h"
#include "window/window_commands.h"
#include "window/entry_line.h"
#include "window/point_mode.h"
#include "window/selection_tracking.h"
#include "shell/format_menus.h"

uint32_t gLastCommand = 0;

namespace {

struct CodeEntry {
    const char* code;
    int16_t menu;
    int16_t item;
};

constexpr CodeEntry kMenuCodes[] = {
    {"newd", kFileMenuId, 1},   {"open", kFileMenuId, 2},   {"clos", kFileMenuId, 4},
    {"save", kFileMenuId, 6},   {"sava", kFileMenuId, 7},   {"rvrt", kFileMenuId, 8},
    {"prar", kFileMenuId, 14},  {"pgsu", kFileMenuId, 15},  {"view", kFileMenuId, 16},
    {"pdoc", kFileMenuId, 17},
    // Printing the window or the selection is the File menu's Print, whose
    // dialog offers the selection.
    {"pwin", kFileMenuId, 17},  {"spri", kFileMenuId, 17},
    {"quit", kAppleMenuId, 5},
    {"undo", kEditMenuId, 1},   {"redo", kEditMenuId, 2},   {"cut ", kEditMenuId, 4},
    {"copy", kEditMenuId, 5},   {"past", kEditMenuId, 6},   {"delo", kEditMenuId, 7},
    {"pstv", kEditMenuId, 8},   {"find", kEditMenuId, 11},  {"fina", kEditMenuId, 12},
    {"spel", kEditMenuId, 13},
    // Copying with options is enabled as Copy is and copies as Copy does.
    {"copt", kEditMenuId, 5},
    {"fild", kFillMenuId, 1},   {"filr", kFillMenuId, 2},   {"filu", kFillMenuId, 3},
    {"filL", kFillMenuId, 4},
    {"plan", kStyleMenuId, 1},  {"bold", kStyleMenuId, 3},  {"ital", kStyleMenuId, 4},
    {"undl", kStyleMenuId, 5},  {"outl", kStyleMenuId, 6},  {"shad", kStyleMenuId, 7},
    {"cond", kStyleMenuId, 8},  {"pexp", kStyleMenuId, 9},
    {"jdef", kAlignMenuId, 1},  {"left", kAlignMenuId, 2},  {"cent", kAlignMenuId, 3},
    {"rght", kAlignMenuId, 4},  {"full", kAlignMenuId, 5},
    {"genl", kFormatMenuId, 11}, {"scie", kFormatMenuId, 12}, {"perc", kFormatMenuId, 13},
    {"ffor", kFormatMenuId, 14}, {"trfa", kFormatMenuId, 15}, {"frac", kFormatMenuId, 16},
    {"coma", kFormatOptionMenuId, 1}, {"hzer", kFormatOptionMenuId, 2}, {"pren", kFormatOptionMenuId, 6},
    {"incd", kPrecisionMenuId, 4}, {"decd", kPrecisionMenuId, 5},
    {"stak", kArrangeMenuId, 1}, {"tilh", kArrangeMenuId, 3}, {"tilv", kArrangeMenuId, 4},
    {"cloa", kLayerMenuId, 8},
    {"txlr", kSizeMenuId, 9},   {"txsm", kSizeMenuId, 10},
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

constexpr int16_t kSumItem = 6;  // SUM in the Math menu
constexpr int16_t kLockItem = 21;
constexpr int16_t kUnlockItem = 22;
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
        do_menu_button(kFirstFunctionMenuId, kSumItem);
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
    do_menu_button(kFirstFunctionMenuId, kSumItem);
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
    do_menu_button(kOptionsMenuId, (flags & kFlagLocked) ? kUnlockItem : kLockItem);
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
        case kAppleMenuId: do_apple_menu(item); break;
        case kFileMenuId: DoFileMenu(nullptr, item); break;
        case kEditMenuId: DoEditMenu(nullptr, item); break;
        case kFormatMenuId: DoFormatMenu(nullptr, item); break;
        case kSizeMenuId: DoSizeMenu(nullptr, item); break;
        case kStyleMenuId: DoStyleMenu(nullptr, item); break;
        case kAlignMenuId: DoAlignMenu(nullptr, item); break;
        case kFillMenuId: DoFillMenu(nullptr, item); break;
        case kFormatOptionMenuId: DoFormatOptionMenu(nullptr, item); break;
        case kPrecisionMenuId: DoPrecisionMenu(nullptr, item); break;
        case kArrangeMenuId: DoArrangeMenu(nullptr, item); break;
        case kLayerMenuId: DoLayerMenu(nullptr, item); break;
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
