// The document that the whole-program display test opens
// (tests/app/data/display_sample.qrv): the formatted sample sheet with a
// formula whose result is not yet calculated. Rewritten when
// QUORVIN_UPDATE_GOLDEN is set; otherwise checked to open with its cells.
#include <cstdlib>

#include "files/document_file.h"
#include "files/document_saving.h"
#include "platform/files/files.h"
#include "sheet_fixture.h"

namespace {

using SampleDocumentTest = SheetTest;

std::string sample_path() { return std::string(QUORVIN_SOURCE_DIR) + "/tests/app/data/display_sample.qrv"; }

TEST_F(SampleDocumentTest, DisplaySampleOpensWithItsCellsAndAnUncalculatedFormula) {
    if (std::getenv("QUORVIN_UPDATE_GOLDEN")) {
        fill_formatted_sheet();
        fill_borders();
        put_formula(1, 6, "=\"Calculated \"&\"result\"");
        pf::FileSpec target;
        std::remove(sample_path().c_str());
        ASSERT_EQ(pf::file_spec_from_path(sample_path(), target), pf::kFileNotFoundErr);
        ASSERT_EQ(save_workbook_file(layer, kWholeWorkbook, target, kFormatNative, false, false), 0);
    }
    pf::FileSpec from;
    ASSERT_EQ(pf::file_spec_from_path(sample_path(), from), pf::noErr);
    MemoryRef book = make_workbook("display_sample.qrv", 1);
    ASSERT_EQ(Read_File(book, from, Get_fileinfo(book)), 0);
    MemoryRef opened = find_SpreadSheet_item(book, 0);
    uint8_t* cell = nullptr;
    int16_t length = 0;
    ASSERT_TRUE(get_cell_ptr(&cell, &length, CellPoint{0, 0}, opened));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(_formulaPtr_(cell)), size_t(_formulaLength_(cell))),
              "Left text spills over empty cells");
    ASSERT_TRUE(get_cell_ptr(&cell, &length, CellPoint{1, 6}, opened));
    EXPECT_EQ(_resultType_(cell), kResultNone);
    uint8_t* column = FindColumnFormatID(GetSpreadSheetColumnFormats(opened), 7);
    ASSERT_NE(column, nullptr);
    EXPECT_EQ(column[kFmtPatternFore], sample_colours::kGreen);
    UnuseMemory(GetSpreadSheetColumnFormats(opened));
    close_document_file(book);
    DisposeWorkSheet(book);
}

}  // namespace
