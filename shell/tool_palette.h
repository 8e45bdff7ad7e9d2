// The tool palette: a floating window of the twelve drawing tools. Choosing a
// tool arms it in the front document window; the next click in the sheet
// carries it out. Tool 1 selects objects with a marquee, tool 2 acts at once
// (a picture of the selection), tools 3 to 12 make objects.
#pragma once

#include <cstdint>

#include "ui/task_manager.h"

extern WindowRef ToolPalette;

constexpr int16_t kSelectObjectsTool = 1, kPictureTool = 2, kLastDrawingTool = 12;

// Marks the front document's armed tool in the palette when it changed.
void show_pending_tool();
// Carries a tool out at the document window's last click, then disarms it.
void CreateTool(MemoryRef window_record, int16_t tool);

int32_t close_Tool_proc(EventRecord* event, uintptr_t, uintptr_t);
int32_t click_Tool_proc(EventRecord* event, uintptr_t, uintptr_t);
