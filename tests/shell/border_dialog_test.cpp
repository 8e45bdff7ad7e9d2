// The cell borders dialog's choices: what it opens with for a selection,
// every line style and colour applied with undo, the outline, and refusals.
#include "format_fixture.h"
#include "ui/alerts.h"
#include "editing/undo.h"
#include "model/workbook.h"
#include "shell/border_dialog.h"
#include "shell/border_tools.h"

namespace {

struct BorderDialog : FormatMenuTest {
    uint16_t word(int16_t row, int16_t column) { return format_border_styles(at(row, column).bytes); }
    uint32_t colours(int16_t row, int16_t column) { return format_border_colours(at(row, column).bytes); }
    static BorderChoices every_side(int16_t code) {
        BorderChoices c;
        for (int16_t& line : c.line_param) line = code;
        return c;
    }
};

TEST_F(BorderDialog, EveryLineStyleIsAppliedToEverySideAndUndone) {
    const CellRange range{{1, 1}, {2, 3}};
    select(range);
    ASSERT_EQ(apply_border_choices(layer, every_side(kLineThin)), 1);
    const struct {
        int16_t code;
        uint16_t word;
    } styles[] = {{kLineHair, 0x5555}, {kLineGray, 0x3333}, {kLineThick, 0x4444}, {kLineDouble, 0x6666}};
    for (const auto& s : styles) {
        select(range);
        ASSERT_EQ(apply_border_choices(layer, every_side(s.code)), 1) << s.code;
        EXPECT_EQ(word(1, 1), s.word) << s.code;
        EXPECT_EQ(word(2, 2), s.word) << s.code;
        DoUndo(GetWorkSheet(layer));
        EXPECT_EQ(word(2, 3), 0x2222) << s.code;
    }
    select(range);
    apply_border_choices(layer, every_side(kLineRemove));
    EXPECT_EQ(word(1, 2), 0x0000);
    EXPECT_EQ(word(4, 4), 0x0000);  // outside the selection
}

TEST_F(BorderDialog, UnchangedAndMixedSidesKeepEachCellsLine) {
    select(CellRange{{1, 1}, {1, 1}});
    DoGridMenu(2);  // bottom thin
    select(CellRange{{2, 1}, {2, 1}});
    DoGridMenu(3);  // bottom thick
    select(CellRange{{1, 1}, {2, 1}});
    BorderChoices c = read_border_choices(layer);
    EXPECT_EQ(c.line_param[kBottomSide], kLineMixed);
    EXPECT_EQ(c.line_param[kLeftSide], kLineUnchanged);
    EXPECT_FALSE(same_line_everywhere(c));
    c.line_param[kLeftSide] = kLineDouble;
    apply_border_choices(layer, c);
    EXPECT_EQ(word(1, 1), 0x6002);
    EXPECT_EQ(word(2, 1), 0x6004);
}

TEST_F(BorderDialog, OKWithoutChangesKeepsTheColoursOfMixedOrKeptLines) {
    BorderChoices boxed = every_side(kLineThin);
    boxed.line_param[kOutlineSides] = kLineUnchanged;
    for (int16_t& colour : boxed.color_param) colour = 5;
    boxed.colours_changed = true;
    select(CellRange{{1, 1}, {1, 1}});
    apply_border_choices(layer, boxed);
    boxed.line_param[kLeftSide] = boxed.line_param[kTopSide] = boxed.line_param[kRightSide] =
        boxed.line_param[kBottomSide] = kLineThick;
    select(CellRange{{1, 2}, {1, 2}});
    apply_border_choices(layer, boxed);
    // Every side differs between the two cells: OK as opened changes nothing.
    select(CellRange{{1, 1}, {1, 2}});
    BorderChoices c = read_border_choices(layer);
    EXPECT_TRUE(same_line_everywhere(c));
    EXPECT_EQ(c.line_param[kAllSides], kLineMixed);
    apply_border_choices(layer, c);
    EXPECT_EQ(word(1, 1), 0x2222);
    EXPECT_EQ(colours(1, 2), 0x05050505u);
    // A line reset to no change keeps the cells' lines, and so their colours.
    select(CellRange{{1, 1}, {1, 1}});
    c = read_border_choices(layer);
    for (int16_t& line : c.line_param) line = kLineUnchanged;
    apply_border_choices(layer, c);
    EXPECT_EQ(colours(1, 1), 0x05050505u);
    // Removing every line takes the colours too.
    apply_border_choices(layer, every_side(kLineRemove));
    EXPECT_EQ(word(1, 1), 0x0000);
    EXPECT_EQ(colours(1, 1), 0u);
}

TEST_F(BorderDialog, TheDialogOpensWithTheSelectionsSides) {
    select(CellRange{{1, 1}, {3, 2}});
    DoGridMenu(8);  // left thin, nothing else
    BorderChoices c = read_border_choices(layer);
    EXPECT_EQ(c.line_param[kLeftSide], kLineThin);
    EXPECT_EQ(c.line_param[kTopSide], kLineUnchanged);
    EXPECT_EQ(c.line_param[kRightSide], kLineUnchanged);
    EXPECT_FALSE(same_line_everywhere(c));

    apply_border_choices(layer, every_side(kLineHair));
    c = read_border_choices(layer);
    EXPECT_TRUE(same_line_everywhere(c));
    EXPECT_EQ(c.line_param[kAllSides], kLineHair);

    // A cell without a record among lined cells makes its lined sides mixed.
    select(CellRange{{1, 1}, {4, 2}});
    c = read_border_choices(layer);
    EXPECT_EQ(c.line_param[kTopSide], kLineMixed);
    // Whole columns are not looked at cell by cell.
    select(CellRange{{0, 1}, {kLastCell, 2}});
    c = read_border_choices(layer);
    EXPECT_NE(c.line_param[kTopSide], kLineMixed);
}

TEST_F(BorderDialog, OutlineAndColoursGoOnTheirSides) {
    select(CellRange{{1, 1}, {3, 3}});
    BorderChoices c;
    c.line_param[kOutlineSides] = kLineThick;
    c.color_param[kOutlineSides] = 5;
    apply_border_choices(layer, c);
    EXPECT_EQ(word(1, 1), 0x4400);
    EXPECT_EQ(word(2, 2), 0x0000);
    EXPECT_EQ(word(3, 3), 0x0044);
    EXPECT_EQ(colours(1, 1), 0x05050000u);  // top and left
    EXPECT_EQ(colours(3, 3), 0x00000505u);  // bottom and right

    // Side colours changed in the dialog go on every cell, top, left, bottom, right.
    c = every_side(kLineThin);
    c.line_param[kOutlineSides] = kLineUnchanged;
    c.color_param[kTopSide] = 2, c.color_param[kLeftSide] = 3, c.color_param[kBottomSide] = 4,
    c.color_param[kRightSide] = 6;
    c.colours_changed = true;
    apply_border_choices(layer, c);
    EXPECT_EQ(colours(2, 2), 0x02030406u);
    EXPECT_EQ(word(2, 2), 0x2222);

    // Removing the outline clears only the outer sides; with no line left the colours go.
    c = BorderChoices{};
    c.line_param[kOutlineSides] = kLineRemove;
    apply_border_choices(layer, c);
    EXPECT_EQ(word(1, 1), 0x0022);
    EXPECT_EQ(word(2, 2), 0x2222);
    EXPECT_EQ(colours(2, 2), 0u);
}

TEST_F(BorderDialog, AProtectedWorkbookIsRefusedAndNothingChanges) {
    select(CellRange{{1, 1}, {2, 2}});
    MemoryRef workbook = GetWorkSheet(layer);
    Set_Work_Flags(workbook, uint16_t(Get_Work_Flags(workbook) | kWorkProtected));
    alert_requests().clear();
    EXPECT_EQ(apply_border_choices(layer, every_side(kLineThick)), 0);
    EXPECT_EQ(word(1, 1), 0x0000);
    EXPECT_EQ(alert_requests().size(), 1u);
}

TEST_F(BorderDialog, LineCodesAndStylesMapBothWays) {
    const int16_t styles[] = {-1, 0, 1, 5, 2, 3, 4, 6};
    for (int16_t code = -1; code <= kLineDouble; ++code) {
        EXPECT_EQ(menu2grid(code), styles[code + 1]);
        EXPECT_EQ(grid2menu(menu2grid(code)), code);
    }
}

}  // namespace
