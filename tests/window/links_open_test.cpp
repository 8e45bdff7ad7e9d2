// Opening linked documents on the headless program: links resolve by file
// identity, a missing file is reported and looked for, and the links dialog
// lists and opens a layer's links.
#include "../app/app_fixture.h"

#include <cstring>
#include <filesystem>

#include "ui/alerts.h"
#include "files/document_file.h"
#include "files/document_saving.h"
#include "files/link_opening.h"
#include "model/links.h"
#include "window/doc_window.h"
#include "window/document_dialogs.h"
#include "window/open_command.h"
#include "ui/lists_and_menus.h"
#include "platform/events/keyboard.h"
#include "platform/lists/lists.h"
#include "platform/screen/screen.h"
#include "ui/app_prefs.h"
#include "tests/core/dialog_test_support.h"
#include "tests/files/sample_workbook.h"

namespace {

namespace fs = std::filesystem;

std::string name_of(const pf::FileSpec& spec) {
    return std::string(reinterpret_cast<const char*>(spec.name + 1), spec.name[0]);
}

struct LinksOpen : AppTest {
    std::string docs;

    void SetUp() override {
        AppTest::SetUp();
        docs = home + "/docs";
        fs::create_directories(docs + "/a");
        fs::create_directories(docs + "/b");
    }

    pf::FileSpec spec_at(const std::string& relative) {
        pf::FileSpec spec;
        pf::file_spec_from_path(docs + "/" + relative, spec);
        return spec;
    }

    static MemoryRef first_layer(MemoryRef book) { return find_SpreadSheet_item(book, 0); }

    MemoryRef saved_workbook(const std::string& relative) {
        MemoryRef book = sample::new_workbook();
        sample::new_layer(book);
        EXPECT_EQ(save_workbook_file(first_layer(book), kWholeWorkbook, spec_at(relative), kFormatNative, false, true), 0);
        return book;
    }

    static void close(MemoryRef book) {
        close_document_file(book);
        DisposeWorkSheet(book);
    }

    // A document whose first layer's formula refers to each of `targets`
    // (saved documents, open while the link is made); all are closed after.
    void save_linking_document(const std::string& relative, const std::vector<std::string>& targets) {
        MemoryRef book = sample::new_workbook();
        MemoryRef layer = sample::new_layer(book);
        sample::Bytes store;
        int16_t row = 0;
        for (const std::string& target : targets) {
            MemoryRef linked = saved_workbook(target);
            int16_t id = -1;
            CheckFileInfo(&id, layer, linked, spec_at(target).name);
            sample::append_row(store, row++, {sample::formula_number_cell(0, sample::link_formula(id), 1)});
            close(linked);
        }
        sample::install_cells(layer, store);
        ASSERT_EQ(save_workbook_file(layer, kWholeWorkbook, spec_at(relative), kFormatNative, false, true), 0);
        close(book);
    }

    // Opens a document as the open command reads it; null when refused.
    MemoryRef open_document(const std::string& relative) {
        pf::FileSpec spec = spec_at(relative);
        MemoryRef info = NewFileRec(&spec);
        MemoryRef book = New_WorkSheet(&quorvin_rsrv, info, app_prefs.default_format);
        if (Read_File(book, spec, info) == 0) return book;
        close(book);
        return nullptr;
    }

    // "Summary.qrv" linking to `targets`, saved and opened again.
    MemoryRef reopened_summary(const std::vector<std::string>& targets) {
        save_linking_document("Summary.qrv", targets);
        return open_document("Summary.qrv");
    }

    static std::vector<uint8_t> links_of(MemoryRef layer) {
        MemoryRef list = GetSheetLinks(layer);
        if (!list) return {};
        auto* bytes = static_cast<uint8_t*>(UseMemory(list));
        std::vector<uint8_t> copy(bytes, bytes + GetByteSize(list));
        UnuseMemory(list);
        return copy;
    }

    // The open workbook of the layer's link `id`, by identity; null when not open.
    static MemoryRef linked_workbook(MemoryRef layer, int16_t id) {
        MemoryRef found = nullptr;
        return find_link_workbook(layer, id, &found) ? found : nullptr;
    }

    // Whether an open workbook is the document at `relative`.
    bool is_document_at(MemoryRef book, const std::string& relative) {
        pf::FileSpec expected = spec_at(relative), actual = file_record_of(book).spec;
        return std::memcmp(&expected, &actual, sizeof actual) == 0;
    }

    static int16_t first_link_id(MemoryRef layer) { return link_id(links_of(layer).data()); }

    static int alerts_shown(int16_t alert_id) {
        int n = 0;
        for (const AlertRequest& request : alert_requests()) n += request.alert_id == alert_id;
        return n;
    }
};

TEST_F(LinksOpen, AWorkbookLinkingToASavedDocumentOpensItAfterAskingOnce) {
    MemoryRef summary = reopened_summary({"a/Rates.qrv"});
    ASSERT_NE(summary, nullptr);
    MemoryRef layer = first_layer(summary);
    int16_t id = first_link_id(layer);
    ASSERT_EQ(linked_workbook(layer, id), nullptr);

    OpenWorkSheetLinks(summary, 1);
    EXPECT_EQ(alerts_shown(1508), 1);
    MemoryRef rates = linked_workbook(layer, id);
    ASSERT_NE(rates, nullptr);
    EXPECT_EQ(name_of(file_record_of(rates).spec), "Rates.qrv");
    EXPECT_EQ(get_change_ctr(summary), 0);

    // Everything is open now: opening again asks nothing and opens nothing more.
    int32_t open_books = count_open_workbooks(&quorvin_rsrv);
    OpenWorkSheetLinks(summary, 1);
    OpenLinks(layer, id);
    EXPECT_EQ(alerts_shown(1508), 1);
    EXPECT_EQ(count_open_workbooks(&quorvin_rsrv), open_books);
}

TEST_F(LinksOpen, AnOpenDocumentOfTheSameNameInAnotherFolderIsNotTheLinkedOne) {
    save_linking_document("Summary.qrv", {"b/Rates.qrv"});
    MemoryRef other = saved_workbook("a/Rates.qrv");  // open, same name, other folder
    MemoryRef summary = open_document("Summary.qrv");
    ASSERT_NE(summary, nullptr);
    MemoryRef layer = first_layer(summary);
    int16_t id = first_link_id(layer);
    EXPECT_EQ(linked_workbook(layer, id), nullptr);

    OpenWorkSheetLinks(summary, 0);
    MemoryRef rates = linked_workbook(layer, id);
    ASSERT_NE(rates, nullptr);
    EXPECT_NE(rates, other);
    EXPECT_TRUE(is_document_at(rates, "b/Rates.qrv"));
}

TEST_F(LinksOpen, TwoLayersLinkingToOneDocumentOpenItOnce) {
    MemoryRef summary = reopened_summary({"a/Rates.qrv", "b/Rates.qrv"});
    ASSERT_NE(summary, nullptr);
    ASSERT_EQ(links_of(first_layer(summary)).size(), 2u * kLinkRecordSize);
    int32_t before = count_open_workbooks(&quorvin_rsrv);
    OpenWorkSheetLinks(summary, 0);
    EXPECT_EQ(count_open_workbooks(&quorvin_rsrv), before + 2);  // two files of one name: two documents
}

TEST_F(LinksOpen, AMissingLinkedFileIsReportedAndTheWorkbookStaysAsItWas) {
    save_linking_document("Summary.qrv", {"a/Gone.qrv", "b/Rates.qrv"});
    fs::remove(docs + "/a/Gone.qrv");
    MemoryRef summary = open_document("Summary.qrv");
    ASSERT_NE(summary, nullptr);
    MemoryRef layer = first_layer(summary);
    std::vector<uint8_t> before = links_of(layer);

    // Unattended: "Find…" is answered and the open dialog cancelled.
    OpenWorkSheetLinks(summary, 1);
    ASSERT_EQ(alerts_shown(1501), 1);
    EXPECT_EQ(alert_requests().back().text, "Gone.qrv");
    EXPECT_EQ(links_of(layer), before);
    EXPECT_EQ(get_change_ctr(summary), 0);
    EXPECT_EQ(num_SpreadSheets(summary), 1);
    // The other link still opened.
    EXPECT_EQ(count_open_workbooks(&quorvin_rsrv), 2);
}

TEST_F(LinksOpen, ALinkFollowsItsFileToTheStoredPath) {
    MemoryRef summary = reopened_summary({"a/Rates.qrv"});
    ASSERT_NE(summary, nullptr);
    MemoryRef layer = first_layer(summary);
    // A stored specification of a folder that no longer names the file (an old
    // volume's ids), while the stored path still leads to it.
    MemoryRef list = GetSheetLinks(layer);
    auto* record = static_cast<uint8_t*>(UseMemory(list));
    store_i32(record + kLinkSpecOffset + 2, 987654);
    UnuseMemory(list);

    OpenLinks(layer, first_link_id(layer));
    EXPECT_EQ(alerts_shown(1501), 0);
    MemoryRef rates = linked_workbook(layer, first_link_id(layer));
    ASSERT_NE(rates, nullptr);
    pf::FileSpec in_a = spec_at("a/Rates.qrv");
    EXPECT_EQ(std::memcmp(link_spec(links_of(layer).data()), &in_a, sizeof in_a), 0);
    EXPECT_NE(get_change_ctr(summary), 0);
}

TEST_F(LinksOpen, TheFilterShowsFoldersAndOnlyFilesOfTheLinksName) {
    pf::CatalogInfo folder, file;
    folder.is_folder = true;
    EXPECT_TRUE(navFilterProc(spec_at("a"), folder, nullptr));
    EXPECT_FALSE(navFilterProc(spec_at("a/Other.qrv"), file, nullptr));  // nothing is sought
}

struct LinksDriven : LinksOpen {
    void SetUp() override {
        LinksOpen::SetUp();
        set_unattended_run(false);
        dialogtest::guard_against_waiting();
    }
    void TearDown() override {
        set_unattended_run(true);
        pf::host_set_composer(pf::compose_screen);
        LinksOpen::TearDown();
    }
    static void key(unsigned char ch, uint8_t code) { pf::driver_key(code, ch, 0); }
};

TEST_F(LinksDriven, AMovedFileIsChosenInTheOpenDialogAndTheLinkFollowsIt) {
    fs::create_directories(docs + "/a/moved");
    save_linking_document("Summary.qrv", {"a/Rates.qrv"});
    fs::rename(docs + "/a/Rates.qrv", docs + "/a/moved/Rates.qrv");
    MemoryRef summary = open_document("Summary.qrv");
    ASSERT_NE(summary, nullptr);
    MemoryRef layer = first_layer(summary);

    key(pf::kReturnChar, pf::kKeyCodeReturn);  // look for it
    pf::driver_type("m");                     // the dialog opens in a/: into moved/
    key(pf::kReturnChar, pf::kKeyCodeReturn);
    pf::driver_type("R");
    key(pf::kReturnChar, pf::kKeyCodeReturn);
    OpenLinks(layer, first_link_id(layer));

    MemoryRef rates = linked_workbook(layer, first_link_id(layer));
    ASSERT_NE(rates, nullptr);
    pf::FileSpec moved = spec_at("a/moved/Rates.qrv");
    EXPECT_EQ(std::memcmp(link_spec(links_of(layer).data()), &moved, sizeof moved), 0);
    std::vector<uint8_t> record = links_of(layer);
    std::string path(reinterpret_cast<const char*>(record.data() + kLinkPathOffset + 1), record[kLinkPathOffset]);
    EXPECT_EQ(path, docs + "/a/moved/Rates.qrv");
    EXPECT_NE(get_change_ctr(summary), 0);
}

// The links dialog once it is up: its rows are noted, its picture written, and
// the second row and then Open are clicked.
std::vector<std::string> dialog_rows;
void choose_second_link() {
    pf::compose_screen();
    pf::WindowRef front = pf::front_window();
    if (dialog_rows.empty() && front && pf::window_title(front) == "Links") {
        pf::DialogRef dialog = pf::get_dialog_from_window(front);
        pf::ListHandle list = GetDialogListHandle(dialog, 7);
        for (int16_t r = 0; list && r < list->rows; ++r) dialog_rows.push_back(pf::list_get_cell(list, pf::Point{r, 0}));
        pf::screen_write_png(dialogtest::screenshot_path("links_dialog.png"));
        pf::Rect content = pf::window_content_rect(front);
        auto centre = [&](pf::Rect r) {
            return pf::Point{int16_t(content.top + (r.top + r.bottom) / 2), int16_t(content.left + (r.left + r.right) / 2)};
        };
        if (list) pf::driver_click(centre(pf::list_cell_rect(list, pf::Point{1, 0})));
        pf::driver_click(centre(pf::get_dialog_item_box(dialog, 3)));
    }
    dialogtest::guarded_compose_step();
}

TEST_F(LinksDriven, TheLinksDialogListsTheLinksAndOpensTheChosenOne) {
    MemoryRef summary = reopened_summary({"a/Rates.qrv", "b/Rates.qrv"});
    ASSERT_NE(summary, nullptr);
    MemoryRef layer = first_layer(summary);
    std::vector<uint8_t> links = links_of(layer);
    int16_t first = link_id(links.data()), second = link_id(links.data() + kLinkRecordSize);

    dialog_rows.clear();
    pf::host_set_composer(choose_second_link);
    LinkDialog(layer);
    // Links of one name are listed by their paths.
    EXPECT_EQ(dialog_rows, (std::vector<std::string>{docs + "/a/Rates.qrv", docs + "/b/Rates.qrv"}));
    // The second row is the document in b/, though both have one name.
    EXPECT_EQ(linked_workbook(layer, first), nullptr);
    MemoryRef opened = linked_workbook(layer, second);
    ASSERT_NE(opened, nullptr);
    EXPECT_TRUE(is_document_at(opened, "b/Rates.qrv"));
}

TEST_F(LinksOpen, TheLinksDialogIsCancelledWithoutAUser) {
    MemoryRef summary = reopened_summary({"a/Rates.qrv"});
    ASSERT_NE(summary, nullptr);
    int32_t before = count_open_workbooks(&quorvin_rsrv);
    LinkDialog(first_layer(summary));
    EXPECT_EQ(count_open_workbooks(&quorvin_rsrv), before);
}

}  // namespace

namespace {

struct OpenCommandLinks : LinksOpen {
    MemoryRef front_workbook() {
        return doc_window_workbook(window_doc_record(pf::front_non_floating_window()));
    }
};

TEST_F(OpenCommandLinks, OpeningADocumentOffersToOpenTheDocumentsItLinksTo) {
    save_linking_document("Summary.qrv", {"a/Rates.qrv"});
    const pf::FileSpec spec = spec_at("Summary.qrv");
    ASSERT_EQ(Open_File(kOpenGivenFile, &spec, nullptr), 0);
    MemoryRef summary = front_workbook();
    EXPECT_EQ(alerts_shown(1508), 1);
    EXPECT_NE(linked_workbook(first_layer(summary), first_link_id(first_layer(summary))), nullptr);
}

TEST_F(OpenCommandLinks, AStationeryPadOpensAsAChangedUntitledDocument) {
    saved_workbook("Form.qrv");
    pf::FileSpec spec = spec_at("Form.qrv");
    pf::FinderInfo info;
    ASSERT_EQ(pf::get_finder_info(spec, info), pf::noErr);
    info.flags |= pf::kFinderFlagStationery;
    if (pf::set_finder_info(spec, info) != pf::noErr || pf::get_finder_info(spec, info) != pf::noErr ||
        !(info.flags & pf::kFinderFlagStationery))
        GTEST_SKIP() << "the file system keeps no Finder flags here";
    ASSERT_EQ(Open_File(kOpenGivenFile, &spec, nullptr), 0);
    MemoryRef form = front_workbook();
    const FileInfoRecord record = file_record_of(form);
    EXPECT_EQ(record.format_code, kFormatUntitled);
    EXPECT_EQ(record.open_file, 0);
    EXPECT_EQ(get_change_ctr(form), 1);
    EXPECT_EQ(name_of(record.spec).rfind("Untitled", 0), 0u) << name_of(record.spec);
    EXPECT_EQ(pf::window_title(pf::front_non_floating_window()).rfind("Untitled", 0), 0u);
}

}  // namespace
