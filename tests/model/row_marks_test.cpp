// Cells of long rows found through their column positions: rows and columns
// at the grid's limits, rows and columns inserted and deleted, cells
// renumbered in place behind the index, and blocks purged to the swap file.
#include <unistd.h>

#include <map>
#include <random>
#include <string>

#include "../formula/recalc_fixture.h"
#include "model/cell_store_index.h"
#include "model/insert_delete.h"
#include "platform/files/files.h"

namespace {

using Cell = std::pair<int16_t, int16_t>;

class RowMarks : public RecalcTest {
protected:
    std::map<Cell, double> stored;
    int16_t swap = 0;
    pf::FileSpec swap_spec{};

    void TearDown() override {
        RecalcTest::TearDown();
        if (!swap) return;
        pf::close_file(swap);
        pf::delete_file(swap_spec);
    }

    // Blocks nobody uses can be purged to a swap file.
    void use_swap_file() {
        int16_t volume;
        uint32_t folder;
        ASSERT_EQ(pf::find_folder(pf::FolderKind::temporary_items, true, volume, folder), 0);
        const std::string name = "row-marks-swap-" + std::to_string(getpid());
        unsigned char pname[64];
        pname[0] = uint8_t(name.size());
        std::memcpy(pname + 1, name.data(), name.size());
        pf::make_file_spec(volume, folder, pname, swap_spec);
        pf::delete_file(swap_spec);
        ASSERT_EQ(pf::create_file(swap_spec, pf::four_cc("QRVA"), pf::four_cc("QRVM")), 0);
        ASSERT_EQ(pf::open_data_fork(swap_spec, pf::kReadWritePermission, swap), 0);
        InitVirtualMemory(&mem_globals, nullptr, swap);
    }

    // Stores without checking the whole store after each cell, for rows of
    // thousands of cells.
    void store_cell(int16_t row, int16_t column, double value) {
        std::vector<uint8_t> block = number_cell(row, column, value);
        CellRange range{{row, column}, {row, column}};
        InputCell(&range, block.data(), int32_t(block.size()), layer);
        stored[{row, column}] = value;
    }

    // A row of consecutive cells all of one length (4 digits each).
    void store_even_row(int16_t row, int16_t first, int16_t last) {
        for (int32_t c = first; c <= last; ++c) store_cell(row, int16_t(c), 1000 + c % 9000);
    }

    // A dense row of every column but each third, of 1 to 6 digits.
    void store_uneven_row(int16_t row, int16_t first, int16_t last) {
        for (int32_t c = first; c <= last; ++c)
            if (c % 3 != 1) store_cell(row, int16_t(c), c % 2 ? c * 10 + 7 : c % 10);
    }

    void store_sparse_row(int16_t row, int16_t step) {
        for (int32_t c = 0; c <= kLastCell; c += step) store_cell(row, int16_t(c), c + 1);
        store_cell(row, kLastCell, 5);
    }

    // Every stored cell of the rows, the columns around and between them and
    // some at random read as the store holds them.
    void expect_rows(std::initializer_list<int16_t> rows) {
        std::mt19937 random(7);
        for (int16_t row : rows) {
            std::vector<int16_t> columns{0, 1, 2, kLastCell - 1, kLastCell};
            for (auto it = stored.lower_bound({row, 0}); it != stored.end() && it->first.first == row; ++it)
                for (int d = -1; d <= 1; ++d)
                    if (it->first.second + d >= 0 && it->first.second + d <= kLastCell)
                        columns.push_back(int16_t(it->first.second + d));
            for (int i = 0; i < 300; ++i) columns.push_back(int16_t(random() % (kLastCell + 1)));
            for (int16_t column : columns) {
                auto it = stored.find({row, column});
                ASSERT_EQ(at(row, column), it == stored.end() ? -1 : it->second) << row << "," << column;
            }
        }
    }

    // The first pass walks the rows and marks them; the later ones go by the marks.
    void expect_rows_in_passes(std::initializer_list<int16_t> rows) {
        for (int pass = 0; pass < 3 && !HasFatalFailure(); ++pass) expect_rows(rows);
    }

    void move_stored(const AxisChange& change) {
        std::map<Cell, double> moved;
        for (const auto& [cell, value] : stored) {
            const int32_t position = moved_position(change, change.rows ? cell.first : cell.second);
            if (position < 0) continue;
            moved[change.rows ? Cell{int16_t(position), cell.second} : Cell{cell.first, int16_t(position)}] = value;
        }
        stored = moved;
    }

    void change_axis(const AxisChange& change) {
        const int16_t last = change.last_deleted();
        select(change.rows ? CellRange{{change.first, 0}, {last, kLastCell}}
                           : CellRange{{0, change.first}, {kLastCell, last}});
        ASSERT_EQ(change.inserting ? insert_rowcol(layer, change.rows) : delete_rowcol(layer, change.rows), 0);
        move_stored(change);
    }

    // Moves every cell of the row from `from` on by `by` columns, in place,
    // as a writer that does not tell the index would.
    void renumber_in_place(int16_t row, int16_t from, int16_t by) {
        auto* start = static_cast<uint8_t*>(UseMemory(store()));
        const uint8_t* end = start + GetByteSize(store());
        for (uint8_t* record = start; record < end; record += _RowLength_(record)) {
            if (_RowID_(record) != row) continue;
            for (uint8_t* cell = record + kRowHeaderSize; cell < record + _RowLength_(record); cell += _cellLength_(cell))
                if (_cellID_(cell) >= from) _SetCellID_(cell, int16_t(_cellID_(cell) + by));
        }
        UnuseMemory(store());
        std::map<Cell, double> moved;
        for (const auto& [cell, value] : stored)
            moved[cell.first == row && cell.second >= from ? Cell{row, int16_t(cell.second + by)} : cell] = value;
        stored = moved;
    }
};

TEST_F(RowMarks, RowsAndColumnsAtTheGridsLimitsAreFoundByTheirMarks) {
    store_even_row(kLastCell, 0, kLastCell);
    store_uneven_row(kLastCell - 1, kLastCell - 1500, kLastCell);
    store_even_row(kLastCell - 2, kLastCell - 299, kLastCell);
    store_sparse_row(0, 500);
    expect_rows_in_passes({0, kLastCell - 2, kLastCell - 1, kLastCell});
    CalcRowPtr(layer);  // held as a recalculation holds it
    expect_rows({0, kLastCell - 2, kLastCell - 1, kLastCell});
    ReleaseCache(layer);
    EXPECT_TRUE(store_is_sound(store()));
}

TEST_F(RowMarks, MarkedRowsAreFoundWhereInsertedAndDeletedRowsAndColumnsMoveThem) {
    store_even_row(10, 0, 299);
    store_uneven_row(20, 5, 404);
    for (int16_t c = 0; c < 10000; c += 97) store_cell(30, c, c);
    expect_rows_in_passes({10, 20, 30});
    ASSERT_NO_FATAL_FAILURE(change_axis({true, true, 15, 2}));
    expect_rows_in_passes({10, 15, 20, 22, 30, 32});
    ASSERT_NO_FATAL_FAILURE(change_axis({false, true, 0, 5}));
    expect_rows_in_passes({10, 22, 32});
    ASSERT_NO_FATAL_FAILURE(change_axis({false, false, 100, 50}));
    expect_rows_in_passes({10, 22, 32});
    ASSERT_NO_FATAL_FAILURE(change_axis({true, false, 0, 11}));
    expect_rows_in_passes({0, 10, 11, 21, 22});
    EXPECT_TRUE(store_is_sound(store()));
}

// Cells renumbered behind the index keep their row's length: the cells the
// marks lead to are no longer theirs, and the row is searched afresh.
TEST_F(RowMarks, CellsRenumberedInPlaceBehindTheIndexAreFoundWhereTheyAre) {
    store_even_row(5, 0, 299);
    store_uneven_row(6, 3, 602);
    store_even_row(7, 10, 309);
    expect_rows_in_passes({5, 6, 7});
    renumber_in_place(5, 0, 1);
    renumber_in_place(6, 302, -1);
    renumber_in_place(7, 10, -10);
    // The first reads meet the marks as they were.
    EXPECT_EQ(at(5, 300), stored.at({5, 300}));  // past the last column marked
    EXPECT_EQ(at(6, 301), stored.at({6, 301}));  // in a gap the table holds empty
    EXPECT_EQ(at(7, 0), stored.at({7, 0}));      // before the first column marked
    expect_rows_in_passes({5, 6, 7});
}

// The row cache purged to the swap file (the store and the layer's record
// never are) is brought back for a read, the marks of the rows still right.
TEST_F(RowMarks, APurgedRowCacheIsBroughtBackForReadsOfMarkedRows) {
    ASSERT_NO_FATAL_FAILURE(use_swap_file());
    store_even_row(2, 0, 999);
    store_uneven_row(3, 0, 999);
    store_cell(400, 0, 1);  // a cache long enough to be purged
    expect_rows_in_passes({2, 3, 400});
    for (int round = 0; round < 2; ++round) {
        MemoryPurge(&mem_globals, INT32_MAX, nullptr);
        SpreadSheet* sheet = use_layer(layer);
        const MemoryRef cache = sheet->row_cache;
        release_layer(layer);
        ASSERT_NE(cache, nullptr);
        ASSERT_EQ(GetMemoryPtr(cache), nullptr) << "the cache was not purged";
        expect_rows({2, 3, 400});
    }
}

}  // namespace
