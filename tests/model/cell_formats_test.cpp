#include "model/cell_formats.h"

#include <random>
#include <set>

#include "model_fixture.h"

namespace {

class Formats : public ModelTest {
protected:
    MemoryRef columns() { return GetSpreadSheetColumnFormats(layer); }
    MemoryRef rows() { return GetSpreadSheetRowFormats(layer); }

    CellFormat effective(int16_t row, int16_t column, int16_t* from_record = nullptr) {
        CellFormat format;
        int16_t result = get_format(format.bytes, CellPoint{row, column}, layer);
        if (from_record) *from_record = result;
        return format;
    }

    int16_t record_ids_sound(MemoryRef array) {
        if (!array) return 1;
        auto* records = static_cast<uint8_t*>(UseMemory(array));
        int size = GetMemoryRecSize(array);
        int16_t previous = -1, sound = 1;
        for (int i = 0; i < GetMemorySize(array); ++i) {
            if (format_id(records + i * size) <= previous) sound = 0;
            previous = format_id(records + i * size);
        }
        UnuseMemory(array);
        return sound;
    }
};

TEST_F(Formats, WithoutRecordsEveryAddressTakesTheDefaultColumnFormat) {
    int16_t from_record = -1;
    CellFormat format = effective(400, 7, &from_record);
    EXPECT_EQ(from_record, 0);
    SpreadSheet* sheet = use_layer(layer);
    EXPECT_EQ(0, memcmp(format.bytes, sheet->default_column_format, kCellFormatSize));
    EXPECT_EQ(format_extent(format.bytes), 76);
    release_layer(layer);
}

TEST_F(Formats, AColumnRecordThatSaysNothingGivesWayToTheRowRecord) {
    ASSERT_EQ(InputColumnFormat(layer, (3 << 16) | 3), 0);
    ASSERT_EQ(InputRowFormat(layer, (8 << 16) | 8), 0);
    SetRowByte(8, 8, kFmtFace, 0, false, rows());  // bold row
    SetColumnSize(3, 3, 300, columns());           // width alone does not count
    int16_t from_record = 0;
    EXPECT_EQ(effective(8, 3, &from_record).bytes[kFmtFace], 0x01);
    EXPECT_EQ(from_record, 1);
    SetColumnByte(3, 3, kFmtTextColour, 5, false, columns());
    CellFormat format = effective(8, 3);
    EXPECT_EQ(format.bytes[kFmtFace], 0);
    EXPECT_EQ(format.bytes[kFmtTextColour], 5);
    EXPECT_EQ(effective(9, 3).bytes[kFmtTextColour], 5);  // the column applies on every row
    EXPECT_EQ(effective(8, 4).bytes[kFmtFace], 0x01);     // the row on every other column
}

TEST_F(Formats, ColumnNamesStartEmptyAndRecordsStaySorted) {
    ASSERT_EQ(InputColumnFormat(layer, (10 << 16) | 12), 0);
    ASSERT_EQ(InputColumnFormat(layer, (2 << 16) | 4), 0);
    ASSERT_EQ(InputColumnFormat(layer, (11 << 16) | 15), 0);
    EXPECT_EQ(GetMemorySize(columns()), 3 + 3 + 3);
    EXPECT_TRUE(record_ids_sound(columns()));
    uint8_t* record = FindColumnFormatID(columns(), 14);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record[kColumnNameOffset], 0);
    UnuseMemory(columns());
    EXPECT_EQ(FindColumnFormatID(columns(), 9), nullptr);
    EXPECT_EQ(FindColumnFormatID(columns(), -1), nullptr);
    EXPECT_EQ(GetAccessCtr(columns()), 0);  // released on every answer
    EXPECT_EQ(CountRowColumns(0, 11, columns()), 5);
}

TEST_F(Formats, SizesKeepTheOneByteSizeOfThePatternPhases) {
    ASSERT_EQ(InputRowFormat(layer, (1 << 16) | 2), 0);
    ASSERT_EQ(InputColumnFormat(layer, (1 << 16) | 2), 0);
    SetRowSize(1, 1, 40, rows());
    SetRowSize(2, 2, 300, rows());
    SetColumnSize(1, 1, 100, columns());
    SetColumnSize(2, 2, 900, columns());
    const uint8_t expected[4] = {40, 255, 25, 255};
    uint8_t* found[4] = {FindRowFormatID(rows(), 1), FindRowFormatID(rows(), 2),
                         FindColumnFormatID(columns(), 1), FindColumnFormatID(columns(), 2)};
    for (int i = 0; i < 4; ++i) {
        ASSERT_NE(found[i], nullptr);
        EXPECT_EQ(found[i][kFmtCellType], expected[i]) << i;
    }
    for (int i = 0; i < 2; ++i) UnuseMemory(rows());
    for (int i = 0; i < 2; ++i) UnuseMemory(columns());
}

TEST_F(Formats, NegativeRangesAreRefused) {
    EXPECT_EQ(InputRowFormat(layer, int32_t(uint32_t(uint16_t(-1)) << 16 | 5)), kBadRangeErr);
    EXPECT_EQ(rows(), nullptr);
}

TEST_F(Formats, ClearingKeepsOnlyRecordsWithTheirOwnSize) {
    ASSERT_EQ(InputColumnFormat(layer, (1 << 16) | 2), 0);
    SetColumnSize(1, 1, 300, columns());
    SetColumnByte(1, 2, kFmtFace, 1, false, columns());
    MemoryRef array = columns();
    DeleteColumnFormat(0, 5, &array);
    SetSpreadSheetColumnFormats(layer, array);
    ASSERT_EQ(GetMemorySize(array), 1);
    uint8_t* record = FindColumnFormatID(array, 1);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(format_extent(record), 300);
    EXPECT_EQ(record[kFmtFace], 0);
    UnuseMemory(array);
    SetColumnSize(1, 1, -1, array);
    DeleteColumnFormat(1, 1, &array);
    SetSpreadSheetColumnFormats(layer, array);
    EXPECT_EQ(array, nullptr);
}

TEST_F(Formats, RepairDropsRecordsOutOfOrder) {
    ASSERT_EQ(InputRowFormat(layer, (1 << 16) | 4), 0);
    auto* records = static_cast<uint8_t*>(UseMemory(rows()));
    set_format_id(records + 2 * kRowFormatSize, 1);  // 1 2 1 4
    UnuseMemory(rows());
    MemoryRef array = rows();
    VerifyRowFormat(&array);
    EXPECT_EQ(GetMemorySize(array), 3);
    EXPECT_TRUE(record_ids_sound(array));
    MemoryRef copy = CopyRowFormat(2, 9, array);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(GetMemorySize(copy), 2);
    DisposeMemory(copy);
    EXPECT_EQ(CopyRowFormat(20, 30, array), nullptr);
}

TEST_F(Formats, SelectionFormatIsCachedUntilMarkedStale) {
    put(2, 2, 5, 'S');
    select({{2, 2}, {2, 2}});
    CellFormat format;
    GetSelectFormat(format.bytes, layer, 1);
    EXPECT_EQ(format.bytes[kFmtCode], 'S');
    EXPECT_FALSE(GetSheetFlags(layer) & kLayerFormatStale);
    select({{0, 0}, {0, 0}});
    GetSelectFormat(format.bytes, layer, 1);
    EXPECT_EQ(format.bytes[kFmtCode], 'S');  // still the cached copy
    SetSheetFlags(layer, GetSheetFlags(layer) | kLayerFormatStale);
    GetSelectFormat(format.bytes, layer, 1);
    EXPECT_EQ(format.bytes[kFmtCode], kFormatGeneral);
}

TEST_F(Formats, WholeColumnSelectionTakesTheColumnRecord) {
    ASSERT_EQ(InputColumnFormat(layer, (6 << 16) | 6), 0);
    SetColumnByte(6, 6, kFmtCode, 'I', false, columns());
    select({{0, 6}, {kLastCell, 6}});
    CellFormat format;
    GetSelectFormat(format.bytes, layer, 0);
    EXPECT_EQ(format.bytes[kFmtCode], 'I');
    EXPECT_TRUE(GetSheetFlags(layer) & kLayerFormatStale);
}

TEST_F(Formats, CellStringsAndFormatOnlyCells) {
    MemoryRef block = pgAllocateNewRef(&mem_globals, 1, 0, 10, false);
    uint8_t header[kRowHeaderSize];
    _SetRowID_(header, 4);
    _SetRowLength_(header, kRowHeaderSize + kCellHeaderSize);
    PtrAndMemory(header, block, kRowHeaderSize);
    AddFormatCell(9, block);
    CellRange range{{4, 9}, {4, 9}};
    InputCell(&range, static_cast<uint8_t*>(UseMemory(block)), GetByteSize(block), layer);
    UnuseMemory(block);
    ASSERT_TRUE(store_is_sound(store()));
    CellFormat format;
    EXPECT_EQ(get_cell_format(format.bytes, CellPoint{4, 9}, layer), 1);
    EXPECT_EQ(format.bytes[kFmtCellType], kCellFormatOnly);
    unsigned char label[256] = {9}, note[256] = {9};
    GetCellStrings(CellPoint{4, 9}, label, note, layer);
    EXPECT_EQ(label[0], 0);
    EXPECT_EQ(note[0], 0);
    EXPECT_EQ(get_cell_format(format.bytes, CellPoint{4, 8}, layer), 0);
    DisposeMemory(block);
}

}  // namespace

namespace {

std::string block_text(MemoryRef text) {
    std::string out(static_cast<const char*>(UseMemory(text)), size_t(GetByteSize(text)));
    UnuseMemory(text);
    DisposeMemory(text);
    return out;
}

TEST_F(Formats, EntryTextOfANumberUsesTheSystemsDecimalPoint) {
    put(1, 1, 12);
    uint8_t* cell;
    int16_t length;
    ASSERT_TRUE(get_cell_ptr(&cell, &length, CellPoint{1, 1}, layer));
    _constTextPtr_(cell)[1] = '.';  // typed "1."
    unsigned char saved = decimalPt;
    decimalPt = ',';
    CellFormat format;
    EXPECT_EQ(block_text(Get_CellText(CellPoint{1, 1}, format.bytes, nullptr, layer)), "1,");
    decimalPt = saved;
    EXPECT_FALSE(GetSheetFlags(layer) & kLayerFormatStale);
    EXPECT_EQ(block_text(Get_CellText(CellPoint{7, 7}, format.bytes, nullptr, layer)), "");
    EXPECT_EQ(format_extent(format.bytes), 76);  // the address's format: the layer default
}

// Ranges typed in any order, overlapping what is there: every id gets one
// record, in order, and a record already present keeps its size.
TEST_F(Formats, RandomRangesFillTheGapsAndKeepWhatIsThere) {
    const int16_t sized = 1500;
    ASSERT_EQ(InputRowFormat(layer, int32_t(sized) << 16 | sized), 0);
    SetRowSize(sized, sized, 33, rows());
    std::set<int16_t> expected{sized};
    std::mt19937 random(47);
    for (int step = 0; step < 400; ++step) {
        int16_t first = int16_t(random() % 3000), last = int16_t(first + random() % 40);
        ASSERT_EQ(InputRowFormat(layer, int32_t(first) << 16 | last), 0);
        for (int16_t id = first; id <= last; ++id) expected.insert(id);
        ASSERT_TRUE(record_ids_sound(rows()));
        ASSERT_EQ(GetMemorySize(rows()), int32_t(expected.size()));
    }
    uint8_t* record = FindRowFormatID(rows(), sized);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(format_extent(record), 33);
    UnuseMemory(rows());
}

}  // namespace
