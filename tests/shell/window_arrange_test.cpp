// The Arrange menu's placements: the cases the menu meets at its edges (no
// windows, one window, many, a narrow or short screen) and the layouts the
// stack, cascade and tiles give.
#include <gtest/gtest.h>

#include "shell/window_arrange.h"

namespace {

constexpr int16_t kTitleBar = 22;
constexpr pf::Rect kLimit{62, 0, 860, 1280};

bool inside_horizontally(const pf::Rect& rect, const pf::Rect& limit) {
    return rect.left >= limit.left && rect.right <= limit.right;
}

bool overlap(const pf::Rect& a, const pf::Rect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

TEST(WindowArrange, NoWindowsOrNoRoomPlaceNothing) {
    for (int16_t item = kArrangeStack; item <= kArrangeTileColumns; ++item) {
        EXPECT_TRUE(arrange_rects(item, kLimit, 0, kTitleBar).empty());
        EXPECT_TRUE(arrange_rects(item, pf::Rect{100, 100, 100, 500}, 3, kTitleBar).empty());
        EXPECT_TRUE(arrange_rects(item, pf::Rect{100, 300, 600, 200}, 3, kTitleBar).empty());
    }
    EXPECT_TRUE(arrange_rects(9, kLimit, 3, kTitleBar).empty());
}

TEST(WindowArrange, OneWindowStackedFillsTheLimitFromItsLeftPlusFive) {
    const auto rects = arrange_rects(kArrangeStack, kLimit, 1, kTitleBar);
    ASSERT_EQ(rects.size(), 1u);
    EXPECT_EQ(rects[0], (pf::Rect{62, 5, 858, 1280}));
    const auto tiled = arrange_rects(kArrangeTileRows, kLimit, 1, kTitleBar);
    EXPECT_EQ(tiled[0], (pf::Rect{62, 5, 860, 1275}));
}

TEST(WindowArrange, StackKeepsTheSizeAndAMarginThatStopsAt120) {
    const auto three = arrange_rects(kArrangeStack, kLimit, 3, kTitleBar);
    EXPECT_EQ(three[0].right, 1280 - 20);
    EXPECT_EQ(three[2].top, three[0].top + 24);
    EXPECT_EQ(three[2].left, three[0].left + 20);
    EXPECT_EQ(three[2].width(), three[0].width());
    EXPECT_EQ(three[2].height(), three[0].height());

    const auto eleven = arrange_rects(kArrangeStack, kLimit, 11, kTitleBar);
    EXPECT_EQ(eleven[0].right, 1280 - 120);
    EXPECT_EQ(eleven[10].right, 1280 - 120 + 100);
}

TEST(WindowArrange, OverlappingWindowsStartAgainAtTheTopNearTheBottom) {
    const pf::Rect short_limit{40, 0, 300, 800};
    for (int16_t item : {kArrangeStack, kArrangeCascade}) {
        const auto rects = arrange_rects(item, short_limit, 30, kTitleBar);
        ASSERT_EQ(rects.size(), 30u);
        for (const pf::Rect& rect : rects) EXPECT_LE(rect.top, short_limit.bottom - 120);
        EXPECT_EQ(rects[12], rects[0]);  // tops 40 .. 172 fit: 12 places
    }
}

// Stacked and cascaded windows of any count stay inside the limit, their
// bottoms and right edges too, so that the front one's scroll bars show.
TEST(WindowArrange, OverlappingWindowsOfAnyCountStayInsideTheLimit) {
    const pf::Rect limits[] = {kLimit, pf::Rect{40, 69, 740, 1024}, pf::Rect{40, 0, 560, 800}};
    for (const pf::Rect& limit : limits)
        for (int count = 1; count <= 60; ++count)
            for (int16_t item : {kArrangeStack, kArrangeCascade}) {
                const auto rects = arrange_rects(item, limit, count, kTitleBar);
                ASSERT_EQ(rects.size(), size_t(count));
                for (size_t i = 0; i < rects.size(); ++i) {
                    SCOPED_TRACE(testing::Message() << "item " << item << " count " << count << " window " << i);
                    pf::Rect common;
                    EXPECT_TRUE(pf::sect_rect(rects[i], limit, common) && common == rects[i]);
                    if (item == kArrangeStack) {
                        EXPECT_EQ(rects[i].width(), rects[0].width()) << "the stack keeps the size";
                        EXPECT_EQ(rects[i].height(), rects[0].height()) << "the stack keeps the size";
                    }
                }
            }
}

TEST(WindowArrange, ThreeTiledRowsMakeTwoColumnsTheThirdAloneOnTheLeft) {
    const auto rects = arrange_rects(kArrangeTileRows, kLimit, 3, kTitleBar);
    ASSERT_EQ(rects.size(), 3u);
    const int height = (798 + kTitleBar - 2 * kTitleBar) / 2;
    EXPECT_EQ(rects[0], (pf::Rect{62, 5, int16_t(62 + height), 640}));
    EXPECT_EQ(rects[1], (pf::Rect{62, 645, int16_t(62 + height), 1280}));
    EXPECT_EQ(rects[2], (pf::Rect{int16_t(62 + height + kTitleBar), 5, 860, 640}));
}

TEST(WindowArrange, TiledColumnsAreAtLeast250Wide) {
    const auto rects = arrange_rects(kArrangeTileColumns, kLimit, 3, kTitleBar);
    EXPECT_EQ(rects[0], (pf::Rect{62, 5, 855, 426}));
    EXPECT_EQ(rects[2], (pf::Rect{62, 857, 855, 1278}));
    const auto many = arrange_rects(kArrangeTileColumns, kLimit, 7, kTitleBar);
    EXPECT_EQ(many[0].width(), 1280 / 5 - 5);
    EXPECT_EQ(many[5], many[0]);  // five columns fit; the sixth starts again
}

// Every count from 1 to 12 on a large, a small, a narrow and a short screen:
// windows stay inside the limit's sides, keep a usable size, and tiles that
// fit do not overlap.
TEST(WindowArrange, TilesOfOneToTwelveWindowsOnSeveralScreens) {
    const pf::Rect limits[] = {kLimit, pf::Rect{40, 0, 560, 800}, pf::Rect{40, 0, 700, 180}, pf::Rect{40, 0, 90, 1024},
                               pf::Rect{40, 69, 740, 1024}};
    for (const pf::Rect& limit : limits) {
        for (int count = 1; count <= 12; ++count) {
            for (int16_t item : {kArrangeTileRows, kArrangeTileColumns}) {
                const auto rects = arrange_rects(item, limit, count, kTitleBar);
                ASSERT_EQ(rects.size(), size_t(count));
                for (size_t i = 0; i < rects.size(); ++i) {
                    SCOPED_TRACE(testing::Message() << "item " << item << " count " << count << " window " << i);
                    EXPECT_GE(rects[i].width(), 100);
                    EXPECT_GE(rects[i].height(), 50);
                    EXPECT_GE(rects[i].top, limit.top);
                    if (limit.width() >= 100) EXPECT_TRUE(inside_horizontally(rects[i], limit));
                    for (size_t j = 0; j < i; ++j)
                        if (rects[j] != rects[i] && limit.height() >= 240) EXPECT_FALSE(overlap(rects[i], rects[j]));
                }
            }
        }
    }
}

}  // namespace
