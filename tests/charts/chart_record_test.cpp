// Chart records: the stored chart part read into the record's fields in host
// order and written back byte for byte; series formats with their defaults;
// chart data of an object; damaged stored charts refused.
#include "charts/chart_record.h"

#include <gtest/gtest.h>

#include "model/record_bytes.h"
#include "objects/object_records.h"
#include "tests/formula/formula_fixture.h"

namespace {

using Bytes = std::vector<uint8_t>;

void put16(Bytes& out, int value) {
    out.push_back(uint8_t(uint16_t(value) >> 8));
    out.push_back(uint8_t(value));
}

// A stored chart: source layer 2, names row 7 and column -1, a data range,
// flags, a title, label formats and two series formats, big-endian.
Bytes stored_chart() {
    Bytes out;
    for (int word : {2, 7, -1, 11, 12, 13, 14}) put16(out, word);
    for (int word : {3, 1, 9, 4}) put16(out, word);      // data range: rows 3..9, columns 1..4
    for (int word : {10, 20, 110, 220}) put16(out, word);  // plot rectangle
    for (int byte : {0, 1, 0, 3}) out.push_back(uint8_t(byte));
    Bytes texts(96);
    texts[0] = 5;
    std::copy_n("Sales", 5, texts.begin() + 1);
    out.insert(out.end(), texts.begin(), texts.end());
    for (int f = 0; f < 10; ++f) {
        if (f == 3) out.resize(out.size() + 192, uint8_t('x'));  // axis limit and unit texts
        Bytes format(40, uint8_t(f));
        format[0] = 0x01, format[1] = uint8_t(0x02 + f), format[32] = 0xAB, format[33] = 0xCD;
        out.insert(out.end(), format.begin(), format.end());
    }
    put16(out, 0), put16(out, 24);
    Bytes series{0, 1, 3, 5, 2, 9, 9, 9, 9, 9, 0x12, 0x34, 0, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    out.insert(out.end(), series.begin(), series.end());
    return out;
}

class ChartRecordTest : public FormulaTest {
protected:
    MemoryRef block_of(const Bytes& bytes) { return Bytes2Memory(&mem_globals, bytes.data(), 1, int32_t(bytes.size())); }
};

TEST_F(ChartRecordTest, AStoredChartReadsIntoItsFieldsAndWritesBackByteForByte) {
    const Bytes stored = stored_chart();
    ASSERT_EQ(stored.size(), kStoredChartSize + 4 + 24);
    ASSERT_EQ(stored_chart_length(stored), stored.size());
    auto chart_bytes = chart_from_stored(stored);
    ASSERT_TRUE(chart_bytes);
    ASSERT_EQ(chart_bytes->size(), size_t(kChartRecordSize + 24));
    MemoryRef chart = block_of(*chart_bytes);
    CellRange range;
    int16_t source;
    GetDataRect(&range, &source, chart);
    EXPECT_EQ(source, 2);
    EXPECT_EQ(range, (CellRange{{3, 1}, {9, 4}}));
    EXPECT_EQ(chart_word(chart, kChartNameRow), 7);
    EXPECT_EQ(chart_word(chart, kChartNameColumn), -1);
    EXPECT_EQ(chart_flags(chart), 0x00010003u);
    EXPECT_EQ(chart_text(chart, kChartTitle), "Sales");
    EXPECT_EQ(load_u16(chart_bytes->data() + kChartPartFormats + kLabelFont), 0x0105);  // the fourth format
    EXPECT_EQ(load_u16(chart_bytes->data() + kChartTitleFormats + 32), 0xABCD);
    EXPECT_EQ(chart_bytes->at(kChartXMaximum + 191), 'x');

    std::vector<ChartUserData> formats = chart_series_formats(chart);
    ASSERT_EQ(formats.size(), 2u);
    EXPECT_EQ(formats[0].series, 1);
    EXPECT_EQ(formats[0].pattern, 3);
    EXPECT_EQ(formats[0].colour, 5);
    EXPECT_EQ(formats[0].word, 0x1234);
    EXPECT_EQ(formats[1].series, 4);

    EXPECT_EQ(stored_from_chart(*chart_bytes), stored);
    DisposeMemory(chart);
}

TEST_F(ChartRecordTest, DamagedStoredChartsAreRefused) {
    Bytes stored = stored_chart();
    EXPECT_FALSE(chart_from_stored(Bytes(stored.begin(), stored.end() - 1)));
    EXPECT_EQ(stored_chart_length(Bytes(stored.begin(), stored.begin() + 700)), 0u);
    Bytes odd = stored;
    odd[kStoredChartSize + 3] = 23;  // series formats of 12 bytes each
    EXPECT_EQ(stored_chart_length(odd), 0u);
    Bytes long_block = stored;
    long_block[kStoredChartSize + 2] = 1;  // longer than what follows
    EXPECT_EQ(stored_chart_length(long_block), 0u);
    EXPECT_FALSE(chart_from_stored(Bytes{}));
}

TEST_F(ChartRecordTest, SeriesFormatsDefaultToAutomaticColoursAndAreReplacedBySeries) {
    MemoryRef chart = NewChartRecord(&mem_globals, CellRange{{0, 0}, {4, 2}});
    EXPECT_TRUE(chart_series_formats(chart).empty());  // nothing copied from a chart without formats
    ChartUserData entry;
    GetChartPattern(chart, 0, &entry);
    EXPECT_EQ(entry.pattern, 0);
    EXPECT_EQ(entry.colour, auto_series_colour(0) + 1);
    GetChartPattern(chart, 1, &entry);
    EXPECT_NE(entry.colour, auto_series_colour(0) + 1);  // neighbouring series differ

    ChartUserData own{};
    own.series = 1, own.pattern = 4, own.colour = 8;
    set_chart_series_format(chart, own);
    own.colour = 9;
    set_chart_series_format(chart, own);  // replaced, not added
    EXPECT_EQ(chart_series_formats(chart).size(), 1u);
    GetChartPattern(chart, 1, &entry);
    EXPECT_EQ(entry.colour, 9);
    EXPECT_EQ(entry.pattern, 4);
    // Written and read back with the record.
    auto read = chart_from_stored(stored_from_chart(std::span(static_cast<const uint8_t*>(UseMemory(chart)),
                                                             size_t(GetByteSize(chart)))));
    UnuseMemory(chart);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->size(), size_t(kChartRecordSize + kChartUserDataSize));
    EXPECT_EQ(load_i16(read->data() + kChartNameRow), -1);
    DisposeMemory(chart);

    EXPECT_EQ(GetAutoColorIndex(1), 0);
    EXPECT_EQ(GetAutoColorIndex(24), 23);
    EXPECT_EQ(GetAutoColorIndex(40), 40);
    EXPECT_EQ(GetAutoColorIndex(0), 0);
}

TEST_F(ChartRecordTest, ChartDataOfObjectsAndTheKindsOfThePalette) {
    MemoryRef object = nullptr;
    ASSERT_EQ(NewObject(kRectObject, &object, 0, layer), 1);
    CellRange range{{1, 1}, {2, 2}};
    int16_t source = 5;
    EXPECT_EQ(GetChart_Data(object, &range, &source), 0);  // no chart
    SetObj_info(object, pf::four_cc("chrt"),
                reinterpret_cast<intptr_t>(NewChartRecord(&mem_globals, CellRange{{0, 0}, {3, 1}})));
    EXPECT_EQ(SetChart_Data(object, CellRange{{4, 0}, {8, 3}}, 1), 1);
    EXPECT_EQ(GetChart_Data(object, &range, &source), 1);
    EXPECT_EQ(range, (CellRange{{4, 0}, {8, 3}}));
    EXPECT_EQ(source, 1);

    EXPECT_EQ(chart_kind_of_tool(13), pf::four_cc("pie "));
    EXPECT_EQ(chart_kind_of_tool(27), pf::four_cc("rbch"));
    EXPECT_EQ(chart_kind_of_tool(12), 0u);
    EXPECT_EQ(chart_kind_of_tool(28), 0u);
    for (int16_t tool = kFirstChartTool; tool <= kLastChartTool; ++tool)
        EXPECT_EQ(chart_tool_of_kind(chart_kind_of_tool(tool)), tool);
    EXPECT_FALSE(is_chart_kind(kRectObject));
}

}  // namespace
