// The export options dialog on the screen: its format check box and its two
// ways out.
#include <filesystem>

#include "files/document_file.h"
#include "files/document_prompts.h"
#include "tests/app/attended_fixture.h"
#include "window/document_dialogs.h"

namespace {

using ExportDialog = AttendedTest;

TEST_F(ExportDialog, ReturnExportsAsTextAndEscapeCancels) {
    std::string png = attended::fresh_front_modal_screenshot("export_dialog.png");
    int16_t code = 0;
    pf::driver_key(pf::kKeyCodeReturn, pf::kReturnChar);
    EXPECT_EQ(run_export_dialog(&code), kAnswerOK);
    EXPECT_EQ(code, kFormatNative);
    EXPECT_TRUE(std::filesystem::exists(png));
    code = 0;
    pf::driver_key(pf::kKeyCodeEscape, pf::kEscapeChar);
    EXPECT_EQ(run_export_dialog(&code), kAnswerCancel);
    EXPECT_EQ(code, 0);
}

TEST_F(ExportDialog, TheCheckBoxChoosesSylk) {
    attended::click_then_return(pf::Point{93, 30});  // the SYLK check box, item 5
    int16_t code = 0;
    EXPECT_EQ(run_export_dialog(&code), kAnswerOK);
    EXPECT_TRUE(attended::clicked);
    EXPECT_EQ(code, kFormatSylk);
}

}  // namespace
