// Revert to Saved: the document comes back from its file, and stays open with
// its changes when the file can no longer be read.
#include <filesystem>

#include "app/app_menus.h"
#include "files/document_file.h"
#include "files/document_saving.h"
#include "model/layer.h"
#include "model/workbook.h"
#include "platform/events/keyboard.h"
#include "tests/app/app_fixture.h"
#include "resource_ids.h"
#include "shell/file_menu.h"

namespace {


void type_entry(const char* text) {
    pf::driver_type(text);
    pf::driver_key(pf::kKeyCodeReturn, pf::kReturnChar);
}

}  // namespace

struct Revert : AppTest {
    std::string path;
    pf::WindowRef window = nullptr;

    // A document saved at `path` with one entry, then changed by another.
    MemoryRef saved_and_changed() {
        DoFileMenu(nullptr, kFileNewItem);
        window = pf::front_non_floating_window();
        type_entry("12");
        run_until_idle();
        path = home + "/kept.qrv";
        pf::FileSpec spec;
        pf::file_spec_from_path(path, spec);
        MemoryRef layer = GetSheetRef(window);
        EXPECT_EQ(save_workbook_file(layer, kWholeWorkbook, spec, kFormatNative, false, true), 0);
        type_entry("34");
        run_until_idle();
        MemoryRef workbook = GetWorkSheet(layer);
        EXPECT_NE(get_change_ctr(workbook), 0);
        alert_requests().clear();
        return workbook;
    }

    // Revert chosen; the document stays open in its window with its changes.
    void revert_keeps(MemoryRef workbook) {
        DoFileMenu(nullptr, kFileRevertItem);
        run_until_idle();
        ASSERT_EQ(pf::front_non_floating_window(), window);
        EXPECT_EQ(GetSheetRef(window) ? GetWorkSheet(GetSheetRef(window)) : nullptr, workbook);
        EXPECT_NE(get_change_ctr(workbook), 0) << "closing would ask whether to save";
    }
};

TEST_F(Revert, TheDocumentComesBackUnchangedFromItsFile) {
    saved_and_changed();
    DoFileMenu(nullptr, kFileRevertItem);
    run_until_idle();
    pf::WindowRef reopened = pf::front_non_floating_window();
    ASSERT_NE(reopened, nullptr);
    EXPECT_EQ(get_change_ctr(GetWorkSheet(GetSheetRef(reopened))), 0);
    EXPECT_EQ(alert_requests().size(), 1u);  // the question alone
}

TEST_F(Revert, ADocumentWhoseFileIsGoneStaysOpenWithItsChanges) {
    MemoryRef workbook = saved_and_changed();
    std::filesystem::remove(path);
    revert_keeps(workbook);
    // The question, the file error, then the word that the document's file went away.
    ASSERT_EQ(alert_requests().size(), 3u);
    EXPECT_NE(alert_requests()[2].text.find("Trash or deleted"), std::string::npos);
}

TEST_F(Revert, ADocumentWhoseFileNoLongerReadsStaysOpenWithItsChanges) {
    MemoryRef workbook = saved_and_changed();
    // Another program cut the file short: it opens, but no longer reads.
    std::filesystem::resize_file(path, 300);
    revert_keeps(workbook);
    // The question, then the word that the file is damaged.
    ASSERT_EQ(alert_requests().size(), 2u);
    EXPECT_NE(alert_requests()[1].text.find("damaged"), std::string::npos);
}
