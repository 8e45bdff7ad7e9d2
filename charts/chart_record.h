// The chart of a chart object: one memory block holding the 816-byte chart
// record in host order, followed by its series formats (12-byte
// `ChartUserData` records). Documents store it big-endian without the
// references and the scratch fields.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/memory_manager.h"
#include "files/file_framing.h"
#include "files/object_record_sizes.h"
#include "model/cell_range.h"
#include "platform/types.h"
#include "window/document_tools.h"

// Offsets within the chart record.
constexpr int32_t kChartSourceLayer = 14;  // i16, -1: the object's own layer
constexpr int32_t kChartNameRow = 16;      // i16, -1: automatic
constexpr int32_t kChartNameColumn = 18;   // i16, -1: automatic
constexpr int32_t kChartDataRange = 28;    // CellRange
constexpr int32_t kChartPlotRect = 36;     // Rect
constexpr int32_t kChartFlags = 48;        // u32
constexpr int32_t kChartTitle = 52, kChartCategoryTitle = 84, kChartValueTitle = 116;  // 32-byte strings
constexpr int32_t kChartTitleFormats = 148;  // three ChartLabelFormats
constexpr int32_t kChartXMaximum = 268, kChartXMinimum = 300;  // 32-byte strings
constexpr int32_t kChartYMajor = 332, kChartYMinor = 348;      // 16-byte strings
constexpr int32_t kChartYMaximum = 364, kChartYMinimum = 396;  // 32-byte strings
constexpr int32_t kChartXMajor = 428, kChartXMinor = 444;      // 16-byte strings
constexpr int32_t kChartPartFormats = 468;  // frame, axes and tick labels, legend: seven ChartLabelFormats
constexpr int32_t kChartCategoryTitleFormat = kChartTitleFormats + 40, kChartValueTitleFormat = kChartTitleFormats + 80;
constexpr int32_t kChartTickLabelFormat = 628, kChartLegendFormat = 708;
constexpr int32_t kChartTitleSize = 32, kChartUnitSize = 16;


// Chart flags.
constexpr uint32_t kChartLegend = 0x1;
constexpr uint32_t kChartSeriesInColumns = 0x2;
constexpr uint32_t kChartGridLines = 0x4;
constexpr uint32_t kChartDataLabels = 0x8;  // each point's value drawn at it

// The text format of one chart label: u16 font (65535: the layer's), u8 size,
// u8 face, justification, orientation (3 stacked), number format, decimals,
// further bytes, a point and two words at 32.
struct ChartLabelFormat {
    uint8_t bytes[kChartLabelFormatSize];
};
constexpr uint16_t kLayerLabelFont = 65535;
constexpr uint8_t kChartLabelSize = 9;
constexpr int32_t kLabelFont = 0, kLabelSize = 2, kLabelFace = 3, kLabelJustification = 4, kLabelOrientation = 5,
                  kLabelNumberFormat = 6, kLabelDecimals = 7;
// The defaults of a label format: font 1, size 12, centred, general numbers
// with two decimals.
ChartLabelFormat default_label_format();
// A label format of a chart block (defaults for none).
ChartLabelFormat chart_label_format(MemoryRef chart, int32_t offset);

// The stored format of one series.
struct ChartUserData {
    uint16_t series;
    uint8_t pattern;       // 0: solid
    uint8_t colour;        // colour index + 1, 0: automatic
    uint8_t line_style;
    uint8_t held[5];
    uint16_t word;
};
static_assert(sizeof(ChartUserData) == kChartUserDataSize);

pf::FourCC chart_kind_of_tool(int16_t tool);  // 0 outside 13..27
int16_t chart_tool_of_kind(pf::FourCC kind);   // 0 for no chart kind
bool is_chart_kind(pf::FourCC kind);

// A new chart block with the defaults (own layer, automatic names, a legend,
// series down columns) over the data range; none when memory failed.
MemoryRef NewChartRecord(MemoryGlobals* globals, const CellRange& data);

// Fields of a chart block.
int16_t chart_word(MemoryRef chart, int32_t offset);
void set_chart_word(MemoryRef chart, int32_t offset, int16_t value);
uint32_t chart_flags(MemoryRef chart);
void set_chart_flags(MemoryRef chart, uint32_t flags);
CellRange chart_range(MemoryRef chart);
void set_chart_range(MemoryRef chart, const CellRange& range);
// A length-prefixed text field as a string, and set from one (cut to fit).
std::string chart_text(MemoryRef chart, int32_t offset, int32_t width = kChartTitleSize);
void set_chart_text(MemoryRef chart, int32_t offset, const std::string& text, int32_t width = kChartTitleSize);

// The chart block of an object, none for an object without a chart.
MemoryRef object_chart(MemoryRef object);
// The number a text field spells, NaN when it is empty or spells none.
double chart_text_number(MemoryRef chart, int32_t offset, int32_t width);
// The data range and source layer of a chart block.
void GetDataRect(CellRange* range, int16_t* layer, MemoryRef chart);
void SetDataRect(const CellRange& range, int16_t layer, MemoryRef chart);
// The same of a chart object: 0 when the object has no chart.
int16_t GetChart_Data(MemoryRef object, CellRange* range, int16_t* layer);
int16_t SetChart_Data(MemoryRef object, const CellRange& range, int16_t layer);

// Series formats: the stored entry of a series, or the defaults (pattern 0,
// the series' automatic colour index + 1) when the chart has none for it.
std::vector<ChartUserData> chart_series_formats(MemoryRef chart);
void set_chart_series_format(MemoryRef chart, const ChartUserData& entry);
void GetChartPattern(MemoryRef chart, int16_t series, ChartUserData* entry);
// An old colour number (1 to 24) as the chart colour index; others unchanged.
int16_t GetAutoColorIndex(int16_t colour);
// The colour index a series takes when its format leaves it automatic.
int16_t auto_series_colour(int16_t series);

// The stored chart part (fixed fields and framed series formats) as a chart
// block's bytes, and back; nothing when the stored bytes are damaged.
std::optional<std::vector<uint8_t>> chart_from_stored(std::span<const uint8_t> stored);
std::vector<uint8_t> stored_from_chart(std::span<const uint8_t> chart);
// The length of the stored chart part at the start of the bytes, 0 when they
// do not hold a whole one.
size_t stored_chart_length(std::span<const uint8_t> bytes);
