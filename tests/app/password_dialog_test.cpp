// The password check as a user meets it: typed into a masked field, a wrong
// password said and tried again, Cancel giving up.
#include <cstring>

#include "app_fixture.h"
#include "core/passwords.h"
#include "files/document_prompts.h"
#include "platform/events/keyboard.h"
#include "platform/screen/cursor.h"
#include "shell/document_questions.h"
#include "shell/shell_commands.h"

namespace {

const unsigned char kPassword[] = "\x02pw";

struct PasswordDialog : AppTest {
    void SetUp() override {
        AppTest::SetUp();
        set_unattended_run(false);
    }
    static void type_and_return(const char* text) {
        pf::driver_type(text);
        pf::driver_key(pf::kKeyCodeReturn, pf::kReturnChar);
    }
    // Ends a dialog still open when the script is played, so that a fault fails
    // the test rather than hanging it.
    static void then_cancel() { pf::driver_key(pf::kKeyCodeEscape, pf::kEscapeChar); }
};

}  // namespace

TEST_F(PasswordDialog, TheRightPasswordIsAccepted) {
    type_and_return("pw");
    then_cancel();
    EXPECT_EQ(verify_dialog(kPassword, 0), 1);
    for (pf::WindowRef w = pf::first_window(); w; w = pf::next_window(w)) EXPECT_NE(pf::window_title(w), "Password");
}

TEST_F(PasswordDialog, AWrongPasswordIsSaidAndAnotherTryAllowed) {
    int beeps = pf::beep_count();
    type_and_return("px");
    type_and_return("pw");
    then_cancel();
    EXPECT_EQ(verify_dialog(kPassword, 0), 1);
    EXPECT_EQ(pf::beep_count(), beeps + 1);
}

TEST_F(PasswordDialog, CancelGivesUpAndAWrongConfirmationEndsAtOnce) {
    type_and_return("px");
    then_cancel();
    EXPECT_EQ(verify_dialog(kPassword, 0), 0);
    type_and_return("px");
    EXPECT_EQ(verify_dialog(kPassword, 10), 0);
    EXPECT_EQ(pf::driver_pending_steps(), 0);
}

TEST_F(PasswordDialog, AProtectedDocumentOpensWithItsPassword) {
    unsigned char stored[kPasswordFieldBytes] = {};
    std::memcpy(stored, kPassword, sizeof kPassword - 1);
    encode_password(stored);
    type_and_return("pw");
    then_cancel();
    EXPECT_EQ(application_prompts().password(stored), 1);
}
