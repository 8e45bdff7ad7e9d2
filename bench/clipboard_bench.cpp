// The clipboard over 10^5 cells: copying a block of 316 x 316 numbers,
// pasting it (record and store), exporting it as text, and pasting 1 MB of
// tab-separated text from the system clipboard.
#include <benchmark/benchmark.h>

#include <string>

#include "bench/bench_workbook.h"
#include "ui/alerts.h"
#include "core/memory_manager.h"
#include "editing/clipboard.h"
#include "model/calc_globals.h"
#include "model/cell_format.h"
#include "model/cell_store.h"
#include "model/layer.h"
#include "model/workbook.h"

namespace {

constexpr int16_t kSide = 316;  // 99,856 cells
constexpr size_t kTextBytes = 1 << 20;

std::string tab_text(int32_t rows, int32_t columns) {
    std::string text;
    for (int32_t row = 0; row < rows; ++row)
        for (int32_t column = 0; column < columns; ++column)
            text += std::to_string(row * 7 + column) + (column + 1 == columns ? "\n" : "\t");
    return text;
}

// 1 MB of rows of eight numbers.
std::string megabyte_of_text() {
    std::string text;
    for (int32_t row = 0; text.size() < kTextBytes; ++row)
        for (int32_t column = 0; column < 8; ++column)
            text += std::to_string(100000 + row * 8 + column) + (column == 7 ? "\r\n" : "\t");
    return text;
}

struct Session : BenchWorkbook {
    const CellRange block{{0, 0}, {kSide - 1, kSide - 1}};

    Session() : BenchWorkbook(2) {
        set_unattended_run(true);
        put_text(tab_text(kSide, kSide));
        paste_range(layer, CellRange{block.topLeft, block.topLeft});
    }
    ~Session() {
        ClobberScrap(0);
        DisposeMemory(g_Clip);
        g_Clip = nullptr;
    }

    // Text as if another program had put it on the system clipboard.
    void put_text(const std::string& text) {
        ClobberScrap(0);
        ClipRecord clip{};
        clip.kind = kClipText;
        clip.cells = Bytes2Memory(&mem_globals, text.data(), 1, int32_t(text.size()));
        write_clip(clip);
    }
};

void report(benchmark::State& state) { state.counters["cells"] = double(kSide) * kSide; }

void BM_CopyCells(benchmark::State& state) {
    Session session;
    for (auto _ : state) copy_range(session.layer, session.block, false);
    report(state);
}

void BM_PasteCells(benchmark::State& state) {
    Session session;
    copy_range(session.layer, session.block, false);
    const CellRange target{{400, 0}, {400, 0}};
    for (auto _ : state) paste_range(session.layer, target);
    report(state);
}

void BM_ExportCellsAsText(benchmark::State& state) {
    Session session;
    copy_range(session.layer, session.block, false);
    for (auto _ : state) {
        ClipRecord clip = read_clip();
        clip.export_pending = 1;
        write_clip(clip);
        WriteClip();
    }
    report(state);
}

void BM_PasteMegabyteOfText(benchmark::State& state) {
    Session session;
    const std::string text = megabyte_of_text();
    session.put_text(text);
    const CellRange target{{1000, 0}, {1000, 0}};
    for (auto _ : state) paste_range(session.layer, target);
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
}

}  // namespace

BENCHMARK(BM_CopyCells)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PasteCells)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportCellsAsText)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PasteMegabyteOfText)->Unit(benchmark::kMillisecond);
