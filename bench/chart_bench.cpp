// Charts: redrawing a chart object whose data range holds 10,000 points per
// series (its numbers read from the cells, then drawn), and drawing the same
// data alone, for a line and a column chart; reading the same cells through
// a range of the whole grid.
#include <benchmark/benchmark.h>

#include <cmath>

#include "charts/chart_data.h"
#include "charts/chart_drawing.h"
#include "charts/chart_record.h"
#include "formatted_window.h"
#include "objects/object_records.h"

namespace {

constexpr int16_t kPoints = 10000, kSeries = 2;
const pf::Rect kChartRect{10, 10, 410, 710};

void number_format(uint8_t*, int, int) {}

void fill_series(bench_window::Window& window) {
    for (int16_t row = 0; row < kPoints; ++row)
        for (int16_t column = 0; column < kSeries; ++column) {
            std::string slot(kNumberSlotSize, '\0');
            const double value = std::sin(row / 300.0 + column) * 1000 + row / 10.0;
            std::memcpy(slot.data(), &value, 8);
            window.put(row, column, kCellConstant, slot, number_format);
        }
}

MemoryRef chart_object(MemoryRef layer, pf::FourCC kind) {
    MemoryRef object = nullptr;
    NewObject(kind, &object, 0, layer);
    MemoryRef chart = NewChartRecord(GetMemoryGlobals(layer), CellRange{{0, 0}, {kPoints - 1, kSeries - 1}});
    SetObj_info(object, pf::four_cc("chrt"), reinterpret_cast<intptr_t>(chart));
    return object;
}

void BM_RedrawChartOver10000Points(benchmark::State& state, pf::FourCC kind) {
    bench_window::Window window(false);
    fill_series(window);
    MemoryRef object = chart_object(window.layer, kind);
    for (auto _ : state) draw_chart_object(object, kChartRect);
}
BENCHMARK_CAPTURE(BM_RedrawChartOver10000Points, line, pf::four_cc("lcht"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_RedrawChartOver10000Points, column, pf::four_cc("bcht"))->Unit(benchmark::kMillisecond);

void BM_DrawReadData10000Points(benchmark::State& state) {
    bench_window::Window window(false);
    fill_series(window);
    MemoryRef object = chart_object(window.layer, pf::four_cc("lcht"));
    MemoryRef chart = object_chart(object);
    const ChartData data = chart_data(chart, window.layer);
    for (auto _ : state) draw_chart(pf::four_cc("lcht"), chart, data, kChartRect);
}
BENCHMARK(BM_DrawReadData10000Points)->Unit(benchmark::kMillisecond);

// The data of a chart whose range is the whole grid, over the same cells.
void BM_ReadWholeGridChart(benchmark::State& state) {
    bench_window::Window window(false);
    fill_series(window);
    MemoryRef chart = NewChartRecord(GetMemoryGlobals(window.layer), CellRange{{0, 0}, {kLastCell, kLastCell}});
    for (auto _ : state) benchmark::DoNotOptimize(chart_data(chart, window.layer));
    DisposeMemory(chart);
}
BENCHMARK(BM_ReadWholeGridChart)->Unit(benchmark::kMillisecond);

}  // namespace
