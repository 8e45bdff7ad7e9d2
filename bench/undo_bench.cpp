// Undo and redo of changes covering 10^5 cells, beside doing them: a paste
// over a block of 316 x 316 number cells (the record, then the cells), and a
// move of that block by one row and one column.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "bench/bench_cells.h"
#include "bench/bench_workbook.h"
#include "core/memory_manager.h"
#include "editing/undo.h"
#include "model/undo_record.h"
#include "model/calc_globals.h"
#include "model/cell_record.h"
#include "model/cell_store.h"
#include "model/layer.h"
#include "model/layer_use.h"
#include "model/workbook.h"

namespace {

constexpr int16_t kSide = 316;  // 99,856 cells
constexpr int kTyped = 4;

// Row records of number cells covering the range, each holding `value`.
std::vector<uint8_t> number_block(const CellRange& range, double value) {
    const size_t cell_size = kCellHeaderSize + kNumberSlotSize + kTyped;
    std::vector<uint8_t> block;
    block.reserve(size_t(range.botRight.v - range.topLeft.v + 1) *
                  (kRowHeaderSize + cell_size * size_t(range.botRight.h - range.topLeft.h + 1)));
    for (int16_t row = range.topLeft.v; row <= range.botRight.v; ++row) {
        const size_t row_at = begin_row(block, row);
        for (int16_t column = range.topLeft.h; column <= range.botRight.h; ++column)
            append_number(block, column, value + row + column, "1234");
        end_row(block, row_at);
    }
    return block;
}

struct Session : BenchWorkbook {
    const CellRange block{{0, 0}, {kSide - 1, kSide - 1}};
    MemoryRef pasted = nullptr;

    Session() : BenchWorkbook(2) {
        std::vector<uint8_t> bytes = number_block(block, 1);
        MemoryRef first = Bytes2Memory(&mem_globals, bytes.data(), 1, int32_t(bytes.size()));
        select(block);
        InputData(block.topLeft, block.botRight, first, layer);
        DisposeMemory(first);
        bytes = number_block(block, 2);
        pasted = Bytes2Memory(&mem_globals, bytes.data(), 1, int32_t(bytes.size()));
    }
    ~Session() {
        DisposeMemory(pasted);
    }

    void select(const CellRange& range) {
        LayerUse sheet(layer);
        sheet->selection = range;
        sheet->active_cell = range.topLeft;
    }

    // A paste as the paste command does it: the former cells to a record, then the new ones.
    void paste() {
        MemoryRef former = nullptr;
        CopyCellInfo(block.topLeft, block.botRight, &former, GetSpreadSheetCells(layer));
        WriteMemUndo(kUndoPaste, kExtentRange, &block, nullptr, former, nullptr, nullptr, nullptr, nullptr, layer);
        select(block);
        InputData(block.topLeft, block.botRight, pasted, layer);
    }

    void move() {
        select(block);
        MoveSheetCells(1, 1, 0, kUndoMove, layer);
    }
    // The block back where it was, with no record left over.
    void move_back() {
        DoUndo(workbook);
        DisposeUndo(exchange_redo(workbook, nullptr));
    }
};

void report(benchmark::State& state) { state.counters["cells"] = double(kSide) * kSide; }

void BM_Paste(benchmark::State& state) {
    Session session;
    for (auto _ : state) session.paste();
    report(state);
}

using Change = void (Session::*)();

// Times the undo of a change made untimed.
void time_undo(benchmark::State& state, Change change) {
    Session session;
    for (auto _ : state) {
        state.PauseTiming();
        (session.*change)();
        state.ResumeTiming();
        DoUndo(session.workbook);
    }
    report(state);
}

// Times the redo of a change made and undone untimed; `restore`, when given,
// then puts the workbook back untimed.
void time_redo(benchmark::State& state, Change change, Change restore = nullptr) {
    Session session;
    for (auto _ : state) {
        state.PauseTiming();
        (session.*change)();
        DoUndo(session.workbook);
        state.ResumeTiming();
        DoRedo(session.workbook);
        if (restore) {
            state.PauseTiming();
            (session.*restore)();
            state.ResumeTiming();
        }
    }
    report(state);
}

void BM_UndoPaste(benchmark::State& state) { time_undo(state, &Session::paste); }
void BM_RedoPaste(benchmark::State& state) { time_redo(state, &Session::paste); }

void BM_Move(benchmark::State& state) {
    Session session;
    for (auto _ : state) {
        session.move();
        state.PauseTiming();
        session.move_back();
        state.ResumeTiming();
    }
    report(state);
}

void BM_UndoMove(benchmark::State& state) { time_undo(state, &Session::move); }
void BM_RedoMove(benchmark::State& state) { time_redo(state, &Session::move, &Session::move_back); }

}  // namespace

BENCHMARK(BM_Paste)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UndoPaste)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RedoPaste)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Move)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UndoMove)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RedoMove)->Unit(benchmark::kMillisecond);
