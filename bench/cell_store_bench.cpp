// Building a layer's cell store in row-major, column-major and random order,
// cell by cell (InputCell) and in pasted batches (InputData), and reading it
// back at random and in ascending order with and without the row cache.
// Counters: cells, bytes per cell of the store, and of the row cache. Every
// build is checked cell by cell and every read checks what it summed.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numeric>
#include <random>
#include <vector>

#include "bench/bench_cells.h"
#include "bench/bench_workbook.h"
#include "core/memory_manager.h"
#include "model/calc_globals.h"
#include "model/cell_record.h"
#include "model/cell_store.h"
#include "model/layer.h"
#include "model/layer_use.h"
#include "model/workbook.h"

namespace {

enum Order { kRowMajor, kColumnMajor, kRandom };

struct Address {
    int16_t row, column;
};

// A square-ish grid of n cells in the given order.
std::vector<Address> addresses(int64_t n, Order order) {
    int side = int(std::ceil(std::sqrt(double(n))));
    std::vector<Address> cells;
    cells.reserve(size_t(n));
    for (int64_t i = 0; i < n; ++i) {
        int major = int(i / side), minor = int(i % side);
        if (order == kColumnMajor)
            cells.push_back({int16_t(minor), int16_t(major)});
        else
            cells.push_back({int16_t(major), int16_t(minor)});
    }
    if (order == kRandom) std::shuffle(cells.begin(), cells.end(), std::mt19937(42));
    return cells;
}

// The value stored at a cell by the builds.
double value_at(int row, int column) { return row * 1000.0 + column; }

// A number-constant cell as a one-cell row record, typed text of 4 digits.
std::vector<uint8_t> number_cell(Address at, double value) { return number_row(at.row, at.column, value, "1234"); }

struct Session : BenchWorkbook {

    Session() {
    }
    MemoryRef store() const { return GetSpreadSheetCells(layer); }
};

void build_cell_by_cell(Session& session, const std::vector<Address>& cells) {
    for (const Address& at : cells) {
        std::vector<uint8_t> block = number_cell(at, value_at(at.row, at.column));
        CellRange range{{at.row, at.column}, {at.row, at.column}};
        InputCell(&range, block.data(), int32_t(block.size()), session.layer);
    }
}

// Pastes the grid as bands of kBand rows (row-major), kBand columns
// (column-major) or row bands in shuffled order (random): one InputData each.
constexpr int kBand = 10;

std::vector<uint8_t> band_block(int top, int left, int bottom, int right) {
    std::vector<uint8_t> block;
    for (int r = top; r <= bottom; ++r) {
        size_t row_start = block.size();
        for (int c = left; c <= right; ++c) {
            std::vector<uint8_t> cell = number_cell({int16_t(r), int16_t(c)}, value_at(r, c));
            block.insert(block.end(), cell.begin() + (c == left ? 0 : kRowHeaderSize), cell.end());
        }
        _SetRowLength_(block.data() + row_start, uint32_t(block.size() - row_start));
    }
    return block;
}

void paste_band(Session& session, int top, int left, int bottom, int right) {
    std::vector<uint8_t> block = band_block(top, left, bottom, right);
    MemoryRef pasted = Bytes2Memory(&mem_globals, block.data(), 1, int32_t(block.size()));
    CellPoint top_left{int16_t(top), int16_t(left)}, bottom_right{int16_t(bottom), int16_t(right)};
    LayerUse(session.layer)->selection = {top_left, top_left};
    InputData(top_left, bottom_right, pasted, session.layer);
    DisposeMemory(pasted);
}

void build_in_bands(Session& session, int64_t n, Order order) {
    int side = int(std::ceil(std::sqrt(double(n))));
    int last = side - 1;
    std::vector<int> bands;
    for (int b = 0; b < side; b += kBand) bands.push_back(b);
    if (order == kRandom) std::shuffle(bands.begin(), bands.end(), std::mt19937(42));
    for (int b : bands) {
        int band_end = std::min(b + kBand - 1, last);
        if (order == kColumnMajor)
            paste_band(session, 0, b, last, band_end);
        else
            paste_band(session, b, 0, band_end, last);
    }
}

// Whether the store holds exactly `cells` cells, each with its value.
bool store_holds(Session& session, int64_t cells) {
    MemoryRef store = session.store();
    MemoryUse<const uint8_t> start(store);
    const uint8_t* end = start + GetByteSize(store);
    int64_t count = 0;
    bool values_right = true;
    for (const uint8_t* row = start; row < end; row += _RowLength_(row))
        for (const uint8_t* cell = row + kRowHeaderSize; cell < row + _RowLength_(row); cell += _cellLength_(cell)) {
            values_right = values_right && load_f64(_formulaPtr_(cell)) == value_at(_RowID_(row), _cellID_(cell));
            ++count;
        }
    return count == cells && values_right;
}

void report(benchmark::State& state, Session& session, int64_t cells) {
    state.counters["cells"] = double(cells);
    state.counters["store_bytes_per_cell"] = double(GetByteSize(session.store())) / double(cells);
    if (!store_holds(session, cells)) state.SkipWithError("the store does not hold the cells built");
}

void BM_BuildCellByCell(benchmark::State& state) {
    std::vector<Address> cells = addresses(state.range(0), Order(state.range(1)));
    for (auto _ : state) {
        state.PauseTiming();
        {
            Session session;
            state.ResumeTiming();
            build_cell_by_cell(session, cells);
            state.PauseTiming();
            report(state, session, state.range(0));
        }
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_BuildInBands(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        {
            Session session;
            state.ResumeTiming();
            build_in_bands(session, state.range(0), Order(state.range(1)));
            state.PauseTiming();
            report(state, session, int64_t(std::pow(std::ceil(std::sqrt(double(state.range(0)))), 2)));
        }
        state.ResumeTiming();
    }
}

// The sum of the numbers at the addresses, each read through the store.
double read_all(Session& session, const std::vector<Address>& cells) {
    double sum = 0;
    for (const Address& at : cells) {
        uint8_t* cell;
        int16_t length;
        if (get_cell_ptr(&cell, &length, CellPoint{at.row, at.column}, session.layer)) sum += load_f64(_formulaPtr_(cell));
    }
    return sum;
}

// Reads every cell once, at random or in ascending order, with or without
// the row cache held.
void BM_Read(benchmark::State& state) {
    int64_t n = state.range(0);
    bool random = state.range(1) != 0, cached = state.range(2) != 0;
    Session session;
    build_in_bands(session, n, kRowMajor);
    int side = int(std::ceil(std::sqrt(double(n))));
    std::vector<Address> cells = addresses(int64_t(side) * side, random ? kRandom : kRowMajor);
    if (cached) CalcRowPtr(session.layer);
    double expected = 0;
    for (const Address& at : cells) expected += value_at(at.row, at.column);
    double sum = 0;
    for (auto _ : state) sum = read_all(session, cells);
    if (sum != expected) state.SkipWithError("a cell read back wrong or not at all");
    state.SetItemsProcessed(state.iterations() * int64_t(cells.size()));
    report(state, session, int64_t(cells.size()));
    LayerUse sheet(session.layer);
    state.counters["cache_bytes_per_cell"] =
        sheet->row_cache ? double(GetByteSize(sheet->row_cache)) / double(cells.size()) : 0.0;
    sheet.release();
    if (cached) ReleaseCache(session.layer);
}

// Reads 10^5 cells at random from rows of the given width: the time per read
// should not grow with the width.
void BM_ReadAtRowWidth(benchmark::State& state) {
    constexpr int kCells = 100000;
    const int width = int(state.range(0)), rows = kCells / width;
    Session session;
    for (int top = 0; top < rows; top += kBand) paste_band(session, top, 0, std::min(top + kBand, rows) - 1, width - 1);
    std::vector<Address> cells;
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < width; ++c) cells.push_back({int16_t(r), int16_t(c)});
    std::shuffle(cells.begin(), cells.end(), std::mt19937(42));
    double expected = 0, sum = 0;
    for (const Address& at : cells) expected += value_at(at.row, at.column);
    for (auto _ : state) sum = read_all(session, cells);
    if (sum != expected) state.SkipWithError("a cell read back wrong or not at all");
    state.SetItemsProcessed(state.iterations() * int64_t(cells.size()));
}

}  // namespace

BENCHMARK(BM_ReadAtRowWidth)->ArgName("width")->Arg(10)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

// order: 0 row-major, 1 column-major, 2 random. Cell by cell, column-major and
// random order move the store's tail on every insertion (the layout keeps the
// cells in one sorted block); at 10^6 cells that is minutes, so only the
// row-major build runs at that size.
BENCHMARK(BM_BuildCellByCell)
    ->ArgNames({"cells", "order"})
    ->Args({100000, kRowMajor})
    ->Args({100000, kColumnMajor})
    ->Args({100000, kRandom})
    ->Args({1000000, kRowMajor})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

BENCHMARK(BM_BuildInBands)
    ->ArgNames({"cells", "order"})
    ->ArgsProduct({{100000, 1000000}, {kRowMajor, kColumnMajor, kRandom}})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

// random: 0 ascending, 1 random; cached: 0 the row cache not held (the store
// keeps it as its index all the same), 1 held as by a recalculation.
BENCHMARK(BM_Read)
    ->ArgNames({"cells", "random", "cached"})
    ->ArgsProduct({{100000, 1000000}, {0, 1}, {0, 1}})
    ->Unit(benchmark::kMillisecond);
