// The navigation dialogs as the application uses them: saving where the files
// subsystem can write, opening files as an open-documents event, cancelling.
#include "../app/app_fixture.h"
#include "core/alerts.h"
#include "core/nav_dialogs.h"
#include "platform/appleevents/appleevents.h"
#include "platform/events/keyboard.h"
#include "platform/screen/screen.h"
#include "tests/core/dialog_test_support.h"

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
