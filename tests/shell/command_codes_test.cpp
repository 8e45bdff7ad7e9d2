// Every command code reaches the menu item or action it stands for; unknown
// codes only note themselves and ask for a button refresh; the operator codes
// type their characters, the list separator following the system's settings.
#include <gtest/gtest.h>

#include "platform/system/international.h"
#include "ui/app_prefs.h"
#include "shell/command_bar.h"
#include "shell/command_codes.h"

namespace {

struct MenuCode {
    const char* code;
    int16_t menu;
    int16_t item;
};

// The menu commands, including the codes that take the action of their menu
// command: quit, print window, print selection and copy with options.
const MenuCode kMenuCodes[] = {
    {"newd", 129, 1},  {"open", 129, 2},  {"clos", 129, 4},  {"save", 129, 6},  {"sava", 129, 7},
    {"rvrt", 129, 8},  {"prar", 129, 14}, {"pgsu", 129, 15}, {"view", 129, 16}, {"pdoc", 129, 17},
    {"pwin", 129, 17}, {"spri", 129, 17}, {"quit", 128, 5},
    {"undo", 130, 1},  {"redo", 130, 2},  {"cut ", 130, 4},  {"copy", 130, 5},  {"past", 130, 6},
    {"delo", 130, 7},  {"pstv", 130, 8},  {"find", 130, 11}, {"fina", 130, 12}, {"spel", 130, 13},
    {"copt", 130, 5},
    {"fild", 147, 1},  {"filr", 147, 2},  {"filu", 147, 3},  {"filL", 147, 4},
    {"plan", 144, 1},  {"bold", 144, 3},  {"ital", 144, 4},  {"undl", 144, 5},  {"outl", 144, 6},
    {"shad", 144, 7},  {"cond", 144, 8},  {"pexp", 144, 9},
    {"jdef", 146, 1},  {"left", 146, 2},  {"cent", 146, 3},  {"rght", 146, 4},  {"full", 146, 5},
    {"genl", 131, 11}, {"scie", 131, 12}, {"perc", 131, 13}, {"ffor", 131, 14}, {"trfa", 131, 15},
    {"frac", 131, 16}, {"coma", 148, 1},  {"hzer", 148, 2},  {"pren", 148, 6},  {"incd", 149, 4},
    {"decd", 149, 5},  {"stak", 160, 1},  {"tilh", 160, 3},  {"tilv", 160, 4},  {"cloa", 163, 8},
    {"txlr", 143, 9},  {"txsm", 143, 10},
};

TEST(CommandCodes, EveryMenuCodeNamesItsMenuItem) {
    for (const MenuCode& m : kMenuCodes) {
        CommandAction action = command_action(code_value(m.code));
        EXPECT_EQ(action.kind, CommandKind::kMenuItem) << m.code;
        EXPECT_EQ(action.menu, m.menu) << m.code;
        EXPECT_EQ(action.item, m.item) << m.code;
    }
}

TEST(CommandCodes, EveryActionCodeHasItsAction) {
    const std::pair<const char*, CommandKind> actions[] = {
        {"asum", CommandKind::kAutoSum},        {"delc", CommandKind::kDeleteColumns},
        {"delr", CommandKind::kDeleteRows},     {"insc", CommandKind::kInsertColumns},
        {"insr", CommandKind::kInsertRows},     {"srta", CommandKind::kSortAscending},
        {"srtd", CommandKind::kSortDescending}, {"prot", CommandKind::kProtection},
        {"prfd", CommandKind::kPreferences},    {"op,,", CommandKind::kListSeparator},
    };
    for (const auto& [code, kind] : actions) EXPECT_EQ(command_action(code_value(code)).kind, kind) << code;
}

TEST(CommandCodes, OperatorsTypeTheirCharacters) {
    for (const char* op : {"op$$", "op&&", "op((", "op))", "op**", "op++", "op--", "op//", "op::", "op<<", "op==",
                           "op>>", "op^^"}) {
        CommandAction action = command_action(code_value(op));
        EXPECT_EQ(action.kind, CommandKind::kTypeText) << op;
        EXPECT_EQ(std::string(action.text), std::string(1, op[2])) << op;
    }
    EXPECT_EQ(std::string(command_action(code_value("op<=")).text), "<=");
    EXPECT_EQ(std::string(command_action(code_value("op>=")).text), ">=");
}

TEST(CommandCodes, PopUpsSeparatorsAndUnknownCodesHaveNoAction) {
    for (const char* code : {"chrt", "objt", "font", "size", "dsma", "zzzz", "\0\0\0\0"})
        EXPECT_EQ(command_action(code_value(code)).kind, CommandKind::kNone) << code;
}

TEST(CommandCodes, UnknownCodeOnlyNotesItselfAndAsksForARefresh) {
    app_prefs.options2 = 0;
    uint32_t options = app_prefs.options;
    EXPECT_EQ(DoCommand(code_value("zzzz")), 0);
    EXPECT_EQ(gLastCommand, code_value("zzzz"));
    EXPECT_EQ(app_prefs.options2, kPrefRefreshButtons);
    EXPECT_EQ(app_prefs.options, options);
}

TEST(CommandCodes, ListSeparatorFollowsTheSystemOnlyWhenNumbersUseACommaDecimal) {
    pf::IntlSettings saved = pf::international_settings();
    pf::IntlSettings settings = pf::us_international_settings();
    pf::set_international_settings(settings);
    EXPECT_EQ(argument_separator(), ',');
    settings.decimal_point = ',';
    settings.thousands_separator = '.';
    settings.list_separator = ';';
    pf::set_international_settings(settings);
    EXPECT_EQ(argument_separator(), ';');
    // A comma decimal point with comma thousands would be ambiguous: the comma stays.
    settings.thousands_separator = ',';
    pf::set_international_settings(settings);
    EXPECT_EQ(argument_separator(), ',');
    pf::set_international_settings(saved);
}

}  // namespace
