// Document windows in the running program: New and Open show their layer,
// the idle recalculation redraws the cells it changed, growing lays the panes
// out again, and untitled names never repeat one that is open.
#include "../app/app_fixture.h"
#include "files/document_file.h"
#include "window/open_command.h"
#include "model/cell_record.h"
#include "model/cell_store.h"
#include "model/cell_formats.h"
#include "model/layer.h"
#include "model/workbook.h"
#include "platform/draw/paint.h"
#include "window/cell_geometry.h"
#include "window/doc_window.h"
#include "window/window_names.h"
#include "platform/events/clock.h"
#include "platform/host/driver.h"
#include "platform/screen/screen.h"
#include "ui/app_prefs.h"
#include "shell/command_bar.h"
#include "window/sheet_tabs.h"
#include "formula/recalc.h"
#include "editing/undo.h"
#include "platform/events/keyboard.h"
#include "printing/page_breaks.h"
#include "app/event_loop.h"
#include "resource_ids.h"
#include "shell/file_menu.h"

namespace {

class DocWindowTest : public AppTest {
protected:
    pf::WindowRef front() { return pf::front_non_floating_window(); }
    MemoryRef front_layer() { return doc_window_layer(window_doc_record(front())); }

    uint32_t window_pixel(pf::WindowRef window, int x, int y) {
        pf::Port* port = pf::window_port(window);
        pf::surface_flush(*port);
        return pf::surface_row(*port, y - port->bounds.top)[x - port->bounds.left] & 0xFFFFFF;
    }

    int dark_pixels(pf::WindowRef window, const pf::Rect& r) {
        int dark = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) dark += window_pixel(window, x, y) < 0x404040;
        return dark;
    }

    // The global point of a layer's tab in the tab bar.
    static pf::Point tab_point(MemoryRef record, int16_t index) {
        const pf::Rect bar = pf::window_content_rect(TabBar);
        pf::Rect tab{};
        for (int16_t h = tab_rect.left; h < tab_rect.right; ++h)
            if (findTab(pf::Point{int16_t(tab_rect.top + 8), h}, &tab, record) == index) break;
        return pf::Point{int16_t(bar.top + tab.top + 8), int16_t(bar.left + tab.left + 8)};
    }

    pf::WindowRef open_sample() {
        std::string path = home + "/sample.qrv";
        std::filesystem::copy_file(std::string(QUORVIN_SOURCE_DIR) + "/tests/app/data/display_sample.qrv", path);
        pf::FileSpec spec;
        EXPECT_EQ(pf::file_spec_from_path(path, spec), pf::noErr);
        EXPECT_EQ(Open_File(kOpenGivenFile, &spec, nullptr), 0);
        return front();
    }
};

TEST_F(DocWindowTest, ANewDocumentShowsItsLayerWithHeadingsAndGrid) {
    DoFileMenu(nullptr, kFileNewItem);
    run_until_idle();
    pf::WindowRef window = front();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(pf::window_title(window), "Untitled 1:Layer 1");
    MemoryRef layer = front_layer();
    ASSERT_NE(layer, nullptr);
    EXPECT_EQ(layer_window(layer), window);
    const pf::Rect port = pf::window_port(window)->port_rect;
    pf::Rect pane;
    GetPaneRect(&pane, 0, layer);
    EXPECT_EQ(pane, (pf::Rect{14, 32, int16_t(port.bottom - 15), int16_t(port.right - 15)}));
    EXPECT_EQ(window_pixel(window, 60, 6), 0xDDDDDDu);   // the column-header strip
    EXPECT_EQ(window_pixel(window, 31, 40), 0x000000u);  // the row headers' line
    pf::Rect a1{};
    Cell_Location(0, &a1, 1, CellPoint{0, 0}, layer);
    EXPECT_EQ(window_pixel(window, column_last_line(a1), a1.top + 3), 0xCCCCCCu);
}

TEST_F(DocWindowTest, AnOpenedDocumentShowsItsCellsAndTheIdleRecalculationRedrawsThem) {
    pf::WindowRef window = open_sample();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(pf::window_title(window), "sample.qrv:Layer 1");
    MemoryRef layer = front_layer();
    // The loop's idle passes step the recalculation until it rests.
    for (int pass = 0; pass < 5000 && stopCalc == kCalcAutoRunning; ++pass) task_master_pass();
    EXPECT_EQ(stopCalc, kCalcAutoDone);
    run_until_idle();
    uint8_t* cell = nullptr;
    int16_t length = 0;
    ASSERT_TRUE(get_cell_ptr(&cell, &length, CellPoint{1, 6}, layer));
    EXPECT_EQ(_resultType_(cell), kResultText);
    pf::Rect g2{}, a1{};
    Cell_Location(0, &g2, 1, CellPoint{1, 6}, layer);
    Cell_Location(0, &a1, 1, CellPoint{0, 0}, layer);
    EXPECT_GT(dark_pixels(window, g2), 60);  // "Calculated result", not "0"
    EXPECT_GT(dark_pixels(window, a1), 60);
    pf::RgnHandle pending = pf::new_region();
    pf::get_window_update_region(window, pending);
    EXPECT_TRUE(pf::empty_region(pending));
    pf::dispose_region(pending);
}

TEST_F(DocWindowTest, GrowingAWindowLaysOutItsPanesAgainAndCountsAChange) {
    DoFileMenu(nullptr, kFileNewItem);
    run_until_idle();
    pf::WindowRef window = front();
    MemoryRef layer = front_layer();
    const int16_t changes = get_change_ctr(GetWorkSheet(layer));
    EventRecord grow{};
    grow.message = uintptr_t(300) << 16 | 400;
    grow_doc_proc(&grow, uintptr_t(window_doc_record(window)), uintptr_t(window));
    pf::Rect pane;
    GetPaneRect(&pane, 0, layer);
    EXPECT_EQ(pane.bottom, 300 - 15);
    EXPECT_EQ(pane.right, 400 - 15);
    EXPECT_EQ(get_change_ctr(GetWorkSheet(layer)), changes + 1);
}

TEST_F(DocWindowTest, TheModifiedMarkFollowsTheDocument) {
    pf::WindowRef opened = open_sample();
    MemoryRef opened_layer = front_layer();
    DoFileMenu(nullptr, kFileNewItem);
    pf::WindowRef untitled = front();
    MemoryRef untitled_layer = front_layer();
    pf::advance_clock(500);
    run_until_idle();
    EXPECT_FALSE(pf::window_modified(opened));
    EXPECT_FALSE(pf::window_modified(untitled));
    increment_change_ctr(opened_layer);
    InputColumnFormat(untitled_layer, 0);
    pf::advance_clock(500);
    run_until_idle();
    EXPECT_TRUE(pf::window_modified(opened));
    EXPECT_TRUE(pf::window_modified(untitled));  // it holds a column format: really dirty
}

// Shown page-break marks follow what is typed and undone at idle time, and the
// pages stay as they were through idle times in which nothing changed.
TEST_F(DocWindowTest, ThePageMarksFollowAnEntryAndItsUndoAtIdle) {
    DoFileMenu(nullptr, kFileNewItem);
    MemoryRef layer = front_layer();
    SetSheetFlags(layer, GetSheetFlags(layer) | kLayerPageBreaks);
    auto idle = [&] {
        pf::advance_clock(500);
        run_until_idle();
    };
    auto type_into = [&](CellPoint cell, const char* text) {
        select_cells(layer, CellRange{cell, cell});
        pf::driver_type(text);
        pf::driver_key(pf::kKeyCodeReturn, pf::kReturnChar);
        idle();
    };
    type_into(CellPoint{0, 0}, "1");
    const int16_t one_page = GetMaxPage(layer);
    EXPECT_EQ(one_page, 1);
    type_into(CellPoint{400, 0}, "2");
    const int16_t pages = GetMaxPage(layer);
    EXPECT_GT(pages, one_page);
    idle();
    EXPECT_EQ(GetMaxPage(layer), pages);
    DoUndo(GetWorkSheet(layer));
    idle();
    EXPECT_EQ(GetMaxPage(layer), one_page);
}

TEST_F(DocWindowTest, AnUntitledNameIsNeverThatOfAnOpenDocument) {
    DoFileMenu(nullptr, kFileNewItem);
    DoFileMenu(nullptr, kFileNewItem);
    run_until_idle();
    EXPECT_EQ(pf::window_title(front()), "Untitled 2:Layer 1");
    untitled_ctr = 1;  // as if the counter had gone back when a window closed
    unsigned char name[256];
    GetUntitledName(name);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(name + 1), name[0]), "Untitled 3");
}

// A second window of a workbook shows its layer from its first update: the
// cells of a duplicated layer, and the headings of a layer opened in a window
// of its own.
TEST_F(DocWindowTest, ASecondWindowOfAWorkbookDrawsAtItsFirstUpdate) {
    pf::WindowRef first = open_sample();
    for (int pass = 0; pass < 5000 && stopCalc == kCalcAutoRunning; ++pass) task_master_pass();
    run_until_idle();
    MemoryRef record = window_doc_record(first);

    DoLayerMenu(nullptr, kLayerDuplicateItem);  // Duplicate
    run_until_idle();
    pf::WindowRef copy = front();
    ASSERT_NE(copy, first);
    pf::Rect a1{};
    Cell_Location(0, &a1, 1, CellPoint{0, 0}, front_layer());
    pf::screen_write_png(std::string(QUORVIN_BINARY_DIR) + "/window_duplicated_layer.png");
    EXPECT_GT(dark_pixels(copy, a1), 60);
    EXPECT_EQ(window_pixel(copy, 60, 6), 0xDDDDDDu);

    MemoryRef added = nullptr;
    ASSERT_EQ(New_SpreadSheet(&quorvin_rsrv, doc_window_workbook(record), &added, kLayerGridLines | kLayerHeadings, nullptr), 0);
    app_prefs.options |= kPrefLayersOwnWindows;
    pf::driver_click(tab_point(record, GetSheetID(added)));
    run_until_idle();
    app_prefs.options &= ~kPrefLayersOwnWindows;
    pf::WindowRef own = front();
    ASSERT_EQ(own, layer_window(added));
    pf::screen_write_png(std::string(QUORVIN_BINARY_DIR) + "/window_layer_own_window.png");
    EXPECT_EQ(window_pixel(own, 60, 6), 0xDDDDDDu);   // the column-header strip
    EXPECT_EQ(window_pixel(own, 31, 40), 0x000000u);  // the row headers' line
}

// The message area names the front document's active cell with the mouse over
// the desktop as over the sheet.
TEST_F(DocWindowTest, TheReferenceStaysWhereverTheMouseGoes) {
    DoFileMenu(nullptr, kFileNewItem);
    run_until_idle();
    pf::WindowRef window = front();
    ASSERT_NE(window, nullptr);
    select_cells(front_layer(), CellRange{{2, 1}, {2, 1}});
    auto message = [] { return std::string(reinterpret_cast<const char*>(cmd_msg + 1), cmd_msg[0]); };
    const pf::Rect frame = pf::window_content_rect(window);
    pf::driver_move(pf::Point{int16_t(frame.bottom + 40), int16_t(frame.right + 40)});
    run_until_idle();
    EXPECT_EQ(message(), "B3");
    pf::driver_move(inside(window, 60, 60));
    run_until_idle();
    EXPECT_EQ(message(), "B3");
}

// A new document's layer shows what the preferences choose for new workbooks.
TEST_F(DocWindowTest, ANewDocumentTakesItsDisplayFlagsFromThePreferences) {
    const uint32_t kept = app_prefs.options;
    app_prefs.options = (kept & ~kPrefNewLayerFlags) | kLayerHeadings | kLayerPageBreaks | kLayerFixedRowHeights;
    DoFileMenu(nullptr, kFileNewItem);
    run_until_idle();
    const uint32_t flags = GetSheetFlags(front_layer());
    EXPECT_FALSE(flags & kLayerGridLines);
    EXPECT_TRUE(flags & kLayerHeadings);
    EXPECT_TRUE(flags & kLayerPageBreaks);
    EXPECT_TRUE(flags & kLayerFixedRowHeights);
    app_prefs.options = kept;
}

}  // namespace
