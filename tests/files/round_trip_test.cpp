// Whole workbooks saved and opened again come back identical, and a second
// save writes the same bytes.
#include "tests/files/document_fixture.h"

namespace {

TEST_F(DocumentTest, RichWorkbookComesBackIdentical) {
    MemoryRef book = sample::rich_workbook(3);
    std::string before = sample::snapshot(book);
    ASSERT_EQ(save(book, "Rich.qrv"), 0);
    EXPECT_EQ(get_change_ctr(book), 0);
    MemoryRef opened = open("Rich.qrv");
    ASSERT_NE(opened, nullptr);
    EXPECT_EQ(sample::snapshot(opened), before);
    EXPECT_EQ(get_fileType(opened), kFormatNative);
    EXPECT_TRUE(prompts_log::seen.empty());
    EXPECT_GT(bytes_of("Rich.qrv").size(), 2000u);
    EXPECT_EQ(sample::count_cells_of(opened), 3 * 8);
}

TEST_F(DocumentTest, SecondSaveWritesTheSameBytes) {
    MemoryRef book = sample::rich_workbook(2);
    ASSERT_EQ(save(book, "First.qrv"), 0);
    MemoryRef opened = open("First.qrv");
    ASSERT_NE(opened, nullptr);
    ASSERT_EQ(save(opened, "Second.qrv"), 0);
    EXPECT_EQ(bytes_of("First.qrv"), bytes_of("Second.qrv"));
    // Saving over the document in place gives the same bytes again.
    ASSERT_EQ(DoSave(false, find_SpreadSheet_item(opened, 0), kWholeWorkbook), 0);
    EXPECT_EQ(bytes_of("First.qrv"), bytes_of("Second.qrv"));
}

}  // namespace
