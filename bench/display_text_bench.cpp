// Display text of a full screen of formatted cells (60 rows by 16 columns,
// each column a different format), with and without fitting into a column
// width. Counter: cells per second.
#include <benchmark/benchmark.h>

#include <cairo.h>

#include <cmath>
#include <vector>

#include "core/memory_manager.h"
#include "model/calc_globals.h"
#include "model/display_text.h"
#include "platform/draw/port.h"
#include "platform/draw/text.h"

namespace {

constexpr int kScreenRows = 60;

struct ColumnStyle {
    uint8_t code;
    int8_t decimals;
    uint8_t flags_a;
    uint8_t flags_b;
};

// General, fixed, currencies, percent, scientific, fraction, dates and times.
constexpr ColumnStyle kColumns[] = {
    {kFormatGeneral, 2, 0, 0},         {kFormatGeneral, 2, kFlagAThousands, 0},
    {kFormatFixed, 2, kFlagAThousands, 0}, {36, 2, kFlagANegativeParens | kFlagAThousands, kFlagBFixedDecimals},
    {48, 2, kFlagAThousands, kFlagBFixedDecimals}, {kFormatPercent, 1, 0, kFlagBFixedDecimals},
    {kFormatScientific, 3, 0, 0},      {kFormatFraction, 3, 0, kFlagBFixedDecimals},
    {0, 0, 0, 0},                      {9, 0, 0, 0},
    {23, 0, 0, 0},                     {22, 0, 0, 0},
    {30, 0, 0, 0},                     {113, 0, 0, 0},
    {kFormatGeneral, 2, kFlagANegativeRed, kFlagBTriangle}, {50, 2, kFlagAThousands, kFlagBFixedDecimals},
};
constexpr int kScreenColumns = int(sizeof kColumns / sizeof kColumns[0]);

struct Screen {
    std::vector<CellInfoRecord> cells;
    Screen() {
        msMemStartup(&mem_globals, 0);
        QuorvinInit(&quorvin_rsrv, &mem_globals);
        for (int row = 0; row < kScreenRows; ++row)
            for (int column = 0; column < kScreenColumns; ++column) {
                const ColumnStyle& style = kColumns[column];
                CellInfoRecord info{};
                GetDefaultFormat(info.format.bytes);
                info.format.bytes[kFmtCode] = style.code;
                info.format.bytes[kFmtDecimals] = uint8_t(style.decimals);
                info.format.bytes[kFmtFlagsA] = style.flags_a;
                info.format.bytes[kFmtFlagsB] = style.flags_b;
                bool date = style.code < 31 || style.code > 109;
                info.value = date ? 30000.0 + row * 37.25 : (row - 20) * 1234.5678 / (column + 1) + std::sqrt(row + 0.5);
                info.memory = &mem_globals;
                cells.push_back(info);
            }
    }
    ~Screen() {
        msMachineShutdown(&quorvin_rsrv);
        msMemShutdown(&mem_globals);
    }
};

void run_screen(benchmark::State& state, int16_t width) {
    Screen screen;
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 64, 64);
    pf::Port port;
    pf::open_port(port, surface, 64, 64);
    pf::set_port(&port);
    pf::text_font(pf::kGenevaFont);
    pf::text_size(9);
    for (auto _ : state) {
        for (CellInfoRecord& cell : screen.cells) {
            CellInfoRecord info = cell;
            info.available_width = width;
            FormatCellString(&info);
            benchmark::DoNotOptimize(info.text[0]);
        }
    }
    state.counters["cells/s"] =
        benchmark::Counter(double(state.iterations()) * double(screen.cells.size()), benchmark::Counter::kIsRate);
    pf::set_port(nullptr);
    pf::close_port(port);
    cairo_surface_destroy(surface);
}

void BM_DisplayTextFullScreen(benchmark::State& state) { run_screen(state, 0); }
void BM_DisplayTextFullScreenFitted(benchmark::State& state) { run_screen(state, 40); }

BENCHMARK(BM_DisplayTextFullScreen)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DisplayTextFullScreenFitted)->Unit(benchmark::kMicrosecond);

}  // namespace
