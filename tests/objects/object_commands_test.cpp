// Clearing the selected drawing objects, and undoing it.
#include "editing/clipboard.h"
#include "objects/object_commands.h"
#include "objects/object_records.h"
#include "tests/editing/undo_fixture.h"

namespace {

class ObjectCommandsTest : public UndoTest {
protected:
    MemoryRef made(pf::FourCC kind) {
        MemoryRef object = nullptr;
        EXPECT_EQ(NewObject(kind, &object, 0, layer), 1);
        return object;
    }
    std::vector<MemoryRef> objects() {
        std::vector<MemoryRef> list;
        for (int32_t i = 1; MemoryRef object = find_object_item(layer, i); ++i) list.push_back(object);
        return list;
    }
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
