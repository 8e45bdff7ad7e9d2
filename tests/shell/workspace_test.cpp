// The workspace list in the preferences file's resource fork.
#include "platform/files/files.h"
#include "platform/memory/memory.h"
#include "platform/resources/resource_file.h"
#include "prefs_fixture.h"

namespace {

pf::Handle handle_of(const std::string& bytes) { return pf::ptr_to_hand(bytes.data(), pf::Size(bytes.size())); }

std::vector<uint8_t> copy_bytes() {
    MemoryRef copy = CopyWorkspaceItems();
    const auto* bytes = static_cast<const uint8_t*>(UseMemory(copy));
    std::vector<uint8_t> out(bytes, bytes + GetMemorySize(copy));
    UnuseMemory(copy);
    DisposeMemory(copy);
    return out;
}

}  // namespace

TEST_F(PrefsTest, TheWorkspaceListSurvivesCopyRemoveAndRestore) {
    AddWorkspaceItem(handle_of("first"));
    AddWorkspaceItem(handle_of("second alias"));
    AddWorkspaceItem(handle_of("third"));
    EXPECT_EQ(CountWorkspaceItems(), 3);
    std::vector<uint8_t> before = copy_bytes();

    MemoryRef saved = CopyWorkspaceItems();
    RemoveWorkspaceItems();
    EXPECT_EQ(CountWorkspaceItems(), 0);
    RestoreWorkspaceItems(saved);
    EXPECT_EQ(CountWorkspaceItems(), 3);
    EXPECT_EQ(copy_bytes(), before);
}

// A copy purged to a swap file that can no longer be read is not restored, and
// the workspace keeps its items.
TEST_F(PrefsTest, ACopyThatCannotBeReadBackLeavesTheWorkspaceAlone) {
    AddWorkspaceItem(handle_of(std::string(200, 'a')));
    MemoryRef saved = CopyWorkspaceItems();
    AddWorkspaceItem(handle_of("kept"));
    std::vector<uint8_t> before = copy_bytes();

    std::string swap_path = home + "/swap";
    pf::FileSpec swap_spec;
    pf::file_spec_from_path(swap_path, swap_spec);  // not there yet
    ASSERT_EQ(pf::create_file(swap_spec, kQuorvinCreator, pf::four_cc("QRVM")), pf::noErr);
    int16_t swap = 0;
    ASSERT_EQ(pf::open_data_fork(swap_spec, pf::kReadWritePermission, swap), pf::noErr);
    InitVirtualMemory(&mem_globals, nullptr, swap);
    ASSERT_EQ(MemoryPurge(&mem_globals, INT32_MAX, nullptr), kPurgeShortErr);
    pf::close_file(swap);
    mem_globals.no_handler_proc = [](MemoryGlobals*) {};

    RestoreWorkspaceItems(saved);
    mem_globals.no_handler_proc = nullptr;
    EXPECT_EQ(copy_bytes(), before);
}

TEST_F(PrefsTest, AnAliasAddedAfterAGapInTheIdsIsKept) {
    AddWorkspaceItem(handle_of("one"));
    AddWorkspaceItem(handle_of("two"));
    AddWorkspaceItem(handle_of("three"));
    pf::FileSpec spec;
    ASSERT_EQ(pf::file_spec_from_path(prefs_path(), spec), pf::noErr);
    int16_t ref;
    ASSERT_EQ(pf::resource_file_open(spec, pf::kReadWritePermission, ref), pf::noErr);
    ASSERT_EQ(pf::resource_file_remove(ref, pf::four_cc("alis"), 1), pf::noErr);
    pf::resource_file_close(ref);

    AddWorkspaceItem(handle_of("four"));  // ids 2 and 3 are taken
    EXPECT_EQ(CountWorkspaceItems(), 3);
}

TEST_F(PrefsTest, WithoutAForkTheWorkspaceIsEmptyAndNothingIsMade) {
    RemoveWorkspaceItems();
    EXPECT_EQ(CountWorkspaceItems(), 0);
    EXPECT_EQ(OpenWorkspaceItems(), pf::noErr);
    EXPECT_EQ(copy_bytes().size(), 0u);
    EXPECT_FALSE(std::filesystem::exists(prefs_path()));
}

TEST_F(PrefsTest, ADamagedForkIsRefusedAndKept) {
    app_prefs = AppPrefs{};
    ASSERT_EQ(WritePrefs(), pf::noErr);
    std::string sidecar = pf::resource_sidecar_path(prefs_path());
    std::vector<uint8_t> damaged{'Q', 'R', 'S', 'F', 0, 1, 0, 9, 1, 2, 3};
    write_bytes(sidecar, damaged);

    EXPECT_EQ(CountWorkspaceItems(), 0);
    EXPECT_EQ(OpenWorkspaceItems(), pf::noErr);
    AddWorkspaceItem(handle_of("alias"));
    RemoveWorkspaceItems();
    RestoreWorkspaceItems(CopyWorkspaceItems());
    int16_t ref = 0, volume = 0;
    EXPECT_EQ(OpenPrefsRsrcFile(&ref, &volume), pf::kMapReadErr);
    EXPECT_EQ(ref, -1);
    EXPECT_EQ(file_bytes(sidecar), damaged);
}

TEST_F(PrefsTest, AnAliasThatCannotBeResolvedAnswersTheResolversError) {
    AddWorkspaceItem(handle_of("not an alias"));
    EXPECT_EQ(OpenWorkspaceItems(), pf::kParamErr);
}
