// The sort command: its refusals, and a sort by the selection's first column
// in either direction without asking for keys.
#include "tests/editing/fill_fixture.h"

#include "model/workbook.h"
#include "shell/sort_command.h"
#include "tests/editing/locked_cell.h"

namespace {

class SortCommand : public FillTest {
protected:
    void put_rows() {
        const double keys[] = {2, 3, 1};
        const char* labels[] = {"two", "three", "one"};
        for (int16_t row = 0; row < 3; ++row) put_number(row, 0, keys[row]), put_text(row, 1, labels[row]);
    }
};

TEST_F(SortCommand, SortsByTheFirstColumnAscendingOrDescending) {
    put_rows();
    select_range(cells(0, 0, 2, 1));
    Sort(layer, 1);
    EXPECT_EQ(text_at(0, 1) + " " + text_at(1, 1) + " " + text_at(2, 1), "one two three");
    Sort(layer, -1);
    EXPECT_EQ(text_at(0, 1) + " " + text_at(1, 1) + " " + text_at(2, 1), "three two one");
    EXPECT_TRUE(undo_test::alerts.empty());
}

TEST_F(SortCommand, RefusesAProtectedWorkbookAndASingleCell) {
    put_rows();
    select_range(cells(0, 0, 0, 0));
    Sort(layer, 1);
    Set_Work_Flags(workbook, Get_Work_Flags(workbook) | kWorkProtected);
    select_range(cells(0, 0, 2, 1));
    Sort(layer, 1);
    EXPECT_EQ(undo_test::alerts, (std::vector<int32_t>{104, 6}));
    EXPECT_EQ(text_at(0, 1), "two");
}

TEST_F(SortCommand, RefusesARangeWithALockedCell) {
    put_rows();
    lock_cell(layer, CellPoint{2, 1});
    select_range(cells(0, 0, 2, 1));
    const auto before = workbook_state();
    Sort(layer, 1);
    EXPECT_EQ(undo_test::alerts, (std::vector<int32_t>{1}));
    EXPECT_TRUE(workbook_state() == before) << "the locked cell stays where it is";
}

}  // namespace
