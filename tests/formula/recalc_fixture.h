// A workbook whose layer is shown in a document window, a manual tick clock,
// and functions that store typed formulas and run the recalculation.
#pragma once

#include <cmath>
#include <string>

#include "formula/calc_services.h"
#include "formula/recalc.h"
#include "formula/trace.h"
#include "formula/formula_text.h"
#include "formula_fixture.h"
#include "platform/events/clock.h"
#include "tests/support/user_events.h"

class RecalcTest : public FormulaTest {
protected:
    int window_tag = 0;  // its address stands for the document window
    // Fixtures whose code reaches the window list put a real window here.
    LayerWindow shown_window = &window_tag;

    LayerWindow window() { return shown_window; }

    CalcServices kept_services = calc_services;

    // The layers given a window stand for the document windows; the user's
    // events are those of the services in force (the stand-in user's).
    CalcServices services_of_shown_layers() const {
        CalcServices services = headless_calc_services();
        services.event_waiting = kept_services.event_waiting;
        services.program_in_front = kept_services.program_in_front;
        return services;
    }

    void SetUp() override {
        FormulaTest::SetUp();
        calc_services = services_of_shown_layers();
        forget_user_events();
        pf::use_manual_clock(100000);
        SetSheetWind(layer, window());
        stopCalc = kCalcAutoRunning;
        CalcWind = nullptr;
        gCheckCirculars = 0;
        calcTimer = gEventTime = 0;
    }

    void TearDown() override {
        trace_limits() = TraceLimits{};
        stopCalc = kCalcAutoRunning;
        CalcWind = nullptr;
        pf::use_system_clock();
        forget_user_events();
        calc_services = kept_services;
        FormulaTest::TearDown();
    }

    // Stores a typed formula, not yet calculated, in a cell.
    void put_formula(int16_t row, int16_t column, const std::string& text, MemoryRef on = nullptr) {
        Parsed parsed = parse(text, CellPoint{row, column}, on ? on : layer);
        ASSERT_EQ(parsed.result, 0) << text;
        put_cell(row, column, kCellFormula, parsed.bytes, std::vector<uint8_t>(kNumberSlotSize, 0), 0, on);
    }

    // The result of a formula cell (or the number of a constant); NaN when empty.
    double result(int16_t row, int16_t column, MemoryRef on = nullptr) {
        uint8_t* cell = nullptr;
        int16_t length = 0;
        if (!get_cell_ptr(&cell, &length, CellPoint{row, column}, on ? on : layer)) return std::nan("");
        if (_cellType_(cell) == kCellConstant) return load_f64(_formulaPtr_(cell));
        return _resultType_(cell) < 0 ? load_f64(_resultPtr_(cell)) : std::nan("");
    }

    // The formula of a cell as the user reads it.
    std::string formula(int16_t row, int16_t column, MemoryRef on = nullptr) {
        MemoryRef target = on ? on : layer;
        uint8_t* cell = nullptr;
        int16_t length = 0;
        if (!get_cell_ptr(&cell, &length, CellPoint{row, column}, target) || _cellType_(cell) != kCellFormula)
            return "(none)";
        const uint8_t* first = _formulaPtr_(cell);
        int32_t where = int32_t(uint16_t(row)) | (int32_t(column) << 16);
        MemoryRef text = Interpret(where, first, first + _formulaLength_(cell), target, &mem_globals);
        std::vector<uint8_t> bytes = bytes_of(text);
        DisposeMemory(text);
        return std::string(bytes.begin(), bytes.end());
    }

    std::string text_result(int16_t row, int16_t column) {
        uint8_t* cell = nullptr;
        int16_t length = 0;
        if (!get_cell_ptr(&cell, &length, CellPoint{row, column}, layer) || _resultType_(cell) <= 0) return "";
        return std::string(reinterpret_cast<const char*>(_resultPtr_(cell)), size_t(_resultLength_(cell)));
    }

    // Idle steps until the recalculation rests; the number of steps taken.
    int run_until_rest(int limit = 10000) {
        int steps = 0;
        while ((stopCalc == kCalcAutoRunning || stopCalc == kCalcManualRunning) && steps < limit) {
            calc_proc();
            ++steps;
        }
        return steps;
    }

    // What a caller without windows does: every layer from its first cell,
    // through to the end.
    void calculate_without_windows(MemoryRef book) {
        ResetWorkbookCalc(book);
        calculate_workbook(book, kNoTickLimit);
    }

    int calculate_now() {
        do_calc_now(window(), 1);
        return run_until_rest();
    }
};
