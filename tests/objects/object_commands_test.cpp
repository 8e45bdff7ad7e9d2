// Clearing the selected drawing objects, and undoing it.
#include "editing/clipboard.h"
#include "objects/object_commands.h"
#include "objects/objects.h"
#include "model/workbook.h"
#include "objects/object_records.h"
#include "tests/editing/undo_fixture.h"
#include "window/cell_geometry.h"

namespace {

class ObjectCommandsTest : public UndoTest {
protected:
    MemoryRef made(pf::FourCC kind) {
        MemoryRef object = nullptr;
        EXPECT_EQ(NewObject(kind, &object, 0, layer), 1);
        return object;
    }
    std::vector<MemoryRef> objects() { return layer_objects(layer); }
};

TEST_F(ObjectCommandsTest, ClearTakesTheSelectedObjectsAndUndoPutsThemBackInOrder) {
    MemoryRef a = made(kRectObject), b = made(kOvalObject), c = made(kLineObject), d = made(kTextObject);
    add_selected(layer, c);
    add_selected(layer, a);
    EXPECT_EQ(Do_Clear(0, layer), kEditDone);
    EXPECT_EQ(objects(), (std::vector<MemoryRef>{b, d}));
    EXPECT_EQ(get_selected_object(layer, 1), nullptr);
    DoUndo(workbook);
    EXPECT_EQ(objects(), (std::vector<MemoryRef>{a, b, c, d}));
    EXPECT_EQ(GetObj_info(a, pf::four_cc("link")), 0);
    EXPECT_EQ(GetObj_info(c, pf::four_cc("link")), 0);
}

TEST_F(ObjectCommandsTest, ANewDocumentHoldingOnlyDrawingObjectsHasSomethingToSave) {
    EXPECT_EQ(doc_is_really_dirty(workbook), 0);
    MemoryRef shape = made(kOvalObject);
    EXPECT_EQ(doc_is_really_dirty(workbook), 1) << "closing it would lose the oval";
    add_selected(layer, shape);
    Do_Clear(0, layer);
    EXPECT_EQ(doc_is_really_dirty(workbook), 0);
}

TEST_F(ObjectCommandsTest, WithNoObjectSelectedClearActsOnTheCells) {
    made(kRectObject);
    EXPECT_EQ(delete_selected_objects(layer), 0);
    EXPECT_EQ(num_objects(layer), 1);
}

}  // namespace

namespace {

TEST_F(ObjectCommandsTest, UndoPutsMovedAndResizedObjectsBack) {
    MemoryRef a = made(kRectObject), b = made(kOvalObject);
    add_selected(layer, a);
    add_selected(layer, b);
    const ObjectRecord before_a = *use_object(a), before_b = *use_object(b);
    release_object(a), release_object(b);
    ASSERT_EQ(record_object_moves(kUndoObjectsMoved, layer), 1);
    for (MemoryRef object : {a, b}) {
        ObjectRecord* record = use_object(object);
        record->anchor_row = 9, record->anchor_column = 4, record->v_offset = 7, record->width = 99;
        release_object(object);
    }
    DoUndo(workbook);
    for (auto [object, before] : {std::pair{a, before_a}, std::pair{b, before_b}}) {
        const ObjectRecord now = *use_object(object);
        release_object(object);
        EXPECT_EQ((std::vector<int>{now.anchor_row, now.anchor_column, now.v_offset, now.width}),
                  (std::vector<int>{before.anchor_row, before.anchor_column, before.v_offset, before.width}));
    }
}

}  // namespace

namespace {

TEST_F(ObjectCommandsTest, ArrowKeysNudgeTheSelectedObjectsAcrossCellEdges) {
    MemoryRef box = made(kRectObject), locked = made(kOvalObject), other = made(kLineObject);
    SetObj_info(locked, pf::four_cc("prot"), 1);
    add_selected(layer, box);
    add_selected(layer, locked);
    ObjectRecord* record = use_object(box);
    record->anchor_row = 3, record->anchor_column = 2;
    release_object(box);
    EXPECT_EQ(ObjectKey(30, layer), 1);  // up, out of row 3 into row 2's last pixel
    const ObjectRecord moved = *use_object(box);
    release_object(box);
    EXPECT_EQ(moved.anchor_row, 2);
    EXPECT_EQ(moved.v_offset, GetRowSize(2, layer) - 1);
    EXPECT_EQ(ObjectKey(31, layer), 1);  // down again
    EXPECT_EQ(use_object(box)->anchor_row, 3);
    release_object(box);
    EXPECT_EQ(use_object(locked)->anchor_row, 0);  // locked objects stay
    release_object(locked);
    DoUndo(workbook);
    EXPECT_EQ(use_object(box)->anchor_row, 2);
    release_object(box);
    EXPECT_EQ(ObjectKey('a', layer), 0);
    EXPECT_EQ(ObjectKey(8, layer), 1);  // Backspace, as Clear, refuses while a locked object is selected
    EXPECT_EQ(num_objects(layer), 3);
    RemoveSelected(layer, locked);
    EXPECT_EQ(ObjectKey(8, layer), 1);  // and clears the others
    EXPECT_EQ(num_objects(layer), 2);
    EXPECT_EQ(layer_objects(layer), (std::vector<MemoryRef>{locked, other}));
    DoUndo(workbook);
    EXPECT_EQ(num_objects(layer), 3);
}

TEST_F(ObjectCommandsTest, TheDeleteKeyLeavesTheObjectsOfALockedWorkbook) {
    MemoryRef box = made(kRectObject);
    add_selected(layer, box);
    Set_Work_Flags(workbook, kWorkProtected);
    EXPECT_EQ(ObjectKey(127, layer), 1);
    EXPECT_EQ(num_objects(layer), 1);
}

TEST_F(ObjectCommandsTest, ObjectsStopAtTheGridsEdge) {
    MemoryRef box = made(kRectObject);
    add_selected(layer, box);
    EXPECT_EQ(ObjectKey(28, layer), 1);
    EXPECT_EQ(ObjectKey(30, layer), 1);
    const ObjectRecord r = *use_object(box);
    release_object(box);
    EXPECT_EQ((std::vector<int>{r.anchor_row, r.anchor_column, r.v_offset, r.h_offset}), (std::vector<int>{0, 0, 0, 0}));
}

}  // namespace

namespace {

TEST_F(ObjectCommandsTest, StackingOrderOfTheSelectedObjectsAndItsUndo) {
    MemoryRef a = made(kRectObject), b = made(kOvalObject), c = made(kLineObject), d = made(kTextObject);
    add_selected(layer, b);
    restack_selected_objects(layer, 1);  // to the front
    EXPECT_EQ(objects(), (std::vector<MemoryRef>{a, c, d, b}));
    restack_selected_objects(layer, 4);  // one backward
    EXPECT_EQ(objects(), (std::vector<MemoryRef>{a, c, b, d}));
    restack_selected_objects(layer, 2);  // to the back
    EXPECT_EQ(objects(), (std::vector<MemoryRef>{b, a, c, d}));
    restack_selected_objects(layer, 3);  // one forward
    EXPECT_EQ(objects(), (std::vector<MemoryRef>{a, b, c, d}));
    DoUndo(workbook);
    EXPECT_EQ(objects(), (std::vector<MemoryRef>{b, a, c, d}));
    DoUndo(workbook);
    EXPECT_EQ(objects(), (std::vector<MemoryRef>{a, c, b, d}));
}

TEST_F(ObjectCommandsTest, LockingTheSelectedObjectsAndItsUndo) {
    MemoryRef a = made(kRectObject), b = made(kOvalObject);
    SetObj_info(b, pf::four_cc("prot"), 1);
    add_selected(layer, a);
    add_selected(layer, b);
    EXPECT_FALSE(object_is_locked(layer)) << "the first selected object tells";
    toggle_object_lock(layer);  // not all locked: lock them all
    EXPECT_TRUE(GetObj_info(a, pf::four_cc("prot")));
    EXPECT_TRUE(object_is_locked(layer));
    toggle_object_lock(layer);
    EXPECT_FALSE(GetObj_info(b, pf::four_cc("prot")));
    DoUndo(workbook);  // the unlock undone
    EXPECT_TRUE(GetObj_info(a, pf::four_cc("prot")) && GetObj_info(b, pf::four_cc("prot")));
    DoUndo(workbook);  // the lock undone: the object locked before stays locked
    EXPECT_FALSE(GetObj_info(a, pf::four_cc("prot")));
    EXPECT_TRUE(GetObj_info(b, pf::four_cc("prot")));
}

}  // namespace
