// The row cache as the store's index, under random sequences of storing,
// replacing, clearing, cutting and pasting, with the cache held or not.
#include <algorithm>
#include <map>
#include <random>
#include <string>

#include "model/cell_store_index.h"
#include "model_fixture.h"

namespace {

using Cell = std::pair<int16_t, int16_t>;

// When the row cache describes the store: every stored row's entry is its
// offset + 1, every other entry is 0, and the cell hint lies on a cell of its row.
::testing::AssertionResult index_is_sound(MemoryRef layer) {
    SpreadSheet* sheet = use_layer(layer);
    std::string fault;
    if (row_cache_current(sheet)) {
        auto* start = static_cast<const uint8_t*>(UseMemory(sheet->cells));
        const uint8_t* end = start + GetByteSize(sheet->cells);
        auto* entries = static_cast<const uint32_t*>(UseMemory(sheet->row_cache));
        std::vector<uint32_t> walked(size_t(sheet->last_row) + 1, 0);
        for (const uint8_t* row = start; row < end; row += _RowLength_(row)) {
            if (_RowID_(row) > sheet->last_row) fault = "row " + std::to_string(_RowID_(row)) + " past the cache";
            else walked[size_t(_RowID_(row))] = uint32_t(row - start) + 1;
        }
        for (size_t r = 0; r < walked.size() && fault.empty(); ++r)
            if (entries[r] != walked[r]) fault = "entry of row " + std::to_string(r) + " differs from the walk";
        if (sheet->row_cache_data && sheet->row_cache_data != entries) fault = "held pointer is not the cache's";
        CellPoint hint = sheet->cell_hint;
        if (fault.empty() && hint.v >= 0) {
            uint32_t row_entry = hint.v <= sheet->last_row ? entries[hint.v] : 0;
            const uint8_t* row = start + row_entry - 1;
            const uint8_t* cell = start + sheet->cell_hint_offset;
            if (!row_entry || cell < row + kRowHeaderSize || cell >= row + _RowLength_(row) || _cellID_(cell) != hint.h)
                fault = "hint is not a cell of its row";
        }
        UnuseMemory(sheet->row_cache);
        UnuseMemory(sheet->cells);
    }
    release_layer(layer);
    if (fault.empty()) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << fault;
}

class RowIndex : public ModelTest {
protected:
    std::map<Cell, double> expected;
    std::mt19937 random{2024};
    int last_column = 30;  // of the cells stored and read

    int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); }

    CellRange random_range(int max_height, int max_width) {
        int16_t top = int16_t(pick(0, 45)), left = int16_t(pick(0, last_column - 5));
        return {{top, left}, {int16_t(top + pick(0, max_height)), int16_t(left + pick(0, max_width))}};
    }

    static bool inside(const CellRange& range, Cell cell) {
        return cell.first >= range.topLeft.v && cell.first <= range.botRight.v && cell.second >= range.topLeft.h &&
               cell.second <= range.botRight.h;
    }

    void forget(const CellRange& range) {
        std::erase_if(expected, [&](const auto& entry) { return inside(range, entry.first); });
    }

    // Numbers of 1 to 9 digits, so that replacing a cell grows or shrinks its row.
    void store_one() {
        int16_t row = int16_t(pick(0, 50)), column = int16_t(pick(0, last_column));
        double value = std::floor(std::pow(10.0, pick(0, 8)) * (1 + pick(0, 8)));
        put(row, column, value);
        expected[{row, column}] = value;
    }

    void clear_some() {
        CellRange range = random_range(4, 12 + last_column / 10);
        Clear_Cells(&range, store());
        forget(range);
    }

    void copy_or_cut_and_paste() {
        CellRange source = random_range(6, 6);
        bool cut = pick(0, 1) == 1;
        MemoryRef block = nullptr;
        ASSERT_EQ(copy_cells(int16_t(cut), source.topLeft, source.botRight, &block, layer), 0);
        std::map<Cell, double> copied;
        for (const auto& [cell, value] : expected)
            if (inside(source, cell)) copied[cell] = value;
        if (cut) forget(source);
        CellPoint to{int16_t(pick(0, 45)), int16_t(pick(0, last_column - 5))};
        select({to, to});
        ASSERT_EQ(InputData(source.topLeft, source.botRight, block, layer), 0);
        DisposeMemory(block);
        int16_t down = int16_t(to.v - source.topLeft.v), across = int16_t(to.h - source.topLeft.h);
        forget({to, {int16_t(source.botRight.v + down), int16_t(source.botRight.h + across)}});
        for (const auto& [cell, value] : copied)
            expected[{int16_t(cell.first + down), int16_t(cell.second + across)}] = value;
    }

    // The number at a cell read as a recalculation step reads it, with the
    // layer, its store and (when held) its cache in use; -1 for none.
    double held_at(int16_t row, int16_t column) {
        SpreadSheet* sheet = use_layer(layer);
        HeldLayerCells held = held_layer_cells(layer, sheet);
        held.start = static_cast<uint8_t*>(UseMemory(store()));
        const uint8_t* cell = find_held_cell(held, CellPoint{row, column});
        double number = cell ? cell_number(cell) : -1;
        UnuseMemory(store());
        release_layer(layer);
        return number;
    }

    // Each read goes one way or the other, so that both keep the hint and
    // the column positions the other relies on.
    void read_some() {
        for (int i = 0; i < 8; ++i) {
            Cell cell{int16_t(pick(0, 55)), int16_t(pick(0, last_column + 5))};
            auto it = expected.find(cell);
            const double read = pick(0, 1) ? held_at(cell.first, cell.second) : at(cell.first, cell.second);
            ASSERT_EQ(read, it == expected.end() ? -1 : it->second) << cell.first << "," << cell.second;
        }
    }

    void hold_or_release() {
        if (use_layer(layer)->row_cache_data) ReleaseCache(layer);
        else CalcRowPtr(layer);
        release_layer(layer);
    }

    void expect_contents() {
        ASSERT_EQ(count_cells(), int(expected.size()));
        for (const auto& [cell, value] : expected) ASSERT_EQ(at(cell.first, cell.second), value);
    }

    // Random steps out of 20: `stores` store a cell, two clear, two paste,
    // the rest but one read, one holds or releases the cache; the store and
    // its index are checked after each.
    void run_random_steps(int steps, int stores) {
        for (int step = 0; step < steps; ++step) {
            int action = pick(0, 19);
            if (action < stores) store_one();
            else if (action < stores + 2) clear_some();
            else if (action < stores + 4) copy_or_cut_and_paste();
            else if (action < 19) read_some();
            else hold_or_release();
            ASSERT_TRUE(store_is_sound(store())) << "step " << step;
            ASSERT_TRUE(index_is_sound(layer)) << "step " << step;
            if (HasFatalFailure()) return;
        }
        expect_contents();
        ReleaseCache(layer);
    }
};

TEST_F(RowIndex, RandomStoresClearsAndPastesKeepTheStoreAndItsIndexSound) {
    run_random_steps(4000, 12);
}

// Rows long enough for column positions: reads mark them, every change
// must leave no stale position behind.
TEST_F(RowIndex, RandomChangesToLongRowsLeaveNoStalePositions) {
    last_column = 400;
    for (int16_t row = 0; row < 50; row += 7)
        for (int16_t column = 0; column <= last_column; column += 2) {
            put(row, column, row * 1000 + column);
            expected[{row, column}] = row * 1000 + column;
        }
    run_random_steps(1500, 6);
}

TEST_F(RowIndex, AMarkedRowChangedBehindTheLayersBackIsSearchedAfresh) {
    for (int16_t c = 0; c < 300; ++c) put(2, c, c);
    for (int pass = 0; pass < 3; ++pass)
        for (int16_t c = 299; c >= 0; c -= 3) ASSERT_EQ(at(2, c), c);
    CellRange middle{{2, 100}, {2, 199}};
    Clear_Cells(&middle, store());
    for (int16_t c = 0; c < 300; ++c) ASSERT_EQ(at(2, c), c >= 100 && c < 200 ? -1 : c) << c;
    put(2, 150, 7);  // a row that grows loses its positions
    for (int16_t c = 299; c >= 0; --c) ASSERT_EQ(at(2, c), c == 150 ? 7 : c >= 100 && c < 200 ? -1 : c) << c;
    EXPECT_TRUE(index_is_sound(layer));
}

TEST_F(RowIndex, AHeldCacheFollowsRowsThatAppearPastItsEndAndVanish) {
    put(3, 0, 1);
    CalcRowPtr(layer);
    put(700, 2, 2);  // past the cache's last row: the held cache grows
    put(1, 1, 3);    // before every row: all of them move
    SpreadSheet* sheet = use_layer(layer);
    ASSERT_NE(sheet->row_cache_data, nullptr);
    EXPECT_EQ(sheet->last_row, 700);
    EXPECT_NE(sheet->row_cache_data[700], 0u);
    release_layer(layer);
    EXPECT_TRUE(index_is_sound(layer));
    EXPECT_EQ(at(700, 2), 2);
    CellRange row_one{{1, 0}, {1, 5}};
    Clear_Cells(&row_one, store());  // behind the layer's back: the cache is filled again when used
    EXPECT_EQ(at(3, 0), 1);
    EXPECT_EQ(at(1, 1), -1);
    EXPECT_TRUE(index_is_sound(layer));
    ReleaseCache(layer);
}

// Reads with everything held: through the held cache while it describes the
// store; by walking once the store changed behind the layer's back.
TEST_F(RowIndex, HeldReadsTrustTheCacheOnlyWhileItDescribesTheStore) {
    for (int16_t r = 0; r < 6; ++r)
        for (int16_t c = 0; c < 4; ++c) put(int16_t(r * 3), c, r * 10 + c);
    CalcRowPtr(layer);
    for (int16_t r = 0; r < 6; ++r)
        for (int16_t c = 0; c < 5; ++c) ASSERT_EQ(held_at(int16_t(r * 3), c), c < 4 ? r * 10 + c : -1);
    EXPECT_EQ(held_at(1, 0), -1);
    EXPECT_EQ(held_at(-1, 0), -1);
    EXPECT_EQ(held_at(0, -1), -1);
    CellRange first_rows{{0, 0}, {3, 5}};
    Clear_Cells(&first_rows, store());
    for (int16_t r = 0; r < 6; ++r) EXPECT_EQ(held_at(int16_t(r * 3), 2), r < 2 ? -1 : r * 10 + 2) << r;
    ReleaseCache(layer);
    EXPECT_EQ(held_at(15, 3), 53);  // no cache held: walked
    EXPECT_TRUE(index_is_sound(layer));
}

TEST_F(RowIndex, ReadingAlongALongRowGoesOnFromTheLastCellFound) {
    for (int16_t c = 0; c < 200; ++c) put(4, c, c);
    for (int16_t c = 0; c < 200; ++c) ASSERT_EQ(at(4, c), c);
    EXPECT_EQ(at(4, 0), 0);  // back before the hint: searched from the row's start
    EXPECT_EQ(at(4, 500), -1);
    EXPECT_TRUE(index_is_sound(layer));
}

// A marked row whose columns bunch at both ends (the guess from their spread
// lands far off) and a dense one (the guess is right): every cell is found,
// and the gaps between them hold nothing.
TEST_F(RowIndex, MarkedRowsFindEveryCellHoweverTheirColumnsAreSpread) {
    std::vector<int16_t> bunched;
    for (int16_t c = 0; c < 150; ++c) bunched.push_back(c);
    for (int16_t c = 20000; c < 20150; ++c) bunched.push_back(c);
    bunched.push_back(31999);
    for (int16_t c : bunched) put(6, c, c);
    for (int16_t c = 0; c < 400; ++c) put(8, c, c);
    std::mt19937 random(5);
    for (int pass = 0; pass < 3; ++pass) {  // the first pass walks the rows and marks them
        for (int16_t c : bunched) ASSERT_EQ(at(6, c), c) << c;
        for (int i = 0; i < 400; ++i) {
            const auto c = int16_t(random() % 32000);
            const bool stored = std::binary_search(bunched.begin(), bunched.end(), c);
            ASSERT_EQ(at(6, c), stored ? c : -1) << c;
            ASSERT_EQ(at(8, c), c < 400 ? c : -1) << c;
        }
    }
    EXPECT_TRUE(index_is_sound(layer));
}

// Dense rows are found by column: one of consecutive cells of one length (the
// offset counted), one whose cells differ in length and one with gaps (both
// through a table). Every cell is found, nothing between or beyond them, and
// a cell replaced by one of another length, or of the same, reads right.
TEST_F(RowIndex, DenseRowsFindEveryCellByColumn) {
    std::map<Cell, double> stored;
    auto store_cell = [&](int16_t row, int16_t column, double value) {
        put(row, column, value);
        stored[{row, column}] = value;
    };
    for (int16_t c = 10; c < 310; ++c) store_cell(2, c, 100 + c);  // 3 digits each
    for (int16_t c = 0; c < 300; ++c) store_cell(4, c, c);
    for (int16_t c = 0; c < 600; c += 3) store_cell(6, c, c);
    auto expect_rows = [&] {
        for (int16_t row : {2, 4, 6})
            for (int16_t c = 0; c < 700; ++c) {
                auto it = stored.find({row, c});
                ASSERT_EQ(at(row, c), it == stored.end() ? -1 : it->second) << row << "," << c;
            }
    };
    for (int pass = 0; pass < 3; ++pass) expect_rows();  // the first pass walks the rows and indexes them
    store_cell(2, 50, 777);
    store_cell(6, 300, 5);
    expect_rows();
    store_cell(2, 60, 123456);
    store_cell(4, 100, 7);
    for (int pass = 0; pass < 2; ++pass) expect_rows();
    EXPECT_TRUE(index_is_sound(layer));
}

TEST_F(RowIndex, WithoutMemoryForTheCacheCellsAreStillStoredAndFound) {
    pf::set_temp_budget(0);
    pf::set_heap_budget(pf::heap_bytes_in_use() + 4096);
    for (int16_t r = 0; r < 20; ++r) put(int16_t(r * 500), 0, r);
    pf::set_heap_budget(pf::kNoBudget);
    for (int16_t r = 0; r < 20; ++r) EXPECT_EQ(at(int16_t(r * 500), 0), r);
    EXPECT_TRUE(index_is_sound(layer));
}

}  // namespace
