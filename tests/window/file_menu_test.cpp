// Closing documents and quitting: the save question is asked about the
// document being closed, each answer acts on that document, and a Cancel
// leaves every window open.
#include <cstring>
#include <fstream>
#include <iterator>

#include "../app/app_fixture.h"
#include "files/document_file.h"
#include "window/open_command.h"
#include "model/layer.h"
#include "model/workbook.h"
#include "platform/events/keyboard.h"
#include "window/doc_window.h"
#include "window/document_closing.h"
#include "app/event_loop.h"
#include "resource_ids.h"
#include "shell/file_menu.h"

namespace {

constexpr uint8_t kKeyCodeEscape = 53;
constexpr uint8_t kKeyCodeD = 2;

class FileMenuTest : public AppTest {
protected:
    // Every question gets the keys the test posts, and only those.
    void SetUp() override {
        AppTest::SetUp();
        set_unattended_run(false);
    }

    // A document opened from its own copy of the sample, made changed by
    // naming its layer `mark` (the name is in the file once saved).
    pf::WindowRef open_changed(const std::string& file, const char* mark) {
        const std::string path = home + "/" + file;
        write_document(path);
        pf::FileSpec spec;
        EXPECT_EQ(pf::file_spec_from_path(path, spec), pf::noErr);
        EXPECT_EQ(Open_File(kOpenGivenFile, &spec, nullptr), 0);
        pf::WindowRef window = pf::front_non_floating_window();
        if (mark) change(window, mark);
        return window;
    }

    static void change(pf::WindowRef window, const char* mark) {
        MemoryRef layer = doc_window_layer(window_doc_record(window));
        unsigned char name[32] = {uint8_t(std::strlen(mark))};
        std::memcpy(name + 1, mark, name[0]);
        SetSheetName(name, layer);
        increment_change_ctr(layer);
    }

    bool file_holds(const std::string& file, const std::string& text) {
        std::ifstream in(home + "/" + file, std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        return bytes.find(text) != std::string::npos;
    }

    static bool is_open(pf::WindowRef window) {
        for (pf::WindowRef w = pf::first_window(); w; w = pf::next_window(w))
            if (w == window) return window_doc_record(w) != nullptr;
        return false;
    }

    static int document_windows() {
        int count = 0;
        for (pf::WindowRef w = pf::first_window(); w; w = pf::next_window(w)) count += window_doc_record(w) != nullptr;
        return count;
    }

    // The answers the save questions will get, in order.
    static void answer_save() { pf::post_event(pf::kKeyDown, (uintptr_t(pf::kKeyCodeReturn) << 8) | pf::kReturnChar); }
    static void answer_dont_save() { pf::post_event(pf::kKeyDown, (uintptr_t(kKeyCodeD) << 8) | 'd'); }
    static void answer_cancel() { pf::post_event(pf::kKeyDown, (uintptr_t(kKeyCodeEscape) << 8) | pf::kEscapeChar); }
    static int unanswered() { return pf::queued_event_count(); }
};

TEST_F(FileMenuTest, ClosingABackWindowSavesThatDocumentNotTheFrontOne) {
    pf::WindowRef back = open_changed("back.qrv", "BackMark");
    pf::WindowRef front = open_changed("front.qrv", "FrontMark");
    ASSERT_EQ(pf::front_non_floating_window(), front);
    answer_save();
    EXPECT_EQ(CloseTaskFromWindow(back), 1);
    EXPECT_TRUE(file_holds("back.qrv", "BackMark"));
    EXPECT_FALSE(file_holds("front.qrv", "FrontMark"));
    EXPECT_FALSE(is_open(back));
    EXPECT_TRUE(is_open(front));
}

TEST_F(FileMenuTest, DontSaveClosesWithoutWritingAndCancelKeepsTheWindow) {
    pf::WindowRef window = open_changed("doc.qrv", "Mark");
    answer_cancel();
    DoFileMenu(nullptr, kFileCloseItem);
    EXPECT_TRUE(is_open(window));
    answer_dont_save();
    DoFileMenu(nullptr, kFileCloseItem);
    EXPECT_FALSE(is_open(window));
    EXPECT_FALSE(file_holds("doc.qrv", "Mark"));
    EXPECT_EQ(unanswered(), 0);
}

TEST_F(FileMenuTest, QuitAsksAboutEachChangedDocumentAndActsOnThatOne) {
    open_changed("one.qrv", "OneMark");
    open_changed("two.qrv", "TwoMark");
    open_changed("clean.qrv", nullptr);
    answer_save();       // two.qrv, in front
    answer_dont_save();  // one.qrv
    EXPECT_EQ(QuitDocuments(), 0);
    EXPECT_TRUE(file_holds("two.qrv", "TwoMark"));
    EXPECT_FALSE(file_holds("one.qrv", "OneMark"));
    EXPECT_EQ(document_windows(), 0);
    EXPECT_EQ(unanswered(), 0);
}

TEST_F(FileMenuTest, ACancelledQuitLeavesEveryDocumentOpen) {
    pf::WindowRef one = open_changed("one.qrv", "OneMark");
    pf::WindowRef two = open_changed("two.qrv", "TwoMark");
    answer_save();    // two.qrv
    answer_cancel();  // one.qrv
    EXPECT_EQ(QuitDocuments(), kQuitRefusedErr);
    EXPECT_TRUE(is_open(one));
    EXPECT_TRUE(is_open(two));
    EXPECT_TRUE(file_holds("two.qrv", "TwoMark"));
    EXPECT_FALSE(task_quit_flag());
}

TEST_F(FileMenuTest, OnlyTheLastWindowOfAChangedWorkbookAsks) {
    pf::WindowRef first = open_changed("doc.qrv", "Mark");
    MemoryRef workbook = doc_window_workbook(window_doc_record(first));
    MemoryRef layer = nullptr;
    ASSERT_EQ(New_SpreadSheet(&quorvin_rsrv, workbook, &layer, kLayerGridLines, nullptr), 0);
    pf::WindowRef second = static_cast<pf::WindowRef>(MakeWind(nullptr, 1, layer));
    ASSERT_NE(second, nullptr);
    answer_cancel();
    EXPECT_EQ(CloseTaskFromWindow(second), 1);  // no question: the Cancel stays queued
    EXPECT_EQ(unanswered(), 1);
    EXPECT_EQ(CloseTaskFromWindow(first), 0);
    EXPECT_TRUE(is_open(first));
}

TEST_F(FileMenuTest, AnUntitledDocumentAsksOnlyOnceItHoldsSomething) {
    DoFileMenu(nullptr, kFileNewItem);
    pf::WindowRef empty = pf::front_non_floating_window();
    answer_cancel();
    EXPECT_EQ(CloseTaskFromWindow(empty), 1);
    EXPECT_EQ(unanswered(), 1);
    pf::flush_events(pf::kEveryEvent, 0);

    DoFileMenu(nullptr, kFileNewItem);
    pf::WindowRef window = pf::front_non_floating_window();
    MemoryRef workbook = doc_window_workbook(window_doc_record(window));
    MemoryRef second = nullptr;
    ASSERT_EQ(New_SpreadSheet(&quorvin_rsrv, workbook, &second, kLayerGridLines, nullptr), 0);
    answer_dont_save();
    DoFileMenu(nullptr, kFileCloseItem);  // one question, not a second one for the untitled workbook
    EXPECT_FALSE(is_open(window));
    EXPECT_EQ(unanswered(), 0);
}

TEST_F(FileMenuTest, RevertReadsTheDocumentAgainFromItsFile) {
    open_changed("doc.qrv", "Mark");
    answer_save();  // Return: Revert
    DoFileMenu(nullptr, kFileRevertItem);
    pf::WindowRef window = pf::front_non_floating_window();
    ASSERT_NE(window_doc_record(window), nullptr);
    unsigned char name[32];
    GetSheetName(name, doc_window_layer(window_doc_record(window)));
    EXPECT_NE(std::string(reinterpret_cast<char*>(name + 1), name[0]), "Mark");
    EXPECT_EQ(document_windows(), 1);
}

}  // namespace
