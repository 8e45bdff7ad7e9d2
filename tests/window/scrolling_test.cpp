// Scroll steps and limits on sheets with hidden and resized rows and columns,
// panes scrolled together, frozen titles that stay put, and cells brought
// into view.
#include "objects/object_records.h"
#include "sheet_fixture.h"
#include "window/scrolling.h"
#include "window/sheet_mouse.h"
#include "window/window_commands.h"
#include "styledtext/styled_text.h"

namespace {

class ScrollingTest : public SheetTest {
protected:
    CellPoint top_left(int16_t pane) { return visible(pane).topLeft; }
};

TEST_F(ScrollingTest, StepsCountHiddenAndTallRows) {
    set_row_height(2, 4, 0);     // hidden
    set_row_height(5, 5, 100);   // tall
    SheetAxes axes(layer);
    // Rows are 17 pixels by default. A page of 50 from row 0: rows 0 and 1,
    // hidden 2-4, and row 5 does not fit.
    EXPECT_EQ(page_after(axes.rows, false, 0, 50), 5);
    // A row taller than the page still moves one.
    EXPECT_EQ(page_after(axes.rows, false, 5, 50), 1);
    EXPECT_EQ(page_after(axes.rows, true, 0, 30), 1);  // half a page smaller than a row: still one
    EXPECT_EQ(page_before(axes.rows, false, 5, 50), 1);
    EXPECT_EQ(page_before(axes.rows, false, 4, 50), 5);  // hidden 4, 3, 2 then 1 and 0
    EXPECT_EQ(page_before(axes.rows, false, -1, 50), 0);
    EXPECT_EQ(page_after(axes.rows, false, kLastCell, 50), 1);
    EXPECT_EQ(page_after(axes.rows, false, 0, 0), 0);
    // The pixels moved never exceed the pane: a long jump redraws it whole.
    EXPECT_EQ(scroll_pixels(axes.rows, 0, 6, 300), 134);
    EXPECT_EQ(scroll_pixels(axes.rows, 0, 1000, 300), 300);
    EXPECT_EQ(scroll_pixels(axes.rows, 3, 3, 300), 0);
}

TEST_F(ScrollingTest, TheLimitShowsTheLastRowAndColumnWhole) {
    set_row_height(31990, 31999, 20);
    set_column_width(31999, 31999, 500);
    SheetAxes axes(layer);
    // 101 pixels: five rows of 20 fit.
    EXPECT_EQ(scroll_limit(axes.rows, 101, false), 31995);
    // A column wider than the pane still counts once.
    EXPECT_EQ(scroll_limit(axes.columns, 300, true), 31999);
    SetVScrollMax(0, layer);
    EXPECT_EQ(SetVScrollMax(1, layer), -1);  // pane 1 not in use
    Scroll_Sheet(0, 32000, 0, layer);
    pf::Rect pane;
    GetPaneRect(&pane, 0, layer);
    pf::Rect last{};
    Cell_V_Coord(0, &last, 1, kLastCell, layer);
    EXPECT_LE(last.bottom, pane.bottom + 1);
    EXPECT_GE(last.top, pane.top);
    Scroll_Sheet(0, -32000, -5, layer);
    EXPECT_EQ(top_left(0), (CellPoint{0, 0}));
}

TEST_F(ScrollingTest, PanesSharingRowsOrColumnsScrollTogether) {
    set_dividers(121, 261);
    const CellPoint lower = top_left(1);
    Scroll_Sheet(0, 3, 0, layer);
    EXPECT_EQ(top_left(0).v, 3);
    EXPECT_EQ(top_left(2).v, 3);   // beside pane 0
    EXPECT_EQ(top_left(1), lower);  // below: its own rows
    Scroll_Sheet(3, 0, 2, layer);
    EXPECT_EQ(top_left(3).h, top_left(2).h);
    EXPECT_EQ(top_left(0).h, 0);
    // Visible ranges follow the new top-left cells.
    CellRange visible;
    GetVisibleCells(&visible, 2, layer);
    EXPECT_GT(visible.botRight.v, visible.topLeft.v);
    EXPECT_EQ(visible.topLeft.v, 3);
}

TEST_F(ScrollingTest, FrozenTitlesDoNotScroll) {
    freeze(CellRange{{0, 0}, {1, 1}});
    const CellPoint lower = top_left(1), right = top_left(2);
    // Pane 0 holds the titles: no scroll at all, not even its horizontal part.
    Scroll_Sheet(0, 5, 5, layer);
    EXPECT_EQ(top_left(0), (CellPoint{0, 0}));
    EXPECT_EQ(top_left(1), lower);
    EXPECT_EQ(top_left(2), right);
    // The lower panes stop at the first row after the titles.
    Scroll_Sheet(1, -50, 0, layer);
    EXPECT_EQ(top_left(1).v, 2);
    Scroll_Sheet(3, 4, -50, layer);
    EXPECT_EQ(top_left(3), (CellPoint{6, 2}));
    EXPECT_EQ(top_left(2).h, 2);
}

TEST_F(ScrollingTest, ScrollingLeavesTheDocumentUnchanged) {
    MemoryRef workbook = GetWorkSheet(layer);
    const int16_t before = get_change_ctr(workbook);
    Scroll_Sheet(0, 10, 3, layer);
    SheetAutoScroll(layer, CellPoint{500, 40}, 0);
    EXPECT_EQ(get_change_ctr(workbook), before);
}

TEST_F(ScrollingTest, AutoScrollBringsACellIntoViewWithTheLeastMove) {
    CellRange visible;
    GetVisibleCells(&visible, 0, layer);
    // Already in view: nothing moves.
    SheetAutoScroll(layer, CellPoint{2, 2}, 0);
    EXPECT_EQ(top_left(0), (CellPoint{0, 0}));
    // The last, partly visible row: one row down.
    SheetAutoScroll(layer, CellPoint{visible.botRight.v, 0}, 0);
    EXPECT_EQ(top_left(0), (CellPoint{1, 0}));
    // Far below and right: the cell ends up just inside the bottom right.
    SheetAutoScroll(layer, CellPoint{300, 50}, 0);
    GetVisibleCells(&visible, 0, layer);
    EXPECT_EQ(visible.botRight.v - 1, 300);
    EXPECT_EQ(visible.botRight.h - 1, 50);
    // Above: it becomes the top row.
    SheetAutoScroll(layer, CellPoint{10, 50}, 0);
    EXPECT_EQ(top_left(0).v, 10);
    // With the flag it becomes the top-left cell.
    SheetAutoScroll(layer, CellPoint{1000, 7}, 1);
    EXPECT_EQ(top_left(0), (CellPoint{1000, 7}));
}

TEST_F(ScrollingTest, AutoScrollUsesThePaneShowingTheCellsRows) {
    set_dividers(121, 0);
    Scroll_Sheet(1, 100, 0, layer);
    const CellPoint upper = top_left(0);
    const CellPoint lower = top_left(1);
    SheetAutoScroll(layer, CellPoint{int16_t(lower.v + 2), 40}, 0);
    EXPECT_EQ(top_left(0).v, upper.v);
    EXPECT_EQ(top_left(1).v, lower.v);
    EXPECT_GT(top_left(1).h, 0);
}

TEST_F(ScrollingTest, SelectingPastAPaneEdgeScrollsAndMovesTheTrackedCell) {
    const pf::Rect pane = pane_rect(0);
    CellPoint tracked{20, 3};
    CheckMouse(pf::Point{int16_t(pane.bottom + 5), int16_t(pane.left + 10)}, true, true, &tracked, 0, layer);
    EXPECT_EQ(top_left(0), (CellPoint{1, 0}));
    EXPECT_EQ(tracked, (CellPoint{21, 3}));
    // Above the pane: back to its top row first, then one up.
    CheckMouse(pf::Point{int16_t(pane.top - 2), int16_t(pane.left - 3)}, true, true, &tracked, 0, layer);
    EXPECT_EQ(top_left(0), (CellPoint{0, 0}));
    EXPECT_EQ(tracked, (CellPoint{0, 0}));
    // Only the asked direction moves.
    CheckMouse(pf::Point{int16_t(pane.bottom + 5), int16_t(pane.right + 5)}, true, false, &tracked, 0, layer);
    EXPECT_EQ(top_left(0), (CellPoint{0, 1}));
    EXPECT_EQ(tracked, (CellPoint{0, 1}));
}

// A text object's editor open in the lower pane, its text placed at a pixel
// offset from the pane's top-left corner.
class ShowSelectTest : public ScrollingTest {
protected:
    WEReference editor = nullptr;
    MemoryRef object = nullptr;
    pf::Rect pane{};

    void open_editor(int16_t down, int16_t right, const std::string& text) {
        set_dividers(121, 0);
        GetPaneRect(&pane, 1, layer);
        const pf::Rect place{int16_t(pane.top + down), int16_t(pane.left + right), int16_t(pane.top + down + 20),
                             int16_t(pane.left + right + 150)};
        const LongRect rect = WERectToLongRect(place);
        ASSERT_EQ(WENew(rect, rect, 0, false, &editor), pf::noErr);
        WEInsert(text.data(), int32_t(text.size()), nullptr, nullptr, editor);
        // A text object over the pane's cells and well below them, as tall as its text.
        object = make_object(kTextObject, layer);
        const CellRange seen = visible(1);
        ObjectRecord* record = use_object(object);
        record->anchor_row = seen.topLeft.v;
        record->anchor_column = seen.topLeft.h;
        record->end_row = int16_t(seen.botRight.v + 60);
        record->end_column = seen.botRight.h;
        release_object(object);
        SpreadSheet* sheet = use_layer(layer);
        sheet->edited_object = object;
        sheet->edited_object_text = editor;
        sheet->edited_object_pane = 1;
        release_layer(layer);
    }
    void TearDown() override {
        if (editor) {
            SpreadSheet* sheet = use_layer(layer);
            sheet->edited_object = nullptr;
            sheet->edited_object_text = nullptr;
            release_layer(layer);
            WEDispose(editor);
            DisposeMemory(object);
        }
        ScrollingTest::TearDown();
    }
    // The character's line, bottom and top, in the window.
    std::pair<int32_t, int32_t> line_of(int32_t offset) {
        LongPoint point;
        int16_t height = 0;
        WEGetPoint(offset, point, &height, editor);
        return {point.v, point.v + height};
    }
};

TEST_F(ShowSelectTest, ACaretBelowThePaneScrollsItsPaneDownByWholeRows) {
    std::string text;
    for (int i = 0; i < 30; ++i) text += "line\r";
    open_editor(5, 5, text);
    const CellPoint upper = top_left(0);
    const int32_t overshoot = line_of(int32_t(text.size()) - 1).second - pane.bottom;
    ASSERT_GT(overshoot, 0);
    const CellRange before = visible(1);
    ShowSelect(int32_t(text.size()) - 1, layer);
    const int16_t moved = int16_t(top_left(1).v - before.topLeft.v);
    int32_t covered = 0;
    for (int16_t r = 1; r <= moved; ++r) covered += GetRowSize(int16_t(before.botRight.v + r), layer);
    EXPECT_GE(covered, overshoot);
    EXPECT_LT(covered - GetRowSize(int16_t(before.botRight.v + moved), layer), overshoot) << "no row more than needed";
    EXPECT_EQ(top_left(0), upper) << "the pane that holds the editor scrolls, not the one above";
    EXPECT_EQ(top_left(1).h, 0);

    const CellPoint after = top_left(1);
    ShowSelect(0, layer);
    EXPECT_EQ(top_left(1), after) << "offset 0 only brings the object into view";
}

TEST_F(ShowSelectTest, ACaretAboveAndLeftOfThePaneScrollsBackNotPastTheFirstRow) {
    open_editor(-60, -100, "abc");
    Scroll_Sheet(1, 50, 3, layer);
    const int16_t upper = top_left(0).v;
    const int16_t first = top_left(1).v;
    ShowSelect(1, layer);
    EXPECT_EQ(top_left(1).v, first - 4) << "60 pixels are four rows of 17";
    EXPECT_LT(top_left(1).h, 3);
    EXPECT_EQ(top_left(0).v, upper);

    Scroll_Sheet(1, -100, -100, layer);
    ShowSelect(1, layer);
    EXPECT_EQ(top_left(1), (CellPoint{0, 0})) << "nothing before the first row and column";
}

TEST_F(ShowSelectTest, AnObjectWhollyOutsideThePaneIsScrolledToFirst) {
    open_editor(5, 5, "abc");
    ObjectRecord* record = use_object(object);
    record->anchor_row = 200, record->end_row = 201;
    record->anchor_column = 0, record->end_column = 1;
    release_object(object);
    ShowSelect(0, layer);
    EXPECT_EQ(top_left(1).v, 200);
}

}  // namespace
