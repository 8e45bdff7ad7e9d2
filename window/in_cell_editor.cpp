// The in-cell editor.
#include "window/in_cell_editor.h"

#include <algorithm>

#include "ui/task_manager.h"
#include "model/cell_record.h"
#include "model/layer_use.h"
#include "window/cell_walk.h"
#include "window/clip_scope.h"
#include "model/layer.h"
#include "platform/draw/port.h"
#include "platform/draw/rects.h"
#include "platform/draw/region.h"
#include "platform/draw/shapes.h"
#include "window/page_lists.h"
#include "ui/app_prefs.h"
#include "window/cell_geometry.h"
#include "window/pane_layout.h"
#include "window/doc_window.h"
#include "window/entry_line.h"
#include "window/window_commands.h"
#include "window/window_services.h"

namespace {

constexpr int16_t kInCellView = 1;

bool view_in_use() {
    return WEList.instance && WEIsActive(WEList.instance) && !(app_prefs.options2 & kPrefEntryLineClicked) &&
           Editor_Wind;
}

int16_t editor_pane() { return WEList.editor_pane >= 0 && WEList.editor_pane < kPaneCount ? WEList.editor_pane : 0; }

pf::Rect inset(pf::Rect r, int16_t dh, int16_t dv) {
    return pf::Rect{int16_t(r.top + dv), int16_t(r.left + dh), int16_t(r.bottom - dv), int16_t(r.right - dh)};
}

// Places the view over the editor's rectangle in a pane, clipped to the pane.
void place_view(int16_t pane, const pf::Rect& cells, MemoryRef layer) {
    pf::Rect pane_rect;
    GetPaneRect(&pane_rect, pane, layer);
    pf::Rect box = cells;
    box.left = int16_t(box.left + 1);
    box = inset(box, 1, 1);
    LongRect dest = WERectToLongRect(box);
    WESetDestRect(dest, WEList.instance, kInCellView);
    pf::Rect view;
    pf::sect_rect(box, pane_rect, view);
    WESetViewRect(WERectToLongRect(view), WEList.instance, kInCellView);
}

void draw_view(int16_t pane, const pf::Rect& cells, MemoryRef layer) {
    pf::Rect pane_rect;
    GetPaneRect(&pane_rect, pane, layer);
    ClipScope clip(pane_rect);
    place_view(pane, cells, layer);
    // Inside the grid: the last pixel column keeps the grid line to the right.
    pf::Rect erase = inset(cells, 0, 1);
    erase.left = int16_t(erase.left + 1);
    erase.right = column_last_line(cells);
    pf::erase_rect(erase);
    pf::RgnHandle region = pf::new_region();
    pf::rect_region(region, erase);
    WEUpdate(region, WEList.instance, kInCellView);
    pf::dispose_region(region);
}

int16_t first_pane_showing(MemoryRef layer, CellPoint cell) {
    for (int16_t pane = 0; pane < kPaneCount; ++pane) {
        CellRange visible;
        GetVisibleCells(&visible, pane, layer);
        if (visible.topLeft.v >= 0 && range_contains(visible, cell.v, cell.h)) return pane;
    }
    return 0;
}

// The column before the first cell with contents right of the active cell, or 31999.
int16_t before_next_filled(MemoryRef layer, CellPoint active) {
    int16_t right = kLastCell;
    each_cell_of_row(layer, active.v, [&](const uint8_t* cell) {
        if (_cellID_(cell) <= active.h || _cellType_(cell) == kCellFormatOnly) return true;
        right = int16_t(_cellID_(cell) - 1);
        return false;
    });
    return right;
}

}  // namespace

int16_t in_cell_right_column(MemoryRef layer, CellPoint active) {
    int16_t right = before_next_filled(layer, active);
    CellRange pane1, pane2, pane0;
    GetVisibleCells(&pane1, 1, layer);
    GetVisibleCells(&pane2, 2, layer);
    if (pane1.topLeft.v >= 0 || pane2.topLeft.v >= 0) {
        right = std::min(right, nextColumnBreak(layer, active.h));
    } else {
        GetVisibleCells(&pane0, 0, layer);
        right = std::min<int16_t>(right, int16_t(pane0.botRight.h - 1));
    }
    return std::max(right, active.h);
}

void GetEditLocation(int16_t pane, pf::Rect* rect, MemoryRef layer) {
    Range_Location(pane, rect, 1, &WEList.in_cell_range, layer);
}

uint32_t EditorOnScreen(int16_t pane, int16_t slop, const CellRange* range, pf::Rect* rect, MemoryRef layer) {
    pf::Rect pane_rect;
    if (!pane_in_use(layer, pane, &pane_rect)) return 0;
    CellRange visible;
    GetVisibleCells(&visible, pane, layer);
    const bool overlaps = range->botRight.v >= visible.topLeft.v - slop && range->topLeft.v <= visible.botRight.v + slop &&
                          range->botRight.h >= visible.topLeft.h - slop && range->topLeft.h <= visible.botRight.h + slop;
    if (!overlaps) return 0;
    Range_Location(pane, rect, 1, range, layer);
    return 1;
}

void InitEditorWind(MemoryRef layer, int16_t pane, WEReference instance) {
    if ((app_prefs.options2 & kPrefEntryLineClicked) || !instance || !WEIsActive(instance)) return;
    // A selected chart's data range is typed in the entry line alone, never over the active cell.
    if (window_services.selected_chart(layer)) {
        app_prefs.options2 |= kPrefEntryLineClicked;
        return;
    }
    WindowRef window = layer_window(layer);
    if (!window) return;
    const CellPoint active = GetClickCell(layer);
    if (pane < 0) pane = first_pane_showing(layer, active);
    WEList.editor_pane = pane;
    WEList.in_cell_range = CellRange{active, CellPoint{active.v, in_cell_right_column(layer, active)}};
    pf::Rect cells;
    GetEditLocation(pane, &cells, layer);
    const LongRect rect = WERectToLongRect(inset(cells, 2, 1));
    PushWindowPort(window);
    const pf::OSErr made = WENewView(rect, rect, pf::get_port(), instance);
    PopPort();
    if (made != pf::noErr) return;
    ActivateSheet(kLayerActiveSuppressed, layer);
    UpdateInCellEditor(layer);
    DrawActiveEditor(pane, layer);
}

uint32_t MouseInCellEditor(pf::Point where, MemoryRef layer) {
    if (!view_in_use() || doc_window_layer(Editor_Wind) != layer) return 0;
    const int16_t pane = find_pane(where, layer);
    if (pane < 0) return 0;
    pf::Rect cells;
    if (!EditorOnScreen(pane, 0, &WEList.in_cell_range, &cells, layer)) return 0;
    cells.right = int16_t(cells.right + 1);
    cells.bottom = int16_t(cells.bottom + 1);
    return pf::pt_in_rect(where, cells) ? 1 : 0;
}

void ClickCellEditor(WEReference instance, MemoryRef layer) {
    if (!view_in_use()) return;
    LayerUse sheet(layer);
    const pf::Point where = sheet->click_point;
    const uint16_t modifiers = sheet->click_modifiers;
    const uint32_t when = sheet->last_click_time;
    sheet.release();
    const int16_t pane = find_pane(where, layer);
    pf::Rect cells;
    if (pane < 0 || !EditorOnScreen(pane, 0, &WEList.in_cell_range, &cells, layer)) return;
    place_view(pane, cells, layer);
    WEClick(where, modifiers, when, instance, caret_sets_keyboard_script(), kInCellView);
    if (pane != editor_pane()) {
        WEList.editor_pane = pane;
        DrawActiveEditor(pane, layer);
    }
    UpdateInCellEditor(layer);
}

void DrawActiveEditor(int16_t pane, MemoryRef layer) {
    if (!view_in_use()) return;
    WindowRef window = layer_window(layer);
    pf::Rect cells;
    if (!window || !EditorOnScreen(pane, 0, &WEList.in_cell_range, &cells, layer)) return;
    PushWindowPort(window);
    draw_view(pane, cells, layer);
    PopPort();
}

uint32_t UpdateInCellEditor(MemoryRef layer) {
    if (!view_in_use() || !layer) return 0;
    WindowRef window = layer_window(layer);
    if (!window) return 0;
    const int16_t pane = editor_pane();
    pf::Rect cells;
    GetEditLocation(pane, &cells, layer);
    if (WECountLines(WEList.instance, kInCellView) > 1) {
        const int32_t height = WEGetHeight(0, WECountLines(WEList.instance, kInCellView), WEList.instance, kInCellView);
        bool grown = false;
        while (height > inset(cells, 2, 1).bottom - inset(cells, 2, 1).top && WEList.in_cell_range.botRight.v < kLastCell) {
            WEList.in_cell_range.botRight.v = int16_t(WEList.in_cell_range.botRight.v + 1);
            GetEditLocation(pane, &cells, layer);
            grown = true;
        }
        if (grown) {
            PushWindowPort(window);
            place_view(pane, cells, layer);
            WECalText(WEList.instance);
            PopPort();
            DrawActiveEditor(pane, layer);
        }
    }
    PushWindowPort(window);
    for (int16_t other = 0; other < kPaneCount; ++other) {
        pf::Rect shown;
        if (EditorOnScreen(other, 0, &WEList.in_cell_range, &shown, layer)) draw_view(other, shown, layer);
    }
    place_view(pane, cells, layer);
    PopPort();
    return 1;
}

void redraw_in_cell_editor(MemoryRef layer) {
    if (!view_in_use() || doc_window_layer(Editor_Wind) != layer) return;
    for (int16_t pane = 0; pane < kPaneCount; ++pane) DrawActiveEditor(pane, layer);
}

bool place_in_cell_view(MemoryRef layer) {
    if (!view_in_use() || doc_window_layer(Editor_Wind) != layer) return false;
    pf::Rect cells;
    if (!EditorOnScreen(editor_pane(), 0, &WEList.in_cell_range, &cells, layer)) {
        // Off screen the view shows nothing, so that typing draws over no other cell.
        WESetViewRect(WERectToLongRect(pf::Rect{}), WEList.instance, kInCellView);
        return false;
    }
    place_view(editor_pane(), cells, layer);
    return true;
}
