// Cell geometry: pixel edges of rows and columns in each pane, the cell under
// a pixel, and the pane layout they are computed in.
#include <random>

#include "sheet_fixture.h"

namespace {

using CellGeometryTest = SheetTest;

TEST_F(CellGeometryTest, EveryVisibleCellMapsToARectangleWhoseCentreIsThatCellInEveryPane) {
    std::mt19937 random(20);
    for (int16_t column = 0; column < 40; ++column)
        if (random() % 3 == 0) set_column_width(column, column, int16_t(random() % 5 == 0 ? 0 : 1 + random() % 120));
    for (int16_t row = 0; row < 120; ++row)
        if (random() % 3 == 0) set_row_height(row, row, int16_t(random() % 5 == 0 ? 0 : 1 + random() % 40));
    open_window(900, 700);
    set_dividers(301, 403);
    scroll_to(1, CellPoint{37, 0});
    scroll_to(2, CellPoint{0, 11});
    int checked = 0;
    for (int16_t pane = 0; pane < 4; ++pane) {
        const pf::Rect frame = pane_rect(pane);
        ASSERT_NE(frame.left, -1) << "pane " << pane;
        const CellRange range = visible(pane);
        for (int16_t row = range.topLeft.v; row <= range.botRight.v; ++row)
            for (int16_t column = range.topLeft.h; column <= range.botRight.h; ++column) {
                pf::Rect cell{};
                Cell_Location(pane, &cell, 1, CellPoint{row, column}, layer);
                if (cell.empty()) continue;  // a hidden row or column has no pixel
                pf::Point centre{int16_t((cell.top + cell.bottom) / 2), int16_t((cell.left + cell.right) / 2)};
                if (centre.v >= frame.bottom || centre.h >= frame.right) continue;
                CellPoint found;
                PtinCell(&found, centre, pane, layer);
                ASSERT_EQ(found.v, row) << "pane " << pane << " column " << column;
                ASSERT_EQ(found.h, column) << "pane " << pane << " row " << row;
                EXPECT_EQ(find_pane(centre, layer), pane);
                ++checked;
            }
    }
    EXPECT_GT(checked, 100);
}

TEST_F(CellGeometryTest, NeighbouringRowsAndColumnsShareOneEdgeAndLastLinesHoldTheGrid) {
    set_row_height(2, 2, 0);
    set_column_width(1, 1, 30);
    lay_out();
    pf::Rect upper{}, lower{}, hidden{};
    Cell_V_Coord(0, &upper, 0, 1, layer);
    Cell_V_Coord(0, &hidden, 0, 2, layer);
    Cell_V_Coord(0, &lower, 0, 3, layer);
    EXPECT_EQ(upper.bottom, hidden.top);
    EXPECT_EQ(hidden.top, hidden.bottom);
    EXPECT_EQ(hidden.bottom, lower.top);
    pf::Rect b{}, c{};
    Cell_H_Coord(0, &b, 0, 1, layer);
    Cell_H_Coord(0, &c, 0, 2, layer);
    EXPECT_EQ(b.right - b.left, 30);
    EXPECT_EQ(b.right, c.left);
    // The pixel on a column's last line belongs to that column, the next one to its neighbour.
    CellPoint on_line, after_line;
    PtinCell(&on_line, pf::Point{int16_t(upper.top + 1), column_last_line(b)}, 0, layer);
    PtinCell(&after_line, pf::Point{int16_t(upper.top + 1), b.right}, 0, layer);
    EXPECT_EQ(on_line.h, 1);
    EXPECT_EQ(after_line.h, 2);
}

TEST_F(CellGeometryTest, CellsFarOutsideThePaneMapJustOutsideItUnlessExtended) {
    const pf::Rect frame = pane_rect(0);
    const CellRange range = visible(0);
    pf::Rect far{}, next{}, extended{};
    Cell_V_Coord(0, &far, 0, int16_t(range.botRight.v + 2), layer);
    Cell_V_Coord(0, &next, 0, int16_t(range.botRight.v + 1), layer);
    Cell_V_Coord(0, &extended, 1, int16_t(range.botRight.v + 2), layer);
    EXPECT_EQ(far.top, frame.bottom + 4);
    EXPECT_EQ(far.bottom, frame.bottom + 4);
    EXPECT_EQ(extended.top, next.bottom);
    scroll_to(0, CellPoint{10, 5});
    pf::Rect before{};
    Cell_H_Coord(0, &before, 0, 2, layer);
    EXPECT_EQ(before.left, frame.left - 4);
    CellPoint above;
    scroll_to(0, CellPoint{0, 0});
    PtinCell(&above, pf::Point{int16_t(frame.top - 30), int16_t(frame.left - 50)}, 0, layer);
    EXPECT_EQ(above.v, 0);
    EXPECT_EQ(above.h, 0);
}

TEST_F(CellGeometryTest, SizesFromADamagedDocumentAreClampedAndDisorderedListsRepaired) {
    set_column_width(3, 3, 5000);
    set_row_height(4, 4, 3000);
    set_column_width(6, 6, -5);
    EXPECT_EQ(GetColumnSize(3, layer), kMaxColumnWidth);
    EXPECT_EQ(GetRowSize(4, layer), kMaxRowHeight);
    EXPECT_EQ(GetColumnSize(6, layer), GetColumnSize(7, layer));
    // Swap two column records: the list is out of order until an edge is computed through it.
    set_column_width(8, 8, 20);
    MemoryRef columns = GetSpreadSheetColumnFormats(layer);
    auto* records = static_cast<uint8_t*>(UseMemory(columns));
    const int32_t count = GetMemorySize(columns);
    std::swap_ranges(records, records + kColumnFormatSize, records + (count - 1) * kColumnFormatSize);
    UnuseMemory(columns);
    pf::Rect edges{};
    Cell_H_Coord(0, &edges, 1, 9, layer);
    columns = GetSpreadSheetColumnFormats(layer);
    records = static_cast<uint8_t*>(UseMemory(columns));
    for (int32_t i = 1; i < GetMemorySize(columns); ++i)
        EXPECT_LT(format_id(records + (i - 1) * kColumnFormatSize), format_id(records + i * kColumnFormatSize));
    UnuseMemory(columns);
}

TEST_F(CellGeometryTest, PanesStartBelowAndRightOfTheHeadingsAndStopShortOfTheScrollBars) {
    EXPECT_EQ(pane_rect(0), (pf::Rect{14, 32, int16_t(height - 15), int16_t(width - 15)}));
    for (int16_t pane : {1, 2, 3}) EXPECT_EQ(pane_rect(pane).left, -1);
    EXPECT_EQ(visible(1).topLeft.v, -1);
    SetSheetFlags(layer, GetSheetFlags(layer) & ~kLayerHeadings);
    EXPECT_NE(SetActiveRects(layer), 0);
    EXPECT_EQ(SetActiveRects(layer), 0);
    EXPECT_EQ(pane_rect(0).top, 0);
    EXPECT_EQ(pane_rect(0).left, 0);
}

TEST_F(CellGeometryTest, SplitsPutTheOtherPanesBeyondTheDividersWithSharedRowsAndColumns) {
    set_dividers(151, 301);
    EXPECT_EQ(pane_rect(0).bottom, 151);
    EXPECT_EQ(pane_rect(1).top, 156);
    EXPECT_EQ(pane_rect(0).right, 301);
    EXPECT_EQ(pane_rect(2).left, 306);
    EXPECT_EQ(pane_rect(3), (pf::Rect{156, 306, int16_t(height - 15), int16_t(width - 15)}));
    EXPECT_EQ(visible(1).topLeft.v, visible(0).botRight.v + 1);
    EXPECT_EQ(visible(2).topLeft.h, visible(0).botRight.h + 1);
    EXPECT_EQ(visible(3).topLeft.v, visible(1).topLeft.v);
    EXPECT_EQ(visible(3).topLeft.h, visible(2).topLeft.h);
    set_dividers(0, 0);
    EXPECT_EQ(pane_rect(1).left, -1);
    EXPECT_EQ(pane_rect(3).left, -1);
}

TEST_F(CellGeometryTest, FrozenTitlesEndTheFirstPaneAfterTheTitles) {
    set_column_width(0, 1, 50);
    freeze(CellRange{{0, 0}, {2, 1}});
    pf::Rect last_title{};
    Cell_Location(0, &last_title, 1, CellPoint{2, 1}, layer);
    EXPECT_EQ(pane_rect(0).bottom, last_title.bottom);
    EXPECT_EQ(pane_rect(0).right, 132);
    EXPECT_EQ(pane_rect(1).top, last_title.bottom + 1);
    EXPECT_EQ(visible(0), (CellRange{{0, 0}, {2, 1}}));
    EXPECT_EQ(visible(1).topLeft, (CellPoint{3, 0}));
    EXPECT_EQ(visible(2).topLeft, (CellPoint{0, 2}));
    EXPECT_EQ(visible(3).topLeft, (CellPoint{3, 2}));
}

}  // namespace

namespace {

// Layout fields as a damaged document may hold them: every layout still keeps
// the panes inside the view and nothing is drawn over the scroll-bar strips.
TEST_F(CellGeometryTest, DamagedLayoutFieldsStillGivePanesInsideTheView) {
    std::mt19937 random(4);
    auto any = [&](int low, int high) { return int16_t(low + int(random() % unsigned(high - low + 1))); };
    put_text(0, 0, std::string(300, 'W'));
    put_number(5, 3, 1e300);
    for (int round = 0; round < 60; ++round) {
        SpreadSheet* sheet = use_layer(layer);
        sheet->v_divider = any(-40, 900);
        sheet->h_divider = any(-40, 900);
        sheet->visible_ranges[0].topLeft = CellPoint{any(-1, 32000), any(-1, 32000)};
        sheet->visible_ranges[1].topLeft = CellPoint{any(-1, 32000), any(-1, 32000)};
        sheet->frozen_titles = CellRange{{any(-1, 40), any(-1, 40)}, {any(-1, 40), any(-1, 40)}};
        if (round % 2) sheet->flags |= kLayerFrozenTitles;
        else sheet->flags &= ~kLayerFrozenTitles;
        release_layer(layer);
        set_row_height(any(0, 30), any(30, 60), any(-5, 400));
        lay_out();
        for (int16_t pane = 0; pane < 4; ++pane) {
            const pf::Rect r = pane_rect(pane);
            if (r.left == -1) continue;
            EXPECT_GE(r.top, 0);
            EXPECT_LE(r.bottom, height - 15);
            EXPECT_LE(r.right, width - 15);
            const CellRange v = visible(pane);
            EXPECT_TRUE(v.topLeft.v >= 0 && v.topLeft.v <= kCellCount && v.botRight.v <= kCellCount);
        }
        pf::set_port(&port);
        pf::erase_rect(port.port_rect);
        draw();
        for (int y = 0; y < height; ++y)
            for (int x = width - 15; x < width; ++x) ASSERT_EQ(pixel(x, y), 0xFFFFFFu) << "round " << round;
    }
}

}  // namespace

namespace {

// The indices a drawing loop visits from 0 to `last` over an axis whose listed
// sizes are given as (index, size) pairs.
struct ListedAxis {
    std::vector<uint8_t> records;
    AxisSizes axis;
    ListedAxis(int16_t default_size, const std::vector<std::pair<int16_t, int16_t>>& listed)
        : records(listed.size() * kColumnFormatSize, 0) {
        for (size_t i = 0; i < listed.size(); ++i) {
            set_format_id(records.data() + i * kColumnFormatSize, listed[i].first);
            set_format_extent(records.data() + i * kColumnFormatSize, listed[i].second);
        }
        axis = AxisSizes{records.data(), int32_t(listed.size()), kColumnFormatSize, default_size, kMaxColumnWidth};
    }
};

std::vector<int16_t> drawing_visits(int16_t default_size, std::vector<std::pair<int16_t, int16_t>> listed,
                                    int16_t last) {
    ListedAxis listed_axis(default_size, listed);
    const AxisSizes& axis = listed_axis.axis;
    std::vector<int16_t> visits;
    for (int16_t index = 0; index <= last; index = axis.next_to_draw(index)) visits.push_back(index);
    return visits;
}

TEST(AxisDrawingLoop, VisitsEveryShownIndexAndOfEachHiddenRunItsFirstAndLast) {
    EXPECT_EQ(drawing_visits(76, {{2, 0}, {3, 0}, {4, 0}, {7, 0}, {9, 0}, {10, 0}, {11, 20}}, 12),
              (std::vector<int16_t>{0, 1, 2, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
    // Hidden by default: the run goes on to the next listed size, or to the last column.
    EXPECT_EQ(drawing_visits(0, {{5, 60}, {6, 0}, {9, 30}}, kCellCount - 1),
              (std::vector<int16_t>{0, 4, 5, 6, 8, 9, 10, kCellCount - 1}));
    EXPECT_EQ(drawing_visits(0, {}, kCellCount - 1), (std::vector<int16_t>{0, kCellCount - 1}));
}

TEST(AxisDrawingLoop, ThePixelOfAnOffsetLiesInAShownIndexPastAnyHiddenRun) {
    const ListedAxis hidden_by_default(0, {{5, 60}, {9, 30}});
    EXPECT_EQ(hidden_by_default.axis.index_at(0, 0), 5);
    EXPECT_EQ(hidden_by_default.axis.index_at(0, 59), 5);
    EXPECT_EQ(hidden_by_default.axis.index_at(0, 60), 9);
    EXPECT_EQ(hidden_by_default.axis.index_at(0, 90), kCellCount - 1);
    const ListedAxis hidden_run(20, {{1, 0}, {2, 0}, {3, 0}, {kCellCount - 2, 0}});
    EXPECT_EQ(hidden_run.axis.index_at(0, 20), 4);
    EXPECT_EQ(hidden_run.axis.index_at(kCellCount - 3, 25), kCellCount - 1);
}

}  // namespace
