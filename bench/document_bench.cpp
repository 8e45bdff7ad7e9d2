// Saving and opening native documents of 10^5 and 10^6 number cells, and
// saving with no more memory to spare than 15% of the cell store. Every save
// and open is checked. Opening is timed in this process and, as a person
// meets it, in a fresh one: the converter reading the document and writing
// it again, twelve runs, their median and their worst.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/converter_runs.h"
#include "files/document_prompts.h"
#include "files/document_saving.h"
#include "platform/memory/memory.h"
#include "tests/files/sample_workbook.h"
#include "shell/document_questions.h"

namespace {

std::string bench_path() { return (std::filesystem::temp_directory_path() / "quorvin_document_bench.qrv").string(); }

pf::FileSpec bench_spec() {
    pf::FileSpec spec;
    pf::file_spec_from_path(bench_path(), spec);
    return spec;
}

MemoryRef numbers_workbook(int32_t cells) {
    MemoryRef book = sample::new_workbook();
    sample::fill_numbers(sample::new_layer(book), cells);
    return book;
}

int16_t save_over(MemoryRef book) {
    bool exists = std::filesystem::exists(bench_path());
    return save_workbook_file(find_SpreadSheet_item(book, 0), kWholeWorkbook, bench_spec(), kFormatNative, exists,
                              true);
}

void BM_SaveDocument(benchmark::State& state) {
    sample::Session session;
    MemoryRef book = numbers_workbook(int32_t(state.range(0)));
    for (auto _ : state)
        if (save_over(book) != 0) state.SkipWithError("save failed");
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.counters["bytes"] = double(std::filesystem::file_size(bench_path()));
    std::filesystem::remove(bench_path());
}

void BM_OpenDocument(benchmark::State& state) {
    sample::Session session;
    save_over(numbers_workbook(int32_t(state.range(0))));
    pf::FileSpec spec = bench_spec();
    for (auto _ : state) {
        MemoryRef book = sample::new_workbook(&spec);
        if (Read_File(book, spec, Get_fileinfo(book)) != 0) state.SkipWithError("open failed");
        state.PauseTiming();
        if (sample::count_cells_of(book) != state.range(0)) state.SkipWithError("cells missing after opening");
        state.ResumeTiming();
        close_document_file(book);
        DisposeWorkSheet(book);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    std::filesystem::remove(bench_path());
}

// The save succeeds with the heap limited to what is in use plus 15% of the
// cell store: the block is never copied whole on the way to the file.
void BM_SaveDocumentWithinBudget(benchmark::State& state) {
    sample::Session session;
    DocumentPrompts silent = application_prompts();
    silent.file_error = [](int16_t) {};
    document_prompts = silent;
    MemoryRef book = numbers_workbook(int32_t(state.range(0)));
    double store = double(GetByteSize(GetSpreadSheetCells(find_SpreadSheet_item(book, 0))));
    save_over(book);  // the file exists: later saves go through a temporary file
    for (auto _ : state) {
        pf::set_temp_budget(0);
        pf::set_heap_budget(pf::heap_bytes_in_use() + pf::Size(store * 0.15));
        int16_t error = save_over(book);
        pf::set_heap_budget(pf::kNoBudget);
        pf::set_temp_budget(pf::kNoBudget);
        if (error != 0) state.SkipWithError("the save needed more than 15% of the store");
    }
    document_prompts = application_prompts();
    state.counters["store_bytes"] = store;
    std::filesystem::remove(bench_path());
}

// A fresh process's memory comes from the kernel, which may zero it or look
// for room in ways a process reusing its own memory never meets.
void BM_OpenDocumentInFreshConverter(benchmark::State& state) {
    const std::string copy = (std::filesystem::temp_directory_path() / "quorvin_document_bench_copy.qrv").string();
    {
        sample::Session session;
        save_over(numbers_workbook(int32_t(state.range(0))));
    }
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const bool converted = converter_converts(bench_path(), copy);
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        if (!converted) state.SkipWithError("the converter failed");
    }
    std::filesystem::remove(bench_path());
    std::filesystem::remove(copy);
}

double worst(const std::vector<double>& runs) { return *std::max_element(runs.begin(), runs.end()); }

BENCHMARK(BM_SaveDocumentWithinBudget)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveDocument)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenDocument)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenDocumentInFreshConverter)
    ->Arg(1000000)
    ->Iterations(1)
    ->Repetitions(12)
    ->UseManualTime()
    ->ComputeStatistics("worst", worst)
    ->Unit(benchmark::kMillisecond);

}  // namespace
