// Selection highlighting: every figure is drawn in exclusive-or with the
// highlight colour, so the same call draws and removes it and the screen is
// restored exactly.
#include "window/selection_highlight.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "ui/task_manager.h"
#include "model/cell_format.h"
#include "model/cell_formats.h"
#include "model/layer.h"
#include "model/layer_use.h"
#include "platform/draw/colour.h"
#include "platform/draw/port.h"
#include "platform/draw/region.h"
#include "platform/draw/shapes.h"
#include "platform/events/clock.h"
#include "platform/events/events.h"
#include "platform/host/host.h"
#include "platform/resources/resources.h"
#include "window/cell_geometry.h"
#include "window/pane_layout.h"
#include "window/clip_scope.h"
#include "window/doc_window.h"
#include "window/sheet_frame.h"
#include "window/sheet_paint.h"
#include "resource_ids.h"

namespace {

constexpr int kAntPatternItem = 2;
constexpr uint32_t kAntTicks = 6;
constexpr int kAntPollMs = 5;

// The layer's window port, its pen restored afterwards.
struct HighlightScope {
    explicit HighlightScope(WindowRef window) {
        PushWindowPort(window);
        pf::Port* port = pf::get_port();
        saved_pen_mode = port->pen_mode;
        saved_pen_pat = port->pen_pat;
        saved_pen_size = port->pen_size;
        pf::pen_normal();
        pf::pen_mode(pf::kPatXor);
    }
    ~HighlightScope() {
        pf::pen_mode(saved_pen_mode);
        pf::pen_pat(saved_pen_pat);
        pf::pen_size(saved_pen_size.h, saved_pen_size.v);
        PopPort();
    }
    HighlightScope(const HighlightScope&) = delete;
    HighlightScope& operator=(const HighlightScope&) = delete;
    int16_t saved_pen_mode;
    pf::Pattern saved_pen_pat;
    pf::Point saved_pen_size;
};

void hilite_line(int h1, int v1, int h2, int v2) {
    pf::clear_hilite_bit();
    pf::move_to(int16_t(h1), int16_t(v1));
    pf::line_to(int16_t(h2), int16_t(v2));
}

void hilite_rect(const pf::Rect& r) {
    if (r.right <= r.left || r.bottom <= r.top) return;
    pf::clear_hilite_bit();
    pf::invert_rect(r);
}

bool near_visible(const CellRange& range, const CellRange& visible) {
    return range.botRight.v >= visible.topLeft.v - 1 && range.topLeft.v <= visible.botRight.v + 1 &&
           range.botRight.h >= visible.topLeft.h - 1 && range.topLeft.h <= visible.botRight.h + 1;
}

CellRange selection_of(MemoryRef layer, CellPoint* active, uint32_t* flags, bool* objects) {
    LayerUse sheet(layer);
    const CellRange range = sheet->selection;
    *active = sheet->active_cell;
    *flags = sheet->flags;
    *objects = sheet->selected_objects && GetMemorySize(sheet->selected_objects) > 0;
    return range;
}

pf::Pattern ant_pattern() {
    pf::Pattern pattern = pf::kBlackPattern;
    if (const pf::Resource* list = pf::get_resource(pf::kPatternListType, kAntPatternList)) {
        std::vector<pf::PatternBytes> patterns;
        if (pf::decode_patterns(list->bytes, patterns) && patterns.size() >= size_t(kAntPatternItem))
            for (int i = 0; i < 8; ++i) pattern.pat[i] = patterns[kAntPatternItem - 1][size_t(i)];
    }
    return pattern;
}

// Calls `draw(pane)` for every pane in use, clipped to the pane.
template <typename Draw>
void in_each_pane(MemoryRef layer, Draw&& draw) {
    for (int16_t pane = 0; pane < kPaneCount; ++pane) {
        pf::Rect pane_rect;
        if (!pane_in_use(layer, pane, &pane_rect)) continue;
        ClipScope clip(pane_rect);
        draw(pane);
    }
}

// Every pane's frame of the range, drawn once in exclusive-or.
void draw_ant_frames(MemoryRef layer, const CellRange& range) {
    in_each_pane(layer, [&](int16_t pane) {
        pf::Rect frame;
        Range_Location(pane, &frame, 1, &range, layer);
        pf::frame_rect(frame);
    });
}

// ---- Cells with fill colours ----------------------------------------------------
//
// The highlight swaps the back colour with the highlight colour, so over a
// filled cell it must be drawn with that cell's fill colour as the back colour.
// The window is cut into the areas the fills of the cells around the figure
// cover and the rest; the figure is drawn once into each, clipped to it, with
// its colour (white for the rest), so every pixel is drawn once.

// Each coloured fill around a figure, with the area it covers on the screen.
struct FillAreas {
    std::vector<std::pair<pf::RgnHandle, pf::RGBColor>> fills;
    pf::RgnHandle unfilled = nullptr;  // everything else
    FillAreas() = default;
    FillAreas(const FillAreas&) = delete;
    FillAreas& operator=(const FillAreas&) = delete;
    ~FillAreas() {
        for (auto& fill : fills) pf::dispose_region(fill.first);
        if (unfilled) pf::dispose_region(unfilled);
    }
};

bool shows_fill_colours(MemoryRef layer) {
    return (GetSheetFlags(layer) & kLayerColouredFills) && colour_style(drawing_colour_style(layer));
}

bool fill_colour_of(MemoryRef layer, CellPoint cell, pf::RGBColor* colour) {
    CellFormat format;
    get_cell_format(format.bytes, cell, layer);
    const int fore = format.bytes[kFmtPatternFore];
    if (fore < 1) return false;
    *colour = table_colour(int16_t(fore - 1));
    return true;
}

// The rows and columns of the range and one more on each side, within the
// pane's visible cells widened the same way and within the grid.
CellRange scanned_cells(MemoryRef layer, int16_t pane, const CellRange& range) {
    CellRange visible;
    GetVisibleCells(&visible, pane, layer);
    auto low = [](int a, int b) { return int16_t(std::max({a - 1, b - 1, 0})); };
    auto high = [](int a, int b) { return int16_t(std::min({a + 1, b + 1, int(kLastCell)})); };
    return CellRange{{low(range.topLeft.v, visible.topLeft.v), low(range.topLeft.h, visible.topLeft.h)},
                     {high(range.botRight.v, visible.botRight.v), high(range.botRight.h, visible.botRight.h)}};
}

// A cell's fill covers its rectangle and the grid lines above and left of it;
// where two fills meet, the one painted later (below, to the right) shows.
void find_fill_areas(MemoryRef layer, int16_t pane, const CellRange& range, FillAreas& areas) {
    const CellRange scanned = scanned_cells(layer, pane, range);
    pf::RgnHandle claimed = pf::new_region();
    pf::RgnHandle piece = pf::new_region();
    for (int row = scanned.botRight.v; row >= scanned.topLeft.v; --row) {
        for (int column = scanned.botRight.h; column >= scanned.topLeft.h; --column) {
            const CellPoint cell{int16_t(row), int16_t(column)};
            pf::RGBColor colour;
            if (!fill_colour_of(layer, cell, &colour)) continue;
            pf::Rect r;
            Cell_Location(pane, &r, 1, cell, layer);
            pf::rect_region(piece, pf::Rect{int16_t(r.top - 1), int16_t(r.left - 1), r.bottom, r.right});
            pf::RgnHandle area = pf::new_region();
            pf::diff_region(piece, claimed, area);
            pf::union_region(claimed, piece, claimed);
            areas.fills.emplace_back(area, colour);
        }
    }
    pf::dispose_region(piece);
    if (areas.fills.empty()) {
        pf::dispose_region(claimed);
        return;
    }
    areas.unfilled = pf::new_region();
    pf::rect_region(areas.unfilled, pf::get_port()->port_rect);
    pf::diff_region(areas.unfilled, claimed, areas.unfilled);
    pf::dispose_region(claimed);
}

// Draws a highlight figure about a range so that it shows over filled cells too.
template <typename Figure>
void draw_over_fills(MemoryRef layer, int16_t pane, const CellRange& range, Figure&& figure) {
    FillAreas areas;
    if (shows_fill_colours(layer)) find_fill_areas(layer, pane, range, areas);
    if (areas.fills.empty()) {
        figure();
        return;
    }
    pf::RGBColor saved_back;
    pf::get_back_color(saved_back);
    {
        ClipScope clip(areas.unfilled);
        pf::rgb_back_color(pf::kWhiteColor);
        figure();
    }
    for (const auto& [area, colour] : areas.fills) {
        ClipScope clip(area);
        pf::rgb_back_color(colour);
        figure();
    }
    pf::rgb_back_color(saved_back);
}

// ---- The figures ------------------------------------------------------------------

void active_cell_mark(MemoryRef layer, int16_t pane, const CellRange& range) {
    CellPoint active;
    uint32_t flags;
    bool objects;
    selection_of(layer, &active, &flags, &objects);
    CellRange visible;
    GetVisibleCells(&visible, pane, layer);
    if (!range_contains(visible, active.v, active.h)) return;
    pf::Rect r;
    Cell_Location(pane, &r, 1, active, layer);
    r.bottom = int16_t(r.bottom - 1);
    if (active.v == range.topLeft.v) r.top = int16_t(r.top + 2);
    if (active.v == range.botRight.v) r.bottom = int16_t(r.bottom - 2);
    if (active.h == range.topLeft.h) r.left = int16_t(r.left + 2);
    if (active.h == range.botRight.h) r.right = int16_t(r.right - 2);
    hilite_rect(r);
}

void block_figure(MemoryRef layer, int16_t pane, const CellRange& range) {
    pf::Rect r;
    Range_Location(pane, &r, 1, &range, layer);
    const int L = r.left, T = r.top, R = r.right, B = r.bottom;
    hilite_line(L, T, R - 1, T);
    hilite_line(L, T + 1, L, B - 2);
    hilite_line(R - 1, T + 1, R - 1, B - 5);
    hilite_line(L + 1, B - 2, R - 4, B - 2);
    hilite_rect(pf::Rect{int16_t(T + 2), int16_t(L + 2), int16_t(B - 3), int16_t(R - 2)});
    hilite_line(L - 2, T - 2, R + 1, T - 2);
    hilite_line(L - 2, T - 1, L - 2, B);
    hilite_line(R + 1, T - 1, R + 1, B - 5);
    hilite_line(L - 1, B, R - 4, B);
    hilite_rect(pf::Rect{int16_t(B - 3), int16_t(R - 2), int16_t(B + 2), int16_t(R + 3)});
    active_cell_mark(layer, pane, range);
}

void inactive_frame(MemoryRef layer, int16_t pane, const CellRange& range) {
    pf::Rect r;
    Range_Location(pane, &r, 1, &range, layer);
    r.bottom = int16_t(r.bottom - 1);
    pf::clear_hilite_bit();
    pf::frame_rect(r);
}

}  // namespace

void FrameSelectCell(MemoryRef layer, int16_t pane, const CellRange& range) {
    draw_over_fills(layer, pane, range, [&] { active_cell_mark(layer, pane, range); });
}

void invert_cell_block(MemoryRef layer, int16_t pane, const CellRange& range) {
    CellRange visible;
    GetVisibleCells(&visible, pane, layer);
    if (!near_visible(range, visible)) return;
    draw_over_fills(layer, pane, range, [&] { block_figure(layer, pane, range); });
}

void Do_Invert(MemoryRef layer, int16_t pane) {
    CellPoint active;
    uint32_t flags;
    bool objects;
    const CellRange range = selection_of(layer, &active, &flags, &objects);
    if (objects) return;  // drawing objects show their own handles
    if (flags & kLayerActiveSuppressed) return;
    if (flags & kLayerActive) {
        invert_cell_block(layer, pane, range);
        return;
    }
    CellRange visible;
    GetVisibleCells(&visible, pane, layer);
    if (!near_visible(range, visible)) return;
    draw_over_fills(layer, pane, range, [&] { inactive_frame(layer, pane, range); });
}

void InvertCells(MemoryRef layer) {
    WindowRef window = layer_window(layer);
    if (!window) return;
    {
        HighlightScope scope(window);
        in_each_pane(layer, [&](int16_t pane) { Do_Invert(layer, pane); });
    }
    pf::host_present();
}

void FrameCells(MemoryRef layer) {
    WindowRef window = layer_window(layer);
    if (!window) return;
    CellPoint active;
    uint32_t flags;
    bool objects;
    const CellRange range = selection_of(layer, &active, &flags, &objects);
    if (objects || !(flags & kLayerActive) || (flags & kLayerActiveSuppressed)) return;
    HighlightScope scope(window);
    in_each_pane(layer, [&](int16_t pane) { FrameSelectCell(layer, pane, range); });
}

// Both passes draw in the same exclusive-or mode: after them every pixel is as before.
void AntRect(MemoryRef layer, CellPoint top_left, CellPoint bottom_right) {
    WindowRef window = layer_window(layer);
    if (!window) return;
    const CellRange range{top_left, bottom_right};
    HighlightScope scope(window);
    pf::pen_pat(ant_pattern());
    const uint32_t start = pf::tick_count();
    draw_ant_frames(layer, range);
    pf::host_present();
    ant_pause(start);
    draw_ant_frames(layer, range);
    pf::host_present();
}

void ant_pause(uint32_t start) {
    EventRecord event;
    while (pf::tick_count() - start < kAntTicks && !pf::event_avail(pf::kEveryEvent, event)) pf::clock_sleep(kAntPollMs);
}
