// The border tools in the running program: the sides each tool sets over
// the selection with undo, the outline tools, and the tool a word marks.
#include "format_fixture.h"
#include "editing/undo.h"
#include "model/workbook.h"
#include "ui/app_prefs.h"
#include "shell/border_tools.h"
#include "shell/grid_palette.h"

namespace {

struct BorderTools : FormatMenuTest {
    uint16_t word(int16_t row, int16_t column) { return format_border_styles(at(row, column).bytes); }
};

TEST_F(BorderTools, ToolsChangeOnlyTheSidesTheyNameWithUndo) {
    select(CellRange{{1, 1}, {2, 2}});
    DoGridMenu(8);  // left thin
    DoGridMenu(2);  // bottom thin
    EXPECT_EQ(word(2, 2), 0x2002);
    EXPECT_EQ(grid_tool_of(word(2, 2)), 0);
    DoGridMenu(7);
    EXPECT_EQ(word(1, 1), 0x2204);
    DoUndo(GetWorkSheet(layer));
    EXPECT_EQ(word(1, 1), 0x2002);
    DoGridMenu(1);
    EXPECT_EQ(word(1, 2), 0x0000);
    DoGridMenu(10);
    EXPECT_EQ(word(2, 1), 0x2222);
    EXPECT_EQ(grid_tool_of(word(2, 1)), 10);
    DoGridMenu(9);
    DoGridMenu(6);
    EXPECT_EQ(word(2, 1), 0x2226);
}

TEST_F(BorderTools, OutlineToolsDrawTheEdgeOfTheSelection) {
    select(CellRange{{1, 1}, {3, 3}});
    DoGridMenu(12);
    EXPECT_EQ(word(1, 1), 0x4400);
    EXPECT_EQ(word(1, 2), 0x0400);
    EXPECT_EQ(word(2, 2), 0x0000);
    EXPECT_EQ(word(3, 3), 0x0044);
    EXPECT_EQ(word(2, 3), 0x0040);
    select(CellRange{{5, 5}, {7, 5}});  // one column: both sides of every cell
    DoGridMenu(11);
    EXPECT_EQ(word(6, 5), 0x2020);
    EXPECT_EQ(word(5, 5), 0x2220);
    EXPECT_EQ(word(7, 5), 0x2022);
}

TEST_F(BorderTools, WordsMarkTheirToolsAndEveryChoiceRefreshesTheBar) {
    const uint16_t words[] = {0x0000, 0x0002, 0x0206, 0x2000, 0x4400, kMixedBorders, 0x0022};
    const int16_t tools[] = {1, 2, 6, 8, 12, -1, 0};
    for (size_t i = 0; i < std::size(words); ++i) {
        update_grid(&words[i], false);
        EXPECT_EQ(g_grid_tool, tools[i]) << std::hex << words[i];
    }
    app_prefs.options2 &= ~kPrefRefreshButtons;
    DoGridMenu(0);
    EXPECT_TRUE(app_prefs.options2 & kPrefRefreshButtons);
}

}  // namespace
