// Alerts and error reporting on the whole program: the keys of alerts, errors
// raised in the background, and the messages of file errors.
#include "tests/app/attended_fixture.h"
#include "ui/alerts.h"
#include "ui/dialog_items.h"
#include "files/document_prompts.h"
#include "files/text_exchange.h"
#include "platform/events/events.h"
#include "platform/events/keyboard.h"
#include "platform/files/files.h"
#include "platform/screen/screen.h"
#include "platform/system/system.h"
#include "tests/core/dialog_test_support.h"

namespace {

const unsigned char kQuestion[] = "\x0f" "Replace it now?";

using Alerts = AttendedTest;

struct FileErrorMessage {
    int16_t error;
    int16_t item;
};

// Every error number the file system answers with, and the messages of the table.
constexpr FileErrorMessage kMessages[] = {
    {-33, 1},    {-34, 2},    {-45, 3},    {-46, 4},   {-44, 5},   {-36, 6},    {-54, 7},
    {-60, 8},    {-43, 9},    {-49, 10},   {1000, 11}, {-108, 12}, {25, 12},    {257, 12},
    {1001, 13},  {-194, 14},  {-193, 15},  {-121, 16}, {-42, 17},  {-39, 18},   {-48, 19},
    {-3026, 23}, {-3030, 23}, {-3031, 23}, {-3025, 24}, {-35, 28}, {1003, 30},  {1004, 38},  {-5000, 32},
    {-37, 20},   {-38, 20},   {-40, 20},   {-47, 20},  {-51, 20},  {-61, 20},   {-120, 20},
};

}  // namespace

TEST_F(AppTest, EveryFileErrorShowsItsOwnMessageInTheStopAlert) {
    for (const FileErrorMessage& m : kMessages) {
        alert_requests().clear();
        EXPECT_EQ(show_file_error(m.error), 1) << m.error;
        ASSERT_EQ(alert_requests().size(), 1u) << m.error;
        const AlertRequest& shown = alert_requests()[0];
        EXPECT_EQ(shown.alert_id, kStandardStopAlert);
        EXPECT_EQ(shown.kind, kStopAlertKind);
        EXPECT_EQ(shown.text, pf::get_indexed_string(kErrorStrings, m.item)) << m.error;
        EXPECT_FALSE(shown.text.empty()) << m.error;
    }
}

TEST_F(AppTest, EveryErrorMessageOfTheListIsWritten) {
    for (int16_t item = 1; item <= 32; ++item) EXPECT_FALSE(pf::get_indexed_string(kErrorStrings, item).empty()) << item;
    for (int16_t error : {pf::kDirectoryFullErr, pf::kDiskFullErr, pf::kNoSuchVolumeErr, pf::kIOErr,
                          pf::kTooManyFilesOpenErr, pf::kFileNotFoundErr, pf::kWriteProtectedErr, pf::kFileLockedErr,
                          pf::kVolumeLockedErr, pf::kDuplicateNameErr, pf::kOpenForWriteErr, pf::kPermissionErr,
                          pf::kBadVolumeErr, pf::kTooManyFoldersErr, pf::kAccessDeniedErr, pf::kEndOfFileErr})
        EXPECT_NE(file_error_string_index(error), kUnlistedErrorString) << error;
}

TEST_F(AppTest, ABareErrorShowsItsNumberAfterTheMessage) {
    os_error_alert(-37);
    ASSERT_EQ(alert_requests().size(), 1u);
    EXPECT_EQ(alert_requests()[0].text, pf::get_indexed_string(kErrorStrings, kBareErrorString));
    EXPECT_EQ(pf::expand_param_text("^1"), "-37");
}

TEST_F(AppTest, AFileErrorInTheBackgroundIsShownOnceBackInFront) {
    pf::driver_focus(false);
    run_until_idle();
    EXPECT_EQ(show_file_error(pf::kFileNotFoundErr), 1);
    EXPECT_EQ(show_file_error(pf::kDiskFullErr), 1);  // only the first is kept
    run_until_idle();
    EXPECT_TRUE(alert_requests().empty());
    EXPECT_NE(pf::pending_notification(), nullptr);
    pf::driver_focus(true);
    run_until_idle();
    ASSERT_EQ(alert_requests().size(), 1u);
    EXPECT_EQ(alert_requests()[0].text, pf::get_indexed_string(kErrorStrings, 9));
    EXPECT_EQ(pf::pending_notification(), nullptr);
    run_until_idle();
    EXPECT_EQ(alert_requests().size(), 1u);
}

TEST_F(Alerts, EscapeAndCommandPeriodPressTheCancelButton) {
    pf::driver_key(pf::kKeyCodeEscape, pf::kEscapeChar);
    EXPECT_EQ(key_caution_alert(kQuestion, kStandardCautionAlert, kCautionAlertKind), 2);
    pf::driver_key(pf::kKeyCodePeriod, '.', pf::kCmdKey);
    EXPECT_EQ(key_caution_alert(kQuestion, kStandardCautionAlert, kCautionAlertKind), 2);
    pf::driver_key(pf::kKeyCodeReturn, pf::kReturnChar);
    EXPECT_EQ(key_caution_alert(kQuestion, kStandardCautionAlert, kCautionAlertKind), 1);
    pf::driver_key(pf::kKeyCodeKeypadEnter, pf::kEnterChar);
    EXPECT_EQ(key_caution_alert(kQuestion, kStandardCautionAlert, kCautionAlertKind), 1);
}

// A note offers no choice: Escape and Command-period close it as its only
// button does (the Return typed after them is left over).
TEST_F(Alerts, EscapeAndCommandPeriodCloseANoteOfOneButton) {
    struct Key {
        uint8_t code;
        unsigned char character;
        uint16_t modifiers;
    };
    for (const Key& key : {Key{pf::kKeyCodeEscape, pf::kEscapeChar, 0}, Key{pf::kKeyCodePeriod, '.', pf::kCmdKey}}) {
        pf::driver_key(key.code, key.character, key.modifiers);
        pf::driver_key(pf::kKeyCodeReturn, pf::kReturnChar);
        EXPECT_EQ(str_multi_alert(kErrorStrings, 9, kStandardStopAlert, kStopAlertKind), 1);
        EXPECT_GE(pf::driver_pending_steps(), 2) << "the Return is left over";
        run_until_idle();
    }
}

// A note raised unbidden keeps what is typed while it is up for the window
// behind it, in order; the Return that closes it is its own, and a command
// key is not kept.
TEST_F(Alerts, ANoteRaisedWhileTypingKeepsTheKeysTypedForAfterIt) {
    pf::driver_key(19, '2');
    pf::driver_key(20, '3');
    pf::driver_key(8, 'c', pf::kCmdKey);
    pf::driver_key(pf::kKeyCodeReturn, pf::kReturnChar);
    EXPECT_EQ(figures_note_keeping_typing(kErrorStrings, 9, {}), 1);
    std::string kept;
    EventRecord event;
    while (pf::get_next_event(pf::kKeyDownMask, event)) kept += char(pf::event_char(event));
    EXPECT_EQ(kept, "23");
    // Any other alert takes the keys typed while it is up, as before.
    pf::driver_key(19, '2');
    pf::driver_key(pf::kKeyCodeReturn, pf::kReturnChar);
    EXPECT_EQ(figures_alert(kErrorStrings, 9, {}), 1);
    EXPECT_FALSE(pf::get_next_event(pf::kKeyDownMask, event));
}

TEST_F(Alerts, TheSaveChangesAlertTakesLowerCaseNAndDForDontSave) {
    const unsigned char name[] = "\x06" "Budget";
    pf::driver_key(45, 'N', pf::kShiftKey);
    pf::driver_key(2, 'D', pf::kShiftKey);
    pf::driver_key(pf::kKeyCodeReturn, pf::kReturnChar);
    EXPECT_EQ(key_caution_alert(name, kSaveChangesAlert, kCautionAlertKind), 1);
    pf::driver_key(45, 'n');
    EXPECT_EQ(key_caution_alert(name, kSaveChangesAlert, kCautionAlertKind), 3);
    pf::driver_key(2, 'd', pf::kCmdKey);
    EXPECT_EQ(key_caution_alert(name, kSaveChangesAlert, kCautionAlertKind), 3);
}

TEST_F(Alerts, AQuestionInTheBackgroundWaitsForTheUserInFront) {
    pf::driver_focus(false);
    run_until_idle();
    ASSERT_TRUE(in_background());
    static bool notified_while_waiting;
    notified_while_waiting = false;
    pf::set_notification_proc([](const pf::NotificationRequest* request) {
        if (request) notified_while_waiting = true;
    });
    pf::driver_focus(true);
    pf::driver_key(pf::kKeyCodeEscape, pf::kEscapeChar);
    EXPECT_EQ(key_caution_alert(kQuestion, kStandardCautionAlert, kCautionAlertKind), 2);
    pf::set_notification_proc(nullptr);
    EXPECT_TRUE(notified_while_waiting);
    EXPECT_FALSE(in_background());
    EXPECT_EQ(pf::pending_notification(), nullptr);
    ASSERT_EQ(alert_requests().size(), 1u);
}

TEST_F(Alerts, TheAlertFilterPressesItem1OnlyWhileItIsEnabled) {
    pf::DialogRef dialog = dialogtest::two_button_dialog();
    pf::EventRecord event = dialogtest::key_event(pf::kReturnChar, pf::kKeyCodeReturn);
    int16_t hit = 0;
    EnableButton(dialog, 1, false);
    EXPECT_FALSE(AlertFilter(dialog, event, hit));
    EnableButton(dialog, 1, true);
    EXPECT_TRUE(AlertFilter(dialog, event, hit));
    EXPECT_EQ(hit, 1);
    pf::EventRecord escape = dialogtest::key_event(pf::kEscapeChar, pf::kKeyCodeEscape);
    EnableButton(dialog, 2, false);
    EXPECT_FALSE(AlertFilter(dialog, escape, hit));
    pf::dispose_dialog(dialog);
}

TEST_F(Alerts, StopAlertOfAFileErrorScreenshot) {
    std::string png = dialogtest::screenshot_path("stop_alert_file_error.png");
    std::filesystem::remove(png);
    attended::screenshot_front_modal(png);
    pf::driver_move(pf::Point{5, 5});
    pf::driver_key(pf::kKeyCodeReturn, pf::kReturnChar);
    EXPECT_EQ(show_file_error(pf::kDiskFullErr), 1);
    EXPECT_TRUE(std::filesystem::exists(png));
}

TEST_F(AppTest, DocumentNotesShowTheNoteIconAndFileErrorsTheStopIcon) {
    alert_requests().clear();
    document_prompts.tell(kTextImportStrings, kUnmappedCharacters);
    document_prompts.tell(kErrorStrings, kWrongFileType);
    ASSERT_EQ(alert_requests().size(), 2u);
    EXPECT_EQ(alert_requests()[0].kind, kNoteAlertKind);
    EXPECT_EQ(alert_requests()[0].text, pf::get_indexed_string(kTextImportStrings, kUnmappedCharacters));
    EXPECT_EQ(alert_requests()[1].kind, kStopAlertKind);
}

TEST_F(Alerts, NoteAlertOfAnImportScreenshot) {
    std::string png = dialogtest::screenshot_path("note_alert_import.png");
    std::filesystem::remove(png);
    attended::screenshot_front_modal(png);
    pf::driver_move(pf::Point{5, 5});
    pf::driver_key(pf::kKeyCodeReturn, pf::kReturnChar);
    document_prompts.tell(kTextImportStrings, kUnmappedCharacters);
    EXPECT_TRUE(std::filesystem::exists(png));
}
