// Paste special against hand-worked results: each choice, each operation
// (with formulas and text on either side), skip blanks and transposition,
// and undo of every paste.
#include "clipboard_fixture.h"
#include "files/entry_store.h"
#include "model/cell_formats.h"
#include "model/cell_letters.h"
#include "model/cell_store.h"

namespace {

constexpr uint8_t kFixedCode = 'F';
constexpr uint8_t kPercentCode = 'P';

class PasteSpecialTest : public ClipboardTest {
protected:
    // Pastes with the options and checks that undo brings back the layer.
    void paste_special(CellRange selection, PasteOptions options, bool expect_undo = true) {
        before = workbook_state();
        ASSERT_EQ(paste_special_range(layer, selection, options), kEditDone);
        after = workbook_state();
        if (!expect_undo) return;
        EXPECT_EQ(undo_kind(), kUndoPaste);
        DoUndo(workbook);
        EXPECT_TRUE(workbook_state() == before) << undo_test::differences(workbook_state(), before);
        DoRedo(workbook);
        EXPECT_TRUE(workbook_state() == after) << undo_test::differences(workbook_state(), after);
    }
    static PasteOptions with(int16_t choice, uint8_t operation = 0, bool skip = false, bool transpose = false) {
        PasteOptions options;
        options.choice = choice;
        options.operation = operation;
        options.skip_blanks = skip;
        options.transpose = transpose;
        return options;
    }
    std::vector<undo_test::LayerState> before, after;
};

TEST_F(PasteSpecialTest, ValuesReplaceFormulasByResultsUnderTheTargetsFormat) {
    put_number(0, 0, 2);
    put_formula(1, 0, "=A1*3");
    put_formula(2, 0, "=\"a\"&\"b\"");
    calculate_now();
    put_number(0, 2, 0);
    put_number(1, 2, 0);
    set_format_code(0, 2, kFixedCode);
    set_format_code(1, 2, kPercentCode);
    ASSERT_EQ(copy(cells(0, 0, 2, 0)), kEditDone);
    paste_special(cells(0, 2, 0, 2), with(kPasteValues));
    EXPECT_EQ(cell(0, 2), "C:2");
    EXPECT_EQ(format_code(0, 2), kFixedCode);
    EXPECT_EQ(cell(1, 2), "C:6");
    EXPECT_EQ(format_code(1, 2), kPercentCode);
    EXPECT_EQ(cell(2, 2), "T:ab");
}

TEST_F(PasteSpecialTest, FormulasKeepTheTargetsFormatAndAllTakesTheSources) {
    put_formula(1, 0, "=A1*3");
    set_format_code(1, 0, kFixedCode);
    put_number(1, 3, 0);
    set_format_code(1, 3, kPercentCode);
    ASSERT_EQ(copy(cells(1, 0, 1, 0)), kEditDone);
    paste_special(cells(1, 3, 1, 3), with(kPasteFormulas));
    EXPECT_EQ(cell(1, 3), "F:=D1*3");
    EXPECT_EQ(format_code(1, 3), kPercentCode);
    paste_special(cells(1, 3, 1, 3), with(kPasteAll));
    EXPECT_EQ(format_code(1, 3), kFixedCode);
}

TEST_F(PasteSpecialTest, FormatsChangeFormatsAndKeepValues) {
    put_number(0, 0, 1);
    set_format_code(0, 0, kFixedCode);
    put_number(0, 4, 5);
    ASSERT_EQ(copy(cells(0, 0, 1, 0)), kEditDone);
    paste_special(cells(0, 4, 0, 4), with(kPasteFormats));
    EXPECT_EQ(cell(0, 4), "C:5");
    EXPECT_EQ(format_code(0, 4), kFixedCode);
    paste_special(cells(0, 5, 0, 5), with(kPasteFormats));
    EXPECT_EQ(cell(0, 5), "0:");
    EXPECT_EQ(format_code(0, 5), kFixedCode);
}

struct Operation {
    uint8_t op;
    const char* result;
};

class Operations : public PasteSpecialTest, public ::testing::WithParamInterface<Operation> {};

TEST_P(Operations, CombineTheCopiedNumberWithTheTarget) {
    put_number(0, 0, 4);
    put_number(0, 3, 10);
    ASSERT_EQ(copy(cells(0, 0, 0, 0)), kEditDone);
    paste_special(cells(0, 3, 0, 3), with(kPasteAll, GetParam().op));
    EXPECT_EQ(cell(0, 3), GetParam().result);
}

INSTANTIATE_TEST_SUITE_P(Each, Operations,
                         ::testing::Values(Operation{'+', "C:14"}, Operation{'-', "C:6"}, Operation{'*', "C:40"},
                                           Operation{'/', "C:2.5"}));

TEST_F(PasteSpecialTest, DivisionByZeroStoresTheDivisionError) {
    put_number(0, 0, 0);
    put_number(0, 3, 10);
    put_number(1, 3, 7);  // its copied cell is blank: divided by 0 too
    ASSERT_EQ(copy(cells(0, 0, 1, 0)), kEditDone);
    paste_special(cells(0, 3, 0, 3), with(kPasteValues, '/'));
    EXPECT_EQ(cell(0, 3), "E:" + std::to_string(kErrDivZero));
    EXPECT_EQ(cell(1, 3), "E:" + std::to_string(kErrDivZero));
}

TEST_F(PasteSpecialTest, OperationsWithFormulasWriteCombinedFormulas) {
    put_number(0, 0, 3);
    put_formula(0, 1, "=A1");    // target formula
    put_formula(1, 7, "=B1");    // copied formula, H2
    put_number(1, 9, 10);        // its target, J2
    ASSERT_EQ(copy(cells(0, 0, 0, 0)), kEditDone);
    paste_special(cells(0, 1, 0, 1), with(kPasteAll, '-'));
    EXPECT_EQ(cell(0, 1), "F:=(A1)-3");
    ASSERT_EQ(copy(cells(1, 7, 1, 7)), kEditDone);
    paste_special(cells(1, 9, 1, 9), with(kPasteAll, '-'));
    EXPECT_EQ(cell(1, 9), "F:=10-(D1)");
    calculate_now();
    EXPECT_EQ(result(0, 1), 0);
}

TEST_F(PasteSpecialTest, TextOnEitherSideLeavesTheTarget) {
    put_text(0, 0, "word");
    put_number(0, 1, 2);
    put_number(0, 3, 10);
    put_text(0, 4, "kept");
    ASSERT_EQ(copy(cells(0, 0, 0, 1)), kEditDone);
    paste_special(cells(0, 3, 0, 3), with(kPasteAll, '+'));
    EXPECT_EQ(cell(0, 3), "C:10");
    EXPECT_EQ(cell(0, 4), "T:kept");
}

TEST_F(PasteSpecialTest, SkipBlanksLeavesTargetsOfEmptyCopiedCells) {
    put_number(0, 0, 1);
    put_number(2, 0, 3);
    for (int16_t row = 0; row < 3; ++row) put_number(row, 2, 9);
    ASSERT_EQ(copy(cells(0, 0, 2, 0)), kEditDone);
    paste_special(cells(0, 2, 0, 2), with(kPasteAll, 0, true));
    EXPECT_EQ(cell(1, 2), "C:9");
    EXPECT_EQ(cell(0, 2), "C:1");
    EXPECT_EQ(cell(2, 2), "C:3");
    paste_special(cells(0, 2, 0, 2), with(kPasteAll, '+'));
    EXPECT_EQ(cell(0, 2), "C:2");
    EXPECT_EQ(cell(1, 2), "C:9");  // 9 + 0
    paste_special(cells(0, 2, 0, 2), with(kPasteAll));
    EXPECT_EQ(cell(1, 2), "");
}

TEST_F(PasteSpecialTest, TransposeTurnsTheBlockAndRepeatsIt) {
    for (int16_t row = 0; row < 2; ++row)
        for (int16_t column = 0; column < 3; ++column) put_number(row, column, row * 3 + column + 1);
    ASSERT_EQ(copy(cells(0, 0, 1, 2)), kEditDone);
    paste_special(cells(10, 0, 10, 0), with(kPasteAll, 0, false, true));
    EXPECT_EQ(selection(), cells(10, 0, 12, 1));
    for (int16_t row = 0; row < 2; ++row)
        for (int16_t column = 0; column < 3; ++column)
            EXPECT_EQ(cell(int16_t(10 + column), row), "C:" + std::to_string(row * 3 + column + 1));
    paste_special(cells(20, 0, 25, 1), with(kPasteValues, 0, false, true));
    EXPECT_EQ(cell(23, 0), "C:1");
    EXPECT_EQ(cell(25, 1), "C:6");
    EXPECT_EQ(paste_special_range(layer, cells(20, 0, 24, 1), with(kPasteAll, 0, false, true)), kEditMisfit);
}

// A block with no cells turns into a block with no cells, and its use is
// given back only as often as it was taken (an extra release fails the test).
TEST_F(PasteSpecialTest, AnEmptyBlockTransposesAndConvertsToAnEmptyBlock) {
    MemoryRef empty = pgAllocateNewRef(&mem_globals, 1, 0, 0, false);
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(Transpose(empty, CellPoint{0, 0}, CellPoint{0, 0}), 0);
    EXPECT_EQ(ConvertFormulas(empty), 0);
    EXPECT_EQ(GetByteSize(empty), 0);
    EXPECT_EQ(GetAccessCtr(empty), 0);
    DisposeMemory(empty);
}

TEST_F(PasteSpecialTest, FormatsOfWholeColumnsLeaveTheWidths) {
    put_number(0, 1, 1);
    set_format_code(0, 1, kFixedCode);
    ASSERT_EQ(InputColumnFormat(layer, (1 << 16) | 1), 0);
    MemoryRef columns = GetSpreadSheetColumnFormats(layer);
    set_format_extent(FindColumnFormatID(columns, 1), 99);
    UnuseMemory(columns);
    put_number(0, 4, 8);
    ASSERT_EQ(copy(cells(0, 1, kLastCell, 1)), kEditDone);
    paste_special(cells(0, 4, kLastCell, 4), with(kPasteFormats));
    EXPECT_EQ(cell(0, 4), "C:8");
    EXPECT_EQ(format_code(0, 4), kFixedCode);
    EXPECT_EQ(FindColumnFormatID(GetSpreadSheetColumnFormats(layer), 4), nullptr);
}

}  // namespace

namespace {

// A text result in a script other than its cell's font's becomes a text cell
// set in a font of that script: its letters stay.
TEST_F(PasteSpecialTest, ValuesKeepTheLettersOfTextResultsOfOtherScripts) {
    ASSERT_EQ(store_unicode_entry(layer, CellPoint{5, 0}, "\u041C\u043E\u0441\u043A\u0432\u0430"), kEntryStored);
    put_formula(5, 1, "=A6");
    calculate_now();
    ASSERT_EQ(copy(cells(5, 1, 5, 1)), kEditDone);
    paste_special(cells(5, 2, 5, 2), with(kPasteValues));
    uint8_t* pasted = nullptr;
    int16_t length = 0;
    ASSERT_TRUE(get_cell_ptr(&pasted, &length, CellPoint{5, 2}, layer));
    const std::vector<uint8_t> copy(pasted, pasted + _cellLength_(pasted));
    EXPECT_EQ(_cellType_(copy.data()), kCellText);
    EXPECT_EQ(cell_unicode_text(copy.data(), CellPoint{5, 2}, layer), "\u041C\u043E\u0441\u043A\u0432\u0430");
}

}  // namespace
