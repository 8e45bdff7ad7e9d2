// The function menus in the running program: a choice writes the function's
// name and its parentheses into the entry line, the caret between them,
// opening a formula when no cell is being edited; AutoSum builds on it.
#include <cstring>
#include <string>
#include <vector>

#include "format_fixture.h"
#include "ui/task_manager.h"
#include "editing/find_replace.h"
#include "formula/function_table.h"
#include "ui/app_prefs.h"
#include "platform/resources/resources.h"
#include "window/entry_line.h"
#include "window/front_document.h"
#include "app/event_loop.h"
#include "resource_ids.h"

namespace {

constexpr int16_t kLogical = 152;

struct FunctionMenus : FormatMenuTest {
    void SetUp() override {
        FormatMenuTest::SetUp();
        app_prefs.options &= ~kPrefFunctionTemplates;
    }
    std::string line() {
        unsigned char text[256];
        const int32_t length = entry_text(text, sizeof text);
        return std::string(reinterpret_cast<char*>(text), size_t(std::max<int32_t>(length, 0)));
    }
    void put(int16_t row, int16_t column, const char* typed) {
        store_typed_text(layer, CellPoint{row, column}, typed);
    }
    void choose(int16_t menu, int16_t item) {
        do_menu_button(menu, item);
        run_until_idle();
    }
};

TEST_F(FunctionMenus, TheSubmenusAreOfferedWithADocument) {
    enable_menus();
    for (int16_t item = 1; item <= 8; ++item)
        EXPECT_TRUE(pf::is_menu_item_enabled(pf::get_menu_handle(kFunctionsMenu), item)) << item;
}

TEST_F(FunctionMenus, AChoiceOpensAFormulaWithTheCaretBetweenTheParentheses) {
    select(CellRange{{2, 2}, {2, 2}});
    choose(kFirstFunctionMenu, kMathAbsItem);
    ASSERT_NE(Editor_Wind, nullptr);
    EXPECT_EQ(line(), "=ABS()");
    EditorKey('-', front_document_record(), 0);
    choose(kFirstFunctionMenu, kMathSumItem);
    EXPECT_EQ(line(), "=ABS(-SUM())");

    EditorKey('1', front_document_record(), 0);
    choose(kLogical, 1);
    const std::string name = pf::get_menu_item_text(pf::get_menu_handle(kLogical), 1);
    EXPECT_EQ(line(), "=ABS(-SUM(1+" + name + "()))") << "a plus sign joins it to a number";
}

TEST_F(FunctionMenus, ArgumentNamesComeWithTheirFirstOneSelectedWhenAsked) {
    app_prefs.options |= kPrefFunctionTemplates;
    select(CellRange{{2, 2}, {2, 2}});
    choose(kFirstFunctionMenu, kMathRoundItem);
    EXPECT_EQ(line(), "=ROUND(number,digits)");
    EditorKey('7', front_document_record(), 0);
    EXPECT_EQ(line(), "=ROUND(7,digits)");
}

TEST_F(FunctionMenus, EveryItemHasTheArgumentNamesOfItsOwnFunction) {
    for (int16_t menu = kFirstFunctionMenu; menu <= kLastFunctionMenu; ++menu) {
        pf::MenuRef m = pf::get_menu_handle(menu);
        ASSERT_NE(m, nullptr) << menu;
        for (int16_t item = 1; item <= pf::count_menu_items(m); ++item) {
            const std::string name = pf::get_menu_item_text(m, item);
            const std::string names = pf::get_indexed_string(int16_t(menu + 450), item);
            EXPECT_EQ(names.substr(0, name.size() + 1), name + "(") << menu << " " << item;
            EXPECT_EQ(names.back(), ')') << names;
            unsigned char pascal[64];
            pascal[0] = uint8_t(name.size());
            std::memcpy(pascal + 1, name.data(), name.size());
            EXPECT_GT(function_number_of(pascal), 0) << name << ": a function formulas do not know";
        }
        EXPECT_EQ(pf::get_indexed_string(int16_t(menu + 450), int16_t(pf::count_menu_items(m) + 1)), "") << menu;
    }
}

TEST_F(FunctionMenus, AutoSumWritesASumOfTheNumbersAbove) {
    app_prefs.options |= kPrefFunctionTemplates;  // AutoSum writes the plain sum all the same
    put(0, 1, "2");
    put(1, 1, "3");
    select(CellRange{{2, 1}, {2, 1}});
    DoCommand(code_value("asum"));
    run_until_idle();
    EXPECT_EQ(line(), "=SUM(B1:B2)");
}

}  // namespace
