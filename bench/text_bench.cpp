// Text through the port API: a 1024 x 768 sheet-like grid of 1,000 text cells (20
// columns of 51 pixels by 50 rows of 15), each clipped to its cell and drawn.
#include "platform/draw/text.h"

#include <benchmark/benchmark.h>
#include <cairo.h>

#include <string>
#include <vector>

namespace {

constexpr int kWidth = 1024, kHeight = 768;
constexpr int kColumns = 20, kRows = 50;
constexpr int kColumnWidth = 51, kRowHeight = 15;

std::vector<std::string> cell_texts() {
    std::vector<std::string> texts;
    const char* words[] = {"Revenue", "1,234.56", "North", "-42", "Q3 total", "12/31/96", "Widgets", "0.25%"};
    for (int i = 0; i < kColumns * kRows; ++i) texts.push_back(words[i % 8] + std::to_string(i % 97));
    return texts;
}

struct Sheet {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kWidth, kHeight);
    pf::Port port;
    std::vector<std::string> texts = cell_texts();
    Sheet() {
        pf::open_port(port, surface, kWidth, kHeight);
        pf::set_port(&port);
        pf::text_font(pf::kGenevaFont);
        pf::text_size(10);
    }
    ~Sheet() {
        pf::close_port(port);
        cairo_surface_destroy(surface);
    }
    void draw_grid() {
        for (int r = 0; r < kRows; ++r)
            for (int c = 0; c < kColumns; ++c) {
                int16_t top = int16_t(r * kRowHeight), left = int16_t(c * kColumnWidth);
                pf::clip_rect({top, left, int16_t(top + kRowHeight), int16_t(left + kColumnWidth)});
                pf::move_to(int16_t(left + 2), int16_t(top + kRowHeight - 4));
                pf::draw_text(texts[r * kColumns + c]);
            }
    }
};

void BM_SheetGridRedraw(benchmark::State& state) {
    pf::set_text_antialiasing(state.range(0) != 0);
    Sheet sheet;
    for (auto _ : state) sheet.draw_grid();
    state.SetItemsProcessed(state.iterations() * kColumns * kRows);
    pf::set_text_antialiasing(true);
}
BENCHMARK(BM_SheetGridRedraw)->Arg(1)->Arg(0)->ArgName("antialias")->Unit(benchmark::kMillisecond);

void BM_MeasureThousandCells(benchmark::State& state) {
    Sheet sheet;
    for (auto _ : state) {
        int total = 0;
        for (const std::string& t : sheet.texts) total += pf::text_width(t);
        benchmark::DoNotOptimize(total);
    }
}
BENCHMARK(BM_MeasureThousandCells)->Unit(benchmark::kMicrosecond);

}  // namespace
