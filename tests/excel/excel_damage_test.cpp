// Damaged workbooks: every truncation of a workbook stream and of its
// compound file, and thousands of random byte changes, are refused with
// error 1003 and nothing made, or read into sound layers; never a crash.
#include <random>

#include "tests/excel/excel_fixture.h"
#include "tests/excel/excel_samples.h"

namespace {

using biff::Body;
using biff::Record;
using biff::Sheet;
using biff::Tokens;

class ExcelDamageTest : public ExcelTest {
protected:
    int read_whole = 0;

    // Reads the bytes into a workbook of its own: refused with nothing made,
    // or read into layers whose cell stores are sound.
    void read_damaged(const std::vector<uint8_t>& file) {
        MemoryRef book = make_workbook("Damaged", 1);
        MemoryRef first = add_layer(book);
        int16_t result = read_excel_bytes(file, first, nullptr);
        if (result != 0) {
            EXPECT_TRUE(result == kExcelUnreadableErr || result == kExcelPasswordNote) << result;
            EXPECT_EQ(num_SpreadSheets(book), 1);
            uint8_t* cell = nullptr;
            int16_t length = 0;
            EXPECT_EQ(get_cell_ptr(&cell, &length, CellPoint{0, 0}, first), 0);
        } else {
            for (int16_t i = 0; i < num_SpreadSheets(book); ++i)
                EXPECT_TRUE(store_is_sound(GetSpreadSheetCells(find_SpreadSheet_item(book, i))));
            if (++read_whole % 10 == 0) {
                ResetWorkbookCalc(book);
                calculate_workbook(book, kNoTickLimit);
            }
        }
        DisposeWorkSheet(book);
    }
};

TEST_F(ExcelDamageTest, TheUndamagedWorkbookReadsWhole) {
    ASSERT_EQ(import(biff::compound_file(biff::rich_stream())), 0);
    EXPECT_EQ(layers(), 2);
    EXPECT_EQ(text_at(0, 2, 0), "dritte");
    EXPECT_EQ(text_at(0, 3, 0), "<not text>");
    EXPECT_EQ(notes.unconverted_formulas, 0);
    recalculate();
    EXPECT_EQ(number_at(0, 1, 1), 50);
    EXPECT_EQ(number_at(0, 4, 1), 3);
}

TEST_F(ExcelDamageTest, EveryTruncationOfTheStreamIsRefusedWhole) {
    std::vector<uint8_t> stream = biff::rich_stream();
    for (size_t length = 0; length < stream.size(); ++length) {
        read_damaged(biff::compound_file(std::vector<uint8_t>(stream.begin(), stream.begin() + std::ptrdiff_t(length))));
        if (HasFailure()) {
            ADD_FAILURE() << "at length " << length;
            return;
        }
    }
}

TEST_F(ExcelDamageTest, EveryTruncationOfTheCompoundFileIsRefused) {
    std::vector<uint8_t> file = biff::compound_file(biff::rich_stream());
    for (size_t length = 0; length < file.size(); length += 7) {
        read_damaged(std::vector<uint8_t>(file.begin(), file.begin() + std::ptrdiff_t(length)));
        if (HasFailure()) {
            ADD_FAILURE() << "at length " << length;
            return;
        }
    }
}

TEST_F(ExcelDamageTest, RandomByteChangesAreRefusedOrReadSoundly) {
    std::vector<uint8_t> stream = biff::rich_stream();
    std::vector<uint8_t> file = biff::compound_file(stream);
    std::mt19937 random(2029);
    for (int round = 0; round < 10000; ++round) {
        // The container damaged, the stream read bare, or the stream damaged in a sound container.
        int kind = round % 4;
        std::vector<uint8_t> damaged = kind == 0 ? file : stream;
        int changes = 1 + int(random() % 4);
        for (int i = 0; i < changes; ++i) damaged[random() % damaged.size()] = uint8_t(random());
        read_damaged(kind < 2 ? damaged : biff::compound_file(damaged));
        if (HasFailure()) {
            ADD_FAILURE() << "in round " << round;
            return;
        }
    }
    EXPECT_GT(read_whole, 0);
}

}  // namespace

namespace {

// Thousands of overlapping ranges over thousands of cells: the merged-range
// filter gives up its work at a bound instead of holding up the reading.
TEST_F(ExcelDamageTest, OverlappingMergedRangesDoNotHoldUpReading) {
    Sheet sheet{"M", {}};
    for (uint16_t row = 0; row < 5000; ++row) sheet.records.push_back(biff::number(row, 1, row));
    for (int record = 0; record < 5; ++record) {
        Body merges;
        merges.u16(1000);
        for (int i = 0; i < 1000; ++i) merges.u16(0).u16(0xFFFF).u16(0).u16(0xFF);
        sheet.records.push_back({0x00E5, merges.v});
    }
    ASSERT_EQ(import8({}, {sheet}), 0);
    EXPECT_EQ(cell_at(0, 0, 1), nullptr);  // the first cells looked at are hidden as they should be
}

}  // namespace
