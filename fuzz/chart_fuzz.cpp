// The chart part of a stored drawing object: read into a chart record, and a
// chart that reads is written back to the same bytes and gives each series
// its format.
#include <cstdlib>
#include <span>

#include "charts/chart_record.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz_start_application();
    const std::span<const uint8_t> stored(data, size);
    const size_t length = stored_chart_length(stored);
    auto chart = chart_from_stored(stored.first(length));
    if (length && (!chart || stored_from_chart(*chart) != std::vector<uint8_t>(data, data + length))) std::abort();
    if (!chart) return 0;
    // Each series' format as a drawing asks for it, with or without formats stored.
    MemoryRef block = Bytes2Memory(&mem_globals, chart->data(), 1, int32_t(chart->size()));
    ChartUserData format;
    for (int16_t series = 0; series < 3; ++series) GetChartPattern(block, series, &format);
    DisposeMemory(block);
    return 0;
}
