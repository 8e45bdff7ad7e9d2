// Open documents follow their files on disk: a renamed file retitles the
// document's windows; a file deleted or moved to the trash closes a document
// without changes and leaves a changed one open with its changes, the user
// told once.
#include "../app/app_fixture.h"

#include <filesystem>

#include "ui/alerts.h"
#include "files/document_file.h"
#include "model/workbook.h"
#include "platform/events/clock.h"
#include "platform/host/driver.h"
#include "window/doc_window.h"
#include "window/open_command.h"

namespace {

namespace fs = std::filesystem;

class FileFollowing : public AppTest {
protected:
    std::string path;

    // The sample document opened from a file of the test's own.
    pf::WindowRef open_copy() {
        path = home + "/Fruit.qrv";
        write_document(path);
        pf::FileSpec spec;
        EXPECT_EQ(pf::file_spec_from_path(path, spec), pf::noErr);
        EXPECT_EQ(Open_File(kOpenGivenFile, &spec, nullptr), 0);
        idle_a_while();  // the file is noted
        return pf::front_non_floating_window();
    }
    // Past the pause between two looks at the files.
    void idle_a_while() {
        for (int i = 0; i < 3; ++i) {
            pf::advance_clock(pf::ticks_to_milliseconds(20));
            run_until_idle();
        }
    }
    static bool window_open(pf::WindowRef window) {
        for (pf::WindowRef w = pf::first_window(); w; w = pf::next_window(w))
            if (w == window) return true;
        return false;
    }
};

TEST_F(FileFollowing, ARenamedFileRetitlesItsDocument) {
    pf::WindowRef window = open_copy();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(pf::window_title(window).rfind("Fruit.qrv", 0), 0u);
    fs::rename(path, home + "/Vegetables.qrv");
    idle_a_while();
    EXPECT_EQ(pf::window_title(window).rfind("Vegetables.qrv", 0), 0u) << pf::window_title(window);
    const FileInfoRecord record = file_record_of(doc_window_workbook(window_doc_record(window)));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(record.spec.name + 1), record.spec.name[0]), "Vegetables.qrv");

    // Followed under its new name: deleted, the document closes.
    pf::driver_move(inside(window, 60, 60));
    run_until_idle();
    fs::remove(home + "/Vegetables.qrv");
    idle_a_while();
    EXPECT_FALSE(window_open(window));
}

TEST_F(FileFollowing, ADeletedFileClosesAnUnchangedDocument) {
    pf::WindowRef window = open_copy();
    ASSERT_NE(window, nullptr);
    pf::driver_move(inside(window, 60, 60));  // its idle runs as the window under the pointer too
    run_until_idle();
    fs::remove(path);
    idle_a_while();
    EXPECT_FALSE(window_open(window));
}

TEST_F(FileFollowing, ADeletedFileLeavesAChangedDocumentOpenAndTellsTheUserOnce) {
    pf::WindowRef window = open_copy();
    ASSERT_NE(window, nullptr);
    MemoryRef workbook = doc_window_workbook(window_doc_record(window));
    set_change_ctr(workbook, 3);
    alert_requests().clear();
    fs::remove(path);
    idle_a_while();
    idle_a_while();
    ASSERT_TRUE(window_open(window));
    EXPECT_EQ(get_change_ctr(workbook), 3);
    ASSERT_EQ(alert_requests().size(), 1u);
    EXPECT_NE(alert_requests().back().text.find("Fruit.qrv"), std::string::npos);
}

TEST_F(FileFollowing, AFileMovedToTheTrashClosesAnUnchangedDocument) {
    setenv("XDG_DATA_HOME", home.c_str(), 1);
    fs::create_directories(home + "/Trash/files");
    pf::WindowRef window = open_copy();
    ASSERT_NE(window, nullptr);
    fs::rename(path, home + "/Trash/files/Fruit.qrv");
    idle_a_while();
    EXPECT_FALSE(window_open(window));
    unsetenv("XDG_DATA_HOME");
}

}  // namespace
