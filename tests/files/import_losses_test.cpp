// A file read with losses (characters replaced, lines, fields, texts or cells
// left out, formulas kept as their values) says what it lost and is never
// written over by Save unless the user picks it in the Save dialog; a file
// read whole is saved over in its own form.
#include <algorithm>
#include <string>

#include "core/string_utils.h"
#include "tests/files/text_fixture.h"

namespace {

class ImportLossesTest : public TextTest {
protected:
    // The file read as the open command reads it, into a new workbook of its own.
    MemoryRef opened = nullptr;
    MemoryRef opened_layer = nullptr;

    void open_text(const std::string& name, const std::string& bytes, pf::FourCC type = kCsvFileType) {
        write_bytes(name, std::vector<uint8_t>(bytes.begin(), bytes.end()));
        pf::FileSpec from = spec(name);
        opened = sample::new_workbook(&from);
        opened_layer = sample::new_layer(opened);
        FileInfoRecord record = file_record_of(opened);
        record.format_code = kFormatTabValues;
        set_file_record(opened, record);
        ASSERT_EQ(ReadTextFile(from, Get_fileinfo(opened), opened_layer, type), 0);
        increment_change_ctr(opened_layer);
    }
    std::string text_of(const std::string& name) {
        std::vector<uint8_t> bytes = bytes_of(name);
        return std::string(bytes.begin(), bytes.end());
    }
    int16_t save() { return DoSave(false, opened_layer, kWholeWorkbook); }
};

TEST_F(ImportLossesTest, ReplacedCharactersKeepSaveOffTheSource) {
    const std::string source = "\xE0\xB9\x84\xE0\xB8\x97,caf\xC3\xA9\r\n";  // Thai, which no script spells, and café
    open_text("tokyo.csv", source);
    EXPECT_EQ(prompts_log::seen.back(), "tell 170/1");
    EXPECT_EQ(prompts_log::figures, (std::vector<std::string>{"2"}));
    EXPECT_NE(file_record_of(opened).flags & kFileImportLost, 0u);

    // Save becomes Save As, says why, proposes the document's name; cancelled, nothing is written.
    EXPECT_EQ(save(), 1);
    EXPECT_EQ(prompts_log::seen.back(), "save dialog 130/12");
    EXPECT_EQ(pstring_text(prompts_log::asked.name), "tokyo.csv");
    EXPECT_EQ(prompts_log::asked.code, kFormatCsv);
    EXPECT_EQ(text_of("tokyo.csv"), source);

    // Saved under a new name, the document lives there and saves over it without asking.
    prompts_log::choice = SaveRequest{};
    prompts_log::choice->chosen = spec("tokyo-2.csv");
    prompts_log::choice->code = kFormatCsv;
    ASSERT_EQ(save(), 0);
    EXPECT_EQ(text_of("tokyo.csv"), source);
    EXPECT_EQ(file_record_of(opened).flags & kFileImportLost, 0u);
    increment_change_ctr(opened_layer);
    prompts_log::seen.clear();
    ASSERT_EQ(save(), 0);
    EXPECT_TRUE(prompts_log::seen.empty());
}

TEST_F(ImportLossesTest, LinesPastTheLastRowKeepSaveOffTheSource) {
    std::string tall;
    for (int line = 1; line <= 32003; ++line) tall += std::to_string(line) + "\n";
    open_text("tall.csv", tall);
    EXPECT_EQ(prompts_log::seen.back(), "tell 170/2");
    EXPECT_EQ(prompts_log::figures, (std::vector<std::string>{"3", "32001"}));
    EXPECT_EQ(save(), 1);
    EXPECT_EQ(text_of("tall.csv"), tall);
    // The user may still choose the file itself in the dialog.
    prompts_log::choice = SaveRequest{};
    prompts_log::choice->chosen = spec("tall.csv");
    prompts_log::choice->code = kFormatCsv;
    prompts_log::choice->replacing = true;
    ASSERT_EQ(save(), 0);
    const std::string saved = text_of("tall.csv");
    EXPECT_EQ(std::count(saved.begin(), saved.end(), '\n'), 32000);

    // SYLK cells past the grid are counted the same way.
    const std::string far = "ID;PTEST\r\nC;Y1;X1;K1\r\nC;Y32001;X1;K2\r\nC;Y1;X32001;K3\r\nE\r\n";
    open_text("far.slk", far, kTextType);
    EXPECT_EQ(prompts_log::seen.back(), "tell 170/5");
    EXPECT_EQ(prompts_log::figures, (std::vector<std::string>{"2"}));
    EXPECT_EQ(save(), 1);
    EXPECT_EQ(text_of("far.slk"), far);
}

TEST_F(ImportLossesTest, NotesNameTheFieldsAndTextsLeftOut) {
    ImportReport report;
    std::string wide = "a\n";
    for (int i = 0; i < 32002; ++i) wide += "1,";
    wide += "2\n" + std::string(32005, 'x') + "\n";
    read_text(wide, kCommaSeparator, &report);
    ASSERT_EQ(report.fields_cut, 3);
    ASSERT_EQ(report.texts_cut, 1);
    std::vector<ImportNote> notes = text_import_notes(report);
    ASSERT_EQ(notes.size(), 2u);
    EXPECT_EQ(notes[0].index, kColumnsCut);
    EXPECT_EQ(notes[0].figures, (std::vector<std::string>{"3", "AUHT", "2"}));
    EXPECT_EQ(notes[1].index, kTextsCut);
    EXPECT_EQ(notes[1].figures, (std::vector<std::string>{"1", "32000", "3"}));
    EXPECT_TRUE(import_lost_anything(report));
    EXPECT_FALSE(import_lost_anything(ImportReport{}));
}

// A SYLK formula kept as its stored value has lost its formula, and a stray
// NUL is a character replaced: both are losses as the others are.
TEST_F(ImportLossesTest, FormulasKeptAsValuesAndStrayNulsKeepSaveOffTheSource) {
    const std::string sylk = "ID;PTEST\r\nC;Y1;X1;K14;EZORBLAX(1)\r\nC;Y2;X1;K3;EFOO+1\r\nE\r\n";
    open_text("kept.slk", sylk, kTextType);
    EXPECT_EQ(prompts_log::seen.back(), "tell 170/6");
    EXPECT_EQ(prompts_log::figures, (std::vector<std::string>{"2"}));
    EXPECT_NE(file_record_of(opened).flags & kFileImportLost, 0u);
    EXPECT_EQ(save(), 1);
    EXPECT_EQ(text_of("kept.slk"), sylk);

    const std::string nul("ca\0t,1\r\n", 8);
    open_text("nul.csv", nul);
    EXPECT_EQ(prompts_log::seen.back(), "tell 170/1");
    EXPECT_EQ(prompts_log::figures, (std::vector<std::string>{"1"}));
    EXPECT_EQ(save(), 1);
    EXPECT_EQ(text_of("nul.csv"), nul);

    // Excel's cut texts and names left out count the same way.
    ImportReport excel;
    excel.names_dropped = 1;
    EXPECT_TRUE(import_lost_anything(excel));
    excel = ImportReport{};
    excel.texts_cut = 1;
    EXPECT_TRUE(import_lost_anything(excel));
}

// A file in no Unicode form may have been written in any 8-bit encoding: its
// high characters are read as Mac Roman, counted as guessed, and Save, which
// writes UTF-8, asks for a name instead of changing the file's characters.
TEST_F(ImportLossesTest, CharactersOfAFileInNoUnicodeFormKeepSaveOffTheSource) {
    const std::string latin = "caf\xE9,na\xEFve\r\n";  // café,naïve written as ISO 8859-1
    open_text("latin.csv", latin);
    ASSERT_FALSE(prompts_log::seen.empty());
    EXPECT_EQ(prompts_log::seen.back(), "tell 170/7");
    EXPECT_EQ(prompts_log::figures, (std::vector<std::string>{"2"}));
    EXPECT_NE(file_record_of(opened).flags & kFileImportLost, 0u);
    EXPECT_EQ(save(), 1);
    EXPECT_EQ(text_of("latin.csv"), latin);

    // The same text in UTF-8 is known for what it is: nothing guessed, saved over in place.
    open_text("utf8.csv", "caf\xC3\xA9,na\xC3\xAFve\r\n");
    EXPECT_EQ(file_record_of(opened).flags & kFileImportLost, 0u);
    ImportReport report;
    read_text("plain ASCII,1\r\n", kCommaSeparator, &report);
    EXPECT_FALSE(import_lost_anything(report));
}

TEST_F(ImportLossesTest, AWholeReadSavesOverTheSourceInTheFormItWasRead) {
    open_text("plain.csv", "1,two\r\n");
    EXPECT_EQ(file_record_of(opened).flags & kFileImportLost, 0u);
    EXPECT_EQ(file_record_of(opened).format_code, kFormatCsv);
    ASSERT_EQ(save(), 0);
    EXPECT_TRUE(prompts_log::seen.empty());
    EXPECT_EQ(text_of("plain.csv"), "1,two\r\n");

    // SYLK keeps being SYLK whatever the file's name.
    open_text("sheet.txt", "ID;PTEST\r\nC;Y1;X1;K7\r\nE\r\n", kTextType);
    EXPECT_EQ(file_record_of(opened).format_code, kFormatSylk);
    ASSERT_EQ(save(), 0);
    EXPECT_EQ(text_of("sheet.txt").substr(0, 3), "ID;");
}

}  // namespace

namespace {

// A workbook read from Excel is never written over its workbook file: Save asks
// for a name in the native format, and the .xls itself is refused as a file of
// another kind.
TEST_F(ImportLossesTest, AnExcelImportIsNeverSavedOverItsWorkbook) {
    write_bytes("book.xls", {0xD0, 0xCF, 0x11, 0xE0});
    pf::FileSpec from = spec("book.xls");
    opened = sample::new_workbook(&from);
    opened_layer = sample::new_layer(opened);
    FileInfoRecord record = file_record_of(opened);
    record.format_code = kFormatExcelImport;
    set_file_record(opened, record);
    EXPECT_EQ(save(), 1);
    EXPECT_EQ(prompts_log::asked.code, kFormatNative);
    prompts_log::choice = SaveRequest{};
    prompts_log::choice->chosen = from;
    prompts_log::choice->code = kFormatNative;
    prompts_log::choice->replacing = true;
    EXPECT_EQ(save(), 1);
    EXPECT_EQ(prompts_log::seen, (std::vector<std::string>{"save dialog 130/0", "save dialog 130/0", "tell 20000/31",
                                                           "save dialog 130/0"}));
    EXPECT_EQ(bytes_of("book.xls"), (std::vector<uint8_t>{0xD0, 0xCF, 0x11, 0xE0}));
}

}  // namespace

namespace {

// A layer read from a text file into a document (Add Layer) leaves the
// document's format and file alone.
TEST_F(ImportLossesTest, ALayerAddedFromALossyTextLeavesTheDocumentsRecord) {
    ASSERT_EQ(DocumentTest::save(book, "Book.qrv"), 0);
    write_bytes("more.csv", {0xE0, 0xB9, 0x84, ',', '1', '\n'});
    ASSERT_EQ(ReadTextFile(spec("more.csv"), Get_fileinfo(book), sample::new_layer(book), kCsvFileType), 0);
    EXPECT_EQ(prompts_log::seen.back(), "tell 170/1");
    const FileInfoRecord record = file_record_of(book);
    EXPECT_EQ(record.format_code, kFormatNative);
    EXPECT_EQ(record.flags & kFileImportLost, 0u);
}

}  // namespace
