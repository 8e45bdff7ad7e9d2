// Drawing a chart object: its frame, title, legend, axes and the plot of its
// kind, from the data of its source layer.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "charts/chart_data.h"
#include "core/memory_manager.h"
#include "platform/types.h"

// The parts of a drawn chart, numbered for the hit-test: its whole area, its
// title, legend and plot area (empty rectangles for parts it does not show).
enum : int16_t { kChartAreaPart = 0, kChartTitlePart = 1, kChartLegendPart = 2, kChartPlotPart = 3 };
struct ChartParts {
    pf::Rect frame, title, legend, plot;
    std::vector<pf::Rect> data_labels;     // one per label drawn, when the chart shows them
    std::vector<pf::Point> labelled_points;  // the point (a bar's end) of each of those labels
};

// Draws the chart of a chart object into its rectangle in the current port.
void draw_chart_object(MemoryRef object, const pf::Rect& rect);
// A small picture of a chart kind, in its automatic colours, for palettes.
void draw_chart_icon(pf::FourCC kind, const pf::Rect& rect);
// Draws a chart of the kind from a chart block and its data into the rectangle.
void draw_chart(pf::FourCC kind, MemoryRef chart, const ChartData& data, const pf::Rect& rect);
// Runs the work with the current port's clip narrowed to the rectangle
// (nothing is drawn for an empty one).
void clipped_to(const pf::Rect& rect, const std::function<void()>& work);
// Where the parts of that chart lie, measured in the current port without drawing.
ChartParts chart_parts(pf::FourCC kind, MemoryRef chart, const ChartData& data, const pf::Rect& rect);
