// Keys that move the active cell and the selection, the view commands, and
// the searches of the cell store behind the Option-arrow jumps.
#include "entry_fixture.h"

#include "platform/events/events.h"
#include "ui/app_prefs.h"
#include "window/keyboard_navigation.h"

namespace {

class NavigationTest : public EntryTest {
protected:
    void TearDown() override {
        app_prefs.options &= ~kPrefEnterMoves;
        EntryTest::TearDown();
    }

    void select_with_active(CellRange range, CellPoint active) {
        select_range(range);
        SpreadSheet* sheet = use_layer(layer);
        sheet->active_cell = active;
        release_layer(layer);
    }

    CellPoint active() {
        SpreadSheet* sheet = use_layer(layer);
        CellPoint cell = sheet->active_cell;
        release_layer(layer);
        return cell;
    }

    void key(unsigned char code, uint16_t modifiers = 0) { sheet_arrow_keys(code, modifiers, layer); }
};

TEST_F(NavigationTest, EnterMovesOnlyWhenThePreferenceSays) {
    select(2, 2);
    key(kKeyEnter);
    EXPECT_EQ(selection(), cells(2, 2, 2, 2));
    app_prefs.options |= kPrefEnterMoves;
    key(kKeyEnter);
    EXPECT_EQ(selection(), cells(3, 2, 3, 2));
    key(kKeyEnter, pf::kShiftKey);
    EXPECT_EQ(selection(), cells(2, 2, 2, 2));
}

TEST_F(NavigationTest, EntryKeysInOneCellStopAtTheEdgesOfTheGrid) {
    select(0, 0);
    key(kKeyReturn, pf::kShiftKey);
    key(kKeyTab, pf::kShiftKey);
    EXPECT_EQ(selection(), cells(0, 0, 0, 0));
    key(kKeyTab);
    key(kKeyReturn);
    EXPECT_EQ(selection(), cells(1, 1, 1, 1));
    select(kLastCell, kLastCell);
    key(kKeyReturn);
    key(kKeyTab);
    EXPECT_EQ(selection(), cells(kLastCell, kLastCell, kLastCell, kLastCell));
}

TEST_F(NavigationTest, EntryKeysInARangeWrapInsideIt) {
    const CellRange range = cells(1, 1, 2, 2);
    select_with_active(range, {2, 2});
    key(kKeyTab);
    EXPECT_EQ(active(), (CellPoint{1, 1})) << "Tab past the bottom-right wraps to the top-left";
    EXPECT_EQ(selection(), range);
    key(kKeyReturn);
    EXPECT_EQ(active(), (CellPoint{2, 1}));
    key(kKeyReturn);
    EXPECT_EQ(active(), (CellPoint{1, 2})) << "Return past the bottom goes to the next column";
    key(kKeyTab, pf::kShiftKey);
    EXPECT_EQ(active(), (CellPoint{1, 1}));
    key(kKeyReturn, pf::kShiftKey);
    EXPECT_EQ(active(), (CellPoint{2, 2})) << "shift-Return before the top-left wraps to the bottom-right";
    key(kKeyEnter);
    EXPECT_EQ(active(), (CellPoint{1, 1})) << "Enter acts as Tab in a range";
    EXPECT_EQ(selection(), range);
}

TEST_F(NavigationTest, PlainArrowsMoveAndCollapseAtTheEdges) {
    select_with_active(cells(0, 0, 3, 3), {0, 0});
    key(kKeyLeft);
    EXPECT_EQ(selection(), cells(0, 0, 0, 0)) << "left at column 0 keeps the active cell alone";
    select_with_active(cells(0, 0, 3, 3), {0, 0});
    key(kKeyUpArrow);
    EXPECT_EQ(selection(), cells(0, 0, 3, 3)) << "up at row 0 changes nothing";
    key(kKeyDownArrow);
    key(kKeyRight);
    EXPECT_EQ(selection(), cells(1, 1, 1, 1));
}

TEST_F(NavigationTest, ShiftArrowsMoveTheFarCorner) {
    select_with_active(cells(2, 2, 2, 4), {2, 4});
    key(kKeyRight, pf::kShiftKey);
    EXPECT_EQ(selection(), cells(2, 3, 2, 4)) << "the far corner is the left column";
    EXPECT_EQ(active(), (CellPoint{2, 4}));
    key(kKeyDownArrow, pf::kShiftKey);
    EXPECT_EQ(selection(), cells(2, 3, 3, 4));
    key(kKeyUpArrow, pf::kShiftKey);
    key(kKeyRight, pf::kShiftKey);
    EXPECT_EQ(selection(), cells(2, 4, 2, 4)) << "back to the active cell alone";
    select(0, 0);
    key(kKeyLeft, pf::kShiftKey);
    key(kKeyUpArrow, pf::kShiftKey);
    EXPECT_EQ(selection(), cells(0, 0, 0, 0));
}

TEST_F(NavigationTest, OptionArrowsJumpToTheCellsWithValues) {
    put_number(2, 1, 1);
    put_number(2, 6, 1);
    put_number(9, 1, 1);
    put_cell(12, 1, kCellFormatOnly, {}, {}, 0);
    select(5, 1);
    key(kKeyDownArrow, pf::kOptionKey);
    EXPECT_EQ(active(), (CellPoint{9, 1})) << "a format-only cell has no value";
    key(kKeyUpArrow, pf::kOptionKey);
    EXPECT_EQ(active(), (CellPoint{2, 1}));
    key(kKeyRight, pf::kOptionKey);
    EXPECT_EQ(active(), (CellPoint{2, 6}));
    key(kKeyLeft, pf::kOptionKey);
    EXPECT_EQ(active(), (CellPoint{2, 1}));
    select(4, 3);
    key(kKeyDownArrow, pf::kOptionKey);
    EXPECT_EQ(selection(), cells(4, 3, 4, 3)) << "an empty column: nothing moves";
}

TEST_F(NavigationTest, SearchesOfTheCellStore) {
    EXPECT_EQ(FindBottomRow(layer), -1);
    EXPECT_EQ(FindBottomCell(1, 0, layer), -1);
    put_number(3, 2, 1);
    put_number(7, 0, 1);
    put_number(7, 5, 1);
    put_cell(20, 2, kCellFormatOnly, {}, {}, 0);
    EXPECT_EQ(FindBottomRow(layer), 20);
    EXPECT_EQ(FindBottomCell(1, 2, layer), 3);
    EXPECT_EQ(FindBottomCell(0, 2, layer), 3);
    EXPECT_EQ(FindRightCell(1, 7, layer), 0);
    EXPECT_EQ(FindRightCell(0, 7, layer), 5);
    EXPECT_EQ(FindRightCell(0, 8, layer), -1);
}

TEST_F(NavigationTest, RowAndLastRowCommandsSelect) {
    nav_command(kNavSelectLastRow, layer);
    select(4, 3);
    nav_command(kNavSelectLastRow, layer);
    EXPECT_EQ(selection(), cells(4, 3, 4, 3)) << "an empty layer: nothing";
    put_number(12, 4, 1);
    nav_command(kNavSelectLastRow, layer);
    EXPECT_EQ(selection(), cells(12, 0, 12, 0));
    nav_command(kNavNextRow, layer);
    EXPECT_EQ(selection(), cells(13, 0, 13, 0));
    nav_command(kNavPreviousRow, layer);
    nav_command(kNavPreviousRow, layer);
    EXPECT_EQ(selection(), cells(11, 0, 11, 0));
    select(0, 5);
    nav_command(kNavPreviousRow, layer);
    EXPECT_EQ(selection(), cells(0, 5, 0, 5));
    nav_command(kNavSelectHome, layer);
    EXPECT_EQ(selection(), cells(0, 0, 0, 0));
}

TEST(PageTops, NextAndPreviousPages) {
    const int16_t bounds[] = {19, 39, 59};
    EXPECT_EQ(next_page_top(bounds, 3, 0), 20);
    EXPECT_EQ(next_page_top(bounds, 3, 20), 40);
    EXPECT_EQ(next_page_top(bounds, 3, 39), 40);
    EXPECT_EQ(next_page_top(bounds, 3, 60), -1);
    EXPECT_EQ(previous_page_top(bounds, 3, 40), 20);
    EXPECT_EQ(previous_page_top(bounds, 3, 45), 40);
    EXPECT_EQ(previous_page_top(bounds, 3, 20), 0);
    EXPECT_EQ(previous_page_top(bounds, 0, 20), -1);
}

}  // namespace
