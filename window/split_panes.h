// Split and frozen panes of a document window: the split boxes and their
// drags, splitting at the window's middle or at the selection, and freezing
// the rows and columns of pane 0 as titles.
#pragma once

#include <cstdint>

#include "core/memory_manager.h"
#include "model/cell_range.h"
#include "platform/types.h"

// Where a split box dragged by `distance` pixels puts its divider (`old` 0
// for none); 0 removes the split. Rows land on odd pixels, columns one past a
// multiple of 4; a divider within 15 pixels of the first pane's start
// (`start`) or of the view's far edge (`end`) removes the split, so that no
// pane is left too small to show.
int16_t row_divider_after_drag(int16_t old, int16_t distance, int16_t start, int16_t end);
int16_t column_divider_after_drag(int16_t old, int16_t distance, int16_t start, int16_t end);

// The pixel of a split at the middle of the window's view, giving the row
// (column) just after it; 0 when none is found.
int16_t split_v_mid(MemoryRef layer, int16_t* row);
int16_t split_h_mid(MemoryRef layer, int16_t* column);

// Sets a divider and lays the window out again.
void set_row_split(MemoryRef record, int16_t divider);
void set_column_split(MemoryRef record, int16_t divider);

// A click in the right strip (`row_split`) or the bottom strip: drags the
// split box under it, or with a double click removes its split or splits at
// the middle. 1 when the click was in the strip.
int16_t click_split_box(MemoryRef record, pf::Point where, bool row_split);

// Toggles between split (at the selection) and unsplit; unfreezes titles.
void split_sheet(MemoryRef layer);
// Sets (on) or clears the frozen range; the caller has set the flag.
void freeze_sheet(MemoryRef layer, bool on);
// split_sheet for a document window's layer, and the window laid out again.
void split_window(MemoryRef record);
// Turns frozen titles on or off for a document window and lays it out.
void toggle_frozen_titles(MemoryRef record);
