#include "platform/draw/rects.h"

#include <gtest/gtest.h>

namespace {

using pf::Point;
using pf::Rect;

TEST(Rects, IntersectionAndUnionFollowThePixelModel) {
    Rect out;
    EXPECT_TRUE(pf::sect_rect({0, 0, 10, 10}, {5, 5, 20, 20}, out));
    EXPECT_EQ(out, (Rect{5, 5, 10, 10}));
    EXPECT_FALSE(pf::sect_rect({0, 0, 10, 10}, {10, 0, 20, 10}, out)) << "touching rectangles share no pixel";
    EXPECT_EQ(out, Rect{});
    EXPECT_EQ(pf::union_rect({0, 0, 10, 10}, {5, 5, 20, 20}), (Rect{0, 0, 20, 20}));
    EXPECT_EQ(pf::union_rect({3, 3, 3, 3}, {5, 5, 20, 20}), (Rect{5, 5, 20, 20}));
}

TEST(Rects, PointsHitPixelsAndMakeRectangles) {
    EXPECT_TRUE(pf::pt_in_rect({0, 0}, {0, 0, 1, 1}));
    EXPECT_FALSE(pf::pt_in_rect({1, 0}, {0, 0, 1, 1}));
    EXPECT_EQ(pf::pt_to_rect({9, 2}, {3, 7}), (Rect{3, 2, 9, 7}));
}

TEST(Rects, MappingScalesBetweenRectangles) {
    Rect from{0, 0, 10, 20}, to{100, 200, 120, 220};
    EXPECT_EQ(pf::map_pt({5, 10}, from, to), (Point{110, 210}));
    EXPECT_EQ(pf::map_rect({0, 0, 10, 20}, from, to), to);
    EXPECT_EQ(pf::map_pt({5, 10}, {0, 0, 0, 0}, {1, 1, 1, 1}), (Point{6, 11})) << "an empty frame only moves";
}

}  // namespace
