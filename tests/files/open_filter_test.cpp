// The Open dialog's filter over a folder of every kind of file, named rightly,
// wrongly and not at all: what is shown, and what each is read as.
#include <map>

#include "files/document_file.h"
#include "files/file_formats.h"
#include "files/open_filter.h"
#include "files/text_exchange.h"
#include "tests/excel/excel_samples.h"
#include "tests/files/document_fixture.h"
#include "tests/files/older_document_builder.h"

namespace {

using built::Bytes;

Bytes text_bytes(const std::string& text) { return Bytes(text.begin(), text.end()); }

class OpenFilterTest : public DocumentTest {
protected:
    void SetUp() override {
        DocumentTest::SetUp();
        Bytes native = built::document(1029, {built::simple_layer("A")});
        Bytes older_native = older::document(1000, {older::full_layer()});
        Bytes excel = biff::compound_file(biff::rich_stream());
        Bytes sylk = text_bytes("ID;PQRV\r\nC;Y1;X1;K5\r\nE\r\n");
        Bytes csv = text_bytes("a,b\n1,2\n");
        Bytes picture = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0, 13};
        // The head of a zipped workbook: its second word reads as version 772.
        Bytes zipped = {'P', 'K', 0x03, 0x04, 0x14, 0x00, 0x08, 0x08, 0x08, 0x00, 0, 0, 0, 0, 0, 0};
        for (const auto& [name, bytes] : std::map<std::string, Bytes>{
                 {"Book.qrv", native},    {"Book.txt", native},    {"Book", native},
                 {"Older.qrv", older_native}, {"Older.dat", older_native},
                 {"Sales.xls", excel},    {"Sales.txt", excel},    {"Sales", excel},
                 {"List.csv", csv},       {"List.tab", csv},       {"List.tsv", csv},  {"List", csv},
                 {"Notes.txt", text_bytes("plain\ttext\n")},
                 {"Cells.sylk", sylk},    {"Cells", sylk},
                 {"Picture.png", picture}, {"Picture", picture}, {"Empty", {}},
                 {"Zipped.xlsx", zipped}, {"Zipped.ods", zipped}})
            write_bytes(name, bytes);
        std::filesystem::create_directory(path("Folder"));
    }

    // The type each item of the folder is read as; absent when the filter hides it.
    std::map<std::string, std::string> shown_items() {
        std::map<std::string, std::string> shown;
        uint32_t folder = 0;
        EXPECT_EQ(pf::folder_id_from_path(this->folder.path, folder), pf::noErr);
        for (int index = 1;; ++index) {
            pf::CatalogInfo info;
            pf::FileSpec item;
            if (pf::get_catalog_info_by_index(pf::kSystemVolume, folder, index, info, &item) != pf::noErr) break;
            std::string name(reinterpret_cast<const char*>(item.name + 1), item.name[0]);
            if (!NavFilterProc(item, info, nullptr)) continue;
            pf::FourCC type = info.finder.type;
            if (!info.is_folder && !CanOpenFile(&item, &type)) ADD_FAILURE() << name;
            shown[name] = info.is_folder ? "folder" : std::string{char(type >> 24), char(type >> 16), char(type >> 8), char(type)};
        }
        return shown;
    }
};

TEST_F(OpenFilterTest, EveryKindIsShownAsWhatItIsWhateverItsName) {
    std::map<std::string, std::string> expected{
        {"Book.qrv", "SH4P"},  {"Book.txt", "SH4P"}, {"Book", "SH4P"},
        {"Older.qrv", "SHIP"}, {"Older.dat", "SHIP"},
        {"Sales.xls", "XLS "}, {"Sales.txt", "XLS "}, {"Sales", "XLS "},
        {"List.csv", "CSV "},  {"List.tab", "TAB "}, {"List.tsv", "TAB "}, {"List", "TEXT"},
        {"Notes.txt", "TEXT"}, {"Cells.sylk", "TEXT"}, {"Cells", "TEXT"},
        {"Folder", "folder"},
    };
    EXPECT_EQ(shown_items(), expected);
}

TEST_F(OpenFilterTest, TypesAloneDecideWithoutAFile) {
    for (pf::FourCC kind : {pf::four_cc("SH4P"), pf::four_cc("SHIP"), pf::four_cc("TEXT"), pf::four_cc("XLS "),
                            pf::four_cc("XLS4"), pf::four_cc("XLS5"), pf::four_cc("XLS8"), pf::four_cc("TAB "),
                            pf::four_cc("CSV ")}) {
        pf::FourCC type = kind;
        EXPECT_TRUE(CanOpenFile(nullptr, &type)) << kind;
        EXPECT_EQ(type, kind);
    }
    pf::FourCC sylk = pf::four_cc("SYLK");
    EXPECT_FALSE(CanOpenFile(nullptr, &sylk));
    // A file typed as text but named as a document is read as a document.
    pf::FourCC text = kTextType;
    pf::FileSpec book = spec("Book.qrv");
    EXPECT_TRUE(CanOpenFile(&book, &text));
    EXPECT_EQ(text, kDocumentType);
}

TEST_F(OpenFilterTest, TextWithoutAnExtensionOpensAsText) {
    EXPECT_EQ(refusal_to_open(spec("List")), 0);
    ASSERT_NE(format_to_read(spec("List"), 0), nullptr);
    EXPECT_EQ(format_to_read(spec("List"), 0)->read_as, kTextType);
    EXPECT_NE(refusal_to_open(spec("Picture")), 0);
    EXPECT_EQ(format_to_read(spec("Empty"), 0), nullptr);
}

// A file of another program is refused at once as a kind not read here, and
// the document reader asks no question about converting it, whatever its
// second word reads as.
TEST_F(OpenFilterTest, OtherProgramsWorkbooksAreNoOlderDocuments) {
    for (const char* name : {"Zipped.xlsx", "Zipped.ods", "Picture.png"}) {
        EXPECT_EQ(refusal_to_open(spec(name)), kUnreadableKindErr) << name;
        prompts_log::seen.clear();
        int16_t result = 0;
        EXPECT_EQ(open(name, &result), nullptr) << name;
        EXPECT_EQ(result, 1) << name;
        for (const std::string& seen : prompts_log::seen) EXPECT_EQ(seen.rfind("ask", 0), std::string::npos) << seen;
    }
    EXPECT_EQ(refusal_to_open(spec("Older.dat")), 0);
    EXPECT_EQ(refusal_to_open(spec("Book.txt")), 0);
}

// Spreadsheets of other programs kept as XML are text, but no text to read
// as lines: they are refused as the zipped ones are, by their first element
// whatever their name, or by their name when that element lies further on.
// Other XML is still read as text.
TEST_F(OpenFilterTest, OtherProgramsSpreadsheetsInXmlAreRefused) {
    const std::string declaration = "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    const std::string flat = declaration +
                             "<office:document xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
                             "office:mimetype=\"application/vnd.oasis.opendocument.spreadsheet\">\n"
                             "<office:body><office:spreadsheet/></office:body></office:document>\n";
    const std::string gnumeric = declaration +
                                 "<gnm:Workbook xmlns:gnm=\"http://www.gnumeric.org/v10.dtd\">\n"
                                 "<gnm:Sheets/></gnm:Workbook>\n";
    const std::string excel_xml = declaration + "<?mso-application progid=\"Excel.Sheet\"?>\n<!-- made by hand -->\n"
                                                "<Workbook xmlns=\"urn:schemas-microsoft-com:office:spreadsheet\"/>\n";
    const std::string commented = declaration + "<!--" + std::string(600, '-') + "-->\n<office:document/>\n";
    // The head of a gzip-compressed Gnumeric workbook.
    const Bytes compressed = {0x1F, 0x8B, 0x08, 0x00, 0, 0, 0, 0, 0x00, 0x03, 0xB5, 0x52, 0x4D, 0x6F};
    for (const auto& [name, bytes] : std::map<std::string, Bytes>{
             {"Flat.fods", text_bytes(flat)}, {"Flat.txt", text_bytes(flat)}, {"Flat", text_bytes(flat)},
             {"Plain.gnumeric", text_bytes(gnumeric)}, {"Plain.csv", text_bytes(gnumeric)},
             {"Compressed.gnumeric", compressed}, {"Sheet.xml", text_bytes(excel_xml)},
             {"Commented.fods", text_bytes(commented)}}) {
        write_bytes(name, bytes);
        EXPECT_EQ(format_to_read(spec(name), 0), nullptr) << name;
        EXPECT_EQ(refusal_to_open(spec(name)), kUnreadableKindErr) << name;
        int16_t result = 0;
        EXPECT_EQ(open(name, &result), nullptr) << name;
        EXPECT_EQ(result, 1) << name;
    }
    for (const auto& [name, text] : std::map<std::string, std::string>{
             {"Rows.xml", declaration + "<rows><row>1</row></rows>\n"}, {"Tags.csv", "<Workbook,2\n"},
             {"Commented.xml", commented}}) {
        write_bytes(name, text_bytes(text));
        EXPECT_EQ(refusal_to_open(spec(name)), 0) << name;
    }
}

}  // namespace
