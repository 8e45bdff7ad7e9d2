// A chart copied into another workbook keeps the names and numbers it showed,
// since the cells it read are not there; copied within its own workbook it
// reads the cells; a range typed for it makes it read the cells again; the
// kept data survive saving as bytes, and damaged bytes are refused.
#include <string>
#include <vector>

#include "charts/chart_range_entry.h"
#include "charts/chart_record.h"
#include "charts/chart_values.h"
#include "charts/charts.h"
#include "model/workbook.h"
#include "objects/object_clipboard.h"
#include "objects/object_records.h"
#include "objects/objects.h"
#include "tests/editing/undo_fixture.h"
#include "window/cell_entry.h"

namespace {

class ChartValuesTest : public UndoTest {
protected:
    MemoryRef chart_over(CellRange data) {
        MemoryRef object = nullptr;
        EXPECT_EQ(NewObject(pf::four_cc("bcht"), &object, 0, layer), 1);
        SetObj_info(object, pf::four_cc("chrt"), reinterpret_cast<intptr_t>(NewChartRecord(&mem_globals, data)));
        return object;
    }

    // Names in row 0 and column 0, numbers below and beside them.
    void fill(MemoryRef on, double first) {
        put_text(0, 1, "Apples", on);
        put_text(0, 2, "Pears", on);
        for (int16_t row = 1; row <= 3; ++row) {
            put_text(row, 0, "Month " + std::to_string(row), on);
            put_number(row, 1, first + row, on);
            put_number(row, 2, first * 2 + row, on);
        }
    }

    // The copy of the chart pasted into a layer, as the layer's last object.
    MemoryRef pasted_into(MemoryRef target, MemoryRef object) {
        clear_selected_objects(layer);
        add_selected(layer, object);
        PasteObject(copy_selected_objects(layer), target, 0);
        return find_object_item(target, num_objects(target));
    }

    static std::vector<double> numbers(const ChartData& data) {
        std::vector<double> all;
        for (const ChartSeries& series : data.series) all.insert(all.end(), series.values.begin(), series.values.end());
        return all;
    }
    static std::vector<std::string> names(const ChartData& data) {
        std::vector<std::string> all = data.categories;
        for (const ChartSeries& series : data.series) all.push_back(series.name);
        return all;
    }
};

TEST_F(ChartValuesTest, AChartInAnotherWorkbookShowsWhatItShowedAndReadsCellsInItsOwn) {
    fill(layer, 10);
    MemoryRef object = chart_over(cells(0, 0, 3, 2));
    const ChartData shown = chart_object_data(object);
    ASSERT_EQ(names(shown), (std::vector<std::string>{"Month 1", "Month 2", "Month 3", "Apples", "Pears"}));

    MemoryRef other_book = make_workbook("Other", 1);
    MemoryRef other = add_layer(other_book);
    fill(other, 500);  // other numbers at the same addresses
    MemoryRef there = pasted_into(other, object);
    ASSERT_NE(there, nullptr);
    EXPECT_EQ(numbers(chart_object_data(there)), numbers(shown));
    EXPECT_EQ(names(chart_object_data(there)), names(shown));
    put_number(1, 1, 99);  // the copy no longer follows the first workbook either
    EXPECT_EQ(numbers(chart_object_data(there)), numbers(shown));

    // Within its own workbook a copy reads the cells of the layer it is on.
    MemoryRef second = add_layer(workbook);
    fill(second, 70);
    MemoryRef beside = pasted_into(second, object);
    ASSERT_NE(beside, nullptr);
    EXPECT_EQ(numbers(chart_object_data(beside)), numbers(chart_data(object_chart(beside), second)));
    EXPECT_NE(numbers(chart_object_data(beside)), numbers(shown));

    // A range typed for the kept chart reads the cells of its new workbook.
    const std::string typed = "=A1:C4";
    ASSERT_EQ(enter_chart_range(there, std::vector<uint8_t>(typed.begin(), typed.end()), other), kEntryStored);
    EXPECT_EQ(numbers(chart_object_data(there)), numbers(chart_data(object_chart(there), other)));
    EXPECT_EQ(chart_object_data(there).series.at(0).values.at(0), 501);
}

TEST_F(ChartValuesTest, KeptDataComeBackFromTheirBytesAndDamagedBytesAreRefused) {
    const ChartData data{{"Q1", "Q2"}, {{"North", {1.5, -2}}, {"South", {0, 1e300}}}, 7};
    const std::vector<uint8_t> bytes = chart_values_bytes(data);
    const std::optional<ChartData> back = chart_values_of(bytes);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(names(*back), names(data));
    EXPECT_EQ(numbers(*back), numbers(data));
    EXPECT_EQ(back->layer_font, 7);
    for (size_t length = 0; length < bytes.size(); ++length)
        EXPECT_FALSE(chart_values_of(std::span(bytes.data(), length)).has_value()) << length << " bytes";
    std::vector<uint8_t> other_block = bytes;
    other_block[0] = 'x';  // not kept data: a block of another kind
    EXPECT_FALSE(chart_values_of(other_block).has_value());
}

}  // namespace
