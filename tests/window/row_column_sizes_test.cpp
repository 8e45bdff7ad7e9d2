// Resizing rows and columns (hot zones, limits, selected whole rows and
// columns, undo) and fitting sizes to contents in mixed fonts.
#include "editing/undo.h"
#include "model/workbook.h"
#include "sheet_fixture.h"
#include "window/auto_size.h"
#include "window/resizing.h"

namespace {

class RowColumnSizesTest : public SheetTest {
protected:
    int32_t column_records() {
        MemoryRef formats = GetSpreadSheetColumnFormats(layer);
        return formats ? int32_t(GetByteSize(formats) / kColumnFormatSize) : 0;
    }

    pf::Rect column_rect(int16_t column) {
        pf::Rect r{};
        Cell_H_Coord(0, &r, 1, column, layer);
        return r;
    }
};

TEST_F(RowColumnSizesTest, BoundaryZonesFindTheColumnOrRowBeforeThem) {
    set_column_width(1, 1, 0);  // hidden: its boundary coincides with column 0's
    const pf::Rect c2 = column_rect(2);
    int16_t column = -1, pane = -1;
    EXPECT_EQ(test_col_resize(layer, pf::Point{6, int16_t(c2.right - 1)}, &column, &pane), 1);
    EXPECT_EQ(column, 2);
    EXPECT_EQ(pane, 0);
    // Three pixels on either side of the right edge.
    EXPECT_EQ(test_col_resize(layer, pf::Point{6, int16_t(c2.right - 3)}, &column, &pane), 1);
    EXPECT_EQ(test_col_resize(layer, pf::Point{6, int16_t(c2.right + 2)}, &column, &pane), 1);
    EXPECT_EQ(column, 2);
    EXPECT_EQ(test_col_resize(layer, pf::Point{6, int16_t(c2.right - 4)}, &column, &pane), 0);
    EXPECT_EQ(test_col_resize(layer, pf::Point{6, int16_t(c2.right + 3)}, &column, &pane), 0);
    EXPECT_EQ(test_col_resize(layer, pf::Point{6, int16_t(c2.left + 20)}, &column, &pane), 0);
    // Below the headings the boundary is not a resize zone.
    EXPECT_EQ(test_col_resize(layer, pf::Point{20, int16_t(c2.right - 1)}, &column, &pane), 0);

    pf::Rect r3{};
    Cell_V_Coord(0, &r3, 1, 3, layer);
    int16_t row = -1;
    EXPECT_EQ(test_row_resize(layer, pf::Point{int16_t(r3.bottom - 1), 10}, &row, &pane), 1);
    EXPECT_EQ(row, 3);
    EXPECT_EQ(test_row_resize(layer, pf::Point{int16_t(r3.bottom - 3), 10}, &row, &pane), 1);
    EXPECT_EQ(test_row_resize(layer, pf::Point{int16_t(r3.bottom - 4), 10}, &row, &pane), 0);
    EXPECT_EQ(test_row_resize(layer, pf::Point{int16_t(r3.bottom - 1), 40}, &row, &pane), 0);
}

TEST_F(RowColumnSizesTest, WidthsStayWithinLimitsAndZeroHides) {
    EXPECT_EQ(apply_column_width(layer, CellRange{{0, 3}, {kLastCell, 3}}, 900), 1);
    EXPECT_EQ(GetColumnSize(3, layer), kMaxDragColumnWidth);
    EXPECT_EQ(apply_row_height(layer, CellRange{{4, 0}, {4, kLastCell}}, 400), 1);
    EXPECT_EQ(GetRowSize(4, layer), kMaxDragRowHeight);
    EXPECT_EQ(apply_column_width(layer, CellRange{{0, 2}, {kLastCell, 2}}, -3), 1);
    EXPECT_EQ(GetColumnSize(2, layer), 0);
    EXPECT_EQ(column_rect(3).left, column_rect(2).left);  // hidden
    // The same size again changes nothing and writes no undo record.
    const int32_t records = column_records();
    EXPECT_EQ(apply_column_width(layer, CellRange{{0, 2}, {kLastCell, 2}}, 0), 0);
    EXPECT_EQ(column_records(), records);
}

TEST_F(RowColumnSizesTest, SelectedWholeColumnsResizeTogetherAndUndoPutsThemBack) {
    const int16_t before = GetColumnSize(4, layer);
    set_selection(CellRange{{0, 3}, {kLastCell, 5}});
    EXPECT_EQ(columns_to_resize(layer, 4), (CellRange{{0, 3}, {kLastCell, 5}}));
    EXPECT_EQ(columns_to_resize(layer, 7), (CellRange{{0, 7}, {kLastCell, 7}}));
    apply_column_width(layer, columns_to_resize(layer, 4), 120);
    for (int16_t c : {3, 4, 5}) EXPECT_EQ(GetColumnSize(c, layer), 120);
    EXPECT_EQ(GetColumnSize(6, layer), before);
    DoUndo(GetWorkSheet(layer));
    for (int16_t c : {3, 4, 5}) EXPECT_EQ(GetColumnSize(c, layer), before);

    // A cell range selected: only the dragged row.
    set_selection(CellRange{{2, 0}, {6, 3}});
    EXPECT_EQ(rows_to_resize(layer, 3), (CellRange{{3, 0}, {3, kLastCell}}));
    set_selection(CellRange{{2, 0}, {6, kLastCell}});
    EXPECT_EQ(rows_to_resize(layer, 3), (CellRange{{2, 0}, {6, kLastCell}}));
}

TEST_F(RowColumnSizesTest, ResizingAllColumnsChangesTheDefaultWidth) {
    set_column_width(2, 2, 40);
    apply_column_width(layer, CellRange{{0, 0}, {kLastCell, kLastCell}}, 55);
    EXPECT_EQ(layer_default_column_width(layer), 55);
    EXPECT_EQ(GetColumnSize(2, layer), 55);
    EXPECT_EQ(GetColumnSize(9000, layer), 55);
    DoUndo(GetWorkSheet(layer));
    EXPECT_EQ(GetColumnSize(2, layer), 40);
    EXPECT_NE(layer_default_column_width(layer), 55);
}

TEST_F(RowColumnSizesTest, RowHeightsFitTheTallestFontAndWrappedLines) {
    put_text(2, 0, "small");
    set_byte(2, 0, kFmtSize, 9);
    put_text(2, 1, "large");
    set_byte(2, 1, kFmtSize, 24);
    put_styled_text(3, 0, "plain then big", {{0, pf::kGenevaFont, 0, 10, pf::kBlackColor},
                                             {6, pf::kGenevaFont, 0, 20, pf::kBlackColor}});
    put_format_only(4, 0);
    set_row_height(4, 4, 40);
    put_text(5, 0, "one two three four five six seven");
    set_byte(5, 0, kFmtAlign, kAlignWrap);
    set_column_width(0, 0, 60);
    const CellRange rows{{0, 0}, {6, kLastCell}};
    EXPECT_EQ(CheckRowSize(&rows, layer), 1);
    pf::text_size(24);
    pf::FontInfo large{};
    pf::text_font(Get_Default_Font(layer));
    pf::get_font_info(large);
    EXPECT_EQ(GetRowSize(2, layer), large.ascent + large.descent + large.leading + 2);
    EXPECT_GT(GetRowSize(3, layer), GetRowSize(2, layer) / 2);
    pf::text_size(20);
    pf::FontInfo big{};
    pf::text_font(pf::kGenevaFont);
    pf::get_font_info(big);
    EXPECT_EQ(GetRowSize(3, layer), big.ascent + big.descent + big.leading + 2);
    EXPECT_EQ(GetRowSize(4, layer), 40);                        // formats only: kept
    EXPECT_GE(GetRowSize(5, layer), 3 * GetRowSize(0, layer));  // several lines
    EXPECT_LE(GetRowSize(5, layer), kMaxAutoRowHeight);
    EXPECT_EQ(CheckRowSize(&rows, layer), 0);  // already fitted
}

TEST_F(RowColumnSizesTest, WrappedTextAcrossEmptyCellsNeedsFewerLines) {
    set_column_width(0, 2, 60);
    const std::string text = "one two three four five six seven eight";
    put_text(8, 0, text);
    set_byte(8, 0, kFmtAlign, kAlignWrap);
    put_text(9, 0, text);
    set_byte(9, 0, kFmtAlign, kAlignWrap | kAlignAcrossSelection);
    put_format_only(9, 1);
    set_byte(9, 1, kFmtAlign, kAlignAcrossSelection);
    put_format_only(9, 2);
    set_byte(9, 2, kFmtAlign, kAlignAcrossSelection);
    const CellRange rows{{8, 0}, {9, kLastCell}};
    CheckRowSize(&rows, layer);
    EXPECT_GT(GetRowSize(8, layer), GetRowSize(9, layer));
    EXPECT_GT(GetRowSize(9, layer), GetRowSize(0, layer));  // still more than one line
}

TEST_F(RowColumnSizesTest, ColumnWidthsFitTheWidestTextAndOnlyColumnsWithCellsGetRecords) {
    put_text(1, 2, "short");
    put_text(7, 2, "a rather longer text");
    set_byte(7, 2, kFmtFace, pf::kBold);
    put_text(3, 5, std::string(200, 'W'));
    put_text(2, 9, "wrapped text does not count");
    set_byte(2, 9, kFmtAlign, kAlignWrap);
    const int16_t wrapped_before = GetColumnSize(9, layer);
    // Whole rows selected: every column is in the selection.
    set_selection(CellRange{{0, 0}, {20, kLastCell}});
    AutoColumnWidth(0, 2, layer);
    EXPECT_EQ(column_records(), 2);  // columns 2 and 5 only
    pf::text_font(Get_Default_Font(layer));
    pf::text_size(Get_Default_Size(layer));
    pf::text_face(pf::kBold);
    EXPECT_EQ(GetColumnSize(2, layer), pf::text_width("a rather longer text") + 4);
    pf::text_face(0);
    EXPECT_EQ(GetColumnSize(5, layer), kMaxAutoColumnWidth);
    EXPECT_EQ(GetColumnSize(9, layer), wrapped_before);

    // A column outside the selection is fitted alone over all rows.
    put_text(30, 12, "outside");
    set_selection(CellRange{{0, 0}, {3, 3}});
    AutoColumnWidth(1, 12, layer);
    EXPECT_EQ(GetColumnSize(12, layer), pf::text_width("outside") + 4);
    // Limited to the selection's rows: row 7's long text is not measured.
    AutoColumnWidth(1, 2, layer);
    EXPECT_EQ(GetColumnSize(2, layer), pf::text_width("short") + 4);
    // A lone active cell below the text limits nothing: the whole column is measured.
    set_selection(CellRange{{12, 12}, {12, 12}});
    put_text(2, 12, "longer than outside");
    AutoColumnWidth(1, 12, layer);
    EXPECT_EQ(GetColumnSize(12, layer), pf::text_width("longer than outside") + 4);
}

}  // namespace
