#include "window/scrolling.h"

#include <algorithm>
#include <cstdlib>

#include "model/layer.h"
#include "model/layer_use.h"
#include "model/workbook.h"
#include "platform/draw/bits.h"
#include "platform/draw/port.h"
#include "platform/draw/region.h"
#include "platform/events/events.h"
#include "platform/windows/windows.h"
#include "window/doc_window.h"
#include "window/pane_layout.h"
#include "window/in_cell_editor.h"
#include "window/sheet_drawing.h"
#include "window/split_panes.h"
#include "window/window_commands.h"
#include "window/selection_highlight.h"

// ---- Steps along one axis ----

int16_t scroll_limit(const AxisSizes& axis, int32_t extent, bool at_least_one) {
    int32_t sum = 0;
    int16_t first = kLastCell + 1;
    while (first > 0) {
        const int16_t size = axis.size(int16_t(first - 1));
        const bool forced = at_least_one && first == kLastCell + 1;
        if (!forced && sum + size > extent) break;
        sum += size;
        --first;
    }
    return std::min<int16_t>(first, kLastCell);
}

int32_t scroll_pixels(const AxisSizes& axis, int16_t first, int16_t end, int32_t extent) {
    if (extent < 1 || first >= end) return 0;
    int32_t sum = 0;
    for (int16_t i = first; i < end && sum < extent; ++i) sum += axis.size(i);
    return std::min(sum, extent);
}

namespace {

// How many cells from `start`, stepping by `step` (1 or -1) to the grid's
// edge, fill `extent` pixels; at least one.
int16_t cells_filling(const AxisSizes& axis, int16_t start, int step, int32_t extent) {
    int32_t sum = 0;
    int16_t count = 0;
    for (int i = start; i >= 0 && i <= kLastCell; i += step) {
        sum += axis.size(int16_t(i));
        if (sum > extent && count > 0) break;
        ++count;
        if (sum >= extent) break;
    }
    return count;
}

}  // namespace

int16_t page_after(const AxisSizes& axis, bool half, int16_t start, int32_t extent) {
    if (half) extent /= 2;
    if (start < 0 || start > kLastCell || extent < 1) return 0;
    return cells_filling(axis, start, 1, extent);
}

int16_t page_before(const AxisSizes& axis, bool half, int16_t start, int32_t extent) {
    if (half) extent /= 2;
    if (start < 0 || extent < 1) return 0;
    return cells_filling(axis, std::min(start, kLastCell), -1, extent);
}

// ---- Limits of the layer's panes ----

namespace {

bool frozen(const SpreadSheet* sheet) { return (sheet->flags & kLayerFrozenTitles) != 0; }
bool frozen_rows(const SpreadSheet* sheet) { return frozen(sheet) && sheet->frozen_titles.topLeft.v >= 0; }
bool frozen_columns(const SpreadSheet* sheet) { return frozen(sheet) && sheet->frozen_titles.topLeft.h >= 0; }

int16_t store_limit(MemoryRef layer, int16_t index, int axis) {
    if (index < 0 || index > 1) return -1;
    SheetAxes axes(layer);
    LayerUse sheet(layer);
    const int pane = axis == 0 ? index : 2 * index;
    int16_t limit = -1;
    if (pane_in_use(sheet, pane)) {
        const pf::Rect& r = sheet->pane_rects[pane];
        limit = axis == 0 ? scroll_limit(axes.rows, r.bottom - r.top + 1, false)
                          : scroll_limit(axes.columns, r.right - r.left, true);
    }
    sheet->scroll_max[index][axis] = limit;
    return limit;
}

// The selection's highlight inside a freshly drawn area only: the pixels that
// moved carry theirs already.
void highlight_within(MemoryRef layer, pf::RgnHandle area) {
    pf::RgnHandle saved = pf::new_region();
    pf::get_clip(saved);
    pf::RgnHandle clip = pf::new_region();
    pf::sect_region(saved, area, clip);
    pf::set_clip(clip);
    InvertCells(layer);
    pf::set_clip(saved);
    pf::dispose_region(clip);
    pf::dispose_region(saved);
}

// Moves the pixels of a band of the layer's window (or, for a layer drawn
// without one, of the current port) by `dh`, `dv` and redraws what was uncovered.
void move_band(MemoryRef layer, const pf::Rect& band, int16_t dh, int16_t dv) {
    WindowRef window = layer_window(layer);
    pf::PortScope scope(window ? pf::window_port(window) : pf::get_port());
    if (!pf::get_port()) return;
    pf::RgnHandle uncovered = pf::new_region();
    pf::scroll_rect(band, dh, dv, uncovered);
    Draw_Spreadsheet(uncovered, layer);
    if (window) highlight_within(layer, uncovered);
    pf::dispose_region(uncovered);
}

void recompute(SpreadSheet* sheet, const SheetAxes& axes, int pane) {
    sheet->visible_ranges[pane] = visible_range_of(sheet->pane_rects[pane], sheet->visible_ranges[pane].topLeft, axes);
}

struct Move {
    bool moved = false;
    pf::Rect band{};
    int16_t pixels = 0;  // signed: positive moves the pixels down (right)
};

int16_t& first_of(CellRange& visible, int axis) { return axis == 0 ? visible.topLeft.v : visible.topLeft.h; }

// Sets the new first row (axis 0, `pane` 0 or 1) or column (axis 1, `pane` 0
// or 2) of a pane and of the pane sharing it; the band to move.
Move scroll_axis(MemoryRef layer, int axis, int16_t pane, int16_t count) {
    Move move;
    const int16_t limit = axis == 0 ? SetVScrollMax(pane, layer) : SetHScrollMax(int16_t(pane / 2), layer);
    SheetAxes axes(layer);
    LayerUse sheet(layer);
    const bool titles = pane != 0 && (axis == 0 ? frozen_rows(sheet) : frozen_columns(sheet));
    const CellPoint title_end = sheet->frozen_titles.botRight;
    const int16_t lowest = titles ? int16_t((axis == 0 ? title_end.v : title_end.h) + 1) : int16_t(0);
    const int16_t old_first = first_of(sheet->visible_ranges[pane], axis);
    const int16_t new_first = int16_t(std::clamp<int32_t>(old_first + count, lowest, std::max(lowest, limit)));
    if (new_first != old_first && pane_in_use(sheet, pane)) {
        const pf::Rect& r = sheet->pane_rects[pane];
        const pf::Rect& view = sheet->view_rect;
        const int32_t pixels = scroll_pixels(axis == 0 ? axes.rows : axes.columns, std::min(old_first, new_first),
                                             std::max(old_first, new_first), axis == 0 ? r.height() : r.width());
        move.moved = true;
        move.band = axis == 0 ? pf::Rect{r.top, view.left, r.bottom, view.right}
                              : pf::Rect{view.top, r.left, view.bottom, r.right};
        move.pixels = int16_t(new_first < old_first ? pixels : -pixels);
        const int sharing = axis == 0 ? pane + 2 : pane + 1;
        for (int p : {int(pane), sharing}) {
            if (!pane_in_use(sheet, p)) continue;
            first_of(sheet->visible_ranges[p], axis) = new_first;
            recompute(sheet, axes, p);
        }
    }
    return move;
}

}  // namespace

int16_t SetVScrollMax(int16_t index, MemoryRef layer) { return store_limit(layer, index, 0); }
int16_t SetHScrollMax(int16_t index, MemoryRef layer) { return store_limit(layer, index, 1); }

void Scroll_Sheet(int16_t pane, int16_t rows, int16_t columns, MemoryRef layer) {
    if (pane < 0 || pane >= kPaneCount || !layer) return;
    LayerUse sheet(layer);
    const bool in_use = pane_in_use(sheet, pane);
    const bool rows_fixed = frozen_rows(sheet) && (pane == 0 || pane == 2);
    const bool columns_fixed = frozen_columns(sheet) && (pane == 0 || pane == 1);
    sheet.release();
    // Scrolling the rows of a frozen title pane ends the whole call.
    if (!in_use || (rows != 0 && rows_fixed)) return;
    if (rows != 0) {
        const Move move = scroll_axis(layer, 0, int16_t(pane % 2), rows);
        if (move.moved) move_band(layer, move.band, 0, move.pixels);
    }
    if (columns != 0 && !columns_fixed) {
        const Move move = scroll_axis(layer, 1, int16_t(pane < 2 ? 0 : 2), columns);
        if (move.moved) move_band(layer, move.band, move.pixels, 0);
    }
    place_in_cell_view(layer);
    CellsScrolled(layer);
}

// ---- Scroll bars ----

namespace {

MemoryRef scrolled_record = nullptr;  // the document window whose bar is tracked

void set_value(pf::ControlRef bar, int32_t value) {
    if (bar && pf::get_control_value(bar) != value) pf::set_control_value(bar, value);
}

// Vertical (axis 0) or horizontal (axis 1) bars of panes 0 and 1 (2).
void adjust_axis(const DocWindowRecord& fields, int axis) {
    MemoryRef layer = fields.sheet;
    const pf::ControlRef* bars = axis == 0 ? fields.vertical_bar : fields.horizontal_bar;
    LayerUse sheet(layer);
    const int second_pane = axis == 0 ? 1 : 2;
    const bool second_used = pane_in_use(sheet, second_pane);
    auto first_in = [&](int pane) { return first_of(sheet->visible_ranges[pane], axis); };
    const int16_t last_used = axis == 0 ? sheet->last_row : sheet->last_column;
    const int16_t used0 = sheet->scroll_max[0][axis] >= 0 ? last_used : int16_t(-1);
    const int16_t used1 = sheet->scroll_max[1][axis] >= 0 ? last_used : int16_t(-1);
    const int16_t first0 = first_in(0);
    const int16_t first1 = second_used ? first_in(second_pane) : int16_t(0);
    // Until the used area reaches further, a bar keeps one step ahead of its
    // pane while the pane can scroll on, so that its arrows stay live.
    const int16_t ahead0 = int16_t(std::min<int32_t>(first0 + 1, sheet->scroll_max[0][axis]));
    const int16_t ahead1 = int16_t(std::min<int32_t>(first1 + 1, sheet->scroll_max[1][axis]));
    const bool titles = axis == 0 ? frozen_rows(sheet) : frozen_columns(sheet);
    const int16_t title_end = axis == 0 ? sheet->frozen_titles.botRight.v : sheet->frozen_titles.botRight.h;
    sheet.release();
    if (!second_used) {
        ResetScrollMax(bars[0], std::max(first0, ahead0), used0);
    } else {
        const int16_t furthest = std::max(first0, first1);
        ResetScrollMax(bars[0], std::max(furthest, ahead0), used0);
        ResetScrollMax(bars[1], std::max(furthest, ahead1), used1);
        pf::set_control_minimum(bars[1], titles ? title_end + 1 : 0);
        set_value(bars[1], std::max<int32_t>(first1, pf::get_control_minimum(bars[1])));
    }
    set_value(bars[0], first0);
}

bool option_held(uint16_t modifiers) { return (modifiers & pf::kOptionKey) != 0; }

}  // namespace

void ResetScrollMax(pf::ControlRef bar, int32_t first, int32_t second) {
    if (!bar) return;
    const int32_t maximum = pf::get_control_maximum(bar);
    if (maximum < first || maximum < second) pf::set_control_maximum(bar, std::max(first, second));
}

void AdjustBars(MemoryRef record) {
    const DocWindowRecord fields = read_doc_window(record);
    if (!fields.window || !fields.sheet) return;
    SetVScrollMax(0, fields.sheet);
    SetVScrollMax(1, fields.sheet);
    SetHScrollMax(0, fields.sheet);
    SetHScrollMax(1, fields.sheet);
    adjust_axis(fields, 0);
    adjust_axis(fields, 1);
}

namespace {

constexpr int16_t kShortestVerticalBar = 56;
constexpr int16_t kNarrowestHorizontalBar = 20;

void hide_bar(WindowRef window, pf::ControlRef bar) {
    if (!bar || !pf::is_control_visible(bar)) return;
    pf::hide_control(bar);
    pf::valid_window_rect(window, bar->bounds);
}

void show_bar(WindowRef window, pf::ControlRef bar, bool wanted) {
    if (!bar) return;
    if (!wanted) {
        hide_bar(window, bar);
    } else if (!pf::is_control_visible(bar)) {
        pf::show_control(bar);
        pf::inval_window_rect(window, bar->bounds);
    }
}

}  // namespace

void Show_Hide_Bars(MemoryRef record, bool show) {
    const DocWindowRecord fields = read_doc_window(record);
    if (!fields.window) return;
    const pf::ControlRef bars[4] = {fields.vertical_bar[0], fields.vertical_bar[1], fields.horizontal_bar[0],
                                    fields.horizontal_bar[1]};
    if (!show) {
        for (pf::ControlRef bar : bars) hide_bar(fields.window, bar);
        return;
    }
    if (!SheetActive(fields.sheet)) return;
    LayerUse sheet(fields.sheet);
    const bool used[4] = {true, pane_in_use(sheet, 1), true, pane_in_use(sheet, 2)};
    const bool titles_rows = frozen_rows(sheet), titles_columns = frozen_columns(sheet);
    sheet.release();
    for (int i = 0; i < 4; ++i) {
        pf::ControlRef bar = bars[i];
        if (!bar) continue;
        const bool vertical = i < 2;
        const bool fits = vertical ? bar->bounds.height() >= kShortestVerticalBar
                                   : bar->bounds.width() >= kNarrowestHorizontalBar;
        const bool frozen_away = (i == 0 && titles_rows) || (i == 2 && titles_columns);
        show_bar(fields.window, bar, used[i] && fits && !frozen_away);
    }
}

void CellsScrolled(MemoryRef layer) {
    WindowRef window = layer_window(layer);
    if (!window) return;
    pf::PortScope scope(pf::window_port(window));
    AdjustBars(window_doc_record(window));
}

namespace {

struct BarPane {
    int16_t pane;
    bool vertical;
};

BarPane pane_of_bar(const DocWindowRecord& fields, pf::ControlRef bar) {
    if (bar == fields.vertical_bar[0]) return {0, true};
    if (bar == fields.vertical_bar[1]) return {1, true};
    if (bar == fields.horizontal_bar[1]) return {2, false};
    return {0, false};
}

}  // namespace

int16_t bar_step(MemoryRef record, pf::ControlRef bar, int16_t part, bool half) {
    const DocWindowRecord fields = read_doc_window(record);
    if (!fields.sheet || !bar) return 0;
    const BarPane which = pane_of_bar(fields, bar);
    const int32_t value = pf::get_control_value(bar);
    SheetAxes axes(fields.sheet);
    LayerUse sheet(fields.sheet);
    const pf::Rect pane = sheet->pane_rects[which.pane];
    const CellPoint first = sheet->visible_ranges[which.pane].topLeft;
    sheet.release();
    const AxisSizes& axis = which.vertical ? axes.rows : axes.columns;
    const int32_t extent = which.vertical ? pane.height() : pane.width();
    const int16_t start = int16_t(value);
    switch (part) {
        case pf::kControlUpButtonPart: return half ? int16_t(-page_before(axis, true, int16_t(start - 1), extent)) : -1;
        case pf::kControlDownButtonPart: return half ? page_after(axis, true, start, extent) : int16_t(1);
        case pf::kControlPageUpPart: return int16_t(-page_before(axis, false, int16_t(start - 1), extent));
        case pf::kControlPageDownPart: return page_after(axis, false, start, extent);
        case pf::kControlIndicatorPart: return int16_t(value - (which.vertical ? first.v : first.h));
        default: return 0;
    }
}

void scroll_action_proc(pf::ControlRef bar, int16_t part) {
    MemoryRef record = scrolled_record;
    const DocWindowRecord fields = read_doc_window(record);
    if (!fields.sheet || !bar || part == 0) return;
    const int16_t step = bar_step(record, bar, part, option_held(pf::current_modifiers()));
    if (step == 0) return;
    if (part != pf::kControlIndicatorPart) {
        const int32_t value = pf::get_control_value(bar) + step;
        if ((part == pf::kControlDownButtonPart || part == pf::kControlPageDownPart) && pf::get_control_maximum(bar) <= value)
            pf::set_control_maximum(bar, std::min<int32_t>(value + 1, kLastCell));
        set_value(bar, std::clamp<int32_t>(value, pf::get_control_minimum(bar), pf::get_control_maximum(bar)));
    }
    const BarPane which = pane_of_bar(fields, bar);
    Scroll_Sheet(which.pane, which.vertical ? step : int16_t(0), which.vertical ? int16_t(0) : step, fields.sheet);
}

int16_t ClickScrollBars(MemoryRef record, pf::Point where) {
    const DocWindowRecord fields = read_doc_window(record);
    if (!fields.window) return 0;
    pf::ControlRef bar = nullptr;
    const int16_t part = pf::find_control(where, fields.window, &bar);
    if (part == 0 || !bar) {
        const pf::Rect port = pf::window_port(fields.window)->port_rect;
        const bool right_strip = where.h >= port.right - 16;
        const bool bottom_strip = where.v >= port.bottom - 16;
        if (!right_strip && !bottom_strip) return 0;
        if (right_strip && !bottom_strip) return click_split_box(record, where, true);
        pf::Rect split_box;
        h_divider(record, &split_box);
        if (pf::pt_in_rect(where, split_box)) return click_split_box(record, where, false);
        return click_window_icons(record, where);
    }
    // Only the four bars: other controls of the window are left to it.
    const bool own = bar == fields.vertical_bar[0] || bar == fields.vertical_bar[1] ||
                     bar == fields.horizontal_bar[0] || bar == fields.horizontal_bar[1];
    if (!own) return 0;
    scrolled_record = record;
    pf::track_control(bar, where, scroll_action_proc);
    scrolled_record = nullptr;
    return 1;
}

// ---- The wheel ----

void sheet_wheel(MemoryRef record, pf::Point where, int axis, int32_t delta, uint16_t modifiers) {
    const DocWindowRecord fields = read_doc_window(record);
    if (!fields.sheet || axis < 0 || axis > 1) return;
    pf::Rect second;
    GetPaneRect(&second, axis == 0 ? 1 : 2, fields.sheet);
    const bool in_second = second.left != -1 && (axis == 0 ? where.v >= second.top : where.h >= second.left);
    pf::ControlRef bar = axis == 0 ? fields.vertical_bar[in_second ? 1 : 0] : fields.horizontal_bar[in_second ? 1 : 0];
    // Vertical turns away from the user scroll up; horizontal ones to the right scroll right.
    const bool forward = axis == 0 ? delta < 1 : delta > 0;
    const int16_t part = forward ? pf::kControlDownButtonPart : pf::kControlUpButtonPart;
    const int16_t step = bar_step(record, bar, part, option_held(modifiers));
    const BarPane which = pane_of_bar(fields, bar);
    Scroll_Sheet(which.pane, which.vertical ? step : int16_t(0), which.vertical ? int16_t(0) : step, fields.sheet);
}

namespace {

bool window_wheel(WindowRef window, int axis, int32_t delta, uint16_t modifiers, void* user) {
    if (axis > 1) return false;
    pf::PortScope scope(pf::window_port(window));
    pf::Point where;
    pf::get_mouse(where);
    sheet_wheel(static_cast<MemoryRef>(user), where, axis, delta, modifiers);
    return true;
}

}  // namespace

void install_wheel_handler(MemoryRef record) {
    const DocWindowRecord fields = read_doc_window(record);
    if (fields.window) pf::set_window_wheel_handler(fields.window, window_wheel, record);
}
