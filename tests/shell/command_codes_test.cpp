// Command codes find their menu items in the menu resources: every code an
// item carries reaches that item, every plain bar button has a command, and a
// menu item inserted in the resources moves no button off its item; every
// button is named as the menu item it runs. Unknown
// codes only note themselves and ask for a button refresh; the operator codes
// type their characters, the list separator following the system's settings.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "../tools/rescomp_fixture.h"
#include "platform/resources/resources.h"
#include "platform/system/international.h"
#include "resource_bundle.h"
#include "ui/app_prefs.h"
#include "shell/button_bars.h"
#include "shell/command_bar.h"
#include "shell/command_codes.h"

namespace {

struct CodedItem {
    uint32_t code;
    int16_t menu;
    int16_t item;
    std::string text;
};

// Every menu item the installed MENU resources give a command code.
std::vector<CodedItem> coded_menu_items() {
    std::vector<CodedItem> items;
    for (int16_t id : pf::resource_ids(pf::kMenuType)) {
        pf::MenuTemplate menu;
        EXPECT_TRUE(pf::decode_menu(pf::get_resource(pf::kMenuType, id)->bytes, menu)) << id;
        for (size_t i = 0; i < menu.items.size(); ++i)
            if (menu.items[i].command) items.push_back({menu.items[i].command, id, int16_t(i + 1), menu.items[i].text});
    }
    return items;
}

// The text of a menu item in the installed resources.
std::string item_text(int16_t menu, int16_t item) {
    for (const CodedItem& coded : coded_menu_items())
        if (coded.menu == menu && coded.item == item) return coded.text;
    return {};
}

// The codes of the buttons clicked straight into DoCommand: neither pop-ups nor spacers.
std::vector<uint32_t> plain_button_codes() {
    std::vector<uint32_t> codes;
    for (int16_t id : pf::resource_ids(pf::four_cc("butn"))) {
        ButtonRecord button;
        if (load_button(id, &button) && !(button.flags & (kButtonPopUp | kButtonInert))) codes.push_back(button.command);
    }
    return codes;
}

std::string code_text(uint32_t code) {
    return {char(code >> 24), char(code >> 16), char(code >> 8), char(code)};
}

// The menus' source with an item put first in every menu.
std::string menus_with_an_inserted_item() {
    std::ifstream in(std::string(QUORVIN_SOURCE_DIR) + "/resources/menus.txt", std::ios::binary);
    std::stringstream source;
    source << in.rdbuf();
    return std::regex_replace(source.str(), std::regex("(\n  title [^\n]*\n)"), "$1  item \"Inserted\"\n");
}

struct CommandCodes : ::testing::Test {
    void SetUp() override {
        ASSERT_EQ(pf::resources_install(resource_bundle_data(), resource_bundle_size()), pf::noErr);
    }
};

TEST_F(CommandCodes, EveryCodeOfAMenuItemNamesThatItem) {
    const std::vector<CodedItem> items = coded_menu_items();
    ASSERT_FALSE(items.empty());
    for (const CodedItem& coded : items) {
        CommandAction action = command_action(coded.code);
        EXPECT_EQ(action.kind, CommandKind::kMenuItem) << code_text(coded.code);
        EXPECT_EQ(action.menu, coded.menu) << code_text(coded.code);
        EXPECT_EQ(action.item, coded.item) << code_text(coded.code) << " is given to two items";
    }
}

TEST_F(CommandCodes, EveryPlainButtonHasACommand) {
    const std::vector<uint32_t> codes = plain_button_codes();
    ASSERT_FALSE(codes.empty());
    for (uint32_t code : codes) EXPECT_NE(command_action(code).kind, CommandKind::kNone) << code_text(code);
}

// Copying with options is Copy.
TEST_F(CommandCodes, CodesOfAnotherItemReachThatItem) {
    CommandAction action = command_action(code_value("copt"));
    CommandAction item = command_action(code_value("copy"));
    EXPECT_EQ(action.kind, CommandKind::kMenuItem);
    EXPECT_EQ(action.menu, item.menu);
    EXPECT_EQ(action.item, item.item);
}

// The words of a button's name or a menu item, lower-cased, without the
// ellipsis of an item that opens a dialog.
std::set<std::string> words_of(const std::string& mac_roman) {
    std::set<std::string> words;
    std::string word;
    for (char c : mac_roman + ' ') {
        if (std::isalnum(static_cast<unsigned char>(c))) {
            word += char(std::tolower(static_cast<unsigned char>(c)));
        } else if (!word.empty()) {
            words.insert(word);
            word.clear();
        }
    }
    return words;
}

bool all_words_in(const std::set<std::string>& some, const std::set<std::string>& all) {
    return std::ranges::includes(all, some);
}

// A button's name (its help tag, and its label in the bar editor) says what
// the menu item its code runs says: the words of the one are among the words
// of the other ("Print area" runs "Set Print Area", "Stack windows" "Stack").
TEST_F(CommandCodes, EveryButtonIsNamedAsTheMenuItemItRuns) {
    int walked = 0;
    for (int16_t id : pf::resource_ids(pf::four_cc("butn"))) {
        ButtonRecord button;
        if (!load_button(id, &button) || !button.help_list) continue;
        const CommandAction action = command_action(button.command);
        if (action.kind != CommandKind::kMenuItem) continue;
        const std::string name = pf::get_indexed_string(button.help_list, button.help_index);
        const std::string item = item_text(action.menu, action.item);
        const std::set<std::string> name_words = words_of(name), item_words = words_of(item);
        EXPECT_TRUE(all_words_in(item_words, name_words) || all_words_in(name_words, item_words))
            << "button " << id << " (" << code_text(button.command) << ") is named \"" << name << "\" and runs \""
            << item << "\"";
        ++walked;
    }
    EXPECT_GT(walked, 50);
}

TEST_F(CommandCodes, ButtonsKeepTheirItemsWhenAMenuItemIsInserted) {
    struct Expected {
        uint32_t code;
        int16_t menu;
        int16_t item;
        std::string text;
    };
    std::vector<Expected> expected;
    for (uint32_t code : plain_button_codes()) {
        CommandAction action = command_action(code);
        if (action.kind == CommandKind::kMenuItem)
            expected.push_back({code, action.menu, action.item, item_text(action.menu, action.item)});
    }
    ASSERT_FALSE(expected.empty());
    install_source(menus_with_an_inserted_item());
    for (const Expected& button : expected) {
        CommandAction action = command_action(button.code);
        EXPECT_EQ(action.kind, CommandKind::kMenuItem) << code_text(button.code);
        EXPECT_EQ(action.menu, button.menu) << code_text(button.code);
        EXPECT_EQ(action.item, button.item + 1) << code_text(button.code);
        EXPECT_EQ(item_text(action.menu, action.item), button.text) << code_text(button.code);
    }
}

TEST_F(CommandCodes, EveryActionCodeHasItsAction) {
    const std::pair<const char*, CommandKind> actions[] = {
        {"asum", CommandKind::kAutoSum},        {"delc", CommandKind::kDeleteColumns},
        {"delr", CommandKind::kDeleteRows},     {"insc", CommandKind::kInsertColumns},
        {"insr", CommandKind::kInsertRows},     {"srta", CommandKind::kSortAscending},
        {"srtd", CommandKind::kSortDescending}, {"prot", CommandKind::kProtection},
        {"prfd", CommandKind::kPreferences},    {"op,,", CommandKind::kListSeparator},
        {"spri", CommandKind::kPrintSelection}, {"pwin", CommandKind::kPrintWindow},
    };
    for (const auto& [code, kind] : actions) EXPECT_EQ(command_action(code_value(code)).kind, kind) << code;
}

TEST_F(CommandCodes, OperatorsTypeTheirCharacters) {
    for (const char* op : {"op$$", "op&&", "op((", "op))", "op**", "op++", "op--", "op//", "op::", "op<<", "op==",
                           "op>>", "op^^"}) {
        CommandAction action = command_action(code_value(op));
        EXPECT_EQ(action.kind, CommandKind::kTypeText) << op;
        EXPECT_EQ(std::string(action.text), std::string(1, op[2])) << op;
    }
    EXPECT_EQ(std::string(command_action(code_value("op<=")).text), "<=");
    EXPECT_EQ(std::string(command_action(code_value("op>=")).text), ">=");
}

TEST_F(CommandCodes, PopUpsSeparatorsAndUnknownCodesHaveNoAction) {
    for (const char* code : {"chrt", "objt", "font", "size", "dsma", "zzzz", "\0\0\0\0"})
        EXPECT_EQ(command_action(code_value(code)).kind, CommandKind::kNone) << code;
}

TEST_F(CommandCodes, UnknownCodeOnlyNotesItselfAndAsksForARefresh) {
    app_prefs.options2 = 0;
    uint32_t options = app_prefs.options;
    EXPECT_EQ(DoCommand(code_value("zzzz")), 0);
    EXPECT_EQ(gLastCommand, code_value("zzzz"));
    EXPECT_EQ(app_prefs.options2, kPrefRefreshButtons);
    EXPECT_EQ(app_prefs.options, options);
}

TEST_F(CommandCodes, ListSeparatorFollowsTheSystemOnlyWhenNumbersUseACommaDecimal) {
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
