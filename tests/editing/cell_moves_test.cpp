// Moving blocks of cells: references into the block follow it from every
// side and from other layers, references out of it keep their targets,
// names equal to the block move, destinations off the grid and cancelled
// replacements change nothing, and a move that runs out of memory leaves
// the layer as it was.
#include "undo_fixture.h"
#include "core/memory_internal.h"

namespace {

class CellMoves : public UndoTest {
protected:
    int16_t move_selection(CellRange range, int16_t drow, int16_t dcol, int16_t confirm = 0) {
        select_range(range);
        return MoveSheetCells(dcol, drow, confirm, kUndoMove, layer);
    }
};

TEST_F(CellMoves, MovedFormulaKeepsItsNeighbourAndOutsideReferencesFollow) {
    put_number(0, 0, 1);
    put_formula(1, 0, "=A1*2");
    put_formula(9, 0, "=A2");
    ASSERT_EQ(move_selection(cells(0, 0, 1, 0), 2, 0), 0);
    EXPECT_EQ(formula(3, 0), "=A3*2");
    EXPECT_EQ(formula(9, 0), "=A4");
    EXPECT_EQ(result(2, 0), 1);
    EXPECT_TRUE(std::isnan(result(0, 0)));
    EXPECT_EQ(selection(), cells(2, 0, 3, 0));
    calculate_now();
    EXPECT_EQ(result(9, 0), 2);
}

// Formulas on every side of the block, and its moves in every direction.
class MovesEveryWay : public CellMoves, public ::testing::WithParamInterface<CellPoint> {};

TEST_P(MovesEveryWay, ReferencesFromEverySideFollowTheBlock) {
    const CellPoint delta = GetParam();
    put_number(10, 10, 5);   // K11
    put_number(11, 11, 6);   // L12
    put_formula(10, 2, "=K11+$L$12");         // left
    put_formula(10, 20, "=SUM(K11:L12)");     // right
    put_formula(2, 10, "=K$11*2");            // above
    put_formula(20, 11, "=$K11+L12");         // below
    put_formula(30, 30, "=K11:L13");          // a range not wholly inside stays
    ASSERT_EQ(move_selection(cells(10, 10, 11, 11), delta.v, delta.h), 0);
    auto at = [&](int16_t row, int16_t column) {
        std::string text;
        if (column >= 26) text += char('A' + column / 26 - 1);
        text += char('A' + column % 26);
        return text + std::to_string(row + 1);
    };
    const std::string k11 = at(int16_t(10 + delta.v), int16_t(10 + delta.h));
    const std::string l12 = at(int16_t(11 + delta.v), int16_t(11 + delta.h));
    auto absolute_both = [](const std::string& ref) {
        size_t digit = ref.find_first_of("0123456789");
        return "$" + ref.substr(0, digit) + "$" + ref.substr(digit);
    };
    EXPECT_EQ(formula(10, 2), "=" + k11 + "+" + absolute_both(l12));
    EXPECT_EQ(formula(10, 20), "=SUM(" + k11 + ":" + l12 + ")");
    EXPECT_EQ(formula(30, 30), "=K11:L13");
    calculate_now();
    EXPECT_EQ(result(10, 2), 11);
    EXPECT_EQ(result(10, 20), 11);
    EXPECT_EQ(result(2, 10), 10);
    EXPECT_EQ(result(20, 11), 11);
}

INSTANTIATE_TEST_SUITE_P(Directions, MovesEveryWay,
                         ::testing::Values(CellPoint{5, 0}, CellPoint{-5, 0}, CellPoint{0, 7}, CellPoint{0, -7},
                                           CellPoint{-3, 12}, CellPoint{1, 1}));

TEST_F(CellMoves, QualifiedReferencesFromOtherLayersFollowAndUnqualifiedStay) {
    MemoryRef second = add_layer(workbook);
    put_number(4, 1, 8);                         // B5 of layer 1
    put_number(4, 1, 100, second);               // B5 of layer 2
    put_formula(0, 0, "=1:B5+B5", second);       // left of the block's column
    put_formula(0, 5, "=1:$B$5*2", second);      // right of it
    ASSERT_EQ(move_selection(cells(4, 1, 4, 1), 3, 2), 0);
    EXPECT_EQ(formula(0, 0, second), "=1:D8+B5");
    EXPECT_EQ(formula(0, 5, second), "=1:$D$8*2");
    calculate_now();
    EXPECT_EQ(result(0, 0, second), 108);
    EXPECT_EQ(result(0, 5, second), 16);
}

TEST_F(CellMoves, FormulasInsideTheBlockKeepTheirOutsideTargets) {
    put_number(0, 5, 4);                        // F1, outside
    put_number(2, 0, 3);                        // A3, inside
    put_formula(2, 1, "=F1+A3");                // relative: outside kept, inside follows
    put_formula(3, 1, "=$A$3+$F$1");            // absolute inside keeps its position
    put_formula(4, 1, "=1:A3");                 // qualified with its own layer: inside
    ASSERT_EQ(move_selection(cells(2, 0, 4, 1), 10, 1), 0);
    EXPECT_EQ(formula(12, 2), "=F1+B13");
    EXPECT_EQ(formula(13, 2), "=$A$3+$F$1");
    EXPECT_EQ(formula(14, 2), "=1:B13");
}

TEST_F(CellMoves, OnlyNamesEqualToTheBlockMove) {
    put_number(0, 0, 1);
    define_name("exact", cells(0, 0, 1, 1));
    define_name("overlap", cells(0, 0, 2, 2));
    ASSERT_EQ(move_selection(cells(0, 0, 1, 1), 5, 5), 0);
    CellRange range;
    unsigned char name[32];
    pstr(name, "exact");
    ASSERT_TRUE(find_named_range(Get_rangeinfo(layer), name, &range));
    EXPECT_EQ(range, cells(5, 5, 6, 6));
    pstr(name, "overlap");
    ASSERT_TRUE(find_named_range(Get_rangeinfo(layer), name, &range));
    EXPECT_EQ(range, cells(0, 0, 2, 2));
    DoUndo(workbook);
    pstr(name, "exact");
    ASSERT_TRUE(find_named_range(Get_rangeinfo(layer), name, &range));
    EXPECT_EQ(range, cells(0, 0, 1, 1));
}

TEST_F(CellMoves, MovesPastTheGridAreRefusedAndChangeNothing) {
    put_number(31990, 0, 1);
    put_formula(0, 0, "=A31991");
    const auto before = workbook_state();
    EXPECT_EQ(move_selection(cells(31990, 0, 31995, 0), 5, 0), kMoveOffGridErr);
    EXPECT_EQ(move_selection(cells(0, 0, 31990, 1), 0, 31999), kMoveOffGridErr);
    EXPECT_EQ(move_selection(cells(0, 0, 0, 0), -1, 0), kMoveOffGridErr);
    EXPECT_EQ(move_selection(cells(3, 3, 4, 4), 0, -4), kMoveOffGridErr);
    EXPECT_TRUE(workbook_state() == before);
    EXPECT_EQ(undo_count(), 0);
    EXPECT_EQ(move_selection(cells(31990, 0, 31995, 0), 4, 0), 0);  // reaching the last row is allowed
    EXPECT_EQ(result(31994, 0), 1);
}

TEST_F(CellMoves, ReplacingCellsAsksOnlyWithConfirmationAndCancelChangesNothing) {
    put_number(0, 0, 1);
    put_number(3, 0, 2);
    const auto before = workbook_state();
    undo_test::alert_answer = 2;
    EXPECT_EQ(move_selection(cells(0, 0, 0, 0), 3, 0, 1), 2);
    EXPECT_EQ(undo_test::alerts, std::vector<int32_t>{100});
    EXPECT_TRUE(workbook_state() == before);
    EXPECT_EQ(undo_count(), 0);
    undo_test::alerts.clear();
    EXPECT_EQ(move_selection(cells(0, 0, 0, 0), 3, 0, 0), 0);  // shifts never ask
    EXPECT_TRUE(undo_test::alerts.empty());
    EXPECT_EQ(result(3, 0), 1);
    DoUndo(workbook);
    EXPECT_TRUE(workbook_state() == before);
}

TEST_F(CellMoves, OverlappingDestinationHoldsTheMovedCells) {
    for (int16_t row = 0; row < 4; ++row) put_number(row, 0, row + 1);
    put_formula(0, 2, "=SUM(A1:A4)");
    const auto before = workbook_state();
    ASSERT_EQ(move_selection(cells(0, 0, 3, 0), 2, 0), 0);
    for (int16_t row = 2; row < 6; ++row) EXPECT_EQ(result(row, 0), row - 1);
    EXPECT_TRUE(std::isnan(result(0, 0)));
    EXPECT_TRUE(std::isnan(result(1, 0)));
    EXPECT_EQ(formula(0, 2), "=SUM(A3:A6)");
    DoUndo(workbook);
    EXPECT_TRUE(workbook_state() == before);
    DoRedo(workbook);
    EXPECT_EQ(formula(0, 2), "=SUM(A3:A6)");
    EXPECT_EQ(undo_kind(), kUndoMove);
}

// A formula that referred to the destination before the move is put back
// unchanged by undo, not sent to the source.
TEST_F(CellMoves, UndoLeavesReferencesToTheFormerDestinationAlone) {
    put_number(0, 0, 1);
    put_number(0, 3, 9);
    put_formula(5, 5, "=D1");
    MemoryRef second = add_layer(workbook);
    put_formula(0, 0, "=1:D1", second);
    const auto before = workbook_state();
    ASSERT_EQ(move_selection(cells(0, 0, 0, 0), 0, 3), 0);
    DoUndo(workbook);
    EXPECT_TRUE(workbook_state() == before) << undo_test::differences(workbook_state(), before);
    EXPECT_EQ(formula(5, 5), "=D1");
    EXPECT_EQ(formula(0, 0, second), "=1:D1");
}

// The record is written before the layer changes: a move whose cells cannot
// be stored takes it back, and the layer is as it was.
TEST_F(CellMoves, MemoryFailureWhileStoringLeavesTheLayerAsItWas) {
    for (int16_t row = 0; row < 3000; ++row) put_number(row, 0, row);
    put_formula(0, 1, "=A1");
    ASSERT_EQ(move_selection(cells(5, 5, 5, 5), 1, 1), 0);  // one record to keep
    const auto before = workbook_state();
    free_tire(&mem_globals);
    pf::set_heap_budget(pf::heap_bytes_in_use() + 20 * 1024);
    pf::set_temp_budget(0);
    const int16_t answer = move_selection(cells(0, 0, 1, 1), 0, 3);
    pf::set_heap_budget(pf::kNoBudget);
    pf::set_temp_budget(pf::kNoBudget);
    EXPECT_EQ(undo_test::alerts, std::vector<int32_t>{25});
    EXPECT_EQ(answer, 1);
    EXPECT_TRUE(workbook_state() == before) << undo_test::differences(workbook_state(), before);
    EXPECT_EQ(undo_count(), 1);
    EXPECT_EQ(selection(), cells(0, 0, 1, 1));
    EXPECT_TRUE(store_is_sound(store()));
}

}  // namespace
