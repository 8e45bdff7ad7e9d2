// Charts drawn: every kind of the chart palette from one data set, charts
// read from the cells of a layer, and charts over awkward data (none, one
// value, negatives only, a great many points) drawn without harm.
#include <cmath>

#include "charts/chart_data.h"
#include "charts/chart_drawing.h"
#include "charts/chart_record.h"
#include "charts/charts.h"
#include "objects/object_drawing.h"
#include "objects/object_records.h"
#include "platform/controls/control_look.h"
#include "tests/window/sheet_fixture.h"

namespace {

constexpr int16_t kCellWidth = 250, kCellHeight = 180, kAcross = 5;
constexpr int16_t kGapAroundPlot = 5;  // a plot draws at most 4 pixels past its area
constexpr int16_t kTickLength = 3;     // category labels stand this far below the plot

class ChartDrawingTest : public SheetTest {
protected:
    MemoryRef chart = nullptr;

    void SetUp() override {
        SheetTest::SetUp();
        chart = NewChartRecord(&mem_globals, CellRange{{0, 0}, {4, 3}});
    }

    void TearDown() override {
        DisposeMemory(chart);
        SheetTest::TearDown();
    }

    static ChartData quarters() {
        return ChartData{{"Q1", "Q2", "Q3", "Q4"},
                         {{"North", {12, 18, 9, 15}}, {"South", {7, 11, 14, 10}}, {"East", {-3, 5, 8, 12}}}};
    }

    pf::Rect cell_rect(int i) const {
        const auto top = int16_t(i / kAcross * kCellHeight), left = int16_t(i % kAcross * kCellWidth);
        return pf::Rect{int16_t(top + 2), int16_t(left + 2), int16_t(top + kCellHeight - 2), int16_t(left + kCellWidth - 2)};
    }

    // The fixture's chart given to a new chart object of the kind, anchored in
    // column B of the row, 260 pixels wide; the fixture takes a fresh chart.
    MemoryRef give_chart(pf::FourCC kind, int16_t row, int16_t height) {
        MemoryRef object = nullptr;
        EXPECT_EQ(NewObject(kind, &object, 0, layer), 1);
        SetObj_info(object, pf::four_cc("chrt"), reinterpret_cast<intptr_t>(chart));
        ObjectRecord* record = use_object(object);
        record->anchor_row = row, record->anchor_column = 1, record->height = height, record->width = 260;
        release_object(object);
        chart = NewChartRecord(&mem_globals, CellRange{{0, 0}, {0, 0}});
        return object;
    }

    // Whether any pixel of the rectangle's inside is neither white nor black.
    bool has_colour(const pf::Rect& r) const {
        for (int y = r.top + 1; y < r.bottom - 1; ++y)
            for (int x = r.left + 1; x < r.right - 1; ++x)
                if (pixel(x, y) != 0xFFFFFF && pixel(x, y) != 0) return true;
        return false;
    }

    // Whether any pixel of the rectangle is of a colour rather than a grey.
    bool has_hue(const pf::Rect& r) const {
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) {
                const uint32_t p = pixel(x, y);
                if ((p >> 16 & 0xFF) != (p & 0xFF) || (p >> 8 & 0xFF) != (p & 0xFF)) return true;
            }
        return false;
    }

    // Whether any pixel of the rectangle is other than white.
    bool has_ink(const pf::Rect& r) const {
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                if (pixel(x, y) != 0xFFFFFF) return true;
        return false;
    }
};

TEST_F(ChartDrawingTest, EveryKindFromOneDataSet) {
    open_window(kAcross * kCellWidth, 3 * kCellHeight);
    pf::erase_rect(port.port_rect);
    set_chart_flags(chart, kChartLegend | kChartSeriesInColumns | kChartGridLines);
    set_chart_text(chart, kChartCategoryTitle, "Quarter");
    set_chart_text(chart, kChartValueTitle, "Units");
    for (int16_t tool = kFirstChartTool; tool <= kLastChartTool; ++tool) {
        const pf::FourCC kind = chart_kind_of_tool(tool);
        const char name[5] = {char(kind >> 24), char(kind >> 16), char(kind >> 8), char(kind), 0};
        set_chart_text(chart, kChartTitle, std::string("Kind ") + std::to_string(tool) + " " + name);
        draw_chart(kind, chart, quarters(), cell_rect(tool - kFirstChartTool));
    }
    EXPECT_TRUE(matches_golden("charts_every_kind"));
}

TEST_F(ChartDrawingTest, AChartObjectShowsTheNumbersOfItsCells) {
    put_text(0, 1, "Apples");
    put_text(0, 2, "Pears");
    const char* months[] = {"Jan", "Feb", "Mar", "Apr"};
    for (int16_t row = 1; row <= 4; ++row) {
        put_text(row, 0, months[row - 1]);
        put_number(row, 1, row * 10);
        put_number(row, 2, 50 - row * 5);
    }
    set_chart_range(chart, CellRange{{0, 0}, {4, 2}});
    const ChartData data = chart_data(chart, layer);
    ASSERT_EQ(data.series.size(), 2u);
    EXPECT_EQ(data.series[0].name, "Apples");
    EXPECT_EQ(data.series[1].values, (std::vector<double>{45, 40, 35, 30}));
    EXPECT_EQ(data.categories, (std::vector<std::string>{"Jan", "Feb", "Mar", "Apr"}));

    set_chart_flags(chart, kChartLegend);  // the series run along rows now
    const ChartData rows = chart_data(chart, layer);
    ASSERT_EQ(rows.series.size(), 4u);
    EXPECT_EQ(rows.series[2].name, "Mar");
    EXPECT_EQ(rows.series[2].values, (std::vector<double>{30, 35}));
    EXPECT_EQ(rows.categories, (std::vector<std::string>{"Apples", "Pears"}));

    set_chart_flags(chart, kChartLegend | kChartSeriesInColumns);
    give_chart(pf::four_cc("lcht"), 6, 170);
    draw();
    EXPECT_TRUE(matches_golden("chart_object_over_cells"));
}

// A chart over the whole grid reads the cells there are: its series and
// points end with the last column and row that hold a cell, names and
// numbers where the cells lie, nothing where none does.
TEST_F(ChartDrawingTest, AChartOverTheWholeGridShowsTheCellsThereAre) {
    put_text(0, 1, "Apples");
    put_text(2, 0, "Mar");
    put_number(1, 1, 10);
    put_number(2, 2, 7);
    set_chart_range(chart, CellRange{{0, 0}, {kLastCell, kLastCell}});
    const ChartData data = chart_data(chart, layer);
    ASSERT_EQ(data.series.size(), 2u);
    EXPECT_EQ(data.series[0].name, "Apples");
    EXPECT_EQ(data.categories, (std::vector<std::string>{"", "Mar"}));
    ASSERT_EQ(data.series[0].values.size(), 2u);
    EXPECT_EQ(data.series[0].values[0], 10);
    EXPECT_TRUE(std::isnan(data.series[0].values[1]));
    EXPECT_TRUE(std::isnan(data.series[1].values[0]));
    EXPECT_EQ(data.series[1].values[1], 7);
}

// A bounded range keeps its empty points and series: room for data to come.
TEST_F(ChartDrawingTest, ABoundedRangeKeepsItsEmptyPointsAndSeries) {
    put_number(0, 0, 4);
    put_number(1, 0, 9);
    set_chart_range(chart, CellRange{{0, 0}, {4, 2}});
    const ChartData data = chart_data(chart, layer);
    ASSERT_EQ(data.series.size(), 3u);
    EXPECT_EQ(data.categories.size(), 5u);
    ASSERT_EQ(data.series[0].values.size(), 5u);
    EXPECT_EQ(data.series[0].values[1], 9);
    EXPECT_TRUE(std::isnan(data.series[2].values[4]));
}

TEST_F(ChartDrawingTest, ThePartUnderThePointAndItsMovingOutline) {
    put_number(0, 0, 4);
    put_number(1, 0, 9);
    set_chart_range(chart, CellRange{{0, 0}, {1, 0}});
    set_chart_text(chart, kChartTitle, "Two numbers");
    MemoryRef object = give_chart(pf::four_cc("bcht"), 3, 160);
    draw();
    pf::Rect rect;
    ASSERT_TRUE(ObjectOnScreen(0, 0, &rect, object, layer));
    const ChartParts parts =
        chart_parts(pf::four_cc("bcht"), object_chart(object), chart_data(object_chart(object), layer), rect);
    auto middle = [](const pf::Rect& r) { return pf::Point{int16_t((r.top + r.bottom) / 2), int16_t((r.left + r.right) / 2)}; };
    EXPECT_EQ(PtinChartEdit(object, rect, middle(parts.title), 0), kChartTitlePart);
    EXPECT_EQ(PtinChartEdit(object, rect, middle(parts.legend), 0), kChartLegendPart);
    EXPECT_EQ(PtinChartEdit(object, rect, middle(parts.plot), 0), kChartPlotPart);
    EXPECT_EQ(PtinChartEdit(object, rect, pf::Point{int16_t(rect.bottom - 2), int16_t(rect.left + 2)}, 0), kChartAreaPart);
    EXPECT_EQ(PtinChartEdit(object, rect, pf::Point{int16_t(rect.bottom + 2), rect.left}, 0), -1);

    const uint32_t before = pixel(parts.plot.left - 1, parts.plot.top - 1);
    pf::Rect outline;
    ChartAnts(0, kChartPlotPart, &outline, rect, object, layer);
    EXPECT_EQ(outline, parts.plot);
    const uint32_t during = pixel(parts.plot.left - 1, parts.plot.top - 1);
    ChartAnts(0, kChartPlotPart, &outline, rect, object, layer);
    EXPECT_NE(during, before);
    EXPECT_EQ(pixel(parts.plot.left - 1, parts.plot.top - 1), before);  // drawn twice: gone
}

TEST_F(ChartDrawingTest, LabelsTakeTheFontsOfTheirStoredFormats) {
    set_chart_text(chart, kChartTitle, "Sized");
    const pf::Rect rect{0, 0, 200, 300};
    const int16_t standard = chart_parts(pf::four_cc("bcht"), chart, quarters(), rect).title.height();
    uint8_t* bytes = static_cast<uint8_t*>(UseMemory(chart));
    bytes[kChartTitleFormats + kLabelSize] = 24;
    store_u16(bytes + kChartLegendFormat + kLabelFont, kLayerLabelFont);  // the layer's font
    UnuseMemory(chart);
    const ChartParts parts = chart_parts(pf::four_cc("bcht"), chart, quarters(), rect);
    EXPECT_GT(parts.title.height(), standard + 8);
    EXPECT_FALSE(parts.legend.empty());
}

TEST_F(ChartDrawingTest, AwkwardDataDrawsWithoutHarm) {
    open_window(kAcross * kCellWidth, 3 * kCellHeight);
    const ChartData cases[] = {
        ChartData{},
        ChartData{{"Only"}, {{"One", {42}}}},
        ChartData{{"a", "b", "c"}, {{"Down", {-5, -12, -1}}}},
        ChartData{{"a", "b"}, {{"Zero", {0, 0}}, {"Gaps", {std::nan(""), 3}}}},
        ChartData{{"a", "b"}, {{"Huge", {1e300, -1e300}}}},
    };
    for (const ChartData& data : cases)
        for (int16_t tool = kFirstChartTool; tool <= kLastChartTool; ++tool) {
            pf::erase_rect(port.port_rect);
            draw_chart(chart_kind_of_tool(tool), chart, data, cell_rect(tool - kFirstChartTool));
        }
    // Axis limits fixed inside the data: the plot stays inside its area.
    set_chart_text(chart, kChartYMinimum, "0");
    set_chart_text(chart, kChartYMaximum, "5");
    set_chart_text(chart, kChartYMajor, "0.0000001", kChartUnitSize);
    pf::erase_rect(port.port_rect);
    const ChartParts parts = chart_parts(pf::four_cc("bcht"), chart, quarters(), cell_rect(0));
    draw_chart(pf::four_cc("bcht"), chart, quarters(), cell_rect(0));
    const pf::Rect above_plot{int16_t(parts.plot.top - 2 * kGapAroundPlot), parts.plot.left,
                              int16_t(parts.plot.top - kGapAroundPlot + 1), parts.plot.right};
    EXPECT_FALSE(has_colour(above_plot));
    set_chart_text(chart, kChartYMaximum, "");
    // A column chart of a single value still shows its bar.
    pf::erase_rect(port.port_rect);
    draw_chart(pf::four_cc("bcht"), chart, cases[1], cell_rect(0));
    EXPECT_TRUE(has_colour(cell_rect(0)));
}

// Bars of values below a fixed minimum end at the value axis: nothing of a
// series' colour shows past it, on columns, bars lying across, stacked and
// deep ones alike.
TEST_F(ChartDrawingTest, BarsBelowTheFixedMinimumStopAtTheAxis) {
    open_window(kCellWidth, kCellHeight);
    const ChartData data{{"a", "b"}, {{"Low", {10, 45}}, {"Lower", {5, 30}}}};
    set_chart_flags(chart, kChartSeriesInColumns);
    set_chart_text(chart, kChartYMinimum, "20");
    set_chart_text(chart, kChartYMaximum, "90");
    for (const pf::FourCC kind : {pf::four_cc("bcht"), pf::four_cc("hcht"), pf::four_cc("sbch"), pf::four_cc("rbch"),
                                  pf::four_cc("c3ch"), pf::four_cc("b3ch")}) {
        const char name[5] = {char(kind >> 24), char(kind >> 16), char(kind >> 8), char(kind), 0};
        pf::erase_rect(port.port_rect);
        const pf::Rect plot = chart_parts(kind, chart, data, cell_rect(0)).plot;
        draw_chart(kind, chart, data, cell_rect(0));
        const bool across = kind == pf::four_cc("hcht") || kind == pf::four_cc("rbch") || kind == pf::four_cc("b3ch");
        const pf::Rect past_axis = across ? pf::Rect{plot.top, int16_t(plot.left - kGapAroundPlot), plot.bottom, plot.left}
                                          : pf::Rect{plot.bottom, plot.left, int16_t(plot.bottom + kGapAroundPlot), plot.right};
        EXPECT_FALSE(has_hue(past_axis)) << name;
        EXPECT_TRUE(has_hue(plot)) << name << ": the bars above the minimum show";
    }
}

// Lines, areas, high-low marks and points of values beyond fixed axis limits
// are cut where they meet the axis: nothing is drawn past the minimum or the
// maximum, while the points between the limits and their markers show.
TEST_F(ChartDrawingTest, PlotsStayWithinTheFixedAxisLimits) {
    const pf::FourCC kinds[] = {pf::four_cc("lcht"), pf::four_cc("arch"), pf::four_cc("skch"), pf::four_cc("cmch"),
                                pf::four_cc("scch")};
    open_window(kAcross * kCellWidth, kCellHeight);
    pf::erase_rect(port.port_rect);
    const ChartData data{{"a", "b", "c", "d"},
                         {{"One", {10, 30, 50, 25}}, {"Two", {35, 19.5, 38, 45}}, {"Three", {25, 33, 60, 40.5}}}};
    set_chart_flags(chart, kChartSeriesInColumns);
    set_chart_text(chart, kChartYMinimum, "20");
    set_chart_text(chart, kChartYMaximum, "40");
    for (int i = 0; i < int(std::size(kinds)); ++i) {
        const pf::FourCC kind = kinds[i];
        const char name[5] = {char(kind >> 24), char(kind >> 16), char(kind >> 8), char(kind), 0};
        const pf::Rect plot = chart_parts(kind, chart, data, cell_rect(i)).plot;
        draw_chart(kind, chart, data, cell_rect(i));
        // A line's pen and a marker reach a pixel or two past a point on a limit.
        const pf::Rect below{int16_t(plot.bottom + 1), int16_t(plot.left + 1), int16_t(plot.bottom + kTickLength + 1),
                             plot.right};
        const pf::Rect above{int16_t(plot.top - kGapAroundPlot), int16_t(plot.left + 1), int16_t(plot.top - 1),
                             plot.right};
        // High-low marks are black; a scatter chart's x axis has ticks below.
        const auto plotted = [&](const pf::Rect& r) { return kind == pf::four_cc("skch") ? has_ink(r) : has_hue(r); };
        EXPECT_FALSE(plotted(below)) << name << ": below the minimum";
        EXPECT_FALSE(plotted(above)) << name << ": above the maximum";
        EXPECT_TRUE(plotted(pf::Rect{plot.top, int16_t(plot.left + 1), plot.bottom, plot.right}))
            << name << ": the values between the limits show";
    }
}

// A chart made small draws nothing outside its frame: a legend, a title or
// axis labels that do not fit are cut at the frame.
TEST_F(ChartDrawingTest, ASmallChartDrawsInsideItsFrame) {
    open_window(kCellWidth, kCellHeight);
    set_chart_flags(chart, kChartLegend | kChartSeriesInColumns | kChartDataLabels);
    set_chart_text(chart, kChartTitle, "Quarters");
    set_chart_text(chart, kChartValueTitle, "Units");
    for (const pf::Rect rect : {pf::Rect{60, 60, 66, 150}, pf::Rect{60, 60, 100, 90}, pf::Rect{60, 60, 65, 65}})
        for (int16_t tool = kFirstChartTool; tool <= kLastChartTool; ++tool) {
            pf::erase_rect(port.port_rect);
            draw_chart(chart_kind_of_tool(tool), chart, quarters(), rect);
            int outside = 0;
            for (int y = 0; y < kCellHeight; ++y)
                for (int x = 0; x < kCellWidth; ++x)
                    outside += !pf::pt_in_rect(pf::Point{int16_t(y), int16_t(x)}, rect) && pixel(x, y) != 0xFFFFFF;
            EXPECT_EQ(outside, 0) << "tool " << tool << " in " << rect.right - rect.left << " x " << rect.bottom - rect.top;
        }
}

}  // namespace

// Data labels stand just above each bar's end (below a negative one's), on
// the scale the chart's axis texts fix, and are drawn in black.
TEST_F(ChartDrawingTest, DataLabelsStandAtTheirBarsOnTheFixedScale) {
    open_window(kCellWidth, kCellHeight);
    pf::erase_rect(port.port_rect);
    const ChartData data{{"a", "b", "c"}, {{"Only", {10, 20, -10}}}};
    const pf::Rect rect = cell_rect(0);
    set_chart_flags(chart, kChartSeriesInColumns);
    EXPECT_TRUE(chart_parts(pf::four_cc("bcht"), chart, data, rect).data_labels.empty()) << "off by default";

    set_chart_flags(chart, kChartSeriesInColumns | kChartDataLabels);
    set_chart_text(chart, kChartYMinimum, "-20");
    set_chart_text(chart, kChartYMaximum, "20");
    const ChartParts parts = chart_parts(pf::four_cc("bcht"), chart, data, rect);
    ASSERT_EQ(parts.data_labels.size(), 3u);
    const int16_t zero = int16_t((parts.plot.top + parts.plot.bottom) / 2);  // 0 halfway from -20 to 20
    const int16_t quarter = int16_t((parts.plot.bottom - parts.plot.top) / 4);
    EXPECT_NEAR(parts.data_labels[0].bottom, zero - quarter - 2, 2) << "10 a quarter up";
    EXPECT_NEAR(parts.data_labels[1].bottom, parts.plot.top - 2, 2) << "20 at the top: above it, in the room kept";
    EXPECT_NEAR(parts.data_labels[2].top, zero + quarter + 2, 2) << "-10 below its bar's end";
    EXPECT_LT(parts.data_labels[0].left, parts.data_labels[1].left);

    draw_chart(pf::four_cc("bcht"), chart, data, rect);
    for (const pf::Rect& label : parts.data_labels) {
        bool inked = false;
        for (int y = label.top; y < label.bottom; ++y)
            for (int x = label.left; x < label.right; ++x) inked |= pixel(x, y) == 0;
        EXPECT_TRUE(inked) << label.top << "," << label.left;
    }
}

// Three series of columns and of bars lying across, side by side: every
// label stands whole inside the frame and clear of the others, the title and
// the legend; where there is no room beyond a bar's end it stands inside it,
// on white.
TEST_F(ChartDrawingTest, DataLabelsOfSeveralSeriesNeverCoverOneAnother) {
    open_window(2 * kCellWidth, kCellHeight);
    pf::erase_rect(port.port_rect);
    set_chart_flags(chart, kChartLegend | kChartSeriesInColumns | kChartDataLabels);
    set_chart_text(chart, kChartTitle, "Sales");
    const ChartData data{{"Q1", "Q2", "Q3"},
                         {{"North", {120, 180, 95}}, {"South", {118, 176, 140}}, {"East", {125, 60, 138}}}};
    for (int i : {0, 1}) {
        const pf::FourCC kind = i == 0 ? pf::four_cc("bcht") : pf::four_cc("hcht");
        const pf::Rect rect = cell_rect(i);
        draw_chart(kind, chart, data, rect);
        const ChartParts parts = chart_parts(kind, chart, data, rect);
        EXPECT_EQ(parts.data_labels.size(), 9u) << "kind " << i;
        for (size_t a = 0; a < parts.data_labels.size(); ++a) {
            const pf::Rect& label = parts.data_labels[a];
            pf::Rect common;
            EXPECT_TRUE(pf::sect_rect(label, pf::inset_rect(rect, 1, 1), common) && common == label) << "label " << a;
            EXPECT_FALSE(pf::sect_rect(label, parts.title, common)) << "label " << a;
            EXPECT_FALSE(pf::sect_rect(label, parts.legend, common)) << "label " << a;
            for (size_t b = a + 1; b < parts.data_labels.size(); ++b)
                EXPECT_FALSE(pf::sect_rect(label, parts.data_labels[b], common)) << "labels " << a << " and " << b;
        }
    }
    EXPECT_TRUE(matches_golden("chart_data_labels"));
}

// Three equal values as one series of three and as three series of one, in
// column, bar and stacked bar charts from small to large: each value keeps
// one label, whole inside the frame, clear of the others, the title and the
// legend, across its bar and no further beyond its end than a label's
// length. The pictures at the usual size are golden.
TEST_F(ChartDrawingTest, EqualValuesKeepOneLabelEachBesideTheirBars) {
    open_window(3 * kCellWidth, 2 * kCellHeight);
    pf::erase_rect(port.port_rect);
    set_chart_flags(chart, kChartLegend | kChartDataLabels);
    const ChartData in_one_series{{"A", "B", "C"}, {{"Sales", {1000, 1000, 1000}}}};
    const ChartData in_three_series{{"1"}, {{"Series 1", {1000}}, {"Series 2", {1000}}, {"Series 3", {1000}}}};
    const pf::FourCC kinds[] = {pf::four_cc("bcht"), pf::four_cc("hcht"), pf::four_cc("rbch")};
    for (int k = 0; k < 3; ++k) {
        const bool horizontal = k > 0;
        for (const ChartData* data : {&in_one_series, &in_three_series}) {
            for (int16_t width = 200; width <= 420; width += 20) {
                const int16_t height = int16_t(width * 2 / 3);
                SCOPED_TRACE(testing::Message() << "kind " << k << ", " << data->series.size() << " series, " << width);
                const pf::Rect rect{10, 10, int16_t(10 + height), int16_t(10 + width)};
                const ChartParts parts = chart_parts(kinds[k], chart, *data, rect);
                ASSERT_EQ(parts.data_labels.size(), 3u);
                for (size_t a = 0; a < 3; ++a) {
                    const pf::Rect& label = parts.data_labels[a];
                    const pf::Point at = parts.labelled_points[a];
                    pf::Rect common;
                    EXPECT_TRUE(pf::sect_rect(label, pf::inset_rect(rect, 1, 1), common) && common == label);
                    EXPECT_FALSE(pf::sect_rect(label, parts.legend, common));
                    for (size_t b = a + 1; b < 3; ++b) EXPECT_FALSE(pf::sect_rect(label, parts.data_labels[b], common));
                    const int across = k == 2 ? label.height() : 1;  // a stacked bar's may move across it
                    if (horizontal) {
                        EXPECT_NEAR((label.top + label.bottom) / 2, at.v, across) << "across its bar";
                        EXPECT_LE(label.right, at.h + 2 * label.width()) << "beside its bar's end";
                        EXPECT_GE(label.left, parts.plot.left - 2);
                    } else {
                        EXPECT_NEAR((label.left + label.right) / 2, at.h, 1) << "across its bar";
                        EXPECT_GE(label.top, at.v - 2 * label.height()) << "beside its bar's end";
                        EXPECT_LE(label.bottom, parts.plot.bottom);
                    }
                }
            }
            const auto top = int16_t(data == &in_one_series ? 2 : kCellHeight + 2), left = int16_t(k * kCellWidth + 2);
            draw_chart(kinds[k], chart, *data,
                       pf::Rect{top, left, int16_t(top + kCellHeight - 4), int16_t(left + kCellWidth - 4)});
        }
    }
    EXPECT_TRUE(matches_golden("chart_equal_value_labels"));
}

// The chart's title above the plot, the value axis title beside it, the
// category title below it.
TEST_F(ChartDrawingTest, TitlesStandAboveAndBesideThePlot) {
    set_chart_text(chart, kChartTitle, "Sales");
    set_chart_text(chart, kChartCategoryTitle, "Quarter");
    set_chart_text(chart, kChartValueTitle, "Units");
    const pf::Rect rect{0, 0, 200, 300};
    const ChartParts titled = chart_parts(pf::four_cc("bcht"), chart, quarters(), rect);
    set_chart_text(chart, kChartCategoryTitle, "");
    set_chart_text(chart, kChartValueTitle, "");
    const ChartParts untitled = chart_parts(pf::four_cc("bcht"), chart, quarters(), rect);
    EXPECT_LE(titled.title.bottom, titled.plot.top);
    EXPECT_GT(titled.plot.left, untitled.plot.left) << "room for the value axis title";
    EXPECT_LT(titled.plot.bottom, untitled.plot.bottom) << "room for the category axis title";
}

// A pie's labels stand centred in their slices; an empty slice has none.
TEST_F(ChartDrawingTest, PieLabelsStandInTheirSlices) {
    const ChartData data{{"a", "b", "c", "d"}, {{"Shares", {1, 0, 1, 2}}}};
    set_chart_flags(chart, kChartSeriesInColumns | kChartDataLabels);
    const ChartParts parts = chart_parts(pf::four_cc("pie "), chart, data, pf::Rect{0, 0, 200, 200});
    ASSERT_EQ(parts.data_labels.size(), 3u);
    const int middle_h = (parts.plot.left + parts.plot.right) / 2, middle_v = (parts.plot.top + parts.plot.bottom) / 2;
    auto centre = [](const pf::Rect& r) { return pf::Point{int16_t((r.top + r.bottom) / 2), int16_t((r.left + r.right) / 2)}; };
    EXPECT_GT(centre(parts.data_labels[0]).h, middle_h) << "the first quarter: up and right";
    EXPECT_LT(centre(parts.data_labels[0]).v, middle_v);
    EXPECT_GT(centre(parts.data_labels[1]).v, middle_v) << "the second quarter: down and right";
    EXPECT_LT(centre(parts.data_labels[2]).h, middle_h - 20) << "the half: at nine o'clock";
    EXPECT_NEAR(centre(parts.data_labels[2]).v, middle_v, 2);
}
