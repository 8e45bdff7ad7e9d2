// The undo list and the redo record of a workbook: the depth, the item
// texts, undo and redo with nothing to do, a layer that is gone, and records
// whose blocks cannot come back into memory.
#include "undo_fixture.h"
#include "core/memory_internal.h"
#include "platform/menus/menus.h"
#include "platform/resources/resources.h"
#include "platform/screen/cursor.h"
#include "resource_ids.h"

namespace {

class UndoList : public UndoTest {
protected:
    // A paste over one cell: the record, then the change.
    void paste_number(int16_t row, int16_t column, double value) {
        CellRange range = cells(row, column, row, column);
        MemoryRef copy = nullptr;
        ASSERT_TRUE(CopyCellInfo(range.topLeft, range.botRight, &copy, store()));
        ASSERT_EQ(WriteMemUndo(kUndoPaste, kExtentRange, &range, nullptr, copy, nullptr, nullptr, nullptr, nullptr,
                               layer), 1);
        put_number(row, column, value);
    }

    std::string undo_text() {
        int16_t index = 0;
        workbook_undo_verb(workbook, &index);
        return pf::get_indexed_string(kUndoItemStrings, index);
    }
    std::string redo_text() {
        int16_t index = 0;
        workbook_redo_verb(workbook, &index);
        return pf::get_indexed_string(kRedoItemStrings, index);
    }
};

TEST_F(UndoList, NothingToUndoOrRedoBeepsOrDoesNothing) {
    put_number(0, 0, 1);
    const auto before = workbook_state();
    const int beeps = pf::beep_count();
    int16_t index = 0;
    EXPECT_EQ(workbook_undo_verb(workbook, &index), 0);
    EXPECT_EQ(index, kNothingToUndoItem);
    EXPECT_EQ(undo_text(), "Can't Undo");
    DoUndo(workbook);
    EXPECT_EQ(pf::beep_count(), beeps + 1);
    EXPECT_EQ(workbook_redo_verb(workbook, &index), 0);
    EXPECT_EQ(redo_text(), "Can't Redo");
    DoRedo(workbook);
    EXPECT_TRUE(workbook_state() == before);
    EXPECT_EQ(pf::beep_count(), beeps + 1);
}

TEST_F(UndoList, WithNoDocumentTheEditMenuHasNothingToUndo) {
    pf::insert_menu(pf::get_menu(kEditMenu), 0);
    pf::MenuRef edit = pf::get_menu_handle(kEditMenu);
    ASSERT_NE(edit, nullptr);
    pf::enable_menu_item(edit, 1);
    set_undo(nullptr);
    EXPECT_EQ(pf::get_menu_item_text(edit, 1), "Can't Undo");
    EXPECT_EQ(pf::get_menu_item_text(edit, 2), "Can't Redo");
    EXPECT_FALSE(pf::is_menu_item_enabled(edit, 1));
    EXPECT_FALSE(pf::is_menu_item_enabled(edit, 2));
    pf::clear_menu_bar();
}

TEST_F(UndoList, ItemTextsNameTheChangeAndRedoGoesWithTheNextChange) {
    paste_number(0, 0, 1);
    EXPECT_EQ(undo_text(), "Undo Paste");
    select_range(cells(0, 0, 0, 0));
    ASSERT_EQ(MoveSheetCells(1, 0, 0, kUndoMove, layer), 0);
    EXPECT_EQ(undo_text(), "Undo Move");
    DoUndo(workbook);
    EXPECT_EQ(undo_text(), "Undo Paste");
    EXPECT_EQ(redo_text(), "Redo Move");
    paste_number(5, 5, 2);
    int16_t index = 0;
    EXPECT_EQ(workbook_redo_verb(workbook, &index), 0);  // a new change ends redo
    EXPECT_EQ(undo_text(), "Undo Paste");
    for (int16_t kind = 1; kind <= kNothingToUndoItem; ++kind) {
        EXPECT_FALSE(pf::get_indexed_string(kUndoItemStrings, kind).empty()) << kind;
        EXPECT_FALSE(pf::get_indexed_string(kRedoItemStrings, kind).empty()) << kind;
    }
}

TEST_F(UndoList, TheDepthDropsTheOldestChange) {
    pg_setUndoLevels(3);
    for (int16_t i = 0; i < 4; ++i) paste_number(i, 0, i + 1);
    EXPECT_EQ(undo_count(), 3);
    for (int i = 0; i < 3; ++i) DoUndo(workbook);
    EXPECT_EQ(undo_count(), 0);
    EXPECT_EQ(result(0, 0), 1);  // the first change can no longer be undone
    EXPECT_TRUE(std::isnan(result(1, 0)));
    EXPECT_EQ(get_change_ctr(workbook), 4);  // undo never lowers the change counter
}

TEST_F(UndoList, AChangeOnALayerThatIsGoneIsDroppedWithAnAlert) {
    MemoryRef second = add_layer(workbook);
    CellRange range = cells(0, 0, 0, 0);
    ASSERT_EQ(WriteUndo(kUndoEntry, 0, &range, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, second), 1);
    DeleteSheet(second);
    DoUndo(workbook);
    EXPECT_EQ(undo_test::alerts, std::vector<int32_t>{5});
    EXPECT_EQ(undo_count(), 0);
    EXPECT_EQ(redo_kind(), 0);
}

// A record whose blocks were purged and cannot be read back answers a clear
// error and changes nothing; once memory is there again it undoes in full.
TEST_F(UndoList, ARecordThatCannotComeBackChangesNothing) {
    use_small_memory(16 * 1024);
    for (int16_t row = 0; row < 200; ++row) put_number(row, 0, row);
    const auto before = workbook_state();
    CellRange range = cells(0, 0, 199, 0);
    MemoryRef copy = nullptr;
    ASSERT_TRUE(CopyCellInfo(range.topLeft, range.botRight, &copy, store()));
    ASSERT_EQ(WriteMemUndo(kUndoCut, 0, &range, nullptr, copy, nullptr, nullptr, nullptr, nullptr, layer), 1);
    clobberCache(layer);
    Clear_Cells(&range, store());
    const auto after = workbook_state();
    MemoryPurge(&mem_globals, 64 << 20, nullptr);
    ASSERT_TRUE(copy->flags & kPurged);

    free_tire(&mem_globals);
    pf::set_heap_budget(pf::heap_bytes_in_use() + 1024);
    pf::set_temp_budget(0);
    DoUndo(workbook);
    pf::set_heap_budget(pf::kNoBudget);
    pf::set_temp_budget(pf::kNoBudget);
    EXPECT_EQ(undo_test::alerts, std::vector<int32_t>{25});
    EXPECT_TRUE(workbook_state() == after);
    EXPECT_EQ(undo_kind(), kUndoCut);

    DoUndo(workbook);
    EXPECT_TRUE(workbook_state() == before);
    EXPECT_EQ(redo_kind(), kUndoCut);
}

// Storing the cells needs room for the whole store: with too little memory,
// undo and redo change nothing, keep their records and say so.
TEST_F(UndoList, UndoAndRedoThatCannotStoreTheCellsChangeNothing) {
    for (int16_t row = 0; row < 3000; ++row) put_number(row, 0, row);
    const auto before = workbook_state();
    paste_number(1, 1, 5);
    const auto after = workbook_state();
    auto short_of_memory = [&](void (*step)(MemoryRef)) {
        free_tire(&mem_globals);
        pf::set_heap_budget(pf::heap_bytes_in_use() + 8 * 1024);
        pf::set_temp_budget(0);
        step(workbook);
        pf::set_heap_budget(pf::kNoBudget);
        pf::set_temp_budget(pf::kNoBudget);
    };
    short_of_memory(DoUndo);
    EXPECT_EQ(undo_test::alerts, std::vector<int32_t>{25});
    EXPECT_TRUE(workbook_state() == after);
    EXPECT_EQ(undo_kind(), kUndoPaste);
    EXPECT_EQ(redo_kind(), 0);
    DoUndo(workbook);
    ASSERT_TRUE(workbook_state() == before);

    undo_test::alerts.clear();
    short_of_memory(DoRedo);
    EXPECT_EQ(undo_test::alerts, std::vector<int32_t>{25});
    EXPECT_TRUE(workbook_state() == before);
    EXPECT_EQ(redo_kind(), kUndoPaste);
    EXPECT_EQ(undo_count(), 0);
    DoRedo(workbook);
    EXPECT_TRUE(workbook_state() == after);
}

TEST_F(UndoList, AFailedRecordLeavesTheListAsItWas) {
    paste_number(0, 0, 1);
    free_tire(&mem_globals);
    pf::set_heap_budget(pf::heap_bytes_in_use());
    pf::set_temp_budget(0);
    CellRange range = cells(1, 1, 1, 1);
    EXPECT_EQ(WriteUndo(kUndoEntry, 0, &range, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, layer), 0);
    pf::set_heap_budget(pf::kNoBudget);
    pf::set_temp_budget(pf::kNoBudget);
    EXPECT_EQ(undo_count(), 1);
    EXPECT_EQ(undo_kind(), kUndoPaste);
}

}  // namespace
