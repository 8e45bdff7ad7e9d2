// Drawing a document window's layer: a full redraw of a 1280 x 800 window of
// formatted cells (numbers in several formats, texts that spill, faces,
// colours, fills and borders), the redraw of the band of one changed row as
// the window's update draws it, and hit-testing (the cell under a pixel).
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "formatted_window.h"
#include "window/cell_geometry.h"

namespace {

using bench_window::kHeight;
using bench_window::kWidth;
using bench_window::Window;

void BM_FullRedraw1280x800(benchmark::State& state) {
    Window window;
    const pf::Rect all{0, 0, kHeight - 15, kWidth - 15};
    for (auto _ : state) window.draw(all);
}

// The band DrawCells invalidates for one changed row, drawn as an update draws it.
void BM_RedrawAfterOneCellChanged(benchmark::State& state) {
    Window window;
    pf::Rect pane, edges{};
    GetPaneRect(&pane, 0, window.layer);
    Cell_V_Coord(0, &edges, 0, 20, window.layer);
    const pf::Rect band{int16_t(edges.top - 2), int16_t(pane.left - 1), int16_t(edges.bottom + 3), int16_t(pane.right + 2)};
    for (auto _ : state) window.draw(band);
}

void BM_HitTest(benchmark::State& state) {
    Window window;
    std::mt19937 random(7);
    std::vector<pf::Point> points(4096);
    for (pf::Point& p : points) p = pf::Point{int16_t(14 + random() % (kHeight - 30)), int16_t(32 + random() % (kWidth - 48))};
    for (auto _ : state) {
        for (const pf::Point& p : points) {
            CellPoint cell;
            PtinCell(&cell, p, 0, window.layer);
            benchmark::DoNotOptimize(cell);
        }
    }
    state.counters["hits/s"] = benchmark::Counter(double(state.iterations()) * double(points.size()), benchmark::Counter::kIsRate);
}

BENCHMARK(BM_FullRedraw1280x800)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RedrawAfterOneCellChanged)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_HitTest)->Unit(benchmark::kMicrosecond);

}  // namespace
