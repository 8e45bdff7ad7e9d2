// Document windows and the screen's edges: a zoomed or new window lies
// between the command bar and the sheet-tab bar, and a resized host screen
// takes its menu bar and tab bar along at once.
#include "road_fixture.h"

#include "platform/screen/screen.h"
#include "shell/shell_commands.h"
#include "window/window_commands.h"
#include "window/sheet_tabs.h"
#include "resource_ids.h"
#include "shell/file_menu.h"

namespace {

class ScreenEdgesTest : public TypedRoadTest {
protected:
    pf::Rect frame_of(pf::WindowRef w) { return pf::window_struct_rect(w); }

    void zoom(int16_t part) {
        EventRecord event{};
        event.message = part;
        zoom_doc_proc(&event, uintptr_t(window_doc_record(window)), uintptr_t(window));
        run_until_idle();
    }

    // Between the command bar and the tab bar, on the screen.
    void expect_between_the_bars(pf::WindowRef w) {
        ASSERT_NE(TabBar, nullptr);
        EXPECT_GE(frame_of(w).top, frame_of(command_bar_window()).bottom);
        EXPECT_LE(frame_of(w).bottom, frame_of(TabBar).top);
        EXPECT_LE(frame_of(w).right, pf::screen_bounds().right);
    }

    int dark_pixels_in(const pf::Rect& area) {
        int dark = 0;
        for (int v = area.top; v < area.bottom; ++v)
            for (int h = area.left; h < area.right; ++h) dark += pf::screen_pixel(h, v) < 0x404040;
        return dark;
    }

    ::testing::AssertionResult screen_matches(const std::string& name) {
        pf::host_present();
        return matches_golden_image(pf::screen()->surface, name);
    }
};

TEST_F(ScreenEdgesTest, AZoomedWindowFillsTheAreaBetweenTheCommandBarAndTheTabBar) {
    const pf::Rect before = pf::window_content_rect(window);
    expect_between_the_bars(window);
    zoom(pf::kInZoomOut);
    expect_between_the_bars(window);
    const pf::Rect zoomed = pf::window_content_rect(window);
    EXPECT_GT(zoomed.height(), before.height());
    EXPECT_GE(frame_of(window).bottom, frame_of(TabBar).top - 8) << "the window reaches down to the tab bar";
    EXPECT_TRUE(screen_matches("zoomed_window"));
    zoom(pf::kInZoomIn);
    EXPECT_EQ(pf::window_content_rect(window), before);
}

// A document from another screen may hold a window rectangle whose title bar
// would lie under the command bar.
TEST_F(ScreenEdgesTest, AWindowOpensWithItsTitleBarBelowTheCommandBar) {
    MemoryRef workbook = GetWorkSheet(doc_window_layer(window_doc_record(window)));
    MemoryRef layer = nullptr;
    ASSERT_EQ(New_SpreadSheet(&quorvin_rsrv, workbook, &layer, kLayerGridLines, nullptr), 0);
    const pf::Rect bar = frame_of(command_bar_window());
    const pf::Rect saved{int16_t(bar.top + 4), 120, int16_t(bar.top + 304), 520};
    use_layer(layer)->pane_rects[0] = saved;
    release_layer(layer);
    auto opened = static_cast<pf::WindowRef>(MakeWind(nullptr, 1, layer));
    ASSERT_NE(opened, nullptr);
    run_until_idle();
    expect_between_the_bars(opened);
    EXPECT_EQ(pf::window_content_rect(opened).left, saved.left);
    EXPECT_EQ(pf::window_content_rect(opened).width(), saved.width());
}

TEST_F(ScreenEdgesTest, TheMenuBarAndTheTabBarFollowAResizedHostAtOnce) {
    ASSERT_NE(TabBar, nullptr);
    pf::host_resize_screen(700, 460);
    EXPECT_GT(dark_pixels_in(pf::Rect{2, 0, 18, 300}), 50) << "the menu titles are drawn without waiting for a click";
    EXPECT_EQ(pf::window_content_rect(TabBar).top, 460 - 31);
    run_until_idle();
    EXPECT_TRUE(screen_matches("resized_host"));

    pf::host_resize_screen(800, 600);
    EXPECT_EQ(pf::window_content_rect(TabBar).top, 600 - 31) << "back down with the bottom edge";
    pf::host_resize_screen(300, 600);
    EXPECT_LE(frame_of(TabBar).right, 300);

    // A new window on the small screen still ends above the tab bar.
    pf::host_resize_screen(640, 300);
    DoFileMenu(nullptr, kFileNewItem);
    run_until_idle();
    pf::WindowRef second = pf::front_non_floating_window();
    ASSERT_NE(second, window);
    expect_between_the_bars(second);
}

}  // namespace
