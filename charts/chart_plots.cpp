// The plots: slices of round charts, bars, lines, areas, points and
// high-low marks, each series in its colour and pattern.
#include "charts/chart_plots.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>
#include <utility>

#include "charts/chart_record.h"
#include "platform/controls/control_look.h"
#include "platform/draw/draw.h"
#include "platform/draw/text.h"
#include "platform/draw/unicode_text.h"
#include "window/sheet_paint.h"

namespace {

constexpr double kGroupShare = 0.7;    // of a category slot taken by its bars
constexpr double kRingShare = 0.6;     // of a doughnut's radius taken by its rings
constexpr double kTiltedHeight = 0.55; // of a 3-D pie's width
constexpr int16_t kSpokeLabelRoom = 14;
constexpr double kSliceLabelShare = 0.65;  // how far out of a pie's middle its labels stand  // around a radar for its spoke labels
constexpr int16_t kLabelledRadar = 60;   // smaller radars (icons) go without them
constexpr int16_t kMarker = 5, kMostMarkedPoints = 60, kLinePen = 2;
constexpr int16_t kMarkedPlotWidth = 60;  // narrower plots (icons) draw lines without markers

struct ChartKindLook {
    pf::FourCC kind;
    ChartLook look;
};

const ChartKindLook kLooks[] = {
    {pf::four_cc("pie "), {ChartShape::kPie, false, false, false, true, true}},
    {pf::four_cc("lcht"), {ChartShape::kLine, false, false, false, true, false}},
    {pf::four_cc("bcht"), {ChartShape::kColumn, false, false, false, true, false}},
    {pf::four_cc("hcht"), {ChartShape::kColumn, true, false, false, true, false}},
    {pf::four_cc("sbch"), {ChartShape::kColumn, false, true, false, true, false}},
    {pf::four_cc("skch"), {ChartShape::kStock, false, false, false, false, false}},
    {pf::four_cc("arch"), {ChartShape::kArea, false, true, false, true, false}},
    {pf::four_cc("scch"), {ChartShape::kScatter, false, false, false, false, false}},
    {pf::four_cc("cmch"), {ChartShape::kCombination, false, false, false, true, false}},
    {pf::four_cc("c3ch"), {ChartShape::kColumn, false, false, true, true, false}},
    {pf::four_cc("p3ch"), {ChartShape::kPie, false, false, true, true, true}},
    {pf::four_cc("dnut"), {ChartShape::kDoughnut, false, false, false, true, true}},
    {pf::four_cc("rdar"), {ChartShape::kRadar, false, false, false, true, true}},
    {pf::four_cc("b3ch"), {ChartShape::kColumn, true, false, true, true, false}},
    {pf::four_cc("rbch"), {ChartShape::kColumn, true, true, false, true, false}},
};

pf::RGBColor darker(pf::RGBColor colour, double share) {
    return pf::RGBColor{uint16_t(colour.red * share), uint16_t(colour.green * share), uint16_t(colour.blue * share)};
}

// The colour and pattern of a series (or of a slice of a round chart).
struct SeriesPaint {
    pf::RGBColor colour;
    pf::Pattern pattern;
};

SeriesPaint series_paint(MemoryRef chart, int16_t series) {
    ChartUserData entry;
    GetChartPattern(chart, series, &entry);
    const int16_t index = entry.colour ? int16_t(entry.colour - 1) : auto_series_colour(series);
    return SeriesPaint{table_colour(index), entry.pattern ? list_pattern(entry.pattern) : pf::kBlackPattern};
}

void use_paint(const SeriesPaint& paint, double shade = 1) {
    pf::rgb_fore_color(darker(paint.colour, shade));
    pf::rgb_back_color(pf::kWhiteColor);
}

bool is_number(double value) { return std::isfinite(value); }

double value_at(const ChartSeries& series, size_t point) {
    return point < series.values.size() ? series.values[point] : std::nan("");
}

pf::Rect inset(const pf::Rect& r, int16_t by) { return pf::inset_rect(r, by, by); }
pf::Rect lowered(const pf::Rect& r, int16_t by) { return pf::offset_rect(r, 0, by); }

pf::Rect ordered_rect(int top, int left, int bottom, int right) {
    return pf::Rect{int16_t(std::min(top, bottom)), int16_t(std::min(left, right)), int16_t(std::max(top, bottom)),
                    int16_t(std::max(left, right))};
}

// ---- Round charts -----------------------------------------------------------

// The slices' angles (degrees from twelve o'clock), one more than the slices,
// for the positive numbers of a series; zero slices for anything else.
std::vector<int16_t> slice_angles(const ChartSeries& series) {
    double total = 0;
    for (double value : series.values)
        if (is_number(value) && value > 0) total += value;
    std::vector<int16_t> angles{0};
    double sum = 0;
    for (double value : series.values) {
        if (is_number(value) && value > 0 && total > 0) sum += value;
        angles.push_back(total > 0 ? int16_t(std::lround(360 * (sum / total))) : 0);
    }
    return angles;
}

void paint_slices(MemoryRef chart, const ChartSeries& series, const pf::Rect& oval, double shade) {
    const std::vector<int16_t> angles = slice_angles(series);
    for (size_t i = 0; i + 1 < angles.size(); ++i) {
        if (angles[i + 1] == angles[i]) continue;
        const SeriesPaint paint = series_paint(chart, int16_t(i));
        use_paint(paint, shade);
        pf::fill_arc(oval, angles[i], int16_t(angles[i + 1] - angles[i]), paint.pattern);
    }
}

// The radii between slices, in black.
void frame_slices(const ChartSeries& series, const pf::Rect& oval) {
    const std::vector<int16_t> angles = slice_angles(series);
    const double ch = (oval.left + oval.right - 1) / 2.0, cv = (oval.top + oval.bottom - 1) / 2.0;
    const double rh = (oval.right - oval.left) / 2.0, rv = (oval.bottom - oval.top) / 2.0;
    pf::rgb_fore_color(pf::kBlackColor);
    pf::frame_oval(oval);
    for (size_t i = 0; i + 1 < angles.size(); ++i) {
        if (angles[i + 1] == angles[i] || angles[i + 1] - angles[0] == 360) continue;
        const double radians = angles[i + 1] * std::numbers::pi / 180;
        pf::move_to(int16_t(std::lround(ch)), int16_t(std::lround(cv)));
        pf::line_to(int16_t(std::lround(ch + rh * std::sin(radians))), int16_t(std::lround(cv - rv * std::cos(radians))));
    }
}

// Each slice's value centred in it, a share of the way out from the middle.
void label_slices(const ChartSeries& series, const pf::Rect& oval, double share, PointLabels& labels) {
    const std::vector<int16_t> angles = slice_angles(series);
    const double ch = (oval.left + oval.right - 1) / 2.0, cv = (oval.top + oval.bottom - 1) / 2.0;
    const double rh = (oval.right - oval.left) / 2.0 * share, rv = (oval.bottom - oval.top) / 2.0 * share;
    for (size_t i = 0; i + 1 < angles.size(); ++i) {
        if (angles[i + 1] == angles[i]) continue;
        const double radians = (angles[i] + angles[i + 1]) / 2.0 * std::numbers::pi / 180;
        const pf::Point at{int16_t(std::lround(cv - rv * std::cos(radians))),
                           int16_t(std::lround(ch + rh * std::sin(radians)))};
        labels.push_back({at, series.values[i], true});
    }
}

void plot_pie(const ChartLook& look, MemoryRef chart, const ChartData& data, const pf::Rect& square,
              PointLabels& labels) {
    if (data.series.empty()) return;
    const ChartSeries& series = data.series.front();
    if (!look.depth) {
        paint_slices(chart, series, square, 1);
        frame_slices(series, square);
        label_slices(series, square, kSliceLabelShare, labels);
        return;
    }
    const int16_t height = int16_t((square.bottom - square.top) * kTiltedHeight);
    const int16_t depth = int16_t(std::max(2, (square.bottom - square.top) / 10));
    const int16_t top = int16_t((square.top + square.bottom - height - depth) / 2);
    pf::Rect oval{top, square.left, int16_t(top + height), square.right};
    for (int16_t d = depth; d > 0; --d) {
        paint_slices(chart, series, lowered(oval, d), 0.65);
    }
    pf::rgb_fore_color(pf::kBlackColor);
    pf::frame_arc(lowered(oval, depth), 90, 180);
    pf::move_to(oval.left, int16_t((oval.top + oval.bottom) / 2));
    pf::line(0, depth);
    pf::move_to(int16_t(oval.right - 1), int16_t((oval.top + oval.bottom) / 2));
    pf::line(0, depth);
    paint_slices(chart, series, oval, 1);
    frame_slices(series, oval);
    label_slices(series, oval, kSliceLabelShare, labels);
}

void plot_doughnut(MemoryRef chart, const ChartData& data, const pf::Rect& square, PointLabels& labels) {
    if (data.series.empty()) return;
    const int rings = int(data.series.size());
    const int16_t ring = int16_t(std::max(2.0, (square.right - square.left) / 2.0 * kRingShare / rings));
    for (int k = 0; k < rings; ++k) {
        const pf::Rect oval = inset(square, int16_t(k * ring));
        paint_slices(chart, data.series[size_t(k)], oval, 1);
        frame_slices(data.series[size_t(k)], oval);
    }
    for (int k = 0; k < rings; ++k) {  // each ring's labels halfway across it
        const double outer = (square.right - square.left) / 2.0 - k * ring;
        label_slices(data.series[size_t(k)], inset(square, int16_t(k * ring)), (outer - ring / 2.0) / outer, labels);
    }
    const pf::Rect hole = inset(square, int16_t(rings * ring));
    pf::erase_oval(hole);
    pf::rgb_fore_color(pf::kBlackColor);
    pf::frame_oval(hole);
}

pf::Point radar_point(const pf::Rect& square, int spoke, int spokes, double fraction) {
    const double angle = 2 * std::numbers::pi * spoke / std::max(1, spokes);
    const double ch = (square.left + square.right - 1) / 2.0, cv = (square.top + square.bottom - 1) / 2.0;
    const double radius = (square.right - square.left) / 2.0 * std::clamp(fraction, 0.0, 1.0);
    return pf::Point{int16_t(std::lround(cv - radius * std::cos(angle))), int16_t(std::lround(ch + radius * std::sin(angle)))};
}

// Each category's name just outside the end of its spoke.
void label_spokes(const std::vector<std::string>& categories, const pf::Rect& square) {
    const int spokes = int(categories.size());
    pf::FontInfo info;
    pf::get_font_info(info);
    pf::rgb_fore_color(pf::kBlackColor);
    for (int i = 0; i < spokes; ++i) {
        const pf::Point end = radar_point(square, i, spokes, 1);
        const std::string& name = categories[size_t(i)];
        const int16_t width = pf::unicode_text_width(name);
        const double across = end.h - (square.left + square.right) / 2.0, down = end.v - (square.top + square.bottom) / 2.0;
        const auto h = int16_t(std::abs(across) < 2 ? end.h - width / 2 : across > 0 ? end.h + 3 : end.h - 3 - width);
        const auto v = int16_t(std::abs(down) < 2 ? end.v + info.ascent / 2 : down > 0 ? end.v + info.ascent + 2 : end.v - 3);
        pf::move_to(h, v);
        pf::draw_unicode_text(name);
    }
}

void plot_radar(MemoryRef chart, const ChartData& data, const pf::Rect& square) {
    const int spokes = int(data.categories.size());
    if (spokes == 0) return;
    double low = 0, high = 0;
    if (!data_limits(data, false, &low, &high)) low = high = 0;
    const AxisScale scale = auto_scale(low, high, true);
    pf::rgb_fore_color(pf::gray_color(0xB000));
    for (int i = 0; i < spokes; ++i) {
        const pf::Point centre = radar_point(square, i, spokes, 0), end = radar_point(square, i, spokes, 1);
        pf::move_to(centre.h, centre.v);
        pf::line_to(end.h, end.v);
    }
    for (int t = 1; t <= scale.intervals; ++t) {
        const double fraction = scale_fraction(scale, tick_value(scale, t));
        for (int i = 0; i <= spokes; ++i) {
            const pf::Point at = radar_point(square, i % spokes, spokes, fraction);
            i == 0 ? pf::move_to(at.h, at.v) : pf::line_to(at.h, at.v);
        }
    }
    if (square.right - square.left >= kLabelledRadar - 2 * kSpokeLabelRoom) label_spokes(data.categories, square);
    pf::pen_size(kLinePen, kLinePen);
    for (size_t s = 0; s < data.series.size(); ++s) {
        use_paint(series_paint(chart, int16_t(s)));
        for (int i = 0; i <= spokes; ++i) {
            const double value = value_at(data.series[s], size_t(i % spokes));
            const pf::Point at = radar_point(square, i % spokes, spokes, scale_fraction(scale, is_number(value) ? value : 0));
            i == 0 ? pf::move_to(at.h, at.v) : pf::line_to(at.h, at.v);
        }
    }
    pf::pen_normal();
}

// ---- Axis charts ---------------------------------------------------------------

// A bar's extent across its slot: from `from` to `to` on the value axis.
void paint_bar(const ChartLook& look, const SeriesPaint& paint, int16_t across_from, int16_t across_to, int16_t from,
               int16_t to) {
    const pf::Rect bar = look.horizontal ? ordered_rect(across_from, from, across_to, to)
                                         : ordered_rect(from, across_from, to, across_to);
    if (look.depth) {
        const int across = look.horizontal ? bar.bottom - bar.top : bar.right - bar.left;
        const int16_t depth = int16_t(std::clamp(across / 3, 1, 8));
        use_paint(paint, 0.6);
        pf::paint_rect(pf::Rect{int16_t(bar.top - depth), int16_t(bar.left + depth), int16_t(bar.bottom - depth),
                                int16_t(bar.right + depth)});
    }
    use_paint(paint);
    pf::fill_rect(bar, paint.pattern);
    if (bar.right - bar.left > 3 && bar.bottom - bar.top > 3) {
        pf::rgb_fore_color(pf::kBlackColor);
        pf::frame_rect(bar);
    }
}

// A value brought within the axis limits: where a plot meets the axis the
// value lies beyond.
double within_limits(const AxisScale& scale, double value) {
    return std::fmax(scale.minimum, std::fmin(value, scale.maximum));
}

bool between_limits(const AxisScale& scale, double value) {
    return value >= scale.minimum && value <= scale.maximum;
}

// The plot coordinate of a bar's end along the value axis: a bar ends at the
// axis its value lies beyond.
int16_t value_at_axis(const ChartLook& look, const AxisScale& scale, const pf::Rect& plot, double value) {
    const double shown = within_limits(scale, value);
    return look.horizontal ? value_h(scale, plot, shown) : value_v(scale, plot, shown);
}

double baseline(const AxisScale& scale) { return std::clamp(0.0, scale.minimum, scale.maximum); }

void plot_columns(const ChartLook& look, MemoryRef chart, const ChartData& data, const AxisScale& scale,
                  const pf::Rect& plot, size_t first_series, size_t series_count, PointLabels& labels) {
    const int count = int(data.categories.size());
    if (count == 0 || series_count == 0) return;
    const double room = look.horizontal ? plot.bottom - plot.top : plot.right - plot.left;
    const double group = room / count * kGroupShare;
    const double width = look.stacked ? group : group / double(series_count);
    const int16_t base = value_at_axis(look, scale, plot, baseline(scale));
    for (int i = 0; i < count; ++i) {
        const double start = slot_middle(plot, count, i, look.horizontal) - group / 2;
        double up = 0, down = 0;
        for (size_t k = 0; k < series_count; ++k) {
            const size_t s = first_series + k;
            const double value = value_at(data.series[s], size_t(i));
            if (!is_number(value)) continue;
            const double offset = look.stacked ? 0 : width * double(k);
            const auto across_from = int16_t(std::lround(start + offset));
            const auto across_to = int16_t(std::max<long>(across_from + 1, std::lround(start + offset + width)));
            double& sum = value >= 0 ? up : down;
            const int16_t from = look.stacked ? value_at_axis(look, scale, plot, sum) : base;
            sum += value;
            const int16_t to = value_at_axis(look, scale, plot, look.stacked ? sum : value);
            paint_bar(look, series_paint(chart, int16_t(s)), across_from, across_to, from, to);
            const auto middle = int16_t((across_from + across_to) / 2);
            labels.push_back({look.horizontal ? pf::Point{middle, to} : pf::Point{to, middle}, value, false, from,
                              look.stacked});
        }
    }
}

pf::Point category_point(const AxisScale& scale, const pf::Rect& plot, int count, int i, double value) {
    return pf::Point{value_v(scale, plot, value), slot_middle(plot, count, i, false)};
}

// A corner of a line or an area: how far across the plot, and its value.
struct ValuePoint {
    double h, value;
};

ValuePoint category_value(const pf::Rect& plot, int count, int i, double value) {
    return ValuePoint{double(slot_middle(plot, count, i, false)), value};
}

pf::Point point_on_plot(const AxisScale& scale, const pf::Rect& plot, const ValuePoint& at) {
    return pf::Point{value_v(scale, plot, at.value), int16_t(std::lround(at.h))};
}

// On the side of a limit that is kept: at or above a minimum, at or below a
// maximum.
bool kept_by(double limit, bool minimum, const ValuePoint& at) {
    return minimum ? at.value >= limit : at.value <= limit;
}

// Where the line from a to b meets the value of a limit.
ValuePoint meeting(const ValuePoint& a, const ValuePoint& b, double limit) {
    return ValuePoint{std::lerp(a.h, b.h, (limit - a.value) / (b.value - a.value)), limit};
}

// The line from a to b cut at a limit; false when none of it is kept.
bool cut_line(ValuePoint& a, ValuePoint& b, double limit, bool minimum) {
    const bool keeps_a = kept_by(limit, minimum, a), keeps_b = kept_by(limit, minimum, b);
    if (keeps_a != keeps_b) (keeps_a ? b : a) = meeting(a, b, limit);
    return keeps_a || keeps_b;
}

// The part of the line from a to b between the axis limits, if any.
std::optional<std::pair<ValuePoint, ValuePoint>> line_within_limits(const AxisScale& scale, ValuePoint a, ValuePoint b) {
    if (!cut_line(a, b, scale.minimum, true) || !cut_line(a, b, scale.maximum, false)) return std::nullopt;
    return std::pair{a, b};
}

// The outline of an area cut at a limit, its edges ending where they meet it.
std::vector<ValuePoint> cut_outline(const std::vector<ValuePoint>& outline, double limit, bool minimum) {
    std::vector<ValuePoint> kept;
    for (size_t i = 0; i < outline.size(); ++i) {
        const ValuePoint& a = outline[i];
        const ValuePoint& b = outline[(i + 1) % outline.size()];
        if (kept_by(limit, minimum, a)) kept.push_back(a);
        if (kept_by(limit, minimum, a) != kept_by(limit, minimum, b)) kept.push_back(meeting(a, b, limit));
    }
    return kept;
}

// The part of a series' line between two points that lies between the axis
// limits, drawn with the pen's corner up and left of the points.
void draw_line_within_limits(const AxisScale& scale, const pf::Rect& plot, const ValuePoint& a, const ValuePoint& b) {
    const auto part = line_within_limits(scale, a, b);
    if (!part) return;
    const pf::Point from = point_on_plot(scale, plot, part->first), to = point_on_plot(scale, plot, part->second);
    pf::move_to(int16_t(from.h - 1), int16_t(from.v - 1));
    pf::line_to(int16_t(to.h - 1), int16_t(to.v - 1));
}

// A series as a line through its numbers (broken where a cell holds none,
// ending where it meets the axis a number lies beyond), with markers on the
// points between the axis limits while the points are few.
void plot_line(MemoryRef chart, const ChartSeries& series, int16_t number, const AxisScale& scale,
               const pf::Rect& plot, int count, PointLabels& labels) {
    use_paint(series_paint(chart, number));
    pf::pen_size(kLinePen, kLinePen);
    std::optional<ValuePoint> last;
    for (int i = 0; i < count; ++i) {
        const double value = value_at(series, size_t(i));
        if (!is_number(value)) {
            last.reset();
            continue;
        }
        labels.push_back({category_point(scale, plot, count, i, within_limits(scale, value)), value});
        const ValuePoint here = category_value(plot, count, i, value);
        if (last) draw_line_within_limits(scale, plot, *last, here);
        last = here;
    }
    pf::pen_normal();
    if (count > kMostMarkedPoints || plot.right - plot.left < kMarkedPlotWidth) return;
    use_paint(series_paint(chart, number));
    for (int i = 0; i < count; ++i) {
        const double value = value_at(series, size_t(i));
        if (!is_number(value) || !between_limits(scale, value)) continue;
        const pf::Point at = category_point(scale, plot, count, i, value);
        pf::paint_rect(pf::Rect{int16_t(at.v - kMarker / 2), int16_t(at.h - kMarker / 2),
                                int16_t(at.v + kMarker / 2 + 1), int16_t(at.h + kMarker / 2 + 1)});
    }
}

// A series' area between the stack below it and its own numbers on top,
// cut at the axis limits.
void paint_area(const SeriesPaint& paint, const AxisScale& scale, const pf::Rect& plot,
                const std::vector<double>& below, const std::vector<double>& above) {
    const int count = int(above.size());
    std::vector<ValuePoint> outline;
    for (int i = 0; i < count; ++i) outline.push_back(category_value(plot, count, i, above[size_t(i)]));
    for (int i = count - 1; i >= 0; --i) outline.push_back(category_value(plot, count, i, below[size_t(i)]));
    outline = cut_outline(cut_outline(outline, scale.minimum, true), scale.maximum, false);
    if (outline.empty()) return;
    pf::PolyHandle area = pf::open_poly();
    for (size_t k = 0; k < outline.size(); ++k) {
        const pf::Point at = point_on_plot(scale, plot, outline[k]);
        k == 0 ? pf::move_to(at.h, at.v) : pf::line_to(at.h, at.v);
    }
    pf::close_poly();
    use_paint(paint);
    pf::fill_poly(area, paint.pattern);
    pf::rgb_fore_color(pf::kBlackColor);
    pf::frame_poly(area);
    pf::kill_poly(area);
}

// Stacked areas, the first series at the bottom.
void plot_areas(MemoryRef chart, const ChartData& data, const AxisScale& scale, const pf::Rect& plot,
                PointLabels& labels) {
    const int count = int(data.categories.size());
    if (count == 0) return;
    std::vector<double> below(size_t(count), 0.0);
    for (size_t s = 0; s < data.series.size(); ++s) {
        std::vector<double> above = below;
        for (int i = 0; i < count; ++i) {
            const double value = value_at(data.series[s], size_t(i));
            if (!is_number(value)) continue;
            above[size_t(i)] += value;
            labels.push_back({category_point(scale, plot, count, i, within_limits(scale, above[size_t(i)])), value});
        }
        paint_area(series_paint(chart, int16_t(s)), scale, plot, below, above);
        below = above;
    }
}

void plot_scatter(MemoryRef chart, const ChartData& data, const AxisScale& scale, const AxisScale& xs,
                  const pf::Rect& plot, PointLabels& labels) {
    if (data.series.empty()) return;
    const ChartSeries& x = data.series.front();
    for (size_t s = 1; s < data.series.size(); ++s) {
        use_paint(series_paint(chart, int16_t(s - 1)));
        for (size_t i = 0; i < x.values.size(); ++i) {
            const double h = x.values[i], v = value_at(data.series[s], i);
            if (!is_number(h) || !is_number(v) || !between_limits(xs, h) || !between_limits(scale, v)) continue;
            const int16_t ph = value_h(xs, plot, h), pv = value_v(scale, plot, v);
            labels.push_back({pf::Point{pv, ph}, v});
            pf::paint_oval(pf::Rect{int16_t(pv - kMarker / 2), int16_t(ph - kMarker / 2), int16_t(pv + kMarker / 2 + 1),
                                    int16_t(ph + kMarker / 2 + 1)});
        }
    }
}

// High-low marks: a line from the lowest to the highest number of each
// category, the first series' number ticked left (open), the last right
// (close); the line ends at the axis limits, ticks beyond them are left out.
void plot_stock(const ChartData& data, const AxisScale& scale, const pf::Rect& plot) {
    const int count = int(data.categories.size());
    pf::rgb_fore_color(pf::kBlackColor);
    pf::pen_size(kLinePen, 1);
    for (int i = 0; i < count; ++i) {
        double low = INFINITY, high = -INFINITY;
        for (const ChartSeries& series : data.series) {
            const double value = value_at(series, size_t(i));
            if (is_number(value)) low = std::fmin(low, value), high = std::fmax(high, value);
        }
        if (!(low <= high)) continue;
        const int16_t h = slot_middle(plot, count, i, false);
        const int16_t tick = int16_t(std::clamp((plot.right - plot.left) / count / 5, 2, 8));
        if (const auto part = line_within_limits(scale, ValuePoint{double(h), high}, ValuePoint{double(h), low})) {
            pf::move_to(h, value_v(scale, plot, part->first.value));
            pf::line_to(h, value_v(scale, plot, part->second.value));
        }
        const double open = value_at(data.series.front(), size_t(i)), close = value_at(data.series.back(), size_t(i));
        if (data.series.size() > 2 && is_number(open) && between_limits(scale, open)) {
            pf::move_to(int16_t(h - tick), value_v(scale, plot, open));
            pf::line(tick, 0);
        }
        if (data.series.size() > 1 && is_number(close) && between_limits(scale, close)) {
            pf::move_to(h, value_v(scale, plot, close));
            pf::line(tick, 0);
        }
    }
    pf::pen_normal();
}

void plot_lines(MemoryRef chart, const ChartData& data, const AxisScale& scale, const pf::Rect& plot, size_t first,
                PointLabels& labels) {
    const int count = int(data.categories.size());
    for (size_t s = first; s < data.series.size(); ++s)
        plot_line(chart, data.series[s], int16_t(s), scale, plot, count, labels);
}

}  // namespace

ChartLook chart_look(pf::FourCC kind) {
    for (const ChartKindLook& entry : kLooks)
        if (entry.kind == kind) return entry.look;
    return ChartLook{};
}

void fill_series(MemoryRef chart, int16_t series, const pf::Rect& rect) {
    const SeriesPaint paint = series_paint(chart, series);
    use_paint(paint);
    pf::fill_rect(rect, paint.pattern);
}

int16_t value_v(const AxisScale& scale, const pf::Rect& plot, double value) {
    const double fraction = std::clamp(scale_fraction(scale, value), -0.05, 1.05);
    return int16_t(std::lround(plot.bottom - fraction * (plot.bottom - plot.top)));
}

int16_t value_h(const AxisScale& scale, const pf::Rect& plot, double value) {
    const double fraction = std::clamp(scale_fraction(scale, value), -0.05, 1.05);
    return int16_t(std::lround(plot.left + fraction * (plot.right - 1 - plot.left)));
}

int16_t slot_middle(const pf::Rect& plot, int count, int i, bool down) {
    const double room = down ? plot.bottom - plot.top : plot.right - plot.left;
    const double middle = room * (i + 0.5) / std::max(1, count);
    return int16_t(std::lround(down ? plot.top + middle : plot.left + middle));
}

PointLabels plot_round(const ChartLook& look, MemoryRef chart, const ChartData& data, const pf::Rect& square) {
    PointLabels labels;
    if (square.right - square.left < 4) return labels;
    if (look.shape == ChartShape::kDoughnut) plot_doughnut(chart, data, square, labels);
    else if (look.shape == ChartShape::kRadar)
        plot_radar(chart, data, square.right - square.left >= kLabelledRadar ? inset(square, kSpokeLabelRoom) : square);
    else plot_pie(look, chart, data, square, labels);
    return labels;
}

PointLabels plot_axes(const ChartLook& look, MemoryRef chart, const ChartData& data, const AxisScale& values,
                      const AxisScale& xs, const pf::Rect& plot) {
    PointLabels labels;
    switch (look.shape) {
    case ChartShape::kColumn: plot_columns(look, chart, data, values, plot, 0, data.series.size(), labels); break;
    case ChartShape::kLine: plot_lines(chart, data, values, plot, 0, labels); break;
    case ChartShape::kArea: plot_areas(chart, data, values, plot, labels); break;
    case ChartShape::kScatter: plot_scatter(chart, data, values, xs, plot, labels); break;
    case ChartShape::kStock: plot_stock(data, values, plot); break;
    case ChartShape::kCombination:
        plot_columns(look, chart, data, values, plot, 0, data.series.empty() ? 0 : 1, labels);
        plot_lines(chart, data, values, plot, 1, labels);
        break;
    default: break;
    }
    return labels;
}
