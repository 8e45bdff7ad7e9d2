// Pictures of a formatted layer, compared with golden images, and the
// placement rules of cell text checked on pixels.
#include "sheet_fixture.h"

namespace {

using SheetDrawingTest = SheetTest;

TEST_F(SheetDrawingTest, FormattedSheetMatchesItsPicture) {
    fill_formatted_sheet();
    fill_borders();
    show_page_breaks(pf::Rect{0, 0, 150, 300});
    lay_out();
    draw();
    EXPECT_TRUE(matches_golden("formatted_sheet"));
}

}  // namespace

namespace {

TEST_F(SheetDrawingTest, SplitPanesMatchTheirPicture) {
    fill_formatted_sheet();
    fill_borders();
    SpreadSheet* sheet = use_layer(layer);
    sheet->v_divider = 121;
    sheet->h_divider = 261;
    release_layer(layer);
    lay_out();
    scroll_to(1, CellPoint{9, 0});
    scroll_to(2, CellPoint{0, 3});
    draw();
    EXPECT_TRUE(matches_golden("split_panes"));
}

TEST_F(SheetDrawingTest, FrozenTitlesMatchTheirPicture) {
    fill_formatted_sheet();
    fill_borders();
    SpreadSheet* sheet = use_layer(layer);
    sheet->frozen_titles = CellRange{{0, 0}, {1, 0}};
    sheet->flags |= kLayerFrozenTitles;
    release_layer(layer);
    lay_out();
    scroll_to(3, CellPoint{8, 2});
    scroll_to(1, CellPoint{8, 0});
    scroll_to(2, CellPoint{0, 2});
    draw();
    EXPECT_TRUE(matches_golden("frozen_titles"));
}

// The pixels of a scrolled pane equal the same cells drawn unscrolled:
// overflowing text, borders, fills and dotted page marks show no seam.
TEST_F(SheetDrawingTest, ScrollingByOddOffsetsLeavesNoSeams) {
    fill_formatted_sheet();
    fill_borders();
    show_page_breaks(pf::Rect{0, 0, 61, 133});
    open_window(900, 600);
    draw();
    std::vector<uint32_t> whole;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) whole.push_back(pixel(x, y));
    for (CellPoint offset : {CellPoint{3, 1}, CellPoint{1, 2}, CellPoint{5, 3}}) {
        scroll_to(0, offset);
        draw();
        pf::Rect first{}, pane{};
        GetPaneRect(&pane, 0, layer);
        scroll_to(0, CellPoint{0, 0});
        Cell_Location(0, &first, 1, offset, layer);
        scroll_to(0, offset);
        const int dx = first.left - pane.left, dy = first.top - pane.top;
        int differing = 0;
        for (int y = pane.top; y + dy < pane.bottom; ++y)
            for (int x = pane.left; x + dx < pane.right; ++x)
                differing += pixel(x, y) != whole[size_t((y + dy) * width + x + dx)];
        EXPECT_EQ(differing, 0) << "scrolled to row " << offset.v << ", column " << offset.h;
    }
    EXPECT_TRUE(matches_golden("scrolled_5_3"));
}

// Hidden rows and columns draw nothing of their own: a long run of them draws
// as a short one, whatever borders whole rows and columns give them, and a
// drawing visits only the first and last of a run.
TEST_F(SheetDrawingTest, LongRunsOfHiddenRowsAndColumnsDrawAsShortOnes) {
    SetSheetFlags(layer, GetSheetFlags(layer) & ~kLayerHeadings);
    set_borders_of_column(2, 4, 0, 4, 0);
    set_borders_of_column(4, 6, 2, 6, 2);
    set_borders_of_row(1, 0, 2, 0, 2);
    set_borders_of_row(3, 2, 2, 2, 2);
    set_borders_of_row(8, 0, 6, 0, 6);
    set_column_width(3, 4, 0);
    set_row_height(7, 8, 0);
    lay_out();
    draw();
    std::vector<uint32_t> short_runs;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) short_runs.push_back(pixel(x, y));
    set_column_width(5, 400, 0);
    set_row_height(9, 900, 0);
    lay_out();
    draw();
    int differing = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) differing += pixel(x, y) != short_runs[size_t(y * width + x)];
    EXPECT_EQ(differing, 0);
}

}  // namespace
