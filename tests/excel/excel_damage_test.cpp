// Damaged workbooks: every truncation of a workbook stream and of its
// compound file, and thousands of random byte changes, are refused with
// error 1003 and nothing made, or read into sound layers; never a crash.
#include <random>

#include "tests/excel/excel_fixture.h"

namespace {

using biff::Body;
using biff::Record;
using biff::Sheet;
using biff::Tokens;

// A workbook with something of every record the filter reads.
std::vector<uint8_t> rich_stream() {
    Body head;
    head.u32(3).u32(3).text8("first").u16(6).u8(0).raw("sec");
    Body rest;
    rest.u8(1).u16('o').u16(0x00FC).u16('d');
    rest.wide8(u"dritte");
    Record font{0x0031, Body().u16(200).u16(2).u16(0x7FFF).u16(700).u16(0).u8(1).u8(0).u8(0).u8(0).text8("Times", true).v};
    auto xf = [](uint16_t format) {
        return Record{0x00E0, Body().u16(0).u16(format).u16(1).u8(0x0A).u8(0).u8(0).u8(0).u32(0x1122).u32(0).u16(0).v};
    };
    Record format{0x041E, Body().u16(164).text8("yyyy-mm-dd").v};
    Record supbook{0x01AE, Body().u16(2).u16(0x0401).v};
    Record externsheet{0x0017, Body().u16(1).u16(0).u16(1).u16(1).v};
    std::vector<uint8_t> range = Body().u8(0x3B).u16(0).u16(0).u16(1).u16(0).u16(0).v;
    Record name{0x0018, Body().u16(0).u8(0).u8(4).u16(uint16_t(range.size())).u16(0).u16(0).u32(0).u8(0).raw("Area")
                            .raw(range).v};
    std::vector<uint8_t> shared = Body().u8(0x2C).u16(0).u16(uint16_t(0xC000 | 0xFF)).u8(0x1E).u16(10).u8(0x05).v;
    std::vector<uint8_t> exp = Body().u8(0x01).u16(0).u16(1).v;
    std::vector<uint8_t> three_d = Body().u8(0x3A).u16(0).u16(0).u16(0xC000).v;
    Sheet first{"One", {
        biff::number(0, 0, 1.25, 1), biff::rk(1, 0, (5u << 2) | 2), biff::label_sst(2, 0, 2),
        {0x00BD, Body().u16(3).u16(0).u16(0).u32((7u << 2) | 2).u16(2).u32(0x3FF00000).u16(1).v},
        biff::boolerr(4, 0, 1, false), biff::boolerr(5, 0, 0x2A, true),
        biff::formula(0, 1, exp, 12.5), {0x04BC, Body().u16(0).u16(1).u8(1).u8(1).u16(0).u16(uint16_t(shared.size()))
                                             .raw(shared).v},
        biff::formula(1, 1, exp, 50),
        biff::formula(2, 1, Tokens().area(0, 0, 1, 0).funcvar(4, 1).ref(0, 0).op(0x08).str("x").op(0x0B).v(), 0),
        biff::formula_marked(3, 1, Tokens().str("t").v(), 0, 0), {0x0207, Body().text8("t").v},
        biff::formula(4, 1, three_d, 3),
        {0x007D, Body().u16(0).u16(3).u16(3000).u16(0).u16(0).u16(0).v},
        {0x0208, Body().u16(2).u16(0).u16(2).u16(400).u16(0).u16(0).u32(0).v},
        {0x00E5, Body().u16(1).u16(6).u16(7).u16(0).u16(1).v},
        {0x0012, Body().u16(1).v},
    }};
    Sheet second{"Two", {biff::number(0, 0, 3), {0x0204, Body().cell(1, 0).wide8(u"\u00e9t\u00e9").v}}};
    return biff::workbook(true, {{0x0042, Body().u16(1200).v}, {0x0022, Body().u16(0).v}, font, font, font, font, font,
                                 format, xf(0), xf(164), xf(14), supbook, externsheet, name,
                                 {biff::kSst, head.v}, {biff::kContinue, rest.v}},
                          {first, second});
}

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
            if (++read_whole % 10 == 0) recalculate_workbook(book);
        }
        DisposeWorkSheet(book);
    }
};

TEST_F(ExcelDamageTest, TheUndamagedWorkbookReadsWhole) {
    ASSERT_EQ(import(biff::compound_file(rich_stream())), 0);
    EXPECT_EQ(layers(), 2);
    EXPECT_EQ(text_at(0, 2, 0), "dritte");
    EXPECT_EQ(text_at(0, 3, 0), "<not text>");
    EXPECT_EQ(notes.unconverted_formulas, 0);
    recalculate();
    EXPECT_EQ(number_at(0, 1, 1), 50);
    EXPECT_EQ(number_at(0, 4, 1), 3);
}

TEST_F(ExcelDamageTest, EveryTruncationOfTheStreamIsRefusedWhole) {
    std::vector<uint8_t> stream = rich_stream();
    for (size_t length = 0; length < stream.size(); ++length) {
        read_damaged(biff::compound_file(std::vector<uint8_t>(stream.begin(), stream.begin() + std::ptrdiff_t(length))));
        if (HasFailure()) {
            ADD_FAILURE() << "at length " << length;
            return;
        }
    }
}

TEST_F(ExcelDamageTest, EveryTruncationOfTheCompoundFileIsRefused) {
    std::vector<uint8_t> file = biff::compound_file(rich_stream());
    for (size_t length = 0; length < file.size(); length += 7) {
        read_damaged(std::vector<uint8_t>(file.begin(), file.begin() + std::ptrdiff_t(length)));
        if (HasFailure()) {
            ADD_FAILURE() << "at length " << length;
            return;
        }
    }
}

TEST_F(ExcelDamageTest, RandomByteChangesAreRefusedOrReadSoundly) {
    std::vector<uint8_t> stream = rich_stream();
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
