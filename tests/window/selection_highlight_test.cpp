// The selection's highlight in a document window: drawn and removed by the
// same call, a blinking reference frame that leaves the screen as it was,
// the active cell kept out of the inverted block; and the in-cell view's
// extent to the right.
#include "road_fixture.h"

#include "shell/colour_commands.h"
#include "window/in_cell_editor.h"
#include "window/selection_highlight.h"

namespace {

class HighlightTest : public TypedRoadTest {
protected:
    void select(CellRange range, CellPoint active) { LSelect(active, &range, nullptr, 0, layer); }
    uint32_t at(pf::Point p) { return pixel(p.h, p.v); }
};

TEST_F(HighlightTest, InvertingTwiceLeavesTheWindowAsItWas) {
    select(CellRange{{1, 1}, {4, 3}}, CellPoint{1, 1});
    const std::vector<uint32_t> shown = window_pixels();
    InvertCells(layer);
    EXPECT_NE(window_pixels(), shown) << "the first call removes the highlight";
    InvertCells(layer);
    EXPECT_EQ(window_pixels(), shown);
}

TEST_F(HighlightTest, TheBlinkingFrameRestoresTheScreenExactly) {
    select(CellRange{{2, 2}, {2, 2}}, CellPoint{2, 2});
    const std::vector<uint32_t> before = window_pixels();
    for (int pass = 0; pass < 3; ++pass) AntRect(layer, CellPoint{0, 0}, CellPoint{3, 2});
    EXPECT_EQ(window_pixels(), before);
}

TEST_F(HighlightTest, TheActiveCellStaysOutOfTheInvertedBlock) {
    select(CellRange{{1, 1}, {3, 2}}, CellPoint{1, 1});
    const uint32_t white = 0xFFFFFF;
    EXPECT_EQ(at(cell_centre(CellPoint{1, 1})), white) << "the active cell";
    EXPECT_NE(at(cell_centre(CellPoint{2, 2})), white) << "the rest of the block";
    select(CellRange{{5, 0}, {5, 0}}, CellPoint{5, 0});
    EXPECT_EQ(at(cell_centre(CellPoint{5, 0})), white) << "a single cell has no inverted interior";
    EXPECT_EQ(at(cell_centre(CellPoint{2, 2})), white) << "the old block is gone";
}

TEST_F(HighlightTest, AnInactiveWindowShowsAPlainFrame) {
    select(CellRange{{1, 1}, {3, 2}}, CellPoint{1, 1});
    DeActivateSheet(layer);
    EXPECT_EQ(at(cell_centre(CellPoint{2, 2})), 0xFFFFFFu);
    const CellRange block{{1, 1}, {3, 2}};
    pf::Rect r;
    Range_Location(0, &r, 1, &block, layer);
    EXPECT_NE(pixel(r.left, (r.top + r.bottom) / 2), 0xFFFFFFu) << "the frame's left side";
}

// Over cells with a fill colour the highlight swaps that colour as it swaps
// white elsewhere: the filled cells of the block, the frame lines and the fill
// handle show, the active cell keeps its fill, and a second call restores the
// window (screenshot window_selection_over_fills.png).
TEST_F(HighlightTest, TheHighlightShowsOverCellsWithAFillColour) {
    constexpr int16_t kFillItem = 6;
    select(CellRange{{1, 0}, {1, 4}}, CellPoint{1, 0});
    DoColorPattern(nullptr, kFillItem, true, true);
    run_until_idle();
    select(CellRange{{8, 6}, {8, 6}}, CellPoint{8, 6});
    const uint32_t fill = at(cell_centre(CellPoint{1, 2}));
    ASSERT_NE(fill, 0xFFFFFFu);
    ASSERT_EQ(at(cell_centre(CellPoint{1, 0})), fill);

    const CellRange block{{1, 1}, {2, 3}};
    select(block, CellPoint{1, 1});
    EXPECT_EQ(at(cell_centre(CellPoint{1, 1})), fill) << "the active cell keeps its fill";
    EXPECT_NE(at(cell_centre(CellPoint{1, 2})), fill) << "the other filled cells are highlighted";
    EXPECT_EQ(at(cell_centre(CellPoint{1, 2})), at(cell_centre(CellPoint{2, 2}))) << "as the cells without fill are";
    pf::Rect r;
    Range_Location(0, &r, 1, &block, layer);
    const int middle_of_filled_row = (r.top + cell_centre(CellPoint{1, 1}).v) / 2 + 4;
    EXPECT_NE(pixel(r.left - 2, middle_of_filled_row), fill) << "the outer frame over the fill on the left";
    EXPECT_NE(pixel(r.right + 1, middle_of_filled_row), fill) << "and on the right";
    EXPECT_NE(pixel(r.left + 6, r.top), fill) << "the inner frame's top line";
    EXPECT_TRUE(matches_golden("selection_over_fills"));

    const std::vector<uint32_t> shown = window_pixels();
    InvertCells(layer);
    EXPECT_EQ(at(cell_centre(CellPoint{1, 2})), fill);
    InvertCells(layer);
    EXPECT_EQ(window_pixels(), shown);
}

TEST_F(HighlightTest, TheInCellViewReachesRightUntilACellWithContents) {
    CellRange visible;
    GetVisibleCells(&visible, 0, layer);
    EXPECT_EQ(in_cell_right_column(layer, CellPoint{2, 1}), visible.botRight.h - 1) << "an empty row";
    click(CellPoint{2, 4});
    enter("x");
    EXPECT_EQ(in_cell_right_column(layer, CellPoint{2, 1}), 3);
    EXPECT_EQ(in_cell_right_column(layer, CellPoint{2, 4}), visible.botRight.h - 1);
    EXPECT_EQ(in_cell_right_column(layer, CellPoint{2, visible.botRight.h}), visible.botRight.h)
        << "never left of the edited cell";
}

}  // namespace
