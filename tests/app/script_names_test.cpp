// A document whose file name Mac Roman cannot spell: its window's title and
// its Window menu item read in the name's script, and Save writes over the
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
#include "window/doc_window.h"

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
    EXPECT_EQ(pf::get_menu_item_text(menu, item), title.bytes);

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

}  // namespace
