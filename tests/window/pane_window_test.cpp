// Scroll bars, the wheel, split boxes and heading boundaries driven with the
// mouse in the running program; the window's size kept by a saved document.
#include <filesystem>
#include <utility>
#include <vector>

#include "../app/app_fixture.h"
#include "editing/undo.h"
#include "files/document_file.h"
#include "files/document_saving.h"
#include "window/open_command.h"
#include "model/layer.h"
#include "model/workbook.h"
#include "platform/draw/paint.h"
#include "platform/events/clock.h"
#include "platform/screen/screen.h"
#include "window/cell_geometry.h"
#include "window/doc_window.h"
#include "window/scrolling.h"
#include "window/split_panes.h"
#include "resource_ids.h"
#include "shell/file_menu.h"

namespace {

class PaneWindowTest : public AppTest {
protected:
    pf::WindowRef window = nullptr;
    MemoryRef record = nullptr;
    MemoryRef layer = nullptr;

    void open_sample() {
        const std::string path = home + "/sample.qrv";
        write_document(path);
        pf::FileSpec spec;
        ASSERT_EQ(pf::file_spec_from_path(path, spec), pf::noErr);
        ASSERT_EQ(Open_File(kOpenGivenFile, &spec, nullptr), 0);
        run_until_idle();
        window = pf::front_non_floating_window();
        record = window_doc_record(window);
        layer = doc_window_layer(record);
        ASSERT_NE(layer, nullptr);
        // Clear of the floating palettes at the right.
        pf::size_window(window, 560, 400, true);
        ViewChanged(record, 1);
        settle();
    }

    pf::Point global(int16_t v, int16_t h) {
        const pf::Rect content = pf::window_content_rect(window);
        return pf::Point{int16_t(content.top + v), int16_t(content.left + h)};
    }

    pf::Rect port() { return pf::window_port(window)->port_rect; }

    CellPoint top_left(int16_t pane) {
        CellRange visible;
        GetVisibleCells(&visible, pane, layer);
        return visible.topLeft;
    }

    // Separate gestures: no click counts as the second of a double click.
    void settle() {
        run_until_idle();
        pf::advance_clock(2000);
    }

    // The pixels of the window's sheet area (the view, bars left out).
    std::vector<uint32_t> sheet_pixels() {
        pf::Port* port = pf::window_port(window);
        pf::surface_flush(*port);
        std::vector<uint32_t> pixels;
        const pf::Rect view{0, 0, int16_t(port->port_rect.bottom - 15), int16_t(port->port_rect.right - 15)};
        for (int y = view.top; y < view.bottom; ++y)
            for (int x = view.left; x < view.right; ++x)
                pixels.push_back(pf::surface_row(*port, y - port->bounds.top)[x - port->bounds.left] & 0xFFFFFF);
        return pixels;
    }

    void screenshot(const std::string& name) {
        pf::screen_write_png(std::string(QUORVIN_BINARY_DIR) + "/window_" + name + ".png");
    }
};

TEST_F(PaneWindowTest, ArrowsPagesAndTheWheelScrollWithoutChangingTheDocument) {
    open_sample();
    MemoryRef workbook = GetWorkSheet(layer);
    const int16_t changes = get_change_ctr(workbook);
    const pf::Rect p = port();
    // The down arrow at the bottom of the vertical bar.
    pf::driver_click(global(int16_t(p.bottom - 24), int16_t(p.right - 8)));
    settle();
    EXPECT_EQ(top_left(0).v, 1);
    // The right arrow of the horizontal bar (which ends 47 pixels before the edge).
    pf::driver_click(global(int16_t(p.bottom - 8), int16_t(p.right - 15 - 47 - 8)));
    settle();
    EXPECT_EQ(top_left(0).h, 1);
    // A page down: below the thumb.
    pf::driver_click(global(int16_t(p.bottom - 60), int16_t(p.right - 8)));
    settle();
    EXPECT_GT(top_left(0).v, 10);
    const int16_t paged = top_left(0).v;
    // Wheel turns: one row each, whatever the delta.
    pf::driver_wheel(global(100, 100), 0, -40);
    settle();
    EXPECT_EQ(top_left(0).v, paged + 1);
    pf::driver_wheel(global(100, 100), 0, 3);
    pf::driver_wheel(global(100, 100), 1, 5);
    settle();
    EXPECT_EQ(top_left(0).v, paged);
    EXPECT_EQ(top_left(0).h, 2);
    EXPECT_EQ(get_change_ctr(workbook), changes);
    EXPECT_FALSE(pf::window_modified(window));
    // The bars follow the panes.
    const DocWindowRecord fields = read_doc_window(record);
    EXPECT_EQ(pf::get_control_value(fields.vertical_bar[0]), paged);
    EXPECT_EQ(pf::get_control_value(fields.horizontal_bar[0]), 2);
}

TEST_F(PaneWindowTest, AScrolledWindowLooksAsIfDrawnAfresh) {
    open_sample();
    SpreadSheet* sheet = use_layer(layer);
    sheet->selection = CellRange{{1, 1}, {30, 3}};
    sheet->active_cell = CellPoint{1, 1};
    release_layer(layer);
    pf::inval_window_rect(window, port());
    settle();
    for (const auto& [rows, columns] : {std::pair{1, 0}, {3, 0}, {0, 1}, {-2, -1}}) {
        Scroll_Sheet(0, int16_t(rows), int16_t(columns), layer);
        settle();
        const std::vector<uint32_t> scrolled = sheet_pixels();
        pf::inval_window_rect(window, port());
        settle();
        EXPECT_EQ(scrolled, sheet_pixels()) << rows << " rows, " << columns << " columns";
    }
}

TEST_F(PaneWindowTest, BarStepsFollowTheirPartsAndAThumbOnAnEmptyRangeScrollsNothing) {
    open_sample();
    const DocWindowRecord fields = read_doc_window(record);
    pf::ControlRef bar = fields.vertical_bar[0];
    pf::set_control_maximum(bar, 0);
    pf::set_control_value(bar, 0);
    EXPECT_EQ(bar_step(record, bar, pf::kControlIndicatorPart, false), 0);
    // Down at the end of the bar: its maximum grows by the step.
    EXPECT_EQ(bar_step(record, bar, pf::kControlDownButtonPart, false), 1);
    EXPECT_EQ(bar_step(record, bar, pf::kControlUpButtonPart, false), -1);
    const int16_t half = bar_step(record, bar, pf::kControlDownButtonPart, true);
    const int16_t page = bar_step(record, bar, pf::kControlPageDownPart, false);
    EXPECT_GT(half, 1);
    EXPECT_LE(half, page / 2 + 1);
    EXPECT_EQ(bar_step(record, bar, pf::kControlPageUpPart, false), 0);  // nothing before row 0
    pf::driver_click(global(int16_t(port().bottom - 24), int16_t(port().right - 8)));
    settle();
    EXPECT_GE(pf::get_control_maximum(bar), 2);
    EXPECT_EQ(pf::get_control_value(bar), 1);
}

TEST_F(PaneWindowTest, DraggingPastAPaneEdgeScrollsOneStepTowardsIt) {
    open_sample();
    pf::Rect pane;
    GetPaneRect(&pane, 0, layer);
    EXPECT_EQ(ClickLoop(record, 0, pf::Point{int16_t(pane.top + 20), int16_t(pane.left + 20)}), 0);
    EXPECT_EQ(ClickLoop(record, 0, pf::Point{int16_t(pane.bottom + 3), int16_t(pane.right + 3)}), 1);
    EXPECT_EQ(top_left(0), (CellPoint{1, 1}));
    EXPECT_EQ(ClickLoop(record, 0, pf::Point{int16_t(pane.top - 3), int16_t(pane.left + 20)}), 1);
    EXPECT_EQ(top_left(0), (CellPoint{0, 1}));
    EXPECT_EQ(ClickLoop(record, 0, pf::Point{int16_t(pane.top - 3), int16_t(pane.left + 20)}), 1);  // pinned at row 0
    EXPECT_EQ(top_left(0), (CellPoint{0, 1}));
}

TEST_F(PaneWindowTest, DraggingTheSplitBoxSplitsAndDraggingItToTheEdgeRemovesTheSplit) {
    open_sample();
    const pf::Rect p = port();
    pf::driver_drag(global(2, int16_t(p.right - 7)), global(152, int16_t(p.right - 7)));
    settle();
    const int16_t divider = get_v_divider(layer);
    EXPECT_EQ(divider, 155);  // 6 + 150 = 156, even, less 1
    pf::Rect lower;
    GetPaneRect(&lower, 1, layer);
    EXPECT_EQ(lower.top, divider + 5);
    pf::driver_drag(global(int16_t(p.bottom - 7), int16_t(p.left + 2)), global(int16_t(p.bottom - 7), int16_t(p.left + 240)));
    settle();
    EXPECT_EQ(get_h_divider(layer), 245);  // 6 + 238 = 244, a multiple of 4, plus 1
    const DocWindowRecord fields = read_doc_window(record);
    EXPECT_TRUE(pf::is_control_visible(fields.vertical_bar[1]));
    pf::driver_click(global(int16_t(divider + 30), int16_t(p.right - 8)));
    pf::driver_click(global(int16_t(p.bottom - 24), int16_t(p.right - 8)));
    settle();
    EXPECT_EQ(top_left(0).v, 0);  // only the lower panes scrolled
    EXPECT_GT(top_left(1).v, top_left(3).v - 1);
    screenshot("split_window");

    // Back to within 15 pixels of the top: no split, no empty pane.
    pf::driver_drag(global(int16_t(divider), int16_t(p.right - 7)), global(20, int16_t(p.right - 7)));
    settle();
    EXPECT_EQ(get_v_divider(layer), 0);
    GetPaneRect(&lower, 1, layer);
    EXPECT_EQ(lower.left, -1);
    pf::Rect upper;
    GetPaneRect(&upper, 0, layer);
    EXPECT_GT(upper.height(), 0);
}

TEST_F(PaneWindowTest, FrozenTitlesStayWhileTheRestScrolls) {
    open_sample();
    SpreadSheet* sheet = use_layer(layer);
    sheet->selection = CellRange{{2, 1}, {2, 1}};
    release_layer(layer);
    toggle_frozen_titles(record);
    settle();
    for (int i = 0; i < 3; ++i) pf::driver_wheel(global(150, 200), 0, -1);
    settle();
    EXPECT_EQ(top_left(0), (CellPoint{0, 0}));
    EXPECT_EQ(top_left(1).v, 5);
    pf::Rect titles;
    GetPaneRect(&titles, 0, layer);
    pf::Rect row1{};
    Cell_V_Coord(0, &row1, 1, 1, layer);
    EXPECT_EQ(titles.bottom, row1.bottom);
    const DocWindowRecord fields = read_doc_window(record);
    EXPECT_FALSE(pf::is_control_visible(fields.vertical_bar[0]));
    EXPECT_FALSE(pf::is_control_visible(fields.horizontal_bar[0]));
    EXPECT_TRUE(pf::is_control_visible(fields.vertical_bar[1]));
    EXPECT_TRUE(pf::is_control_visible(fields.horizontal_bar[1]));
    EXPECT_GT(pf::get_control_maximum(fields.horizontal_bar[1]), pf::get_control_minimum(fields.horizontal_bar[1]));
    screenshot("frozen_titles_window");
}

TEST_F(PaneWindowTest, DraggingAColumnBoundaryResizesTheColumn) {
    open_sample();
    pf::Rect b{};
    Cell_H_Coord(0, &b, 1, 1, layer);
    const int16_t before = int16_t(b.right - b.left);
    pf::driver_drag(global(6, column_last_line(b)), global(6, int16_t(column_last_line(b) + 45)));
    settle();
    EXPECT_EQ(GetColumnSize(1, layer), before + 45);
    screenshot("resized_column");
    // Dragged left past the column's own left edge: hidden.
    Cell_H_Coord(0, &b, 1, 1, layer);
    pf::driver_drag(global(6, column_last_line(b)), global(6, int16_t(b.left - 30)));
    settle();
    EXPECT_EQ(GetColumnSize(1, layer), 0);
    // Dragged past the pane's right side: the pane scrolls under the drag
    // and the column grows by what scrolled away.
    settle();
    Cell_H_Coord(0, &b, 1, 2, layer);
    pf::Rect pane;
    GetPaneRect(&pane, 0, layer);
    pf::driver_drag(global(6, column_last_line(b)), global(6, int16_t(pane.right + 4)), 0, 2);
    settle();
    EXPECT_GE(top_left(0).h, 1);
    EXPECT_GT(GetColumnSize(2, layer), pane.right - b.left);
    // A double click on column A's boundary fits it to its widest text.
    Scroll_Sheet(0, 0, -100, layer);
    settle();
    pf::Rect a{};
    Cell_H_Coord(0, &a, 1, 0, layer);
    const int16_t widths_before[] = {GetColumnSize(0, layer), GetColumnSize(2, layer)};
    pf::driver_click(global(6, column_last_line(a)));
    pf::driver_click(global(6, column_last_line(a)));
    settle();
    EXPECT_GT(GetColumnSize(0, layer), 150);
    // The fit is undone as one step that puts back the fitted column alone.
    DoUndo(GetWorkSheet(layer));
    settle();
    EXPECT_EQ(GetColumnSize(0, layer), widths_before[0]);
    EXPECT_EQ(GetColumnSize(2, layer), widths_before[1]);
}

TEST_F(PaneWindowTest, AReopenedDocumentKeepsItsWindowSizeAndScrollPosition) {
    open_sample();
    pf::size_window(window, 500, 330, true);
    pf::move_window(window, 60, 110, false);  // below the command bar, where a dragged window may rest
    ViewChanged(record, 1);
    const pf::Rect placed = pf::window_content_rect(window);
    Scroll_Sheet(0, 7, 2, layer);  // the view, saved with the document
    ASSERT_EQ(get_change_ctr(GetWorkSheet(layer)), 0);
    ASSERT_EQ(DoSave(false, layer, kWholeWorkbook), 0);
    DoFileMenu(nullptr, kFileCloseItem);  // close
    settle();
    pf::FileSpec spec;
    ASSERT_EQ(pf::file_spec_from_path(home + "/sample.qrv", spec), pf::noErr);
    ASSERT_EQ(Open_File(kOpenGivenFile, &spec, nullptr), 0);
    settle();
    window = pf::front_non_floating_window();
    EXPECT_EQ(pf::window_content_rect(window), placed);
    layer = doc_window_layer(window_doc_record(window));
    EXPECT_EQ(top_left(0), (CellPoint{7, 2}));
}

}  // namespace
