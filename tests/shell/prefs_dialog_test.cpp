// The preferences dialog as a user meets it: each panel's choice kept in the
// record and through the preferences file, typed numbers refused past their
// range while the dialog stays open, Cancel changing nothing, and the effect
// of the undo depth and the arrow-key exchange in the running program.
#include <cstring>
#include <filesystem>
#include <string>

#include "model/undo_record.h"
#include "model/cell_record.h"
#include "model/cell_store.h"
#include "model/layer.h"
#include "model/workbook.h"
#include "ui/app_prefs.h"
#include "shell/prefs_dialog.h"
#include "shell/shell_commands.h"
#include "tests/app/attended_fixture.h"
#include "tests/window/golden_image.h"
#include "window/doc_window.h"
#include "window/entry_line.h"
#include "resource_ids.h"
#include "shell/file_menu.h"

namespace {

struct PrefsDialogTest : AttendedTest {
    void SetUp() override {
        AttendedTest::SetUp();
        alert_requests().clear();
    }
    static void type_and_return(const char* text) {
        pf::driver_type(text);
        pf::driver_key(pf::kKeyCodeReturn, pf::kReturnChar);
    }
    // The record as the preferences file gives it back.
    static AppPrefs written_and_read() {
        EXPECT_EQ(WritePrefs(), 0);
        ParameterFactorySettings(&app_prefs);
        EXPECT_EQ(ReadPrefs(), 0);
        return app_prefs;
    }
};

struct PanelClick {
    int16_t panel;
    pf::Point at;  // in the dialog's content
};

TEST_F(PrefsDialogTest, EachPanelsChoiceIsKeptThroughThePreferencesFile) {
    ParameterFactorySettings(&app_prefs);
    const AppPrefs factory = app_prefs;
    const PanelClick clicks[] = {
        {1, {119, 30}},  // grid lines off
        {2, {59, 30}},   // arrow keys exchanged
        {3, {121, 50}},  // formulas to other programs
        {4, {59, 30}},   // words in capitals
        {5, {79, 30}},   // extended clicks and keys
        {6, {kPrefsMenu, 50}},  // reopen the documents left open
    };
    for (const PanelClick& click : clicks) {
        attended::click_then_return(click.at);
        get_app_prefs(click.panel);
        EXPECT_TRUE(attended::clicked) << click.panel;
        EXPECT_EQ(app_prefs.prefs_panel, click.panel);
    }
    const AppPrefs read = written_and_read();
    EXPECT_EQ(read.options, factory.options & ~kLayerGridLines);
    EXPECT_EQ(read.options2, factory.options2 ^ (kPrefSwapArrows | 0x2 | kPrefEngineExtraFlag));
    EXPECT_EQ(read.export_choice, 2);
    EXPECT_EQ(read.startup_action, kStartupWorkspace);
    EXPECT_EQ(read.prefs_panel, 6);
    EXPECT_TRUE(alert_requests().empty());
}

TEST_F(PrefsDialogTest, UndoLevelsPastTheirRangeAreRefusedAndTwentyGiveTwentySteps) {
    for (const char* refused : {"0", "200", "x"}) {
        type_and_return(refused);
        pf::driver_key(pf::kKeyCodeReturn, pf::kReturnChar);  // the alert
    }
    type_and_return("20");
    get_app_prefs(2);
    ASSERT_EQ(alert_requests().size(), 3u);
    EXPECT_EQ(alert_requests()[0].text, "The number of undo levels must be from 1 to 99.");
    EXPECT_EQ(app_prefs.undo_depth, 20);
    EXPECT_EQ(written_and_read().undo_depth, 20);

    set_unattended_run(true);
    DoFileMenu(nullptr, kFileNewItem);
    run_until_idle();
    for (int entry = 0; entry < 25; ++entry) type_and_return("7");
    run_until_idle(400);
    MemoryRef workbook = doc_window_workbook(window_doc_record(FrontDocWindow()));
    EXPECT_EQ(GetMemorySize(workbook_undo_list(workbook)), 20);
}

TEST_F(PrefsDialogTest, NewWorkbookNumbersAreCheckedAndAnEmptyFieldKeepsItsValue) {
    const uint8_t decimals = app_prefs.default_format[kFmtDecimals];
    pf::driver_type("40");
    pf::driver_key(pf::kKeyCodeReturn, pf::kReturnChar);
    pf::driver_key(pf::kKeyCodeReturn, pf::kReturnChar);  // the alert
    pf::driver_key(pf::kKeyCodeBackspace, pf::kBackspaceChar);
    pf::driver_key(pf::kKeyCodeReturn, pf::kReturnChar);
    get_app_prefs(1);
    ASSERT_EQ(alert_requests().size(), 1u);
    EXPECT_EQ(alert_requests()[0].text, "The number of decimal places must be from 0 to 15.");
    EXPECT_EQ(app_prefs.default_format[kFmtDecimals], decimals);
}

// Once the dialog is up: grid lines clicked off, then Escape.
bool cancelled = false;
void click_then_cancel() {
    pf::compose_screen();
    pf::WindowRef front = pf::front_window();
    if (!cancelled && pf::is_modal_window(front)) {
        cancelled = true;
        const pf::Rect content = pf::window_content_rect(front);
        pf::driver_click(pf::Point{int16_t(content.top + 119), int16_t(content.left + 30)});
        pf::driver_key(pf::kKeyCodeEscape, pf::kEscapeChar);
    }
    dialogtest::guarded_compose_step();
}

TEST_F(PrefsDialogTest, CancelChangesNothingAndOutOfRangePanelsOpenTheFirst) {
    const AppPrefs before = app_prefs;
    cancelled = false;
    pf::host_set_composer(click_then_cancel);
    get_app_prefs(7);  // shows panel 1
    EXPECT_TRUE(cancelled);
    EXPECT_EQ(app_prefs.options, before.options);
    EXPECT_EQ(app_prefs.prefs_panel, before.prefs_panel);
    EXPECT_EQ(std::memcmp(app_prefs.default_format, before.default_format, sizeof before.default_format), 0);
}

TEST_F(PrefsDialogTest, ExchangedArrowKeysMoveTheCaretWhileEditing) {
    attended::click_then_return(pf::Point{59, 30});
    get_app_prefs(2);
    ASSERT_TRUE(app_prefs.options2 & kPrefSwapArrows);
    set_unattended_run(true);
    DoFileMenu(nullptr, kFileNewItem);
    run_until_idle();
    pf::driver_type("ab");
    pf::driver_key(pf::kKeyCodeLeftArrow, 28);
    pf::driver_type("x");
    pf::driver_key(pf::kKeyCodeReturn, pf::kReturnChar);
    run_until_idle();
    MemoryRef layer = doc_window_layer(window_doc_record(FrontDocWindow()));
    uint8_t* cell = nullptr;
    int16_t length = 0;
    ASSERT_TRUE(get_cell_ptr(&cell, &length, CellPoint{0, 0}, layer));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(_formulaPtr_(cell)), size_t(_formulaLength_(cell))), "axb");
}

TEST_F(PrefsDialogTest, PanelScreenshots) {
    ParameterFactorySettings(&app_prefs);
    for (int16_t panel = 1; panel <= 6; ++panel) {
        const std::string name = "preferences_panel_" + std::to_string(panel);
        std::string png = dialogtest::screenshot_path(name + ".png");
        std::filesystem::remove(png);
        attended::screenshot_front_modal(png);
        pf::driver_key(pf::kKeyCodeEscape, pf::kEscapeChar);
        get_app_prefs(panel);
        ASSERT_TRUE(std::filesystem::exists(png)) << panel;
        if (panel != 1) continue;
        cairo_surface_t* shot = cairo_image_surface_create_from_png(png.c_str());
        EXPECT_TRUE(matches_golden_image(shot, "preferences_panel_1"));
        cairo_surface_destroy(shot);
    }
}

}  // namespace
