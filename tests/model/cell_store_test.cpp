#include <algorithm>
#include <random>
#include <string_view>

#include "core/invariant_checks.h"
#include "model/cell_formats.h"
#include "model/cell_letters.h"
#include "model_fixture.h"

namespace {

using CellStore = ModelTest;

TEST_F(CellStore, InsertionInAnyOrderKeepsTheStoreSortedAndEveryCellReachable) {
    std::vector<std::pair<int16_t, int16_t>> row_major, column_major;
    for (int16_t r = 0; r < 12; ++r)
        for (int16_t c = 0; c < 12; ++c) row_major.push_back({r, c});
    for (int16_t c = 0; c < 12; ++c)
        for (int16_t r = 0; r < 12; ++r) column_major.push_back({int16_t(r + 20), c});
    std::vector<std::pair<int16_t, int16_t>> random_order = row_major;
    for (auto& [r, c] : random_order) r = int16_t(r + 40);
    std::shuffle(random_order.begin(), random_order.end(), std::mt19937(7));

    for (const auto* order : {&row_major, &column_major, &random_order})
        for (auto [r, c] : *order) put(r, c, r * 100 + c);

    EXPECT_EQ(count_cells(), 3 * 144);
    for (const auto* order : {&row_major, &column_major, &random_order})
        for (auto [r, c] : *order) ASSERT_EQ(at(r, c), r * 100 + c) << r << "," << c;
    EXPECT_EQ(at(12, 0), -1);
}

TEST_F(CellStore, InputCellIntoAnExistingRowGrowsItByTheCellOnly) {
    put(5, 9, 1);
    uint32_t before = uint32_t(GetByteSize(store()));
    std::vector<uint8_t> block = number_cell(5, 3, 2);
    put(5, 3, 2);
    EXPECT_EQ(uint32_t(GetByteSize(store())), before + block.size() - kRowHeaderSize);
    auto* row = static_cast<uint8_t*>(UseMemory(store()));
    EXPECT_EQ(_RowLength_(row), uint32_t(GetByteSize(store())));
    EXPECT_EQ(_cellID_(row + kRowHeaderSize), 3);
    UnuseMemory(store());
}

TEST_F(CellStore, ABlockWhoseCellLengthDisagreesIsRefused) {
    put(5, 9, 1);
    std::vector<uint8_t> block = number_cell(5, 3, 2);
    block.resize(block.size() + 6);  // the cell's own length still names the shorter cell
    _SetRowLength_(block.data(), uint32_t(block.size()));
    CellRange range{{5, 3}, {5, 3}};
    InputCell(&range, block.data(), int32_t(block.size()), layer);
    EXPECT_TRUE(store_is_sound(store()));
    EXPECT_EQ(count_cells(), 1);
    EXPECT_EQ(at(5, 3), -1);
}

// Where a process that checks invariants stores one cell, the store checks
// it: one that changes a cell's letters keeps its look, and one whose road
// told the letters its entry meant reads as them.
TEST_F(CellStore, AStoreThatChangesLettersKeepsTheLookAndReadsAsTold) {
    if (!invariants_checked()) GTEST_SKIP() << "a build that checks no invariants";
    const CellRange range{{1, 1}, {1, 1}};
    const auto store_number = [&](double value, uint8_t face) {
        std::vector<uint8_t> block = number_cell(1, 1, value);
        block[kRowHeaderSize + kFmtFace] = face;
        InputCell(&range, block.data(), int32_t(block.size()), layer);
    };
    store_number(5, 1);
    EXPECT_DEATH(store_number(6, 0), "changed its look");
    store_number(5, 0);  // a new look of the same letters
    store_number(6, 0);
    EXPECT_EQ(at(1, 1), 6);
    expect_stored_letters(layer, range.topLeft, "7");
    store_number(7, 0);
    expect_stored_letters(layer, range.topLeft, "\u20ac8");
    EXPECT_DEATH(store_number(8, 0), "does not read back");
    expect_stored_letters(layer, CellPoint{2, 2}, "\u20ac8");  // told for another cell
    store_number(8, 0);
    EXPECT_EQ(at(1, 1), 8);
}

TEST_F(CellStore, StoringOverAnOccupiedCellReplacesIt) {
    put(2, 2, 1);
    put(2, 2, 7);
    EXPECT_EQ(count_cells(), 1);
    EXPECT_EQ(at(2, 2), 7);
}

TEST_F(CellStore, ACellThatCannotBeStoredLeavesTheStoreAsItWas) {
    for (int16_t r = 0; r < 800; ++r) put(r, 1, r);  // larger than the memory reserve
    std::vector<uint8_t> before(size_t(GetByteSize(store())));
    std::memcpy(before.data(), UseMemory(store()), before.size());
    UnuseMemory(store());
    std::vector<uint8_t> big = number_cell(400, 1, 7);
    big.resize(big.size() + 20000);  // a long typed text
    _SetRowLength_(big.data(), uint32_t(big.size()));
    _SetCellLength_(big.data() + kRowHeaderSize, int16_t(big.size() - kRowHeaderSize));
    _SetFormulaLength_(big.data() + kRowHeaderSize, int16_t(_formulaLength_(big.data() + kRowHeaderSize) + 20000));
    pf::set_temp_budget(0);
    pf::set_heap_budget(pf::heap_bytes_in_use() + 64);
    CellRange range{{400, 1}, {400, 1}};
    int16_t error = with_failure_handler(&mem_globals, [&] {
        InputCell(&range, big.data(), int32_t(big.size()), layer);
    });
    pf::set_heap_budget(pf::kNoBudget);
    EXPECT_NE(error, 0);
    UnuseFailedMemory(store());
    ASSERT_EQ(size_t(GetByteSize(store())), before.size());
    EXPECT_EQ(0, std::memcmp(UseMemory(store()), before.data(), before.size()));
    UnuseMemory(store());
    put(400, 1, 9);  // and it still takes cells
    EXPECT_EQ(at(400, 1), 9);
}

TEST_F(CellStore, AppendingCellsGrowsTheBlockGeometrically) {
    int growths = 0;
    uint32_t room = 0;
    for (int16_t r = 0; r < 100; ++r)
        for (int16_t c = 0; c < 100; ++c) {
            std::vector<uint8_t> block = number_cell(r, c, 1);
            CellRange range{{r, c}, {r, c}};
            InputCell(&range, block.data(), int32_t(block.size()), layer);
            MemoryRecord record;
            get_memory_record(store(), &record);
            if (record.num_alloc != room) ++growths, room = record.num_alloc;
        }
    EXPECT_EQ(count_cells(), 10000);
    EXPECT_LT(growths, 40);  // a fixed step would grow the 400 KB block hundreds of times
}

TEST_F(CellStore, EntriesOutsideTheGridAreRefused) {
    put(-1, 0, 1);
    put(0, 32000, 1);
    EXPECT_EQ(count_cells(), 0);
    put(kLastCell, kLastCell, 3);
    EXPECT_EQ(at(kLastCell, kLastCell), 3);
}

TEST_F(CellStore, ClearingRemovesEmptiedRowsAndLeavesOthers) {
    put(1, 1, 11);
    put(2, 1, 21);
    put(2, 5, 25);
    CellRange range{{1, 0}, {2, 2}};
    Clear_Cells(&range, store());
    ASSERT_TRUE(store_is_sound(store()));
    EXPECT_EQ(count_cells(), 1);
    EXPECT_EQ(at(2, 5), 25);
    uint32_t size = uint32_t(GetByteSize(store()));
    CellRange empty{{100, 0}, {200, 50}};
    Clear_Cells(&empty, store());
    EXPECT_EQ(uint32_t(GetByteSize(store())), size);
    CellRange last{{2, 5}, {2, 5}};
    Clear_Cells(&last, store());
    EXPECT_EQ(GetByteSize(store()), 0);
}

TEST_F(CellStore, SearchesStopAtTheInsertionPoint) {
    put(3, 4, 1);
    put(3, 8, 2);
    put(9, 0, 3);
    auto* start = static_cast<uint8_t*>(UseMemory(store()));
    uint8_t* end = start + GetByteSize(store());
    uint8_t* p = start;
    int16_t row = 5;
    uint32_t length = 0;
    EXPECT_EQ(FindRow(&row, &length, end, &p), 0);
    EXPECT_EQ(row, 9);
    uint8_t* first_row = start;
    uint8_t* cells = first_row + kRowHeaderSize;
    int16_t column = 6;
    EXPECT_EQ(FindCell(&column, first_row + _RowLength_(first_row), &cells), 0);
    EXPECT_EQ(column, 8);
    column = -1;
    EXPECT_EQ(FindCell(&column, end, &cells), 0);
    uint8_t* before = first_row + kRowHeaderSize;
    int16_t limit = 8;
    EXPECT_EQ(FindCellBefore(&limit, first_row + _RowLength_(first_row), &before), 1);
    EXPECT_EQ(limit, 4);
    p = end;
    row = 0;
    EXPECT_EQ(FindRow(&row, &length, end, &p), 0);
    UnuseMemory(store());
}

TEST_F(CellStore, RowCacheAnswersLikeTheWalkAndRefusesRowsPastTheLast) {
    for (int16_t r = 0; r < 50; r += 3) put(r, int16_t(r % 7), r);
    CalcRowPtr(layer);
    SpreadSheet* sheet = use_layer(layer);
    ASSERT_NE(sheet->row_cache_data, nullptr);
    EXPECT_EQ(sheet->last_row, 48);  // grown to the highest stored row
    release_layer(layer);
    for (int16_t r = 0; r < 50; ++r) EXPECT_EQ(at(r, int16_t(r % 7)), r % 3 == 0 ? r : -1);
    EXPECT_EQ(at(60, 0), -1);
    EXPECT_EQ(at(-1, 0), -1);
    ReleaseCache(layer);
    clobberCache(layer);
    EXPECT_EQ(use_layer(layer)->row_cache, nullptr);
    release_layer(layer);
}

TEST_F(CellStore, WritersDiscardTheRowCache) {
    put(1, 1, 1);
    CalcRowPtr(layer);
    put(0, 0, 5);  // moves row 1 in the store
    EXPECT_EQ(at(1, 1), 1);
    EXPECT_EQ(at(0, 0), 5);
}

TEST_F(CellStore, AStoreOfOnlyARowHeaderGetsNoCache) {
    SetMemorySize(store(), kRowHeaderSize);
    CalcRowPtr(layer);
    EXPECT_EQ(use_layer(layer)->row_cache, nullptr);
    release_layer(layer);
}

TEST_F(CellStore, CopyKeepsPositionsAndCutClears) {
    put(1, 1, 11);
    put(1, 4, 14);
    put(3, 2, 32);
    MemoryRef block = nullptr;
    ASSERT_EQ(copy_cells(1, CellPoint{1, 1}, CellPoint{2, 2}, &block, layer), 0);
    ASSERT_TRUE(store_is_sound(block));
    ASSERT_TRUE(store_is_sound(store()));
    auto* row = static_cast<uint8_t*>(UseMemory(block));
    EXPECT_EQ(GetByteSize(block), int32_t(_RowLength_(row)));
    EXPECT_EQ(_RowID_(row), 1);
    EXPECT_EQ(_cellID_(row + kRowHeaderSize), 1);
    UnuseMemory(block);
    EXPECT_EQ(at(1, 1), -1);
    EXPECT_EQ(at(1, 4), 14);
    DisposeMemory(block);
}

class Paste : public ModelTest {
protected:
    MemoryRef copy(CellPoint top_left, CellPoint bottom_right) {
        MemoryRef block = nullptr;
        EXPECT_EQ(copy_cells(0, top_left, bottom_right, &block, layer), 0);
        return block;
    }
};

TEST_F(Paste, ShiftsTheBlockToTheSelectionAndReplacesTheDestination) {
    put(0, 0, 1);
    put(0, 1, 2);
    put(1, 0, 3);
    put(5, 5, 99);   // inside the destination: cleared
    put(5, 9, 59);   // beside it: kept
    MemoryRef block = copy(CellPoint{0, 0}, CellPoint{1, 1});
    select({{5, 4}, {5, 4}});
    ASSERT_EQ(InputData(CellPoint{0, 0}, CellPoint{1, 1}, block, layer), 0);
    ASSERT_TRUE(store_is_sound(store()));
    EXPECT_EQ(at(5, 4), 1);
    EXPECT_EQ(at(5, 5), 2);
    EXPECT_EQ(at(6, 4), 3);
    EXPECT_EQ(at(5, 9), 59);
    EXPECT_EQ(at(0, 0), 1);
    EXPECT_EQ(count_cells(), 7);
    DisposeMemory(block);
}

TEST_F(Paste, OverlappingItsOwnSourceWorks) {
    for (int16_t r = 0; r < 4; ++r)
        for (int16_t c = 0; c < 4; ++c) put(r, c, r * 10 + c);
    MemoryRef block = copy(CellPoint{0, 0}, CellPoint{3, 3});
    select({{1, 1}, {1, 1}});
    ASSERT_EQ(InputData(CellPoint{0, 0}, CellPoint{3, 3}, block, layer), 0);
    ASSERT_TRUE(store_is_sound(store()));
    EXPECT_EQ(at(4, 4), 33);
    EXPECT_EQ(at(1, 1), 0);
    EXPECT_EQ(at(0, 3), 3);
    EXPECT_EQ(count_cells(), 16 + 7);
    DisposeMemory(block);
}

TEST_F(Paste, NothingIsStoredOutsideTheGrid) {
    put(0, 0, 1);
    put(0, 2, 2);
    put(2, 0, 3);
    MemoryRef block = copy(CellPoint{0, 0}, CellPoint{2, 2});
    select({{kLastCell - 1, kLastCell - 1}, {kLastCell - 1, kLastCell - 1}});
    ASSERT_EQ(InputData(CellPoint{0, 0}, CellPoint{2, 2}, block, layer), 0);
    ASSERT_TRUE(store_is_sound(store()));
    EXPECT_EQ(at(kLastCell - 1, kLastCell - 1), 1);
    EXPECT_EQ(count_cells(), 4);  // the two cells that would leave the grid are dropped
    DisposeMemory(block);
}

// A one-cell block of a text cell of the default format, `bytes` in the
// script of its font.
std::vector<uint8_t> text_cell(int16_t row, int16_t column, std::string_view bytes) {
    std::vector<uint8_t> block(kRowHeaderSize + kCellHeaderSize + bytes.size(), 0);
    _SetRowID_(block.data(), row);
    _SetRowLength_(block.data(), uint32_t(block.size()));
    uint8_t* cell = block.data() + kRowHeaderSize;
    GetDefaultFormat(cell);
    _SetCellID_(cell, column);
    cell[kFmtCellType] = kCellText;
    cell[kFmtLabelLength] = 0;
    cell[kFmtNoteLength] = 0;
    _SetCellLength_(cell, int16_t(block.size() - kRowHeaderSize));
    _SetFormulaLength_(cell, int16_t(bytes.size()));
    _SetResultType_(cell, 0);
    store_i16(cell + kFmtStyleLength, 0);
    std::memcpy(_formulaPtr_(cell), bytes.data(), bytes.size());
    return block;
}

// Where a process that checks invariants writes a block of cells at once, a
// record whose road told the letters it meant is checked wherever it lands.
TEST_F(Paste, ABlockCellThatDoesNotReadAsToldIsCaughtAtTheStore) {
    if (!invariants_checked()) GTEST_SKIP() << "a build that checks no invariants";
    const std::vector<uint8_t> rows = text_cell(0, 0, "caf\x8E");
    const uint8_t* cell = rows.data() + kRowHeaderSize;
    MemoryRef block = Bytes2Memory(&mem_globals, rows.data(), 1, int32_t(rows.size()));
    select({{3, 2}, {3, 2}});
    expect_block_letters(layer, cell, "caf\u00e9");
    ASSERT_EQ(InputData(CellPoint{0, 0}, CellPoint{0, 0}, block, layer), 0);
    EXPECT_EQ(cell_shown_unicode(layer, CellPoint{3, 2}), "caf\u00e9");
    expect_block_letters(layer, cell, "caf\u00c4");
    EXPECT_DEATH(InputData(CellPoint{0, 0}, CellPoint{0, 0}, block, layer), "does not read back");
    forget_block_letters(layer, cell);
    const std::vector<uint8_t> other = text_cell(0, 0, "caf\x80");
    expect_block_letters(layer, other.data() + kRowHeaderSize, "caf\u00e9");  // told of another record
    select({{4, 2}, {4, 2}});
    EXPECT_EQ(InputData(CellPoint{0, 0}, CellPoint{0, 0}, block, layer), 0);
    EXPECT_EQ(cell_shown_unicode(layer, CellPoint{4, 2}), "caf\u00e9");
    DisposeMemory(block);
}

TEST_F(Paste, AFailedPasteLeavesTheStoreAsItWas) {
    for (int16_t r = 0; r < 800; ++r) put(r, 0, r);  // larger than the memory reserve
    MemoryRef block = copy(CellPoint{0, 0}, CellPoint{799, 0});
    std::vector<uint8_t> before(GetByteSize(store()));
    std::memcpy(before.data(), UseMemory(store()), before.size());
    UnuseMemory(store());
    select({{10, 1}, {10, 1}});
    pf::set_temp_budget(0);
    pf::set_heap_budget(pf::heap_bytes_in_use() + 64);
    int16_t error = InputData(CellPoint{0, 0}, CellPoint{799, 0}, block, layer);
    pf::set_heap_budget(pf::kNoBudget);
    EXPECT_NE(error, 0);
    ASSERT_EQ(size_t(GetByteSize(store())), before.size());
    EXPECT_EQ(0, std::memcmp(UseMemory(store()), before.data(), before.size()));
    UnuseMemory(store());
    ASSERT_TRUE(store_is_sound(store()));
    DisposeMemory(block);
}

TEST_F(Paste, WithFormatsDateCellsKeepTheirDateUnlessTheColumnHasOne) {
    constexpr uint8_t kDayMonthYear = 3, kOtherDate = 7, kScientific = 'S';
    put(0, 0, 1, kDayMonthYear);
    put(0, 1, 2, kDayMonthYear);
    put(0, 2, 3, kFormatGeneral);
    ASSERT_EQ(InputColumnFormat(layer, (10 << 16) | 12), 0);
    SetColumnByte(10, 10, kFmtCode, kScientific, false, GetSpreadSheetColumnFormats(layer));
    SetColumnByte(11, 11, kFmtCode, kOtherDate, false, GetSpreadSheetColumnFormats(layer));
    SetColumnByte(12, 12, kFmtCode, kScientific, false, GetSpreadSheetColumnFormats(layer));
    SetColumnByte(12, 12, kFmtFace, 0, false, GetSpreadSheetColumnFormats(layer));
    MemoryRef block = copy(CellPoint{0, 0}, CellPoint{0, 2});
    select({{4, 10}, {4, 10}});
    ASSERT_EQ(InputDataWithFormat(CellPoint{0, 0}, CellPoint{0, 2}, 1, block, layer), 0);
    ASSERT_TRUE(store_is_sound(store()));
    CellFormat format;
    get_cell_format(format.bytes, CellPoint{4, 10}, layer);
    EXPECT_EQ(format.bytes[kFmtCode], kDayMonthYear);
    get_cell_format(format.bytes, CellPoint{4, 11}, layer);
    EXPECT_EQ(format.bytes[kFmtCode], kOtherDate);
    get_cell_format(format.bytes, CellPoint{4, 12}, layer);
    EXPECT_EQ(format.bytes[kFmtCode], kScientific);
    EXPECT_EQ(format.bytes[kFmtFace], 0x01);
    EXPECT_EQ(at(4, 12), 3);  // the record's own fields survive
    DisposeMemory(block);
}

}  // namespace
