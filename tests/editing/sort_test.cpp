// Sorting rows by up to three key columns and columns by up to three key
// rows: the order of numbers, text, errors and missing values in both
// directions, the later keys, ties, formulas carried with their rows, empty
// rows and columns, undo, and texts of each script in its alphabet's order.
#include "fill_fixture.h"

#include "files/entry_script.h"
#include "formula/function_values.h"
#include "model/layer.h"

namespace {

class Sorts : public FillTest {
protected:
    int16_t sort(CellRange range, bool by_rows, std::initializer_list<int16_t> keys,
                 std::initializer_list<uint16_t> orders = {1, 1, 1}) {
        int16_t key_list[kSortKeys] = {kNoSortKey, kNoSortKey, kNoSortKey};
        uint16_t order_list[kSortKeys] = {1, 1, 1};
        std::copy(keys.begin(), keys.end(), key_list);
        std::copy(orders.begin(), orders.end(), order_list);
        select_range(range);
        return Sort_Sheet(layer, by_rows ? 1 : 0, key_list, order_list);
    }
    // The labels down a column (across a row), "" where there is none.
    std::string labels_down(int16_t column, int16_t first, int16_t last) {
        std::string out;
        for (int16_t row = first; row <= last; ++row) out += (text_at(row, column).empty() ? "-" : text_at(row, column)) + " ";
        return out;
    }
    std::string labels_across(int16_t row, int16_t first, int16_t last) {
        std::string out;
        for (int16_t column = first; column <= last; ++column)
            out += (text_at(row, column).empty() ? "-" : text_at(row, column)) + " ";
        return out;
    }
    // Rows labelled in column 1 whose key-1 cells (column 0) hold, top to
    // bottom: 3, "b", an error, nothing, 1, "a".
    void put_mixed_keys() {
        put_number(0, 0, 3);
        put_text(1, 0, "b");
        put_number(2, 0, N_AN(kErrValue));
        put_number(4, 0, 1);
        put_text(5, 0, "a");
        const char* labels[] = {"n3", "tb", "err", "none", "n1", "ta"};
        for (int16_t row = 0; row < 6; ++row) put_text(row, 1, labels[row]);
    }
};

TEST_F(Sorts, MixedKeysAscendingAndDescending) {
    put_mixed_keys();
    ASSERT_EQ(sort(cells(0, 0, 5, 1), true, {0}), 0);
    EXPECT_EQ(labels_down(1, 0, 5), "n1 n3 ta tb err none ");
    DoUndo(workbook);
    ASSERT_EQ(sort(cells(0, 0, 5, 1), true, {0}, {0}), 0);
    EXPECT_EQ(labels_down(1, 0, 5), "n3 n1 tb ta err none ");
}

TEST_F(Sorts, EmptyRowsEndAtTheBottomAndFormulasMoveWithTheirRows) {
    put_number(0, 0, 9);
    put_formula(0, 1, "=A1*2");
    put_number(2, 0, 4);
    put_formula(2, 1, "=A3*2");
    put_text(3, 0, "zed");
    put_text_result(4, 0, "mid");  // sorts among the text by its result
    put_text(4, 1, "result m");
    ASSERT_EQ(sort(cells(0, 0, 4, 1), true, {0}), 0);
    EXPECT_EQ(result(0, 0), 4);
    EXPECT_EQ(formula(0, 1), "=A1*2");
    EXPECT_EQ(formula(1, 1), "=A2*2");
    EXPECT_EQ(text_at(2, 1), "result m");
    EXPECT_EQ(text_at(3, 0), "zed");
    EXPECT_EQ(type_at(4, 0), -1);
    calculate_now();
    EXPECT_EQ(result(1, 1), 18);
}

TEST_F(Sorts, SecondAndThirdKeysBreakTies) {
    // key 1 in column 0, key 2 in column 1, key 3 in column 2, label in 3.
    struct Row { double k1; double k2; double k3; const char* label; };
    const Row rows[] = {{1, 5, 1, "a"}, {1, 2, 9, "b"}, {2, 0, 0, "c"}, {1, 2, 3, "d"}, {1, kNoSortKey, 0, "e"}};
    for (int16_t r = 0; r < 5; ++r) {
        put_number(r, 0, rows[r].k1);
        if (rows[r].k2 >= 0) put_number(r, 1, rows[r].k2);
        put_number(r, 2, rows[r].k3);
        put_text(r, 3, rows[r].label);
    }
    ASSERT_EQ(sort(cells(0, 0, 4, 3), true, {0, 1, 2}), 0);
    EXPECT_EQ(labels_down(3, 0, 4), "d b a e c ");
    DoUndo(workbook);
    ASSERT_EQ(sort(cells(0, 0, 4, 3), true, {0, 1, 2}, {1, 0, 0}), 0);
    EXPECT_EQ(labels_down(3, 0, 4), "a b d e c ");
    DoUndo(workbook);
    // Key 2 empty in one row: the row with a value comes first both ways.
    ASSERT_EQ(sort(cells(0, 0, 4, 3), true, {0, 1}, {0, 0}), 0);
    EXPECT_EQ(labels_down(3, 0, 4), "c a d b e ");  // full ties read backwards
}

TEST_F(Sorts, TiesKeepTheirOrderInTheListThatDescendingReadsBackwards) {
    const char* labels[] = {"p", "q", "r", "s"};
    for (int16_t r = 0; r < 4; ++r) {
        if (r != 2) put_number(r, 0, 1);
        put_text(r, 1, labels[r]);
    }
    put_number(4, 0, 0);
    put_text(4, 1, "t");
    ASSERT_EQ(sort(cells(0, 0, 4, 1), true, {0}), 0);
    EXPECT_EQ(labels_down(1, 0, 4), "t p q s r ");
    DoUndo(workbook);
    ASSERT_EQ(sort(cells(0, 0, 4, 1), true, {0}, {0}), 0);
    EXPECT_EQ(labels_down(1, 0, 4), "s q p t r ");
}

TEST_F(Sorts, ColumnsByKeyRows) {
    // key row 0; labels in row 1; columns 0..5.
    put_text(0, 0, "b");
    put_number(0, 1, N_AN(kErrValue));
    put_number(0, 2, 7);
    put_number(0, 4, 2);
    put_text(0, 5, "a");
    put_number(0, 6, N_AN(kErrValue));
    const char* labels[] = {"tb", "e1", "n7", "none", "n2", "ta", "e2"};
    for (int16_t c = 0; c < 7; ++c) put_text(1, c, labels[c]);
    ASSERT_EQ(sort(cells(0, 0, 1, 6), false, {0}), 0);
    EXPECT_EQ(labels_across(1, 0, 6), "n2 n7 ta tb e1 e2 none ");
    DoUndo(workbook);
    ASSERT_EQ(sort(cells(0, 0, 1, 6), false, {0}, {0}), 0);
    EXPECT_EQ(labels_across(1, 0, 6), "n7 n2 tb ta e1 e2 none ");
}

TEST_F(Sorts, ColumnsWithCellsMoveLeftAndLaterKeysOrderTheRest) {
    put_number(2, 1, 5);   // column B: key row 2 only
    put_number(2, 4, 3);   // column E
    put_number(0, 3, 1);   // column D: key row 0
    ASSERT_EQ(sort(cells(0, 0, 2, 5), false, {0, 2}), 0);
    EXPECT_EQ(result(0, 0), 1);
    EXPECT_EQ(result(2, 1), 3);
    EXPECT_EQ(result(2, 2), 5);
    for (int16_t column = 3; column <= 5; ++column)
        for (int16_t row = 0; row <= 2; ++row) EXPECT_EQ(type_at(row, column), -1);
}

TEST_F(Sorts, ASortIsUndoneInOneStepAndAnEmptyRangeWritesNothing) {
    put_mixed_keys();
    expect_undone(kUndoSort, [&] { sort(cells(0, 0, 5, 1), true, {0}, {0}); });
    expect_undone(kUndoSort, [&] { sort(cells(0, 0, 5, 1), false, {3}); });
    EXPECT_EQ(sort(cells(10, 0, 20, 5), true, {0}), 0);
    EXPECT_EQ(undo_count(), 0);
}

// Each list typed in reverse order with two words moved, then sorted.
TEST_F(Sorts, TextsOfEachScriptInTheirAlphabetsOrder) {
    const std::vector<std::vector<std::string>> lists = {
        {"Анна", "Борис", "Елена", "Ёж", "Кофе", "Москва", "Яна"},
        {"Αθήνα", "Άλφα", "Βήτα", "Γάμμα", "Ωμέγα"},
        {"Cukr", "Čaj", "Dům", "Ruka", "Řeka", "Sůl", "Šála"},
        {"\xC3\xA6on", "\xC3\xA4pfel", "Apple", "apple", "b", "Zebra", "Москва"},
    };
    for (int16_t column = 0; column < int16_t(lists.size()); ++column) {
        std::vector<std::string> shuffled(lists[size_t(column)].rbegin(), lists[size_t(column)].rend());
        std::rotate(shuffled.begin(), shuffled.begin() + 2, shuffled.end());
        for (int16_t row = 0; row < int16_t(shuffled.size()); ++row) put_spelled(row, column, shuffled[size_t(row)]);
        ASSERT_EQ(sort(cells(0, column, int16_t(shuffled.size() - 1), column), true, {column}), 0);
        std::vector<std::string> sorted;
        for (int16_t row = 0; row < int16_t(shuffled.size()); ++row) {
            const uint8_t* cell = cell_at(row, column);
            const std::string_view text(reinterpret_cast<const char*>(_formulaPtr_(cell)), size_t(_formulaLength_(cell)));
            sorted.push_back(cell_field_utf8(cell, text, format_font_in(cell, layer)));
        }
        EXPECT_EQ(sorted, lists[size_t(column)]);
    }
}

}  // namespace
