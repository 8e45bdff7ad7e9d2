// The Help menu: the user's guide and the function guide, HTML pages
// installed with the program, opened by the desktop's opener. The pages are
// looked for in the folder tree of help/ beside the program or one folder up
// (the build, whose tools and test programs lie a folder down) and of
// share/quorvin/help beside its bin folder (an installation).
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "ui/alerts.h"
#include "core/file_utils.h"
#include "platform/menus/menus.h"
#include "platform/resources/resources.h"
#include "platform/system/system.h"
#include "platform/text/mac_roman.h"
#include "shell/shell_commands.h"
#include "resource_ids.h"

namespace fs = std::filesystem;

namespace {

constexpr int kUserGuideName = 2, kFunctionGuideName = 3, kPagesMissingMessage = 4, kNoOpenerMessage = 5;
constexpr int kUserGuideItem = 3, kFunctionGuideItem = 4;
constexpr int kDeepestFolder = 8;

constexpr pf::FourCC kUserGuideCommand = pf::four_cc("UsrG");
constexpr pf::FourCC kFunctionGuideCommand = pf::four_cc("FunG");

std::vector<fs::path> help_folders() {
    const std::string program = executable_path();
    if (program.empty()) return {};
    const fs::path folder = fs::path(program).parent_path();
    return {folder / "help", folder.parent_path() / "help", folder.parent_path() / "share" / "quorvin" / "help"};
}

// The first file of that name in the folder's tree, depth first; empty when none.
fs::path find_in_tree(const fs::path& folder, const std::string& name) {
    std::error_code error;
    fs::recursive_directory_iterator walk(folder, fs::directory_options::skip_permission_denied, error);
    for (; !error && walk != fs::recursive_directory_iterator(); walk.increment(error)) {
        if (walk.depth() >= kDeepestFolder) walk.disable_recursion_pending();
        if (walk->path().filename() == name && walk->is_regular_file(error)) return walk->path();
    }
    return {};
}

void tell_where(int message, const fs::path& folder) {
    figures_alert(kHelpFiles, int16_t(message), {pf::utf8_to_mac_roman(folder.string())});
}

pf::OSErr open_guide(int name_index) {
    const std::string name = pf::get_indexed_string(kHelpFiles, name_index);
    const std::vector<fs::path> folders = help_folders();
    for (const fs::path& folder : folders) {
        const fs::path page = find_in_tree(folder, name);
        if (page.empty()) continue;
        const pf::OSErr err = pf::open_with_desktop(fs::absolute(page).string());
        if (err) tell_where(kNoOpenerMessage, page.parent_path());
        return err;
    }
    tell_where(kPagesMissingMessage, folders.empty() ? fs::path("help") : folders.back());
    return pf::kFileNotFoundErr;
}

void append_item(pf::MenuRef menu, int text_index, pf::FourCC command) {
    pf::append_menu_item_text(menu, pf::get_indexed_string(kHelpItems, text_index));
    pf::set_menu_item_command_id(menu, pf::count_menu_items(menu), command);
}

}  // namespace

void InitHelpMenu() {
    pf::MenuRef menu = pf::help_menu();
    if (!menu || pf::count_menu_items(menu) > 0) return;
    append_item(menu, kUserGuideItem, kUserGuideCommand);
    append_item(menu, kFunctionGuideItem, kFunctionGuideCommand);
    pf::draw_menu_bar();
}

int16_t GetHelpMenuID() { return pf::get_menu_handle(pf::help_menu_id()) ? pf::help_menu_id() : int16_t(0); }

int32_t DoHelpMenu(int16_t item) {
    pf::MenuRef menu = pf::get_menu_handle(pf::help_menu_id());
    if (!menu) return -1;
    const pf::FourCC command = pf::get_menu_item_command_id(menu, item);
    if (command == kUserGuideCommand) return open_guide(kUserGuideName);
    if (command == kFunctionGuideCommand) return open_guide(kFunctionGuideName);
    return 0;
}
