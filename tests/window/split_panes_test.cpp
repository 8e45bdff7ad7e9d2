// Split positions from dragged split boxes, splitting and freezing at the
// selection or the middle, and the pane rectangles that follow.
#include "sheet_fixture.h"
#include "window/split_panes.h"

namespace {

class SplitPanesTest : public SheetTest {
protected:
    CellRange frozen_range() {
        SpreadSheet* sheet = use_layer(layer);
        const CellRange f = sheet->frozen_titles;
        release_layer(layer);
        return f;
    }

    void set_frozen(bool on) {
        SetSheetFlags(layer, on ? GetSheetFlags(layer) | kLayerFrozenTitles : GetSheetFlags(layer) & ~kLayerFrozenTitles);
        freeze_sheet(layer, on);
        SetActiveRects(layer);
    }
};

TEST_F(SplitPanesTest, DraggedDividersLandOnTheirGridAndNearEdgesRemoveTheSplit) {
    // 640 x 400 window: view 625 x 385, panes start at 14 (rows) and 32 (columns).
    EXPECT_EQ(row_divider_after_drag(0, 31, 14, 385), 35);     // 37 rounds down to 36, less 1
    EXPECT_EQ(column_divider_after_drag(0, 31, 32, 625), 0);   // 37: within 15 of the row headings
    EXPECT_EQ(column_divider_after_drag(0, 60, 32, 625), 65);  // 66 down to 64, plus 1
    EXPECT_EQ(column_divider_after_drag(101, 36, 32, 625), 137);
    EXPECT_EQ(row_divider_after_drag(0, 8, 14, 385), 0);       // 13: under 15
    EXPECT_EQ(row_divider_after_drag(121, -200, 14, 385), 0);  // negative
    // Near the far edge: the lower pane would be (nearly) empty.
    EXPECT_EQ(row_divider_after_drag(121, 250, 14, 385), 0);
    EXPECT_EQ(column_divider_after_drag(101, 520, 32, 625), 0);
    EXPECT_EQ(row_divider_after_drag(121, 240, 14, 385), 359);
}

TEST_F(SplitPanesTest, SplittingAtTheSelectionAndBackLaysOutFourPanes) {
    set_selection(CellRange{{5, 2}, {5, 2}});
    split_sheet(layer);
    SetActiveRects(layer);
    pf::Rect row5{}, column2{};
    Cell_V_Coord(0, &row5, 1, 5, layer);
    Cell_H_Coord(0, &column2, 1, 2, layer);
    EXPECT_EQ(get_v_divider(layer), row5.top - 1);
    EXPECT_EQ(get_h_divider(layer), column2.left - 1);
    EXPECT_EQ(pane_rect(0), (pf::Rect{14, 32, get_v_divider(layer), get_h_divider(layer)}));
    EXPECT_EQ(pane_rect(3), (pf::Rect{int16_t(get_v_divider(layer) + 5), int16_t(get_h_divider(layer) + 5), 385, 625}));
    CellRange lower;
    GetVisibleCells(&lower, 3, layer);
    EXPECT_EQ(lower.topLeft, (CellPoint{5, 2}));
    // The command again removes both splits.
    split_sheet(layer);
    SetActiveRects(layer);
    EXPECT_EQ(pane_rect(1).left, -1);
    EXPECT_EQ(pane_rect(2).left, -1);
    EXPECT_EQ(pane_rect(0), (pf::Rect{14, 32, 385, 625}));
}

TEST_F(SplitPanesTest, FreezingWithoutASplitFreezesAtTheMiddleOrTheSelection) {
    set_selection(CellRange{{0, 0}, {0, 0}});
    set_frozen(true);
    int16_t middle_row = -1, middle_column = -1;
    SpreadSheet* sheet = use_layer(layer);
    sheet->flags &= ~kLayerFrozenTitles;
    release_layer(layer);
    freeze_sheet(layer, false);
    SetActiveRects(layer);
    split_v_mid(layer, &middle_row);
    split_h_mid(layer, &middle_column);
    set_frozen(true);
    EXPECT_EQ(frozen_range(), (CellRange{{0, 0}, {int16_t(middle_row - 1), int16_t(middle_column - 1)}}));
    EXPECT_EQ(pane_rect(1).top, pane_rect(0).bottom + 1);
    CellRange lower;
    GetVisibleCells(&lower, 3, layer);
    EXPECT_EQ(lower.topLeft, (CellPoint{middle_row, middle_column}));

    set_frozen(false);
    set_selection(CellRange{{3, 2}, {3, 2}});
    set_frozen(true);
    EXPECT_EQ(frozen_range(), (CellRange{{0, 0}, {2, 1}}));
    pf::Rect titles_end{};
    Cell_V_Coord(0, &titles_end, 1, 2, layer);
    EXPECT_EQ(pane_rect(0).bottom, titles_end.bottom);
}

TEST_F(SplitPanesTest, UnfreezingRestoresTheEarlierSplitAndTheSplitCommandSplitsAtTheTitles) {
    SpreadSheet* sheet = use_layer(layer);
    sheet->v_divider = 121;
    release_layer(layer);
    SetActiveRects(layer);
    CellRange upper;
    GetVisibleCells(&upper, 0, layer);
    set_frozen(true);
    EXPECT_EQ(frozen_range(), (CellRange{{0, -1}, {upper.botRight.v, -1}}));
    set_frozen(false);
    EXPECT_EQ(pane_rect(0).bottom, 121);
    EXPECT_EQ(pane_rect(1).top, 126);

    set_v_divider(0, layer);
    SetActiveRects(layer);
    set_selection(CellRange{{4, 3}, {4, 3}});
    set_frozen(true);
    EXPECT_EQ(frozen_range(), (CellRange{{0, 0}, {3, 2}}));
    split_sheet(layer);
    SetActiveRects(layer);
    EXPECT_EQ(GetSheetFlags(layer) & kLayerFrozenTitles, 0u);
    pf::Rect row4{}, column3{};
    Cell_V_Coord(0, &row4, 1, 4, layer);
    Cell_H_Coord(0, &column3, 1, 3, layer);
    EXPECT_EQ(get_v_divider(layer), row4.top - 1);
    EXPECT_EQ(get_h_divider(layer), column3.left - 1);
}

}  // namespace
