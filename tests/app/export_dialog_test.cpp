// The export options dialog on the screen: its format check box and its two
// ways out.
#include <filesystem>

#include "files/document_file.h"
#include "files/document_prompts.h"
#include "platform/events/keyboard.h"
#include "platform/screen/screen.h"
#include "tests/app/app_fixture.h"
#include "tests/core/dialog_test_support.h"

int16_t run_export_dialog(int16_t* code);

namespace {

std::string export_png;

void capture_front_dialog() {
    pf::compose_screen();
    if (pf::is_modal_window(pf::front_window())) pf::screen_write_png(export_png);
    dialogtest::guarded_compose_step();
}

struct ExportDialog : AppTest {
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

TEST_F(ExportDialog, ReturnExportsAsTextAndEscapeCancels) {
    export_png = dialogtest::screenshot_path("export_dialog.png");
    std::filesystem::remove(export_png);
    pf::host_set_composer(capture_front_dialog);
    int16_t code = 0;
    pf::driver_key(pf::kKeyCodeReturn, pf::kReturnChar);
    EXPECT_EQ(run_export_dialog(&code), kAnswerOK);
    EXPECT_EQ(code, kFormatNative);
    EXPECT_TRUE(std::filesystem::exists(export_png));
    code = 0;
    pf::driver_key(pf::kKeyCodeEscape, pf::kEscapeChar);
    EXPECT_EQ(run_export_dialog(&code), kAnswerCancel);
    EXPECT_EQ(code, 0);
}

// Once the dialog is up: a click on the SYLK check box (item 5), then Return.
bool clicked = false;
void click_sylk_then_export() {
    pf::compose_screen();
    pf::WindowRef front = pf::front_window();
    if (!clicked && pf::is_modal_window(front)) {
        clicked = true;
        pf::Rect content = pf::window_content_rect(front);
        pf::driver_click(pf::Point{int16_t(content.top + 93), int16_t(content.left + 30)});
        pf::driver_key(pf::kKeyCodeReturn, pf::kReturnChar);
    }
    dialogtest::guarded_compose_step();
}

TEST_F(ExportDialog, TheCheckBoxChoosesSylk) {
    clicked = false;
    pf::host_set_composer(click_sylk_then_export);
    int16_t code = 0;
    EXPECT_EQ(run_export_dialog(&code), kAnswerOK);
    EXPECT_TRUE(clicked);
    EXPECT_EQ(code, kFormatSylk);
}

}  // namespace
