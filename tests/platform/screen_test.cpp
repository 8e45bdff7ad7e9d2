#include "platform/host/host.h"
#include "platform/screen/screen.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

struct HeadlessScreen : ::testing::Test {
    void SetUp() override { pf::headless_host_open(64, 48); }
    void TearDown() override { pf::host_close(); }
};

TEST_F(HeadlessScreen, DesktopHasMenuBarStripAndPatternAnchoredAtOrigin) {
    const pf::Screen* s = pf::screen();
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(pf::screen_pixel(0, 0), 0xFFFFFFu);
    EXPECT_EQ(pf::screen_pixel(63, 18), 0xFFFFFFu);
    EXPECT_EQ(pf::screen_pixel(10, s->menu_bar_height - 1), 0x000000u);

    // The desktop repeats every 8 pixels both ways and uses exactly two colours.
    int v0 = s->menu_bar_height;
    for (int v = v0; v < v0 + 8; ++v)
        for (int h = 0; h < 8; ++h) {
            EXPECT_EQ(pf::screen_pixel(h, v), pf::screen_pixel(h + 8, v));
            EXPECT_EQ(pf::screen_pixel(h, v), pf::screen_pixel(h, v + 8));
        }
    EXPECT_NE(pf::screen_pixel(0, 24), pf::screen_pixel(1, 24));
}

TEST_F(HeadlessScreen, PresentTakesTheDirtyArea) {
    pf::screen_take_dirty();
    pf::screen_mark_dirty(pf::Rect{5, 6, 10, 12});
    pf::screen_mark_dirty(pf::Rect{2, 20, 4, 30});
    EXPECT_EQ(pf::screen_take_dirty(), (pf::Rect{2, 6, 10, 30}));
    EXPECT_TRUE(pf::screen_take_dirty().empty());
}

TEST_F(HeadlessScreen, OutsidePixelsAreZeroAndPngIsWritten) {
    EXPECT_EQ(pf::screen_pixel(-1, 0), 0u);
    EXPECT_EQ(pf::screen_pixel(64, 0), 0u);
    auto path = std::filesystem::path(QUORVIN_BINARY_DIR) / "desktop.png";
    ASSERT_TRUE(pf::screen_write_png(path.string()));
    EXPECT_GT(std::filesystem::file_size(path), 0u);
}

}  // namespace
