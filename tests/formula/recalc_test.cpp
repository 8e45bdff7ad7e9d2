// Recalculation: passes to completion for chains in every direction, the
// cycle order, random numbers only in the first pass, circular references,
// yielding to waiting events, the automatic restart and the manual mode.
#include <algorithm>
#include <cfenv>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "core/number_text.h"
#include "model/date_serials.h"
#include "platform/system/date_time.h"
#include "recalc_fixture.h"
#include "tests/support/platform_stand_ins.h"

namespace {

std::string cell_name(int row, int column) {
    unsigned char letters[8];
    NumberToColumn(letters, int16_t(column));
    return std::string(reinterpret_cast<const char*>(letters + 1), letters[0]) + std::to_string(row + 1);
}

// Cycles a layer goes through, noted at every idle step.
class CycleLog {
public:
    explicit CycleLog(MemoryRef layer) : layer_(layer) {}
    void note() {
        int16_t cycle = GetSpreadSheetCalcCycle(layer_);
        if (cycles.empty() || cycles.back() != cycle) cycles.push_back(cycle);
    }
    std::vector<int16_t> cycles;

private:
    MemoryRef layer_;
};

class RecalcPasses : public RecalcTest {
protected:
    // Time passes at every clock reading and an event keeps waiting, so that
    // every idle step gives way after one row.
    void step_slowly() {
        pf::set_clock_step(400);
        stand_in::post_user_event();
    }
    std::vector<int16_t> cycles_of_slow_recalculation() {
        step_slowly();
        do_calc_now(window(), 1);
        CycleLog log(layer);
        log.note();
        while (stopCalc == kCalcAutoRunning) {
            calc_proc();
            log.note();
        }
        return log.cycles;
    }

    // Puts a chain: the first cell a constant 1, every next cell the one
    // before plus 1.
    void chain(const std::vector<CellPoint>& cells) {
        put_number(cells[0].v, cells[0].h, 1);
        for (size_t i = 1; i < cells.size(); ++i)
            put_formula(cells[i].v, cells[i].h, "=" + cell_name(cells[i - 1].v, cells[i - 1].h) + "+1");
    }
    void expect_chain(const std::vector<CellPoint>& cells) {
        for (size_t i = 0; i < cells.size(); ++i)
            ASSERT_EQ(result(cells[i].v, cells[i].h), double(i + 1)) << cell_name(cells[i].v, cells[i].h);
    }
    void run_and_check(const std::vector<CellPoint>& cells) {
        chain(cells);
        calculate_now();
        EXPECT_EQ(stopCalc, kCalcAutoDone);
        EXPECT_EQ(GetSpreadSheetCalcCycle(layer), kCycleDone);
        expect_chain(cells);
    }
};

TEST_F(RecalcPasses, ALayerWithoutFormulasTakesPassesZeroOneAndSix) {
    put_number(0, 0, 5);
    std::vector<int16_t> cycles = cycles_of_slow_recalculation();
    EXPECT_EQ(cycles, (std::vector<int16_t>{0, 1, 6, 7}));
    EXPECT_EQ(stopCalc, kCalcAutoDone);
}

TEST_F(RecalcPasses, ChainTopDownSettlesInTheFirstPass) {
    std::vector<CellPoint> cells;
    for (int16_t r = 0; r < 40; ++r) cells.push_back({r, 0});
    run_and_check(cells);
}

TEST_F(RecalcPasses, ChainBottomUpSettlesInTheBottomUpPass) {
    std::vector<CellPoint> cells;
    for (int16_t r = 39; r >= 0; --r) cells.push_back({r, 0});
    run_and_check(cells);
    // Right to left within a row as well.
}

TEST_F(RecalcPasses, ChainRightToLeftAlongARow) {
    std::vector<CellPoint> cells;
    for (int16_t c = 30; c >= 0; --c) cells.push_back({0, c});
    run_and_check(cells);
}

TEST_F(RecalcPasses, ChainByColumns) {
    std::vector<CellPoint> cells;
    for (int16_t c = 0; c < 6; ++c)
        for (int16_t r = 0; r < 6; ++r) cells.push_back({r, c});
    run_and_check(cells);
}

TEST_F(RecalcPasses, ChainZigZag) {
    std::vector<CellPoint> cells;
    for (int16_t c = 0; c < 5; ++c)
        for (int16_t i = 0; i < 8; ++i) cells.push_back({int16_t(c % 2 == 0 ? i : 7 - i), c});
    run_and_check(cells);
}

TEST_F(RecalcPasses, CycleOrderWhilePassesKeepChanging) {
    // A chain of 12 upward links needs many passes: cycles 0, 1, 2 ... 6, then 2 again.
    std::vector<CellPoint> cells;
    for (int16_t c = 0; c < 4; ++c)
        for (int16_t r = 0; r < 3; ++r) cells.push_back({int16_t(2 - r), int16_t(3 - c)});
    chain(cells);
    std::vector<int16_t> cycles = cycles_of_slow_recalculation();
    ASSERT_GE(cycles.size(), 4u);
    EXPECT_EQ(cycles[0], 0);
    EXPECT_EQ(cycles[1], 1);
    EXPECT_EQ(cycles[2], 2);
    EXPECT_EQ(cycles[cycles.size() - 2], kCycleConfirm);
    EXPECT_EQ(cycles.back(), kCycleDone);
    expect_chain(cells);
}

TEST_F(RecalcPasses, TextResultsThatGrowMoveTheCellsBehind) {
    put_text(0, 0, "ab");
    put_formula(1, 0, "=A1&\"cdefghijklmnop\"");
    put_formula(1, 1, "=A2&\"!\"");
    put_formula(1, 2, "=B2&\"?\"");
    put_formula(2, 0, "=C2&\"x\"");
    calculate_now();
    EXPECT_EQ(text_result(1, 0), "abcdefghijklmnop");
    EXPECT_EQ(text_result(1, 1), "abcdefghijklmnop!");
    EXPECT_EQ(text_result(1, 2), "abcdefghijklmnop!?");
    EXPECT_EQ(text_result(2, 0), "abcdefghijklmnop!?x");
    EXPECT_TRUE(store_is_sound(store()));
    put_text(0, 0, "z");
    calculate_now();
    EXPECT_EQ(text_result(2, 0), "zcdefghijklmnop!?x");
    EXPECT_TRUE(store_is_sound(store()));
}

// A grid of constants and of formulas that read cells anywhere on the layer
// (each only cells made before it, so there is no circle): numbers, and texts
// whose length follows a number, so that results keep changing length and
// moving the cells behind them. Every result must come to what the cells
// say, after a first recalculation and after the constants change.
class RandomGrid : public RecalcPasses {
protected:
    static constexpr int kRows = 40, kColumns = 9;
    struct Cell {
        enum Kind { constant, sum, text, length } kind = constant;
        int reads = -1;  // the index of the cell read
        int add = 0;
    };
    std::vector<Cell> cells{size_t(kRows * kColumns)};
    std::vector<int> made;  // cells in the order they were made
    std::mt19937 random{47};

    int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); }
    static CellPoint point(int index) { return CellPoint{int16_t(index / kColumns), int16_t(index % kColumns)}; }
    static std::string name(int index) { return cell_name(index / kColumns, index % kColumns); }

    // A cell made before, of a number kind or (for `length`) the text kind.
    int earlier(bool text) {
        for (;;) {
            int index = made[size_t(pick(0, int(made.size()) - 1))];
            if ((cells[size_t(index)].kind == Cell::text) == text) return index;
        }
    }

    void build() {
        std::vector<int> order(cells.size());
        for (size_t i = 0; i < order.size(); ++i) order[i] = int(i);
        std::shuffle(order.begin(), order.end(), random);
        for (int index : order) {
            Cell& cell = cells[size_t(index)];
            const bool has_text = std::any_of(made.begin(), made.end(),
                                              [&](int m) { return cells[size_t(m)].kind == Cell::text; });
            const int kind = made.size() < 5 ? 0 : pick(0, 3);
            cell.add = pick(1, 9);
            if (kind == 0) {
                cell.kind = Cell::constant;
                put_number(point(index).v, point(index).h, cell.add);
            } else if (kind == 1 || (kind == 3 && !has_text)) {
                cell.kind = Cell::sum;
                cell.reads = earlier(false);
                put_formula(point(index).v, point(index).h, "=" + name(cell.reads) + "+" + std::to_string(cell.add));
            } else if (kind == 2) {
                cell.kind = Cell::text;
                cell.reads = earlier(false);
                put_formula(point(index).v, point(index).h, "=REPT(\"ab\",MOD(" + name(cell.reads) + ",7)+1)");
            } else {
                cell.kind = Cell::length;
                cell.reads = earlier(true);
                put_formula(point(index).v, point(index).h, "=LEN(" + name(cell.reads) + ")+" + std::to_string(cell.add));
            }
            made.push_back(index);
        }
    }

    double number_of(int index) const {
        const Cell& cell = cells[size_t(index)];
        switch (cell.kind) {
        case Cell::constant: return cell.add;
        case Cell::sum: return number_of(cell.reads) + cell.add;
        case Cell::length: return double(text_of(cell.reads).size()) + cell.add;
        default: return 0;
        }
    }
    std::string text_of(int index) const {
        std::string text;
        for (int i = 0; i <= int(number_of(cells[size_t(index)].reads)) % 7; ++i) text += "ab";
        return text;
    }

    void expect_results() {
        for (int index = 0; index < kRows * kColumns; ++index) {
            CellPoint at = point(index);
            if (cells[size_t(index)].kind == Cell::text)
                ASSERT_EQ(text_result(at.v, at.h), text_of(index)) << name(index);
            else
                ASSERT_EQ(result(at.v, at.h), number_of(index)) << name(index);
        }
        EXPECT_TRUE(store_is_sound(store()));
    }
};

TEST_F(RandomGrid, ResultsThatMoveTheCellsBehindThemLeaveEveryReadRight) {
    build();
    calculate_now();
    EXPECT_EQ(stopCalc, kCalcAutoDone);
    expect_results();
    for (int round = 0; round < 3; ++round) {
        for (int index : made)
            if (cells[size_t(index)].kind == Cell::constant && pick(0, 2) == 0) {
                cells[size_t(index)].add = pick(0, 30);
                put_number(point(index).v, point(index).h, cells[size_t(index)].add);
            }
        calculate_now();
        EXPECT_EQ(stopCalc, kCalcAutoDone);
        expect_results();
        if (HasFatalFailure()) return;
    }
}

// Traps a caller left enabled do not reach the formulas of a step.
TEST_F(RecalcPasses, AStepEvaluatesWithoutFloatingPointTraps) {
    put_formula(0, 0, "=1/0");
    put_formula(0, 1, "=1E308*10");
    put_formula(1, 0, "=A1+B1");
    feenableexcept(FE_DIVBYZERO | FE_OVERFLOW | FE_INVALID);
    calculate_now();
    const int traps = fegetexcept();
    fedisableexcept(FE_ALL_EXCEPT);
    EXPECT_EQ(traps, 0);
    double divided = result(0, 0), summed = result(1, 0);
    EXPECT_EQ(checkValue(&divided), kErrDivZero);
    EXPECT_EQ(checkValue(&summed), kErrDivZero);
    EXPECT_EQ(stopCalc, kCalcAutoDone);
}

// Two cells of one row whose texts change length in turn forever: the row is
// gone over again only a few times per step, the passes go on, and the circle
// is found once the check is on.
TEST_F(RecalcPasses, TextLengthsThatKeepChangingDoNotTrapARow) {
    put_formula(0, 0, "=IF(LEN(B1)=1,\"aa\",\"a\")");
    put_formula(0, 1, "=A1");
    do_calc_now(window(), 1);
    int steps = run_until_rest(200);
    EXPECT_LT(steps, 200);
    EXPECT_EQ(stopCalc, kCalcManualIdle);
    EXPECT_TRUE(store_is_sound(store()));
}

TEST_F(RecalcPasses, RandomNumbersChangeOnlyInPassOne) {
    put_formula(0, 0, "=RAND()");
    put_formula(1, 0, "=A1*2");
    step_slowly();
    do_calc_now(window(), 1);
    double first = std::nan("");
    while (stopCalc == kCalcAutoRunning) {
        int16_t cycle = GetSpreadSheetCalcCycle(layer);
        calc_proc();
        if (cycle == 1) first = result(0, 0);
        if (cycle > 1) {
            EXPECT_EQ(result(0, 0), first) << "cycle " << cycle;
        }
    }
    EXPECT_GT(first, 0.0);
    EXPECT_LT(first, 1.0);
    EXPECT_EQ(result(1, 0), first * 2);
    pf::set_clock_step(0);
    calculate_now();
    EXPECT_NE(result(0, 0), first);
}

TEST_F(RecalcPasses, ManualModeCalculatesOnlyWhenAsked) {
    put_number(0, 0, 2);
    put_formula(1, 0, "=A1*10");
    stopCalc = kCalcManualIdle;
    ResetCalc(CellPoint{0, 0}, window());
    EXPECT_EQ(stopCalc, kCalcManualIdle);
    calc_proc();
    EXPECT_TRUE(std::isnan(result(1, 0)));
    do_calc_now(window(), 0);
    EXPECT_EQ(stopCalc, kCalcManualRunning);
    run_until_rest();
    EXPECT_EQ(stopCalc, kCalcManualIdle);
    EXPECT_EQ(result(1, 0), 20);
    // Asking with the flag makes the mode automatic.
    do_calc_now(window(), 1);
    EXPECT_EQ(stopCalc, kCalcAutoRunning);
}

TEST_F(RecalcPasses, NothingRunsWithoutADocumentWindow) {
    put_formula(0, 0, "=1+1");
    SetSheetWind(layer, nullptr);
    do_calc_now(window(), 1);
    calc_proc();
    EXPECT_TRUE(std::isnan(result(0, 0)));
}

TEST_F(RecalcPasses, CircularReferenceSwitchesToManual) {
    put_formula(0, 0, "=B1+1");
    put_formula(0, 1, "=A1+1");
    put_number(5, 5, 1);
    do_calc_now(window(), 1);
    bool circles_on = false;
    int steps = 0;
    while (stopCalc == kCalcAutoRunning && steps++ < 1000) {
        calc_proc();
        circles_on = circles_on || gCheckCirculars;
    }
    EXPECT_TRUE(circles_on);
    EXPECT_EQ(stopCalc, kCalcManualIdle);
    // The cell found is selected.
    SpreadSheet* sheet = use_layer(layer);
    CellPoint active = sheet->active_cell;
    release_layer(layer);
    EXPECT_TRUE(active == (CellPoint{0, 0}) || active == (CellPoint{0, 1}));
    // Reported once: nothing more happens at idle.
    double a = result(0, 0);
    calc_proc();
    EXPECT_EQ(result(0, 0), a);
}

// Yielding: with time passing at every clock reading, a step gives way once
// more than 20 ticks passed and an event waits, and resumes where it stopped.
TEST_F(RecalcPasses, StepsGiveWayToWaitingEventsAndResume) {
    for (int16_t r = 0; r < 200; ++r) put_formula(r, 0, "=ROW()");
    pf::set_clock_step(2);  // one tick every 8 or 9 readings
    do_calc_now(window(), 1);
    stand_in::post_user_event();
    calc_proc();
    EXPECT_EQ(stopCalc, kCalcAutoRunning);
    SpreadSheet* sheet = use_layer(layer);
    CellPoint resume = sheet->recalc_resume;
    release_layer(layer);
    EXPECT_GT(resume.v, 0);
    EXPECT_LT(resume.v, 200);
    EXPECT_EQ(result(resume.v - 1, 0), resume.v);  // rows before it are done
    EXPECT_TRUE(std::isnan(result(resume.v, 0)));
    stand_in::take_user_event();
    run_until_rest();
    for (int16_t r = 0; r < 200; ++r) ASSERT_EQ(result(r, 0), r + 1);
}

TEST_F(RecalcPasses, CheckIdlePollsAtMostEveryTwentyTicks) {
    stand_in::post_user_event();
    gEventTime = pf::tick_count();
    EXPECT_FALSE(CheckIdle());
    pf::advance_clock(pf::ticks_to_milliseconds(20));
    EXPECT_FALSE(CheckIdle());
    pf::advance_clock(pf::ticks_to_milliseconds(1));
    EXPECT_TRUE(CheckIdle());
}

TEST_F(RecalcPasses, FinishedAutomaticRecalculationRestartsAfterAMinuteOfCalm) {
    put_formula(0, 0, "=RAND()");
    calculate_now();
    ASSERT_EQ(stopCalc, kCalcAutoDone);
    double first = result(0, 0);
    pf::advance_clock(pf::ticks_to_milliseconds(3000));
    calc_proc();
    EXPECT_EQ(stopCalc, kCalcAutoDone);
    pf::advance_clock(pf::ticks_to_milliseconds(700));
    stand_in::post_user_event();  // the user is busy
    calc_proc();
    EXPECT_EQ(stopCalc, kCalcAutoDone);
    stand_in::take_user_event();
    pf::advance_clock(pf::ticks_to_milliseconds(100));
    calc_proc();
    EXPECT_EQ(stopCalc, kCalcAutoDone);  // only 100 quiet ticks
    EXPECT_EQ(result(0, 0), first);
    pf::advance_clock(pf::ticks_to_milliseconds(30));
    calc_proc();  // restarts and, with the clock standing, runs to the end
    EXPECT_EQ(stopCalc, kCalcAutoDone);
    EXPECT_NE(result(0, 0), first);
    // The manual mode never restarts by itself.
    stopCalc = kCalcManualIdle;
    pf::advance_clock(pf::ticks_to_milliseconds(10000));
    calc_proc();
    EXPECT_EQ(stopCalc, kCalcManualIdle);
}

TEST_F(RecalcPasses, LayersOfAWorkbookAreCalculatedTogether) {
    MemoryRef second = add_layer(workbook);
    put_number(0, 0, 3);
    put_formula(0, 0, "=1:A1*2", second);
    put_formula(1, 0, "=2:A1+1");
    calculate_now();
    EXPECT_EQ(result(0, 0, second), 6);
    EXPECT_EQ(result(1, 0), 7);
    EXPECT_EQ(GetIndexCalcCycle(workbook, 1), kCycleDone);
    EXPECT_EQ(GetIndexCalcCycle(workbook, 5), kCycleDone);
}

TEST_F(RecalcPasses, AWorkbookWithoutWindowsCalculatesToCompletion) {
    MemoryRef second = add_layer(workbook);
    std::vector<CellPoint> cells{{4, 0}, {3, 0}, {2, 0}, {1, 0}, {0, 0}};
    chain(cells);
    put_formula(0, 0, "=1:A1*2", second);
    calculate_without_windows(workbook);
    expect_chain(cells);
    EXPECT_EQ(result(0, 0, second), 10);
    EXPECT_EQ(GetIndexCalcCycle(workbook, 0), kCycleDone);
    EXPECT_EQ(GetIndexCalcCycle(workbook, 1), kCycleDone);
}

// NOW and TODAY answer the clock of the recalculation, also where no window
// started it (the converter).
TEST_F(RecalcPasses, AWorkbookWithoutWindowsReadsTheClock) {
    pf::DateTimeRec date;
    date.year = 2024, date.month = 3, date.day = 15, date.hour = 18;
    uint32_t seconds = 0;
    ASSERT_TRUE(pf::date_to_seconds(date, seconds));
    pf::fix_current_date_time(seconds);
    Set_1900Date_Flag(workbook, false);
    put_formula(0, 0, "=NOW()");
    put_formula(1, 0, "=TODAY()");
    put_formula(2, 0, "=YEAR(TODAY())");
    calculate_without_windows(workbook);
    pf::unfix_current_date_time();
    EXPECT_DOUBLE_EQ(result(0, 0), SecsToFloat(seconds));
    EXPECT_DOUBLE_EQ(result(1, 0), std::floor(SecsToFloat(seconds)));
    EXPECT_EQ(result(2, 0), 2024);
}

// A pass by columns goes over every formula cell, however far out, and only
// the columns and rows that hold cells.
TEST_F(RecalcPasses, APassByColumnsReachesCellsAtTheGridsEdges) {
    const CellPoint cells[] = {{0, 0}, {31999, 3}, {7, 31998}, {31999, 31999}, {0, 31999}};
    for (CellPoint cell : cells) put_formula(cell.v, cell.h, "=2+3");
    SetSpreadSheetCalcCycle(layer, kCycleColumns);
    SpreadSheet* sheet = use_layer(layer);
    sheet->recalc_resume = CellPoint{0, 0};
    release_layer(layer);
    g_calcWork = workbook;
    for (int step = 0; step < 100 && GetSpreadSheetCalcCycle(layer) == kCycleColumns; ++step) {
        g_calcSheet = layer;
        DoCalculation();
    }
    g_calcWork = nullptr;
    EXPECT_NE(GetSpreadSheetCalcCycle(layer), kCycleColumns);
    for (CellPoint cell : cells) EXPECT_EQ(result(cell.v, cell.h), 5) << cell.v << "," << cell.h;
}

}  // namespace
