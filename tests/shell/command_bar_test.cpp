// The command bar in the running program: opened at start-up with the shown
// bar's buttons, the message area's texts and progress bar, switching bars,
// the bar pop-up rebuilt on each use, and pictures of every factory bar.
#include <filesystem>

#include "../app/app_fixture.h"
#include "model/cell_range.h"
#include "platform/screen/screen.h"
#include "shell/app_prefs.h"
#include "shell/button_bars.h"
#include "shell/command_bar.h"
#include "shell/shell_services.h"

namespace {

// The screen as presented now, written to the screenshots folder.
bool write_screen(const std::string& name) {
    pf::host_present();
    std::filesystem::path folder = std::filesystem::path(QUORVIN_BINARY_DIR) / "screenshots";
    std::filesystem::create_directories(folder);
    return pf::screen_write_png((folder / name).string());
}

struct CommandBarTest : AppTest {
    void SetUp() override {
        forget_button_bars();
        AppTest::SetUp();
    }

    // One idle pass of the application: the buttons are brought up to date.
    void refresh() {
        app_prefs.options2 |= kPrefRefreshButtons;
        command_idle();
        run_until_idle();
    }
};

TEST_F(CommandBarTest, OpensAtStartUpWithTheFirstBar) {
    refresh();
    ASSERT_NE(IconBar, nullptr);
    ASSERT_TRUE(has_current_bar);
    EXPECT_FALSE(current_bar.buttons.empty());
    pf::Rect content = pf::window_content_rect(IconBar);
    EXPECT_GE(content.right - content.left, 500);
    EXPECT_GE(content.bottom - content.top, 45);
    EXPECT_TRUE(write_screen("command_bar_start.png"));
}

TEST_F(CommandBarTest, EveryFactoryBarPictured) {
    for (size_t bar = 1; bar <= button_list.size(); ++bar) {
        switch_bars(int16_t(bar));
        refresh();
        EXPECT_TRUE(write_screen("command_bar_" + std::to_string(bar) + ".png"));
    }
}

TEST_F(CommandBarTest, MessageAreaShowsSelectionAndProgress) {
    CellRange range{{1, 1}, {5, 3}};
    DisplaySelection(&range);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(cmd_msg + 1), cmd_msg[0]), "3C x 5R");
    EXPECT_TRUE(write_screen("command_bar_selection.png"));
    draw_progress(0, 10);
    draw_progress(4, 10);
    EXPECT_TRUE(write_screen("command_bar_progress.png"));
}

}  // namespace
