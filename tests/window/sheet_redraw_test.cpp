// What the document window shows after changes drawn in part: an undone
// column width, wheel scrolling, a cell edited in place and page-break marks
// moved by typed or undone cells must leave the same picture as a full redraw
// of the window, and match their golden images.
#include "road_fixture.h"
#include "page_bounds.h"

#include <algorithm>

#include "platform/events/clock.h"
#include "platform/host/driver.h"
#include "platform/host/headless.h"
#include "platform/screen/screen.h"
#include "window/keyboard_navigation.h"
#include "window/point_mode.h"
#include "window/auto_size.h"
#include "window/resizing.h"
#include "app/event_loop.h"

namespace {

class SheetRedrawTest : public TypedRoadTest {
protected:
    void copy() {
        constexpr uint8_t kKeyCodeC = 8;
        pf::driver_key(kKeyCodeC, 'c', pf::kCmdKey);
        run_until_idle();
    }
    // The window drawn again from nothing, as after it was uncovered.
    std::vector<uint32_t> fully_redrawn() {
        pf::inval_window_rect(window, pf::window_port(window)->port_rect);
        run_until_idle();
        return window_pixels();
    }
    void fill_rows(int16_t rows, int16_t columns) {
        for (int16_t r = 0; r < rows; ++r)
            for (int16_t c = 0; c < columns; ++c) {
                click(CellPoint{r, c});
                enter(std::to_string(r * 10 + c));
            }
    }
};

TEST_F(SheetRedrawTest, AnUndoneColumnWidthRedrawsTheHeadings) {
    enter("text");
    const std::vector<uint32_t> before = window_pixels();
    ASSERT_EQ(apply_column_width(layer, CellRange{{0, 0}, {kLastCell, 0}}, 150), 1);
    run_until_idle();
    DoUndo(GetWorkSheet(layer));
    run_until_idle();
    EXPECT_TRUE(matches_golden("undone_column_width"));
    EXPECT_TRUE(window_pixels() == before) << "the window differs from before the change";
    EXPECT_TRUE(window_pixels() == fully_redrawn());
}

TEST_F(SheetRedrawTest, PageBreakMarksFollowTheCellsAndLeaveNoneBehind) {
    SpreadSheet* sheet = use_layer(layer);
    sheet->flags |= kLayerPageBreaks;
    sheet->printable_rect = pf::Rect{0, 0, 100, 300};  // pages of about six rows
    release_layer(layer);
    const auto idle_a_while = [&] {
        pf::advance_clock(500);
        run_until_idle();
    };
    enter("text");
    idle_a_while();
    EXPECT_EQ(page_bounds(layer, false), std::vector<int16_t>{0}) << "a typed cell makes a page";
    EXPECT_EQ(page_bounds(layer, true), std::vector<int16_t>{0});
    EXPECT_TRUE(window_pixels() == fully_redrawn()) << "the new page's marks are drawn";
    const std::vector<uint32_t> marked = window_pixels();

    ASSERT_EQ(apply_column_width(layer, CellRange{{0, 0}, {kLastCell, 0}}, 150), 1);
    idle_a_while();
    DoUndo(GetWorkSheet(layer));
    idle_a_while();
    EXPECT_TRUE(window_pixels() == marked) << "the undone width leaves the marks as they were";

    click(CellPoint{7, 3});
    enter("far");
    idle_a_while();
    EXPECT_EQ(page_bounds(layer, false).size(), 2u) << "a second page down";
    EXPECT_TRUE(window_pixels() == fully_redrawn());
    DoUndo(GetWorkSheet(layer));
    idle_a_while();
    EXPECT_EQ(page_bounds(layer, false), std::vector<int16_t>{0});
    EXPECT_TRUE(window_pixels() == fully_redrawn()) << "the marks of the undone page are erased";
}

TEST_F(SheetRedrawTest, WheelScrollingLeavesEveryGridLine) {
    fill_rows(6, 4);
    const pf::Rect content = pf::window_content_rect(window);
    const pf::Point inside{int16_t(content.top + 80), int16_t(content.left + 150)};
    for (int step = 0; step < 3; ++step) {
        pf::driver_wheel(inside, 0, -1);
        run_until_idle();
    }
    pf::driver_wheel(inside, 1, 1);
    run_until_idle();
    EXPECT_TRUE(matches_golden("wheel_scrolled", window, pf::Rect{0, 0, 200, 420}));
    const std::vector<uint32_t> scrolled = window_pixels();
    EXPECT_TRUE(scrolled == fully_redrawn());
}

TEST_F(SheetRedrawTest, ACellEditedInPlaceKeepsItsRowsGridLines) {
    fill_rows(2, 5);
    click(CellPoint{0, 1});
    type("x");
    EXPECT_TRUE(matches_golden("edited_in_place", window, pf::Rect{0, 0, 60, 420}));
    // The grid line right of B1 runs through row 1 as through row 2.
    pf::Rect b1, b2;
    Cell_Location(0, &b1, 1, CellPoint{0, 1}, layer);
    Cell_Location(0, &b2, 1, CellPoint{1, 1}, layer);
    const int16_t line = column_last_line(b1);
    for (int16_t y = int16_t(b1.top + 1); y < b1.bottom - 1; ++y)
        EXPECT_EQ(pixel(line, y), pixel(line, b2.top + 2)) << "at row " << y;
}

}  // namespace

namespace {

// What the screen shows along the top edge of a cell each time the host presents.
pf::Point watched_edge{};
std::vector<uint32_t> presented_edges;

void record_present() {
    uint32_t sum = 0;
    for (int i = 0; i < 16; ++i) sum = sum * 31 + pf::screen_pixel(watched_edge.h + i, watched_edge.v);
    presented_edges.push_back(sum);
}

// Whether a moving frame around the cell reaches the screen during some idle
// passes, each step leaving the screen as it was.
::testing::AssertionResult marches_at_idle(pf::WindowRef window, MemoryRef layer, CellPoint cell) {
    pf::Rect r;
    Cell_Location(0, &r, 1, cell, layer);
    const pf::Rect content = pf::window_content_rect(window);
    watched_edge = pf::Point{int16_t(content.top + r.top), int16_t(content.left + r.left + 4)};
    presented_edges.clear();
    pf::HostProcs watching = pf::headless_host_procs();
    watching.present = record_present;
    pf::host_install(watching);
    record_present();
    const uint32_t plain = presented_edges.back();
    for (int pass = 0; pass < 10; ++pass) task_master_pass();
    pf::host_install(pf::headless_host_procs());
    const bool marched = std::count_if(presented_edges.begin(), presented_edges.end(), [&](uint32_t s) { return s != plain; }) > 0;
    if (presented_edges.back() != plain) return ::testing::AssertionFailure() << "a step left the frame on the screen";
    return marched ? ::testing::AssertionSuccess() : ::testing::AssertionFailure() << "no moving frame reached the screen";
}

TEST_F(SheetRedrawTest, PointedAndCopiedRangesMarchOnTheScreenAtIdle) {
    click(CellPoint{2, 2});
    type("=");
    pf::driver_key(pf::kKeyCodeLeftArrow, kKeyLeft);
    run_until_idle();
    ASSERT_TRUE(point_mode_live());
    EXPECT_TRUE(marches_at_idle(window, layer, CellPoint{2, 1}));
    pf::driver_key(pf::kKeyCodeEscape, 27);
    run_until_idle();

    enter("5");
    click(CellPoint{2, 2});
    copy();
    EXPECT_TRUE(marches_at_idle(window, layer, CellPoint{2, 2}));
    pf::driver_key(pf::kKeyCodeEscape, 27);
    run_until_idle();
    EXPECT_FALSE(marches_at_idle(window, layer, CellPoint{2, 2})) << "Escape ends the outline";

    copy();
    enter("6");
    EXPECT_FALSE(marches_at_idle(window, layer, CellPoint{2, 2})) << "a change of the workbook ends it";
}

}  // namespace
