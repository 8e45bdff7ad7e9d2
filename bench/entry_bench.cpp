// One typed entry on a sheet of 10^5 formulas: the time from the committed
// text to the stored cell (parse, circular-reference check, first
// evaluation, undo record, store), without the recalculation that follows;
// and the same with the entry's row drawn again in a 1280 x 800 window.
#include <benchmark/benchmark.h>

#include <cairo.h>

#include <cstring>
#include <string>
#include <vector>

#include "bench/bench_cells.h"
#include "bench/bench_workbook.h"
#include "core/memory_manager.h"
#include "core/number_text.h"
#include "formula/parser.h"
#include "formula/recalc.h"
#include "model/calc_globals.h"
#include "model/cell_record.h"
#include "model/cell_store.h"
#include "model/layer.h"
#include "model/layer_use.h"
#include "model/workbook.h"
#include "platform/resources/resources.h"
#include "resource_bundle.h"
#include "ui/app_prefs.h"
#include "window/pane_layout.h"
#include "platform/draw/draw.h"
#include "platform/draw/text.h"
#include "window/cell_entry.h"
#include "window/sheet_drawing.h"

namespace {

constexpr int kRows = 10000;
constexpr int kColumns = 10;
constexpr int kWidth = 1280, kHeight = 800;

// A workbook whose layer holds kColumns chains of kRows formulas, each cell
// the one above plus one.
struct FormulaSheet : StartedLibrary {
    MemoryRef workbook = nullptr;
    MemoryRef layer = nullptr;
    int window_tag = 0;
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kWidth, kHeight);
    pf::Port port;

    FormulaSheet() {
        ParameterFactorySettings(&app_prefs);
        pg_setUndoLevels(10);
        workbook = new_recorded_workbook();
        New_SpreadSheet(&quorvin_rsrv, workbook, &layer, 0, nullptr);
        SetSheetWind(layer, &window_tag);
        fill();
        lay_out();
    }
    ~FormulaSheet() {
        pf::set_port(nullptr);
        pf::close_port(port);
        cairo_surface_destroy(surface);
        DisposeWorkSheet(workbook);
    }

    std::vector<uint8_t> compiled(int row, int column, const std::string& text) {
        return compile_formula(text, CellPoint{int16_t(row), int16_t(column)}, layer);
    }

    // A number cell, or a formula cell with room for its number result after it.
    static void append_entry(std::vector<uint8_t>& block, int column, uint8_t type, const std::vector<uint8_t>& body) {
        uint8_t* cell = append_cell(block, int16_t(column), type, body.data(), body.size(), kNumberSlotSize);
        _SetResultType_(cell, type == kCellFormula ? kResultNumber : 0);
    }

    void fill() {
        std::vector<uint8_t> block;
        for (int row = 0; row < kRows; ++row) {
            const size_t row_at = begin_row(block, int16_t(row));
            for (int column = 0; column < kColumns; ++column) {
                if (row == 0) append_entry(block, column, kCellConstant, std::vector<uint8_t>(kNumberSlotSize, 0));
                else append_entry(block, column, kCellFormula, compiled(row, column, "=" + cell_name(row - 1, column) + "+1"));
            }
            end_row(block, row_at);
        }
        MemoryRef cells = Bytes2Memory(&mem_globals, block.data(), 1, int32_t(block.size()));
        InputData(CellPoint{0, 0}, CellPoint{kLastCell, kLastCell}, cells, layer);
        DisposeMemory(cells);
    }

    // The layer's panes in an image port of the window's size.
    void lay_out() {
        pf::set_text_antialiasing(false);
        pf::open_port(port, surface, kWidth, kHeight);
        pf::set_port(&port);
        LayerUse sheet(layer);
        sheet->view_rect = pf::Rect{0, 0, kHeight - 15, kWidth - 15};
        sheet->flags |= kLayerGridLines | kLayerHeadings;
        sheet.release();
        SetActiveRects(layer);
    }

    int32_t enter(int row, int column, const std::string& text) {
        LayerUse sheet(layer);
        sheet->active_cell = CellPoint{int16_t(row), int16_t(column)};
        sheet->selection = CellRange{sheet->active_cell, sheet->active_cell};
        sheet->flags |= kLayerFormatStale;
        sheet.release();
        MemoryRef block = Bytes2Memory(&mem_globals, text.data(), 1, int32_t(text.size()));
        uint16_t offset = 0;
        const int32_t answer = Enter_Data(layer, block, nullptr, &offset, 0);
        DisposeMemory(block);
        return answer;
    }
};

FormulaSheet& sheet() {
    static FormulaSheet shared;
    return shared;
}

void run_entry(benchmark::State& state, int row, int column, const std::string& text) {
    FormulaSheet& s = sheet();
    for (auto _ : state) {
        if (s.enter(row, column, text) != kEntryStored) state.SkipWithError("entry refused");
    }
}

// A number typed into the middle of the formulas.
void BM_NumberEntry(benchmark::State& state) { run_entry(state, kRows / 2, kColumns / 2, "42"); }
// A formula at the end of a chain: the circular-reference check walks its precedents.
void BM_FormulaAtChainEnd(benchmark::State& state) {
    run_entry(state, kRows, 0, "=" + cell_name(kRows - 1, 0) + "*2");
}
// A formula summing a whole column of formulas.
void BM_SumOfAColumn(benchmark::State& state) {
    run_entry(state, kRows + 1, 1, "=SUM(" + cell_name(0, 1) + ":" + cell_name(kRows - 1, 1) + ")");
}
// A number typed into a visible formula cell, its row drawn again.
void BM_NumberEntryRedrawn(benchmark::State& state) {
    FormulaSheet& s = sheet();
    for (auto _ : state) {
        if (s.enter(5, 3, "42") != kEntryStored) state.SkipWithError("entry refused");
        DrawEntryCell(s.layer, 5, 5);
    }
}
// A text typed beside the formulas.
void BM_TextEntry(benchmark::State& state) { run_entry(state, 5, kColumns + 1, "Quarterly totals"); }

BENCHMARK(BM_NumberEntry)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NumberEntryRedrawn)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FormulaAtChainEnd)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SumOfAColumn)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TextEntry)->Unit(benchmark::kMillisecond);

}  // namespace
