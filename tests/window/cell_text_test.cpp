// Where cell text goes: alignment, overflow into empty neighbours, cutting,
// "#" marks, the apostrophe of typed texts, and clipping to the pane.
#include <random>

#include "sheet_fixture.h"

namespace {

class CellTextTest : public SheetTest {
protected:
    DrawnCell drawn(int16_t row) {
        lay_out();
        draw();
        return draw_row_in_pane_0(layer, row);
    }

    pf::Rect cell_rect(int16_t row, int16_t column) {
        pf::Rect r{};
        Cell_Location(0, &r, 1, CellPoint{row, column}, layer);
        return r;
    }

    int dark_pixels(const pf::Rect& r) const {
        int dark = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) {
                uint32_t p = pixel(x, y);
                dark += ((p >> 16 & 0xFF) + (p >> 8 & 0xFF) + (p & 0xFF)) < 300;
            }
        return dark;
    }
};

TEST_F(CellTextTest, GeneralAlignmentPutsTextLeftAndNumbersRight) {
    put_text(0, 1, "Text");
    put_number(1, 1, 42);
    const DrawnCell text = drawn(0);
    EXPECT_EQ(text.text_left, text.own_left + 2);
    const DrawnCell number = drawn(1);
    EXPECT_EQ(number.text, "42");
    EXPECT_EQ(number.text_right, number.own_right - 3);
}

TEST_F(CellTextTest, LeftTextSpillsAcrossEmptyAndFormatOnlyCellsAndIsCutAtTheNextContent) {
    put_text(0, 0, "A text far too long for three columns of the default width to hold");
    put_format_only(0, 1);
    put_text(0, 3, "Next");
    lay_out();
    draw();
    const pf::Rect a = cell_rect(0, 0), c = cell_rect(0, 2);
    const DrawnCell next = draw_row_in_pane_0(layer, 0);
    EXPECT_EQ(next.text, "Next");
    // The grid lines inside the spill are gone; the one before the next content stays.
    EXPECT_EQ(pixel(column_last_line(a), a.top + 3), 0xFFFFFFu);
    EXPECT_NE(pixel(column_last_line(c), c.top + 3), 0xFFFFFFu);
    EXPECT_EQ(dark_pixels(pf::Rect{a.top, int16_t(c.right - 1), a.bottom, c.right}), 0);
    EXPECT_GT(dark_pixels(pf::Rect{a.top, c.left, a.bottom, int16_t(c.right - 2)}), 10);
}

TEST_F(CellTextTest, RightTextSpillsLeftNoFurtherThanTheCellDrawnBeforeIt) {
    put_text(0, 0, "x");
    put_text(0, 3, "Right aligned text that is much wider than its cell");
    set_byte(0, 3, kFmtAlign, kAlignRight);
    const DrawnCell right = drawn(0);
    EXPECT_EQ(right.box.left, cell_rect(0, 0).right);
    EXPECT_GE(right.text_left, right.box.left);
    EXPECT_EQ(right.text_right, right.own_right - 3);
    EXPECT_EQ(right.text.back(), 'l');
}

TEST_F(CellTextTest, RightTextInTheFirstColumnStopsAtTheSheetsEdge) {
    put_text(0, 0, "Right aligned text in column A, wider than A");
    set_byte(0, 0, kFmtAlign, kAlignRight);
    const DrawnCell right = drawn(0);
    EXPECT_EQ(right.first_column, 0);
    EXPECT_EQ(right.box.left, right.own_left);
    EXPECT_GE(right.text_left, right.own_left);
    EXPECT_EQ(right.text.substr(right.text.size() - 3), "n A");
}

TEST_F(CellTextTest, NumbersAreReformattedForTheirWidthThenShownAsHashMarksInsideTheirCell) {
    set_column_width(1, 1, 40);
    put_number(0, 1, 3.14159265358979);
    put_number(1, 1, 123456789012.0);
    const DrawnCell pi = drawn(0);
    EXPECT_LT(pi.text.size(), 16u);
    EXPECT_EQ(pi.text.substr(0, 3), "3.1");
    const DrawnCell big = drawn(1);
    EXPECT_EQ(big.text, std::string(big.text.size(), '#'));
    EXPECT_GT(big.text.size(), 0u);
    EXPECT_GE(big.text_left, big.own_left);
    EXPECT_LE(big.text_right, big.own_right);
    EXPECT_EQ(big.box.left, big.own_left);
    EXPECT_EQ(big.box.right, big.own_right);
    EXPECT_EQ(dark_pixels(cell_rect(1, 2)), 0);
    EXPECT_EQ(dark_pixels(cell_rect(1, 0)), 0);
}

TEST_F(CellTextTest, TypedTextsLoseTheirApostropheButFormulaResultsKeepIt) {
    put_text(0, 0, "'Quoted");
    put_formula(1, 0, "=\"'x\"");
    calculate_now();
    EXPECT_EQ(drawn(0).text, "Quoted");
    EXPECT_EQ(drawn(1).text, "'x");
}

TEST_F(CellTextTest, TextWiderThanTheWindowStaysInsideThePane) {
    const CellRange range = VisibleRect(0, layer);
    put_text(0, range.botRight.h, std::string(200, 'W'));
    put_text(1, range.botRight.h, std::string(200, 'W'));
    set_byte(1, range.botRight.h, kFmtAlign, kAlignCentre);
    lay_out();
    draw();
    EXPECT_EQ(dark_pixels(pf::Rect{0, int16_t(width - 15), int16_t(height), int16_t(width)}), 0);
    EXPECT_EQ(dark_pixels(pf::Rect{int16_t(height - 15), 0, int16_t(height), int16_t(width)}), 0);
}

TEST_F(CellTextTest, StyledTextIsNeverCutButClippedInsideItsCell) {
    put_styled_text(0, 1, "Styled text far wider than its cell",
                    {{0, pf::kGenevaFont, 0, 12, pf::kBlackColor}, {7, pf::kGenevaFont, pf::kBold, 18, pf::kBlackColor}});
    put_text(0, 2, "Next");
    const DrawnCell styled = drawn(0);
    (void)styled;
    const DrawnCell row = draw_row_in_pane_0(layer, 0);
    EXPECT_EQ(row.text, "Next");
    const pf::Rect b = cell_rect(0, 1), c = cell_rect(0, 2);
    EXPECT_GT(dark_pixels(pf::Rect{b.top, b.left, b.bottom, int16_t(b.right - 1)}), 30);
    EXPECT_EQ(dark_pixels(pf::Rect{b.top, int16_t(b.right - 1), b.bottom, int16_t(c.left + 2)}), 0);
}

TEST_F(CellTextTest, NotesShowTheirMarkerInTheCellsTopRightCorner) {
    put_noted_text(2, 1, "", "Remember");
    lay_out();
    draw();
    const pf::Rect cell = cell_rect(2, 1);
    EXPECT_EQ(pixel(cell.right - 2, cell.top + 3), 0x000000u);
    EXPECT_EQ(pixel(cell.right - 5, cell.top), 0x000000u);
    EXPECT_EQ(pixel(cell.right - 5, cell.top + 1), 0xFFFFFFu);
}

}  // namespace

namespace {

// Format bytes as a damaged document may hold them: every cell still draws
// inside the panes.
TEST_F(CellTextTest, CellsWithAnyFormatBytesDrawInsideThePanes) {
    std::mt19937 random(9);
    for (int16_t row = 0; row < 30; ++row)
        for (int16_t column = 0; column < 9; ++column) {
            if (random() % 3 == 0) put_number(row, column, double(int(random() % 200000) - 100000) / 7.0);
            else if (random() % 2 == 0) put_text(row, column, std::string(random() % 60, char('a' + random() % 26)));
            else put_format_only(row, column);
            uint8_t* cell = cell_bytes(row, column);
            for (int field : {int(kFmtFont), kFmtFont + 1, int(kFmtSize), int(kFmtCode), int(kFmtDecimals), int(kFmtFace),
                              int(kFmtAlign), int(kFmtFlagsA), int(kFmtFlagsB), int(kFmtTextColour), int(kFmtPattern),
                              int(kFmtPatternFore), int(kFmtPatternBack), int(kFmtBorderStyles), kFmtBorderStyles + 1,
                              int(kFmtBorderColours), kFmtBorderColours + 1, kFmtBorderColours + 2, kFmtBorderColours + 3})
                cell[field] = uint8_t(random());
        }
    set_row_height(3, 3, 0);
    set_column_width(2, 2, 1);
    lay_out();
    draw();
    for (int y = 0; y < height; ++y)
        for (int x = width - 15; x < width; ++x) ASSERT_EQ(pixel(x, y), 0xFFFFFFu) << x << "," << y;
    for (int x = 0; x < width; ++x)
        for (int y = height - 15; y < height; ++y) ASSERT_EQ(pixel(x, y), 0xFFFFFFu) << x << "," << y;
}

}  // namespace
