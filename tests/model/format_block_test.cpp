#include <gtest/gtest.h>

#include "model/cell_format.h"
#include "model/cell_record.h"

namespace {

CellFormat default_format() {
    CellFormat f;
    GetDefaultFormat(f.bytes);
    return f;
}

TEST(FormatBlock, DefaultsAreTheDocumentedOnes) {
    CellFormat f = default_format();
    EXPECT_EQ(format_id(f.bytes), -1);
    EXPECT_EQ(format_font(f.bytes), 65535);
    EXPECT_EQ(f.bytes[kFmtSize], 255);
    EXPECT_EQ(f.bytes[kFmtCode], 'G');
    EXPECT_EQ(f.bytes[kFmtDecimals], 2);
    EXPECT_EQ(f.bytes[kFmtCellType], 255);
    EXPECT_EQ(format_extent(f.bytes), -1);
    EXPECT_EQ(format_border_colours(f.bytes), 0u);
}

TEST(FormatBlock, WidthNameAndCellBytesAreNotVisibleDifferences) {
    CellFormat a = default_format(), b = default_format();
    set_format_extent(b.bytes, 300);
    set_format_id(b.bytes, 7);
    b.bytes[kFmtLabelLength] = 3;
    b.bytes[kFmtFlagsB] |= 0x1E;  // bits the precedence rule ignores
    EXPECT_FALSE(format_differs_visibly(b.bytes, a.bytes));
    b.bytes[kFmtFlagsB] |= 0x40;
    EXPECT_TRUE(format_differs_visibly(b.bytes, a.bytes));
}

TEST(FormatBlock, EachVisibleFieldCounts) {
    const int fields[] = {kFmtFont, kFmtSize, kFmtCode, kFmtDecimals, kFmtFace, kFmtAlign,
                          kFmtFlagsA, kFmtTextColour, kFmtPattern, kFmtPatternFore,
                          kFmtPatternBack, kFmtBorderStyles + 1, kFmtBorderColours + 3};
    for (int field : fields) {
        CellFormat a = default_format(), b = default_format();
        b.bytes[field] ^= 0x01;
        EXPECT_TRUE(format_differs_visibly(b.bytes, a.bytes)) << "field " << field;
    }
}

TEST(SetFormatByte, FaceCondenseAndExtendExcludeEachOther) {
    CellFormat f = default_format();
    f.bytes[kFmtFace] = 0x80;
    SetFormatByte(f.bytes, kFmtFace, 6, false);
    EXPECT_EQ(f.bytes[kFmtFace], 0x40);
    SetFormatByte(f.bytes, kFmtFace, 7, false);
    EXPECT_EQ(f.bytes[kFmtFace], 0x80);
    f.bytes[kFmtFace] = 0x13;
    SetFormatByte(f.bytes, kFmtFace, kFaceBitAlone + 0, true);  // bold alone goes
    EXPECT_EQ(f.bytes[kFmtFace], 0x12);
    SetFormatByte(f.bytes, kFmtFace, 0, true);
    EXPECT_EQ(f.bytes[kFmtFace], 0);
}

TEST(SetFormatByte, AlignmentValuesAndOptionBits) {
    CellFormat f = default_format();
    f.bytes[kFmtAlign] = 0x12;
    SetFormatByte(f.bytes, kFmtAlign, 3, false);
    EXPECT_EQ(f.bytes[kFmtAlign], 0x13);
    f.bytes[kFmtAlign] = 0x02;
    SetFormatByte(f.bytes, kFmtAlign, 14, false);
    EXPECT_EQ(f.bytes[kFmtAlign], 0x12);
    SetFormatByte(f.bytes, kFmtAlign, 14, true);
    EXPECT_EQ(f.bytes[kFmtAlign], 0x02);
}

TEST(SetFormatByte, BorderStylesAndColours) {
    CellFormat f = default_format();
    SetFormatByte(f.bytes, kFmtBorderStyles, 18, false);
    EXPECT_EQ(format_border_styles(f.bytes), 0x2000);
    SetFormatByte(f.bytes, kFmtBorderStyles + 1, 6, false);
    EXPECT_EQ(format_border_styles(f.bytes), 0x2006);
    SetFormatByte(f.bytes, kFmtBorderStyles, 4, false);  // top, the left stays
    EXPECT_EQ(format_border_styles(f.bytes), 0x2406);
    SetFormatByte(f.bytes, kFmtBorderColours, 5, false);
    SetFormatByte(f.bytes, kFmtBorderColours + 3, 9, false);
    EXPECT_EQ(format_border_colours(f.bytes), 0x05000009u);
    SetFormatByte(f.bytes, kFmtBorderColours, 0, true);
    EXPECT_EQ(format_border_colours(f.bytes), 0u);
}

TEST(SetFormatByte, FlagBitsAndUnknownFields) {
    CellFormat f = default_format();
    SetFormatByte(f.bytes, kFmtFlagsA, 0, false);
    SetFormatByte(f.bytes, kFmtFlagsB, 5, false);
    EXPECT_EQ(f.bytes[kFmtFlagsA], kFlagLocked);
    EXPECT_EQ(f.bytes[kFmtFlagsB], kFlagBFixedDecimals);
    SetFormatByte(f.bytes, kFmtFlagsA, 0, true);
    EXPECT_EQ(f.bytes[kFmtFlagsA], 0);
    CellFormat before = f;
    SetFormatByte(f.bytes, kFmtExtent, 99, false);
    SetFormatByte(f.bytes, kFmtCellType, 99, false);
    EXPECT_EQ(0, memcmp(before.bytes, f.bytes, kCellFormatSize));
}

TEST(CellRecord, FieldsSitAtTheirByteOffsets) {
    // A number constant with a 2-byte label, 1-byte note and typed text "12".
    uint8_t cell[32 + 2 + 1 + 10 + 2] = {};
    _SetCellID_(cell, 513);
    cell[10] = 2;
    cell[11] = kCellConstant;
    cell[12] = 1;
    _SetCellLength_(cell, sizeof cell);
    _SetFormulaLength_(cell, 12);
    _SetResultType_(cell, kResultNumber);
    EXPECT_EQ(cell[0] | cell[1] << 8, 513);  // host order on little-endian hosts
    EXPECT_EQ(_labelPtr_(cell), cell + 32);
    EXPECT_EQ(_notePtr_(cell), cell + 34);
    EXPECT_EQ(_formulaPtr_(cell), cell + 35);
    EXPECT_EQ(_constTextPtr_(cell), cell + 45);
    EXPECT_EQ(_resultPtr_(cell), cell + 47);
    EXPECT_EQ(_resultLength_(cell), 0);
    EXPECT_EQ(load_i16(cell + 30), -1);
    uint8_t row[6];
    _SetRowID_(row, 31999);
    _SetRowLength_(row, 70000);
    EXPECT_EQ(_RowID_(row), 31999);
    EXPECT_EQ(_RowLength_(row), 70000u);
}

}  // namespace
