// Reading an Excel workbook from a file: what is told to the user, and files
// that are not workbooks or need a password.
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "files/document_prompts.h"
#include "files/file_formats.h"
#include "tests/excel/excel_fixture.h"
#include "tests/excel/excel_samples.h"

namespace {

// Whether the Open command and the converter read the file as an Excel workbook.
bool read_as_excel(const pf::FileSpec& spec) {
    const FileFormat* format = format_to_read(spec, 0);
    return format && format->reader == FormatReader::excel;
}

using biff::Body;
using biff::Sheet;

std::vector<int16_t> told;
std::vector<std::vector<std::string>> told_figures;  // of each note told, none for a note without
std::vector<int16_t> file_errors;

void remember_tell(int16_t list, int16_t index) {
    told.push_back(list == kExcelStrings ? index : int16_t(-index));
    told_figures.emplace_back();
}
void remember_figures(int16_t list, int16_t index, const std::vector<std::string>& figures) {
    remember_tell(list, index);
    told_figures.back() = figures;
}
void remember_error(int16_t error) { file_errors.push_back(error); }
int16_t answer_ok(int16_t, int16_t) { return kAnswerOK; }
int16_t no_password(const uint8_t*) { return 0; }

class ExcelFileTest : public ExcelTest {
protected:
    std::filesystem::path folder;
    DocumentPrompts saved;

    void SetUp() override {
        ExcelTest::SetUp();
        char pattern[] = "/tmp/quorvin-excel-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder = pattern;
        saved = document_prompts;
        document_prompts = DocumentPrompts{.ask = answer_ok,
                                           .tell = remember_tell,
                                           .file_error = remember_error,
                                           .password = no_password,
                                           .tell_figures = remember_figures};
        told.clear();
        told_figures.clear();
        file_errors.clear();
    }
    void TearDown() override {
        document_prompts = saved;
        std::filesystem::remove_all(folder);
        ExcelTest::TearDown();
    }

    pf::FileSpec write(const std::string& name, const std::vector<uint8_t>& bytes) {
        std::ofstream((folder / name).string(), std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        pf::FileSpec spec;
        EXPECT_EQ(pf::file_spec_from_path((folder / name).string(), spec), 0);
        return spec;
    }

    int16_t read(const pf::FileSpec& spec) { return ReadExcelFile(spec, Get_fileinfo(workbook), layer); }
};

TEST_F(ExcelFileTest, AWorkbookIsReadAndWhatWasLostIsTold) {
    std::vector<uint8_t> tokens = biff::Tokens().integer(4).funcvar(354, 1).v();  // ROMAN: not a function here
    Sheet sheet{"S", {biff::formula(0, 0, tokens, 0), {0x0204, Body().cell(1, 0).wide8(u"\u0e17").v},
                      biff::number(40000, 0, 1)}};
    pf::FileSpec spec = write("Book.xls", biff::compound_file(biff::workbook(true, {}, {sheet})));
    EXPECT_TRUE(read_as_excel(spec));
    EXPECT_EQ(read(spec), 0);
    EXPECT_EQ(told, (std::vector<int16_t>{kExcelFormulasNote, kExcelCharactersNote, kExcelBeyondGridNote}));
    // The note of formulas names their cells and the functions that stopped them.
    EXPECT_EQ(told_figures.front(), std::vector<std::string>{"A1: ROMAN"});
    EXPECT_TRUE(file_errors.empty());
}

// A workbook stream on disk without its container, and a BIFF4 worksheet file.
TEST_F(ExcelFileTest, BareStreamFilesAreRead) {
    pf::FileSpec spec = write("Bare.xls", biff::workbook(true, {}, {Sheet{"Bare", {biff::number(0, 0, 4)}}}));
    ASSERT_EQ(read(spec), 0);
    EXPECT_EQ(number_at(0, 0, 0), 4);
    std::vector<uint8_t> biff4;
    biff::append(biff4, {0x0409, Body().u16(0).u16(0x0010).u16(0).v});
    biff::append(biff4, {0x0204, Body().cell(0, 1).text5("four").v});
    biff::append(biff4, {biff::kEof, {}});
    ASSERT_EQ(read(write("Four.xls", biff4)), 0);
    EXPECT_EQ(text_at(0, 0, 1), "four");
    EXPECT_TRUE(file_errors.empty());
}

// The container on disk is read in place: cut short anywhere, it is refused.
TEST_F(ExcelFileTest, ACompoundFileCutShortOnDiskIsRefused) {
    std::vector<uint8_t> whole = biff::formula_grid(40);
    for (size_t length : {size_t(8), size_t(512), size_t(1536), whole.size() / 2, whole.size() - 1}) {
        std::vector<uint8_t> cut(whole.begin(), whole.begin() + std::ptrdiff_t(length));
        EXPECT_EQ(read(write("Cut.xls", cut)), kExcelUnreadableErr) << length;
        EXPECT_EQ(layers(), 1);
        EXPECT_EQ(cell_at(0, 0, 0), nullptr);
    }
    ASSERT_EQ(read(write("Whole.xls", whole)), 0);
    EXPECT_EQ(number_at(0, 39, 7), 39 * 0.5 + 7);
}

TEST_F(ExcelFileTest, CutTextsAndNamesLeftOutAreTold) {
    std::vector<uint8_t> range = Body().u8(0x3B).u16(0).u16(5).u16(2).u16(0).u16(0).v;  // rows 6 to 3
    biff::Record name{0x0018, Body().u16(0).u8(0).u8(4).u16(uint16_t(range.size())).u16(0).u16(0).u32(0).u8(0)
                                  .raw("Back").raw(range).v};
    biff::Record supbook{0x01AE, Body().u16(1).u16(0x0401).v};
    biff::Record externsheet{0x0017, Body().u16(1).u16(0).u16(0).u16(0).v};
    std::vector<biff::Record> globals{supbook, externsheet, name};
    std::string text(40000, 't');
    Body label = Body().cell(0, 0).u16(uint16_t(text.size())).u8(0).raw(text.substr(0, 8000));
    Sheet sheet{"S", {{0x0204, label.v}}};
    for (size_t at = 8000; at < text.size(); at += 8000)
        sheet.records.push_back({biff::kContinue, Body().u8(0).raw(text.substr(at, 8000)).v});
    EXPECT_EQ(read(write("Long.xls", biff::compound_file(biff::workbook(true, globals, {sheet})))), 0);
    EXPECT_EQ(told, (std::vector<int16_t>{kExcelTextsCutNote, kExcelNamesDroppedNote}));
}

TEST_F(ExcelFileTest, AProtectedWorkbookIsRefusedWithACaution) {
    std::vector<uint8_t> stream = biff::workbook(true, {{0x002F, Body().u16(0).v}}, {Sheet{"S", {biff::number(0, 0, 1)}}});
    EXPECT_NE(read(write("Secret.xls", biff::compound_file(stream))), 0);
    EXPECT_EQ(told, std::vector<int16_t>{kExcelPasswordNote});
    EXPECT_TRUE(file_errors.empty());
    EXPECT_EQ(cell_at(0, 0, 0), nullptr);
}

TEST_F(ExcelFileTest, OtherFilesNamedAsWorkbooksAreRefusedWithError1003) {
    pf::FileSpec spec = write("Notes.xls", std::vector<uint8_t>(600, 'x'));
    EXPECT_TRUE(read_as_excel(spec));  // by its name
    EXPECT_FALSE(read_as_excel(write("Notes.txt", std::vector<uint8_t>(600, 'x'))));
    EXPECT_EQ(read(spec), kExcelUnreadableErr);
    EXPECT_EQ(file_errors, std::vector<int16_t>{kExcelUnreadableErr});
    EXPECT_EQ(layers(), 1);
}

TEST_F(ExcelFileTest, AFilePastTheLimitIsRefusedUnread) {
    pf::FileSpec spec = write("Huge.xls", std::vector<uint8_t>(8, 0));
    std::filesystem::resize_file(folder / "Huge.xls", std::uintmax_t(300) << 20);
    EXPECT_EQ(read(spec), pf::kFileTooLongErr);
    EXPECT_EQ(file_errors, std::vector<int16_t>{pf::kFileTooLongErr});
    EXPECT_EQ(layers(), 1);
}

}  // namespace
