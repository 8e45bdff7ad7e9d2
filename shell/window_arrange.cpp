// Placements of the Arrange menu. A window placed past the room of the limit
// starts again at the first place, so no count of windows runs off the screen.
#include "shell/window_arrange.h"

#include <algorithm>

namespace {

constexpr int16_t kEdgeInset = 5;
constexpr int16_t kBottomInset = 2;
constexpr int16_t kStackDown = 12;
constexpr int16_t kStackRight = 10;
constexpr int16_t kCascadeRight = 4;
constexpr int kStackMarginSteps = 8;
constexpr int16_t kStackMarginMost = 120;
constexpr int16_t kLowestTop = 120;     // room kept below a window's top
constexpr int16_t kRowHeight = 120;     // least height of a tiled row
constexpr int16_t kColumnWidth = 250;   // least width of a tiled column
constexpr int16_t kSmallestWidth = 100;
constexpr int16_t kSmallestHeight = 50;

pf::Rect usable(pf::Rect rect) {
    rect.right = std::max<int16_t>(rect.right, int16_t(rect.left + kSmallestWidth));
    rect.bottom = std::max<int16_t>(rect.bottom, int16_t(rect.top + kSmallestHeight));
    return rect;
}

// How many steps down an overlapping arrangement takes before it starts again
// at the top, for `count` windows.
int overlapping_steps(const pf::Rect& limit, int count) {
    const int places = std::max(1, (limit.bottom - kLowestTop - limit.top) / kStackDown + 1);
    return std::min(count, places) - 1;
}

// Stack keeps the size and moves each window down and right, the first made
// small enough that the last stays inside the limit; cascade keeps the
// bottom-right corner, so the windows grow smaller toward the front.
std::vector<pf::Rect> overlapping(const pf::Rect& limit, int count, bool cascade) {
    const int steps = cascade ? 0 : overlapping_steps(limit, count);
    const int stack_margin = count - 1 < kStackMarginSteps ? 10 * (count - 1) : kStackMarginMost;
    const int16_t margin = cascade ? kEdgeInset : int16_t(std::max(stack_margin, kStackRight * steps));
    const pf::Rect first = usable(
        pf::Rect{limit.top, int16_t(limit.left + kEdgeInset), int16_t(limit.bottom - kBottomInset - kStackDown * steps),
                 int16_t(std::max<int>(limit.right - margin, limit.left + kEdgeInset))});
    std::vector<pf::Rect> rects;
    pf::Rect next = first;
    for (int i = 0; i < count; ++i) {
        if (i > 0 && next.top > limit.bottom - kLowestTop) next = first;
        rects.push_back(usable(next));
        next.top = int16_t(next.top + kStackDown);
        next.left = int16_t(next.left + (cascade ? kCascadeRight : kStackRight));
        if (!cascade) {
            next.bottom = int16_t(next.bottom + kStackDown);
            next.right = int16_t(next.right + kStackRight);
        }
    }
    return rects;
}

// Rows of one or two columns (one on a screen too narrow for two); the
// windows fill a row left to right.
std::vector<pf::Rect> tiled_rows(const pf::Rect& limit, int count, int16_t title_bar) {
    const int wanted = count > 2 ? (count + 1) / 2 : count;
    const int room = (limit.bottom - limit.top + title_bar) / kRowHeight;
    const int rows = std::max(1, std::min(wanted, room));
    const int height = (limit.bottom - limit.top + title_bar - title_bar * rows) / rows;
    const bool halves_fit = (limit.right - limit.left) / 2 - kEdgeInset >= kSmallestWidth;
    const int columns = rows == count || !halves_fit ? 1 : 2;
    const int width = columns == 1 ? limit.right - limit.left - 2 * kEdgeInset : (limit.right - limit.left) / 2 - kEdgeInset;
    std::vector<pf::Rect> rects;
    for (int i = 0; i < count; ++i) {
        const int slot = i % (rows * columns);
        const int top = limit.top + (slot / columns) * (height + title_bar);
        const int left = limit.left + kEdgeInset + (slot % columns) * ((limit.right - limit.left) / 2);
        rects.push_back(usable(pf::Rect{int16_t(top), int16_t(left), int16_t(top + height), int16_t(left + width)}));
    }
    return rects;
}

std::vector<pf::Rect> tiled_columns(const pf::Rect& limit, int count) {
    const int columns = std::max(1, std::min((limit.right - limit.left) / kColumnWidth, count));
    const int width = (limit.right - limit.left) / columns;
    std::vector<pf::Rect> rects;
    for (int i = 0; i < count; ++i) {
        const int left = limit.left + (i % columns) * width;
        rects.push_back(usable(pf::Rect{limit.top, int16_t(left + kEdgeInset), int16_t(limit.bottom - kEdgeInset),
                                        int16_t(left + width)}));
    }
    return rects;
}

}  // namespace

std::vector<pf::Rect> arrange_rects(int16_t item, const pf::Rect& limit, int count, int16_t title_bar) {
    if (count <= 0 || limit.bottom <= limit.top || limit.right <= limit.left) return {};
    switch (item) {
        case kArrangeStack: return overlapping(limit, count, false);
        case kArrangeCascade: return overlapping(limit, count, true);
        case kArrangeTileRows: return tiled_rows(limit, count, title_bar);
        case kArrangeTileColumns: return tiled_columns(limit, count);
        default: return {};
    }
}
