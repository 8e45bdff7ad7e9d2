// Worksheet functions over 100,000 number cells (4 columns of 25,000 rows of
// numbers 0..999, stored one cell at a time): the conditional sum and count,
// the rank and the median, each a parsed formula evaluated as a recalculation
// would; and 100,000 exact VLOOKUPs into a 1,000-row table. Every figure is
// checked against the answer worked out here, and the cells stored are counted.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "bench/bench_cells.h"
#include "bench/bench_workbook.h"
#include "core/memory_manager.h"
#include "core/memory_use.h"
#include "formula/evaluator.h"
#include "formula/parser.h"
#include "model/calc_globals.h"
#include "model/cell_record.h"
#include "model/cell_store.h"
#include "model/layer.h"
#include "model/workbook.h"
#include "platform/resources/resources.h"
#include "resource_bundle.h"

namespace {

constexpr int kRows = 25000;
constexpr int kColumns = 4;
constexpr int kTableRows = 1000;
constexpr int kLookups = 100000;

int64_t stored_cells(MemoryRef layer) {
    MemoryRef store = GetSpreadSheetCells(layer);
    MemoryUse<const uint8_t> start(store);
    const uint8_t* end = start + GetByteSize(store);
    int64_t count = 0;
    for (const uint8_t* row = start; row < end; row += _RowLength_(row))
        for (const uint8_t* cell = row + kRowHeaderSize; cell < row + _RowLength_(row); cell += _cellLength_(cell))
            ++count;
    return count;
}

struct Sheet : StartedLibrary {
    MemoryRef workbook = nullptr;
    MemoryRef layer = nullptr;
    std::vector<double> values;  // as stored, row by row

    Sheet() {
        CellFormat settings;
        GetDefaultFormat(settings.bytes);
        workbook = New_WorkSheet(&quorvin_rsrv, nullptr, settings.bytes);
        New_SpreadSheet(&quorvin_rsrv, workbook, &layer, 0, nullptr);
    }
    ~Sheet() {
        DisposeWorkSheet(workbook);
    }
    void put(int16_t row, int16_t column, double value) {
        store_number(layer, row, column, value);
        values.push_back(value);
    }
    // False, with the benchmark failed, when not every cell was stored.
    bool check_stored(benchmark::State& state) const {
        if (stored_cells(layer) == int64_t(values.size())) return true;
        state.SkipWithError("the cells were not stored");
        return false;
    }
};

void fill_numbers(Sheet& sheet) {
    std::mt19937 random(42);
    std::uniform_int_distribution<int> value(0, 999);
    for (int16_t row = 0; row < kRows; ++row)
        for (int16_t column = 0; column < kColumns; ++column) sheet.put(row, column, value(random));
}

std::vector<uint8_t> compiled(const std::string& formula, MemoryRef layer) {
    return compile_formula(formula, CellPoint{0, 10}, layer);
}

// Evaluates a compiled formula in a cell beside the data, with the row cache
// held as during a recalculation.
double evaluate(const Sheet& sheet, const std::vector<uint8_t>& bytes) {
    g_calcSheet = sheet.layer;
    g_calcWork = sheet.workbook;
    g_calcCell = CellPoint{0, 10};
    Calculate(bytes.data(), int32_t(bytes.size()));
    return g_value;
}

void check_result(benchmark::State& state, double result, double expected) {
    state.counters["result"] = result;
    if (result != expected)
        state.SkipWithError(("result " + std::to_string(result) + ", expected " + std::to_string(expected)).c_str());
}

void evaluate_formula(benchmark::State& state, const std::string& formula, double expected, bool row_cache = true) {
    Sheet sheet;
    fill_numbers(sheet);
    if (!sheet.check_stored(state)) return;
    std::vector<uint8_t> bytes = compiled(formula, sheet.layer);
    if (bytes.empty()) {
        state.SkipWithError("the formula does not parse");
        return;
    }
    if (row_cache) CalcRowPtr(sheet.layer);
    double result = 0;
    // The result is checked after the loop: no DoNotOptimize, whose register
    // form loses a double with this compiler.
    for (auto _ : state) result = evaluate(sheet, bytes);
    if (row_cache) ReleaseCache(sheet.layer);
    check_result(state, result, expected);
    state.SetItemsProcessed(state.iterations() * int64_t(kRows) * kColumns);
}

// The numbers fill_numbers stores, in the same order.
std::vector<double> generated_values() {
    std::mt19937 random(42);
    std::uniform_int_distribution<int> value(0, 999);
    std::vector<double> values(size_t(kRows) * kColumns);
    for (double& v : values) v = value(random);
    return values;
}

// SUM over the 100,000 numbers, with the row cache held as in a
// recalculation and without it: the cache must not make it slower.
void BM_Sum(benchmark::State& state) {
    std::vector<double> v = generated_values();
    double sum = 0;
    for (double x : v) sum += x;
    evaluate_formula(state, "=SUM(A1:D25000)", sum, state.range(0) != 0);
}

void BM_SumIf(benchmark::State& state) {
    std::vector<double> v = generated_values();
    double sum = 0;
    for (double x : v) sum += x > 500 ? x : 0;
    evaluate_formula(state, "=SUMIF(A1:D25000,\">500\",A1:D25000)", sum);
}
void BM_CountIf(benchmark::State& state) {
    std::vector<double> v = generated_values();
    evaluate_formula(state, "=COUNTIF(A1:D25000,\">500\")", double(std::count_if(v.begin(), v.end(), [](double x) { return x > 500; })));
}
void BM_Rank(benchmark::State& state) {
    std::vector<double> v = generated_values();
    evaluate_formula(state, "=RANK(500,A1:D25000)", 1.0 + double(std::count_if(v.begin(), v.end(), [](double x) { return x > 500; })));
}
void BM_Median(benchmark::State& state) {
    std::vector<double> v = generated_values();
    std::sort(v.begin(), v.end());
    evaluate_formula(state, "=MEDIAN(A1:D25000)", (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2);
}

BENCHMARK(BM_Sum)->ArgName("row_cache")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SumIf)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CountIf)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Rank)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Median)->Unit(benchmark::kMillisecond);

// A table of keys 0..999 in shuffled order in column A, twice the key in column
// B; 100,000 exact lookups (each key a hundred times), their results summed.
void BM_VLookupExact(benchmark::State& state) {
    Sheet sheet;
    std::vector<int> keys(kTableRows);
    std::iota(keys.begin(), keys.end(), 0);
    std::shuffle(keys.begin(), keys.end(), std::mt19937(7));
    for (int16_t row = 0; row < kTableRows; ++row) {
        sheet.put(row, 0, keys[size_t(row)]);
        sheet.put(row, 1, keys[size_t(row)] * 2.0);
    }
    if (!sheet.check_stored(state)) return;
    std::vector<std::vector<uint8_t>> formulas;
    for (int key = 0; key < kTableRows; ++key)
        formulas.push_back(compiled("=VLOOKUP(" + std::to_string(key) + ",A1:B1000,2,0)", sheet.layer));
    CalcRowPtr(sheet.layer);
    double total = 0;
    for (auto _ : state) {
        total = 0;
        for (int i = 0; i < kLookups; ++i) total += evaluate(sheet, formulas[size_t(i % kTableRows)]);
    }
    ReleaseCache(sheet.layer);
    check_result(state, total, 2.0 * (kLookups / kTableRows) * (kTableRows * (kTableRows - 1) / 2));
    state.SetItemsProcessed(state.iterations() * kLookups);
}
BENCHMARK(BM_VLookupExact)->Unit(benchmark::kMillisecond);

}  // namespace
