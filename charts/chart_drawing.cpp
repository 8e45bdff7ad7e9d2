// A chart's frame, title, legend and axes; the plots of the kinds are in
// chart_plots.cpp.
#include "charts/chart_drawing.h"

#include <algorithm>
#include <cmath>
#include <functional>

#include "charts/chart_plots.h"
#include "charts/chart_record.h"
#include "charts/chart_values.h"
#include "objects/object_records.h"
#include "platform/controls/control_look.h"
#include "platform/draw/draw.h"
#include "platform/draw/text.h"
#include "platform/draw/unicode_text.h"
#include "model/record_bytes.h"
#include "platform/fonts/classic_fonts.h"
#include "platform/resources/resources.h"
#include "platform/text/mac_roman.h"
#include "resource_ids.h"

namespace {

constexpr int16_t kInset = 6, kGap = 4, kTickLength = 3, kSwatch = 9;
constexpr int16_t kNearLabel = 2;  // a column's label stands this far above it
constexpr int16_t kSeriesWord = 1;

// The font, size and face of one of the chart's label formats: the layer's
// font for 65535, 9 points for no size.
void label_font(MemoryRef chart, int32_t format_offset, const ChartData& data) {
    const ChartLabelFormat format = chart_label_format(chart, format_offset);
    const uint16_t font = load_u16(format.bytes + kLabelFont);
    pf::text_font(int16_t(font == kLayerLabelFont ? data.layer_font : font));
    pf::text_size(format.bytes[kLabelSize] ? format.bytes[kLabelSize] : kChartLabelSize);
    pf::text_face(format.bytes[kLabelFace]);
}

int16_t line_height() {
    pf::FontInfo info;
    pf::get_font_info(info);
    return int16_t(info.ascent + info.descent);
}

int16_t ascent() {
    pf::FontInfo info;
    pf::get_font_info(info);
    return info.ascent;
}

// Text with its top at v, centred on h: in the port font's bytes, or a name
// from the cells (UTF-8) with `unicode`.
void centred_text(const std::string& text, int16_t h, int16_t v, bool unicode = false) {
    const int16_t width = unicode ? pf::unicode_text_width(text) : pf::text_width(text);
    pf::move_to(int16_t(h - width / 2), int16_t(v + ascent()));
    unicode ? pf::draw_unicode_text(text) : pf::draw_text(text);
}

// The title across the top, and where it lies; the area left below it.
pf::Rect draw_title(MemoryRef chart, const ChartData& data, pf::Rect* area) {
    const std::string title = chart_text(chart, kChartTitle);
    if (title.empty()) return pf::Rect{};
    label_font(chart, kChartTitleFormats, data);
    pf::rgb_fore_color(pf::kBlackColor);
    const int16_t middle = int16_t((area->left + area->right) / 2), width = pf::text_width(title);
    centred_text(title, middle, area->top);
    const pf::Rect place{area->top, int16_t(middle - width / 2), int16_t(area->top + line_height()),
                         int16_t(middle - width / 2 + width)};
    area->top = int16_t(area->top + line_height() + kGap);
    return place;
}

// The legend's entries (UTF-8): the series, or the categories of a round chart.
std::vector<std::string> legend_entries(const ChartData& data, const ChartLook& look) {
    if (look.round && look.shape != ChartShape::kRadar) return data.categories;
    const std::string series = pf::mac_roman_to_utf8(pf::get_indexed_string(kChartWords, kSeriesWord));
    std::vector<std::string> names;
    for (size_t i = look.shape == ChartShape::kScatter ? 1 : 0; i < data.series.size(); ++i)
        names.push_back(data.series[i].name.empty() ? series + " " + std::to_string(i + 1) : data.series[i].name);
    return names;
}

// The legend at the right, centred down the area, and its box; the area
// left beside it.
pf::Rect draw_legend(MemoryRef chart, const ChartData& data, const ChartLook& look, pf::Rect* area) {
    if (!(chart_flags(chart) & kChartLegend)) return pf::Rect{};
    const std::vector<std::string> entries = legend_entries(data, look);
    if (entries.empty()) return pf::Rect{};
    label_font(chart, kChartLegendFormat, data);
    const int16_t row = std::max<int16_t>(line_height(), kSwatch + 2);
    int16_t widest = 0;
    for (const std::string& entry : entries) widest = std::max(widest, pf::unicode_text_width(entry));
    const int16_t width = int16_t(kSwatch + kGap + widest + 2 * kGap);
    const auto shown = int16_t(std::min<int>(int(entries.size()), std::max(1, (area->bottom - area->top - 2 * kGap) / row)));
    const int16_t height = int16_t(shown * row + 2 * kGap);
    pf::Rect box{int16_t((area->top + area->bottom - height) / 2), int16_t(area->right - width),
                 int16_t((area->top + area->bottom + height) / 2), area->right};
    pf::rgb_fore_color(pf::kBlackColor);
    pf::frame_rect(box);
    for (int16_t i = 0; i < shown; ++i) {
        const int16_t top = int16_t(box.top + kGap + i * row);
        const pf::Rect swatch{int16_t(top + 1), int16_t(box.left + kGap), int16_t(top + 1 + kSwatch),
                              int16_t(box.left + kGap + kSwatch)};
        fill_series(chart, i, swatch);
        pf::rgb_fore_color(pf::kBlackColor);
        pf::frame_rect(swatch);
        pf::move_to(int16_t(swatch.right + kGap), int16_t(top + ascent()));
        pf::draw_unicode_text(entries[size_t(i)]);
    }
    area->right = int16_t(box.left - kGap);
    return box;
}

// The value axis title turned up at the left, the category title along the
// bottom (the other way round for bars across); the area left inside them.
void draw_axis_titles(MemoryRef chart, const ChartData& data, bool horizontal, pf::Rect* area) {
    pf::rgb_fore_color(pf::kBlackColor);
    std::string across = chart_text(chart, kChartCategoryTitle), up = chart_text(chart, kChartValueTitle);
    int32_t across_format = kChartCategoryTitleFormat, up_format = kChartValueTitleFormat;
    if (horizontal) std::swap(across, up), std::swap(across_format, up_format);
    if (!across.empty()) {
        label_font(chart, across_format, data);
        area->bottom = int16_t(area->bottom - line_height());
        centred_text(across, int16_t((area->left + area->right) / 2), area->bottom);
        area->bottom = int16_t(area->bottom - kGap);
    }
    if (!up.empty()) {
        label_font(chart, up_format, data);
        const int16_t width = pf::text_width(up);
        pf::move_to(int16_t(area->left + ascent()), int16_t((area->top + area->bottom + width) / 2));
        pf::draw_text_turned(up, pf::Turn::kUp);
        area->left = int16_t(area->left + line_height() + kGap);
    }
}

int16_t widest_tick_label(const AxisScale& scale) {
    int16_t widest = 0;
    for (int i = 0; i <= scale.intervals; ++i) widest = std::max(widest, pf::text_width(tick_label(tick_value(scale, i))));
    return widest;
}

// Every how many labels one is shown, for `count` labels each needing
// `needed` pixels of a room.
int label_stride(int needed, int count, int room) { return std::max(1, (needed * count + room - 1) / std::max(1, room)); }

// Ticks, labels and grid lines of a value axis along one side of the plot;
// labels thinned out so they do not overlap.
void draw_value_ticks(const AxisScale& scale, const pf::Rect& plot, bool along_bottom, bool grid) {
    const int every = along_bottom ? label_stride(widest_tick_label(scale) + kGap, scale.intervals + 1, plot.right - plot.left)
                                   : label_stride(line_height(), scale.intervals + 1, plot.bottom - plot.top);
    for (int i = 0; i <= scale.intervals; ++i) {
        const double value = tick_value(scale, i);
        const std::string label = i % every == 0 ? tick_label(value) : std::string();
        if (along_bottom) {
            const int16_t h = value_h(scale, plot, value);
            pf::rgb_fore_color(grid ? pf::gray_color(0xD000) : pf::kBlackColor);
            if (grid) pf::move_to(h, plot.top), pf::line_to(h, plot.bottom);
            pf::rgb_fore_color(pf::kBlackColor);
            pf::move_to(h, plot.bottom), pf::line_to(h, int16_t(plot.bottom + kTickLength));
            centred_text(label, h, int16_t(plot.bottom + kTickLength + 1));
        } else {
            const int16_t v = value_v(scale, plot, value);
            pf::rgb_fore_color(grid ? pf::gray_color(0xD000) : pf::kBlackColor);
            if (grid) pf::move_to(plot.left, v), pf::line_to(int16_t(plot.right - 1), v);
            pf::rgb_fore_color(pf::kBlackColor);
            pf::move_to(int16_t(plot.left - kTickLength), v), pf::line_to(plot.left, v);
            pf::move_to(int16_t(plot.left - kTickLength - 2 - pf::text_width(label)), int16_t(v + ascent() / 2));
            pf::draw_text(label);
        }
    }
}

// Category labels centred in their slots, thinned out so they do not overlap.
void draw_category_labels(const std::vector<std::string>& categories, const pf::Rect& plot, bool down_left) {
    const int count = int(categories.size());
    if (count == 0) return;
    int16_t widest = 0;
    for (const std::string& name : categories) widest = std::max(widest, pf::unicode_text_width(name));
    const int every = down_left ? label_stride(line_height(), count, plot.bottom - plot.top)
                                : label_stride(widest + kGap, count, plot.right - plot.left);
    pf::rgb_fore_color(pf::kBlackColor);
    for (int i = 0; i < count; i += every) {
        const int16_t middle = slot_middle(plot, count, i, down_left);
        if (down_left) {
            const std::string& name = categories[size_t(i)];
            pf::move_to(int16_t(plot.left - kTickLength - 2 - pf::unicode_text_width(name)),
                        int16_t(middle + ascent() / 2));
            pf::draw_unicode_text(name);
        } else {
            centred_text(categories[size_t(i)], middle, int16_t(plot.bottom + kTickLength + 1), true);
        }
    }
}

// The limits and unit a chart fixes for its value (y) or its x axis.
AxisLimits fixed_limits(MemoryRef chart, bool x_axis) {
    if (!chart) return AxisLimits{NAN, NAN, NAN};
    if (x_axis)
        return AxisLimits{chart_text_number(chart, kChartXMinimum, kChartTitleSize),
                          chart_text_number(chart, kChartXMaximum, kChartTitleSize),
                          chart_text_number(chart, kChartXMajor, kChartUnitSize)};
    return AxisLimits{chart_text_number(chart, kChartYMinimum, kChartTitleSize),
                      chart_text_number(chart, kChartYMaximum, kChartTitleSize),
                      chart_text_number(chart, kChartYMajor, kChartUnitSize)};
}

// The value scale of a kind over the data, with the limits the chart fixes.
AxisScale value_scale(const ChartLook& look, MemoryRef chart, const ChartData& data) {
    double low = 0, high = 0;
    if (look.shape == ChartShape::kScatter) {
        ChartData ys = data;
        if (!ys.series.empty()) ys.series.erase(ys.series.begin());
        if (!data_limits(ys, false, &low, &high)) low = high = 0;
    } else if (!data_limits(data, look.stacked, &low, &high)) {
        low = high = 0;
    }
    return fixed_scale(low, high, look.with_zero, fixed_limits(chart, false));
}

// The x scale of a scatter chart: its first series.
AxisScale x_scale(MemoryRef chart, const ChartData& data) {
    ChartData xs;
    if (!data.series.empty()) xs.series.push_back(data.series.front());
    xs.categories = data.categories;
    double low = 0, high = 0;
    if (!data_limits(xs, false, &low, &high)) low = high = 0;
    return fixed_scale(low, high, false, fixed_limits(chart, true));
}

// Axes, ticks and labels around the plot area of an axis chart; the plot area.
pf::Rect draw_axes(const ChartLook& look, MemoryRef chart, const ChartData& data, const AxisScale& values,
                   const AxisScale& xs, pf::Rect area) {
    draw_axis_titles(chart, data, look.horizontal, &area);
    label_font(chart, kChartTickLabelFormat, data);
    const bool grid = chart_flags(chart) & kChartGridLines;
    const int16_t label_height = int16_t(line_height() + kTickLength + 2);
    int16_t left_room = widest_tick_label(values);
    if (look.horizontal) {
        left_room = 0;
        for (const std::string& name : data.categories) left_room = std::max(left_room, pf::unicode_text_width(name));
    }
    pf::Rect plot{int16_t(area.top + ascent() / 2), int16_t(area.left + left_room + kTickLength + 3),
                  int16_t(area.bottom - label_height), int16_t(area.right - kGap)};
    if (look.shape == ChartShape::kScatter || look.horizontal)
        plot.right = int16_t(plot.right - widest_tick_label(look.horizontal ? values : xs) / 2);
    if (plot.right - plot.left < 4 || plot.bottom - plot.top < 4) return plot;
    draw_value_ticks(values, plot, look.horizontal, grid);
    if (look.shape == ChartShape::kScatter) draw_value_ticks(xs, plot, true, grid);
    else draw_category_labels(data.categories, plot, look.horizontal);
    pf::rgb_fore_color(pf::kBlackColor);
    pf::move_to(plot.left, plot.top);
    pf::line_to(plot.left, plot.bottom);
    pf::line_to(int16_t(plot.right - 1), plot.bottom);
    return plot;
}

// A label's box of the size with its near edge `gap` pixels beyond the point
// along the value axis (beyond: further from the bar's base; a negative gap
// comes back inside the bar), centred across it.
pf::Rect box_beyond(const PointLabel& point, bool horizontal, int16_t width, int16_t height, int gap) {
    const bool negative = point.value < 0;
    if (horizontal) {
        const auto left = int16_t(negative ? point.at.h - gap - width : point.at.h + gap);
        const auto top = int16_t(point.at.v - height / 2);
        return pf::Rect{top, left, int16_t(top + height), int16_t(left + width)};
    }
    const auto top = int16_t(negative ? point.at.v + gap : point.at.v - gap - height);
    const auto left = int16_t(point.at.h - width / 2);
    return pf::Rect{top, left, int16_t(top + height), int16_t(left + width)};
}

// Whether the box lies along the value axis between the bar's end and base.
bool inside_bar(const PointLabel& point, bool horizontal, const pf::Rect& box) {
    if (!point.base) return false;
    const int16_t end = horizontal ? point.at.h : point.at.v;
    const int16_t low = std::min(end, *point.base), high = std::max(end, *point.base);
    return horizontal ? box.left > low && box.right < high : box.top > low && box.bottom < high;
}

// A label's box centred on a point.
pf::Rect box_centred(pf::Point middle, int16_t width, int16_t height) {
    const auto top = int16_t(middle.v - height / 2), left = int16_t(middle.h - width / 2);
    return pf::Rect{top, left, int16_t(top + height), int16_t(left + width)};
}

// A stacked bar's label centred in its bar, then moved across the bar a
// label's thickness either way, for a bar too short to hold the labels of
// its neighbours and its own side by side.
std::vector<pf::Rect> middles_of_stacked_bar(const PointLabel& point, bool horizontal, int16_t width, int16_t height) {
    if (!point.stacked || !point.base) return {};
    const auto middle = int16_t(((horizontal ? point.at.h : point.at.v) + *point.base) / 2);
    std::vector<pf::Rect> places;
    for (int shift : {0, -1, 1}) {
        const pf::Point centre = horizontal ? pf::Point{int16_t(point.at.v + shift * height), middle}
                                            : pf::Point{middle, int16_t(point.at.h + shift * width)};
        places.push_back(box_centred(centre, width, height));
    }
    return places;
}

// The places a label may take, best first: centred on a slice; in the middle
// of a stacked bar; else just beyond its point, inside its bar's end, then
// further out a label's length at a time.
std::vector<pf::Rect> label_places(const PointLabel& point, bool horizontal, int16_t width, int16_t height,
                                   const pf::Rect& bounds) {
    if (point.centred) return {box_centred(point.at, width, height)};
    std::vector<pf::Rect> places = middles_of_stacked_bar(point, horizontal, width, height);
    const int gap = horizontal ? kGap : kNearLabel, step = horizontal ? width + kGap : height;
    places.push_back(box_beyond(point, horizontal, width, height, gap));
    const pf::Rect inside = box_beyond(point, horizontal, width, height, -gap - step + (horizontal ? kGap : 0));
    if (inside_bar(point, horizontal, inside)) places.push_back(inside);
    const int reach = horizontal ? bounds.right - bounds.left : bounds.bottom - bounds.top;
    for (int out = gap + step; out < reach; out += step)
        places.push_back(box_beyond(point, horizontal, width, height, out));
    return places;
}

bool meets_any(const pf::Rect& box, const std::vector<pf::Rect>& taken) {
    pf::Rect common;
    return std::any_of(taken.begin(), taken.end(),
                       [&](const pf::Rect& other) { return pf::sect_rect(box, other, common); });
}

bool within(const pf::Rect& box, const pf::Rect& bounds) {
    return box.top >= bounds.top && box.left >= bounds.left && box.bottom <= bounds.bottom && box.right <= bounds.right;
}

// Each point's value where it can be read: above its point (below for a
// negative value; after a bar lying across), inside its bar's end when
// another label or the edge takes that place, else further out; centred in
// a slice and in a stacked bar that holds it. No label covers another, the
// title or the legend; one that finds no place inside the frame is left out.
// A label stands on white, so that no bar, line or grid line runs through it.
// Notes in the parts where the labels lie and whose they are.
void draw_data_labels(MemoryRef chart, const ChartData& data, bool horizontal, const PointLabels& points,
                      const pf::Rect& bounds, std::vector<pf::Rect> taken, ChartParts& parts) {
    label_font(chart, kChartTickLabelFormat, data);
    pf::rgb_fore_color(pf::kBlackColor);
    const int16_t height = line_height();
    for (const PointLabel& point : points) {
        const std::string text = tick_label(point.value);
        const int16_t width = pf::text_width(text);
        for (const pf::Rect& box : label_places(point, horizontal, width, height, bounds)) {
            if (!within(box, bounds) || meets_any(box, taken)) continue;
            pf::rgb_back_color(pf::kWhiteColor);
            pf::erase_rect(box);
            pf::move_to(box.left, int16_t(box.top + ascent()));
            pf::draw_text(text);
            parts.data_labels.push_back(box);
            parts.labelled_points.push_back(point.at);
            taken.push_back(box);
            break;
        }
    }
}

// The area less the room the labels of the longest bars take beyond their
// ends: a line above the plot, or the widest label after it for bars lying
// across, so that they stand beside their bars inside the frame.
pf::Rect room_for_bar_labels(MemoryRef chart, const ChartData& data, bool horizontal, pf::Rect area) {
    label_font(chart, kChartTickLabelFormat, data);
    if (!horizontal) {
        area.top = int16_t(std::min<int>(area.bottom, area.top + line_height() + kNearLabel));
        return area;
    }
    int16_t widest = 0;
    for (const ChartSeries& series : data.series)
        for (double value : series.values)
            if (std::isfinite(value)) widest = std::max(widest, pf::text_width(tick_label(value)));
    area.right = int16_t(std::max<int>(area.left, area.right - widest - kGap));
    return area;
}

// A square plot area centred in the area, for the round kinds.
pf::Rect round_area(const pf::Rect& area, int16_t margin = kGap) {
    const int16_t side = int16_t(std::max(0, std::min(area.right - area.left, area.bottom - area.top) - 2 * margin));
    const int16_t top = int16_t((area.top + area.bottom - side) / 2), left = int16_t((area.left + area.right - side) / 2);
    return pf::Rect{top, left, int16_t(top + side), int16_t(left + side)};
}

// Draws the chart and answers where its parts lie.
ChartParts draw_chart_parts(pf::FourCC kind, MemoryRef chart, const ChartData& data, const pf::Rect& rect) {
    ChartParts parts;
    parts.frame = rect;
    pf::pen_normal();
    pf::rgb_fore_color(pf::kBlackColor);
    pf::erase_rect(rect);
    pf::frame_rect(rect);
    if (!chart) return parts;
    const ChartLook look = chart_look(kind);
    pf::Rect area = pf::inset_rect(rect, kInset, kInset);
    parts.title = draw_title(chart, data, &area);
    parts.legend = draw_legend(chart, data, look, &area);
    PointLabels points;
    if (look.round) {
        parts.plot = round_area(area);
        points = plot_round(look, chart, data, parts.plot);
    } else {
        const AxisScale values = value_scale(look, chart, data), xs = x_scale(chart, data);
        if ((chart_flags(chart) & kChartDataLabels) && look.shape == ChartShape::kColumn)
            area = room_for_bar_labels(chart, data, look.horizontal, area);
        parts.plot = draw_axes(look, chart, data, values, xs, area);
        if (parts.plot.right - parts.plot.left >= 4 && parts.plot.bottom - parts.plot.top >= 4)
            clipped_to(pf::inset_rect(parts.plot, -kGap, -kGap),
                       [&] { points = plot_axes(look, chart, data, values, xs, parts.plot); });
    }
    if (chart_flags(chart) & kChartDataLabels)
        draw_data_labels(chart, data, look.horizontal, points, pf::inset_rect(rect, 1, 1), {parts.title, parts.legend},
                         parts);
    pf::pen_normal();
    pf::rgb_fore_color(pf::kBlackColor);
    return parts;
}

}  // namespace

void clipped_to(const pf::Rect& rect, const std::function<void()>& work) {
    pf::RgnHandle saved = pf::new_region(), clip = pf::new_region();
    pf::get_clip(saved);
    pf::rect_region(clip, rect);
    pf::sect_region(clip, saved, clip);
    pf::set_clip(clip);
    work();
    pf::set_clip(saved);
    pf::dispose_region(clip);
    pf::dispose_region(saved);
}

// What does not fit a small chart (its legend, title, axis labels) is cut at
// its frame.
void draw_chart(pf::FourCC kind, MemoryRef chart, const ChartData& data, const pf::Rect& rect) {
    clipped_to(rect, [&] { draw_chart_parts(kind, chart, data, rect); });
}

ChartParts chart_parts(pf::FourCC kind, MemoryRef chart, const ChartData& data, const pf::Rect& rect) {
    ChartParts parts;
    clipped_to(pf::Rect{}, [&] { parts = draw_chart_parts(kind, chart, data, rect); });
    return parts;
}

void draw_chart_icon(pf::FourCC kind, const pf::Rect& rect) {
    static const ChartData kIconData{{"a", "b", "c"}, {{"", {2, 5, 3}}, {"", {4, 3, 6}}}};
    const ChartLook look = chart_look(kind);
    pf::pen_normal();
    clipped_to(rect, [&] {
        if (look.round) {
            plot_round(look, nullptr, kIconData, round_area(rect, 0));
            return;
        }
        const AxisScale values = value_scale(look, nullptr, kIconData), xs = x_scale(nullptr, kIconData);
        const pf::Rect plot{int16_t(rect.top + 3), int16_t(rect.left + 3), int16_t(rect.bottom - 2), int16_t(rect.right - 3)};
        plot_axes(look, nullptr, kIconData, values, xs, plot);
        pf::rgb_fore_color(pf::kBlackColor);
        pf::move_to(rect.left, rect.top);
        pf::line_to(rect.left, int16_t(rect.bottom - 1));
        pf::line_to(int16_t(rect.right - 1), int16_t(rect.bottom - 1));
    });
    pf::pen_normal();
    pf::rgb_fore_color(pf::kBlackColor);
}

void draw_chart_object(MemoryRef object, const pf::Rect& rect) {
    const ObjectRecord record = *ObjectUse(object).get();
    draw_chart(record.kind, record.chart, chart_object_data(object), rect);
}
