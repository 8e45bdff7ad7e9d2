// Making drawing objects with the tools by dragging in a pane, the selection
// marquee, and undo and redo of what was made.
#include "editing/undo.h"
#include "model/undo_record.h"
#include "objects/object_creation.h"
#include "objects/object_drawing.h"
#include "objects/objects.h"
#include "tests/objects/drawing_fixture.h"

namespace {

using ObjectCreationTest = DrawingTest;

TEST_F(ObjectCreationTest, EachToolMakesItsKindWhereTheMouseDragged) {
    const pf::FourCC kinds[] = {kFreehandObject, kLineObject,  kArrowObject,    kDoubleArrowObject, kOvalObject,
                                kRectObject,     kRoundRectObject, kTextObject, kTriangleObject,    kPolygonObject};
    for (int16_t tool = 3; tool <= 12; ++tool) {
        const pf::Point from = in_pane(int16_t(10 + tool * 3), 30), to = in_pane(int16_t(50 + tool * 3), 110);
        MemoryRef object = make_with(tool, from, to);
        ASSERT_EQ(num_objects(layer), tool - 2);
        EXPECT_EQ(fields(object).kind, kinds[tool - 3]) << "tool " << tool;
        EXPECT_EQ(get_selected_object(layer, 1), object);
        EXPECT_EQ(get_selected_object(layer, 2), nullptr);
        const pf::Rect rect = object_rect(object, 0, layer);
        EXPECT_EQ((pf::Point{rect.top, rect.left}), from) << "tool " << tool;
        // Lines reach the last pixel they were drawn to.
        const bool line = GetObj_info(object, pf::four_cc("isln")) || tool == 3 || tool == 12;
        const pf::Point end = line ? pf::Point{int16_t(to.v + 1), int16_t(to.h + 1)} : to;
        EXPECT_EQ((pf::Point{rect.bottom, rect.right}), end) << "tool " << tool;
    }
    EXPECT_FALSE(CreateObject(record, 2, in_pane(5, 5)));   // the picture tool makes no object
    EXPECT_FALSE(CreateObject(record, 13, in_pane(5, 5)));
    EXPECT_EQ(num_objects(layer), 10);
}

TEST_F(ObjectCreationTest, ALineKeepsTheCornerItWasDrawnFromAndAPressAloneMakesNoLine) {
    const struct {
        pf::Point from, to;
        uint8_t direction;
    } lines[] = {{in_pane(20, 20), in_pane(60, 80), 0},
                 {in_pane(60, 20), in_pane(20, 80), kLineFromBottom},
                 {in_pane(20, 80), in_pane(60, 20), kLineFromRight},
                 {in_pane(60, 80), in_pane(20, 20), kLineFromBottom | kLineFromRight}};
    for (const auto& drawn : lines) {
        MemoryRef line = make_with(5, drawn.from, drawn.to);
        EXPECT_EQ(GetObj_info(line, pf::four_cc("info")), drawn.direction);
        pf::Point from, to;
        line_ends(drawn.direction, object_rect(line, 0, layer), &from, &to);
        EXPECT_EQ(from, drawn.from);
        EXPECT_EQ(to, drawn.to);
    }
    drag(in_pane(90, 90), in_pane(90, 91));
    EXPECT_TRUE(CreateObject(record, 5, in_pane(90, 90)));
    EXPECT_EQ(num_objects(layer), 4);
    // A shape from a press alone takes the default size; a text box a size to type in.
    MemoryRef box = make_with(8, in_pane(100, 100), in_pane(100, 100));
    EXPECT_EQ(fields(box).height, 20);
    MemoryRef text = make_with(10, in_pane(100, 200), in_pane(100, 200));
    EXPECT_GT(fields(text).width, 60);
    ASSERT_NE(fields(text).data, nullptr);
    EXPECT_EQ(GetByteSize(fields(text).data), 4);  // no characters, no styles
}

TEST_F(ObjectCreationTest, UndoTakesTheNewObjectAwayAndRedoBringsItBack) {
    MemoryRef first = make_with(8, in_pane(10, 10), in_pane(40, 60));
    MemoryRef second = make_with(7, in_pane(50, 10), in_pane(90, 60));
    EXPECT_EQ(GetSheetUndo(layer), kUndoNewObject);
    DoUndo(workbook);
    EXPECT_EQ(layer_objects(layer), std::vector<MemoryRef>{first});
    EXPECT_EQ(get_selected_object(layer, 1), nullptr);  // no entry left for the object taken away
    DoRedo(workbook);
    EXPECT_EQ(layer_objects(layer), (std::vector<MemoryRef>{first, second}));
    EXPECT_EQ(fields(second).kind, kOvalObject);
    DoUndo(workbook);
    DoUndo(workbook);
    EXPECT_EQ(num_objects(layer), 0);
    DoRedo(workbook);
    EXPECT_EQ(layer_objects(layer), std::vector<MemoryRef>{first});
}

TEST_F(ObjectCreationTest, TheMarqueeSelectsTheObjectsItMeets) {
    MemoryRef left = make_with(8, in_pane(10, 10), in_pane(40, 60));
    MemoryRef right = make_with(7, in_pane(10, 200), in_pane(40, 260));
    MemoryRef below = make_with(4, in_pane(100, 10), in_pane(140, 60));
    drag(in_pane(0, 50), in_pane(60, 210));
    Select_Object_Tool(record, in_pane(0, 50));
    EXPECT_EQ(is_object_selected(layer, left), 1);
    EXPECT_EQ(is_object_selected(layer, right), 2);
    EXPECT_EQ(is_object_selected(layer, below), 0);
    // Shift adds what the next marquee meets.
    pf::input_modifiers(pf::kShiftKey);
    drag(in_pane(90, 0), in_pane(150, 20));
    Select_Object_Tool(record, in_pane(90, 0));
    EXPECT_EQ(is_object_selected(layer, below), 3);
    pf::input_modifiers(0);
    drag(in_pane(300, 300), in_pane(310, 310));
    Select_Object_Tool(record, in_pane(300, 300));
    EXPECT_EQ(get_selected_object(layer, 1), nullptr);
}

TEST(StrokeCorners, KeepTheTurnsOfAStrokeAndDropThePointsBetween) {
    std::vector<pf::Point> stroke;
    for (int16_t i = 0; i <= 20; ++i) stroke.push_back(pf::Point{0, i});
    for (int16_t i = 1; i <= 20; ++i) stroke.push_back(pf::Point{i, int16_t(20 + (i % 2))});
    EXPECT_EQ(stroke_corners(stroke, 3), (std::vector<pf::Point>{{0, 0}, {0, 20}, {20, 20}}));
    EXPECT_EQ(stroke_corners({{1, 1}, {5, 5}}, 3).size(), 2u);
}

}  // namespace

namespace {

TEST_F(ObjectCreationTest, APressFindsTheDrawnShapeNotTheCornersOfItsRectangle) {
    MemoryRef oval = make_with(7, in_pane(10, 10), in_pane(70, 110));
    MemoryRef stroke = make_with(3, in_pane(100, 10), in_pane(160, 110));  // a straight stroke
    MemoryRef triangle = make_with(11, in_pane(10, 200), in_pane(70, 300));
    auto under = [&](pf::Point p) {
        pf::Rect rect;
        int16_t handle;
        return MouseinObject(&rect, p, &handle, 0, layer);
    };
    clear_selected_objects(layer);  // no handles in the way
    EXPECT_EQ(under(in_pane(40, 60)), oval);
    EXPECT_EQ(under(in_pane(12, 12)), nullptr);  // the oval's corner
    EXPECT_EQ(under(in_pane(130, 60)), stroke);
    EXPECT_EQ(under(in_pane(155, 20)), nullptr);  // beside the stroke
    EXPECT_EQ(under(in_pane(60, 250)), triangle);
    EXPECT_EQ(under(in_pane(15, 205)), nullptr);  // left of the apex
    // A polygon is closed: its last point is its first.
    MemoryRef polygon = make_with(12, in_pane(100, 200), in_pane(160, 300));
    const ObjectRecord r = fields(polygon);
    const auto* words = static_cast<const int16_t*>(UseMemory(r.data));
    const int32_t count = GetByteSize(r.data) / 2;
    EXPECT_EQ((std::pair{words[0], words[1]}), (std::pair{words[count - 2], words[count - 1]}));
    UnuseMemory(r.data);
}

}  // namespace
