// The Edit menu's cell commands: the Move Cells destination read from typed
// text (refusing what names no cell or moves the block off the grid), a
// protected workbook refusing moves, Undo and Redo, and Insert and Delete
// shifting cells.
#include "fill_fixture.h"

#include "editing/edit_menu.h"
#include "editing/editing_commands.h"
#include "model/workbook.h"
#include "platform/menus/menus.h"
#include "platform/scrap/scrap.h"
#include "window/doc_window.h"
#include "locked_cell.h"
#include "resource_ids.h"

namespace {

class EditMenu : public FillTest {
protected:
    MemoryRef record = nullptr;
    pf::MenuRef edit = nullptr;

    void SetUp() override {
        FillTest::SetUp();
        record = pgAllocateNewRef(&mem_globals, sizeof(DocWindowRecord), 1, 0, true);
        write_doc_window(record, DocWindowRecord{nullptr, layer, workbook, record, {}, {}, 0});
        pf::insert_menu(pf::get_menu(kEditMenu), 0);
        edit = pf::get_menu_handle(kEditMenu);
        pf::scrap_reset();
    }
    void TearDown() override {
        pf::clear_menu_bar();
        pf::scrap_reset();
        DisposeMemory(record);
        FillTest::TearDown();
    }
    bool enabled(int16_t item) { return pf::is_menu_item_enabled(edit, item); }

    MoveTarget target(const std::string& typed, CellRange selection, CellPoint* delta = nullptr) {
        unsigned char text[256];
        pstr(text, typed);
        CellPoint ignored{};
        return read_move_target(text, selection, delta ? delta : &ignored);
    }
};

TEST_F(EditMenu, MoveDestinationsNameACellOnTheGrid) {
    CellPoint delta{};
    EXPECT_EQ(target("B3", cells(4, 4, 5, 6), &delta), MoveTarget::kCell);
    EXPECT_EQ(delta, (CellPoint{-2, -3}));
    EXPECT_EQ(target("aa10 and more", cells(0, 0, 0, 0), &delta), MoveTarget::kCell);
    EXPECT_EQ(delta, (CellPoint{9, 26}));
    for (const char* not_a_cell : {"", "3B", "B", "12", "$B$3", "ABCDE1"})
        EXPECT_EQ(target(not_a_cell, cells(0, 0, 0, 0)), MoveTarget::kNotACell) << not_a_cell;
    for (const char* off_grid : {"A0", "A32001", "A99999999999"})
        EXPECT_EQ(target(off_grid, cells(0, 0, 0, 0)), MoveTarget::kOffGrid) << off_grid;
    EXPECT_EQ(target("A31995", cells(0, 0, 9, 0)), MoveTarget::kOffGrid);
    EXPECT_EQ(target("A31991", cells(0, 0, 9, 0)), MoveTarget::kCell);
}

TEST_F(EditMenu, AProtectedWorkbookRefusesMoves) {
    put_number(0, 0, 1);
    Set_Work_Flags(workbook, uint16_t(Get_Work_Flags(workbook) | kWorkProtected));
    select_range(cells(0, 0, 0, 0));
    move_cells(1, 1, 0, kUndoMove, layer);
    EXPECT_EQ(undo_test::alerts, std::vector<int32_t>{6});
    EXPECT_EQ(result(0, 0), 1);
    EXPECT_EQ(undo_count(), 0);
}

TEST_F(EditMenu, InsertAndDeleteShiftTheCellsBesideTheSelection) {
    put_number(1, 1, 1);   // in the selection
    put_number(4, 1, 2);   // below it
    put_number(4, 2, 3);   // another column
    put_number(1, 3, 4);   // right of it
    select_range(cells(1, 1, 2, 2));
    expect_undone(kUndoInsertCells, [&] { insert_or_delete_cells(layer, true, kShiftVertically); });
    select_range(cells(1, 1, 2, 2));  // undo selected the block it moved back
    ASSERT_EQ(insert_or_delete_cells(layer, true, kShiftVertically), 0);
    EXPECT_EQ(result(3, 1), 1);
    EXPECT_EQ(result(6, 1), 2);
    EXPECT_EQ(result(6, 2), 3);
    EXPECT_EQ(result(1, 3), 4);
    EXPECT_EQ(selection(), cells(1, 1, 2, 2));
    ASSERT_EQ(insert_or_delete_cells(layer, false, kShiftVertically), 0);
    EXPECT_EQ(result(1, 1), 1);
    EXPECT_EQ(result(4, 1), 2);
    EXPECT_EQ(undo_kind(), kUndoDeleteCells);
    ASSERT_EQ(insert_or_delete_cells(layer, false, kShiftHorizontally), 0);
    EXPECT_EQ(result(1, 1), 4);
    EXPECT_EQ(result(4, 1), 2);
}

TEST_F(EditMenu, FillItemsRunTheFourFillsAndEditItemsUndoAndRedo) {
    put_number(0, 0, 1);
    put_number(2, 2, 3);
    select_range(cells(0, 0, 2, 2));
    const int16_t kinds[] = {kUndoFillDownAlternate, kUndoFillRightAlternate, kUndoFillDown, kUndoFillRight};
    const int16_t items[] = {3, 4, 1, 2};
    std::vector<undo_test::LayerState> before;
    for (int step = 0; step < 4; ++step) {
        before = workbook_state();
        DoFillMenu(record, items[step]);
        EXPECT_EQ(undo_kind(), kinds[step]) << items[step];
    }
    EXPECT_EQ(result(0, 0), 3);  // up from the bottom row, then left from the right column
    const auto filled = workbook_state();
    DoEditMenu(record, kEditUndoItem);
    EXPECT_TRUE(workbook_state() == before);
    DoEditMenu(record, kEditRedoItem);
    EXPECT_TRUE(workbook_state() == filled);
    DoEditMenu(record, kEditSelectAllItem);
    EXPECT_EQ(selection(), cells(0, 0, 31999, 31999));
}

TEST_F(EditMenu, FillsLeaveLockedCellsAndProtectedWorkbooksAlone) {
    put_number(0, 0, 1);
    put_number(1, 0, 2);
    lock_cell(layer, CellPoint{1, 0});
    select_range(cells(0, 0, 2, 0));
    const auto before = workbook_state();
    DoFillMenu(record, kFillDownItem);
    EXPECT_TRUE(workbook_state() == before) << "the locked cell keeps its value and its lock";
    EXPECT_EQ(undo_test::alerts, std::vector<int32_t>{1});

    select_range(cells(1, 0, 2, 0));
    DoFillMenu(record, kFillDownItem);
    EXPECT_EQ(result(2, 0), 2) << "a locked source row is copied from, not written over";
    EXPECT_EQ(undo_test::alerts, std::vector<int32_t>{1});
    const auto filled = workbook_state();

    undo_test::alerts.clear();
    select_range(cells(2, 0, 3, 1));
    Set_Work_Flags(workbook, uint16_t(Get_Work_Flags(workbook) | kWorkProtected));
    DoFillMenu(record, kFillRightItem);
    EXPECT_TRUE(workbook_state() == filled);
    EXPECT_EQ(undo_test::alerts, std::vector<int32_t>{6});
    EXPECT_EQ(undo_count(), 1);
}

TEST_F(EditMenu, UndoAndRedoLeaveAProtectedWorkbookAlone) {
    put_number(0, 0, 1);
    select_range(cells(0, 0, 1, 0));
    DoFillMenu(record, kFillDownItem);
    const auto filled = workbook_state();
    const uint16_t open_flags = Get_Work_Flags(workbook);
    Set_Work_Flags(workbook, uint16_t(open_flags | kWorkProtected));
    DoEditMenu(record, kEditUndoItem);
    EXPECT_TRUE(workbook_state() == filled) << "Undo changed a protected workbook";
    EXPECT_EQ(undo_test::alerts, std::vector<int32_t>{6});

    Set_Work_Flags(workbook, open_flags);
    DoEditMenu(record, kEditUndoItem);
    const auto undone = workbook_state();
    ASSERT_FALSE(undone == filled);
    Set_Work_Flags(workbook, uint16_t(open_flags | kWorkProtected));
    DoEditMenu(record, kEditRedoItem);
    EXPECT_TRUE(workbook_state() == undone) << "Redo changed a protected workbook";
    EXPECT_EQ(undo_test::alerts, (std::vector<int32_t>{6, 6}));
}

TEST_F(EditMenu, PasteFollowsTheSystemClipboardWhileTheOwnOneIsEmpty) {
    set_edit_menu(record);
    EXPECT_FALSE(enabled(6));
    EXPECT_FALSE(enabled(8));
    pf::put_scrap(pf::kScrapText, "1", 1);
    set_edit_menu(record);
    EXPECT_TRUE(enabled(6));
    EXPECT_TRUE(enabled(8));
    pf::put_scrap(pf::four_cc("PICT"), "picture", 7);  // a picture beside the text
    set_edit_menu(record);
    EXPECT_EQ(ScrapAvailable(), pf::four_cc("PICT"));
    EXPECT_TRUE(enabled(6));
    EXPECT_FALSE(enabled(8));
    EXPECT_TRUE(enabled(16));
    EXPECT_TRUE(enabled(18));
}

}  // namespace
