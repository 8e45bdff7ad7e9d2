// A document whose file name Mac Roman cannot spell: its window's title and
// its Window menu item read as the name does, and Save writes over the
// very file it was opened from.
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/app_menus.h"
#include "editing/find_replace.h"
#include "platform/events/keyboard.h"
#include "platform/text/scripts.h"
#include "resource_ids.h"
#include "tests/app/app_fixture.h"
#include "tests/core/dialog_test_support.h"
#include "window/doc_window.h"
#include "window/document_closing.h"
#include "ui/task_manager.h"
#include "platform/dialogs/dialogs.h"

namespace {

constexpr uint8_t kKeyCodeS = 1;

// The lines of a text file, whatever ends them.
std::string file_lines(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    std::string lines = text.str();
    std::erase(lines, '\r');
    return lines;
}

TEST_F(AppTest, ADocumentNamedInCyrillicShowsItsNameAndSavesOverItsFile) {
    const std::string folder = home + "/documents";
    std::filesystem::create_directory(folder);
    const std::string path = folder + "/\xD0\x9C\xD0\xBE\xD1\x81\xD0\xBA\xD0\xB2\xD0\xB0.csv";  // Moscow
    std::ofstream(path, std::ios::binary) << "Latin,1\r\n";
    const char* arguments[] = {"quorvin", path.c_str()};
    ASSERT_EQ(pf::ae_post_launch_event(2, arguments), pf::noErr);
    run_until_idle();
    pf::WindowRef window = FrontDocWindow();
    ASSERT_NE(window, nullptr);
    const pf::ScriptText title = pf::window_title_in_script(window);
    EXPECT_EQ(title.script, pf::kScriptCyrillic);
    EXPECT_EQ(pf::script_to_utf8(title.bytes, title.script).rfind("\xD0\x9C\xD0\xBE\xD1\x81\xD0\xBA\xD0\xB2\xD0\xB0.csv:", 0), 0u);
    pf::MenuRef menu = pf::get_menu_handle(kWindowMenu);
    const int16_t item = GetWindowMenuItem(window);
    ASSERT_GT(item, 0);
    EXPECT_EQ(pf::get_menu_item_text(menu, item), pf::window_title_utf8(window));
    EXPECT_TRUE(pf::menu_item(menu, item)->utf8);

    MemoryRef layer = doc_window_layer(window_doc_record(window));
    store_typed_text(layer, CellPoint{0, 1}, "55");
    pf::driver_key(kKeyCodeS, 's', pf::kCmdKey);
    run_until_idle();
    EXPECT_TRUE(alert_requests().empty());
    EXPECT_EQ(file_lines(path), "Latin,55\n");
    std::vector<std::string> left;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) left.push_back(entry.path().string());
    EXPECT_EQ(left, std::vector<std::string>{path});
}

// The question asked while a document is closed, as its dialog shows it.
std::string asked;
void note_question() {
    pf::compose_screen();
    pf::DialogRef dialog = pf::get_dialog_from_window(pf::front_window());
    if (dialog && pf::count_dialog_items(dialog) >= 4) asked = pf::get_dialog_item_text(dialog, 4);
    dialogtest::guarded_compose_step();
}

// A file named in Czech and Cyrillic, which no one script spells: the title,
// the menus and the question about saving it read as the name does.
TEST_F(AppTest, ADocumentNamedInSeveralScriptsShowsItsNameAsItReads) {
    const std::string name = "Rozpo\xC4\x8D" "et \xD0\x91\xD1\x8E\xD0\xB4\xD0\xB6\xD0\xB5\xD1\x82.csv";
    const std::string path = home + "/" + name;
    std::ofstream(path, std::ios::binary) << "1,2\r\n";
    const char* arguments[] = {"quorvin", path.c_str()};
    ASSERT_EQ(pf::ae_post_launch_event(2, arguments), pf::noErr);
    run_until_idle();
    pf::WindowRef window = FrontDocWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(pf::window_title_utf8(window).rfind(name + ":", 0), 0u) << pf::window_title_utf8(window);
    // The Window menu and the Open Recent menu name it as it reads too.
    const int16_t item = GetWindowMenuItem(window);
    ASSERT_GT(item, 0);
    EXPECT_EQ(pf::get_menu_item_text(pf::get_menu_handle(kWindowMenu), item), pf::window_title_utf8(window));
    EXPECT_EQ(pf::get_menu_item_text(pf::get_menu_handle(kRecentMenu), 1), name);
    EXPECT_TRUE(pf::menu_item(pf::get_menu_handle(kRecentMenu), 1)->utf8);

    MemoryRef record = window_doc_record(window);
    store_typed_text(doc_window_layer(record), CellPoint{0, 1}, "5");
    asked.clear();
    pf::host_set_composer(note_question);
    EXPECT_EQ(AskSaveChanges(record, kCloseForQuit), 0);  // no one at the keyboard: Cancel
    pf::host_set_composer(pf::compose_screen);
    EXPECT_NE(asked.find(name), std::string::npos) << asked;
}

}  // namespace
