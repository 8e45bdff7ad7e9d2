// The window manager: a full redraw of a large document window's grid of 1,000
// text cells into its retained surface and the screen composed from it; the
// composition of a crowded screen; a window dragged across the screen.
#include "platform/draw/text.h"
#include "platform/host/host.h"
#include "platform/windows/windows.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

constexpr int kColumns = 20, kRows = 45;
constexpr int16_t kColumnWidth = 50, kRowHeight = 15;

struct Desktop {
    std::vector<pf::WindowRef> windows;
    Desktop(int count) {
        pf::headless_host_open(1024, 768);
        pf::windows_open();
        for (int i = 0; i < count; ++i) {
            int16_t offset = int16_t(30 * i);
            pf::WindowRef w = pf::create_window(pf::kDocumentWindowClass, pf::kWindowStandardDocumentAttributes,
                                                pf::Rect{int16_t(50 + offset), int16_t(10 + offset),
                                                         int16_t(740), int16_t(1014)});
            pf::set_window_title(w, "Budget " + std::to_string(i + 1));
            pf::show_window(w);
            windows.push_back(w);
        }
        pf::compose_screen();
    }
    ~Desktop() {
        pf::windows_close();
        pf::host_close();
    }
};

void draw_grid(pf::WindowRef w) {
    pf::PortScope scope(pf::window_port(w));
    pf::text_font(pf::kGenevaFont);
    pf::text_size(10);
    pf::erase_rect(pf::window_port(w)->port_rect);
    for (int r = 0; r < kRows; ++r)
        for (int c = 0; c < kColumns; ++c) {
            int16_t top = int16_t(r * kRowHeight), left = int16_t(c * kColumnWidth);
            pf::clip_rect({top, left, int16_t(top + kRowHeight), int16_t(left + kColumnWidth)});
            pf::move_to(int16_t(left + 2), int16_t(top + kRowHeight - 4));
            pf::draw_text("Cell " + std::to_string(r * kColumns + c));
        }
    pf::clip_rect({-32767, -32767, 32767, 32767});
}

void BM_WindowGridRedrawAndCompose(benchmark::State& state) {
    Desktop desktop(1);
    for (auto _ : state) {
        draw_grid(desktop.windows[0]);
        pf::compose_screen();
    }
    state.SetItemsProcessed(state.iterations() * kColumns * kRows);
}
BENCHMARK(BM_WindowGridRedrawAndCompose)->Unit(benchmark::kMillisecond);

void BM_ComposeWholeScreenOfSixWindows(benchmark::State& state) {
    Desktop desktop(6);
    for (auto _ : state) {
        pf::recompose_screen_area(pf::screen_bounds());
        pf::compose_screen();
    }
}
BENCHMARK(BM_ComposeWholeScreenOfSixWindows)->Unit(benchmark::kMicrosecond);

void BM_DragWindowStep(benchmark::State& state) {
    Desktop desktop(3);
    pf::WindowRef w = desktop.windows[0];
    pf::size_window(w, 400, 300, false);
    int16_t step = 0;
    for (auto _ : state) {
        step = int16_t((step + 7) % 300);
        pf::move_window(w, int16_t(10 + step), int16_t(40 + step / 2), false);
        pf::compose_screen();
    }
}
BENCHMARK(BM_DragWindowStep)->Unit(benchmark::kMicrosecond);

}  // namespace
