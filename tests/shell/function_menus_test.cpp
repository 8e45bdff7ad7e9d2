// The function menus in the running program: a choice writes the function's
// name and its opening parenthesis into the entry line, opening a formula
// when no cell is being edited.
#include <string>

#include "format_fixture.h"
#include "core/task_manager.h"
#include "shell/app_prefs.h"
#include "window/entry_line.h"

namespace {

constexpr int16_t kFunctions = 135, kMath = 151, kLogical = 152;
constexpr int16_t kAbsItem = 1, kSumItem = 6;

struct FunctionMenus : FormatMenuTest {
    std::string line() {
        unsigned char text[256];
        const int32_t length = entry_text(text, sizeof text);
        return std::string(reinterpret_cast<char*>(text), size_t(std::max<int32_t>(length, 0)));
    }
    void choose(int16_t menu, int16_t item) {
        do_menu_button(menu, item);
        run_until_idle();
    }
};

TEST_F(FunctionMenus, TheSubmenusAreOfferedWithADocument) {
    enable_menus();
    for (int16_t item = 1; item <= 8; ++item)
        EXPECT_TRUE(pf::is_menu_item_enabled(pf::get_menu_handle(kFunctions), item)) << item;
}

TEST_F(FunctionMenus, AChoiceOpensAFormulaAndFollowsAnOperator) {
    select(CellRange{{2, 2}, {2, 2}});
    choose(kMath, kAbsItem);
    ASSERT_NE(Editor_Wind, nullptr);
    EXPECT_EQ(line(), "=ABS(");
    EditorKey('-', front_document_record(), 0);
    choose(kMath, kSumItem);
    EXPECT_EQ(line(), "=ABS(-SUM(");

    EditorKey('1', front_document_record(), 0);
    choose(kLogical, 1);
    const std::string name = pf::get_menu_item_text(pf::get_menu_handle(kLogical), 1);
    EXPECT_EQ(line(), "=ABS(-SUM(1+" + name + "(") << "a plus sign joins it to a number";
}

}  // namespace
