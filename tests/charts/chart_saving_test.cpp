// A chart's options saved in a native document and read back: its titles,
// data labels and value axis texts, and the data a chart brought from
// another workbook keeps.
#include "charts/chart_record.h"
#include "charts/chart_values.h"
#include "model/layer.h"
#include "objects/object_records.h"
#include "tests/files/document_fixture.h"

namespace {

class ChartSavingTest : public DocumentTest {
protected:
    static MemoryRef first_layer(MemoryRef book) { return find_SpreadSheet_item(book, 0); }
};

TEST_F(ChartSavingTest, TitlesDataLabelsAndAxisTextsAreSavedAndReopened) {
    MemoryRef book = sample::rich_workbook(1);
    MemoryRef layer = first_layer(book), object = nullptr;
    ASSERT_EQ(NewObject(pf::four_cc("bcht"), &object, 0, layer), 1);
    MemoryRef chart = NewChartRecord(GetMemoryGlobals(layer), CellRange{{0, 0}, {3, 2}});
    ASSERT_NE(chart, nullptr);
    SetObj_info(object, pf::four_cc("chrt"), reinterpret_cast<intptr_t>(chart));
    set_chart_flags(chart, chart_flags(chart) | kChartDataLabels);
    set_chart_text(chart, kChartTitle, "Sales by Month");
    set_chart_text(chart, kChartValueTitle, std::string(31, 'v'));
    set_chart_text(chart, kChartYMinimum, "-5");
    set_chart_text(chart, kChartYMajor, "2.5", kChartUnitSize);

    ASSERT_EQ(save(book, "Chart.qrv"), 0);
    MemoryRef again = open("Chart.qrv");
    ASSERT_NE(again, nullptr);
    ASSERT_EQ(num_objects(first_layer(again)), 1);
    MemoryRef read = object_chart(find_object_item(first_layer(again), 1));
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(chart_flags(read), chart_flags(chart));
    EXPECT_TRUE(chart_flags(read) & kChartDataLabels);
    EXPECT_EQ(chart_text(read, kChartTitle), "Sales by Month");
    EXPECT_EQ(chart_text(read, kChartValueTitle), std::string(31, 'v'));
    EXPECT_EQ(chart_text(read, kChartCategoryTitle), "");
    EXPECT_EQ(chart_text(read, kChartYMinimum), "-5");
    EXPECT_EQ(chart_text(read, kChartYMaximum), "");
    EXPECT_EQ(chart_text(read, kChartYMajor, kChartUnitSize), "2.5");
}

TEST_F(ChartSavingTest, DataAChartKeepsAreSavedAndReopened) {
    MemoryRef book = sample::rich_workbook(1);
    MemoryRef layer = first_layer(book), object = nullptr;
    ASSERT_EQ(NewObject(pf::four_cc("bcht"), &object, 0, layer), 1);
    SetObj_info(object, pf::four_cc("chrt"),
                reinterpret_cast<intptr_t>(NewChartRecord(GetMemoryGlobals(layer), CellRange{{0, 0}, {3, 2}})));
    const std::vector<uint8_t> kept = chart_values_bytes(ChartData{{"Jan", "Feb"}, {{"Apples", {10, 20}}}});
    MemoryRef block = Bytes2Memory(GetMemoryGlobals(layer), kept.data(), 1, int32_t(kept.size()));
    SetObj_info(object, pf::four_cc("data"), reinterpret_cast<intptr_t>(block));

    ASSERT_EQ(save(book, "Kept.qrv"), 0);
    MemoryRef again = open("Kept.qrv");
    ASSERT_NE(again, nullptr);
    ASSERT_EQ(num_objects(first_layer(again)), 1);
    const ChartData shown = chart_object_data(find_object_item(first_layer(again), 1));
    EXPECT_EQ(shown.categories, (std::vector<std::string>{"Jan", "Feb"}));
    ASSERT_EQ(shown.series.size(), 1u);
    EXPECT_EQ(shown.series[0].name, "Apples");
    EXPECT_EQ(shown.series[0].values, (std::vector<double>{10, 20}));
}

}  // namespace
