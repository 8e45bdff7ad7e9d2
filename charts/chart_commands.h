// Making charts and changing them: a chart of a kind at the click, the chart
// kind and chart options menus on the selected chart.
#pragma once

#include <cstdint>
#include <vector>

#include "core/memory_manager.h"
#include "platform/menus/menus.h"

constexpr int16_t kNewChartWidth = 280, kNewChartHeight = 180;

// A chart of the kind (tool 13 to 27) over the layer's selected cells, with
// its top left at the last click of the document window, selected; the
// window's tool is cleared. 0 when the tool is no chart kind or memory failed.
int16_t CreateChart(MemoryRef window_record, int16_t tool);
// The layer's first selected object when it is a chart, or none.
MemoryRef selected_chart_object(MemoryRef layer);
// The charts among the layer's selected objects, in selection order.
std::vector<MemoryRef> selected_charts(MemoryRef layer);
// The chart items of the Object menu: Chart Kind with cells selected or a
// chart among the selected objects, Chart Options with a chart selected; the
// selected chart's kind and options checked.
void set_chart_menus(pf::MenuRef object_menu, MemoryRef layer);
