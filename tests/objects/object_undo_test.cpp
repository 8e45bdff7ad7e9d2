// Undo and redo of moves, resizes, locks, stacking order and attributes of
// drawing objects: undo gives back the state before, redo the state after,
// and the redone change can be undone again.
#include "editing/undo.h"
#include "objects/object_commands.h"
#include "objects/object_records.h"
#include "objects/object_undo.h"
#include "objects/objects.h"
#include "tests/editing/undo_fixture.h"

namespace {

// What undo and redo must give back of an object.
struct Shape {
    int16_t anchor_row, anchor_column, v_offset, width;
    uint8_t fill_pattern, line_size;
    bool locked;
    bool operator==(const Shape&) const = default;
};

class ObjectUndoTest : public UndoTest {
protected:
    std::vector<MemoryRef> made;

    void SetUp() override {
        UndoTest::SetUp();
        for (pf::FourCC kind : {kRectObject, kOvalObject, kTextObject, kPolygonObject}) {
            MemoryRef object = nullptr;
            ASSERT_EQ(NewObject(kind, &object, 0, layer), 1);
            made.push_back(object);
        }
        add_selected(layer, made[1]);
        add_selected(layer, made[3]);
    }

    std::vector<Shape> shapes() {
        std::vector<Shape> list;
        for (MemoryRef object : layer_objects(layer)) {
            const ObjectRecord r = *use_object(object);
            release_object(object);
            list.push_back(Shape{r.anchor_row, r.anchor_column, r.v_offset, r.width, r.fill_pattern, r.line_size,
                                 (r.flags & kObjectProtected) != 0});
        }
        return list;
    }

    void edit_selected(const std::function<void(ObjectRecord&)>& edit) {
        for (int32_t i = 1; MemoryRef object = get_selected_object(layer, i); ++i) {
            edit(*use_object(object));
            release_object(object);
        }
    }

    // The change made by `change`: undone, redone, undone again.
    void round_trip(const std::function<void()>& change, int16_t kind) {
        const auto before = shapes();
        const auto order_before = layer_objects(layer);
        change();
        const auto after = shapes();
        const auto order_after = layer_objects(layer);
        ASSERT_EQ(undo_kind(), kind);
        ASSERT_NE(after, before);
        DoUndo(workbook);
        EXPECT_EQ(shapes(), before);
        EXPECT_EQ(layer_objects(layer), order_before);
        EXPECT_EQ(redo_kind(), kind);
        DoRedo(workbook);
        EXPECT_EQ(shapes(), after);
        EXPECT_EQ(layer_objects(layer), order_after);
        EXPECT_EQ(undo_kind(), kind);
        DoUndo(workbook);
        EXPECT_EQ(shapes(), before);
        EXPECT_EQ(layer_objects(layer), order_before);
    }
};

TEST_F(ObjectUndoTest, MovesAndResizes) {
    for (int16_t kind : {kUndoObjectsMoved, kUndoObjectResized}) {
        round_trip([&] {
            record_object_moves(kind, layer);
            edit_selected([](ObjectRecord& r) { r.anchor_row += 3, r.anchor_column += 1, r.v_offset = 9, r.width = 77; });
        }, kind);
    }
}

TEST_F(ObjectUndoTest, ArrowKeyNudges) {
    round_trip([&] { ObjectKey(31, layer); }, kUndoObjectsMoved);
}

TEST_F(ObjectUndoTest, LockingAndUnlocking) {
    round_trip([&] { toggle_object_lock(layer); }, kUndoObjectsLocked);
    toggle_object_lock(layer);
    round_trip([&] { toggle_object_lock(layer); }, kUndoObjectsUnlocked);
}

TEST_F(ObjectUndoTest, StackingOrder) {
    for (int16_t item = 1; item <= 4; ++item) {
        const auto before = layer_objects(layer);
        restack_selected_objects(layer, item);
        if (layer_objects(layer) == before) continue;  // already in place
        DoUndo(workbook);
        ASSERT_EQ(layer_objects(layer), before) << "item " << item;
        DoRedo(workbook);
        EXPECT_NE(layer_objects(layer), before) << "item " << item;
    }
}

TEST_F(ObjectUndoTest, AttributesComeBackWithTheirBlocks) {
    round_trip([&] {
        ASSERT_EQ(record_object_attributes(selected_objects(layer), layer), 1);
        edit_selected([](ObjectRecord& r) { r.fill_pattern = 7, r.line_size = 4; });
    }, kUndoObjectAttributes);
    // The live objects stay the layer's own records.
    EXPECT_EQ(layer_objects(layer), made);
    for (MemoryRef object : made) {
        EXPECT_EQ(use_object(object)->self, object);
        EXPECT_EQ(use_object(object)->owner, layer);
        release_object(object), release_object(object);
    }
}

TEST_F(ObjectUndoTest, ClearedObjectsComeBackAndGoAgain) {
    round_trip([&] { delete_selected_objects(layer); }, kUndoClearObjects);
    EXPECT_EQ(get_selected_object(layer, 1), nullptr);
}

}  // namespace

namespace {

TEST_F(ObjectUndoTest, ANewObjectMadeWithUndoGoesWithOneUndoAndComesBackWithRedo) {
    MemoryRef object = nullptr;
    ASSERT_EQ(NewObject(kOvalObject, &object, 1, layer), 1);
    EXPECT_EQ(undo_kind(), kUndoNewObject);
    DoUndo(workbook);
    EXPECT_EQ(layer_objects(layer), made);
    DoRedo(workbook);
    EXPECT_EQ(layer_objects(layer).back(), object);
}

}  // namespace
