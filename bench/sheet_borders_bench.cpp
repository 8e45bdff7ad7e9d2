// Redrawing a whole window of a small document whose column and row formats
// carry borders: hidden columns by default with a whole-row border, borders of
// whole rows and columns, and formats far out of view. The cost follows the
// cells the window shows, whatever formats the layer stores.
#include <benchmark/benchmark.h>

#include <vector>

#include "formatted_window.h"
#include "model/layer_use.h"
#include "model/record_bytes.h"

namespace {

constexpr uint16_t kThinBox = 0x2222;

MemoryRef format_array(int32_t size, const std::vector<int16_t>& ids, int16_t extent, uint16_t borders) {
    MemoryRef array = pgAllocateNewRef(&mem_globals, size, 0, 4, true);
    for (int16_t id : ids) {
        std::vector<uint8_t> record(size_t(size), 0);
        GetDefaultFormat(record.data());
        set_format_id(record.data(), id);
        set_format_extent(record.data(), extent);
        store_u16(record.data() + kFmtBorderStyles, borders);
        PtrAndMemory(record.data(), array, 1);
    }
    return array;
}

void set_default_column_width(MemoryRef layer, int16_t width) {
    LayerUse sheet(layer);
    set_format_extent(sheet->default_column_format, width);
}

void redraw(benchmark::State& state, bench_window::Window& window) {
    SetActiveRects(window.layer);
    const pf::Rect all{0, 0, bench_window::kHeight, bench_window::kWidth};
    for (auto _ : state) window.draw(all);
}

// Every other index from 0 to `last`.
std::vector<int16_t> every_other(int16_t last) {
    std::vector<int16_t> ids;
    for (int16_t id = 0; id <= last; id = int16_t(id + 2)) ids.push_back(id);
    return ids;
}

// Columns hidden by default, a few shown, and whole rows with box borders (a
// document of about 2 KB): each row's border crosses every hidden column of
// the sheet.
void BM_RedrawHiddenColumnsRowBorders(benchmark::State& state) {
    bench_window::Window window(false);
    set_default_column_width(window.layer, 0);
    SetSpreadSheetColumnFormats(window.layer, format_array(kColumnFormatSize, {2, 5, 9}, 60, 0));
    SetSpreadSheetRowFormats(window.layer, format_array(kRowFormatSize, every_other(50), -1, kThinBox));
    redraw(state, window);
}
BENCHMARK(BM_RedrawHiddenColumnsRowBorders)->Unit(benchmark::kMillisecond);

// Whole rows and columns with box borders, some in view and some far away.
void BM_RedrawRowAndColumnBorders(benchmark::State& state) {
    bench_window::Window window(false);
    SetSpreadSheetColumnFormats(window.layer, format_array(kColumnFormatSize, {1, 3, 30000, 31999}, -1, kThinBox));
    SetSpreadSheetRowFormats(window.layer, format_array(kRowFormatSize, {2, 6, 30000, 31999}, -1, kThinBox));
    redraw(state, window);
}
BENCHMARK(BM_RedrawRowAndColumnBorders)->Unit(benchmark::kMillisecond);

// Hidden columns by default and no borders at all: grid lines and headings.
void BM_RedrawHiddenColumns(benchmark::State& state) {
    bench_window::Window window(false);
    set_default_column_width(window.layer, 0);
    redraw(state, window);
}
BENCHMARK(BM_RedrawHiddenColumns)->Unit(benchmark::kMillisecond);

}  // namespace
