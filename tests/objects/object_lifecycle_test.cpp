// Every kind of drawing object through its life in a pane: made with its
// tool, moved and resized with the mouse, deleted with a key, and all of it
// undone and redone step by step.
#include "editing/undo.h"
#include "objects/object_commands.h"
#include "objects/object_creation.h"
#include "objects/object_drawing.h"
#include "objects/object_mouse.h"
#include "objects/objects.h"
#include "tests/objects/drawing_fixture.h"

namespace {

class ObjectLifecycleTest : public DrawingTest, public ::testing::WithParamInterface<int16_t> {
protected:
    static pf::Point shifted(pf::Point p, int dv, int dh) { return pf::Point{int16_t(p.v + dv), int16_t(p.h + dh)}; }

    pf::Rect rect_of(MemoryRef object) { return object_rect(object, 0, layer); }

    // The largest (v, h) of a freehand line's or polygon's points.
    pf::Point reach_of_points(MemoryRef object) {
        const ObjectRecord r = *use_object(object);
        release_object(object);
        MemoryRef block = r.kind == kPolygonObject ? r.data : r.points;
        pf::Point reach{0, 0};
        const int32_t pairs = GetByteSize(block) / 4;
        auto* words = static_cast<const int16_t*>(UseMemory(block));
        for (int32_t i = 0; i < pairs; ++i)
            reach.v = std::max(reach.v, words[2 * i]), reach.h = std::max(reach.h, words[2 * i + 1]);
        UnuseMemory(block);
        return reach;
    }
};

TEST_P(ObjectLifecycleTest, MadeMovedResizedDeletedUndoneAndRedone) {
    const pf::Point start = in_pane(30, 40);
    MemoryRef object = make_with(GetParam(), start, shifted(start, 40, 70));
    ClobberObjectEditor(layer);
    ASSERT_EQ(num_objects(layer), 1);
    const pf::Rect made = rect_of(object);

    // Moved by a drag from its middle.
    const pf::Point middle{int16_t((made.top + made.bottom) / 2), int16_t((made.left + made.right) / 2)};
    drag(middle, shifted(middle, 12, 25));
    ASSERT_EQ(ClickinObject(layer, middle, 0, 0), 1);
    const pf::Rect moved = rect_of(object);
    EXPECT_EQ(moved, (pf::Rect{int16_t(made.top + 12), int16_t(made.left + 25), int16_t(made.bottom + 12),
                               int16_t(made.right + 25)}));

    // Resized by its last handle (a line's end, a shape's bottom-right corner).
    const std::vector<pf::Rect> handles = object_handles(object, moved);
    const pf::Rect& corner = GetObj_info(object, pf::four_cc("isln")) ? handles[1] : handles[4];
    const pf::Point grip{int16_t((corner.top + corner.bottom) / 2), int16_t((corner.left + corner.right) / 2)};
    drag(grip, shifted(grip, 20, 30));
    ASSERT_EQ(ClickinObject(layer, grip, 0, 0), 1);
    const pf::Rect resized = rect_of(object);
    EXPECT_EQ((pf::Point{resized.top, resized.left}), (pf::Point{moved.top, moved.left}));
    EXPECT_EQ(resized.height(), moved.height() + 20);
    EXPECT_EQ(resized.width(), moved.width() + 30);
    if (has_points(object))  // the points stretch with the rectangle
        EXPECT_EQ(reach_of_points(object), (pf::Point{int16_t(resized.height() - 1), int16_t(resized.width() - 1)}));

    // Deleted with the Delete key: nothing stays selected.
    EXPECT_EQ(ObjectKey(127, layer), 1);
    EXPECT_EQ(num_objects(layer), 0);
    EXPECT_EQ(get_selected_object(layer, 1), nullptr);

    DoUndo(workbook);
    ASSERT_EQ(layer_objects(layer), std::vector<MemoryRef>{object});
    EXPECT_EQ(rect_of(object), resized);
    DoUndo(workbook);
    EXPECT_EQ(rect_of(object), moved);
    if (has_points(object))
        EXPECT_EQ(reach_of_points(object), (pf::Point{int16_t(moved.height() - 1), int16_t(moved.width() - 1)}));
    DoUndo(workbook);
    EXPECT_EQ(rect_of(object), made);
    DoUndo(workbook);
    EXPECT_EQ(num_objects(layer), 0);

    DoRedo(workbook);
    ASSERT_EQ(num_objects(layer), 1);
    EXPECT_EQ(rect_of(find_object_item(layer, 1)), made);
}

INSTANTIATE_TEST_SUITE_P(EveryTool, ObjectLifecycleTest, ::testing::Range(int16_t(3), int16_t(13)),
                         [](const ::testing::TestParamInfo<int16_t>& info) {
                             return "tool" + std::to_string(info.param);
                         });

}  // namespace
