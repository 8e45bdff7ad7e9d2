// The one driver of recalculation: a budget of ticks cuts a call short at a
// row and the next call resumes there, to the values one call without a
// budget gives; a caller without windows gets every layer calculated.
#include <string>
#include <vector>

#include "platform/events/clock.h"
#include "recalc_fixture.h"
#include "tests/support/platform_stand_ins.h"

namespace {

constexpr int16_t kRows = 60;

class WorkbookCalculation : public RecalcTest {
protected:
    MemoryRef second = nullptr;

    void SetUp() override {
        RecalcTest::SetUp();
        SetSheetWind(layer, nullptr);  // no window shows the workbook
        second = add_layer(workbook);
    }

    // Formulas that need several passes of every order: a chain running up
    // the first column, a row running right to left, text results that grow
    // and move the cells behind them, and a second layer reading the first.
    void put_formulas() {
        put_number(kRows - 1, 0, 1);
        for (int16_t row = kRows - 2; row >= 0; --row)
            put_formula(row, 0, "=A" + std::to_string(row + 2) + "+1");
        for (int16_t column = 1; column < 8; ++column) {
            const char before = char('A' + column + 1);
            put_formula(0, column, column == 7 ? "=A1*2" : std::string("=") + before + "1+1");
        }
        for (int16_t row = 0; row < kRows; ++row)
            put_formula(row, 9, "=REPT(\"x\",A" + std::to_string(row + 1) + ")");
        put_formula(0, 0, "=1:A1+1:H1", second);
        put_formula(1, 0, "=LEN(1:J1)", second);
    }

    std::vector<double> numbers() {
        std::vector<double> values;
        for (int16_t row = 0; row < kRows; ++row) values.push_back(result(row, 0));
        for (int16_t column = 1; column < 8; ++column) values.push_back(result(0, column));
        values.push_back(result(0, 0, second));
        values.push_back(result(1, 0, second));
        return values;
    }

    std::vector<std::string> texts() {
        std::vector<std::string> values;
        for (int16_t row = 0; row < kRows; ++row) values.push_back(text_result(row, 9));
        return values;
    }

    bool every_layer_finished() {
        return GetIndexCalcCycle(workbook, 0) == kCycleDone && GetIndexCalcCycle(workbook, 1) == kCycleDone;
    }
};

TEST_F(WorkbookCalculation, ABudgetedRecalculationResumesOverCallsToTheValuesOfOneCall) {
    put_formulas();
    ResetWorkbookCalc(workbook);
    ASSERT_TRUE(calculate_workbook(workbook, kNoTickLimit));
    const std::vector<double> whole_numbers = numbers();
    const std::vector<std::string> whole_texts = texts();
    ASSERT_EQ(whole_numbers[0], kRows);
    ASSERT_EQ(whole_texts[0], std::string(kRows, 'x'));

    put_formulas();  // the results empty again
    pf::set_clock_step(50);  // three ticks pass at every reading of the clock
    ResetWorkbookCalc(workbook);
    int calls = 0;
    for (bool rests = false; !rests && calls < 100000; ++calls) {
        rests = calculate_workbook(workbook, 10);
        if (!rests) ASSERT_FALSE(every_layer_finished()) << "call " << calls;
    }
    EXPECT_GT(calls, 10);
    EXPECT_TRUE(every_layer_finished());
    EXPECT_EQ(numbers(), whole_numbers);
    EXPECT_EQ(texts(), whole_texts);
}

// A call gives way at the first row after its budget ran out; with no budget
// at all it still calculates one row, so calls in a row always finish.
TEST_F(WorkbookCalculation, ABudgetEndsACallAtTheRowWhereItRunsOut) {
    put_number(kRows - 1, 0, 1);
    for (int16_t row = kRows - 2; row >= 0; --row) put_formula(row, 0, "=A" + std::to_string(row + 2) + "+1");
    pf::set_clock_step(50);
    ResetWorkbookCalc(workbook);
    int calls = 0;
    for (bool rests = false; !rests && calls < 100000; ++calls) {
        const uint32_t began = pf::tick_count();
        rests = calculate_workbook(workbook, 10);
        EXPECT_LT(pf::tick_count() - began, 25u) << "call " << calls;
    }
    EXPECT_EQ(result(0, 0), kRows);

    pf::set_clock_step(0);
    ResetWorkbookCalc(workbook);
    calls = 0;
    while (!calculate_workbook(workbook, 0) && calls < 100000) ++calls;
    EXPECT_GE(calls, kRows);  // the first pass alone goes over every row
    EXPECT_TRUE(every_layer_finished());
    EXPECT_EQ(result(0, 0), kRows);
}

TEST_F(WorkbookCalculation, ACallerWithoutWindowsGetsEveryLayerCalculatedThoughTheUserWaits) {
    put_formulas();
    pf::set_clock_step(400);  // every row outlasts the idle's slice...
    stand_in::post_user_event();  // ... and an event keeps waiting
    ResetWorkbookCalc(workbook);
    EXPECT_TRUE(calculate_workbook(workbook, kNoTickLimit));
    EXPECT_TRUE(every_layer_finished());
    EXPECT_EQ(result(0, 0), kRows);
    EXPECT_EQ(result(0, 1), 2 * kRows + 6);
    EXPECT_EQ(result(0, 0, second), 3 * kRows);
    EXPECT_EQ(result(1, 0, second), kRows);
    EXPECT_EQ(text_result(kRows - 1, 9), "x");
}

// The windows' idle takes one step per call of the driver and gives way to a
// waiting event; the budget of a call does not outlive it.
TEST_F(WorkbookCalculation, TheIdleStepsOnceAndABudgetEndsWithItsCall) {
    put_formulas();
    ResetWorkbookCalc(workbook);
    pf::set_clock_step(400);
    EXPECT_FALSE(calculate_workbook(workbook, 0, CalcPace::one_step));
    EXPECT_FALSE(calc_budget_spent());
    stand_in::post_user_event();
    const SpreadSheet* sheet = use_layer(layer);
    const CellPoint before = sheet->recalc_resume;
    release_layer(layer);
    EXPECT_FALSE(calculate_workbook(workbook, kNoTickLimit, CalcPace::one_step));
    sheet = use_layer(layer);
    EXPECT_EQ(sheet->recalc_resume.v, before.v + 1);  // one row, then the event
    release_layer(layer);
}

}  // namespace
