// The separator dialog of a text file of no known kind, on the screen.
#include <filesystem>

#include "files/document_prompts.h"
#include "files/text_exchange.h"
#include "tests/app/attended_fixture.h"
#include "window/document_dialogs.h"

namespace {

using SeparatorDialog = AttendedTest;

TEST_F(SeparatorDialog, TabIsChosenFirstAndEscapeCancels) {
    std::string png = attended::fresh_front_modal_screenshot("text_separator_dialog.png");
    uint8_t separator = 0;
    pf::driver_key(pf::kKeyCodeReturn, pf::kReturnChar);
    EXPECT_EQ(run_separator_dialog(&separator), kAnswerOK);
    EXPECT_EQ(separator, kTabSeparator);
    EXPECT_TRUE(std::filesystem::exists(png));
    pf::driver_key(pf::kKeyCodeEscape, pf::kEscapeChar);
    EXPECT_EQ(run_separator_dialog(&separator), kAnswerCancel);
}

TEST_F(SeparatorDialog, AnotherSeparatorIsChosenByItsButton) {
    attended::click_then_return(pf::Point{69, 60});  // the Comma button, item 4
    uint8_t separator = 0;
    EXPECT_EQ(run_separator_dialog(&separator), kAnswerOK);
    EXPECT_TRUE(attended::clicked);
    EXPECT_EQ(separator, kCommaSeparator);
}

}  // namespace
