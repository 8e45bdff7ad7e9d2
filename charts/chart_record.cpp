// Chart records: their fields, series formats and the stored layout.
#include "charts/chart_record.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "core/memory_use.h"
#include "files/file_framing.h"
#include "model/record_bytes.h"
#include "objects/object_records.h"
#include "platform/draw/port.h"
#include "platform/resources/byte_reader.h"

namespace {

using Bytes = std::vector<uint8_t>;

constexpr pf::FourCC kChartKinds[] = {
    pf::four_cc("pie "), pf::four_cc("lcht"), pf::four_cc("bcht"), pf::four_cc("hcht"), pf::four_cc("sbch"),
    pf::four_cc("skch"), pf::four_cc("arch"), pf::four_cc("scch"), pf::four_cc("cmch"), pf::four_cc("c3ch"),
    pf::four_cc("p3ch"), pf::four_cc("dnut"), pf::four_cc("rdar"), pf::four_cc("b3ch"), pf::four_cc("rbch")};

// The chart colour indexes series take in turn: blue, red, green, orange,
// purple, sky, brown, magenta, teal, olive.
constexpr int16_t kAutoColours[] = {4, 2, 3, 16, 13, 6, 17, 7, 12, 11};

// ---- Stored layout ------------------------------------------------------------

// How a stored run of the record is swapped between file and host order.
enum class Swap { kWords, kLong, kBytes, kLabelFormats };
struct StoredRun {
    int32_t offset, length;
    Swap swap;
};
constexpr StoredRun kStoredRuns[] = {
    {kChartSourceLayer, 14, Swap::kWords},       {kChartDataRange, 8, Swap::kWords},
    {kChartPlotRect, 8, Swap::kWords},           {kChartFlags, 4, Swap::kLong},
    {kChartTitle, 96, Swap::kBytes},             {kChartTitleFormats, 3 * kChartLabelFormatSize, Swap::kLabelFormats},
    {kChartXMaximum, 192, Swap::kBytes},         {kChartPartFormats, 7 * kChartLabelFormatSize, Swap::kLabelFormats},
};

void swap_run(uint8_t* at, const StoredRun& run) {
    switch (run.swap) {
    case Swap::kWords: ByteFlipShorts(at, run.length / 2); break;
    case Swap::kLong: swap_bytes_at(at, 4); break;
    case Swap::kLabelFormats:
        for (int32_t i = 0; i < run.length; i += kChartLabelFormatSize) ByteFlipChartLabelFormat(at + i);
        break;
    case Swap::kBytes: break;
    }
}

// The series number at 0 and the word at 10 of each series format.
void swap_user_data(uint8_t* entries, size_t size) {
    for (size_t at = 0; at + kChartUserDataSize <= size; at += kChartUserDataSize) {
        ByteFlipShorts(entries + at, 1);
        ByteFlipShorts(entries + at + 10, 1);
    }
}

// ---- Blocks ---------------------------------------------------------------------

template <typename Work>
auto with_chart(MemoryRef chart, Work&& work) {
    MemoryUse<uint8_t> bytes(chart);
    auto result = work(bytes);
    return result;
}

}  // namespace

ChartLabelFormat default_label_format() {
    ChartLabelFormat format{};
    store_u16(format.bytes + kLabelFont, 1);
    format.bytes[kLabelSize] = 12;
    format.bytes[kLabelJustification] = 1;
    format.bytes[kLabelNumberFormat] = 'G';
    format.bytes[kLabelDecimals] = 2;
    format.bytes[16] = 1, format.bytes[23] = 1, format.bytes[25] = 3, format.bytes[26] = 2;
    return format;
}

ChartLabelFormat chart_label_format(MemoryRef chart, int32_t offset) {
    if (!chart) return default_label_format();
    return with_chart(chart, [&](uint8_t* bytes) {
        ChartLabelFormat format;
        std::memcpy(&format, bytes + offset, sizeof format);
        return format;
    });
}

pf::FourCC chart_kind_of_tool(int16_t tool) {
    if (tool < kFirstChartTool || tool > kLastChartTool) return 0;
    return kChartKinds[tool - kFirstChartTool];
}

int16_t chart_tool_of_kind(pf::FourCC kind) {
    const auto* found = std::find(std::begin(kChartKinds), std::end(kChartKinds), kind);
    return found == std::end(kChartKinds) ? 0 : int16_t(kFirstChartTool + (found - std::begin(kChartKinds)));
}

bool is_chart_kind(pf::FourCC kind) { return chart_tool_of_kind(kind) != 0; }

MemoryRef NewChartRecord(MemoryGlobals* globals, const CellRange& data) {
    Bytes record(kChartRecordSize, 0);
    store_i16(record.data() + kChartSourceLayer, -1);
    store_i16(record.data() + kChartNameColumn, -1);
    store_i16(record.data() + kChartNameRow, -1);
    std::memcpy(record.data() + kChartDataRange, &data, sizeof data);
    store_u32(record.data() + kChartFlags, kChartLegend | kChartSeriesInColumns);
    // A bold 12-point chart title; 9-point axis titles, labels and legend.
    ChartLabelFormat format = default_label_format();
    format.bytes[kLabelFace] = pf::kBold;
    std::memcpy(record.data() + kChartTitleFormats, &format, kChartLabelFormatSize);
    format = default_label_format();
    format.bytes[kLabelSize] = kChartLabelSize;
    for (int i = 1; i < 3; ++i)
        std::memcpy(record.data() + kChartTitleFormats + i * kChartLabelFormatSize, &format, kChartLabelFormatSize);
    for (int i = 0; i < 7; ++i)
        std::memcpy(record.data() + kChartPartFormats + i * kChartLabelFormatSize, &format, kChartLabelFormatSize);
    return Bytes2Memory(globals, record.data(), 1, kChartRecordSize);
}

int16_t chart_word(MemoryRef chart, int32_t offset) {
    return with_chart(chart, [&](uint8_t* bytes) { return load_i16(bytes + offset); });
}

void set_chart_word(MemoryRef chart, int32_t offset, int16_t value) {
    with_chart(chart, [&](uint8_t* bytes) { return store_i16(bytes + offset, value), 0; });
}

uint32_t chart_flags(MemoryRef chart) {
    return with_chart(chart, [&](uint8_t* bytes) { return load_u32(bytes + kChartFlags); });
}

void set_chart_flags(MemoryRef chart, uint32_t flags) {
    with_chart(chart, [&](uint8_t* bytes) { return store_u32(bytes + kChartFlags, flags), 0; });
}

CellRange chart_range(MemoryRef chart) {
    return with_chart(chart, [&](uint8_t* bytes) {
        CellRange range;
        std::memcpy(&range, bytes + kChartDataRange, sizeof range);
        return range;
    });
}

void set_chart_range(MemoryRef chart, const CellRange& range) {
    with_chart(chart, [&](uint8_t* bytes) { return std::memcpy(bytes + kChartDataRange, &range, sizeof range), 0; });
}

std::string chart_text(MemoryRef chart, int32_t offset, int32_t width) {
    return with_chart(chart, [&](uint8_t* bytes) {
        const int length = std::min<int>(bytes[offset], width - 1);
        return std::string(reinterpret_cast<const char*>(bytes + offset + 1), size_t(length));
    });
}

void set_chart_text(MemoryRef chart, int32_t offset, const std::string& text, int32_t width) {
    with_chart(chart, [&](uint8_t* bytes) {
        const size_t length = std::min(text.size(), size_t(width - 1));
        std::memset(bytes + offset, 0, size_t(width));
        bytes[offset] = uint8_t(length);
        std::memcpy(bytes + offset + 1, text.data(), length);
        return 0;
    });
}

double chart_text_number(MemoryRef chart, int32_t offset, int32_t width) {
    const std::string text = chart_text(chart, offset, width);
    char* end = nullptr;
    const double number = std::strtod(text.c_str(), &end);
    const bool whole = !text.empty() && end && *end == 0;
    return whole && std::isfinite(number) ? number : std::nan("");
}

void GetDataRect(CellRange* range, int16_t* layer, MemoryRef chart) {
    *range = chart_range(chart);
    *layer = chart_word(chart, kChartSourceLayer);
}

void SetDataRect(const CellRange& range, int16_t layer, MemoryRef chart) {
    set_chart_range(chart, range);
    set_chart_word(chart, kChartSourceLayer, layer);
}

MemoryRef object_chart(MemoryRef object) {
    return object ? reinterpret_cast<MemoryRef>(GetObj_info(object, pf::four_cc("chrt"))) : nullptr;
}

int16_t GetChart_Data(MemoryRef object, CellRange* range, int16_t* layer) {
    MemoryRef chart = object_chart(object);
    if (!chart) return 0;
    GetDataRect(range, layer, chart);
    return 1;
}

int16_t SetChart_Data(MemoryRef object, const CellRange& range, int16_t layer) {
    MemoryRef chart = object_chart(object);
    if (!chart) return 0;
    SetDataRect(range, layer, chart);
    return 1;
}

std::vector<ChartUserData> chart_series_formats(MemoryRef chart) {
    std::vector<ChartUserData> formats;
    if (!chart) return formats;
    const int32_t size = GetByteSize(chart);
    const auto count = size_t(std::max(0, size - kChartRecordSize) / kChartUserDataSize);
    if (count == 0) return formats;  // a new chart has none, and no bytes to copy into
    formats.resize(count);
    with_chart(chart, [&](uint8_t* bytes) {
        return std::memcpy(formats.data(), bytes + kChartRecordSize, count * kChartUserDataSize), 0;
    });
    return formats;
}

void set_chart_series_format(MemoryRef chart, const ChartUserData& entry) {
    std::vector<ChartUserData> formats = chart_series_formats(chart);
    auto found = std::find_if(formats.begin(), formats.end(),
                              [&](const ChartUserData& format) { return format.series == entry.series; });
    if (found != formats.end()) {
        const int32_t at = kChartRecordSize + int32_t(found - formats.begin()) * kChartUserDataSize;
        with_chart(chart, [&](uint8_t* bytes) { return std::memcpy(bytes + at, &entry, sizeof entry), 0; });
        return;
    }
    PtrAndMemory(&entry, chart, kChartUserDataSize);
}

void GetChartPattern(MemoryRef chart, int16_t series, ChartUserData* entry) {
    for (const ChartUserData& format : chart_series_formats(chart))
        if (format.series == uint16_t(series)) {
            *entry = format;
            return;
        }
    *entry = ChartUserData{};
    entry->series = uint16_t(series);
    entry->colour = uint8_t(auto_series_colour(series) + 1);
}

int16_t GetAutoColorIndex(int16_t colour) { return colour >= 1 && colour <= 24 ? int16_t(colour - 1) : colour; }

int16_t auto_series_colour(int16_t series) {
    const int count = int(std::size(kAutoColours));
    return kAutoColours[((series % count) + count) % count];
}

size_t stored_chart_length(std::span<const uint8_t> bytes) {
    pf::ByteReader in{bytes};
    in.skip(kStoredChartSize);
    const uint32_t length = in.u32();
    if (!in.ok || length % kChartUserDataSize != 0 || length > in.left()) return 0;
    return kStoredChartSize + 4 + length;
}

std::optional<Bytes> chart_from_stored(std::span<const uint8_t> stored) {
    const size_t length = stored_chart_length(stored);
    if (length == 0 || length != stored.size()) return std::nullopt;
    Bytes chart(kChartRecordSize, 0);
    size_t at = 0;
    for (const StoredRun& run : kStoredRuns) {
        std::memcpy(chart.data() + run.offset, stored.data() + at, size_t(run.length));
        swap_run(chart.data() + run.offset, run);
        at += size_t(run.length);
    }
    at += 4;
    const size_t first_entry = chart.size();
    chart.insert(chart.end(), stored.begin() + long(at), stored.end());
    swap_user_data(chart.data() + first_entry, chart.size() - first_entry);
    return chart;
}

Bytes stored_from_chart(std::span<const uint8_t> chart) {
    Bytes stored;
    Bytes record(chart.begin(), chart.begin() + std::min<long>(long(chart.size()), kChartRecordSize));
    record.resize(kChartRecordSize, 0);
    for (const StoredRun& run : kStoredRuns) {
        Bytes part(record.begin() + run.offset, record.begin() + run.offset + run.length);
        swap_run(part.data(), run);
        stored.insert(stored.end(), part.begin(), part.end());
    }
    const size_t entries = chart.size() > size_t(kChartRecordSize)
                               ? (chart.size() - kChartRecordSize) / kChartUserDataSize * kChartUserDataSize
                               : 0;
    const uint32_t length = uint32_t(entries);
    for (int shift : {24, 16, 8, 0}) stored.push_back(uint8_t(length >> shift));
    const size_t first_entry = stored.size();
    if (entries) stored.insert(stored.end(), chart.begin() + kChartRecordSize, chart.begin() + long(kChartRecordSize + entries));
    swap_user_data(stored.data() + first_entry, stored.size() - first_entry);
    return stored;
}
