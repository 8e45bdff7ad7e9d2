// SetActiveRects: the pane rectangles of a layer's window from its view
// rectangle, headings, dividers and frozen titles (the layout is described
// with the document window, window/doc_window.h), and each pane's visible
// cell range.
#include "window/pane_layout.h"

#include <algorithm>

#include "model/layer.h"
#include "model/layer_use.h"
#include "window/cell_geometry.h"
#include "window/sheet_frame.h"

namespace {

constexpr int16_t kSplitGap = 5;  // the divider's two lines, 4 pixels apart, and the line below
constexpr int16_t kUnused = -1;

struct Layout {
    pf::Rect panes[kPaneCount];
};

pf::Rect unused_pane() { return pf::Rect{0, kUnused, 0, 0}; }

bool frozen(const SpreadSheet* sheet) { return (sheet->flags & kLayerFrozenTitles) != 0; }

// The edge where the first part ends and the start of the second, or none.
struct Cut {
    bool made = false;
    int16_t first_end = 0;
    int16_t second_start = 0;
};

Cut split_cut(int16_t divider, int16_t start, int16_t end) {
    Cut cut;
    if (divider > start && divider + kSplitGap < end) cut = Cut{true, divider, int16_t(divider + kSplitGap)};
    return cut;
}

Cut frozen_cut(const AxisSizes& axis, int16_t first, int16_t last, int16_t start, int16_t end) {
    Cut cut;
    if (first < 0 || last < first || first > kLastCell) return cut;
    const int32_t edge = start + axis.span(first, int16_t(std::min(last, kLastCell) + 1));
    if (edge + 1 < end) cut = Cut{true, int16_t(edge), int16_t(edge + 1)};
    return cut;
}

Layout lay_out(const SpreadSheet* sheet, const SheetAxes& axes) {
    const bool headings = (sheet->flags & kLayerHeadings) != 0;
    const int16_t top = headings ? kColumnHeaderHeight : 0;
    const int16_t left = headings ? kRowHeaderWidth : 0;
    const int16_t bottom = std::max<int16_t>(top, int16_t(sheet->view_rect.bottom));
    const int16_t right = std::max<int16_t>(left, int16_t(sheet->view_rect.right));
    Cut rows, columns;
    if (frozen(sheet)) {
        const CellRange& f = sheet->frozen_titles;
        rows = frozen_cut(axes.rows, f.topLeft.v, f.botRight.v, top, bottom);
        columns = frozen_cut(axes.columns, f.topLeft.h, f.botRight.h, left, right);
    } else {
        rows = split_cut(sheet->v_divider, top, bottom);
        columns = split_cut(sheet->h_divider, left, right);
    }
    const int16_t upper_bottom = rows.made ? rows.first_end : bottom;
    const int16_t left_right = columns.made ? columns.first_end : right;
    Layout layout;
    layout.panes[0] = pf::Rect{top, left, upper_bottom, left_right};
    layout.panes[1] = rows.made ? pf::Rect{rows.second_start, left, bottom, left_right} : unused_pane();
    layout.panes[2] = columns.made ? pf::Rect{top, columns.second_start, upper_bottom, right} : unused_pane();
    layout.panes[3] = rows.made && columns.made ? pf::Rect{rows.second_start, columns.second_start, bottom, right}
                                                 : unused_pane();
    return layout;
}

// Top-left cells of the panes: a pane that comes into use starts where its
// neighbour ends (or after the frozen titles); panes sharing rows or columns agree.
void place_top_left(SpreadSheet* sheet, const Layout& layout, const SheetAxes& axes) {
    CellRange* v = sheet->visible_ranges;
    if (v[0].topLeft.v < 0 || v[0].topLeft.h < 0) v[0].topLeft = CellPoint{0, 0};
    if (frozen(sheet)) {
        const CellRange& f = sheet->frozen_titles;
        if (f.topLeft.v >= 0) v[0].topLeft.v = f.topLeft.v;
        if (f.topLeft.h >= 0) v[0].topLeft.h = f.topLeft.h;
    }
    const pf::Rect& p0 = layout.panes[0];
    // The row (column) after the last one pane 0 shows, even in part.
    const int16_t row_after = int16_t(std::min<int>(axes.rows.index_at(v[0].topLeft.v, p0.height() - 1) + 1, kLastCell));
    const int16_t column_after =
        int16_t(std::min<int>(axes.columns.index_at(v[0].topLeft.h, p0.width() - 1) + 1, kLastCell));
    for (int pane = 1; pane < kPaneCount; ++pane) {
        if (layout.panes[pane].left == kUnused) {
            v[pane].topLeft = CellPoint{kUnused, kUnused};
            continue;
        }
        const bool lower = pane == 1 || pane == 3, right = pane >= 2;
        CellPoint& start = v[pane].topLeft;
        if (lower && (start.v < 0 || (frozen(sheet) && start.v <= sheet->frozen_titles.botRight.v))) start.v = row_after;
        if (right && (start.h < 0 || (frozen(sheet) && start.h <= sheet->frozen_titles.botRight.h))) start.h = column_after;
        if (!lower) start.v = v[0].topLeft.v;
        if (!right) start.h = v[0].topLeft.h;
    }
    if (layout.panes[3].left != kUnused) v[3].topLeft = CellPoint{v[1].topLeft.v, v[2].topLeft.h};
}

}  // namespace

int16_t SetActiveRects(MemoryRef layer) {
    SheetAxes axes(layer);
    LayerUse sheet(layer);
    const Layout layout = lay_out(sheet, axes);
    bool changed = false;
    for (int pane = 0; pane < kPaneCount; ++pane) {
        changed = changed || !(layout.panes[pane] == sheet->pane_rects[pane]);
        sheet->pane_rects[pane] = layout.panes[pane];
    }
    place_top_left(sheet, layout, axes);
    for (int pane = 0; pane < kPaneCount; ++pane) {
        CellRange& visible = sheet->visible_ranges[pane];
        visible = sheet->pane_rects[pane].left == kUnused
                      ? CellRange{{kUnused, kUnused}, {kUnused, kUnused}}
                      : visible_range_of(sheet->pane_rects[pane], visible.topLeft, axes);
    }
    sheet.release();
    return changed ? 1 : 0;
}

bool pane_in_use(MemoryRef layer, int16_t pane, pf::Rect* rect) {
    GetPaneRect(rect, pane, layer);
    return rect->left != kUnused;
}

bool pane_in_use(const SpreadSheet* sheet, int pane) { return sheet->pane_rects[pane].left != kUnused; }
