#include "draw_test_support.h"

namespace {

using drawtest::ImagePort;
using drawtest::Rgn;
using pf::Rect;

using PixelModel = ImagePort;

TEST_F(PixelModel, RectangleCoversLeftTopUpToButNotIncludingRightBottom) {
    pf::paint_rect({1, 2, 3, 5});
    EXPECT_EQ(map(0, 0, 6, 4),
              "......\n"
              "..###.\n"
              "..###.\n"
              "......\n");
}

TEST_F(PixelModel, EmptyAndInvertedRectanglesDrawNothing) {
    pf::paint_rect({3, 3, 3, 10});
    pf::paint_rect({5, 5, 2, 2});
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 12; ++x) EXPECT_EQ(at(x, y), drawtest::kWhite);
}

TEST_F(PixelModel, FrameLiesInsideTheRectangleWithThePenSize) {
    pf::pen_size(2, 1);
    pf::frame_rect({1, 1, 5, 8});
    EXPECT_EQ(map(0, 0, 9, 6),
              ".........\n"
              ".#######.\n"
              ".##...##.\n"
              ".##...##.\n"
              ".#######.\n"
              ".........\n");
}

TEST_F(PixelModel, LineToDrawsBothEndsWithThePenBelowAndRight) {
    pf::move_to(1, 1);
    pf::line_to(4, 1);
    pf::pen_size(2, 2);
    pf::move_to(1, 3);
    pf::line_to(1, 4);
    EXPECT_EQ(map(0, 0, 6, 7),
              "......\n"
              ".####.\n"
              "......\n"
              ".##...\n"
              ".##...\n"
              ".##...\n"
              "......\n");
    EXPECT_EQ(pf::get_pen(), (pf::Point{4, 1}));
}

TEST_F(PixelModel, DiagonalLineStepsOnePixelPerRowAndColumn) {
    pf::move_to(0, 0);
    pf::line_to(3, 3);
    pf::move_to(5, 0);
    pf::line(2, 1);  // a shallow line splits its run
    EXPECT_EQ(map(0, 0, 8, 4),
              "#....#..\n"
              ".#....##\n"
              "..#.....\n"
              "...#....\n");
}

// A line is cut to what can be seen while it is worked out, so that its cost
// follows the visible part; the pixels are those of the whole line, cut.
TEST(LineRegion, CutWhileWorkedOutGivesTheWholeLineCut) {
    struct Case { pf::Point from, to, pen; };
    const Case cases[] = {
        {{0, 0}, {7, 3}, {1, 1}},           {{-500, -40}, {900, 300}, {3, 2}},
        {{30000, -30000}, {-30000, 29000}, {1, 1}}, {{-32000, 5}, {32000, 31}, {2000, 9000}},
        {{20, 20}, {20, 20}, {4, 4}},       {{-100, 50}, {-100, 9000}, {2, 2}},
        {{400, 400}, {9000, 8000}, {1, 1}},
    };
    const Rect within{0, 0, 200, 300};
    for (const Case& c : cases) {
        Rgn whole, cut, expected;
        pf::line_region(whole, c.from, c.to, c.pen);
        pf::sect_region(whole, Rgn(within), expected);
        pf::line_region(cut, c.from, c.to, c.pen, &within);
        EXPECT_TRUE(pf::equal_region(cut, expected)) << c.from.v << "," << c.from.h << " to " << c.to.v << ","
                                                     << c.to.h;
    }
}

TEST_F(PixelModel, HiddenPenDrawsNoLinesOrFrames) {
    pf::hide_pen();
    pf::move_to(0, 0);
    pf::line_to(10, 0);
    pf::frame_rect({2, 2, 6, 6});
    pf::show_pen();
    EXPECT_EQ(map(0, 0, 10, 6), map(20, 20, 30, 26));
}

TEST_F(PixelModel, OvalIsSymmetricAndFrameStaysInsideThePaintedOval) {
    pf::paint_oval({0, 0, 8, 10});
    EXPECT_EQ(map(0, 0, 10, 8),
              "...####...\n"
              ".########.\n"
              "##########\n"
              "##########\n"
              "##########\n"
              "##########\n"
              ".########.\n"
              "...####...\n");
    pf::frame_oval({10, 0, 18, 10});
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 10; ++x) {
            bool framed = at(x, y + 10) == drawtest::kBlack;
            EXPECT_TRUE(!framed || at(x, y) == drawtest::kBlack) << x << "," << y;
        }
    }
    EXPECT_EQ(at(5, 14), drawtest::kWhite);
}

TEST_F(PixelModel, RoundRectCutsOnlyTheCorners) {
    pf::paint_round_rect({0, 0, 6, 12}, 4, 4);
    EXPECT_EQ(map(0, 0, 12, 6),
              ".##########.\n"
              "############\n"
              "############\n"
              "############\n"
              "############\n"
              ".##########.\n");
}

TEST_F(PixelModel, ArcWedgesFollowTheClock) {
    Rgn quarter;
    pf::arc_region(quarter, {0, 0, 20, 20}, 0, 90);  // twelve to three o'clock
    EXPECT_EQ(pf::region_bounds(quarter), (Rect{0, 10, 10, 20}));
    Rgn back;
    pf::arc_region(back, {0, 0, 20, 20}, 90, -90);  // the same wedge drawn backwards
    EXPECT_TRUE(pf::equal_region(quarter, back));
    pf::paint_arc({0, 0, 20, 20}, 180, 90);  // six to nine o'clock
    EXPECT_EQ(at(5, 15), drawtest::kBlack);
    EXPECT_EQ(at(15, 15), drawtest::kWhite);
    EXPECT_EQ(at(5, 5), drawtest::kWhite);
}

TEST_F(PixelModel, PolygonPaintsItsEvenOddInteriorAndFramesItsLines) {
    pf::PolyHandle tri = pf::open_poly();
    pf::move_to(0, 0);
    pf::line_to(8, 0);
    pf::line_to(0, 8);
    pf::line_to(0, 0);
    pf::close_poly();
    EXPECT_EQ(tri->bbox, (Rect{0, 0, 8, 8}));
    EXPECT_EQ(map(0, 0, 8, 8), map(20, 20, 28, 28)) << "recording a polygon draws nothing";
    pf::paint_poly(tri);
    EXPECT_EQ(map(0, 0, 5, 4),
              "#####\n"
              "#####\n"
              "#####\n"
              "####.\n");
    EXPECT_EQ(at(6, 0), drawtest::kBlack);
    EXPECT_EQ(at(7, 0), drawtest::kWhite);
    EXPECT_EQ(at(7, 7), drawtest::kWhite);
    pf::offset_poly(tri, 20, 0);
    pf::frame_poly(tri);
    EXPECT_EQ(at(20, 8), drawtest::kBlack);
    EXPECT_EQ(at(28, 0), drawtest::kBlack);
    EXPECT_EQ(at(22, 2), drawtest::kWhite);
    pf::kill_poly(tri);
}

TEST_F(PixelModel, FramedRegionIsItsOutlineInsideIt) {
    Rgn l({0, 0, 6, 3});
    Rgn foot({3, 0, 6, 6});
    pf::union_region(l, foot, l);
    pf::frame_region(l);
    EXPECT_EQ(map(0, 0, 7, 7),
              "###....\n"
              "#.#....\n"
              "#.#....\n"
              "#.####.\n"
              "#....#.\n"
              "######.\n"
              ".......\n");
}

TEST_F(PixelModel, ClippingToAnOvalRegionLimitsEveryDrawing) {
    Rgn oval;
    pf::oval_region(oval, {0, 0, 8, 10});
    pf::set_clip(oval);
    pf::paint_rect({0, 0, 48, 64});
    pf::clip_rect({-32767, -32767, 32767, 32767});
    EXPECT_EQ(map(0, 0, 11, 3),
              "...####....\n"
              ".########..\n"
              "##########.\n");
    EXPECT_EQ(at(20, 20), drawtest::kWhite);
}

TEST_F(PixelModel, VisibleRegionClipsAsWellAsTheClip) {
    pf::rect_region(port.vis_rgn, {0, 0, 10, 10});
    pf::clip_rect({5, 5, 20, 20});
    pf::paint_rect({0, 0, 48, 64});
    EXPECT_EQ(at(5, 5), drawtest::kBlack);
    EXPECT_EQ(at(9, 9), drawtest::kBlack);
    EXPECT_EQ(at(4, 9), drawtest::kWhite);
    EXPECT_EQ(at(10, 9), drawtest::kWhite);
}

TEST_F(PixelModel, RecordedRegionOfFramedShapesCombinesByExclusiveOr) {
    Rgn recorded;
    pf::open_region();
    pf::frame_rect({0, 0, 10, 10});
    pf::frame_rect({5, 5, 15, 15});
    pf::close_region(recorded);
    Rgn a({0, 0, 10, 10}), b({5, 5, 15, 15}), expected;
    pf::xor_region(a, b, expected);
    EXPECT_TRUE(pf::equal_region(recorded, expected));
    EXPECT_EQ(at(1, 1), drawtest::kWhite) << "recording draws nothing";
}

TEST_F(PixelModel, RecordedLinesEncloseTheirInterior) {
    Rgn recorded;
    pf::open_region();
    pf::move_to(2, 1);
    pf::line_to(12, 1);
    pf::line_to(12, 5);
    pf::line_to(2, 5);
    pf::line_to(2, 1);
    pf::close_region(recorded);
    Rgn expected({1, 2, 5, 12});
    EXPECT_TRUE(pf::equal_region(recorded, expected));
}

TEST_F(PixelModel, SetOriginShiftsWhereLocalCoordinatesLand) {
    pf::set_origin(100, 200);
    pf::paint_rect({201, 102, 202, 104});
    EXPECT_EQ(map(0, 0, 5, 3),
              ".....\n"
              "..##.\n"
              ".....\n");
}

TEST(ScreenPort, DrawingMarksTheChangedRectangleDirty) {
    pf::screen_open(200, 100);
    pf::screen_take_dirty();
    pf::Port port;
    pf::open_screen_port(port, {30, 40, 80, 140});
    pf::PortScope scope(&port);
    pf::paint_rect({2, 3, 4, 5});
    EXPECT_EQ(pf::screen_take_dirty(), (Rect{32, 43, 34, 45}));
    EXPECT_EQ(pf::screen_pixel(43, 32), 0u);
    pf::paint_rect({-20, -20, 5, 5});  // clipped to the port's area
    EXPECT_EQ(pf::screen_take_dirty(), (Rect{30, 40, 35, 45}));
    pf::close_port(port);
    pf::screen_close();
}

}  // namespace

namespace {

// Shapes worked out only within a rectangle are the whole shapes cut to it, for
// rectangles across an edge, inside, outside, and for shapes far larger than
// any port.
TEST(ShapeRegions, WorkedOutWithinARectangleTheyAreTheWholeShapeCutToIt) {
    const Rect shapes[] = {{0, 0, 40, 60}, {-30, -50, 90, 20}, {5, 7, 6, 300}, {-2000, -3000, 1800, 2500}};
    const Rect cuts[] = {{0, 0, 64, 96}, {10, -5, 20, 15}, {-40, 30, 0, 70}, {500, 500, 600, 600}};
    for (const Rect& shape : shapes)
        for (const Rect& cut : cuts) {
            Rgn whole, bounded, window;
            pf::rect_region(window, cut);
            auto check = [&](const char* what) {
                pf::sect_region(whole, window, whole);
                EXPECT_TRUE(pf::equal_region(whole, bounded))
                    << what << " " << shape.top << "," << shape.left << " cut " << cut.top << "," << cut.left;
            };
            pf::oval_region(whole, shape);
            pf::oval_region(bounded, shape, &cut);
            check("oval");
            pf::round_rect_region(whole, shape, 30, 18);
            pf::round_rect_region(bounded, shape, 30, 18, &cut);
            check("round rect");
            pf::arc_region(whole, shape, 45, 250);
            pf::arc_region(bounded, shape, 45, 250, &cut);
            check("arc");
        }
}

}  // namespace
