// Drawing speed: inverting a screen-sized rectangle, and filling and framing the cell
// rectangles of a sheet-like grid, through the port calls.
#include "platform/draw/draw.h"

#include <benchmark/benchmark.h>

#include "bench_port.h"

namespace {

constexpr int kWidth = 1024, kHeight = 768;
constexpr int kCellWidth = 64, kCellHeight = 16;  // 16 x 48 cells on the surface

pf::Rect cell_rect(int row, int column) {
    return pf::Rect{int16_t(row * kCellHeight), int16_t(column * kCellWidth), int16_t((row + 1) * kCellHeight),
                    int16_t((column + 1) * kCellWidth)};
}

void BM_InvertLargeRect(benchmark::State& state) {
    BenchPort bench(kWidth, kHeight);
    for (auto _ : state) pf::invert_rect({0, 0, kHeight, kWidth});
    state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}
BENCHMARK(BM_InvertLargeRect)->Unit(benchmark::kMicrosecond);

void BM_HighlightLargeRect(benchmark::State& state) {
    BenchPort bench(kWidth, kHeight);
    for (auto _ : state) {
        pf::clear_hilite_bit();
        pf::invert_rect({0, 0, kHeight, kWidth});
    }
    state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}
BENCHMARK(BM_HighlightLargeRect)->Unit(benchmark::kMicrosecond);

// About 1,000 cells: each filled with a pattern and framed, as a sheet redraw does.
void BM_FillAndFrameCells(benchmark::State& state) {
    BenchPort bench(kWidth, kHeight);
    int cells = 0;
    for (auto _ : state) {
        cells = 0;
        for (int row = 0; row < kHeight / kCellHeight; ++row) {
            for (int column = 0; column < kWidth / kCellWidth; ++column, ++cells) {
                pf::Rect r = cell_rect(row, column);
                pf::fill_rect(r, (row + column) % 3 ? pf::kWhitePattern : pf::kLightGrayPattern);
                pf::frame_rect(r);
            }
        }
    }
    state.SetItemsProcessed(state.iterations() * cells);
}
BENCHMARK(BM_FillAndFrameCells)->Unit(benchmark::kMicrosecond);

// Grid lines of the same sheet: one line per row and per column, through the grey pen.
void BM_GridLines(benchmark::State& state) {
    BenchPort bench(kWidth, kHeight);
    pf::pen_pat(pf::kGrayPattern);
    for (auto _ : state) {
        for (int row = 1; row <= kHeight / kCellHeight; ++row) {
            pf::move_to(0, int16_t(row * kCellHeight - 1));
            pf::line_to(kWidth - 1, int16_t(row * kCellHeight - 1));
        }
        for (int column = 1; column <= kWidth / kCellWidth; ++column) {
            pf::move_to(int16_t(column * kCellWidth - 1), 0);
            pf::line_to(int16_t(column * kCellWidth - 1), kHeight - 1);
        }
    }
}
BENCHMARK(BM_GridLines)->Unit(benchmark::kMicrosecond);

// Scrolling a screen-sized pane by one row.
void BM_ScrollPane(benchmark::State& state) {
    BenchPort bench(kWidth, kHeight);
    pf::RgnHandle uncovered = pf::new_region();
    for (auto _ : state) pf::scroll_rect({0, 0, kHeight, kWidth}, 0, -kCellHeight, uncovered);
    pf::dispose_region(uncovered);
}
BENCHMARK(BM_ScrollPane)->Unit(benchmark::kMicrosecond);

// A diagonal line across the whole coordinate space with a wide pen: the
// work follows what shows on the surface, not the line's length.
void BM_LongWideLine(benchmark::State& state) {
    BenchPort bench(kWidth, kHeight);
    pf::pen_size(int16_t(state.range(0)), int16_t(state.range(0)));
    for (auto _ : state) {
        pf::move_to(-30000, -29000);
        pf::line_to(30000, 31000);
    }
    pf::pen_normal();
}
BENCHMARK(BM_LongWideLine)->Arg(1)->Arg(300)->Unit(benchmark::kMicrosecond);

}  // namespace
