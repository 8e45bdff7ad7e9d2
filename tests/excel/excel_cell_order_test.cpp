// Cells stored as a sheet's records are read: random sheets written in order
// or not, with cells written twice, empty cells with and without a format
// that shows, cells past the grid and merged ranges, against a model of what
// the layer must hold; and damage found only while the cells are stored.
#include <map>
#include <random>

#include "model/named_ranges.h"
#include "platform/memory/memory.h"
#include "tests/excel/excel_fixture.h"
#include "tests/excel/excel_samples.h"

namespace {

using biff::Body;
using biff::Record;
using biff::Sheet;
using biff::Tokens;

class ExcelCellOrderTest : public ExcelTest {
protected:
    MemoryRef book = nullptr;
    MemoryRef first = nullptr;
    ImportReport losses;

    void TearDown() override {
        if (book) DisposeWorkSheet(book);
        ExcelTest::TearDown();
    }

    // Reads the file into a workbook of its own.
    int16_t read_fresh(const std::vector<uint8_t>& file) {
        if (book) DisposeWorkSheet(book);
        book = make_workbook("Order", 1);
        first = add_layer(book);
        losses = {};
        return read_excel_bytes(file, first, &losses);
    }

    const uint8_t* cell_of(MemoryRef at, int16_t row, int16_t column) {
        uint8_t* cell = nullptr;
        int16_t length = 0;
        return get_cell_ptr(&cell, &length, CellPoint{row, column}, at) ? cell : nullptr;
    }

    static size_t cells_in(MemoryRef store) {
        const auto* start = static_cast<const uint8_t*>(UseMemory(store));
        const uint8_t* end = start + GetByteSize(store);
        size_t count = 0;
        for (const uint8_t* row = start; row < end; row += _RowLength_(row))
            for (const uint8_t* cell = row + kRowHeaderSize; cell < row + _RowLength_(row); cell += _cellLength_(cell))
                ++count;
        UnuseMemory(store);
        return count;
    }
};

// XF 0 general, XF 1 with a bottom border: an empty cell of XF 1 is kept.
std::vector<Record> globals_with_border(const std::vector<std::string>& strings) {
    Record font{0x0031, Body().u16(200).u16(0).u16(0x7FFF).u16(400).u16(0).u8(0).u8(0).u8(0).u8(0).text8("Arial", true).v};
    auto xf = [](uint32_t borders) {
        return Record{0x00E0, Body().u16(0).u16(0).u16(0x0001).u8(0).u8(0).u8(0).u8(0).u32(borders).u32(0).u16(0).v};
    };
    Body sst;
    sst.u32(uint32_t(strings.size())).u32(uint32_t(strings.size()));
    for (const std::string& s : strings) sst.text8(s);
    return {font, xf(0), xf(0x1000), {biff::kSst, sst.v}};
}

struct Expected {
    char kind;  // 'n' number, 't' text, 'f' only a format
    double number = 0;
    std::string text;
};
using Grid = std::map<std::pair<int, int>, Expected>;

// One random sheet: its records and what the layer must hold after them.
struct RandomSheet {
    std::vector<Record> records;
    Grid expected;
    int beyond_grid = 0;
};

RandomSheet random_sheet(std::mt19937& random, const std::vector<std::string>& strings) {
    RandomSheet out;
    auto pick = [&random](int n) { return int(random() % unsigned(n)); };
    std::vector<std::pair<Record, std::vector<std::pair<std::pair<int, int>, Expected>>>> writes;
    const bool in_order = pick(2) == 0;
    const int count = 20 + pick(120);
    for (int i = 0; i < count; ++i) {
        uint16_t row = uint16_t(in_order ? i / 6 * 2 : pick(40));
        uint16_t column = uint16_t(in_order ? i % 6 * 2 : pick(12));
        if (in_order ? i == count - 1 : pick(25) == 0) row = uint16_t(kLastCell + 1 + pick(100));
        std::pair<int, int> at{row, column};
        switch (pick(5)) {
        case 0: {
            double value = pick(1000) / 8.0;
            writes.push_back({biff::number(row, column, value), {{at, {'n', value, {}}}}});
            break;
        }
        case 1: {
            int value = pick(5000) - 2500;
            writes.push_back({biff::rk(row, column, uint32_t(value) << 2 | 2), {{at, {'n', double(value), {}}}}});
            break;
        }
        case 2: {
            uint32_t index = uint32_t(pick(int(strings.size())));
            writes.push_back({biff::label_sst(row, column, index), {{at, {'t', 0, strings[index]}}}});
            break;
        }
        case 3: {
            uint16_t xf = uint16_t(pick(2));
            Record blank{0x0201, Body().cell(row, column, xf).v};
            writes.push_back({blank, {}});
            if (xf == 1) writes.back().second.push_back({at, {'f', 0, {}}});
            break;
        }
        default: {  // a run of two numbers
            Body run;
            run.u16(row).u16(column);
            int a = pick(100), b = pick(100);
            run.u16(0).u32(uint32_t(a) << 2 | 2).u16(0).u32(uint32_t(b) << 2 | 2).u16(uint16_t(column + 1));
            writes.push_back({{0x00BD, run.v}, {{at, {'n', double(a), {}}}, {{row, column + 1}, {'n', double(b), {}}}}});
            break;
        }
        }
    }
    if (!in_order) std::shuffle(writes.begin(), writes.end(), random);
    for (const auto& [record, cells] : writes) {
        out.records.push_back(record);
        for (const auto& [at, expected] : cells) {
            if (!cell_in_grid(at.first, at.second)) {
                ++out.beyond_grid;
                continue;
            }
            out.expected[at] = expected;
        }
    }
    for (int merges = pick(3); merges > 0; --merges) {
        uint16_t top = uint16_t(pick(40)), left = uint16_t(pick(12));
        uint16_t bottom = uint16_t(top + pick(4)), right = uint16_t(left + pick(3));
        out.records.push_back({0x00E5, Body().u16(1).u16(top).u16(bottom).u16(left).u16(right).v});
        for (auto at = out.expected.begin(); at != out.expected.end();) {
            auto [row, column] = at->first;
            bool hidden = row >= top && row <= bottom && column >= left && column <= right &&
                          !(row == top && column == left);
            at = hidden ? out.expected.erase(at) : std::next(at);
        }
    }
    return out;
}

TEST_F(ExcelCellOrderTest, RandomSheetsHoldTheLastWrittenCellsOutsideMergedRanges) {
    const std::vector<std::string> strings{"alpha", "beta", "gamma"};
    std::mt19937 random(4711);
    for (int round = 0; round < 60; ++round) {
        RandomSheet sheet = random_sheet(random, strings);
        ASSERT_EQ(read_fresh(biff::compound_file(biff::workbook(true, globals_with_border(strings),
                                                                {Sheet{"R", sheet.records}}))),
                  0)
            << "round " << round;
        MemoryRef store = GetSpreadSheetCells(first);
        ASSERT_TRUE(store_is_sound(store)) << "round " << round;
        EXPECT_EQ(cells_in(store), sheet.expected.size()) << "round " << round;
        EXPECT_EQ(losses.cells_beyond_grid, sheet.beyond_grid) << "round " << round;
        for (const auto& [at, expected] : sheet.expected) {
            const uint8_t* cell = cell_of(first, int16_t(at.first), int16_t(at.second));
            ASSERT_NE(cell, nullptr) << "round " << round << " at " << at.first << "," << at.second;
            switch (expected.kind) {
            case 'n':
                ASSERT_EQ(_cellType_(cell), kCellConstant);
                EXPECT_EQ(load_f64(_formulaPtr_(cell)), expected.number) << "round " << round;
                break;
            case 't':
                ASSERT_EQ(_cellType_(cell), kCellText);
                EXPECT_EQ(std::string(reinterpret_cast<const char*>(_formulaPtr_(cell)), size_t(_formulaLength_(cell))),
                          expected.text);
                break;
            default: EXPECT_EQ(_cellType_(cell), kCellFormatOnly); break;
            }
        }
    }
}

// A formula whose tokens are cut short is found only as the cells are stored,
// on the second sheet: the read is refused with the layers as they were.
TEST_F(ExcelCellOrderTest, DamagedFormulaTokensLeaveTheLayersAsTheyWere) {
    const std::vector<Record> name =
        biff::name_of_range(2, "Area", Body().u8(0x3B).u16(0).u16(0).u16(1).u16(0).u16(0).v);
    Sheet whole{"Whole", {biff::number(0, 0, 1), biff::formula(0, 1, Tokens().ref(0, 0).v(), 1)}};
    Sheet damaged{"Damaged", {biff::number(0, 0, 2), biff::formula(0, 1, Tokens().ref(0, 0).op(0x03).v(), 2)}};
    const std::vector<uint8_t> file = biff::compound_file(biff::workbook(true, name, {whole, damaged}));

    ASSERT_EQ(read_fresh(file), kExcelUnreadableErr);
    EXPECT_EQ(num_SpreadSheets(book), 1);
    EXPECT_EQ(cell_of(first, 0, 0), nullptr);
    EXPECT_EQ(Get_rangeinfo(first), nullptr);

    // The same workbook with its formula whole reads, the name with it.
    damaged.records[1] = biff::formula(0, 1, Tokens().ref(0, 0).integer(1).op(0x03).v(), 3);
    ASSERT_EQ(read_fresh(biff::compound_file(biff::workbook(true, name, {whole, damaged}))), 0);
    EXPECT_EQ(num_SpreadSheets(book), 2);
    EXPECT_NE(Get_rangeinfo(first), nullptr);
}

// Sheets lying in the reverse of their order, their cells out of order and
// written twice, a shared string and a formula's text result continued past
// their records, and a merged range: read bare and in a compound file alike.
TEST_F(ExcelCellOrderTest, ReorderedSheetsKeepContinuedTextsAndMergedRanges) {
    const std::string long_text(30, 'w');
    const std::vector<uint8_t> stream = biff::reordered_stream();
    for (const std::vector<uint8_t>& file : {stream, biff::compound_file(stream)}) {
        ASSERT_EQ(read_fresh(file), 0);
        ASSERT_EQ(num_SpreadSheets(book), 2);
        MemoryRef later = find_SpreadSheet_item(book, 0), earlier = find_SpreadSheet_item(book, 1);
        auto number = [&](MemoryRef at, int16_t row, int16_t column) {
            const uint8_t* cell = cell_of(at, row, column);
            return cell && _cellType_(cell) == kCellConstant ? load_f64(_formulaPtr_(cell)) : -1.0;
        };
        auto text = [&](MemoryRef at, int16_t row, int16_t column) {
            const uint8_t* cell = cell_of(at, row, column);
            if (!cell) return std::string("<none>");
            if (_cellType_(cell) == kCellFormula)
                return std::string(reinterpret_cast<const char*>(_resultPtr_(cell)), size_t(_resultLength_(cell)));
            return std::string(reinterpret_cast<const char*>(_formulaPtr_(cell)), size_t(_formulaLength_(cell)));
        };
        EXPECT_EQ(number(later, 0, 0), 3);
        EXPECT_EQ(cell_of(later, 0, 1), nullptr);  // an empty cell of no visible format
        EXPECT_EQ(text(later, 2, 1), long_text);
        EXPECT_EQ(number(later, 9, 3), 6.5);       // the last written
        EXPECT_EQ(text(later, 5, 0), long_text);
        EXPECT_EQ(number(later, 1, 3), 8);
        EXPECT_EQ(cell_of(later, 1, 0), nullptr);  // under the merged range
        EXPECT_EQ(cell_of(later, 1, 2), nullptr);
        EXPECT_EQ(cells_in(GetSpreadSheetCells(later)), size_t(5));
        EXPECT_EQ(number(earlier, 3, 3), 1);
        EXPECT_EQ(number(earlier, 0, 0), 2);
        EXPECT_EQ(text(earlier, 0, 1), long_text);
        EXPECT_TRUE(store_is_sound(GetSpreadSheetCells(later)));
        EXPECT_TRUE(store_is_sound(GetSpreadSheetCells(earlier)));
    }
}

// Sheets of many cells, one of them out of order, lying in the stream in the
// reverse of their order: every cell of each is read whole, though the bytes
// of the stream are let go of as they are read.
TEST_F(ExcelCellOrderTest, LargeSheetsInAnyPlaceOfTheStreamAreReadWhole) {
    constexpr uint16_t kRows = 4000, kColumns = 8;
    auto value = [](int sheet, int row, int column) { return sheet * 1e6 + row * 10 + column + 0.5; };
    std::vector<Sheet> sheets;
    for (int s = 0; s < 3; ++s) {
        Sheet sheet{"S" + std::to_string(s), {}};
        for (uint16_t r = 0; r < kRows; ++r)
            for (uint16_t c = 0; c < kColumns; ++c) {
                uint16_t row = s == 1 ? uint16_t(kRows - 1 - r) : r;  // the second sheet from its last row up
                sheet.records.push_back(biff::number(row, c, value(s, row, c)));
            }
        sheets.push_back(sheet);
    }
    const std::vector<uint8_t> stream = biff::workbook(true, {}, sheets, true);
    ASSERT_GT(stream.size(), size_t(1) << 20);
    ASSERT_EQ(read_fresh(biff::compound_file(stream)), 0);
    ASSERT_EQ(num_SpreadSheets(book), 3);
    for (int s = 0; s < 3; ++s) {
        MemoryRef at = find_SpreadSheet_item(book, int16_t(s));
        ASSERT_TRUE(store_is_sound(GetSpreadSheetCells(at))) << s;
        EXPECT_EQ(cells_in(GetSpreadSheetCells(at)), size_t(kRows) * kColumns) << s;
        for (int16_t r = 0; r < kRows; r += 7)
            for (int16_t c = 0; c < kColumns; ++c) {
                const uint8_t* cell = cell_of(at, r, c);
                ASSERT_NE(cell, nullptr) << s << " " << r << "," << c;
                ASSERT_EQ(load_f64(_formulaPtr_(cell)), value(s, r, c)) << s << " " << r << "," << c;
            }
    }
}

// A damaged workbook whose first sheet names the place of its third: the
// bytes of a place still to be read are kept however much is let go of
// before it, so both layers hold the third sheet whole.
TEST_F(ExcelCellOrderTest, TwoSheetsAtOnePlaceOfALargeStreamAreBothReadWhole) {
    constexpr uint16_t kRows = 3000, kColumns = 8;
    auto value = [](int sheet, int row, int column) { return sheet * 1e6 + row * 10 + column + 0.25; };
    std::vector<Sheet> sheets;
    for (int s = 0; s < 3; ++s) {
        Sheet sheet{"S" + std::to_string(s), {}};
        for (uint16_t r = 0; r < kRows; ++r)
            for (uint16_t c = 0; c < kColumns; ++c) sheet.records.push_back(biff::number(r, c, value(s, r, c)));
        sheets.push_back(sheet);
    }
    std::vector<uint8_t> stream = biff::workbook(true, {}, sheets);
    std::vector<size_t> places;  // of the BOUNDSHEET offsets
    for (size_t at = 0; at + 4 <= stream.size(); at += 4 + size_t(stream[at + 2] | stream[at + 3] << 8))
        if ((stream[at] | stream[at + 1] << 8) == biff::kBoundSheet) places.push_back(at + 4);
    ASSERT_EQ(places.size(), size_t(3));
    std::memcpy(stream.data() + places[0], stream.data() + places[2], 4);
    ASSERT_EQ(read_fresh(biff::compound_file(stream)), 0);
    ASSERT_EQ(num_SpreadSheets(book), 3);
    const int read_from[] = {2, 1, 2};
    for (int s = 0; s < 3; ++s) {
        MemoryRef at = find_SpreadSheet_item(book, int16_t(s));
        EXPECT_EQ(cells_in(GetSpreadSheetCells(at)), size_t(kRows) * kColumns) << s;
        for (int16_t r = 0; r < kRows; r += 5)
            for (int16_t c = 0; c < kColumns; ++c) {
                const uint8_t* cell = cell_of(at, r, c);
                ASSERT_NE(cell, nullptr) << s << " " << r << "," << c;
                ASSERT_EQ(load_f64(_formulaPtr_(cell)), value(read_from[s], r, c)) << s << " " << r << "," << c;
            }
    }
}

// Memory that runs out anywhere while the layers are filled: the read says
// so, and the layers are as they were; with memory enough it reads whole.
TEST_F(ExcelCellOrderTest, ARunOutOfMemorySaysSoAndLeavesTheLayersAsTheyWere) {
    std::vector<Sheet> sheets;
    for (const char* name : {"One", "Two"}) {
        Sheet sheet{name, {biff::row(0, 400)}};
        for (uint16_t r = 0; r < 3000; ++r) sheet.records.push_back(biff::number(r, 0, r));
        sheets.push_back(sheet);
    }
    const std::vector<uint8_t> file = biff::compound_file(biff::workbook(true, {}, sheets));
    int refused = 0;
    for (pf::Size room = 10000; room <= 400000; room += 30000) {
        if (book) DisposeWorkSheet(book);
        book = make_workbook("Order", 1);
        first = add_layer(book);
        pf::set_heap_budget(pf::heap_bytes_in_use() + room);
        const int16_t result = read_excel_bytes(file, first, nullptr);
        pf::set_heap_budget(pf::kNoBudget);
        if (result == 0) {
            EXPECT_EQ(num_SpreadSheets(book), 2) << room;
            continue;
        }
        ++refused;
        EXPECT_NE(result, kExcelUnreadableErr) << room;
        EXPECT_EQ(num_SpreadSheets(book), 1) << room;
        EXPECT_EQ(cell_of(first, 0, 0), nullptr) << room;
        EXPECT_TRUE(store_is_sound(GetSpreadSheetCells(first))) << room;
    }
    EXPECT_GT(refused, 0);
    ASSERT_EQ(read_fresh(file), 0);
    EXPECT_EQ(num_SpreadSheets(book), 2);
}

}  // namespace
