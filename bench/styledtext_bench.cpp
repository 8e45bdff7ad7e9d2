// The styled-text engine: typing into a long text, laying out a megabyte, and
// redrawing a full view of 80 columns by 40 lines.
#include "platform/draw/draw.h"
#include "platform/fonts/fonts.h"
#include "platform/memory/memory.h"
#include "styledtext/styled_text.h"

#include <benchmark/benchmark.h>
#include <cairo.h>

#include <string>

namespace {

// An instance on its own image port, holding `text`, with its view `width` by
// `height` pixels.
struct Editor {
    cairo_surface_t* surface;
    pf::Port port;
    WEReference we = nullptr;

    Editor(const std::string& text, int width, int height, int16_t features = weFUndo) {
        surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
        pf::open_port(port, surface, width, height);
        pf::set_port(&port);
        pf::text_font(pf::kMonacoFont);
        pf::text_size(9);
        LongRect view{0, 0, height, width};
        WENew(view, view, features, false, &we);
        WEInsert(text.data(), int32_t(text.size()), nullptr, nullptr, we);
        WEClearUndo(we);
    }
    ~Editor() {
        WEDispose(we);
        pf::close_port(port);
        cairo_surface_destroy(surface);
    }
};

// Words and line ends as a document might hold them.
std::string prose(size_t bytes) {
    static const char* words[] = {"total ", "of ", "the ", "quarterly ", "figures ", "and ", "costs, ", "as ",
                                  "shown ", "below. "};
    std::string text;
    for (size_t i = 0; text.size() < bytes; ++i) {
        text += words[i % 10];
        if (i % 97 == 96) text += '\r';
    }
    text.resize(bytes);
    return text;
}

int view_width() {
    return 80 * pf::font_char_width(pf::TextStyle{pf::kMonacoFont, 9, 0}, 'm');
}

int view_height() {
    pf::FontInfo info = pf::font_info(pf::TextStyle{pf::kMonacoFont, 9, 0});
    return 40 * (info.ascent + info.descent + info.leading);
}

void BM_TypingIntoLongText(benchmark::State& state) {
    Editor editor(prose(10000), view_width(), view_height(), weFUndo | weFAutoScroll);
    WESetSelection(5000, 5000, editor.we);
    int typed = 0;
    for (auto _ : state) {
        WEKey(typed % 7 == 6 ? ' ' : 'a', 0, editor.we);
        if (++typed == 10000) {
            state.PauseTiming();
            WESetSelection(5000, 15000, editor.we);
            WEDelete(editor.we);
            typed = 0;
            state.ResumeTiming();
        }
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_TypingIntoLongText);

void BM_RelayoutOfOneMegabyte(benchmark::State& state) {
    Editor editor(prose(1 << 20), view_width(), view_height(), 0);
    for (auto _ : state) benchmark::DoNotOptimize(WECalText(editor.we));
    state.SetBytesProcessed(state.iterations() * (1 << 20));
}
BENCHMARK(BM_RelayoutOfOneMegabyte)->Unit(benchmark::kMillisecond);

// A megabyte given to a new instance: every line record is made afresh.
void BM_FirstLayoutOfOneMegabyte(benchmark::State& state) {
    std::string text = prose(1 << 20);
    for (auto _ : state) {
        Editor editor("", view_width(), view_height(), 0);
        WEUseText(pf::ptr_to_hand(text.data(), pf::Size(text.size())), editor.we);
        benchmark::DoNotOptimize(WECalText(editor.we));
    }
    state.SetBytesProcessed(state.iterations() * (1 << 20));
}
BENCHMARK(BM_FirstLayoutOfOneMegabyte)->Unit(benchmark::kMillisecond);

void BM_RedrawFullView(benchmark::State& state) {
    Editor editor(prose(80 * 40), view_width(), view_height());
    for (auto _ : state) WEUpdate(nullptr, editor.we);
}
BENCHMARK(BM_RedrawFullView)->Unit(benchmark::kMicrosecond);

}  // namespace
