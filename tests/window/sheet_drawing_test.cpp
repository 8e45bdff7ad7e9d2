// Pictures of a formatted layer, compared with golden images, and the
// placement rules of cell text checked on pixels.
#include "sheet_fixture.h"

namespace {

constexpr uint8_t kRed = 3, kBlue = 5, kYellow = 6, kGreen = 4;

class SheetDrawingTest : public SheetTest {
protected:
    // Texts spilling left, right and both ways, numbers too wide, wrapped,
    // stacked and justified text, faces, colours, fills and a note.
    void fill_formatted_sheet() {
        put_text(0, 0, "Left text spills over empty cells");
        put_text(0, 4, "Stops");
        put_text(1, 3, "Right text spills left");
        set_byte(1, 3, kFmtAlign, kAlignRight);
        put_text(2, 2, "Centred spills both ways");
        set_byte(2, 2, kFmtAlign, kAlignCentre);
        put_number(3, 1, 123456789.5);
        put_number(3, 2, 3.25);
        put_number(3, 0, -42);
        set_byte(3, 0, kFmtFlagsA, 0x10);
        set_column_width(1, 1, 40);
        put_text(4, 0, "Wrapped text breaks into lines inside its cell");
        set_byte(4, 0, kFmtAlign, kAlignWrap);
        set_row_height(4, 4, 64);
        put_text(4, 1, "Tall");
        set_byte(4, 1, kFmtAlign, kAlignVertical | kAlignCentre);
        set_byte(4, 1, kFmtFlagsB, kVerticalMiddle);
        put_text(4, 2, "Justified words here");
        set_byte(4, 2, kFmtAlign, kAlignWrap | kAlignJustify);
        put_text(5, 0, "Bold");
        set_byte(5, 0, kFmtFace, pf::kBold);
        put_text(5, 1, "Italic 9");
        set_byte(5, 1, kFmtFace, pf::kItalic);
        set_byte(5, 1, kFmtSize, 9);
        put_text(5, 2, "Red text");
        set_byte(5, 2, kFmtTextColour, kRed);
        put_text(5, 3, "Filled");
        set_byte(5, 3, kFmtPatternFore, kYellow);
        put_format_only(5, 4);
        set_byte(5, 4, kFmtPattern, 9);
        set_byte(5, 4, kFmtPatternFore, kBlue);
        put_noted_text(*this, layer, 6, 0, "'Quoted", "A note");
        put_text(6, 2, "Top");
        set_byte(6, 2, kFmtFlagsB, kVerticalTop);
        set_row_height(6, 6, 24);
    }

    // Every border style on its own cell, and blocks whose borders join.
    void fill_borders() {
        for (int style = 2; style <= 6; ++style) {
            put_format_only(8, int16_t(style - 2));
            set_borders(8, int16_t(style - 2), style, style, style, style);
        }
        for (int16_t row : {10, 11})
            for (int16_t column : {0, 1}) {
                put_format_only(row, column);
                set_borders(row, column, 6, 6, 6, 6);
                put_format_only(row, int16_t(column + 3));
                set_borders(row, int16_t(column + 3), 4, 4, 4, 4);
            }
        put_text(10, 6, "Coloured");
        set_borders(10, 6, 2, 2, 2, 2);
        store_u32(cell_bytes(10, 6) + kFmtBorderColours, uint32_t(kRed) << 24 | uint32_t(kGreen) << 16 | kBlue << 8 | 2);
    }
};

TEST_F(SheetDrawingTest, FormattedSheetMatchesItsPicture) {
    fill_formatted_sheet();
    fill_borders();
    show_page_breaks(pf::Rect{0, 0, 150, 300});
    lay_out();
    draw();
    EXPECT_TRUE(matches_golden("formatted_sheet"));
}

}  // namespace
