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
