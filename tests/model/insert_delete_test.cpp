// Inserting and deleting rows and columns, deleting and moving layers: cells,
// references (relative, absolute, ranges, position arguments, other layers),
// names, formats and page breaks follow; insertions that would push cells off
// the grid are refused.
#include "model/insert_delete.h"

#include <string>

#include "../formula/recalc_fixture.h"
#include "formula/formula_text.h"
#include "formula/function_values.h"
#include "model/cell_formats.h"
#include "model/named_ranges.h"
#include "model/undo_replay.h"
#include "model/workbook.h"

namespace {

class InsertDeleteTest : public RecalcTest {
protected:
    void select_rows(int16_t first, int16_t last) { select(CellRange{{first, 0}, {last, kLastCell}}); }
    void select_columns(int16_t first, int16_t last) { select(CellRange{{0, first}, {kLastCell, last}}); }

    int16_t insert_rows(int16_t first, int16_t last) {
        select_rows(first, last);
        return insert_rowcol(layer, 1);
    }
    int16_t delete_rows(int16_t first, int16_t last) {
        select_rows(first, last);
        return delete_rowcol(layer, 1);
    }
};

TEST_F(InsertDeleteTest, InsertingARowMovesCellsAndReferences) {
    put_number(9, 0, 10);
    put_formula(4, 1, "=A10");
    put_formula(4, 2, "=SUM(A10:A20)");
    put_formula(4, 3, "=SUM(A5:A10)");
    put_formula(14, 1, "=A10+A3");   // below: moves with the cells
    put_formula(14, 2, "=$A$10");
    ASSERT_EQ(insert_rows(9, 9), 0);
    EXPECT_EQ(result(10, 0), 10);
    EXPECT_TRUE(std::isnan(result(9, 0)));
    EXPECT_EQ(formula(4, 1), "=A11");
    EXPECT_EQ(formula(4, 2), "=SUM(A10:A21)");  // starts at the new empty row
    EXPECT_EQ(formula(4, 3), "=SUM(A5:A10)");
    EXPECT_EQ(formula(15, 1), "=A11+A3");
    EXPECT_EQ(formula(15, 2), "=$A$11");
    EXPECT_EQ(formula(14, 1), "(none)");
    EXPECT_TRUE(store_is_sound(store()));
    calculate_now();
    EXPECT_EQ(result(4, 1), 10);
    EXPECT_EQ(result(15, 2), 10);
}

// The engine keeps the undo record of a deletion and replays it without the
// windows: the cells and the references into them come back, and redo
// deletes them again.
TEST_F(InsertDeleteTest, UndoAndRedoOfADeletionNeedNoWindows) {
    put_number(9, 0, 10);
    put_formula(4, 1, "=A10");
    put_formula(14, 1, "=A3");
    ASSERT_EQ(delete_rows(9, 9), 0);
    ASSERT_EQ(formula(13, 1), "=A3");
    DoUndo(GetWorkSheet(layer));
    EXPECT_EQ(result(9, 0), 10);
    EXPECT_EQ(formula(4, 1), "=A10");
    EXPECT_EQ(formula(14, 1), "=A3");
    EXPECT_EQ(formula(13, 1), "(none)");
    DoRedo(GetWorkSheet(layer));
    EXPECT_TRUE(std::isnan(result(9, 0)));
    EXPECT_EQ(formula(13, 1), "=A3");
    EXPECT_TRUE(store_is_sound(store()));
}

TEST_F(InsertDeleteTest, DeletingRowsInvalidatesAndShrinks) {
    put_number(19, 0, 20);
    put_formula(4, 1, "=A11");
    put_formula(4, 2, "=A20");
    put_formula(4, 3, "=SUM(A8:A11)");
    put_formula(4, 4, "=SUM(A10:A12)");
    put_formula(24, 1, "=A2+A20");
    put_formula(10, 5, "=1");  // deleted with its row
    ASSERT_EQ(delete_rows(9, 11), 0);
    EXPECT_EQ(formula(4, 1), "=#REF!");
    EXPECT_EQ(formula(4, 2), "=A17");
    EXPECT_EQ(formula(4, 3), "=SUM(A8:A9)");
    EXPECT_EQ(formula(4, 4), "=SUM(#REF!)");
    EXPECT_EQ(formula(21, 1), "=A2+A17");
    EXPECT_EQ(result(16, 0), 20);
    EXPECT_EQ(formula(10, 5), "(none)");
    EXPECT_TRUE(store_is_sound(store()));
    calculate_now();
    double invalid = result(4, 1);
    EXPECT_EQ(checkValue(&invalid), kErrRef);
    EXPECT_EQ(result(4, 2), 20);
}

TEST_F(InsertDeleteTest, ColumnsMoveNamesFormatsAndReferences) {
    define_name("Right", CellRange{{0, 4}, {3, 5}});
    put_number(0, 4, 7);
    put_formula(0, 0, "=E1+SUM(E1:F4)");
    ASSERT_EQ(InputColumnFormat(layer, int32_t(4) << 16 | 4), 0);
    select_columns(2, 3);
    ASSERT_EQ(delete_rowcol(layer, 0), 0);
    CellRange moved{};
    ASSERT_TRUE(find_named_range(Get_rangeinfo(layer), reinterpret_cast<const unsigned char*>("\x05Right"), &moved));
    EXPECT_EQ(moved, (CellRange{{0, 2}, {3, 3}}));
    EXPECT_EQ(formula(0, 0), "=C1+SUM(C1:D4)");
    EXPECT_EQ(result(0, 2), 7);
    uint8_t* format = FindColumnFormatID(GetSpreadSheetColumnFormats(layer), 2);
    EXPECT_NE(format, nullptr);
    if (format) UnuseMemory(GetSpreadSheetColumnFormats(layer));
}

TEST_F(InsertDeleteTest, RowFormatsAndPageBreaksFollow) {
    ASSERT_EQ(InputRowFormat(layer, int32_t(9) << 16 | 11), 0);
    SpreadSheet* sheet = use_layer(layer);
    sheet->row_page_breaks = pgAllocateNewRef(&mem_globals, 2, 2, 4, true);
    auto* breaks = static_cast<uint8_t*>(UseMemory(sheet->row_page_breaks));
    store_i16(breaks, 5);
    store_i16(breaks + 2, 12);
    UnuseMemory(sheet->row_page_breaks);
    MemoryRef page_breaks = sheet->row_page_breaks;
    release_layer(layer);
    ASSERT_EQ(insert_rows(9, 11), 0);
    MemoryRef formats = GetSpreadSheetRowFormats(layer);
    for (int16_t row : {12, 13, 14}) {
        uint8_t* found = FindRowFormatID(formats, row);
        EXPECT_NE(found, nullptr) << row;
        if (found) UnuseMemory(formats);
    }
    EXPECT_EQ(FindRowFormatID(formats, 9), nullptr);
    breaks = static_cast<uint8_t*>(UseMemory(page_breaks));
    EXPECT_EQ(load_i16(breaks), 5);
    EXPECT_EQ(load_i16(breaks + 2), 15);
    UnuseMemory(page_breaks);
    ASSERT_EQ(delete_rows(14, 16), 0);  // the break at 15 goes with its row
    EXPECT_EQ(GetMemorySize(page_breaks), 1);
}

TEST_F(InsertDeleteTest, InsertionThatWouldPushCellsOffTheGridIsRefused) {
    put_number(31998, 0, 1);
    put_formula(0, 0, "=A31999");
    std::vector<uint8_t> before = bytes_of(store());
    EXPECT_EQ(insert_rows(5, 6), kCellsOffGridErr);
    EXPECT_EQ(bytes_of(store()), before);
    EXPECT_EQ(insert_rows(5, 5), 0);  // exactly fits
    EXPECT_EQ(result(31999, 0), 1);
    EXPECT_EQ(formula(0, 0), "=A32000");
    put_number(0, 31999, 1);
    select_columns(3, 3);
    EXPECT_EQ(insert_rowcol(layer, 0), kCellsOffGridErr);
    EXPECT_EQ(result(0, 31999), 1);
}

TEST_F(InsertDeleteTest, PositionArgumentsFollowTheCells) {
    put_formula(0, 0, "=ROW(A10)+COLUMN(C1)");
    ASSERT_EQ(insert_rows(2, 3), 0);
    select_columns(1, 1);
    ASSERT_EQ(insert_rowcol(layer, 0), 0);
    EXPECT_EQ(formula(0, 0), "=ROW(A12)+COLUMN(D1)");
    calculate_now();
    EXPECT_EQ(result(0, 0), 16);
}

TEST_F(InsertDeleteTest, ReferencesFromOtherLayersFollow) {
    MemoryRef second = add_layer(workbook);
    put_number(9, 0, 4);
    put_formula(0, 0, "=1:A10*2", second);
    put_formula(0, 1, "=1:$A$10+A10", second);  // A10 is the second layer's own
    ASSERT_EQ(insert_rows(0, 1), 0);
    EXPECT_EQ(formula(0, 0, second), "=1:A12*2");
    EXPECT_EQ(formula(0, 1, second), "=1:$A$12+A10");
    calculate_now();
    EXPECT_EQ(result(0, 0, second), 8);
}

TEST_F(InsertDeleteTest, ThreeDimensionalReferencesOfAMovedFormulaStayPut) {
    MemoryRef second = add_layer(workbook);
    put_number(0, 0, 3, second);
    put_formula(5, 0, "=2:A1+1");  // relative to its own cell
    ASSERT_EQ(insert_rows(2, 2), 0);
    EXPECT_EQ(formula(6, 0), "=2:A1+1");
    calculate_now();
    EXPECT_EQ(result(6, 0), 4);
}

TEST_F(InsertDeleteTest, DeletingALayerKeepsReferencesOnTheirLayers) {
    MemoryRef second = add_layer(workbook);
    MemoryRef third = add_layer(workbook);
    put_number(0, 0, 9, third);
    put_formula(0, 0, "=3:A1");    // relative layer reference
    put_formula(1, 0, "=$3:A1");   // absolute
    put_formula(2, 0, "=2:3:A1");  // several layers
    put_formula(3, 0, "=2:B1");    // the deleted layer
    put_formula(4, 0, "=$2:B1");
    DeleteSheet(second);
    EXPECT_EQ(formula(0, 0), "=2:A1");
    EXPECT_EQ(formula(1, 0), "=$2:A1");
    EXPECT_EQ(formula(2, 0), "=2:A1");
    EXPECT_EQ(formula(3, 0).substr(0, 6), "=#REF!");
    EXPECT_EQ(formula(4, 0).substr(0, 6), "=#REF!");
    calculate_now();
    EXPECT_EQ(result(0, 0), 9);
    EXPECT_EQ(result(1, 0), 9);
}

TEST_F(InsertDeleteTest, MovingALayerKeepsReferencesOnTheirLayers) {
    MemoryRef second = add_layer(workbook);
    MemoryRef third = add_layer(workbook);
    put_number(0, 0, 2, second);
    put_number(0, 0, 3, third);
    put_formula(0, 1, "=2:A1*10+3:A1", third);
    put_formula(0, 1, "=$2:A1");
    put_formula(0, 2, "=1:3:A1");
    MoveBefore(2, 0, workbook);  // the third layer goes first
    MemoryRef moved = find_SpreadSheet_item(workbook, 0);
    ASSERT_EQ(moved, third);
    EXPECT_EQ(formula(0, 1, third), "=3:A1*10+1:A1");
    EXPECT_EQ(formula(0, 1, layer), "=$3:A1");
    EXPECT_EQ(formula(0, 2, layer), "=1:3:A1");
    SetSheetWind(layer, nullptr);
    SetSheetWind(third, window());
    calculate_now();
    EXPECT_EQ(result(0, 1, third), 23);
}

TEST_F(InsertDeleteTest, SelectionWidenedToWholeRowsOrColumns) {
    put_number(3, 3, 1);
    select(CellRange{{2, 1}, {3, 2}});
    ASSERT_EQ(insert_rowcol(layer, 1), 0);
    EXPECT_EQ(result(5, 3), 1);
    SpreadSheet* sheet = use_layer(layer);
    CellRange selection = sheet->selection;
    release_layer(layer);
    EXPECT_EQ(selection, (CellRange{{2, 0}, {3, kLastCell}}));
    select(CellRange{{0, 0}, {0, 1}});
    ASSERT_EQ(delete_rowcol(layer, 0), 0);
    EXPECT_EQ(result(5, 1), 1);
}

}  // namespace
