// Opening a BIFF8 workbook of 25,000 rows by 12 columns holding 100,000
// formulas, each row with a ROW record of its own height as spreadsheets write
// them: reading it into a layer, and reading it then recalculating it to
// completion, at 12,500 and 25,000 rows to show how the time grows.
// Counters: cells per second.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <fstream>

#include "bench/converter_runs.h"
#include "excel/compound_file.h"
#include "excel/excel_book.h"
#include "excel/excel_import.h"
#include "formula/recalc.h"
#include "model/calc_globals.h"
#include "platform/resources/resources.h"
#include "resource_bundle.h"
#include "tests/excel/excel_samples.h"
#include "tests/files/sample_workbook.h"

namespace {

constexpr int kRows = 25000;
constexpr int kNumberColumns = 8;
constexpr int kFormulaColumns = 4;

std::vector<uint8_t> large_workbook(int rows = kRows) { return biff::formula_grid(rows); }

struct ExcelSession : sample::Session {
    ExcelSession() {
        pf::resources_install(resource_bundle_data(), resource_bundle_size());
        Init_Quorvin_Globals();
    }
};

void open_workbook(benchmark::State& state, bool recalculate) {
    ExcelSession session;
    const int rows = int(state.range(0));
    std::vector<uint8_t> file = large_workbook(rows);
    for (auto _ : state) {
        MemoryRef book = sample::new_workbook();
        if (read_excel_bytes(file, sample::new_layer(book), nullptr) != 0) state.SkipWithError("read failed");
        if (recalculate) {
            ResetWorkbookCalc(book);
            calculate_workbook(book, kNoTickLimit);
        }
        state.PauseTiming();
        DisposeWorkSheet(book);
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * rows * (kNumberColumns + kFormulaColumns));
    state.counters["bytes"] = double(file.size());
}

// The record filter alone: the stream out of its container, its records read
// and checked, then every cell read again as the layers take them.
void BM_FilterExcelRecords(benchmark::State& state) {
    ExcelSession session;
    std::vector<uint8_t> file = large_workbook();
    for (auto _ : state) {
        std::vector<uint8_t> stream;
        workbook_stream(file, stream);
        ExcelBook book = read_biff_workbook(stream);
        size_t cells = 0;
        for (const ExcelSheet& sheet : book.sheets)
            if (sheet.is_worksheet) read_sheet_cells(book, stream, sheet, [&cells](const ExcelCell&) { ++cells; });
        benchmark::DoNotOptimize(cells);
    }
    state.SetItemsProcessed(state.iterations() * kRows * (kNumberColumns + kFormulaColumns));
}

// Peak memory of the converter reading a workbook into CSV, beyond what it
// takes for a workbook of one row, by cell: the formula workbook, or 10^6
// numbers (25,000 rows of 40).
void BM_ConverterPeakMemory(benchmark::State& state) {
    constexpr int kNumberRows = 25000, kNumberGridColumns = 40;
    const bool numbers = state.range(0) != 0;
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("quorvin_excel_bench_" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    auto written = [&](const std::string& name, int rows) {
        const std::vector<uint8_t> bytes =
            numbers ? biff::number_grid(rows, kNumberGridColumns) : large_workbook(rows);
        std::ofstream(folder / name, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        return (folder / name).string();
    };
    const int rows = numbers ? kNumberRows : kRows;
    const int columns = numbers ? kNumberGridColumns : kNumberColumns + kFormulaColumns;
    const std::string large = written("large.xls", rows), small = written("small.xls", 1);
    long peak = 0, base = 0;
    for (auto _ : state) {
        peak = converter_peak_bytes(large, (folder / "large.csv").string());
        base = converter_peak_bytes(small, (folder / "small.csv").string());
    }
    std::filesystem::remove_all(folder);
    if (!peak || !base) state.SkipWithError("the converter failed");
    state.counters["bytes_per_cell"] = double(peak - base) / (double(rows) * columns);
}

void BM_ReadExcelWorkbook(benchmark::State& state) { open_workbook(state, false); }
void BM_ReadAndRecalculateExcelWorkbook(benchmark::State& state) { open_workbook(state, true); }

BENCHMARK(BM_FilterExcelRecords)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadExcelWorkbook)->Arg(kRows / 2)->Arg(kRows)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadAndRecalculateExcelWorkbook)->Arg(kRows / 2)->Arg(kRows)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ConverterPeakMemory)->ArgName("numbers")->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
