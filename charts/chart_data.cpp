// Reading a chart's series from the cells of its source layer.
#include "charts/chart_data.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "charts/chart_record.h"
#include "formula/cell_values.h"
#include "model/cell_store.h"
#include "model/cell_letters.h"
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
    int point_of(CellPoint cell) const { return columns ? cell.v : cell.h; }
    int line_of(CellPoint cell) const { return columns ? cell.h : cell.v; }
};

// The part of the range the chart reads: points and lines from first to last.
struct ReadSpan {
    int first_point, last_point, first_line, last_line;
    int points() const { return last_point - first_point + 1; }
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

// Whether any stored cell of the point (or of the line) holds text.
bool any_text_at(MemoryRef layer, const Orientation& o, const std::vector<CellPoint>& stored, bool at_point, int at) {
    return std::any_of(stored.begin(), stored.end(), [&](CellPoint cell) {
        return (at_point ? o.point_of(cell) : o.line_of(cell)) == at && holds_text(layer, cell);
    });
}

// The range cut to the most a chart reads; false when it is empty.
bool read_span(const CellRange& range, const Orientation& o, ReadSpan* span) {
    *span = ReadSpan{o.point_of(range.topLeft), o.point_of(range.botRight), o.line_of(range.topLeft),
                     o.line_of(range.botRight)};
    if (span->first_point < 0 || span->first_line < 0 || span->last_point < span->first_point ||
        span->last_line < span->first_line)
        return false;
    span->last_point = std::min(span->last_point, span->first_point + kMostPoints - 1);
    span->last_line = std::min(span->last_line, span->first_line + kMostSeries);
    return true;
}

CellRange range_of(const ReadSpan& span, const Orientation& o) {
    return CellRange{o.cell(span.first_point, span.first_line), o.cell(span.last_point, span.last_line)};
}

// A span that runs to the grid's last row or column (whole rows or columns)
// ends there at the last point or line that holds a cell: such a range shows
// the data there are, not the empty grid. A bounded range keeps its empty
// points and series, room kept for data to come.
void end_open_span_at_stored_cells(const std::vector<CellPoint>& stored, const CellRange& range, const Orientation& o,
                                   ReadSpan* span) {
    int last_point = span->first_point, last_line = span->first_line;
    for (CellPoint cell : stored) {
        last_point = std::max(last_point, o.point_of(cell));
        last_line = std::max(last_line, o.line_of(cell));
    }
    if (o.point_of(range.botRight) == kLastCell) span->last_point = std::min(span->last_point, last_point);
    if (o.line_of(range.botRight) == kLastCell) span->last_line = std::min(span->last_line, last_line);
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
    const Orientation o{(chart_flags(chart) & kChartSeriesInColumns) != 0};
    const CellRange range = chart_range(chart);
    ReadSpan span;
    if (!read_span(range, o, &span)) return data;
    // Only the cells stored in the span are read: the others have no number and no name.
    const std::vector<CellPoint> stored = stored_cells_in_range(range_of(span, o), layer);
    end_open_span_at_stored_cells(stored, range, o, &span);
    int names_at = chart_word(chart, o.columns ? kChartNameRow : kChartNameColumn);
    int categories_at = chart_word(chart, o.columns ? kChartNameColumn : kChartNameRow);
    CalcRowPtr(layer);
    if (names_at < 0 && span.last_point > span.first_point && any_text_at(layer, o, stored, true, span.first_point))
        names_at = span.first_point;
    const int first_category_point = names_at == span.first_point ? span.first_point + 1 : span.first_point;
    if (categories_at < 0 && span.last_line > span.first_line &&
        std::any_of(stored.begin(), stored.end(), [&](CellPoint cell) {
            return o.line_of(cell) == span.first_line && o.point_of(cell) >= first_category_point &&
                   holds_text(layer, cell);
        }))
        categories_at = span.first_line;
    // Where a point's value goes: the names' point, when inside, takes none.
    const bool names_inside = names_at >= span.first_point && names_at <= span.last_point;
    auto slot = [&](int point) { return size_t(point - span.first_point - (names_inside && point > names_at)); };
    const size_t points = size_t(span.points() - names_inside);
    for (int line = span.first_line; line <= span.last_line; ++line) {
        if (line == categories_at) continue;
        ChartSeries series;
        if (names_at >= 0) series.name = cell_shown_unicode(layer, o.cell(names_at, line));
        series.values.assign(points, kNoNumber);
        data.series.push_back(std::move(series));
    }
    const bool categories_inside = categories_at >= span.first_line && categories_at <= span.last_line;
    for (CellPoint cell : stored) {
        const int point = o.point_of(cell), line = o.line_of(cell);
        if (point == names_at || line == categories_at) continue;
        const size_t series = size_t(line - span.first_line - (categories_inside && line > categories_at));
        data.series[series].values[slot(point)] = cell_number(layer, cell);
    }
    data.categories.resize(points);
    if (categories_at < 0) {
        for (int point = span.first_point; point <= span.last_point; ++point)
            if (point != names_at) data.categories[slot(point)] = std::to_string(point - span.first_point + 1);
    } else {
        const CellRange names{o.cell(span.first_point, categories_at), o.cell(span.last_point, categories_at)};
        for (CellPoint cell : stored_cells_in_range(names, layer))
            if (o.point_of(cell) != names_at) data.categories[slot(o.point_of(cell))] = cell_shown_unicode(layer, cell);
    }
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
