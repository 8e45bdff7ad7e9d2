// The Help menu in the running program: its two guides, found in the help
// folder beside the build and handed to the desktop's opener, and what the
// user is told when no opener can show them.
#include <filesystem>
#include <string>

#include "../app/app_fixture.h"
#include "platform/system/system.h"
#include "shell/shell_commands.h"

namespace {

std::string opened;
pf::OSErr answer = pf::noErr;

pf::OSErr record_opener(const std::string& target) {
    opened = target;
    return answer;
}

struct HelpMenu : AppTest {
    void SetUp() override {
        AppTest::SetUp();
        opened.clear();
        answer = pf::noErr;
        pf::set_desktop_opener(record_opener);
    }
    void TearDown() override {
        pf::set_desktop_opener(nullptr);
        AppTest::TearDown();
    }
    static pf::MenuRef menu() { return pf::get_menu_handle(GetHelpMenuID()); }
};

TEST_F(HelpMenu, HoldsTheTwoGuidesLastInTheBar) {
    ASSERT_NE(GetHelpMenuID(), 0);
    EXPECT_EQ(pf::menu_bar_ids().back(), GetHelpMenuID());
    ASSERT_EQ(pf::count_menu_items(menu()), 2);
    EXPECT_EQ(pf::get_menu_item_text(menu(), 1), "Quorvin User's Guide");
    EXPECT_EQ(pf::get_menu_item_command_id(menu(), 2), pf::four_cc("FunG"));
    InitHelpMenu();  // again: nothing doubled
    EXPECT_EQ(pf::count_menu_items(menu()), 2);
}

TEST_F(HelpMenu, EachGuideOpensItsPageFromTheHelpFolder) {
    EXPECT_EQ(DoHelpMenu(1), 0);
    EXPECT_TRUE(opened.ends_with("/help/user_guide.html")) << opened;
    EXPECT_TRUE(std::filesystem::is_regular_file(opened));
    EXPECT_EQ(DoHelpMenu(2), 0);
    EXPECT_TRUE(opened.ends_with("/help/function_guide.html")) << opened;
    EXPECT_TRUE(alert_requests().empty());
    opened.clear();
    EXPECT_EQ(DoHelpMenu(7), 0);  // no such item
    EXPECT_TRUE(opened.empty());
}

TEST_F(HelpMenu, WithoutAnOpenerTheUserIsToldWhereThePagesAre) {
    answer = pf::kFileNotFoundErr;
    EXPECT_EQ(DoHelpMenu(2), pf::kFileNotFoundErr);
    ASSERT_EQ(alert_requests().size(), 1u);
    EXPECT_NE(alert_requests().back().text.find("no program to open web pages"), std::string::npos);
    EXPECT_NE(alert_requests().back().text.find("/help"), std::string::npos);
}

TEST_F(HelpMenu, WithoutAHelpMenuTheChoiceAnswersMinusOne) {
    pf::MenuRef help = menu();
    pf::delete_menu(GetHelpMenuID());
    EXPECT_EQ(GetHelpMenuID(), 0);
    EXPECT_EQ(DoHelpMenu(1), -1);
    pf::dispose_menu(help);
}

}  // namespace
