// Worksheet functions over 100,000 cells (4 columns of 25,000 rows of
// numbers 0..999): the conditional sum and count, the rank and the median,
// each a parsed formula evaluated as a recalculation would.
#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "core/memory_manager.h"
#include "formula/evaluator.h"
#include "formula/parser.h"
#include "model/calc_globals.h"
#include "model/cell_record.h"
#include "model/cell_store.h"
#include "model/layer.h"
#include "model/workbook.h"
#include "platform/resources/resources.h"
#include "resource_bundle.h"

namespace {

constexpr int kRows = 25000;
constexpr int kColumns = 4;

// One pasted row of number cells.
std::vector<uint8_t> number_row(int16_t row, const double* values) {
    std::vector<uint8_t> block(kRowHeaderSize);
    _SetRowID_(block.data(), row);
    for (int16_t column = 0; column < kColumns; ++column) {
        std::vector<uint8_t> cell(kCellHeaderSize + kNumberSlotSize);
        GetDefaultFormat(cell.data());
        _SetCellID_(cell.data(), column);
        cell[kFmtCellType] = kCellConstant;
        cell[kFmtLabelLength] = cell[kFmtNoteLength] = 0;
        _SetCellLength_(cell.data(), int16_t(cell.size()));
        _SetFormulaLength_(cell.data(), int16_t(kNumberSlotSize));
        _SetResultType_(cell.data(), 0);
        store_i16(cell.data() + kFmtStyleLength, 0);
        store_f64(_formulaPtr_(cell.data()), values[column]);
        block.insert(block.end(), cell.begin(), cell.end());
    }
    _SetRowLength_(block.data(), uint32_t(block.size()));
    return block;
}

struct Sheet {
    MemoryRef workbook = nullptr;
    MemoryRef layer = nullptr;

    Sheet() {
        msMemStartup(&mem_globals, 0);
        pf::resources_install(resource_bundle_data(), resource_bundle_size());
        QuorvinInit(&quorvin_rsrv, &mem_globals);
        Init_Quorvin_Globals();
        CellFormat settings;
        GetDefaultFormat(settings.bytes);
        workbook = New_WorkSheet(&quorvin_rsrv, nullptr, settings.bytes);
        New_SpreadSheet(&quorvin_rsrv, workbook, &layer, 0, nullptr);
        std::mt19937 random(42);
        std::uniform_int_distribution<int> value(0, 999);
        for (int16_t row = 0; row < kRows; ++row) {
            double values[kColumns];
            for (double& v : values) v = value(random);
            std::vector<uint8_t> block = number_row(row, values);
            CellRange range{{row, 0}, {row, kColumns - 1}};
            InputCell(&range, block.data(), int32_t(block.size()), layer);
        }
    }
    ~Sheet() {
        DisposeWorkSheet(workbook);
        msMachineShutdown(&quorvin_rsrv);
        msMemShutdown(&mem_globals);
    }
};

std::vector<uint8_t> compiled(const std::string& formula, MemoryRef layer) {
    unsigned char text[256];
    text[0] = uint8_t(formula.size());
    std::memcpy(text + 1, formula.data(), formula.size());
    MemoryRef block = nullptr;
    int16_t kind = 0;
    int32_t offset = 0;
    parse_formula_text(text, CellPoint{0, 10}, layer, &block, &kind, &offset);
    std::vector<uint8_t> bytes;
    if (block) {
        auto* p = static_cast<uint8_t*>(UseMemory(block));
        bytes.assign(p, p + GetByteSize(block));
        UnuseMemory(block);
        DisposeMemory(block);
    }
    return bytes;
}

void evaluate_formula(benchmark::State& state, const std::string& formula) {
    Sheet sheet;
    std::vector<uint8_t> bytes = compiled(formula, sheet.layer);
    if (bytes.empty()) {
        state.SkipWithError("the formula does not parse");
        return;
    }
    for (auto _ : state) {
        g_calcSheet = sheet.layer;
        g_calcWork = sheet.workbook;
        g_calcCell = CellPoint{0, 10};
        Calculate(bytes.data(), int32_t(bytes.size()));
        benchmark::DoNotOptimize(g_value);
    }
    state.counters["result"] = g_value;
    state.SetItemsProcessed(state.iterations() * int64_t(kRows) * kColumns);
}

void BM_SumIf(benchmark::State& state) { evaluate_formula(state, "=SUMIF(A1:D25000,\">500\",A1:D25000)"); }
void BM_CountIf(benchmark::State& state) { evaluate_formula(state, "=COUNTIF(A1:D25000,\">500\")"); }
void BM_Rank(benchmark::State& state) { evaluate_formula(state, "=RANK(500,A1:D25000)"); }
void BM_Median(benchmark::State& state) { evaluate_formula(state, "=MEDIAN(A1:D25000)"); }

BENCHMARK(BM_SumIf)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CountIf)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Rank)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Median)->Unit(benchmark::kMillisecond);

}  // namespace
