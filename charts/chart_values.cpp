// The data a chart keeps when it is taken into another workbook.
#include "charts/chart_values.h"

#include <algorithm>
#include <bit>
#include <string>

#include "charts/chart_record.h"
#include "core/memory_use.h"
#include "model/workbook.h"
#include "objects/object_records.h"
#include "platform/resources/byte_reader.h"

namespace {

// The tag that opens kept data, so that no other block is taken for it.
constexpr uint32_t kKeptValuesTag = pf::four_cc("cval");
constexpr size_t kLongestName = 255, kMostEntries = 0xFFFF;

void put16(std::vector<uint8_t>& bytes, uint16_t value) {
    bytes.push_back(uint8_t(value >> 8));
    bytes.push_back(uint8_t(value));
}

void put32(std::vector<uint8_t>& bytes, uint32_t value) {
    put16(bytes, uint16_t(value >> 16));
    put16(bytes, uint16_t(value));
}

// A name (UTF-8), cut to the most a length byte counts at a letter's start.
void put_name(std::vector<uint8_t>& bytes, const std::string& name) {
    size_t length = std::min(name.size(), kLongestName);
    while (length < name.size() && length > 0 && (uint8_t(name[length]) & 0xC0) == 0x80) --length;
    bytes.push_back(uint8_t(length));
    bytes.insert(bytes.end(), name.begin(), name.begin() + std::ptrdiff_t(length));
}

void put_number(std::vector<uint8_t>& bytes, double number) {
    const auto bits = std::bit_cast<uint64_t>(number);
    put32(bytes, uint32_t(bits >> 32));
    put32(bytes, uint32_t(bits));
}

MemoryRef object_data(MemoryRef object) {
    return reinterpret_cast<MemoryRef>(GetObj_info(object, pf::four_cc("data")));
}

std::optional<ChartData> kept_data(MemoryRef object) {
    MemoryRef block = object_data(object);
    if (!block) return std::nullopt;
    MemoryUse<const uint8_t> bytes(block);
    return chart_values_of(std::span<const uint8_t>(bytes.get(), size_t(GetByteSize(block))));
}

bool is_chart(MemoryRef object) { return object && object_chart(object); }

// Whether the layer is one of the workbook's; `layer` is only compared,
// never read, so it may be a layer that is gone.
bool layer_of(MemoryRef workbook, MemoryRef layer) {
    for (int16_t i = 0; workbook && i < num_SpreadSheets(workbook); ++i)
        if (find_SpreadSheet_item(workbook, i) == layer) return true;
    return false;
}

}  // namespace

std::vector<uint8_t> chart_values_bytes(const ChartData& data) {
    std::vector<uint8_t> bytes;
    put32(bytes, kKeptValuesTag);
    put16(bytes, uint16_t(data.layer_font));
    const size_t categories = std::min(data.categories.size(), kMostEntries);
    put16(bytes, uint16_t(categories));
    for (size_t i = 0; i < categories; ++i) put_name(bytes, data.categories[i]);
    const size_t series = std::min(data.series.size(), kMostEntries);
    put16(bytes, uint16_t(series));
    for (size_t s = 0; s < series; ++s) {
        put_name(bytes, data.series[s].name);
        const size_t values = std::min(data.series[s].values.size(), kMostEntries);
        put16(bytes, uint16_t(values));
        for (size_t i = 0; i < values; ++i) put_number(bytes, data.series[s].values[i]);
    }
    return bytes;
}

std::optional<ChartData> chart_values_of(std::span<const uint8_t> bytes) {
    pf::ByteReader reader{bytes};
    if (reader.u32() != kKeptValuesTag) return std::nullopt;
    ChartData data;
    data.layer_font = reader.i16();
    data.categories.resize(reader.u16());
    for (std::string& name : data.categories) name = reader.pstring();
    const uint16_t series = reader.u16();
    for (uint16_t s = 0; s < series && reader.ok; ++s) {
        ChartSeries one;
        one.name = reader.pstring();
        const uint16_t values = reader.u16();
        if (!reader.has(size_t(values) * 8)) return std::nullopt;
        for (uint16_t i = 0; i < values; ++i) one.values.push_back(std::bit_cast<double>(reader.u64()));
        data.series.push_back(std::move(one));
    }
    if (!reader.ok) return std::nullopt;
    return data;
}

ChartData chart_object_data(MemoryRef object) {
    const ObjectRecord record = *ObjectUse(object).get();
    if (!record.chart) return ChartData{};
    if (std::optional<ChartData> kept = kept_data(object)) return *kept;
    return chart_data(record.chart, chart_source_layer(record.chart, record.owner));
}

bool keep_chart_values(MemoryRef copy, MemoryRef original) {
    if (!is_chart(copy) || !is_chart(original)) return true;
    const std::vector<uint8_t> bytes = chart_values_bytes(chart_object_data(original));
    MemoryRef block = Bytes2Memory(&mem_globals, bytes.data(), 1, int32_t(bytes.size()));
    if (!block) return false;
    DisposeNonNilMemory(object_data(copy));
    SetObj_info(copy, pf::four_cc("data"), reinterpret_cast<intptr_t>(block));
    return true;
}

void settle_chart_values(MemoryRef chain, MemoryRef layer) {
    MemoryRef workbook = layer ? GetWorkSheet(layer) : nullptr;
    for (MemoryRef object = chain; object;
         object = reinterpret_cast<MemoryRef>(GetObj_info(object, pf::four_cc("link")))) {
        const MemoryRef source = ObjectUse(object)->owner;
        if (layer_of(workbook, source)) drop_chart_values(object);
    }
}

void drop_chart_values(MemoryRef object) {
    if (!is_chart(object)) return;
    DisposeNonNilMemory(object_data(object));
    SetObj_info(object, pf::four_cc("data"), 0);
}
