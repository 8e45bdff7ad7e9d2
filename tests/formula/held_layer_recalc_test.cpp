// A recalculation step reads the cells of the layer it calculates straight
// from its store and row cache: reads of other layers and of 3-D ranges, reads
// after results that move the store (texts growing, errors, circles), lookups
// along long rows, and steps interrupted by typing, inserted and deleted rows
// and deleted layers must all come to what the cells say.
#include <random>
#include <string>
#include <vector>

#include "formula/lookup_columns.h"
#include "model/insert_delete.h"
#include "model/workbook.h"
#include "recalc_fixture.h"
#include "tests/support/platform_stand_ins.h"

namespace {

class HeldLayerRecalc : public RecalcTest {
protected:
    // Every idle step gives way after one row: time passes at every clock
    // reading and an event keeps waiting.
    void step_slowly() {
        pf::set_clock_step(400);
        stand_in::post_user_event();
    }
    void calc_steps(int steps) {
        for (int i = 0; i < steps && stopCalc == kCalcAutoRunning; ++i) calc_proc();
    }
    void finish() {
        pf::set_clock_step(0);
        stand_in::reset();
        run_until_rest();
        EXPECT_EQ(stopCalc, kCalcAutoDone);
        EXPECT_TRUE(store_is_sound(store()));
    }
    std::string text_on(MemoryRef on, int16_t row, int16_t column) {
        uint8_t* cell = nullptr;
        int16_t length = 0;
        if (!get_cell_ptr(&cell, &length, CellPoint{row, column}, on) || _resultType_(cell) <= 0) return "";
        return std::string(reinterpret_cast<const char*>(_resultPtr_(cell)), size_t(_resultLength_(cell)));
    }
    int error_at(int16_t row, int16_t column, MemoryRef on = nullptr) {
        double value = result(row, column, on);
        return checkValue(&value);
    }
    void select_rows(int16_t first, int16_t last) { select(CellRange{{first, 0}, {last, kLastCell}}); }
    void select_some_rows(int first, int more) { select_rows(int16_t(first), int16_t(first + more)); }
};

// A row whose texts grow ahead of reads of another layer, of a 3-D range over
// both layers and of the layer's own cells; the other layer reads back.
TEST_F(HeldLayerRecalc, ReadsOfOtherLayersAndThreeDRangesFollowResultsThatMoveTheStore) {
    MemoryRef second = add_layer(workbook);
    put_number(0, 0, 3);
    put_number(1, 0, 4);
    put_formula(0, 1, "=REPT(\"xy\",A1)");
    put_formula(0, 2, "=2:A1*10");
    put_formula(0, 3, "=SUM(1:2:A1:A2)");
    put_formula(0, 4, "=LEN(B1)+SUM(1:2:A1:B2)");
    put_formula(0, 5, "=REPT(\"z\",2:A2)&B1");
    put_formula(0, 6, "=LEN(F1)+C1");
    put_number(0, 0, 5, second);
    put_number(1, 0, 7, second);
    put_formula(1, 1, "=LEN(1:B1)+1:A2", second);
    auto check = [&](double a1) {
        const std::string b1(size_t(2 * a1), 'x');
        EXPECT_EQ(text_result(0, 1).size(), b1.size());
        EXPECT_EQ(result(0, 2), 50);
        EXPECT_EQ(result(0, 3), a1 + 4 + 5 + 7);
        const double second_b2 = double(b1.size()) + 4;
        EXPECT_EQ(result(1, 1, second), second_b2);
        EXPECT_EQ(result(0, 4), double(b1.size()) + a1 + 4 + 5 + 7 + second_b2);
        EXPECT_EQ(text_result(0, 5).size(), 7 + b1.size());
        EXPECT_EQ(result(0, 6), double(7 + b1.size()) + 50);
        EXPECT_TRUE(store_is_sound(store()));
        EXPECT_TRUE(store_is_sound(GetSpreadSheetCells(second)));
    };
    calculate_now();
    check(3);
    put_number(0, 0, 40);
    calculate_now();
    check(40);
    put_number(0, 0, 1);
    calculate_now();
    check(1);
}

// Results that change kind and length (text, error, number) ahead of
// lookups along a long row of the same layer.
TEST_F(HeldLayerRecalc, LookupsAlongALongRowReadRightBehindResultsThatChangeLength) {
    constexpr int16_t kColumns = 220;
    for (int16_t c = 0; c < kColumns; ++c) put_number(2, c, c * 2);
    for (int16_t c = 0; c < kColumns; c += 3) put_formula(3, c, "=REPT(\"q\",MOD($A$1+" + std::to_string(c) + ",9))");
    put_number(0, 0, 1);
    put_formula(0, 1, "=IF(A1>5,1/0,REPT(\"long \",A1))");
    put_formula(0, 2, "=INDEX($A$3:$HL$3,1,A1+200)");
    put_formula(0, 3, "=LOOKUP(A1*2+300,$A$3:$HL$3,$A$3:$HL$3)");
    put_formula(0, 4, "=HLOOKUP(A1*2,$A$3:$HL$4,2)");
    put_formula(0, 5, "=ISERR(B1)+COUNT($A$3:$HL$4)");
    for (double a1 : {1.0, 4.0, 7.0, 2.0}) {
        put_number(0, 0, a1);
        calculate_now();
        EXPECT_EQ(stopCalc, kCalcAutoDone);
        if (a1 > 5)
            EXPECT_EQ(error_at(0, 1), kErrDivZero);
        else
            EXPECT_EQ(text_result(0, 1).size(), size_t(5 * a1));
        EXPECT_EQ(result(0, 2), (a1 + 199) * 2) << a1;
        EXPECT_EQ(result(0, 3), a1 * 2 + 300) << a1;
        const int column = int(a1 * 2);
        const int lookup_column = column - column % 3;
        EXPECT_EQ(text_result(0, 4).size(), size_t(lookup_column == column ? int(a1 + column) % 9 : 0)) << a1;
        EXPECT_EQ(result(0, 5), (a1 > 5 ? 1 : 0) + kColumns) << a1;
        EXPECT_TRUE(store_is_sound(store()));
    }
}

// A circle reported in the middle of a row whose results grow: the step ends
// there, and once the circle is gone the cells read right again.
TEST_F(HeldLayerRecalc, ACircleReportedWhileTheRowIsHeldLeavesLaterStepsRight) {
    put_number(0, 0, 2);
    put_formula(0, 1, "=REPT(\"ab\",A1)");
    put_formula(0, 2, "=C1+LEN(B1)");
    put_formula(0, 3, "=LEN(B1)*2");
    gCheckCirculars = 1;
    do_calc_now(window(), 1);
    run_until_rest();
    EXPECT_NE(stopCalc, kCalcAutoRunning);
    put_number(0, 2, 1);
    put_number(0, 0, 5);
    stopCalc = kCalcAutoRunning;
    gCheckCirculars = 0;
    calculate_now();
    EXPECT_EQ(text_result(0, 1), "ababababab");
    EXPECT_EQ(result(0, 3), 20);
    EXPECT_TRUE(store_is_sound(store()));
}

// An idle recalculation that gives way after every row, with the user typing,
// inserting and deleting rows between its steps: each step takes the layer's
// cells anew and the results come right in the end.
TEST_F(HeldLayerRecalc, StepsInterruptedByTypingAndInsertedOrDeletedRowsReadTheLayerAnew) {
    constexpr int16_t kRows = 40;
    put_number(0, 0, 1);
    for (int16_t r = 1; r < kRows; ++r) {
        const std::string above = "A" + std::to_string(r);
        put_formula(r, 0, "=" + above + "+1");
        put_formula(r, 1, "=REPT(\"t\",MOD(" + above + ",5))");
        put_formula(r, 2, "=LEN(B" + std::to_string(r + 1) + ")+A" + std::to_string(r + 1));
    }
    step_slowly();
    do_calc_now(window(), 1);
    calc_steps(5);
    ASSERT_EQ(stopCalc, kCalcAutoRunning);
    put_number(0, 0, 10);  // typed while the recalculation waits
    calc_steps(5);
    select_rows(3, 4);
    ASSERT_EQ(insert_rowcol(layer, 1), 0);
    calc_steps(5);
    select_rows(10, 12);
    ASSERT_EQ(delete_rowcol(layer, 1), 0);
    calc_steps(5);
    do_calc_now(window(), 1);
    finish();
    EXPECT_EQ(result(2, 0), 12);
    EXPECT_EQ(text_result(2, 1), "t");
    EXPECT_EQ(result(2, 2), 13);
    // A recalculation from the start, without interruptions, changes nothing.
    std::vector<std::string> interrupted;
    for (int16_t r = 0; r < kRows + 2; ++r)
        for (int16_t c = 0; c < 3; ++c) interrupted.push_back(std::to_string(result(r, c)) + text_result(r, c));
    calculate_now();
    size_t at = 0;
    for (int16_t r = 0; r < kRows + 2; ++r)
        for (int16_t c = 0; c < 3; ++c)
            EXPECT_EQ(std::to_string(result(r, c)) + text_result(r, c), interrupted[at++]) << r << "," << c;
}

// A layer deleted while the recalculation of another one waits: the steps go
// on with the layers left, and references to the deleted one turn to #REF!.
TEST_F(HeldLayerRecalc, ALayerDeletedWhileAnotherWaitsToBeCalculated) {
    MemoryRef second = add_layer(workbook);
    MemoryRef third = add_layer(workbook);
    for (int16_t r = 0; r < 30; ++r) {
        put_formula(r, 0, "=ROW()+2:A1", layer);
        put_formula(r, 1, "=REPT(\"w\",MOD(ROW(),4))&3:B1", layer);
        put_formula(r, 0, "=ROW()*2", second);
        put_formula(r, 1, "=REPT(\"v\",ROW())", third);
    }
    step_slowly();
    do_calc_now(window(), 1);
    calc_steps(7);
    ASSERT_EQ(stopCalc, kCalcAutoRunning);
    ASSERT_EQ(GetIndexCalcCycle(workbook, 2), kCycleReset);  // the third layer still waits
    DeleteSheet(second);
    calc_steps(7);
    do_calc_now(window(), 1);
    finish();
    EXPECT_EQ(num_SpreadSheets(workbook), 2);
    EXPECT_EQ(find_SpreadSheet_item(workbook, 1), third);
    EXPECT_EQ(error_at(0, 0), kErrRef);
    EXPECT_EQ(text_result(2, 1), "www" + text_on(third, 0, 1));
    EXPECT_EQ(text_on(third, 0, 1), "v");
}

// A document closed while its recalculation waits between steps: the
// recalculation goes on with the documents left.
TEST_F(HeldLayerRecalc, ADocumentClosedBetweenStepsLeavesTheOthersCalculating) {
    int closed_window_tag = 0;
    MemoryRef closed = make_workbook("Closed", 1);
    MemoryRef closed_layer = add_layer(closed);
    for (int16_t r = 0; r < 30; ++r) {
        put_formula(r, 0, "=REPT(\"c\",MOD(ROW(),6))", closed_layer);
        put_formula(r, 0, "=ROW()*3");
    }
    SetSheetWind(closed_layer, &closed_window_tag);
    step_slowly();
    do_calc_now(&closed_window_tag, 1);
    calc_steps(4);
    ASSERT_EQ(stopCalc, kCalcAutoRunning);
    ASSERT_EQ(CalcWind, LayerWindow(&closed_window_tag));
    DisposeWorkSheet(closed);
    calc_steps(4);
    do_calc_now(window(), 1);
    finish();
    for (int16_t r = 0; r < 30; ++r) ASSERT_EQ(result(r, 0), (r + 1) * 3) << r;
}

// Random grids of formulas over each other (numbers, texts that change length,
// lookups over a range), recalculated a row per step while constants
// are typed and rows inserted and deleted between the steps: once at rest the
// results are those of a recalculation from the start without interruptions.
TEST_F(HeldLayerRecalc, RandomEditsBetweenStepsEndAtTheResultsOfAnUninterruptedRecalculation) {
    constexpr int kRows = 24, kColumns = 6;
    auto name = [](int index) { return std::string(1, char('A' + index % kColumns)) + std::to_string(index / kColumns + 1); };
    auto snapshot = [&] {
        std::vector<std::string> cells;
        for (int16_t r = 0; r < kRows + 8; ++r)
            for (int16_t c = 0; c < kColumns; ++c) cells.push_back(std::to_string(result(r, c)) + "|" + text_result(r, c));
        return cells;
    };
    for (unsigned seed = 1; seed <= 40; ++seed) {
        std::mt19937 random(seed);
        auto pick = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
        const CellRange everything{{0, 0}, {kLastCell, kLastCell}};
        Clear_Cells(&everything, store());
        std::vector<int> order(kRows * kColumns);
        for (size_t i = 0; i < order.size(); ++i) order[i] = int(i);
        std::shuffle(order.begin(), order.end(), random);
        std::vector<int> constants;
        for (size_t i = 0; i < order.size(); ++i) {
            const int at = order[i];
            const int16_t row = int16_t(at / kColumns), column = int16_t(at % kColumns);
            if (i < 6 || pick(0, 4) == 0) {
                put_number(row, column, pick(0, 20));
                constants.push_back(at);
                continue;
            }
            const int earlier = order[size_t(pick(0, int(i) - 1))];
            const std::string read = name(earlier);
            switch (pick(0, 3)) {
            case 0: put_formula(row, column, "=N(" + read + ")+" + std::to_string(pick(1, 9))); break;
            case 1: put_formula(row, column, "=REPT(\"ab\",MOD(N(" + read + "),7)+1)"); break;
            case 2: put_formula(row, column, "=LEN(" + read + ")*2"); break;
            default:
                put_formula(row, column, "=INDEX($A$" + std::to_string(earlier / kColumns + 1) + ":$F$" +
                                             std::to_string(earlier / kColumns + 1) + ",1," +
                                             std::to_string(earlier % kColumns + 1) + ")&\"\"");
                break;
            }
        }
        ASSERT_TRUE(store_is_sound(store()));
        calculate_now();
        ASSERT_TRUE(store_is_sound(store()));
        step_slowly();
        do_calc_now(window(), 1);
        for (int round = 0; round < 12; ++round) {
            calc_steps(pick(1, 4));
            switch (pick(0, 3)) {
            case 0: {
                const int at = constants[size_t(pick(0, int(constants.size()) - 1))];
                put_number(int16_t(at / kColumns), int16_t(at % kColumns), pick(0, 40));
                break;
            }
            case 1: select_some_rows(pick(0, kRows), pick(0, 2)); insert_rowcol(layer, 1); break;
            case 2: select_some_rows(pick(0, kRows), pick(0, 2)); delete_rowcol(layer, 1); break;
            default: break;
            }
            ASSERT_TRUE(store_is_sound(store())) << "seed " << seed << " round " << round;
            if (stopCalc != kCalcAutoRunning) do_calc_now(window(), 1);
        }
        finish();
        const std::vector<std::string> interrupted = snapshot();
        calculate_now();
        ASSERT_EQ(snapshot(), interrupted) << "seed " << seed;
        stand_in::reset();
    }
}

// A result stored during a step reaches the lookups after it in the step,
// though an earlier lookup of the step read the column before it changed.
TEST_F(HeldLayerRecalc, AResultStoredInAStepReachesTheStepsLaterLookups) {
    put_number(0, 1, 1);
    put_formula(0, 0, "=B1*10");
    put_formula(0, 2, "=VLOOKUP(50,A1:B1,2,0)");
    calculate_now();
    put_number(0, 1, 5);  // A1 is to become 50
    {
        const NumberColumnsKept step;
        g_calcWork = workbook;
        g_calcSheet = layer;
        auto compare = [](int16_t column) {
            g_calcCell = CellPoint{0, column};
            DoComparison();
        };
        compare(2);
        EXPECT_EQ(error_at(0, 2), kErrNA);
        compare(0);
        compare(2);
        EXPECT_EQ(result(0, 2), 5);
        g_calcSheet = nullptr;
        g_calcWork = nullptr;
    }
}

}  // namespace
