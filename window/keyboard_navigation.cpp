// Keyboard navigation: moves of the active cell and the selection, view
// commands, and the searches of the cell store they use.
#include "window/keyboard_navigation.h"

#include <algorithm>
#include <vector>

#include "model/cell_record.h"
#include "model/layer_use.h"
#include "window/cell_walk.h"
#include "window/page_lists.h"
#include "model/layer.h"
#include "platform/events/events.h"
#include "ui/app_prefs.h"
#include "window/selection_highlight.h"
#include "window/selection_tracking.h"
#include "window/window_commands.h"

namespace {

struct Selection {
    CellPoint active;
    CellRange range;
};

Selection read_selection(MemoryRef layer) {
    LayerUse sheet(layer);
    Selection s{sheet->active_cell, sheet->selection};
    return s;
}

void mark_format_stale(MemoryRef layer) { SetSheetFlags(layer, GetSheetFlags(layer) | kLayerFormatStale); }

// Enter, Tab and Return with shift as their shifted codes; Enter as Tab in a
// range, as Return in one cell when the preference says so, else 0.
unsigned char translate_key(unsigned char key, uint16_t modifiers, bool single) {
    const bool shift = modifiers & pf::kShiftKey;
    if (key == kKeyEnter) {
        if (!single) key = kKeyTab;
        else if (app_prefs.options & kPrefEnterMoves) key = kKeyReturn;
        else return 0;
    }
    if (shift && key == kKeyTab) return kKeyShiftTab;
    if (shift && key == kKeyReturn) return kKeyShiftReturn;
    return key;
}

bool is_entry_key(unsigned char key) {
    return key == kKeyTab || key == kKeyShiftTab || key == kKeyReturn || key == kKeyShiftReturn;
}

// One step of the active cell inside a larger selection, wrapping at its edges.
CellPoint step_inside(unsigned char key, CellPoint a, const CellRange& r) {
    switch (key) {
        case kKeyTab:
            if (++a.h > r.botRight.h) {
                a.h = r.topLeft.h;
                if (++a.v > r.botRight.v) a.v = r.topLeft.v;
            }
            break;
        case kKeyShiftTab:
            if (--a.h < r.topLeft.h) {
                a.h = r.botRight.h;
                if (--a.v < r.topLeft.v) a.v = r.botRight.v;
            }
            break;
        case kKeyReturn:
            if (++a.v > r.botRight.v) {
                a.v = r.topLeft.v;
                if (++a.h > r.botRight.h) a.h = r.topLeft.h;
            }
            break;
        default:  // shift-Return
            if (--a.v < r.topLeft.v) {
                a.v = r.botRight.v;
                if (--a.h < r.topLeft.h) a.h = r.botRight.h;
            }
            break;
    }
    return a;
}

CellPoint entry_step(unsigned char key, CellPoint a) {
    switch (key) {
        case kKeyTab: return {a.v, int16_t(a.h + 1)};
        case kKeyShiftTab: return {a.v, int16_t(a.h - 1)};
        case kKeyReturn: return {int16_t(a.v + 1), a.h};
        default: return {int16_t(a.v - 1), a.h};
    }
}

void move_in_single_cell(unsigned char key, CellPoint active, MemoryRef layer) {
    const CellPoint next = entry_step(key, active);
    if (!cell_in_grid(next.v, next.h)) return;
    LSelect(next, nullptr, nullptr, 0, layer);
}

void move_inside_selection(unsigned char key, const Selection& s, MemoryRef layer) {
    const CellPoint next = step_inside(key, s.active, s.range);
    FrameCells(layer);
    LayerUse sheet(layer);
    sheet->active_cell = next;
    sheet.release();
    FrameCells(layer);
}

void plain_arrow(unsigned char key, CellPoint a, MemoryRef layer) {
    switch (key) {
        case kKeyLeft: if (a.h > 0) --a.h; break;
        case kKeyRight: if (a.h < kLastCell) ++a.h; break;
        case kKeyUpArrow: if (a.v == 0) return; --a.v; break;
        default: if (a.v == kLastCell) return; ++a.v; break;
    }
    LSelect(a, nullptr, nullptr, 0, layer);
}

void option_arrow(unsigned char key, CellPoint a, MemoryRef layer) {
    int16_t found = -1;
    if (key == kKeyLeft || key == kKeyRight) {
        found = FindRightCell(key == kKeyLeft, a.v, layer);
        a.h = found;
    } else {
        found = FindBottomCell(key == kKeyUpArrow, a.h, layer);
        a.v = found;
    }
    if (found >= 0) LSelect(a, nullptr, nullptr, 0, layer);
}

// The far corner (opposite the active cell) moves one step.
void shift_arrow(unsigned char key, const Selection& s, MemoryRef layer) {
    const CellRange& r = s.range;
    CellPoint far{s.active.v == r.topLeft.v ? r.botRight.v : r.topLeft.v,
                  s.active.h == r.topLeft.h ? r.botRight.h : r.topLeft.h};
    switch (key) {
        case kKeyLeft: if (far.h > 0) --far.h; break;
        case kKeyRight: if (far.h < kLastCell) ++far.h; break;
        case kKeyUpArrow: if (far.v > 0) --far.v; break;
        default: if (far.v < kLastCell) ++far.v; break;
    }
    if (far == s.active) {
        LSelect(s.active, nullptr, nullptr, 0, layer);
        return;
    }
    CellPoint last{-1, -1};
    SelectIt(&last, far, layer);
}

void arrow_key(unsigned char key, uint16_t modifiers, const Selection& s, MemoryRef layer) {
    if (modifiers & pf::kOptionKey) option_arrow(key, s.active, layer);
    else if (modifiers & pf::kShiftKey) shift_arrow(key, s, layer);
    else plain_arrow(key, s.active, layer);
}

constexpr int32_t kSmallestSearchedStore = 32;

std::vector<int16_t> row_page_bounds(MemoryRef layer) {
    LayerUse sheet(layer);
    MemoryRef list = sheet->row_page_bounds;
    sheet.release();
    return read_page_list(list);
}

// The pane whose top row the page and row commands move: 1 when in use, else 0.
CellPoint row_pane_top_left(MemoryRef layer) {
    CellRange visible;
    GetVisibleCells(&visible, 1, layer);
    if (visible.topLeft.v < 0) GetVisibleCells(&visible, 0, layer);
    return visible.topLeft;
}

void show_at_top_left(MemoryRef layer, CellPoint cell) { SheetAutoScroll(layer, cell, 1); }

void page_command(bool next, MemoryRef layer) {
    const std::vector<int16_t> bounds = row_page_bounds(layer);
    CellPoint top = row_pane_top_left(layer);
    const int32_t row = next ? next_page_top(bounds.data(), int(bounds.size()), top.v)
                             : previous_page_top(bounds.data(), int(bounds.size()), top.v);
    if (row < 0 || row > kLastCell) return;
    show_at_top_left(layer, CellPoint{int16_t(row), top.h < 0 ? int16_t(0) : top.h});
}

void last_row_command(bool select, MemoryRef layer) {
    const int16_t row = FindBottomRow(layer);
    if (row <= 0) return;
    const CellPoint cell{row, 0};
    show_at_top_left(layer, cell);
    if (select) LSelect(cell, nullptr, nullptr, 0, layer);
}

void row_step_command(bool next, MemoryRef layer) {
    const CellPoint active = read_selection(layer).active;
    if (next ? active.v > kLastCell - 1 : active.v < 1) return;
    const CellPoint cell{int16_t(active.v + (next ? 1 : -1)), 0};
    LSelect(cell, nullptr, nullptr, 0, layer);
    SheetAutoScroll(layer, cell, 0);
}

}  // namespace

int32_t next_page_top(const int16_t* bounds, int count, int16_t top) {
    for (int i = 0; i < count; ++i)
        if (bounds[i] >= top) return bounds[i] + 1;
    return -1;
}

int32_t previous_page_top(const int16_t* bounds, int count, int16_t top) {
    if (count == 0) return -1;
    int32_t found = 0;
    for (int i = 0; i < count; ++i)
        if (bounds[i] + 1 < top) found = bounds[i] + 1;
    return found;
}

void SheetArrowKeys(unsigned char key, MemoryRef layer) { sheet_arrow_keys(key, pf::current_modifiers(), layer); }

void sheet_arrow_keys(unsigned char key, uint16_t modifiers, MemoryRef layer) {
    if (key == kKeyIgnored) return;
    mark_format_stale(layer);
    const Selection s = read_selection(layer);
    const bool single = is_single_cell(s.range);
    key = translate_key(key, modifiers, single);
    if (key == 0) return;
    if (is_entry_key(key)) {
        if (single) move_in_single_cell(key, s.active, layer);
        else move_inside_selection(key, s, layer);
    } else if (key >= kKeyLeft && key <= kKeyDownArrow) {
        arrow_key(key, modifiers, s, layer);
    } else {
        return;
    }
    SheetAutoScroll(layer, read_selection(layer).active, 0);
}

void nav_command(int16_t command, MemoryRef layer) {
    switch (command) {
        case kNavShowHome: show_at_top_left(layer, CellPoint{0, 0}); break;
        case kNavSelectHome:
            LSelect(CellPoint{0, 0}, nullptr, nullptr, 0, layer);
            show_at_top_left(layer, CellPoint{0, 0});
            break;
        case kNavNextPage: page_command(true, layer); break;
        case kNavPreviousPage: page_command(false, layer); break;
        case kNavShowLastRow: last_row_command(false, layer); break;
        case kNavSelectLastRow: last_row_command(true, layer); break;
        case kNavShowActive: show_at_top_left(layer, read_selection(layer).active); break;
        case kNavNextRow: row_step_command(true, layer); break;
        case kNavPreviousRow: row_step_command(false, layer); break;
        default: break;
    }
}

int16_t FindBottomRow(MemoryRef layer) {
    int16_t last = -1;
    each_row(
        layer,
        [&](const uint8_t* row, const uint8_t*) {
            last = _RowID_(row);
            return true;
        },
        kSmallestSearchedStore);
    return last;
}

int16_t FindBottomCell(int16_t first, int16_t column, MemoryRef layer) {
    int16_t found = -1;
    each_row(
        layer,
        [&](const uint8_t* row, const uint8_t* row_end) {
            bool has_value = false;
            each_cell(row, row_end, [&](const uint8_t* cell) {
                if (_cellID_(cell) < column) return true;
                has_value = _cellID_(cell) == column && _cellType_(cell) != kCellFormatOnly;
                return false;
            });
            if (has_value) found = _RowID_(row);
            return !(has_value && first);
        },
        kSmallestSearchedStore);
    return found;
}

int16_t FindRightCell(int16_t first, int16_t row_number, MemoryRef layer) {
    int16_t found = -1;
    if (GetByteSize(GetSpreadSheetCells(layer)) < kSmallestSearchedStore) return found;
    each_cell_of_row(layer, row_number, [&](const uint8_t* cell) {
        if (_cellType_(cell) != kCellFormatOnly) found = _cellID_(cell);
        return !(found >= 0 && first);
    });
    return found;
}
