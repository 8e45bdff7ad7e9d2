// Scrolling a full 1280 x 800 window of formatted cells by one row (the
// pixels move, only the uncovered strip is drawn), and fitting a column's
// width to the texts of 32,000 rows.
#include <benchmark/benchmark.h>

#include <string>

#include "formatted_window.h"
#include "window/auto_size.h"
#include "window/scrolling.h"

namespace {

using bench_window::kHeight;
using bench_window::kWidth;
using bench_window::Window;

// One row down and back up: two scrolls per iteration.
void BM_ScrollOneRow1280x800(benchmark::State& state) {
    Window window;
    window.draw(pf::Rect{0, 0, kHeight - 15, kWidth - 15});
    for (auto _ : state) {
        Scroll_Sheet(0, 1, 0, window.layer);
        Scroll_Sheet(0, -1, 0, window.layer);
    }
    state.SetItemsProcessed(state.iterations() * 2);
}

void BM_ScrollOneColumn1280x800(benchmark::State& state) {
    Window window;
    window.draw(pf::Rect{0, 0, kHeight - 15, kWidth - 15});
    for (auto _ : state) {
        Scroll_Sheet(0, 0, 1, window.layer);
        Scroll_Sheet(0, 0, -1, window.layer);
    }
    state.SetItemsProcessed(state.iterations() * 2);
}

void BM_AutoFitColumnOf32000Rows(benchmark::State& state) {
    Window window;
    auto plain = [](uint8_t*, int, int) {};
    for (int16_t row = 0; row < kCellCount; ++row)
        window.put(row, 30, kCellText, "Entry " + std::to_string(row * 7919 % 100000), plain);
    for (auto _ : state) AutoColumnWidth(0, 30, window.layer);
    state.SetItemsProcessed(state.iterations() * kCellCount);
    state.counters["width"] = GetColumnSize(30, window.layer);
}

BENCHMARK(BM_ScrollOneRow1280x800)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ScrollOneColumn1280x800)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_AutoFitColumnOf32000Rows)->Unit(benchmark::kMillisecond);

}  // namespace
