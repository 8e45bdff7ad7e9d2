// The chart-kind palette: a floating window of the fifteen chart kinds. A click
// does what the Chart Kind menu does: with a chart selected it changes that
// chart's kind, else it chooses the kind of the chart the next click in the
// front document makes (a second click on the chosen kind takes it back).
#pragma once

#include <cstdint>

#include "platform/types.h"
#include "ui/task_manager.h"

extern WindowRef ChartBar;

// Boxes as in the other tool palettes: 22 by 20 pixels, a line between them.
constexpr int16_t kChartBoxWidth = 22, kChartBoxHeight = 20, kChartBoxesAcross = 5;

// Redraws the palette (the chosen kind follows the front document's tool).
void redraw_chart_palette();
// Redraws it when the front document's tool is not the one it frames.
void show_chosen_chart_tool();
// The palette's face for the given size: the kinds in rows of five.
pf::Rect chart_face_rect();
// The box of a chart tool (13 to 27) in a face, and the tool under a point (0 none).
pf::Rect chart_box(int16_t tool, const pf::Rect& face);
int16_t chart_tool_at(pf::Point where, const pf::Rect& face);
// Draws the face into a rectangle (also the chart-kind menu's face); `chosen`
// is framed as chosen (0 none).
void DrawChartImage(const pf::Rect& rect, int16_t depth, bool active, int16_t chosen = 0);
