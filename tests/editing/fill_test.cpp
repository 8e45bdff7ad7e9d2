// Fill Down and Fill Right in both directions: contents, formats and
// formulas copied with their relative references moved, empty sources
// clearing, and each fill undone in one step.
#include "fill_fixture.h"

namespace {

class Fills : public FillTest {};

TEST_F(Fills, DownCopiesTheTopRowWithFormulasAndFormats) {
    put_number(0, 0, 7);
    put_formula(0, 1, "=A1*2+$A$1");
    put_text(0, 2, "label");
    put_format_only(0, 3);
    cell_at(0, 0)[kFmtCode] = 6;
    put_number(2, 4, 99);  // outside the selection
    select_range(cells(0, 0, 3, 3));
    ASSERT_EQ(FillDown(layer, 0), 0);
    for (int16_t row = 1; row <= 3; ++row) {
        EXPECT_EQ(result(row, 0), 7);
        EXPECT_EQ(cell_at(row, 0)[kFmtCode], 6);
        EXPECT_EQ(formula(row, 1), "=A" + std::to_string(row + 1) + "*2+$A$1");
        EXPECT_EQ(text_at(row, 2), "label");
        EXPECT_EQ(type_at(row, 3), kCellFormatOnly);
    }
    EXPECT_EQ(result(2, 4), 99);
    calculate_now();
    EXPECT_EQ(result(3, 1), 21);
}

TEST_F(Fills, UpCopiesTheBottomRowAndAnEmptySourceClears) {
    put_number(0, 0, 1);
    put_number(1, 1, 2);
    put_formula(3, 0, "=B4+1");
    select_range(cells(0, 0, 3, 1));
    ASSERT_EQ(FillDown(layer, 1), 0);
    EXPECT_EQ(formula(0, 0), "=B1+1");
    EXPECT_EQ(formula(2, 0), "=B3+1");
    EXPECT_EQ(type_at(1, 1), -1);  // the source row had nothing there
    select_range(cells(5, 0, 9, 0));
    put_number(7, 0, 3);
    ASSERT_EQ(FillDown(layer, 0), 0);
    EXPECT_EQ(type_at(7, 0), -1);
}

TEST_F(Fills, RightAndLeftCopyOneColumnAcross) {
    put_formula(0, 1, "=A1+1");
    put_text(1, 1, "t");
    put_number(0, 5, 4);
    select_range(cells(0, 1, 2, 4));
    ASSERT_EQ(FillRight(layer, 0), 0);
    EXPECT_EQ(formula(0, 2), "=B1+1");
    EXPECT_EQ(formula(0, 4), "=D1+1");
    EXPECT_EQ(text_at(1, 4), "t");
    EXPECT_EQ(type_at(2, 3), -1);
    select_range(cells(0, 3, 0, 5));
    ASSERT_EQ(FillRight(layer, 1), 0);
    EXPECT_EQ(result(0, 3), 4);
    EXPECT_EQ(result(0, 4), 4);
}

TEST_F(Fills, SingleRowOrColumnSelectionsChangeNothing) {
    put_number(0, 0, 1);
    select_range(cells(0, 0, 0, 5));
    EXPECT_EQ(FillDown(layer, 0), 0);
    select_range(cells(0, 0, 5, 0));
    EXPECT_EQ(FillRight(layer, 1), 0);
    EXPECT_EQ(undo_count(), 0);
    EXPECT_EQ(type_at(0, 1), -1);
}

TEST_F(Fills, EachFillIsUndoneInOneStep) {
    put_number(0, 0, 1);
    put_formula(0, 1, "=A1");
    put_number(2, 0, 5);
    put_text(3, 3, "kept");
    put_number(3, 1, 8);
    select_range(cells(0, 0, 3, 3));
    expect_undone(kUndoFillDown, [&] { FillDown(layer, 0); });
    expect_undone(kUndoFillDownAlternate, [&] { FillDown(layer, 1); });
    expect_undone(kUndoFillRight, [&] { FillRight(layer, 0); });
    expect_undone(kUndoFillRightAlternate, [&] { FillRight(layer, 1); });
}

}  // namespace
