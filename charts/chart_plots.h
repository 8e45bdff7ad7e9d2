// The plots of the chart kinds inside their plot areas, and the geometry
// they share with the axes.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "charts/chart_data.h"
#include "charts/chart_scale.h"
#include "core/memory_manager.h"
#include "platform/types.h"

enum class ChartShape { kPie, kDoughnut, kRadar, kColumn, kLine, kArea, kScatter, kStock, kCombination };

// How a kind looks: its shape, bars lying along the value axis across the
// page, series stacked, a 3-D depth, a value axis taking in zero, round.
struct ChartLook {
    ChartShape shape = ChartShape::kColumn;
    bool horizontal = false, stacked = false, depth = false, with_zero = true, round = false;
};
ChartLook chart_look(pf::FourCC kind);

// Paints a rectangle in a series' colour and pattern.
void fill_series(MemoryRef chart, int16_t series, const pf::Rect& rect);
// Where a value lies on a vertical or a horizontal value axis of the plot.
int16_t value_v(const AxisScale& scale, const pf::Rect& plot, double value);
int16_t value_h(const AxisScale& scale, const pf::Rect& plot, double value);
// The middle of category slot i of count, across or down the plot.
int16_t slot_middle(const pf::Rect& plot, int count, int i, bool down);

// Where a plotted point (a bar's end, a slice's middle) lies, with its value;
// a label at a slice is centred on its point. A bar's label may stand inside
// it, between its end and its base (where it starts along the value axis);
// a bar stacked on others takes its label in its middle where it fits.
struct PointLabel {
    pf::Point at;
    double value;
    bool centred = false;
    std::optional<int16_t> base;
    bool stacked = false;
};
using PointLabels = std::vector<PointLabel>;

// Plots a round chart and answers where its slices' labels lie.
PointLabels plot_round(const ChartLook& look, MemoryRef chart, const ChartData& data, const pf::Rect& square);
// Plots an axis chart and answers where its points lie.
PointLabels plot_axes(const ChartLook& look, MemoryRef chart, const ChartData& data, const AxisScale& values,
                      const AxisScale& xs, const pf::Rect& plot);
