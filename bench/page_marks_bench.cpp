// The page-break marks of a layer of 25,000 rows by 40 columns at idle time:
// what a quarter-second idle step costs while nothing changes, beside a full
// layout of the pages (what each step cost when it was redone every time).
#include <benchmark/benchmark.h>

#include <string>

#include "formatted_window.h"
#include "window/doc_window.h"

namespace {

constexpr int16_t kBigRows = 25000, kBigColumns = 40;

struct BigLayer {
    bench_window::Window window{false};
    MemoryRef record = nullptr;

    BigLayer() {
        auto plain = [](uint8_t*, int, int) {};
        for (int16_t row = 0; row < kBigRows; ++row)
            for (int16_t column = 0; column < kBigColumns; ++column)
                window.put(row, column, kCellText, std::to_string(row * 7 + column), plain);
        SetSheetFlags(window.layer, GetSheetFlags(window.layer) | kLayerPageBreaks);
        record = pgAllocateNewRef(&mem_globals, sizeof(DocWindowRecord), 1, 0, true);
        DocWindowRecord fields{};
        fields.sheet = window.layer;
        fields.workbook = window.workbook;
        fields.self = record;
        write_doc_window(record, fields);
        follow_page_marks(record);
    }
};

BigLayer& big_layer() {
    static BigLayer layer;
    return layer;
}

void BM_PageMarksIdleStepUnchanged25000x40(benchmark::State& state) {
    BigLayer& big = big_layer();
    for (auto _ : state) follow_page_marks(big.record);
    state.counters["pages"] = GetMaxPage(big.window.layer);
}

void BM_PageLayout25000x40(benchmark::State& state) {
    BigLayer& big = big_layer();
    for (auto _ : state) reset_page(big.window.layer);
    state.counters["pages"] = GetMaxPage(big.window.layer);
}

BENCHMARK(BM_PageMarksIdleStepUnchanged25000x40)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PageLayout25000x40)->Unit(benchmark::kMillisecond);

}  // namespace
