// The in-cell editor: a second view of the entry line's instance drawn over
// the edited cell (and the empty cells right of it and the rows below, as the
// text needs), so that typing shows in the cell as in the entry line.
#pragma once

#include <cstdint>

#include "core/memory_manager.h"
#include "model/cell_range.h"
#include "platform/types.h"
#include "styledtext/styled_text.h"

void InitEditorWind(MemoryRef layer, int16_t pane, WEReference instance);
void GetEditLocation(int16_t pane, pf::Rect* rect, MemoryRef layer);
uint32_t EditorOnScreen(int16_t pane, int16_t slop, const CellRange* range, pf::Rect* rect, MemoryRef layer);
uint32_t MouseInCellEditor(pf::Point where, MemoryRef layer);
void ClickCellEditor(WEReference instance, MemoryRef layer);
void DrawActiveEditor(int16_t pane, MemoryRef layer);
uint32_t UpdateInCellEditor(MemoryRef layer);
// The right column of the view for the active cell: before the next cell
// with contents, within what the window shows, never left of the cell.
int16_t in_cell_right_column(MemoryRef layer, CellPoint active);
// Draws the view in every pane that shows it (after the window was drawn).
void redraw_in_cell_editor(MemoryRef layer);
// Places the view in the editor's pane of the edited layer (after the pane
// scrolled, or before drawing); false, with nothing shown, when the edited
// cells are not on screen there.
bool place_in_cell_view(MemoryRef layer);
