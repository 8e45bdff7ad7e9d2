// The preferences file across start-up and quitting, and the workspace reopened
// by the start-up action.
#include <algorithm>
#include <fstream>
#include <iterator>
#include <vector>

#include "app_fixture.h"
#include "ui/alerts.h"
#include "platform/files/files.h"
#include "shell/shell_commands.h"
#include "app/event_loop.h"

namespace {

std::vector<uint8_t> file_bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

struct PreferencesApp : AppTest {
    std::string prefs_path() const { return home + "/Quorvin/Quorvin Preferences"; }

    // Shuts down, lets `change` alter the folder, and starts again.
    template <typename Change>
    void restart_after(Change change) {
        app_shutdown();
        msMemShutdown(&mem_globals);
        change();
        ASSERT_TRUE(app_startup());
    }
};

}  // namespace

TEST_F(PreferencesApp, QuittingWritesThePreferencesAndTheNextStartReadsThem) {
    EXPECT_EQ(file_bytes(prefs_path()).size(), 782u);  // a missing file is written at start-up
    app_prefs.undo_depth = 7;
    pf::driver_key(12, 'q', pf::kCmdKey);
    run_until_idle();
    ASSERT_TRUE(task_quit_flag());
    restart_after([&] {
        std::vector<uint8_t> bytes = file_bytes(prefs_path());
        ASSERT_EQ(bytes.size(), 782u);
        EXPECT_EQ(bytes[82], 0);
        EXPECT_EQ(bytes[83], 7);
        app_prefs.undo_depth = 3;
    });
    EXPECT_EQ(app_prefs.undo_depth, 7);
}

TEST_F(PreferencesApp, WritingReplacesTheFileWholeAndLeavesNoTemporaryFile) {
    std::vector<uint8_t> before = file_bytes(prefs_path());
    ASSERT_EQ(before.size(), 782u);
    // Another copy reading the file meanwhile keeps the whole of what it opened.
    std::ifstream reader(prefs_path(), std::ios::binary);
    app_prefs.undo_depth = 9;
    ASSERT_EQ(WritePrefs(), pf::noErr);
    EXPECT_EQ(std::vector<uint8_t>(std::istreambuf_iterator<char>(reader), {}), before);
    std::vector<uint8_t> after = file_bytes(prefs_path());
    ASSERT_EQ(after.size(), 782u);
    EXPECT_EQ(after[83], 9);
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(home + "/Quorvin"))
        names.push_back(entry.path().filename().string());
    EXPECT_EQ(std::count_if(names.begin(), names.end(), [](const std::string& n) { return n.ends_with(".tmp"); }), 0);
}

TEST_F(PreferencesApp, AFileThatCouldNotBeReadIsNotOverwrittenAtStartUp) {
    std::vector<uint8_t> damaged(781, 0x22);
    restart_after([&] {
        std::ofstream(prefs_path(), std::ios::binary)
            .write(reinterpret_cast<const char*>(damaged.data()), std::streamsize(damaged.size()));
    });
    EXPECT_EQ(app_prefs.undo_depth, 3);
    EXPECT_EQ(file_bytes(prefs_path()), damaged);

    restart_after([&] {
        std::filesystem::remove(prefs_path());
        std::filesystem::create_symlink(prefs_path(), prefs_path());  // cannot be opened
    });
    EXPECT_TRUE(std::filesystem::is_symlink(prefs_path()));
    EXPECT_EQ(app_prefs.undo_depth, 3);
}

TEST_F(PreferencesApp, ADamagedFileIsResetWhereItFailsSaidOnceAndWrittenSound) {
    std::vector<uint8_t> damaged(782);
    uint32_t seed = 0x2545F491;
    for (uint8_t& byte : damaged) byte = uint8_t((seed = seed * 1103515245 + 12345) >> 16);
    alert_requests().clear();
    restart_after([&] {
        std::ofstream(prefs_path(), std::ios::binary)
            .write(reinterpret_cast<const char*>(damaged.data()), std::streamsize(damaged.size()));
    });
    AppPrefs factory;
    ParameterFactorySettings(&factory);
    EXPECT_EQ(app_prefs.options, factory.options);
    EXPECT_EQ(app_prefs.startup_action, kStartupNewDocument);
    EXPECT_EQ(app_prefs.undo_depth, 3);
    for (const pf::FileSpec& item : app_prefs.items) EXPECT_LE(item.name[0], pf::kMaxSpecName);
    auto told = std::count_if(alert_requests().begin(), alert_requests().end(), [](const AlertRequest& shown) {
        return shown.kind == kNoteAlertKind && shown.text == pf::get_indexed_string(kPrefsMessages, kPrefsResetMessage);
    });
    EXPECT_EQ(told, 1);
    EXPECT_NE(file_bytes(prefs_path()), damaged);  // the sound record replaces it at once

    alert_requests().clear();
    restart_after([] {});
    EXPECT_TRUE(alert_requests().empty());  // the next start has nothing to say
}

TEST_F(PreferencesApp, TheWorkspaceActionReopensTheSavedDocuments) {
    std::string path = home + "/figures.qrv";
    write_document(path);
    pf::FileSpec spec;
    ASSERT_EQ(pf::file_spec_from_path(path, spec), pf::noErr);
    std::vector<uint8_t> alias;
    ASSERT_EQ(pf::new_alias(spec, alias), pf::noErr);
    AddWorkspaceItem(pf::ptr_to_hand(alias.data(), pf::Size(alias.size())));
    app_prefs.startup_action = kStartupWorkspace;

    std::vector<const char*> arguments{"quorvin"};
    ASSERT_EQ(pf::ae_post_launch_event(int(arguments.size()), arguments.data()), pf::noErr);
    run_until_idle();
    pf::WindowRef front = pf::front_non_floating_window();
    ASSERT_NE(front, nullptr);
    EXPECT_EQ(pf::window_title(front), "figures.qrv:Layer 1");
}
