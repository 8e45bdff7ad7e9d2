#include "platform/draw/draw.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using pf::Rect;

struct RgnDeleter {
    void operator()(pf::Region* r) const { pf::dispose_region(r); }
};
using Rgn = std::unique_ptr<pf::Region, RgnDeleter>;

Rgn rect_rgn(Rect r) {
    Rgn rgn(pf::new_region());
    pf::rect_region(rgn.get(), r);
    return rgn;
}

TEST(Region, AlgebraOfTwoOverlappingRects) {
    Rgn a = rect_rgn({0, 0, 10, 10});
    Rgn b = rect_rgn({5, 5, 15, 15});
    Rgn out(pf::new_region());

    pf::union_region(a.get(), b.get(), out.get());
    EXPECT_EQ(pf::region_bounds(out.get()), (Rect{0, 0, 15, 15}));
    EXPECT_TRUE(pf::point_in_region({9, 14}, out.get()));
    EXPECT_FALSE(pf::point_in_region({0, 14}, out.get()));

    pf::sect_region(a.get(), b.get(), out.get());
    EXPECT_TRUE(pf::equal_region(out.get(), rect_rgn({5, 5, 10, 10}).get()));

    pf::diff_region(a.get(), b.get(), out.get());
    EXPECT_TRUE(pf::point_in_region({4, 9}, out.get()));
    EXPECT_FALSE(pf::point_in_region({5, 5}, out.get()));

    pf::xor_region(a.get(), b.get(), out.get());
    EXPECT_FALSE(pf::point_in_region({7, 7}, out.get()));
    EXPECT_TRUE(pf::point_in_region({0, 0}, out.get()));
    EXPECT_TRUE(pf::point_in_region({14, 14}, out.get()));
    EXPECT_EQ(pf::region_rects(out.get()).size(), 4u);
}

TEST(Region, EmptyRectGivesEmptyRegion) {
    Rgn r = rect_rgn({10, 10, 10, 20});
    EXPECT_TRUE(pf::empty_region(r.get()));
    EXPECT_EQ(pf::region_bounds(r.get()), Rect{});
    EXPECT_FALSE(pf::rect_in_region({0, 0, 100, 100}, r.get()));
}

TEST(Region, OffsetAndInset) {
    Rgn r = rect_rgn({0, 0, 10, 20});
    pf::offset_region(r.get(), 5, -3);
    EXPECT_EQ(pf::region_bounds(r.get()), (Rect{-3, 5, 7, 25}));
    pf::inset_region(r.get(), 2, 1);
    EXPECT_EQ(pf::region_bounds(r.get()), (Rect{-2, 7, 6, 23}));
    pf::inset_region(r.get(), -2, -1);
    EXPECT_EQ(pf::region_bounds(r.get()), (Rect{-3, 5, 7, 25}));
}

TEST(Region, InsetOfAnLShapeShrinksEveryEdge) {
    Rgn l = rect_rgn({0, 0, 10, 4});
    Rgn foot = rect_rgn({6, 0, 10, 10});
    pf::union_region(l.get(), foot.get(), l.get());
    pf::inset_region(l.get(), 1, 1);
    Rgn expected = rect_rgn({1, 1, 9, 3});
    Rgn expected_foot = rect_rgn({7, 1, 9, 9});
    pf::union_region(expected.get(), expected_foot.get(), expected.get());
    EXPECT_TRUE(pf::equal_region(l.get(), expected.get()));
}

TEST(Region, GrowingPastTheCoordinateRangePinsTheBounds) {
    Rgn r = rect_rgn({-30000, -30000, 30000, 30000});
    pf::inset_region(r.get(), -10000, -10000);
    EXPECT_EQ(pf::region_bounds(r.get()), (Rect{-32768, -32768, 32767, 32767}));
}

TEST(Region, InsetPastTheMiddleEmpties) {
    Rgn r = rect_rgn({0, 0, 4, 40});
    pf::inset_region(r.get(), 0, 2);
    EXPECT_TRUE(pf::empty_region(r.get()));
}

}  // namespace
