// The separator dialog of a text file of no known kind, on the screen.
#include <filesystem>

#include "files/document_prompts.h"
#include "files/text_exchange.h"
#include "platform/events/keyboard.h"
#include "platform/screen/screen.h"
#include "tests/app/app_fixture.h"
#include "tests/core/dialog_test_support.h"
#include "window/document_dialogs.h"

namespace {

std::string separator_png;

void capture_front_dialog() {
    pf::compose_screen();
    if (pf::is_modal_window(pf::front_window())) pf::screen_write_png(separator_png);
    dialogtest::guarded_compose_step();
}

struct SeparatorDialog : AppTest {
    void SetUp() override {
        AppTest::SetUp();
        set_unattended_run(false);
        dialogtest::guard_against_waiting();
    }
    void TearDown() override {
        set_unattended_run(true);
        pf::host_set_composer(pf::compose_screen);
        AppTest::TearDown();
    }
};

TEST_F(SeparatorDialog, TabIsChosenFirstAndEscapeCancels) {
    separator_png = dialogtest::screenshot_path("text_separator_dialog.png");
    std::filesystem::remove(separator_png);
    pf::host_set_composer(capture_front_dialog);
    uint8_t separator = 0;
    pf::driver_key(pf::kKeyCodeReturn, pf::kReturnChar);
    EXPECT_EQ(run_separator_dialog(&separator), kAnswerOK);
    EXPECT_EQ(separator, kTabSeparator);
    EXPECT_TRUE(std::filesystem::exists(separator_png));
    pf::driver_key(pf::kKeyCodeEscape, pf::kEscapeChar);
    EXPECT_EQ(run_separator_dialog(&separator), kAnswerCancel);
}

// Once the dialog is up: a click on the Comma button (item 4), then Return.
bool clicked = false;
void click_comma_then_open() {
    pf::compose_screen();
    pf::WindowRef front = pf::front_window();
    if (!clicked && pf::is_modal_window(front)) {
        clicked = true;
        pf::Rect content = pf::window_content_rect(front);
        pf::driver_click(pf::Point{int16_t(content.top + 69), int16_t(content.left + 60)});
        pf::driver_key(pf::kKeyCodeReturn, pf::kReturnChar);
    }
    dialogtest::guarded_compose_step();
}

TEST_F(SeparatorDialog, AnotherSeparatorIsChosenByItsButton) {
    clicked = false;
    pf::host_set_composer(click_comma_then_open);
    uint8_t separator = 0;
    EXPECT_EQ(run_separator_dialog(&separator), kAnswerOK);
    EXPECT_TRUE(clicked);
    EXPECT_EQ(separator, kCommaSeparator);
}

}  // namespace
