// Formula throughput: parsing typed formulas into their stored form, and
// evaluating stored formulas, for short arithmetic, a sum over 1,000 cells
// and a vertical lookup over 1,000 rows. Items per second are formulas per
// second. Evaluations hold the layer's row cache, as a recalculation pass does;
// the lookup is also timed without it.
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>
#include <vector>

#include "bench/bench_cells.h"
#include "bench/bench_workbook.h"
#include "core/memory_manager.h"
#include "core/memory_use.h"
#include "formula/evaluator.h"
#include "formula/parser.h"
#include "model/calc_globals.h"
#include "model/cell_format.h"
#include "model/cell_record.h"
#include "model/cell_store.h"
#include "model/layer.h"
#include "model/workbook.h"
#include "platform/resources/resources.h"
#include "resource_bundle.h"

namespace {

constexpr int kRows = 1000;

// One started library with a layer whose column A holds 1 ... 1000 and
// column B their squares.
struct Sheet : StartedLibrary {
    MemoryRef workbook = nullptr;
    MemoryRef layer = nullptr;

    Sheet() {
        workbook = new_recorded_workbook("Bench");
        New_SpreadSheet(&quorvin_rsrv, workbook, &layer, kLayerGridLines, nullptr);
        for (int16_t row = 0; row < kRows; ++row) {
            put(row, 0, row + 1);
            put(row, 1, double(row + 1) * (row + 1));
        }
    }

    ~Sheet() {
        DisposeWorkSheet(workbook);
    }

    void put(int16_t row, int16_t column, double value) { store_number(layer, row, column, value); }

    std::vector<uint8_t> parse(const std::string& text, CellPoint cell) { return compile_formula(text, cell, layer); }
};

Sheet& sheet() {
    static Sheet instance;
    return instance;
}

const char* const kFormulas[] = {
    "=(A1+2)*3-4/5^2",
    "=SUM(A1:A1000)",
    "=VLOOKUP(777,A1:B1000,2)",
};

void BM_Parse(benchmark::State& state) {
    Sheet& s = sheet();
    const std::string text = kFormulas[state.range(0)];
    unsigned char typed[256];
    typed[0] = uint8_t(text.size());
    std::memcpy(typed + 1, text.data(), text.size());
    for (auto _ : state) {
        MemoryRef formula = nullptr;
        int16_t kind = 0;
        parse_formula_text(typed, CellPoint{1000, 3}, s.layer, &formula, &kind, nullptr);
        DisposeNonNilMemory(formula);
    }
    state.SetItemsProcessed(state.iterations());
    state.SetLabel(text);
}

void evaluate(benchmark::State& state, bool row_cache) {
    Sheet& s = sheet();
    const std::string text = kFormulas[state.range(0)];
    const std::vector<uint8_t> bytes = s.parse(text, CellPoint{1000, 3});
    g_calcSheet = s.layer;
    g_calcWork = s.workbook;
    g_calcCell = CellPoint{1000, 3};
    if (row_cache) CalcRowPtr(s.layer);
    for (auto _ : state) {
        Calculate(bytes.data(), int32_t(bytes.size()));
        benchmark::DoNotOptimize(g_value);
    }
    if (row_cache) ReleaseCache(s.layer);
    state.SetItemsProcessed(state.iterations());
    state.SetLabel(text);
}

void BM_Evaluate(benchmark::State& state) { evaluate(state, true); }
void BM_EvaluateWithoutRowCache(benchmark::State& state) { evaluate(state, false); }

BENCHMARK(BM_Parse)->DenseRange(0, 2);
BENCHMARK(BM_Evaluate)->DenseRange(0, 2);
BENCHMARK(BM_EvaluateWithoutRowCache)->Arg(2);

}  // namespace
