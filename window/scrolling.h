// Scrolling of a document window's panes by whole rows and columns: the
// scroll bars and their action procedure, the mouse wheel, moving a pane's
// pixels and redrawing only the uncovered strip, bringing a cell into view,
// and the scroll limits that keep the last row and column reachable.
//
// Scrolling changes the view, never the document: the workbook's change
// counter is left alone (the panes' top-left cells are saved with whatever
// else is saved).
#pragma once

#include <cstdint>

#include "core/memory_manager.h"
#include "model/cell_range.h"
#include "platform/controls/controls.h"
#include "platform/types.h"
#include "window/cell_geometry.h"

// ---- Steps along one axis (sizes in pixels, `extent` the pane's size) ----

// The lowest first row (column) that still shows the last one whole: sizes
// from 31999 backwards are added while they fit in `extent`; with
// `at_least_one` the last one always counts.
int16_t scroll_limit(const AxisSizes& axis, int32_t extent, bool at_least_one);
// The pixels that a scroll from `first` to `end` (or back) moves: the sizes
// of [first, end) while under `extent`; 0 for an empty pane or range.
int32_t scroll_pixels(const AxisSizes& axis, int16_t first, int16_t end, int32_t extent);
// Rows (columns) that a page forward from `start` scrolls: those that fit
// whole in `extent` (half of it with `half`), at least one, not past 31999;
// 0 when there is nothing to scroll.
int16_t page_after(const AxisSizes& axis, bool half, int16_t start, int32_t extent);
// The same backwards from `start` (the one before the first visible), down to 0.
int16_t page_before(const AxisSizes& axis, bool half, int16_t start, int32_t extent);

// ---- The layer's panes ----

// Stores and answers the scroll limit of vertical pane `index` (0 or 1) and
// of horizontal pane 2 * `index`; -1 for a pane not in use.
int16_t SetVScrollMax(int16_t index, MemoryRef layer);
int16_t SetHScrollMax(int16_t index, MemoryRef layer);

// Scrolls a pane (and the panes sharing its rows or columns) by signed counts.
void Scroll_Sheet(int16_t pane, int16_t rows, int16_t columns, MemoryRef layer);

// ---- Scroll bars ----

// Values, minima and maxima of the four bars from the panes.
void AdjustBars(MemoryRef record);
// Raises a bar's maximum to the larger of two values when it is below either.
void ResetScrollMax(pf::ControlRef bar, int32_t first, int32_t second);
// The step a part of a bar asks for (see scroll_action_proc); 0 for none.
int16_t bar_step(MemoryRef record, pf::ControlRef bar, int16_t part, bool half);
// The action procedure of the bars while tracked (the window being scrolled
// is the one whose click or wheel turn is handled).
void scroll_action_proc(pf::ControlRef bar, int16_t part);
// A click in the window's scroll-bar strips: 1 when handled there, 0 when it
// belongs to the sheet.
int16_t ClickScrollBars(MemoryRef record, pf::Point where);
// The two window icons left of the grow box, drawn from SICN 129 while the
// layer is active; a click in the bottom strip's icon area pops up the Layer
// menu (first icon) or the list of layers (second) and carries out the
// choice. Always 1: the strip belongs to the window, not the sheet.
void draw_wind_icons(MemoryRef record);
int16_t click_window_icons(MemoryRef record, pf::Point where);
// Keeps the character at `offset` of the layer's open text-object editor in
// view in the editor's pane (first bringing the object's cells into it).
void ShowSelect(int32_t offset, MemoryRef layer);
// A wheel turn over a document window: one row or column per turn (half a
// page with Option); `where` local.
void sheet_wheel(MemoryRef record, pf::Point where, int axis, int32_t delta, uint16_t modifiers);
// Sends the window's wheel turns to sheet_wheel.
void install_wheel_handler(MemoryRef record);
