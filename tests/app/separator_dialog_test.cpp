// The separator dialog of a text file of no known kind, on the screen.
#include <filesystem>
#include <fstream>

#include "files/document_prompts.h"
#include "files/text_exchange.h"
#include "tests/app/app_fixture.h"
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

// The key given to the question once it is up, after its picture is taken.
unsigned char question_key = pf::kReturnChar;
std::string question_png;
bool question_answered = false;

void picture_then_key() {
    pf::compose_screen();
    if (!question_answered && pf::is_modal_window(pf::front_window())) {
        question_answered = true;
        pf::screen_write_png(question_png);
        const bool escape = question_key == pf::kEscapeChar;
        pf::driver_key(escape ? pf::kKeyCodeEscape : pf::kKeyCodeReturn, question_key);
    }
    dialogtest::guarded_compose_step();
}

struct SeparatorQuestion : AttendedTest {
    // Opens the file as from the command line with the question answered by the key.
    void open_answering(const std::string& path, unsigned char key, const std::string& png) {
        question_key = key;
        question_png = dialogtest::screenshot_path(png);
        question_answered = false;
        std::filesystem::remove(question_png);
        pf::host_set_composer(picture_then_key);
        const char* arguments[] = {"quorvin", path.c_str()};
        ASSERT_EQ(pf::ae_post_launch_event(2, arguments), pf::noErr);
        run_until_idle();
    }
};

// Opening a text whose kind does not tell its separator asks for it with the
// separator the text shows chosen: Return reads a comma text by its commas.
TEST_F(SeparatorQuestion, OpeningACommaTextOffersTheComma) {
    const std::string path = home + "/prices.txt";
    std::ofstream(path) << "Name,Price\nPear,1.25\n";
    open_answering(path, pf::kReturnChar, "separator_question_comma.png");
    EXPECT_TRUE(question_answered);
    EXPECT_TRUE(std::filesystem::exists(question_png));
    ASSERT_NE(pf::front_non_floating_window(), nullptr);
    EXPECT_EQ(front_cell_text(CellPoint{1, 0}), "Pear");
    EXPECT_EQ(front_cell_text(CellPoint{1, 1}), "1.25");
}

// Cancelling the question opens nothing: an empty document tied to the file
// would write over it at its first Save.
TEST_F(SeparatorQuestion, ATextWhoseQuestionIsCancelledOpensNothing) {
    const std::string path = home + "/plain.dat";
    std::ofstream(path) << "a;b\n1;2\n";
    open_answering(path, pf::kEscapeChar, "separator_question_semicolon.png");
    EXPECT_TRUE(question_answered);
    EXPECT_EQ(pf::front_non_floating_window(), nullptr);
    std::ifstream kept(path);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "a;b\n1;2\n");
}

}  // namespace
