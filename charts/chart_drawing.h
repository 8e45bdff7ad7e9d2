// Drawing a chart object: its frame, title, legend, axes and the plot of its
// kind, from the data of its source layer.
#pragma once

#include <cstdint>

#include "charts/chart_data.h"
#include "core/memory_manager.h"
#include "platform/types.h"

// Draws the chart of a chart object into its rectangle in the current port.
void draw_chart_object(MemoryRef object, const pf::Rect& rect);
// A small picture of a chart kind, in its automatic colours, for palettes.
void draw_chart_icon(pf::FourCC kind, const pf::Rect& rect);
// Draws a chart of the kind from a chart block and its data into the rectangle.
void draw_chart(pf::FourCC kind, MemoryRef chart, const ChartData& data, const pf::Rect& rect);
