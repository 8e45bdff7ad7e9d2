// Drawing objects in a pane: every kind drawn over the cells, the handles of
// selected objects, and the object and handle found under a point.
#include "objects/object_drawing.h"
#include "objects/object_mouse.h"
#include "objects/object_placement.h"
#include "objects/object_records.h"
#include "objects/picture_files.h"
#include "platform/draw/picture.h"
#include "tests/objects/png_sample.h"
#include "tests/window/sheet_fixture.h"

namespace {

class ObjectDrawingTest : public SheetTest {
protected:
    // An object of the kind anchored in the cell, offset and sized in pixels.
    MemoryRef place(pf::FourCC kind, CellPoint cell, int16_t v, int16_t h, int16_t height, int16_t width) {
        MemoryRef object = nullptr;
        EXPECT_EQ(NewObject(kind, &object, 0, layer), 1);
        ObjectRecord* record = use_object(object);
        record->anchor_row = cell.v, record->anchor_column = cell.h;
        record->v_offset = v, record->h_offset = h, record->height = height, record->width = width;
        release_object(object);
        return object;
    }

    void give(MemoryRef object, pf::FourCC tag, const std::vector<uint8_t>& bytes) {
        MemoryRef block = Bytes2Memory(&mem_globals, bytes.data(), 1, int32_t(bytes.size()));
        if (tag == pf::four_cc("pnts")) {
            use_object(object)->points = block;
            release_object(object);
        } else {
            SetObj_info(object, tag, reinterpret_cast<intptr_t>(block));
        }
    }

    // Host-order (v, h) pairs.
    static std::vector<uint8_t> pairs(std::initializer_list<int16_t> words) {
        std::vector<uint8_t> bytes(words.size() * 2);
        std::memcpy(bytes.data(), std::data(words), bytes.size());
        return bytes;
    }

    static std::vector<uint8_t> a_picture() {
        pf::PicHandle picture = pf::open_picture(pf::Rect{0, 0, 40, 60});
        pf::paint_oval(pf::Rect{5, 5, 35, 55});
        pf::move_to(0, 0);
        pf::line_to(59, 39);
        pf::close_picture();
        std::vector<uint8_t> bytes = picture->data;
        pf::kill_picture(picture);
        return bytes;
    }

    void every_kind() {
        place(kLineObject, {1, 0}, 2, 4, 30, 60);
        MemoryRef rising = place(kArrowObject, {1, 1}, 2, 4, 30, 60);
        SetObj_info(rising, pf::four_cc("info"), kLineFromBottom);
        SetObj_info(rising, pf::four_cc("lsiz"), 2);
        place(kDoubleArrowObject, {1, 2}, 2, 4, 30, 60);
        MemoryRef rect = place(kRectObject, {4, 0}, 4, 4, 40, 60);
        SetObj_info(rect, pf::four_cc("pat "), 4);
        SetObj_info(rect, pf::four_cc("fcol"), sample_colours::kYellow);
        place(kRoundRectObject, {4, 1}, 4, 4, 40, 60);
        MemoryRef oval = place(kOvalObject, {4, 2}, 4, 4, 40, 60);
        SetObj_info(oval, pf::four_cc("pat "), 2);
        SetObj_info(oval, pf::four_cc("lfcl"), sample_colours::kBlue);
        give(place(kPolygonObject, {8, 0}, 2, 4, 40, 60), pf::four_cc("data"), pairs({0, 30, 40, 0, 40, 60, 0, 30}));
        give(place(kFreehandObject, {8, 1}, 2, 4, 40, 60), pf::four_cc("pnts"),
             pairs({20, 0, 5, 10, 30, 20, 2, 35, 25, 50, 10, 59}));
        give(place(kTextObject, {8, 2}, 2, 4, 40, 70), pf::four_cc("data"),
             {0x0B, 0, 'T', 'e', 'x', 't', ' ', 'i', 'n', ' ', 'b', 'o', 'x', 0, 0});
        give(place(kPictureObject, {1, 4}, 2, 4, 40, 60), pf::four_cc("pict"), a_picture());
    }
};

TEST_F(ObjectDrawingTest, EveryKindOverTheCells) {
    put_text(1, 0, "Under");
    every_kind();
    draw();
    EXPECT_TRUE(matches_golden("objects_every_kind"));
}

// Colour values are table entries plus one (0 none); frames take their line
// size, pattern and type: a red oval in a thick dashed blue frame, a shadowed
// rectangle, a double rounded rectangle and a rectangle without a frame.
TEST_F(ObjectDrawingTest, FillsAndFramesTakeTheirColoursPatternsSizesAndTypes) {
    using pf::four_cc;
    constexpr int kSolid = 4, kChequer = 24;
    MemoryRef oval = place(kOvalObject, {1, 0}, 4, 4, 70, 110);
    for (auto [tag, value] : {std::pair{four_cc("pat "), kSolid}, {four_cc("fcol"), int(sample_colours::kRed)},
                              {four_cc("lfcl"), int(sample_colours::kBlue)}, {four_cc("lpat"), kChequer},
                              {four_cc("lsiz"), 5}})
        SetObj_info(oval, tag, value);
    MemoryRef shadowed = place(kRectObject, {1, 2}, 4, 4, 40, 60);
    SetObj_info(shadowed, four_cc("fram"), 2);
    MemoryRef double_framed = place(kRoundRectObject, {5, 2}, 4, 4, 40, 60);
    SetObj_info(double_framed, four_cc("fram"), 3);
    SetObj_info(double_framed, four_cc("lsiz"), 2);
    MemoryRef unframed = place(kRectObject, {8, 0}, 4, 4, 30, 60);
    SetObj_info(unframed, four_cc("pat "), kSolid);
    SetObj_info(unframed, four_cc("fcol"), int(sample_colours::kYellow));
    SetObj_info(unframed, four_cc("fram"), 0);
    draw();
    EXPECT_TRUE(matches_golden("objects_fills_and_frames"));
}

// An arrow drawn with a thick pen keeps a head that stands out on both sides
// of its shaft, and the shaft does not poke out past the head's point.
TEST_F(ObjectDrawingTest, AThickArrowKeepsItsHeadWiderThanItsShaft) {
    constexpr int16_t kPen = 8;
    MemoryRef arrow = place(kArrowObject, {2, 1}, 10, 4, 1, 120);  // level, pointing right
    SetObj_info(arrow, pf::four_cc("lsiz"), kPen);
    draw();
    const pf::Rect r = object_rect(arrow, 0, layer);
    int16_t highest = r.top, lowest = r.top, rightmost = r.left;
    for (int16_t y = int16_t(r.top - 30); y < r.top + 30; ++y)
        for (int16_t x = int16_t(r.right - 50); x < r.right + 20; ++x) {
            const uint32_t p = pixel(x, y);
            if ((p >> 16 & 0xFF) >= 0x80 || (p >> 8 & 0xFF) >= 0x80 || (p & 0xFF) >= 0x80) continue;
            highest = std::min(highest, y), lowest = std::max(lowest, y), rightmost = std::max(rightmost, x);
        }
    EXPECT_GE(r.top - highest, kPen / 2) << "the head stands out above the shaft";
    EXPECT_GE(lowest - (r.top + kPen - 1), kPen / 2) << "the head stands out below the shaft";
    EXPECT_LT(rightmost, r.right + kPen / 2) << "nothing reaches past the point";
}

TEST_F(ObjectDrawingTest, APictureFromAnImageFileAtItsSizeAndStretched) {
    int16_t error = 0;
    const std::vector<uint8_t> picture = picture_from_png(png_sample::halves(), &error);
    ASSERT_EQ(error, 0);
    put_text(1, 0, "Under");
    give(place(kPictureObject, {1, 0}, 4, 20, png_sample::kHeight, png_sample::kWidth), pf::four_cc("pict"), picture);
    MemoryRef stretched = place(kPictureObject, {1, 1}, 4, 4, 60, 90);
    give(stretched, pf::four_cc("pict"), picture);
    add_selected(layer, stretched);
    draw();
    EXPECT_TRUE(matches_golden("objects_placed_picture"));
}

TEST_F(ObjectDrawingTest, SelectedObjectsShowTheirHandles) {
    every_kind();
    add_selected(layer, find_object_item(layer, 1));
    add_selected(layer, find_object_item(layer, 4));
    add_selected(layer, find_object_item(layer, 6));
    draw();
    EXPECT_TRUE(matches_golden("objects_selected"));
}

TEST_F(ObjectDrawingTest, TheTopmostObjectAndTheHandleUnderAPoint) {
    MemoryRef below = place(kRectObject, {2, 1}, 0, 0, 40, 60);
    MemoryRef above = place(kOvalObject, {2, 1}, 10, 10, 40, 60);
    MemoryRef line = place(kLineObject, {6, 1}, 0, 0, 40, 40);
    pf::Rect cell{};
    Cell_Location(0, &cell, 1, CellPoint{2, 1}, layer);
    pf::Rect rect;
    int16_t handle = -1;
    EXPECT_EQ(MouseinObject(&rect, pf::Point{int16_t(cell.top + 20), int16_t(cell.left + 20)}, &handle, 0, layer), above);
    EXPECT_EQ(handle, 0);
    EXPECT_EQ(MouseinObject(&rect, pf::Point{int16_t(cell.top + 2), int16_t(cell.left + 2)}, &handle, 0, layer), below);
    EXPECT_EQ(rect, object_rect(below, 0, layer));
    add_selected(layer, below);
    EXPECT_EQ(MouseinObject(&rect, pf::Point{int16_t(cell.top + 39), int16_t(cell.left + 59)}, &handle, 0, layer), below);
    EXPECT_EQ(handle, 5);  // the bottom-right corner
    // A line is hit along itself only.
    pf::Rect line_rect = object_rect(line, 0, layer);
    EXPECT_EQ(MouseinObject(&rect, pf::Point{int16_t(line_rect.top + 20), int16_t(line_rect.left + 20)}, &handle, 0, layer), line);
    EXPECT_EQ(MouseinObject(&rect, pf::Point{int16_t(line_rect.top + 30), int16_t(line_rect.left + 5)}, &handle, 0, layer), nullptr);
}

TEST_F(ObjectDrawingTest, ObjectsOutsideAPaneAreNotOnScreen) {
    MemoryRef far = place(kRectObject, {200, 40}, 0, 0, 20, 20);
    MemoryRef near = place(kRectObject, {0, 0}, 0, 0, 20, 20);
    pf::Rect rect;
    EXPECT_EQ(ObjectOnScreen(0, 0, &rect, far, layer), 0);
    EXPECT_NE(ObjectOnScreen(0, 0, &rect, near, layer), 0);
    EXPECT_EQ(ObjectOnScreen(1, 0, &rect, near, layer), 0);  // no second pane
}

TEST_F(ObjectDrawingTest, AMovedObjectIsAnchoredToTheCellUnderItsCorner) {
    MemoryRef box = place(kRectObject, {1, 1}, 2, 3, 30, 40);
    pf::Rect from = object_rect(box, 0, layer);
    pf::Rect to{int16_t(from.top + 45), int16_t(from.left + 130), int16_t(from.bottom + 45), int16_t(from.right + 130)};
    move_object_to(box, to, 0, layer);
    EXPECT_EQ(object_rect(box, 0, layer), to);
    CellPoint cell;
    PtinCell(&cell, pf::Point{to.top, to.left}, 0, layer);
    const CellRange where = GetObj_Location(box);
    EXPECT_EQ(where.topLeft, cell);
    EXPECT_GE(where.botRight.v, cell.v);
    // Left of the grid, the object stops at the first column.
    move_object_to(box, pf::Rect{to.top, -50, to.bottom, -10}, 0, layer);
    EXPECT_EQ(GetObj_Location(box).topLeft.h, 0);
    EXPECT_EQ(use_object(box)->h_offset, 0);
    release_object(box);
}

TEST_F(ObjectDrawingTest, HandlesResizeWithoutTurningInsideOut) {
    const pf::Rect r{10, 20, 50, 80};
    EXPECT_EQ(resized_rect(r, 5, 10, 20), (pf::Rect{10, 20, 60, 100}));
    EXPECT_EQ(resized_rect(r, 2, 5, 99), (pf::Rect{15, 20, 50, 80}));  // the top side only moves up and down
    EXPECT_EQ(resized_rect(r, 1, 60, 0), (pf::Rect{50, 20, 70, 80}));  // dragged past the bottom
    EXPECT_EQ(resized_rect(r, 4, 0, -60), (pf::Rect{10, 20, 50, 21}));  // at least a pixel wide
    uint8_t direction = 0;  // from (10, 20) down to (49, 79)
    EXPECT_EQ(resized_line(r, &direction, 2, -50, 0), (pf::Rect{-1, 20, 11, 80}));
    EXPECT_EQ(direction, kLineFromBottom);  // the end is now above the start
    // The start of that rising line, from (49, 20) to (49, 120): now right of the end, which is higher.
    EXPECT_EQ(resized_line(r, &direction, 1, 0, 100), (pf::Rect{10, 79, 50, 121}));
    EXPECT_EQ(direction, kLineFromBottom | kLineFromRight);
    pf::Point from, to;  // the end dragged last is still where the line was drawn to
    line_ends(direction, pf::Rect{10, 79, 50, 121}, &from, &to);
    EXPECT_EQ(from, (pf::Point{49, 120}));
    EXPECT_EQ(to, (pf::Point{10, 79}));
}

}  // namespace
