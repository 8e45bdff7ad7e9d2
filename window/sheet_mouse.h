// Mouse-downs in the cells and headings of a document window: selecting
// cells, whole columns and rows, and pointing at cells while a formula is typed.
#pragma once

#include <cstdint>

#include "core/memory_manager.h"
#include "model/cell_range.h"
#include "platform/types.h"

// Answers of SheetClick.
constexpr int16_t kClickResized = 0;
constexpr int16_t kClickHandled = 1;
constexpr int16_t kClickInCellEditor = 2;

// The mouse-down the layer recorded (point, count, modifiers): 0 a size was
// changed, 1 handled, 2 the click belongs to the in-cell editor.
int16_t SheetClick(MemoryRef layer);
// The cell under the mouse in a pane; outside it the tracked cell as CheckMouse moves it.
CellPoint cell_under_mouse(MemoryRef layer, int16_t pane, CellPoint tracked);
// Scrolls the pane one step toward a point outside it and moves the tracked cell.
void CheckMouse(pf::Point where, bool horizontal, bool vertical, CellPoint* cell, int16_t pane, MemoryRef layer);
void SelectCol_Row(MemoryRef layer, pf::Point where, int16_t column_mode);
// Tracks a reference to whole columns or rows while a formula is typed; the reference.
CellRange GhostCol_Row(MemoryRef layer, pf::Point where, int16_t column_mode);
// A mouse-down the document window recorded in its layer: handled by
// SheetClick, then the in-cell editor opened on a double click on the active
// cell and handed the click, or the entry line shown anew.
void sheet_click_in_window(MemoryRef record, MemoryRef layer);
