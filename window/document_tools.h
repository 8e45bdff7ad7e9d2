// The tools a document window's next click uses (the `tool` of its record):
// the drawing tools, then the chart kinds of the chart palette.
#pragma once

#include <cstdint>

// The chart kinds of the chart palette, numbered as drawing tools 13 to 27.
constexpr int16_t kFirstChartTool = 13, kLastChartTool = 27;
