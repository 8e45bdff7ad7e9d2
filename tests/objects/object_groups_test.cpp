// Groups of drawing objects: a press on one member selects the group, a drag
// moves it whole, copies stay a group of their own, and grouping is undone.
#include "editing/clipboard.h"
#include "editing/undo.h"
#include "objects/object_drawing.h"
#include "objects/object_groups.h"
#include "objects/object_mouse.h"
#include "objects/object_records.h"
#include "objects/objects.h"
#include "tests/objects/drawing_fixture.h"

namespace {

class ObjectGroupsTest : public DrawingTest {
protected:
    MemoryRef box = nullptr, oval = nullptr, line = nullptr;

    void SetUp() override {
        DrawingTest::SetUp();
        g_Clip = nullptr;
        box = place(kRectObject, {2, 1}, 40, 60);
        oval = place(kOvalObject, {5, 2}, 30, 50);
        line = place(kLineObject, {9, 0}, 20, 80);
        SetObj_info(box, pf::four_cc("pat "), 2);
    }
    void TearDown() override {
        ClobberScrap(0);
        g_Clip = nullptr;
        DrawingTest::TearDown();
    }

    MemoryRef place(pf::FourCC kind, CellPoint cell, int16_t height, int16_t width) {
        MemoryRef object = nullptr;
        EXPECT_EQ(NewObject(kind, &object, 0, layer), 1);
        ObjectRecord* r = use_object(object);
        r->anchor_row = cell.v, r->anchor_column = cell.h, r->v_offset = 4, r->h_offset = 6;
        r->height = height, r->width = width;
        release_object(object);
        return object;
    }

    // A press (and release after moving by dv, dh) in the middle of an object.
    int16_t press_on(MemoryRef object, int16_t dv = 0, int16_t dh = 0, uint16_t modifiers = 0) {
        const pf::Rect r = object_rect(object, 0, layer);
        const pf::Point at{int16_t((r.top + r.bottom) / 2), int16_t((r.left + r.right) / 2)};
        drag(at, pf::Point{int16_t(at.v + dv), int16_t(at.h + dh)});
        return ClickinObject(layer, at, modifiers, 0);
    }

    std::vector<MemoryRef> selected() {
        std::vector<MemoryRef> list;
        for (int32_t i = 1; MemoryRef object = get_selected_object(layer, i); ++i) list.push_back(object);
        return list;
    }

    void select_only(std::initializer_list<MemoryRef> objects) {
        clear_selected_objects(layer);
        for (MemoryRef object : objects) add_selected(layer, object);
    }
};

TEST_F(ObjectGroupsTest, APressOnOneMemberSelectsTheGroupAndADragMovesItWhole) {
    select_only({box, oval});
    EXPECT_TRUE(can_group(layer));
    EXPECT_FALSE(can_ungroup(layer));
    ASSERT_EQ(group_selected_objects(layer), 1);
    EXPECT_EQ(group_members(box, layer), (std::vector<MemoryRef>{box, oval}));
    clear_selected_objects(layer);
    EXPECT_EQ(press_on(oval), 1);
    EXPECT_EQ(selected().size(), 2u);
    EXPECT_FALSE(can_group(layer));  // one group is one unit
    const pf::Rect box_from = object_rect(box, 0, layer), oval_from = object_rect(oval, 0, layer);
    EXPECT_EQ(press_on(box, 30, 50), 1);
    EXPECT_EQ(object_rect(box, 0, layer).top, box_from.top + 30);
    EXPECT_EQ(object_rect(oval, 0, layer).left, oval_from.left + 50);
    // Shift takes the whole group out of the selection.
    press_on(line, 0, 0, pf::kShiftKey);
    press_on(box, 0, 0, pf::kShiftKey);
    EXPECT_EQ(selected(), std::vector<MemoryRef>{line});
}

TEST_F(ObjectGroupsTest, GroupingAndUngroupingAreUndone) {
    select_only({box, oval, line});
    group_selected_objects(layer);
    EXPECT_EQ(group_members(line, layer).size(), 3u);
    DoUndo(workbook);
    EXPECT_EQ(group_members(line, layer), std::vector<MemoryRef>{line});
    DoRedo(workbook);
    EXPECT_EQ(group_members(line, layer).size(), 3u);
    select_only({oval});
    EXPECT_TRUE(can_ungroup(layer));
    ASSERT_EQ(ungroup_selected_objects(layer), 1);
    EXPECT_EQ(group_members(box, layer), (std::vector<MemoryRef>{box, line}));
    EXPECT_EQ(group_members(oval, layer), std::vector<MemoryRef>{oval});
    DoUndo(workbook);
    EXPECT_EQ(group_members(box, layer).size(), 3u);
}

TEST_F(ObjectGroupsTest, PastedCopiesAreAGroupOfTheirOwn) {
    select_only({box, oval});
    group_selected_objects(layer);
    ASSERT_EQ(Cut_Copy_Clear(layer, 0, 1), kEditDone);
    ASSERT_EQ(DoPaste(layer), kEditDone);
    ASSERT_EQ(num_objects(layer), 5);
    MemoryRef copy = find_object_item(layer, 4);
    EXPECT_EQ(group_members(copy, layer), (std::vector<MemoryRef>{copy, find_object_item(layer, 5)}));
    EXPECT_EQ(group_members(box, layer), (std::vector<MemoryRef>{box, oval}));
}

TEST_F(ObjectGroupsTest, ASelectedGroup) {
    put_text(1, 0, "Under");
    select_only({box, oval});
    group_selected_objects(layer);
    clear_selected_objects(layer);
    press_on(box);
    draw();
    EXPECT_TRUE(matches_golden("objects_selected_group"));
}

}  // namespace
