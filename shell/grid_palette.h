// The grid palette: a floating window of the twelve border tools. A click
// applies a tool to the front document's selection; the tool matching the
// selection's border word is marked, and a mixed selection dims the face.
#pragma once

#include <cstdint>

#include "ui/task_manager.h"
#include "platform/draw/draw.h"

extern WindowRef GridPalette;
// The tool marked: 1 to 12, 0 for none, -1 for a mixed selection.
extern int16_t g_grid_tool;

// Marks the tool of a border word (none given: no tool) when it changed, or
// always with `force`.
void update_grid(const uint16_t* border_word, bool force);
struct DocumentFacts;
// Marks the tool of the selection's border word (none with no document or a
// selected object).
void show_selection_in_grid_palette(const DocumentFacts& facts);
// The twelve tools' faces and the lines between them, dimmed when not active;
// also the face of the borders pop-up menu.
void DrawBorderImage(const pf::Rect& r, bool active);

int32_t close_grid_proc(EventRecord* event, uintptr_t, uintptr_t);
int32_t click_grid_proc(EventRecord* event, uintptr_t, uintptr_t);
