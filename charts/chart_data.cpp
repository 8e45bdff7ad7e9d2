// Reading a chart's series from the cells of its source layer.
#include "charts/chart_data.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "charts/chart_record.h"
#include "formula/cell_values.h"
#include "model/cell_store.h"
#include "model/display_text.h"
#include "model/layer.h"
#include "model/workbook.h"

namespace {

// A chart over whole rows or columns reads no more than this.
constexpr int kMostSeries = 64, kMostPoints = 32000;
constexpr double kNoNumber = std::numeric_limits<double>::quiet_NaN();

// The range seen with its series as columns: `point` runs along a series,
// `line` across the series.
struct Orientation {
    bool columns;
    CellPoint cell(int point, int line) const {
        return columns ? CellPoint{int16_t(point), int16_t(line)} : CellPoint{int16_t(line), int16_t(point)};
    }
};

// Whether a cell holds a text (typed, or a formula's result).
bool holds_text(MemoryRef layer, CellPoint where) {
    uint8_t* cell = nullptr;
    int16_t length = 0;
    StoredValue value;
    return get_cell_ptr(&cell, &length, where, layer) && stored_value(cell, &value) && value.type == kValueText;
}

double cell_number(MemoryRef layer, CellPoint where) {
    double number = kNoNumber;
    return CellValue(layer, where, &number) ? number : kNoNumber;
}

// Whether any cell of a line (first..last along it) holds text.
bool line_has_text(MemoryRef layer, const Orientation& o, bool along_points, int line, int first, int last) {
    for (int i = first; i <= last; ++i)
        if (holds_text(layer, along_points ? o.cell(line, i) : o.cell(i, line))) return true;
    return false;
}

}  // namespace

MemoryRef chart_source_layer(MemoryRef chart, MemoryRef own_layer) {
    const int16_t index = chart_word(chart, kChartSourceLayer);
    if (index < 0 || !own_layer) return own_layer;
    MemoryRef workbook = GetWorkSheet(own_layer);
    return workbook ? find_SpreadSheet_item(workbook, index) : nullptr;
}

ChartData chart_data(MemoryRef chart, MemoryRef layer) {
    ChartData data;
    if (!chart || !layer) return data;
    data.layer_font = Get_Default_Font(layer);
    const CellRange range = chart_range(chart);
    const Orientation o{(chart_flags(chart) & kChartSeriesInColumns) != 0};
    // Points run along rows for series in columns.
    int first_point = o.columns ? range.topLeft.v : range.topLeft.h, last_point = o.columns ? range.botRight.v : range.botRight.h;
    int first_line = o.columns ? range.topLeft.h : range.topLeft.v, last_line = o.columns ? range.botRight.h : range.botRight.v;
    if (first_point < 0 || first_line < 0 || last_point < first_point || last_line < first_line) return data;
    last_point = std::min(last_point, first_point + kMostPoints - 1);
    last_line = std::min(last_line, first_line + kMostSeries);
    int names_at = chart_word(chart, o.columns ? kChartNameRow : kChartNameColumn);
    int categories_at = chart_word(chart, o.columns ? kChartNameColumn : kChartNameRow);
    CalcRowPtr(layer);
    if (names_at < 0 && last_point > first_point && line_has_text(layer, o, true, first_point, first_line, last_line))
        names_at = first_point;
    if (categories_at < 0 && last_line > first_line &&
        line_has_text(layer, o, false, first_line, names_at == first_point ? first_point + 1 : first_point, last_point))
        categories_at = first_line;
    for (int line = first_line; line <= last_line; ++line) {
        if (line == categories_at) continue;
        ChartSeries series;
        if (names_at >= 0) series.name = displayed_cell_text(layer, o.cell(names_at, line));
        for (int point = first_point; point <= last_point; ++point)
            if (point != names_at) series.values.push_back(cell_number(layer, o.cell(point, line)));
        data.series.push_back(std::move(series));
    }
    for (int point = first_point; point <= last_point; ++point)
        if (point != names_at)
            data.categories.push_back(categories_at >= 0 ? displayed_cell_text(layer, o.cell(point, categories_at))
                                                         : std::to_string(point - first_point + 1));
    ReleaseCache(layer);
    return data;
}

bool data_limits(const ChartData& data, bool stacked, double* low, double* high) {
    bool found = false;
    auto take = [&](double value) {
        if (!std::isfinite(value)) return;
        *low = found ? std::fmin(*low, value) : value;
        *high = found ? std::fmax(*high, value) : value;
        found = true;
    };
    if (!stacked) {
        for (const ChartSeries& series : data.series)
            for (double value : series.values) take(value);
        return found;
    }
    for (size_t point = 0; point < data.categories.size(); ++point) {
        double up = 0, down = 0;
        for (const ChartSeries& series : data.series) {
            const double value = point < series.values.size() ? series.values[point] : kNoNumber;
            if (std::isfinite(value)) (value >= 0 ? up : down) += value;
        }
        take(up), take(down);
    }
    return found;
}
