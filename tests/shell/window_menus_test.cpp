// The Window, Arrange, Show and Hide, Show Layer and View menus in the running
// program, on the front document and its layer.
#include <cstring>

#include "format_fixture.h"
#include "platform/events/keyboard.h"
#include "shell/shell_commands.h"
#include "window/entry_line.h"
#include "window/split_panes.h"
#include "window/front_document.h"
#include "app/event_loop.h"
#include "resource_ids.h"
#include "window/window_limits.h"
#include "shell/window_arrange.h"
#include "window/floating_palette.h"
#include "window/doc_window.h"

namespace {


struct WindowMenus : FormatMenuTest {
    WindowRef front() { return FrontDocWindow(); }
    MemoryRef record() { return front_document_record(); }
    pf::Rect limit() {
        pf::Rect rect;
        GetLimitRect(&rect);
        return rect;
    }
    void new_document() {
        DoCommand(code_value("newd"));
        run_until_idle();
    }
};

TEST_F(WindowMenus, ArrangeWithNoDocumentDoesNothing) {
    CloseTaskFromWindow(front());
    run_until_idle();
    ASSERT_EQ(front(), nullptr);
    for (int16_t item = 1; item <= 4; ++item) DoArrangeMenu(nullptr, item);
    DoWindowMenu(nullptr, kWindowZoomItem);
    DoWindowMenu(nullptr, kWindowMinimizeItem);
    DoWindowMenu(nullptr, kWindowBringAllItem);
    DoViewMenu(nullptr, kViewSplitItem);
    Do_showhide_Menu(nullptr, 1);
    set_showhide_menu();
    EXPECT_EQ(front(), nullptr);
}

TEST_F(WindowMenus, TileOneAboveTheOtherPutsTheFrontWindowOnTopAndResizesBoth) {
    WindowRef back = front();
    new_document();
    WindowRef first = front();
    ASSERT_NE(first, back);
    DoArrangeMenu(record(), 3);
    run_until_idle();
    const pf::Rect area = limit();
    const pf::Rect top = pf::window_content_rect(first), bottom = pf::window_content_rect(back);
    EXPECT_EQ(top.top, area.top);
    EXPECT_EQ(top.left, area.left + 5);
    EXPECT_EQ(pf::window_struct_rect(first).right, area.right - 5) << "the frame too";
    EXPECT_LE(pf::window_struct_rect(back).bottom, area.bottom) << "the frame too";
    EXPECT_GE(pf::window_struct_rect(back).bottom, area.bottom - 2);
    EXPECT_GT(bottom.top, top.bottom);
    EXPECT_EQ(front(), first);

    DoArrangeMenu(record(), 4);  // side by side
    run_until_idle();
    EXPECT_EQ(pf::window_content_rect(first).left, area.left + 5);
    EXPECT_EQ(pf::window_content_rect(back).left, pf::window_content_rect(first).right + 5);

    DoArrangeMenu(record(), 1);  // stack: the back window first, at the top
    EXPECT_EQ(pf::window_content_rect(back).top, area.top);
    EXPECT_EQ(pf::window_content_rect(first).top, area.top + 12);
}

// With the tool palette at the screen's left edge and a palette against its
// right edge, every arrangement of three windows keeps each window, frame and
// scroll bars, on the desktop and clear of both palettes.
TEST_F(WindowMenus, EveryArrangementKeepsTheWindowsBetweenThePalettes) {
    new_document();
    new_document();
    DoPaletteMenu(nullptr, kPalettesToolsItem);
    DoPaletteMenu(nullptr, kPalettesChartsItem);
    run_until_idle();
    pf::WindowRef tools = find_palette("Tools"), charts = find_palette("Charts");
    ASSERT_TRUE(tools && charts && pf::window_visible(tools) && pf::window_visible(charts));
    const pf::Rect desktop = pf::desktop_bounds();
    const pf::Rect charts_frame = pf::window_struct_rect(charts);
    pf::move_window(charts, int16_t(desktop.right - charts_frame.width() + charts_frame.left -
                                    pf::window_content_rect(charts).left), pf::window_content_rect(charts).top, false);
    for (int16_t item = kArrangeStack; item <= kArrangeTileColumns; ++item) {
        DoArrangeMenu(record(), item);
        run_until_idle();
        for (pf::WindowRef w = pf::first_window(); w; w = pf::next_window(w)) {
            if (!window_doc_record(w)) continue;
            const pf::Rect frame = pf::window_struct_rect(w);
            SCOPED_TRACE(testing::Message() << "item " << item << ": " << frame.left << ".." << frame.right << ", "
                                            << frame.top << ".." << frame.bottom);
            EXPECT_GE(frame.left, pf::window_struct_rect(tools).right);
            EXPECT_LE(frame.right, pf::window_struct_rect(charts).left);
            EXPECT_LE(frame.bottom, desktop.bottom);
        }
    }
}

TEST_F(WindowMenus, ShowAndHideSwitchesTheLayersMarksAndTheMenuChecksThem) {
    const uint32_t before = GetSheetFlags(layer);
    set_showhide_menu();
    EXPECT_EQ(checked(kShowHideMenu, 1), (before & kLayerGridLines) != 0);
    EXPECT_EQ(checked(kShowHideMenu, 2), (before & kLayerHeadings) != 0);
    Do_showhide_Menu(record(), 1);
    Do_showhide_Menu(record(), 2);
    Do_showhide_Menu(record(), 3);
    const uint32_t after = GetSheetFlags(layer);
    EXPECT_EQ(after ^ before, kLayerGridLines | kLayerHeadings | kLayerPageBreaks);
    set_showhide_menu();
    EXPECT_EQ(checked(kShowHideMenu, 1), (after & kLayerGridLines) != 0);
    EXPECT_EQ(checked(kShowHideMenu, 2), (after & kLayerHeadings) != 0);
    EXPECT_EQ(checked(kShowHideMenu, 3), (after & kLayerPageBreaks) != 0);
    Do_showhide_Menu(record(), 2);
    run_until_idle();
    EXPECT_EQ(GetSheetFlags(layer) & kLayerHeadings, before & kLayerHeadings);
}

TEST_F(WindowMenus, WindowItemsZoomMinimizeAndClose) {
    WindowRef window = front();
    const pf::Rect before = pf::window_content_rect(window);
    DoWindowMenu(record(), kWindowZoomItem);
    run_until_idle();
    EXPECT_EQ(pf::window_content_rect(window).top, limit().top);
    EXPECT_NE(pf::window_content_rect(window), before);
    DoWindowMenu(record(), kWindowZoomItem);
    EXPECT_EQ(pf::window_content_rect(window), before);
    DoWindowMenu(record(), kWindowMinimizeItem);
    EXPECT_TRUE(pf::window_collapsed(window));
    DoWindowMenu(record(), kWindowMinimizeItem);
    EXPECT_FALSE(pf::window_collapsed(window));
    DoWindowMenu(record(), kWindowCloseItem);
    run_until_idle();
    EXPECT_EQ(front(), nullptr);
}

TEST_F(WindowMenus, ViewSplitsFreezesAndGoesToTheFirstCell) {
    select(CellRange{{5, 3}, {5, 3}});
    DoViewMenu(record(), kViewSplitItem);
    EXPECT_TRUE(get_v_divider(layer) != 0 || get_h_divider(layer) != 0);
    DoViewMenu(record(), kViewSplitItem);
    EXPECT_EQ(get_v_divider(layer), 0);
    EXPECT_EQ(get_h_divider(layer), 0);

    DoViewMenu(record(), kViewFreezeItem);
    EXPECT_TRUE(GetSheetFlags(layer) & kLayerFrozenTitles);
    enable_menus();
    EXPECT_TRUE(checked(kViewMenu, kViewFreezeItem));
    DoViewMenu(record(), kViewFreezeItem);
    EXPECT_FALSE(GetSheetFlags(layer) & kLayerFrozenTitles);
    enable_menus();
    EXPECT_FALSE(checked(kViewMenu, kViewFreezeItem));

    DoViewMenu(record(), kViewFirstCellItem);
    EXPECT_EQ(GetClickCell(layer), (CellPoint{0, 0}));
}

TEST_F(WindowMenus, GoToCellOffersTheCellChosenLastTime) {
    set_unattended_run(false);
    pf::driver_type("D7");
    pf::driver_key(pf::kKeyCodeReturn, pf::kReturnChar);
    DoViewMenu(record(), kViewGoToItem);
    EXPECT_EQ(GetClickCell(layer), (CellPoint{6, 3}));
    select(CellRange{{0, 0}, {0, 0}});
    pf::driver_key(pf::kKeyCodeReturn, pf::kReturnChar);  // OK on what is offered
    DoViewMenu(record(), kViewGoToItem);
    EXPECT_EQ(GetClickCell(layer), (CellPoint{6, 3}));
}

TEST_F(WindowMenus, ShowLayerKeysReachTheirItemsFromTheViewMenu) {
    enable_menus();
    EXPECT_EQ(pf::menu_key('2', pf::kCmdKey), (164 << 16) | 2);
    EXPECT_EQ(pf::menu_key('E', pf::kCmdKey | pf::kShiftKey), (164 << 16) | 10);
}

TEST_F(WindowMenus, TheEntryLineItemStartsEditingWithTheCaretAtTheEnd) {
    DoCommandMenu(record(), 10);
    ASSERT_TRUE(entry_line_editing());
    int32_t start = 0, end = 0;
    WEGetSelection(&start, &end, static_cast<WEReference>(entry_line_editor()));
    EXPECT_EQ(start, end);
    DoCommandMenu(record(), 5);  // no fifth layer: nothing
    EXPECT_EQ(doc_window_layer(record()), layer);
}

}  // namespace
