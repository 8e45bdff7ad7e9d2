// Saving: the document is replaced only by a complete file, the file record
// and the change counter change only after a save that kept everything.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <regex>

#include "files/text_exchange.h"
#include "platform/text/scripts.h"
#include "tests/files/document_fixture.h"

namespace {

class SavingTest : public DocumentTest {
protected:
    MemoryRef book = sample::rich_workbook(2);
    MemoryRef first() { return find_SpreadSheet_item(book, 0); }
    size_t files_in_folder() {
        size_t n = 0;
        for ([[maybe_unused]] auto& entry : std::filesystem::directory_iterator(folder.path)) ++n;
        return n;
    }
};

TEST_F(SavingTest, SavingOverTheDocumentLeavesNothingBehind) {
    ASSERT_EQ(save(book, "Book.qrv"), 0);
    increment_change_ctr(first());
    ASSERT_EQ(DoSave(false, first(), kWholeWorkbook), 0);
    EXPECT_EQ(get_change_ctr(book), 0);
    EXPECT_EQ(files_in_folder(), 1u);
    FileInfoRecord record = file_record_of(book);
    EXPECT_NE(record.open_file, 0);  // held open read-only again
    EXPECT_EQ(record.flags & kFileNotKeptOpen, 0u);
}

// Saving over the file of another open document is refused and the dialog
// comes back: that document would be tied to contents it does not show, and
// its next save would write over them. Saving over one's own file is a Save.
TEST_F(SavingTest, TheFileOfAnotherOpenDocumentIsNotSavedOver) {
    ASSERT_EQ(save(book, "Book.qrv"), 0);
    const std::vector<uint8_t> kept = bytes_of("Book.qrv");
    MemoryRef other = sample::rich_workbook(1);
    MemoryRef other_layer = find_SpreadSheet_item(other, 0);
    prompts_log::seen.clear();
    prompts_log::choice = SaveRequest{};
    prompts_log::choice->chosen = spec("Book.qrv");
    prompts_log::choice->code = kFormatNative;
    prompts_log::choice->replacing = true;
    EXPECT_EQ(DoSave(true, other_layer, kWholeWorkbook), 1);
    EXPECT_EQ(prompts_log::seen,
              (std::vector<std::string>{"save dialog 130/0", "tell 20000/36", "save dialog 130/0"}));
    EXPECT_EQ(prompts_log::asked_name, "Book.qrv");  // the dialog comes back with the name refused
    EXPECT_EQ(bytes_of("Book.qrv"), kept);

    prompts_log::seen.clear();
    prompts_log::choice = SaveRequest{};
    prompts_log::choice->chosen = spec("Book.qrv");
    prompts_log::choice->code = kFormatNative;
    prompts_log::choice->replacing = true;
    increment_change_ctr(first());
    EXPECT_EQ(DoSave(true, first(), kWholeWorkbook), 0);
    EXPECT_EQ(prompts_log::seen, (std::vector<std::string>{"save dialog 130/0"}));
}

// A document whose folder was removed while it was open: Save reports the
// loss, and the next Save asks for a name starting from no folder rather
// than from the one that is gone.
// One layer saved by itself over its own document's file is refused: the
// file would keep that layer alone while the document closes without asking.
TEST_F(SavingTest, OneLayerIsNotSavedOverItsOwnDocumentsFile) {
    ASSERT_EQ(save(book, "Book.qrv"), 0);
    const std::vector<uint8_t> kept = bytes_of("Book.qrv");
    prompts_log::seen.clear();
    prompts_log::choice = SaveRequest{};
    prompts_log::choice->chosen = spec("Book.qrv");
    prompts_log::choice->code = kFormatNative;
    prompts_log::choice->replacing = true;
    EXPECT_EQ(DoSave(true, first(), 1), 1);
    EXPECT_EQ(prompts_log::seen,
              (std::vector<std::string>{"save dialog 130/0", "tell 20000/37", "save dialog 130/0"}));
    EXPECT_EQ(bytes_of("Book.qrv"), kept);
    // Into a file of its own it goes as before.
    prompts_log::choice = SaveRequest{};
    prompts_log::choice->chosen = spec("Layer.qrv");
    prompts_log::choice->code = kFormatNative;
    EXPECT_EQ(DoSave(true, first(), 1), 0);
    EXPECT_TRUE(exists("Layer.qrv"));
}

TEST_F(SavingTest, ADocumentWhoseFolderIsGoneIsSavedFromTheDialogElsewhere) {
    std::filesystem::create_directory(path("gone"));
    ASSERT_EQ(save(book, "gone/Book.qrv"), 0);
    std::filesystem::remove_all(path("gone"));
    increment_change_ctr(first());
    EXPECT_NE(DoSave(false, first(), kWholeWorkbook), 0);
    EXPECT_EQ(DoSave(false, first(), kWholeWorkbook), 1);  // the dialog, cancelled
    ASSERT_FALSE(prompts_log::seen.empty());
    EXPECT_EQ(prompts_log::seen.back(), "save dialog 130/0");
    EXPECT_EQ(prompts_log::asked.location, nullptr);

}

// A document whose file was removed while it was open is saved in its place
// again by Save, as a new file, rather than failing to find it.
TEST_F(SavingTest, SaveWritesADocumentWhoseFileWasRemovedInItsPlace) {
    ASSERT_EQ(save(book, "Book.qrv"), 0);
    const std::vector<uint8_t> saved = bytes_of("Book.qrv");
    std::filesystem::remove(path("Book.qrv"));
    increment_change_ctr(first());
    prompts_log::seen.clear();
    EXPECT_EQ(DoSave(false, first(), kWholeWorkbook), 0);
    EXPECT_TRUE(prompts_log::seen.empty());
    EXPECT_EQ(bytes_of("Book.qrv"), saved);
    EXPECT_EQ(get_change_ctr(book), 0);
    EXPECT_EQ(files_in_folder(), 1u);
}

// Another program's file put in the document's place, or newer contents
// written into it, is not written over unasked; the document's own saves are
// no such change.
TEST_F(SavingTest, SaveAsksBeforeWritingOverAFileAnotherProgramReplaced) {
    ASSERT_EQ(save(book, "Book.qrv"), 0);
    const std::vector<uint8_t> other = {'o', 't', 'h', 'e', 'r'};
    write_bytes("Book.new", other);
    std::filesystem::rename(path("Book.new"), path("Book.qrv"));
    increment_change_ctr(first());
    prompts_log::seen.clear();
    prompts_log::answer = kAnswerCancel;
    EXPECT_EQ(DoSave(false, first(), kWholeWorkbook), 1);
    EXPECT_EQ(prompts_log::seen, (std::vector<std::string>{"ask 130/13"}));
    EXPECT_EQ(bytes_of("Book.qrv"), other);
    prompts_log::answer = kAnswerOK;
    EXPECT_EQ(DoSave(false, first(), kWholeWorkbook), 0);
    EXPECT_NE(bytes_of("Book.qrv"), other);
    prompts_log::seen.clear();
    increment_change_ctr(first());
    EXPECT_EQ(DoSave(false, first(), kWholeWorkbook), 0);
    EXPECT_TRUE(prompts_log::seen.empty());

    const std::filesystem::file_time_type saved_at = std::filesystem::last_write_time(path("Book.qrv"));
    std::ofstream(path("Book.qrv"), std::ios::binary | std::ios::app) << 'x';
    std::filesystem::last_write_time(path("Book.qrv"), saved_at + std::chrono::seconds(1));
    increment_change_ctr(first());
    prompts_log::answer = kAnswerCancel;
    EXPECT_EQ(DoSave(false, first(), kWholeWorkbook), 1);
    EXPECT_EQ(prompts_log::seen, (std::vector<std::string>{"ask 130/13"}));
}

// A workbook read from a file of a format never written (an Excel workbook)
// is offered under its name with the extension of the format the dialog shows.
TEST_F(SavingTest, SaveAsOffersTheNameWithTheShownFormatsExtension) {
    FileInfoRecord record = file_record_of(book);
    record.spec = spec("intl.xls");
    record.format_code = kFormatExcelImport;
    set_file_record(book, record);
    EXPECT_EQ(DoSave(true, first(), kWholeWorkbook), 1);
    EXPECT_EQ(prompts_log::asked_name, "intl.qrv");
    EXPECT_EQ(prompts_log::asked.code, kFormatNative);
    record.spec = spec("notes.csv");
    record.format_code = kFormatCsv;
    set_file_record(book, record);
    EXPECT_EQ(DoSave(true, first(), kWholeWorkbook), 1);
    EXPECT_EQ(prompts_log::asked_name, "notes.csv");
}

TEST_F(SavingTest, AFailedWriteLeavesTheDocumentAsItWas) {
    ASSERT_EQ(save(book, "Book.qrv"), 0);
    std::vector<uint8_t> saved = bytes_of("Book.qrv");
    increment_change_ctr(first());
    EXPECT_NE(save_workbook_file(first(), 7, spec("Book.qrv"), kFormatNative, true, false), 0);  // no layer 7
    EXPECT_EQ(bytes_of("Book.qrv"), saved);
    EXPECT_EQ(files_in_folder(), 1u);
    EXPECT_NE(get_change_ctr(book), 0);
}

// What an interrupted save left beside the document is settled at its next
// save or opening: an unfinished copy and a kept old one go, a complete new
// copy takes the document's place and the user is told. While the document is
// missing, nothing is touched.
TEST_F(SavingTest, AnInterruptedSaveIsSettledAtTheNextSaveOrOpening) {
    ASSERT_EQ(save(book, "Book.qrv"), 0);
    const std::vector<uint8_t> saved = bytes_of("Book.qrv");
    write_bytes(".Book.qrv.saving", {1, 2, 3});
    write_bytes(".Book.qrv.old", saved);
    MemoryRef opened = open("Book.qrv");
    ASSERT_NE(opened, nullptr);
    EXPECT_EQ(files_in_folder(), 1u);
    close_document_file(opened);
    DisposeWorkSheet(opened);
    EXPECT_EQ(prompts_log::seen, std::vector<std::string>{});

    write_bytes(".Book.qrv.saving", {1, 2, 3});
    ASSERT_EQ(save(book, "Book.qrv"), 0);
    EXPECT_EQ(files_in_folder(), 1u);

    std::filesystem::rename(path("Book.qrv"), path(".Book.qrv.saved"));
    write_bytes("Book.qrv", {1, 2, 3});
    write_bytes(".Book.qrv.old", {1, 2, 3});
    opened = open("Book.qrv");
    ASSERT_NE(opened, nullptr);
    close_document_file(opened);
    DisposeWorkSheet(opened);
    EXPECT_EQ(bytes_of("Book.qrv"), saved);
    EXPECT_EQ(files_in_folder(), 1u);
    EXPECT_EQ(prompts_log::seen, std::vector<std::string>{"tell 130/15"});
    EXPECT_EQ(prompts_log::figures, std::vector<std::string>{"Book.qrv"});

    std::filesystem::rename(path("Book.qrv"), path(".Book.qrv.saved"));
    EXPECT_FALSE(finish_interrupted_save(spec("Book.qrv")));
    EXPECT_EQ(bytes_of(".Book.qrv.saved"), saved);
}

// Running out of memory while writing fails the save with the memory error,
// keeps the old document and leaves no new file; with memory the next save works.
TEST_F(SavingTest, ASaveThatRunsOutOfMemoryKeepsTheDocument) {
    ASSERT_EQ(save(book, "Book.qrv"), 0);
    const std::vector<uint8_t> saved = bytes_of("Book.qrv");
    sample::fill_numbers(first(), 20000);
    prompts_log::seen.clear();
    pf::set_heap_budget(pf::heap_bytes_in_use() + 4096);
    pf::set_temp_budget(pf::temp_bytes_in_use() + 4096);
    int16_t result = save(book, "Book.qrv");
    pf::set_heap_budget(pf::kNoBudget);
    pf::set_temp_budget(pf::kNoBudget);
    EXPECT_EQ(result, kNoMemoryErr);
    EXPECT_EQ(prompts_log::seen, (std::vector<std::string>{"error -108"}));
    EXPECT_EQ(bytes_of("Book.qrv"), saved);
    EXPECT_EQ(files_in_folder(), 1u);
    EXPECT_EQ(f_ref, 0);
    EXPECT_EQ(GetAccessCtr(first()), 0);
    EXPECT_EQ(save(book, "Book.qrv"), 0);
    EXPECT_NE(bytes_of("Book.qrv"), saved);
}

TEST_F(SavingTest, TheFileRecordMovesOnlyAfterASuccessfulWrite) {
    increment_change_ctr(first());
    pf::FileSpec nowhere;
    pf::file_spec_from_path(path("missing/Book.qrv"), nowhere);
    EXPECT_NE(save_workbook_file(first(), kWholeWorkbook, nowhere, kFormatNative, false, true), 0);
    FileInfoRecord record = file_record_of(book);
    EXPECT_EQ(record.format_code, kFormatUntitled);
    EXPECT_EQ(record.spec.name[0], 0);
    EXPECT_NE(get_change_ctr(book), 0);
    // A text file written in full moves it.
    EXPECT_EQ(save_workbook_file(first(), kWholeWorkbook, spec("Book.csv"), kFormatCsv, false, true), 0);
    EXPECT_TRUE(exists("Book.csv"));
    EXPECT_EQ(file_record_of(book).format_code, kFormatCsv);
}

TEST_F(SavingTest, OnlyAWholeWorkbookInAFullFormatCountsAsSaved) {
    EXPECT_TRUE(save_keeps_everything(kFormatNative, kWholeWorkbook, 2));
    EXPECT_FALSE(save_keeps_everything(kFormatCsv, kWholeWorkbook, 2));
    EXPECT_FALSE(save_keeps_everything(kFormatSylk, kWholeWorkbook, 3));
    EXPECT_TRUE(save_keeps_everything(kFormatTabValues, kWholeWorkbook, 1));
    EXPECT_FALSE(save_keeps_everything(kFormatNative, 0, 1));
}

TEST_F(SavingTest, OneLayerSavedByItselfTakesIndexZeroAndChangesNothingElse) {
    increment_change_ctr(first());
    ASSERT_EQ(save_workbook_file(first(), 1, spec("Second.qrv"), kFormatNative, false, true), 0);
    EXPECT_NE(get_change_ctr(book), 0);
    EXPECT_EQ(file_record_of(book).format_code, kFormatUntitled);
    MemoryRef alone = open("Second.qrv");
    ASSERT_NE(alone, nullptr);
    ASSERT_EQ(num_SpreadSheets(alone), 1);
    unsigned char name[32];
    GetSheetName(name, find_SpreadSheet_item(alone, 0));
    EXPECT_EQ(std::string(reinterpret_cast<char*>(name + 1), name[0]), "Layer 1");
    std::vector<uint8_t> bytes = bytes_of("Second.qrv");
    EXPECT_EQ(bytes[102 + 4], 0);
    EXPECT_EQ(bytes[102 + 5], 0);
}

// The two SYLK formats write the same text; the second only names another
// spreadsheet as the file's creator, where the file system keeps one.
// SYLK for other spreadsheets spells accented letters in UTF-8 rather than
// as escapes, and carries its own creator; of ASCII texts the files are the same.
TEST_F(SavingTest, SylkForOtherSpreadsheetsDiffersInItsSpellingAndCreator) {
    ASSERT_EQ(save_workbook_file(first(), 1, spec("Own.sylk"), kFormatSylk, false, true), 0);
    ASSERT_EQ(save_workbook_file(first(), 1, spec("Other.sylk"), kFormatSylkOther, false, true), 0);
    // Lines of ASCII alone are the same in both, but for the format fields of
    // this program's own (colours, number flags), which only its own kind
    // carries; those of the pictures with currency signs are spelled each its
    // way.
    auto ascii_lines = [&](const char* name) {
        const auto bytes = bytes_of(name);
        std::vector<std::string> lines;
        std::string line;
        for (uint8_t b : bytes) {
            line.push_back(char(b));
            if (b != '\n') continue;
            if (std::all_of(line.begin(), line.end(), [](char c) { return uint8_t(c) < 0x80; })) lines.push_back(line);
            line.clear();
        }
        return lines;
    };
    std::vector<std::string> own_lines = ascii_lines("Own.sylk");
    const std::regex own_fields("^(F;.*);[QU][0-9 ]+(;.*)?(\r\n)$");
    for (std::string& line : own_lines)
        while (std::regex_match(line, own_fields)) line = std::regex_replace(line, own_fields, "$1$2$3");
    EXPECT_EQ(own_lines, ascii_lines("Other.sylk"));
    EXPECT_GT(ascii_lines("Own.sylk").size(), 30u);
    sample::Bytes store;
    sample::append_row(store, 0, {sample::text_cell(0, "Z\x9Frich")});
    sample::install_cells(find_SpreadSheet_item(book, 1), store);  // the layer written
    ASSERT_EQ(save_workbook_file(first(), 1, spec("Own.sylk"), kFormatSylk, true, true), 0);
    ASSERT_EQ(save_workbook_file(first(), 1, spec("Other.sylk"), kFormatSylkOther, true, true), 0);
    const auto own_bytes = bytes_of("Own.sylk"), other_bytes = bytes_of("Other.sylk");
    const std::string own_text(own_bytes.begin(), own_bytes.end()), other_text(other_bytes.begin(), other_bytes.end());
    EXPECT_NE(own_text.find("K\"Z\x1BNHurich\""), std::string::npos) << own_text;
    EXPECT_NE(other_text.find("K\"Z\xFCrich\""), std::string::npos) << other_text;
    pf::FinderInfo own, other;
    ASSERT_EQ(pf::get_finder_info(spec("Own.sylk"), own), pf::noErr);
    ASSERT_EQ(pf::get_finder_info(spec("Other.sylk"), other), pf::noErr);
    EXPECT_EQ(own.type, other.type);
    if (own.creator == 0) GTEST_SKIP() << "this file system keeps no creators";
    EXPECT_EQ(own.creator, kAppCreator);
    EXPECT_EQ(other.creator, kOtherSpreadsheetCreator);
}

// A text document's file holds one layer: a plain Save writes that layer
// whichever layer is in front, and asks for a name once that layer is gone.
TEST_F(SavingTest, PlainSaveOfATextDocumentWritesTheLayerItsFileHolds) {
    const std::string csv = "Item,Amt\r\np,10\r\nq,20\r\nr,30\r\ns,40\r\n";
    write_bytes("Data.csv", std::vector<uint8_t>(csv.begin(), csv.end()));
    write_bytes("Other.csv", {'9', '9', '\r', '\n'});
    const pf::FileSpec data = spec("Data.csv");
    MemoryRef text_book = sample::new_workbook(&data);
    MemoryRef read = sample::new_layer(text_book);
    FileInfoRecord record = file_record_of(text_book);
    record.format_code = kFormatCsv;
    set_file_record(text_book, record);
    ASSERT_EQ(ReadTextFile(data, Get_fileinfo(text_book), read, kCsvFileType), 0);
    MemoryRef added = sample::new_layer(text_book);
    ASSERT_EQ(ReadTextFile(spec("Other.csv"), Get_fileinfo(text_book), added, kCsvFileType), 0);
    EXPECT_EQ(document_text_layer(text_book), read);

    prompts_log::seen.clear();
    ASSERT_EQ(DoSave(false, added, kWholeWorkbook), 0);
    EXPECT_EQ(prompts_log::seen, (std::vector<std::string>{"ask 130/5", "tell 130/9"}));
    const std::vector<uint8_t> saved = bytes_of("Data.csv");
    EXPECT_EQ(std::string(saved.begin(), saved.end()), csv);

    DeleteSheet(read);
    EXPECT_EQ(document_text_layer(text_book), nullptr);
    prompts_log::seen.clear();
    EXPECT_EQ(DoSave(false, added, kWholeWorkbook), 1);  // the dialog, cancelled
    ASSERT_FALSE(prompts_log::seen.empty());
    EXPECT_EQ(prompts_log::seen[0].rfind("save dialog", 0), 0u);
    EXPECT_EQ(bytes_of("Data.csv"), saved);

    // Saved under a name, the layer shown becomes the one the file holds.
    prompts_log::choice = SaveRequest{nullptr, nullptr, kFormatCsv, 0, spec("Data.csv"), true};
    ASSERT_EQ(DoSave(false, added, kWholeWorkbook), 0);
    EXPECT_EQ(document_text_layer(text_book), added);
    const std::vector<uint8_t> resaved = bytes_of("Data.csv");
    EXPECT_EQ(std::string(resaved.begin(), resaved.end()), "99\r\n");
    close_document_file(text_book);
    DisposeWorkSheet(text_book);
}

TEST_F(SavingTest, UntitledDocumentsAskForANameAndCancelWritesNothing) {
    EXPECT_EQ(DoSave(false, first(), kWholeWorkbook), 1);
    EXPECT_EQ(files_in_folder(), 0u);
}

// What takes the document's place keeps its mode and owners, reaches every
// hard link to it, and goes through a symbolic link to the file the link
// leads to. Each save below replaces other bytes written into that file.
TEST_F(SavingTest, SavingKeepsTheFilesModeOwnersLinksAndSymbolicLinks) {
    ASSERT_EQ(save(book, "Book.qrv"), 0);
    const std::vector<uint8_t> saved = bytes_of("Book.qrv");
    const std::vector<uint8_t> other_bytes{1, 2, 3};
    ASSERT_EQ(chmod(path("Book.qrv").c_str(), 0600), 0);
    if (geteuid() == 0) ASSERT_EQ(chown(path("Book.qrv").c_str(), 4321, 4322), 0);
    struct stat before;
    ASSERT_EQ(stat(path("Book.qrv").c_str(), &before), 0);

    write_bytes("Book.qrv", other_bytes);
    ASSERT_EQ(save(book, "Book.qrv"), 0);
    EXPECT_EQ(bytes_of("Book.qrv"), saved);
    struct stat after;
    ASSERT_EQ(stat(path("Book.qrv").c_str(), &after), 0);
    EXPECT_EQ(after.st_mode & 07777, 0600u);
    EXPECT_EQ(after.st_uid, before.st_uid);
    EXPECT_EQ(after.st_gid, before.st_gid);

    // Saved through a symbolic link, the file it leads to takes the contents.
    ASSERT_EQ(symlink("Book.qrv", path("Link.qrv").c_str()), 0);
    write_bytes("Book.qrv", other_bytes);
    ASSERT_EQ(save(book, "Link.qrv"), 0);
    EXPECT_TRUE(std::filesystem::is_symlink(path("Link.qrv")));
    EXPECT_EQ(bytes_of("Book.qrv"), saved);
    EXPECT_EQ(files_in_folder(), 2u);

    // A second name for the same file sees the next save too.
    ASSERT_EQ(link(path("Book.qrv").c_str(), path("Other name.qrv").c_str()), 0);
    write_bytes("Book.qrv", other_bytes);
    ASSERT_EQ(save(book, "Link.qrv"), 0);
    EXPECT_EQ(bytes_of("Book.qrv"), saved);
    EXPECT_EQ(bytes_of("Other name.qrv"), saved);
    ASSERT_EQ(stat(path("Book.qrv").c_str(), &after), 0);
    EXPECT_EQ(after.st_nlink, 2u);
    EXPECT_EQ(after.st_mode & 07777, 0600u);
    EXPECT_EQ(files_in_folder(), 3u);
}

TEST_F(SavingTest, FormatsFollowTheNameOfTheFile) {
    auto code = [](const char* name) {
        unsigned char p[64];
        sample::pstr_into(p, name);
        return format_code_for_name(p);
    };
    EXPECT_EQ(code("a.qrv"), kFormatNative);
    EXPECT_EQ(code("a.sylk"), kFormatSylk);
    EXPECT_EQ(code("a.csv"), kFormatCsv);
    EXPECT_EQ(code("a.txt"), kFormatTabValues);
    EXPECT_EQ(code("A.CSV"), kFormatCsv);
    EXPECT_EQ(code("a.slk"), kFormatSylk);
    EXPECT_EQ(code("a.tab"), kFormatTabValues);
    EXPECT_EQ(code(".csv"), -1);
    EXPECT_EQ(code("a.xls"), -1);
    EXPECT_EQ(file_type_for_code(kFormatNative), kDocumentType);
    EXPECT_EQ(file_type_for_code(kFormatCsv), kTextType);
    EXPECT_EQ(creator_for_code(kFormatSylkOther), kOtherSpreadsheetCreator);
}

TEST(SaveNames, TheExtensionFollowsTheFormat) {
    auto adjusted = [](const std::string& name, int16_t code, bool add) {
        unsigned char p[64];
        sample::pstr_into(p, name);
        adjust_save_name(p, code, add);
        return std::string(reinterpret_cast<char*>(p + 1), p[0]);
    };
    EXPECT_EQ(adjusted("Budget.qrv", kFormatCsv, true), "Budget.csv");
    EXPECT_EQ(adjusted("Budget.sylk", kFormatTabFormulas, true), "Budget.txt");
    EXPECT_EQ(adjusted("Budget.csv", kFormatNative, false), "Budget.qrv");
    // The name's own extension stays while the format stays, whatever the preference.
    EXPECT_EQ(adjusted("multi-typed.csv", kFormatCsv, false), "multi-typed.csv");
    EXPECT_EQ(adjusted("multi-typed.csv", kFormatCsv, true), "multi-typed.csv");
    EXPECT_EQ(adjusted("Budget.slk", kFormatSylkOther, false), "Budget.slk");
    EXPECT_EQ(adjusted("Budget.TSV", kFormatTabDisplayed, true), "Budget.TSV");
    EXPECT_EQ(adjusted("Budget.csv", kFormatExcelImport, true), "Budget");
    // A name typed without one takes the format's only with the preference.
    EXPECT_EQ(adjusted("Budget", kFormatCsv, false), "Budget");
    EXPECT_EQ(adjusted("Budget", kFormatCsv, true), "Budget.csv");
    EXPECT_EQ(adjusted("Budget.xls", kFormatSylkOther, true), "Budget.xls.sylk");
    EXPECT_EQ(adjusted("Budget", kFormatExcelImport, true), "Budget");
    EXPECT_EQ(adjusted(std::string(63, 'x'), kFormatNative, true), std::string(59, 'x') + ".qrv");
}

// A typed name and the format pop-up settle on one format, so that a file's
// name never says another format than its contents.
TEST(SaveNames, ATypedExtensionChoosesTheFormatUntilThePopUpIsChanged) {
    struct Settled {
        std::string name;
        int16_t code;
        bool operator==(const Settled&) const = default;
    };
    auto settle = [](const std::string& name, int16_t code, int16_t first_code, bool add) {
        unsigned char p[64];
        sample::pstr_into(p, name);
        int16_t chosen = settle_save_name(p, code, first_code, add);
        return Settled{std::string(reinterpret_cast<char*>(p + 1), p[0]), chosen};
    };
    // The pop-up left as shown: the extension decides.
    EXPECT_EQ(settle("Budget.csv", kFormatNative, kFormatNative, false), (Settled{"Budget.csv", kFormatCsv}));
    EXPECT_EQ(settle("Budget.SLK", kFormatNative, kFormatNative, true), (Settled{"Budget.SLK", kFormatSylk}));
    EXPECT_EQ(settle("Budget.tab", kFormatCsv, kFormatCsv, false), (Settled{"Budget.tab", kFormatTabValues}));
    EXPECT_EQ(settle("Budget.qrv", kFormatCsv, kFormatCsv, false), (Settled{"Budget.qrv", kFormatNative}));
    // An extension of the pop-up's own kind keeps the pop-up's variant.
    EXPECT_EQ(settle("Budget.txt", kFormatTabDisplayed, kFormatNative, false),
              (Settled{"Budget.txt", kFormatTabDisplayed}));
    EXPECT_EQ(settle("Budget.slk", kFormatSylkOther, kFormatSylkOther, false), (Settled{"Budget.slk", kFormatSylkOther}));
    // The pop-up changed by the user: its format's extension replaces the typed one.
    EXPECT_EQ(settle("Budget.csv", kFormatSylk, kFormatNative, false), (Settled{"Budget.sylk", kFormatSylk}));
    // No extension of a format: the preference puts the format's on.
    EXPECT_EQ(settle("Budget", kFormatNative, kFormatNative, true), (Settled{"Budget.qrv", kFormatNative}));
    EXPECT_EQ(settle("Budget", kFormatNative, kFormatNative, false), (Settled{"Budget", kFormatNative}));
    EXPECT_EQ(settle("Budget.xls", kFormatCsv, kFormatNative, true), (Settled{"Budget.xls.csv", kFormatCsv}));
}

// A typed name longer than a file name may be is cut in its stem: the file
// keeps the extension that says its format.
TEST(SaveNames, ALongTypedNameKeepsItsExtension) {
    auto settled = [](const std::string& name, int16_t code, bool add) {
        unsigned char p[256];
        sample::pstr_into(p, name);
        settle_save_name(p, code, code, add);
        return std::string(reinterpret_cast<char*>(p + 1), p[0]);
    };
    const std::string stem = "Quarterly report for the northern region sales team 2026 final";
    EXPECT_EQ(settled(stem + ".qrv", kFormatNative, false), stem.substr(0, 59) + ".qrv");
    EXPECT_EQ(settled(stem + ".csv", kFormatNative, false), stem.substr(0, 59) + ".csv");
    EXPECT_EQ(settled(stem + " copy", kFormatNative, true), (stem + " copy").substr(0, 59) + ".qrv");
    EXPECT_EQ(settled(stem + " copy", kFormatNative, false), (stem + " copy").substr(0, 63));
    EXPECT_EQ(settled(stem + ".qrv", kFormatNative, false).size(), 63u);
}

// A long name is cut between its letters, whatever they are spelled in: a
// name typed in several scripts (UTF-8) and one of a two-byte script lose a
// whole letter where a byte count would split one.
TEST(SaveNames, ALongNameIsCutBetweenLetters) {
    auto settled = [](const std::string& name, int16_t code, bool add, int16_t script) {
        unsigned char p[256];
        sample::pstr_into(p, name);
        settle_save_name(p, code, code, add, script);
        return std::string(reinterpret_cast<char*>(p + 1), p[0]);
    };
    constexpr int16_t kUtf8 = -1;
    const std::string czech = "\xC4\x8D", cyrillic = "\xD0\x91";  // "č", "Б"
    const std::string stem = std::string(58, 'x') + czech + cyrillic;  // 62 bytes
    EXPECT_EQ(settled(stem + ".qrv", kFormatNative, false, kUtf8), std::string(58, 'x') + ".qrv");
    EXPECT_EQ(settled(stem + " a.qrv", kFormatNative, false, kUtf8), std::string(58, 'x') + ".qrv");
    EXPECT_EQ(settled(stem + czech, kFormatNative, false, kUtf8), stem) << "62 bytes: the next letter would not fit";
    EXPECT_EQ(settled(std::string(57, 'x') + czech + czech + ".csv", kFormatNative, false, kUtf8),
              std::string(57, 'x') + czech + ".csv");

    std::string japanese;
    ASSERT_TRUE(pf::utf8_to_script("\xE6\x9D\xB1\xE4\xBA\xAC", pf::kScriptJapanese, japanese));  // two letters
    ASSERT_EQ(japanese.size(), 4u);
    const std::string odd = std::string(57, 'x') + japanese;  // a letter would be split at 59
    EXPECT_EQ(settled(odd + ".qrv", kFormatNative, false, pf::kScriptJapanese),
              std::string(57, 'x') + japanese.substr(0, 2) + ".qrv");
    EXPECT_EQ(settled(odd + "y", kFormatNative, true, pf::kScriptJapanese),
              std::string(57, 'x') + japanese.substr(0, 2) + ".qrv");
    // Mac Roman letters are one byte each: the cut stays at 63.
    EXPECT_EQ(settled(std::string(70, '\x8E'), kFormatNative, false, pf::kScriptRoman), std::string(63, '\x8E'));
}

TEST_F(SavingTest, ExportNamesCarryTheLayerNumberWithinThirtyCharacters) {
    unsigned char name[64];
    export_file_name(first(), 1, name);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(name + 1), name[0]), "Layer 0.1");
    unsigned char long_name[32];
    sample::pstr_into(long_name, std::string(31, 'n'));
    SetSheetName(long_name, first());
    export_file_name(first(), 12, name);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(name + 1), name[0]), std::string(27, 'n') + ".12");
}

TEST_F(SavingTest, ExportAsksBeforeOverwritingAndStopsOnCancel) {
    write_bytes("Layer 1.2", {7});
    prompts_log::answer = kAnswerCancel;
    EXPECT_EQ(export_layers(book, spec(""), kFormatSylk), 1);
    EXPECT_EQ(prompts_log::seen, (std::vector<std::string>{"ask 130/6"}));
    EXPECT_EQ(files_in_folder(), 1u);
    EXPECT_EQ(DoExport(first()), 1);  // the folder dialog is cancelled
}

TEST_F(SavingTest, ExportWithoutSylkWritesTabTextFilesWithTheTextTypeAndExtension) {
    ASSERT_EQ(export_layers(book, spec(""), kFormatNative), 0);
    EXPECT_EQ(files_in_folder(), 2u);
    for (const char* name : {"Layer 0.1.txt", "Layer 1.2.txt"}) {
        ASSERT_TRUE(std::filesystem::exists(path(name))) << name;
        pf::FinderInfo info;
        ASSERT_EQ(pf::get_finder_info(spec(name), info), 0) << name;
        EXPECT_EQ(info.type, file_type_for_code(kFormatTabValues)) << name;
        std::vector<uint8_t> text = bytes_of(name);
        EXPECT_NE(std::find(text.begin(), text.end(), '\t'), text.end()) << name;
    }
    ASSERT_EQ(export_layers(book, spec(""), kFormatSylk), 0);
    EXPECT_TRUE(std::filesystem::exists(path("Layer 0.1")));
}

}  // namespace
