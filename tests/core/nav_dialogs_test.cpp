// The navigation dialogs as the application uses them: saving where the files
// subsystem can write, opening files as an open-documents event, cancelling.
#include "../app/app_fixture.h"
#include "ui/alerts.h"
#include "ui/nav_dialogs.h"
#include "core/string_utils.h"
#include "files/document_file.h"
#include "ui/app_prefs.h"
#include "platform/appleevents/appleevents.h"
#include "platform/controls/controls.h"
#include "platform/dialogs/dialogs.h"
#include "platform/events/keyboard.h"
#include "platform/screen/screen.h"
#include "tests/core/dialog_test_support.h"
#include "tests/window/golden_image.h"

#include <cairo.h>

#include <filesystem>
#include <fstream>

namespace {

struct NavDialogs : AppTest {
    std::string folder;
    pf::FileSpec location;

    void SetUp() override {
        AppTest::SetUp();
        set_unattended_run(false);
        dialogtest::guard_against_waiting();
        folder = home + "/documents";
        std::filesystem::create_directories(folder);
        std::ofstream(folder + "/b.txt") << "b";
        std::ofstream(folder + "/c.txt") << "c";
        ASSERT_EQ(pf::file_spec_from_path(folder, location), pf::noErr);
        alert_requests().clear();
    }
    void TearDown() override {
        set_unattended_run(true);
        pf::host_set_composer(pf::compose_screen);
        AppTest::TearDown();
    }
    static void key(unsigned char ch, uint8_t code, uint16_t modifiers = 0) { pf::driver_key(code, ch, modifiers); }
};

std::string open_dialog_png;
void capture_open_dialog() {
    pf::compose_screen();
    pf::WindowRef front = pf::front_window();
    if (front && pf::window_title(front) == "Open") pf::screen_write_png(open_dialog_png);
    dialogtest::guarded_compose_step();
}

std::vector<pf::FourCC> posted;
void record_post(pf::FourCC event_class, pf::FourCC event_id) {
    posted.push_back(event_class);
    posted.push_back(event_id);
}

}  // namespace

TEST_F(NavDialogs, TheSaveReplyIsAFileTheFilesSubsystemCanWrite) {
    const unsigned char name[] = "\x0a" "Budget.qrv";
    key(pf::kReturnChar, pf::kKeyCodeReturn);
    pf::FileSpec chosen;
    int16_t replacing = -1, stationery = -1;
    ASSERT_EQ(SaveFileDialog(&location, name, pf::four_cc("SH4P"), nullptr, &chosen, &stationery, &replacing,
                             pf::four_cc("QRVA"), nullptr),
              0);
    EXPECT_EQ(replacing, 0);
    EXPECT_EQ(stationery, 0);
    ASSERT_EQ(pf::create_file(chosen, pf::four_cc("QRVA"), pf::four_cc("SH4P")), pf::noErr);
    int16_t ref = 0;
    ASSERT_EQ(pf::open_data_fork(chosen, pf::kWritePermission, ref), pf::noErr);
    int32_t count = 5;
    EXPECT_EQ(pf::write_file(ref, count, "saved"), pf::noErr);
    EXPECT_EQ(pf::close_file(ref), pf::noErr);
    std::ifstream written(folder + "/Budget.qrv");
    std::string content;
    written >> content;
    EXPECT_EQ(content, "saved");
}

// The name proposed by the Save dialog in front, as it reads.
std::string proposed;
void note_proposed_name() {
    pf::compose_screen();
    pf::DialogRef dialog = pf::get_dialog_from_window(pf::front_window());
    if (dialog && pf::count_dialog_items(dialog) >= 7 && proposed.empty())
        proposed = pf::edit_text_utf8(pf::get_dialog_item_control(dialog, 7));
    dialogtest::guarded_compose_step();
}

// Saving again a file whose name no one script spells (Czech and Cyrillic)
// proposes that name as it reads, not a name of question marks.
TEST_F(NavDialogs, SavingAgainProposesANameOfSeveralScriptsAsItReads) {
    const std::string name = "Rozpo\xC4\x8D" "et \xD0\x91\xD1\x8E\xD0\xB4\xD0\xB6\xD0\xB5\xD1\x82.qrv";
    std::ofstream(folder + "/" + name) << "x";
    pf::FileSpec saved;
    ASSERT_EQ(pf::file_spec_from_path(folder + "/" + name, saved), pf::noErr);
    proposed.clear();
    pf::host_set_composer(note_proposed_name);
    key(pf::kEscapeChar, pf::kKeyCodeEscape);
    pf::FileSpec chosen;
    int16_t replacing = -1;
    EXPECT_EQ(SaveFileDialog(&saved, saved.name, pf::four_cc("SH4P"), nullptr, &chosen, nullptr, &replacing,
                             pf::four_cc("QRVA"), nullptr),
              kNavCancelled);
    EXPECT_EQ(proposed, name);
}

TEST_F(NavDialogs, ACancelledSaveClearsTheFlagsAndShowsNothing) {
    const unsigned char name[] = "\x06" "Budget";
    key(pf::kEscapeChar, pf::kKeyCodeEscape);
    pf::FileSpec chosen;
    chosen.name[0] = 0;
    int16_t replacing = -1, stationery = -1;
    EXPECT_EQ(SaveFileDialog(&location, name, pf::four_cc("SH4P"), nullptr, &chosen, &stationery, &replacing,
                             pf::four_cc("QRVA"), nullptr),
              kNavCancelled);
    EXPECT_EQ(replacing, 0);
    EXPECT_EQ(stationery, 0);
    EXPECT_EQ(chosen.name[0], 0);
    EXPECT_TRUE(alert_requests().empty());
}

TEST_F(NavDialogs, OpenWithoutAnOutputSendsTheChosenFilesToTheApplication) {
    open_dialog_png = dialogtest::screenshot_path("open_dialog_core.png");
    std::filesystem::remove(open_dialog_png);
    pf::host_set_composer(capture_open_dialog);
    posted.clear();
    pf::ae_set_post_hook(record_post);
    pf::driver_type("c");
    key(pf::kReturnChar, pf::kKeyCodeReturn);
    EXPECT_EQ(NavOpenDialog(&location, nullptr, 0, 0, nullptr, pf::four_cc("QRVA"), nullptr), 0);
    pf::ae_set_post_hook(nullptr);
    ASSERT_EQ(posted.size(), 2u);
    EXPECT_EQ(posted[0], pf::kCoreEventClass);
    EXPECT_EQ(posted[1], pf::kOpenDocuments);
    EXPECT_TRUE(std::filesystem::exists(open_dialog_png));
}

TEST_F(NavDialogs, OpenWithAnOutputAnswersOneFile) {
    pf::driver_type("b");
    key(pf::kReturnChar, pf::kKeyCodeReturn);
    pf::FileSpec chosen;
    const pf::FourCC types[] = {pf::four_cc("TEXT")};
    ASSERT_EQ(NavOpenDialog(&location, types, 1, 0, &chosen, pf::four_cc("QRVA"), nullptr), 0);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(chosen.name + 1), chosen.name[0]), "b.txt");
    EXPECT_EQ(pf::ae_pending_count(), 0u);
}

TEST_F(NavDialogs, AFolderDialogCancelledAnswersMinus128WithoutAnAlert) {
    key(pf::kEscapeChar, pf::kKeyCodeEscape);
    pf::FileSpec chosen;
    EXPECT_EQ(NavFolderDialog(&chosen), kNavCancelled);
    EXPECT_TRUE(alert_requests().empty());
}

TEST_F(AppTest, WithoutAUserFileDialogsAreCancelledAtOnce) {
    const unsigned char name[] = "\x06" "Budget";
    pf::FileSpec chosen;
    int16_t replacing = -1;
    EXPECT_EQ(SaveFileDialog(nullptr, name, 0, nullptr, &chosen, nullptr, &replacing, 0, nullptr), kNavCancelled);
    EXPECT_EQ(replacing, 0);
    EXPECT_EQ(NavOpenDialog(nullptr, nullptr, 0, 0, &chosen, 0, nullptr), kNavCancelled);
    uint32_t action = 0;
    ModalConfirmSaveDialog(name, true, &action);
    EXPECT_EQ(action, pf::kNavUserActionCancel);
}

TEST_F(NavDialogs, TheAskSaveQuestionAnswersOnlyOnceTheUserHas) {
    const unsigned char name[] = "\x06" "Budget";
    uint32_t action = 0;
    key('d', 2);
    EXPECT_EQ(ModalConfirmSaveDialog(name, false, &action), 0);
    EXPECT_EQ(action, pf::kNavUserActionDontSaveChanges);
    key(pf::kEscapeChar, pf::kKeyCodeEscape);
    pf::DialogRef dialog = reinterpret_cast<pf::DialogRef>(1);
    EXPECT_EQ(UniversalConfirmSaveDialog(nullptr, name, true, nullptr, &dialog, &action), 0);
    EXPECT_EQ(action, pf::kNavUserActionCancel);
    EXPECT_EQ(dialog, nullptr);
}

namespace {

// The Save dialog as last composed while it was in front: the screen as a
// PNG, and the dialog's own pixels.
std::string save_dialog_png;
cairo_surface_t* save_dialog_picture = nullptr;
void capture_save_dialog() {
    pf::compose_screen();
    pf::WindowRef front = pf::front_window();
    if (front && pf::window_title(front) == "Save") {
        pf::screen_write_png(save_dialog_png);
        const pf::Rect bounds = pf::window_struct_rect(front);
        if (save_dialog_picture) cairo_surface_destroy(save_dialog_picture);
        save_dialog_picture = cairo_image_surface_create(CAIRO_FORMAT_RGB24, bounds.width(), bounds.height());
        cairo_t* cr = cairo_create(save_dialog_picture);
        cairo_set_source_surface(cr, pf::screen()->surface, -bounds.left, -bounds.top);
        cairo_paint(cr);
        cairo_destroy(cr);
    }
    dialogtest::guarded_compose_step();
}

struct DocumentSaveDialog : NavDialogs {
    uint32_t options2 = 0;
    void SetUp() override {
        NavDialogs::SetUp();
        options2 = app_prefs.options2;
        app_prefs.options2 &= ~kPrefAddExtensions;
        save_dialog_png = dialogtest::screenshot_path("save_dialog_formats.png");
        std::filesystem::remove(save_dialog_png);
        pf::host_set_composer(capture_save_dialog);
    }
    void TearDown() override {
        app_prefs.options2 = options2;
        pf::set_text_antialiasing(true);
        if (save_dialog_picture) cairo_surface_destroy(save_dialog_picture);
        save_dialog_picture = nullptr;
        NavDialogs::TearDown();
    }
    SaveRequest request(const char* name, int16_t code) {
        static unsigned char pascal[64];
        set_pstring(pascal, name);
        SaveRequest r;
        r.location = &location;
        r.name = pascal;
        r.code = code;
        return r;
    }
    static std::string name_of(const pf::FileSpec& spec) { return pstring_text(spec.name); }
};

}  // namespace

TEST_F(DocumentSaveDialog, ATypedExtensionChoosesItsFormat) {
    pf::set_text_antialiasing(false);
    SaveRequest r = request("Budget.qrv", kFormatNative);
    r.reason = kLossyImportSaveAs;
    pf::driver_type("Sales.csv");
    key(pf::kReturnChar, pf::kKeyCodeReturn);
    ASSERT_EQ(run_document_save_dialog(r), 0);
    EXPECT_EQ(name_of(r.chosen), "Sales.csv");
    EXPECT_EQ(r.code, kFormatCsv);
    EXPECT_FALSE(r.replacing);
    ASSERT_NE(save_dialog_picture, nullptr);
    EXPECT_TRUE(matches_golden_image(save_dialog_picture, "save_dialog_formats"));
}

// The check box turns the preference on and puts the extension on the name;
// a format chosen in the pop-up puts its own in place (pixels of the dialog on
// an 800 x 600 screen).
TEST_F(DocumentSaveDialog, ThePopUpAndTheCheckBoxKeepTheNameInStepWithTheFormat) {
    SaveRequest r = request("Budget.qrv", kFormatNative);
    pf::driver_type("Budget");
    pf::driver_drag(pf::Point{412, 370}, pf::Point{466, 370});
    pf::driver_click(pf::Point{438, 186});
    key(pf::kReturnChar, pf::kKeyCodeReturn);
    ASSERT_EQ(run_document_save_dialog(r), 0);
    EXPECT_NE(app_prefs.options2 & kPrefAddExtensions, 0u);
    EXPECT_EQ(r.code, kFormatCsv);
    EXPECT_EQ(name_of(r.chosen), "Budget.csv");
}

// Save As proposes the document's own name: an extension of the format kept
// stays on it, with the preference to add extensions off.
TEST_F(DocumentSaveDialog, TheProposedNameKeepsAnExtensionOfTheSameFormat) {
    SaveRequest r = request("multi-typed.csv", kFormatCsv);
    key(pf::kReturnChar, pf::kKeyCodeReturn);
    ASSERT_EQ(run_document_save_dialog(r), 0);
    EXPECT_EQ(name_of(r.chosen), "multi-typed.csv");
    EXPECT_EQ(r.code, kFormatCsv);
}

// A name of several scripts (Czech and Cyrillic) keeps its letters as the
// pop-up and the check box put the format's extension in place of its own,
// and the file is named as it reads.
TEST_F(DocumentSaveDialog, ANameOfSeveralScriptsKeepsItsLettersAsTheFormatChanges) {
    const std::string name = "Rozpo\xC4\x8D" "et \xD0\x91\xD1\x8E\xD0\xB4\xD0\xB6\xD0\xB5\xD1\x82";
    std::ofstream(folder + "/" + name + ".qrv") << "x";
    pf::FileSpec saved;
    ASSERT_EQ(pf::file_spec_from_path(folder + "/" + name + ".qrv", saved), pf::noErr);
    SaveRequest r;
    r.location = &saved;
    r.name = saved.name;
    r.code = kFormatNative;
    pf::driver_drag(pf::Point{412, 370}, pf::Point{466, 370});
    pf::driver_click(pf::Point{438, 186});
    key(pf::kReturnChar, pf::kKeyCodeReturn);
    ASSERT_EQ(run_document_save_dialog(r), 0);
    EXPECT_EQ(r.code, kFormatCsv);
    std::string path;
    ASSERT_EQ(pf::path_from_file_spec(r.chosen, path), pf::noErr);
    EXPECT_EQ(path, folder + "/" + name + ".csv");
}

// The Save dialog's name after a click on the first file of its list.
std::string clicked_name;
int clicks_made = 0;
void click_first_row_and_read_the_name() {
    pf::compose_screen();
    pf::WindowRef front = pf::front_window();
    pf::DialogRef dialog = front && pf::window_title(front) == "Save" ? pf::get_dialog_from_window(front) : nullptr;
    if (dialog && clicks_made == 0) {
        const pf::Rect box = pf::get_dialog_item_box(dialog, 5);
        const pf::Rect content = pf::window_content_rect(front);
        pf::driver_click(pf::Point{int16_t(content.top + box.top + 8), int16_t(content.left + box.left + 60)});
        clicks_made = 1;
    } else if (dialog && clicks_made == 1) {
        clicked_name = pf::edit_text_utf8(pf::get_dialog_item_control(dialog, 7));
        if (clicked_name.empty()) return dialogtest::guarded_compose_step();
        pf::driver_key(pf::kKeyCodeEscape, pf::kEscapeChar);
        clicks_made = 2;
    }
    dialogtest::guarded_compose_step();
}

// A file of several scripts clicked in the Save dialog's list names the file
// to save as it reads, as the list shows it.
TEST_F(NavDialogs, AFileOfSeveralScriptsClickedInTheListGivesItsNameAsItReads) {
    const std::string name = "Rozpo\xC4\x8D" "et \xD0\x91\xD1\x8E\xD0\xB4\xD0\xB6\xD0\xB5\xD1\x82.qrv";
    std::filesystem::create_directories(folder + "/named");
    std::ofstream(folder + "/named/" + name) << "x";
    pf::FileSpec named;
    ASSERT_EQ(pf::file_spec_from_path(folder + "/named", named), pf::noErr);
    clicked_name.clear();
    clicks_made = 0;
    pf::host_set_composer(click_first_row_and_read_the_name);
    pf::FileSpec chosen;
    const unsigned char empty[] = {0};
    EXPECT_EQ(SaveFileDialog(&named, empty, pf::four_cc("SH4P"), nullptr, &chosen, nullptr, nullptr,
                             pf::four_cc("QRVA"), nullptr),
              kNavCancelled);
    EXPECT_EQ(clicked_name, name);
}
