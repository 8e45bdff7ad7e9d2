// The window icons at the bottom right of a document window: drawn while the
// layer is active, the first pops up the Layer menu, the second the list of
// the workbook's layers.
#include "road_fixture.h"

#include "platform/events/events.h"
#include "resource_ids.h"
#include "shell/file_menu.h"

namespace {

class WindowIconsTest : public TypedRoadTest {
protected:
    // A point of the window's port, global.
    pf::Point global(int16_t v, int16_t h) {
        const pf::Rect content = pf::window_content_rect(window);
        return pf::Point{int16_t(content.top + v), int16_t(content.left + h)};
    }
    pf::Rect port() { return pf::window_port(window)->port_rect; }
    // Clicks an icon (its left edge so many pixels from the window's right
    // edge) and takes the first item of the menu that pops up.
    void choose_first_item(int16_t left_of_edge) {
        const pf::Rect r = port();
        pf::driver_click(global(int16_t(r.bottom - 7), int16_t(r.right - left_of_edge + 10)));
        pf::driver_key(pf::kKeyCodeDownArrow, pf::kDownArrowChar);
        pf::driver_key(pf::kKeyCodeReturn, pf::kReturnChar);
        run_until_idle();
    }
    MemoryRef workbook() { return doc_window_workbook(window_doc_record(window)); }
    MemoryRef shown() { return doc_window_layer(window_doc_record(window)); }
};

TEST_F(WindowIconsTest, TheIconsSitLeftOfTheGrowBoxWhileTheLayerIsActive) {
    const pf::Rect r = port();
    EXPECT_TRUE(matches_golden("window_icons", window, pf::Rect{int16_t(r.bottom - 18), int16_t(r.right - 70), r.bottom, r.right}));
    const auto black_in_icons = [&] {
        int count = 0;
        for (int y = r.bottom - 13; y < r.bottom; ++y)
            for (int x = r.right - 60; x < r.right - 16; ++x) count += pixel(x, y) == 0;
        return count;
    };
    EXPECT_GT(black_in_icons(), 20);
    DoFileMenu(nullptr, kFileNewItem);
    run_until_idle();
    ASSERT_NE(pf::front_non_floating_window(), window);
    EXPECT_EQ(black_in_icons(), 0) << "no icons behind another document";
}

TEST_F(WindowIconsTest, TheFirstIconPopsUpTheLayerMenuAndTheSecondListsTheLayers) {
    MemoryRef first = shown();
    choose_first_item(62);
    ASSERT_EQ(num_SpreadSheets(workbook()), 2) << "New Layer from the Layer menu";
    EXPECT_NE(shown(), first) << "the new layer is shown";

    choose_first_item(38);
    EXPECT_EQ(shown(), first) << "the first layer of the list is shown again";
    EXPECT_EQ(num_SpreadSheets(workbook()), 2);
}

}  // namespace
