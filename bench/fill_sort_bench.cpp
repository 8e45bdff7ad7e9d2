// Sorting 32,000 rows of 10 columns by three keys (numbers with ties, text
// and a third number key), and Fill Series down 32,000 cells, each undone
// between runs so every run starts from the same layer.
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>
#include <vector>

#include "bench/bench_cells.h"
#include "bench/bench_workbook.h"
#include "core/memory_manager.h"
#include "editing/fill.h"
#include "editing/sort.h"
#include "editing/undo.h"
#include "model/calc_globals.h"
#include "model/cell_record.h"
#include "model/cell_store.h"
#include "model/layer.h"
#include "model/layer_use.h"
#include "model/workbook.h"

namespace {

constexpr int16_t kRows = 32000;
constexpr int16_t kColumns = 10;

// Column 0: a number with many ties; column 1: text; the rest numbers.
std::vector<uint8_t> table(uint32_t seed) {
    std::vector<uint8_t> block;
    for (int16_t row = 0; row < kRows; ++row) {
        const size_t row_at = begin_row(block, row);
        seed = seed * 1103515245u + 12345u;
        append_number(block, 0, double((seed >> 16) % 50));
        const std::string text = "item " + std::to_string((seed >> 8) % 997);
        append_cell(block, 1, kCellText, text.data(), text.size());
        for (int16_t column = 2; column < kColumns; ++column) append_number(block, column, double(seed % (column * 37)));
        end_row(block, row_at);
    }
    return block;
}

struct Session : BenchWorkbook {

    Session() : BenchWorkbook(2) {
    }
    void select(const CellRange& range) {
        LayerUse(layer)->selection = range;
    }
    void store(const std::vector<uint8_t>& bytes, const CellRange& range) {
        MemoryRef block = Bytes2Memory(&mem_globals, bytes.data(), 1, int32_t(bytes.size()));
        select(range);
        InputData(range.topLeft, range.botRight, block, layer);
        DisposeMemory(block);
    }
};

void BM_SortRowsByThreeKeys(benchmark::State& state) {
    Session session;
    const CellRange range{{0, 0}, {kRows - 1, kColumns - 1}};
    session.store(table(7), range);
    const int16_t keys[kSortKeys] = {0, 1, 2};
    const uint16_t orders[kSortKeys] = {1, 0, 1};
    for (auto _ : state) {
        session.select(range);
        benchmark::DoNotOptimize(Sort_Sheet(session.layer, 1, keys, orders));
        state.PauseTiming();
        DoUndo(session.workbook);
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}
BENCHMARK(BM_SortRowsByThreeKeys)->Unit(benchmark::kMillisecond);

void BM_FillSeriesDown(benchmark::State& state) {
    Session session;
    std::vector<uint8_t> first;
    first.resize(kRowHeaderSize);
    _SetRowID_(first.data(), 0);
    append_number(first, 0, 1);
    _SetRowLength_(first.data(), uint32_t(first.size()));
    const CellRange column{{0, 0}, {kRows - 1, 0}};
    session.store(first, CellRange{{0, 0}, {0, 0}});
    const double step = 0.5;
    const int16_t kind = int16_t(state.range(0));
    for (auto _ : state) {
        session.select(column);
        benchmark::DoNotOptimize(
            FillSeries(session.layer, nullptr, kSeriesDown, kind, kUnitWeekday, kind == kSeriesLinear ? &step : nullptr, nullptr));
        state.PauseTiming();
        DoUndo(session.workbook);
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}
BENCHMARK(BM_FillSeriesDown)->Arg(kSeriesLinear)->Arg(kSeriesDate)->Arg(kSeriesAutomatic)->Unit(benchmark::kMillisecond);

}  // namespace
