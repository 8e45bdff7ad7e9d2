// Recalculation to completion of 10^4 and 10^5 formulas: chains down and up
// columns, SUMs along rows, and VLOOKUPs into a table; and the worst latency
// from a waiting event to the step giving way. Counters: formulas per second,
// passes (idle steps), and latency in milliseconds.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "bench/bench_cells.h"
#include "bench/bench_workbook.h"
#include "core/memory_manager.h"
#include "core/number_text.h"
#include "formula/evaluator.h"
#include "formula/parser.h"
#include "formula/recalc.h"
#include "model/calc_globals.h"
#include "model/cell_record.h"
#include "model/cell_store.h"
#include "model/layer.h"
#include "model/layer_use.h"
#include "model/workbook.h"
#include "platform/events/clock.h"
#include "platform/events/events.h"
#include "platform/resources/resources.h"
#include "resource_bundle.h"

namespace {

enum Shape { kChain, kUpwardChain, kRowSums, kLookups };

struct Sheet : StartedLibrary {
    MemoryRef workbook = nullptr;
    MemoryRef layer = nullptr;
    int window_tag = 0;
    std::vector<uint8_t> block;  // the cells, pasted in one go

    Sheet() {
        workbook = new_recorded_workbook();
        New_SpreadSheet(&quorvin_rsrv, workbook, &layer, 0, nullptr);
        SetSheetWind(layer, &window_tag);
    }
    ~Sheet() {
        while (count_open_workbooks(&quorvin_rsrv) > 0) DisposeWorkSheet(open_workbook_at(&quorvin_rsrv, 0));
    }

    // Appends a cell to the row being built (rows in ascending order).
    void add_cell(int16_t row, int16_t column, uint8_t type, const std::vector<uint8_t>& body) {
        const size_t tail = type == kCellFormula ? kNumberSlotSize : 0;
        if (block.empty() || current_row != row) {
            current_row_at = begin_row(block, row);
            current_row = row;
        }
        append_cell(block, column, type, body.data(), body.size(), tail);
        end_row(block, current_row_at);
    }
    void number(int16_t row, int16_t column, double value) {
        std::vector<uint8_t> slot(kNumberSlotSize, 0);
        store_f64(slot.data(), value);
        add_cell(row, column, kCellConstant, slot);
    }
    void formula(int16_t row, int16_t column, const std::string& text) {
        add_cell(row, column, kCellFormula, compile_formula(text, CellPoint{row, column}, layer));
    }
    void store() {
        MemoryRef cells = Bytes2Memory(&mem_globals, block.data(), 1, int32_t(block.size()));
        InputData(CellPoint{0, 0}, CellPoint{kLastCell, kLastCell}, cells, layer);
        DisposeMemory(cells);
        block.clear();
    }

    int16_t current_row = -1;
    size_t current_row_at = 0;
};

// n formulas of a shape: chains of 10^4 down columns (each cell the one above
// plus one); SUMs of ten numbers along each row; VLOOKUPs into a 1,000-row table.
void build(Sheet& sheet, Shape shape, int n) {
    constexpr int kColumnLength = 10000;
    switch (shape) {
    case kChain: {
        const int columns = (n + kColumnLength - 1) / kColumnLength;
        const int rows = n / columns;
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < columns; ++c)
                r == 0 ? sheet.number(0, int16_t(c), 1)
                       : sheet.formula(int16_t(r), int16_t(c), "=" + cell_name(r - 1, c) + "+1");
        break;
    }
    case kUpwardChain: {  // each cell the one below plus one: settled by the bottom-up pass
        const int columns = (n + kColumnLength - 1) / kColumnLength;
        const int rows = n / columns;
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < columns; ++c)
                r == rows - 1 ? sheet.number(int16_t(r), int16_t(c), 1)
                              : sheet.formula(int16_t(r), int16_t(c), "=" + cell_name(r + 1, c) + "+1");
        break;
    }
    case kRowSums: {
        const int per_row = 10;
        const int rows = std::min(n / per_row, 31000);
        for (int r = 0; r < rows; ++r) {
            for (int c = 0; c < 10; ++c) sheet.number(int16_t(r), int16_t(c), r + c);
            for (int f = 0; f < per_row; ++f)
                sheet.formula(int16_t(r), int16_t(10 + f), "=SUM(A" + std::to_string(r + 1) + ":" + cell_name(r, f) + ")");
        }
        break;
    }
    case kLookups: {
        const int per_row = 10;
        const int rows = n / per_row;
        for (int r = 0; r < rows; ++r) {
            if (r < 1000) sheet.number(int16_t(r), 0, r), sheet.number(int16_t(r), 1, r * 2);
            for (int f = 0; f < per_row; ++f)
                sheet.formula(int16_t(r), int16_t(2 + f),
                              "=VLOOKUP(" + std::to_string((r * 7 + f) % 1000) + ",$A$1:$B$1000,2)");
        }
        break;
    }
    }
    sheet.store();
}

// The number a formula cell holds after the recalculation, or NaN.
double result_at(const Sheet& sheet, int row, int column) {
    uint8_t* cell = nullptr;
    int16_t length = 0;
    if (!get_cell_ptr(&cell, &length, CellPoint{int16_t(row), int16_t(column)}, sheet.layer) ||
        _resultType_(cell) != kResultNumber)
        return std::nan("");
    return load_f64(_resultPtr_(cell));
}

// A cell of the last row of each shape, with the value it must come to.
bool results_right(const Sheet& sheet, Shape shape, int n) {
    constexpr int kColumnLength = 10000;
    switch (shape) {
    case kChain: {
        const int columns = (n + kColumnLength - 1) / kColumnLength, rows = n / columns;
        return result_at(sheet, rows - 1, columns - 1) == rows;
    }
    case kUpwardChain: {
        const int columns = (n + kColumnLength - 1) / kColumnLength, rows = n / columns;
        return result_at(sheet, 0, 0) == rows;
    }
    case kRowSums: {
        const int r = std::min(n / 10, 31000) - 1;
        return result_at(sheet, r, 19) == 10.0 * r + 45;  // =SUM(A:J) of r..r+9
    }
    case kLookups: {
        const int r = n / 10 - 1;
        return result_at(sheet, r, 11) == 2.0 * ((r * 7 + 9) % 1000);
    }
    }
    return false;
}

void recalculate(benchmark::State& state, Shape shape) {
    const int n = int(state.range(0));
    Sheet sheet;
    build(sheet, shape, n);
    int64_t steps = 0;
    for (auto _ : state) {
        stopCalc = kCalcAutoRunning;
        do_calc_now(&sheet.window_tag, 1);
        while (stopCalc == kCalcAutoRunning) {
            calc_proc();
            ++steps;
        }
    }
    if (!results_right(sheet, shape, n)) state.SkipWithError("a formula did not come to its value");
    state.counters["formulas/s"] = benchmark::Counter(double(n) * double(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["idle_steps"] = double(steps) / double(state.iterations());
}

void BM_RecalcChain(benchmark::State& state) { recalculate(state, kChain); }
void BM_RecalcUpwardChain(benchmark::State& state) { recalculate(state, kUpwardChain); }
void BM_RecalcRowSums(benchmark::State& state) { recalculate(state, kRowSums); }
void BM_RecalcLookups(benchmark::State& state) { recalculate(state, kLookups); }

BENCHMARK(BM_RecalcChain)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RecalcUpwardChain)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RecalcRowSums)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RecalcLookups)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// An event waits from the start of a step: the time until the step gives way
// (at least the 20-tick slice, then the rest of the row in progress), over a
// layer whose recalculation takes seconds.
void BM_RecalcYieldLatency(benchmark::State& state) {
    Sheet sheet;
    build(sheet, kLookups, 30000);  // about two seconds of work
    double worst = 0, slice = double(pf::ticks_to_milliseconds(kStepSliceTicks));
    for (auto _ : state) {
        stopCalc = kCalcAutoRunning;
        do_calc_now(&sheet.window_tag, 1);
        pf::post_event(pf::kKeyDown, 'a');
        auto start = std::chrono::steady_clock::now();
        calc_proc();
        double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        worst = std::max(worst, ms);
        pf::EventRecord event;
        pf::get_next_event(pf::kEveryEvent, event);
    }
    state.counters["worst_ms"] = worst;
    state.counters["beyond_slice_ms"] = worst - slice;
}
BENCHMARK(BM_RecalcYieldLatency)->Iterations(3)->Unit(benchmark::kMillisecond);

// One pass by columns over a handful of formulas at the grid's far edges:
// it goes only over the rows and columns that hold cells.
void BM_RecalcColumnPassAtTheEdges(benchmark::State& state) {
    Sheet sheet;
    sheet.formula(0, 0, "=1+1");
    sheet.formula(7, kLastCell - 1, "=A1*2");
    sheet.formula(kLastCell, 3, "=A1+3");
    sheet.formula(kLastCell, kLastCell, "=D32000+AUHS8");
    sheet.store();
    g_calcWork = sheet.workbook;
    for (auto _ : state) {
        SetSpreadSheetCalcCycle(sheet.layer, kCycleColumns);
        LayerUse layer(sheet.layer);
        layer->recalc_resume = CellPoint{0, 0};
        layer.release();
        while (GetSpreadSheetCalcCycle(sheet.layer) == kCycleColumns) {
            g_calcSheet = sheet.layer;
            DoCalculation();
        }
    }
    g_calcWork = nullptr;
}
BENCHMARK(BM_RecalcColumnPassAtTheEdges)->Unit(benchmark::kMillisecond);

}  // namespace
