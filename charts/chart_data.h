// The numbers and names a chart shows, read from its data range: one series
// per column (or per row, when the series run along rows), with their names
// from the series-name row and the category names from the series-name
// column, found automatically where the chart leaves them to be found. The
// names are UTF-8, as their cells show them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/memory_manager.h"
#include "model/cell_range.h"

struct ChartSeries {
    std::string name;
    std::vector<double> values;  // NaN where a cell holds no number
};

struct ChartData {
    std::vector<std::string> categories;
    std::vector<ChartSeries> series;
    int16_t layer_font = 1;  // the font of labels that take the layer's
};

// The layer a chart's data come from: its source layer of the object's
// workbook, or the object's own layer.
MemoryRef chart_source_layer(MemoryRef chart, MemoryRef own_layer);
// The data of the chart block, read from the layer.
ChartData chart_data(MemoryRef chart, MemoryRef layer);
// The lowest and highest number of the data (of the stacked sums when asked);
// false when there is none.
bool data_limits(const ChartData& data, bool stacked, double* low, double* high);
