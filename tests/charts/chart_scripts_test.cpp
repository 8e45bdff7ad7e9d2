// A chart's names read from cells of other scripts than Roman: the legend and
// the category labels carry the letters the cells show.
#include "charts/chart_data.h"
#include "charts/chart_record.h"
#include "charts/chart_values.h"
#include "tests/window/sheet_fixture.h"

namespace {

class ChartScriptsTest : public SheetTest {};

TEST_F(ChartScriptsTest, NamesFromCellsOfEveryScriptAreTheirLetters) {
    put_spelled(0, 1, "Выручка");
    put_spelled(0, 2, "Κέρδος");
    const char* months[] = {"Февраль", "Μάρτιος", "東京", "Zürich"};
    for (int16_t row = 1; row <= 4; ++row) {
        put_spelled(row, 0, months[row - 1]);
        put_number(row, 1, row * 10);
        put_number(row, 2, row);
    }
    MemoryRef chart = NewChartRecord(&mem_globals, CellRange{{0, 0}, {4, 2}});
    set_chart_flags(chart, kChartLegend | kChartSeriesInColumns);
    const ChartData data = chart_data(chart, layer);
    EXPECT_EQ(data.categories, (std::vector<std::string>{"Февраль", "Μάρτιος", "東京", "Zürich"}));
    ASSERT_EQ(data.series.size(), 2u);
    EXPECT_EQ(data.series[0].name, "Выручка");
    EXPECT_EQ(data.series[1].name, "Κέρδος");

    // Kept for another workbook, the names stay whole.
    const std::optional<ChartData> kept = chart_values_of(chart_values_bytes(data));
    ASSERT_TRUE(kept.has_value());
    EXPECT_EQ(kept->categories, data.categories);
    EXPECT_EQ(kept->series[1].name, "Κέρδος");
    DisposeMemory(chart);
}

// A name longer than a kept name holds is cut at a letter's start.
TEST_F(ChartScriptsTest, AKeptNameIsCutBetweenLetters) {
    ChartData data;
    std::string long_name;
    while (long_name.size() < 300) long_name += "Ж";
    data.categories = {"xy" + long_name};
    const std::optional<ChartData> kept = chart_values_of(chart_values_bytes(data));
    ASSERT_TRUE(kept.has_value());
    EXPECT_EQ(kept->categories[0], "xy" + long_name.substr(0, 252));
}

}  // namespace
