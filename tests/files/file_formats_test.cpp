// The format table: a file is read in the format its name or bytes tell, a
// save's name and the Open command agree on every extension, and the
// platform guesses the types of files it is handed nothing about from it.
#include <string>

#include "files/document_file.h"
#include "files/document_saving.h"
#include "files/file_formats.h"
#include "files/files_services.h"
#include "files/text_exchange.h"
#include "tests/files/sample_workbook.h"
#include "tests/files/text_fixture.h"
#include "resource_ids.h"

namespace {

class FileFormatsTest : public TextTest {
protected:
    // The format the file of that name and contents is read in; null for none.
    const FileFormat* format_of_file(const std::string& name, const std::string& contents) {
        write_bytes(name, std::vector<uint8_t>(contents.begin(), contents.end()));
        return format_to_read(spec(name), 0);
    }

    // The file read in its format into a new workbook; its first layer.
    MemoryRef read_file(const std::string& name) {
        const FileFormat* format = format_to_read(spec(name), 0);
        if (!format) return nullptr;
        MemoryRef workbook = sample::new_workbook();
        EXPECT_EQ(read_in_format(*format, workbook, spec(name), kLayerGridLines), 0);
        return find_SpreadSheet_item(workbook, 0);
    }
};

// Opening records the format a file is read in as its workbook's (a text's
// as its name tells it), and the Save dialog names each format a document is
// saved in, by its code, from the table.
TEST_F(FileFormatsTest, OpeningRecordsTheFormatReadAndSavedFormatsAreNamed) {
    const std::pair<const char*, const char*> files[] = {
        {"Cells.slk", "ID;PTEST\r\nC;Y1;X1;K1\r\nE\r\n"}, {"List.tsv", "a\tb\n"}, {"Data.csv", "a,b\n"}};
    const int16_t codes[] = {kFormatSylk, kFormatTabValues, kFormatCsv};
    for (size_t i = 0; i < std::size(files); ++i) {
        const std::string contents = files[i].second;
        write_bytes(files[i].first, std::vector<uint8_t>(contents.begin(), contents.end()));
        const FileFormat* format = ::format_of_file(spec(files[i].first));
        ASSERT_NE(format, nullptr) << files[i].first;
        MemoryRef workbook = sample::new_workbook();
        ASSERT_EQ(read_in_format(*format, workbook, spec(files[i].first), kLayerGridLines), 0) << files[i].first;
        EXPECT_EQ(get_fileType(workbook), codes[i]) << files[i].first;
    }
    EXPECT_EQ(last_saved_code(), kFormatTabDisplayed);
    EXPECT_FALSE(is_saved_code(kFormatPdfName));
    for (int16_t code = kFormatNative; code <= last_saved_code(); ++code)
        EXPECT_EQ(is_saved_code(code), !pf::get_indexed_string(kFormatNameStrings, code).empty()) << code;
}

std::string pascal_name(const std::string& name) { return std::string(1, char(name.size())) + name; }

int16_t code_of_name(const std::string& name) {
    return format_code_for_name(reinterpret_cast<const unsigned char*>(pascal_name(name).c_str()));
}

// What a save writes under an extension is what Open reads under it: every
// tab text format is saved as ".txt", and ".tab" and ".tsv" read as tab text
// without asking for a separator, ".txt" as plain text.
TEST_F(FileFormatsTest, OpenReadsEachExtensionAsSaveWritesIt) {
    const std::string tabbed = "a\tb\n1\t2\n";
    for (const char* name : {"List.txt", "List.tab", "List.tsv", "LIST.TSV"}) {
        const FileFormat* format = format_of_file(name, tabbed);
        ASSERT_NE(format, nullptr) << name;
        EXPECT_EQ(format->read_as, std::string(name) == "List.txt" ? kTextType : kTabFileType) << name;
        EXPECT_EQ(code_of_name(name), kFormatTabValues) << name;
    }
    for (int16_t code : {kFormatTabValues, kFormatTabFormulas, kFormatTabDisplayed})
        EXPECT_STREQ(save_extension(code), ".txt");
    EXPECT_EQ(format_of_file("List.csv", "a,b\n")->read_as, kCsvFileType);
    EXPECT_EQ(code_of_name("List.csv"), kFormatCsv);
    for (const char* name : {"Cells.slk", "Cells.sylk"}) EXPECT_EQ(code_of_name(name), kFormatSylk) << name;
    EXPECT_EQ(code_of_name("Sales.xls"), -1);  // read, never written
    EXPECT_STREQ(save_extension(kFormatExcelImport), "");

    MemoryRef read = read_file("List.tsv");
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(cell(read, 0, 1).text, "b");
    EXPECT_EQ(cell(read, 1, 1).number, 2.0);
}

// A ".txt" is plain text: tabs in it make it tab text unasked; without them
// the separator is asked.
TEST_F(FileFormatsTest, PlainTextShowsItsTabsOrItsSeparatorIsAsked) {
    static std::vector<uint8_t> offered;
    static uint8_t answer = 0;
    offered.clear();
    const FilesServices saved = files_services;
    files_services.choose_separator = [](uint8_t* separator) {
        offered.push_back(*separator);
        *separator = answer;
        return kAnswerOK;
    };
    write_bytes("Tabs.txt", {'a', '\t', 'b', ',', 'c', '\n'});
    MemoryRef tabs = read_file("Tabs.txt");
    EXPECT_EQ(cell(tabs, 0, 1).text, "b,c");
    EXPECT_TRUE(offered.empty());
    const std::string commas = "a,b\n1,2\n";
    write_bytes("Commas.txt", std::vector<uint8_t>(commas.begin(), commas.end()));
    answer = kCommaSeparator;
    MemoryRef comma_layer = read_file("Commas.txt");
    EXPECT_EQ(cell(comma_layer, 1, 1).number, 2.0);
    // The question offers first the separator the text shows; tab for one column.
    const std::vector<std::pair<std::string, uint8_t>> shown = {
        {"a;b\n1,5;2\n", kSemicolonSeparator}, {"12\n7.5\n", kTabSeparator}, {"\"x, y\"\n2\n", kTabSeparator}};
    for (const auto& [text, separator] : shown) {
        write_bytes("Shown.txt", std::vector<uint8_t>(text.begin(), text.end()));
        answer = separator;
        EXPECT_NE(read_file("Shown.txt"), nullptr) << text;
    }
    EXPECT_EQ(offered, (std::vector<uint8_t>{kCommaSeparator, kSemicolonSeparator, kTabSeparator, kTabSeparator}));
    files_services = saved;
    // With nobody to ask, the separator offered is taken: a list of one column is read.
    const std::string column = "12\n7.5\n";
    write_bytes("Column.txt", std::vector<uint8_t>(column.begin(), column.end()));
    MemoryRef column_layer = read_file("Column.txt");
    ASSERT_NE(column_layer, nullptr);
    EXPECT_EQ(cell(column_layer, 1, 0).number, 7.5);
}

// A text is saved back with the separator it was read with: semicolons as a
// CSV, spaces as tab text, each field quoted where the separator needs it.
// Saved in a format of the other kind, it takes that format's own separator.
TEST_F(FileFormatsTest, ASeparatedTextIsSavedWithTheSeparatorItWasReadWith) {
    static uint8_t answer = 0;
    const FilesServices saved = files_services;
    files_services.choose_separator = [](uint8_t* separator) {
        *separator = answer;
        return kAnswerOK;
    };
    struct Case {
        const char* name;
        uint8_t separator;
        std::string text;
        int16_t code;
        std::string other_kind;  // saved as the other kind
    } cases[] = {
        {"Semi.txt", kSemicolonSeparator, "x;\"p;q\";3,5\n1;2\n", kFormatCsv, "x\tp;q\t3,5\n1\t2\n"},
        {"Spaced.txt", kSpaceSeparator, "x \"p q\" 3\n1 2\n", kFormatTabValues, "x,p q,3\n1,2\n"},
        {"Comma.csv", kCommaSeparator, "x,\"p,q\"\n1,2\n", kFormatCsv, "x\tp,q\n1\t2\n"},
    };
    for (const Case& c : cases) {
        write_bytes(c.name, std::vector<uint8_t>(c.text.begin(), c.text.end()));
        answer = c.separator;
        const pf::FileSpec file = spec(c.name);
        MemoryRef workbook = sample::new_workbook(&file);  // the document of the file
        ASSERT_EQ(read_in_format(*format_to_read(file, 0), workbook, file, kLayerGridLines), 0) << c.name;
        MemoryRef layer_read = find_SpreadSheet_item(workbook, 0);
        EXPECT_EQ(get_fileType(workbook), c.code) << c.name;
        ASSERT_EQ(save_workbook_file(layer_read, kWholeWorkbook, spec(c.name), c.code, true, false), 0) << c.name;
        std::vector<uint8_t> written = bytes_of(c.name);
        EXPECT_EQ(std::string(written.begin(), written.end()), c.text) << c.name;
        const int16_t other = c.code == kFormatCsv ? kFormatTabValues : kFormatCsv;
        ASSERT_EQ(save_workbook_file(layer_read, kWholeWorkbook, spec("Other"), other, exists("Other"), false), 0);
        written = bytes_of("Other");
        EXPECT_EQ(std::string(written.begin(), written.end()), c.other_kind) << c.name;
    }
    files_services = saved;
}

// The extension is that of the file's whole name, however long.
TEST_F(FileFormatsTest, ALongNameIsKnownByItsExtension) {
    const std::string stem(66, 'n');
    EXPECT_EQ(format_of_file(stem + ".csv", "a,b\n")->read_as, kCsvFileType);
    EXPECT_EQ(format_of_file(stem + ".tab", "a b\n")->read_as, kTabFileType);
    MemoryRef read = read_file(stem + ".csv");
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(get_fileType(GetWorkSheet(read)), kFormatCsv);
}

// The bytes tell before the name; a text of no known name or type is read
// with its separator asked; what is neither is not read.
TEST_F(FileFormatsTest, ContentsTellBeforeTheName) {
    EXPECT_EQ(format_of_file("Cells.csv", "ID;P\r\nC;Y1;X1;K5\r\nE\r\n")->code, kFormatSylk);
    const FileFormat* plain = format_of_file("Notes", "a;b\n");
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(plain->read_as, kTextType);
    EXPECT_EQ(format_of_file("Picture.png", std::string("\x89PNG\r\n\x1a\n", 8)), nullptr);
    EXPECT_EQ(format_of_file("Empty", ""), nullptr);
}

// The platform knows the program's formats from start-up: the type a save in
// each writes, by name or by the first bytes; formats of other programs'
// files are not guessed.
TEST(FileFormats, ThePlatformGuessesTypesFromTheTable) {
    const unsigned char native[] = {0xFF, 0xFF, 0x04, 0x05};
    EXPECT_EQ(pf::derive_finder_info("x", native, sizeof native).type, kDocumentType);
    for (const char* name : {"a.txt", "a.tab", "a.tsv", "a.csv", "a.slk", "a.sylk"})
        EXPECT_EQ(pf::derive_finder_info(name, nullptr, 0).type, kTextType) << name;
    EXPECT_EQ(pf::derive_finder_info("Sales.xls", nullptr, 0).type, 0u);
    EXPECT_EQ(pf::derive_finder_info("Print.pdf", nullptr, 0).type, 0u);
}

}  // namespace
