// Drawing objects and charts of the previous generation, rebuilt in the layout
// the current document stores them in (big-endian, file order): the kind from
// the old type number, the record's colours, patterns and anchor, the picture,
// a text box's data, and an old chart record converted into the stored chart.
#include <algorithm>
#include <cstring>

#include "files/big_endian.h"
#include "files/file_framing.h"
#include "files/object_record_sizes.h"
#include "files/older_layers.h"
#include "platform/resources/byte_reader.h"

namespace {

using Bytes = std::vector<uint8_t>;

constexpr int kOldObjectSize = 74;
constexpr int kFirstChartType = 20;
constexpr int kOldSeriesOffset = 440;
constexpr int kOldSeriesEntrySize = 3;
constexpr uint32_t kObjectNoFill = 0x4;

struct OldKind {
    int16_t type;
    char kind[5];
};

constexpr OldKind kOldKinds[] = {
    {0, "PICT"},  {7, "PICT"},  {1, "oval"},  {2, "rect"},  {3, "rndR"},  {4, "line"},  {5, "arro"},
    {6, "darr"},  {8, "poly"},  {19, "text"}, {20, "pie "}, {21, "lcht"}, {22, "bcht"}, {23, "hcht"},
    {24, "sbch"}, {25, "skch"}, {26, "arch"}, {27, "arch"}, {28, "scch"},
};

const char* kind_of(int16_t type) {
    for (const OldKind& k : kOldKinds)
        if (k.type == type) return k.kind;
    return nullptr;
}

void append_block(Bytes& out, std::span<const uint8_t> block) {
    uint8_t length[4];
    store_be32(length, uint32_t(block.size()));
    out.insert(out.end(), length, length + 4);
    out.insert(out.end(), block.begin(), block.end());
}

// A framed block of the old objects; false when its length does not fit.
bool take_block(pf::ByteReader& in, std::span<const uint8_t>& block) {
    int32_t length = int32_t(in.u32());
    if (!in.ok || length < 0 || size_t(length) > in.left()) return false;
    block = in.take(size_t(length));
    return in.ok;
}

// ---- Charts -----------------------------------------------------------------------

// Field positions of a chart label format.
constexpr int kLabelFont = 0, kLabelSize = 2, kLabelFace = 3, kLabelJustify = 4, kLabelOrientation = 5,
              kLabelNumberFormat = 6, kLabelDecimals = 7, kLabelPoint = 32;
constexpr uint8_t kStackedOrientation = 3;

void default_chartformat(uint8_t* format) {
    std::memset(format, 0, kChartLabelFormatSize);
    store_be16(format + kLabelFont, 1);
    format[kLabelSize] = 12;
    format[kLabelJustify] = 1;
    format[kLabelNumberFormat] = 'G';
    format[kLabelDecimals] = 2;
    format[16] = 1, format[23] = 1, format[25] = 3, format[26] = 2;
}

// A chart label format (file order) from its defaults and an old 8-byte format.
void convert_chartformat(const uint8_t* old, uint8_t* format) {
    default_chartformat(format);
    store_be16(format + kLabelFont, load_be16(old + 2));
    format[kLabelSize] = uint8_t(load_be16(old + 4));
    format[kLabelFace] = old[7];
    if (old[5] == 4) format[kLabelOrientation] = kStackedOrientation;
    if (old[5] == 3) format[kLabelOrientation] = 1;
}

struct Move {
    int from, to, width;
};

// Old chart texts and where they go in the chart record.
constexpr Move kChartTexts[] = {{20, 52, 32},   {52, 84, 32},   {84, 116, 32},  {116, 364, 32}, {148, 268, 32},
                                {180, 396, 32}, {212, 300, 32}, {244, 428, 16}, {276, 332, 16}};
constexpr Move kChartFormats[] = {{308, 148, 0}, {324, 188, 0}, {340, 228, 0}, {356, 628, 0}, {372, 588, 0}};
constexpr int kDefaultFormats[] = {468, 508, 548, 668, 708};
constexpr int kMarkedFormats[] = {508, 548};

struct FlagByte {
    int offset;
    uint32_t bits;
};
constexpr FlagByte kChartFlagBytes[] = {{16, 0x1},         {17, 0x2},         {18, 0x4},    {420, 0x20},
                                        {421, 0x40},       {422, 0x80},       {423, 0x40100}, {424, 0x80400},
                                        {425, 0x200800},   {426, 0x1000},     {427, 0x20},  {428, 0x10000},
                                        {429, 0x20000},    {433, 0x400000}};

// The parts of a chart record the document stores, in order: the words from
// the source layer to the plot rectangle, then the flags to the x units, then
// the seven label formats.
constexpr Move kStoredChartParts[] = {{14, 0, 30}, {48, 30, 412}, {468, 442, 280}};

// The old chart record (zero past its end) as a chart record in file order.
void convert_chart_record(const uint8_t* old, const uint8_t* old_object, uint8_t* chart) {
    std::memset(chart, 0, kChartRecordSize);
    store_be16(chart + 14, -1);                   // source layer: the object's own
    store_be16(chart + 16, load_be16(old + 12));       // series-name row
    store_be16(chart + 18, load_be16(old + 14));       // series-name column
    std::memcpy(chart + 28, old_object + 62, 8);
    for (const Move& m : kChartTexts) {
        std::memcpy(chart + m.to, old + m.from, size_t(m.width));
        chart[m.to] = std::min<uint8_t>(chart[m.to], uint8_t(m.width - 1));
    }
    for (int at : kDefaultFormats) default_chartformat(chart + at);
    for (int at : kMarkedFormats) chart[at + 17] = 1;
    for (const Move& m : kChartFormats) convert_chartformat(old + m.from, chart + m.to);
    store_be32(chart + 468 + kLabelPoint, load_be32(old));  // plot offset, kept in the frame format
    uint32_t flags = 0;
    for (const FlagByte& f : kChartFlagBytes)
        if (old[f.offset]) flags |= f.bits;
    store_be32(chart + 48, flags);
}

// Series entries of the old chart as series formats (file order), up to the
// first empty entry.
Bytes convert_series(std::span<const uint8_t> old) {
    Bytes records;
    for (size_t at = kOldSeriesOffset; at + kOldSeriesEntrySize <= old.size(); at += kOldSeriesEntrySize) {
        const uint8_t* entry = old.data() + at;
        if (!entry[0] && !entry[1] && !entry[2]) break;
        uint8_t record[kChartUserDataSize] = {};
        store_be16(record, int((at - kOldSeriesOffset) / kOldSeriesEntrySize));
        record[2] = entry[0];
        record[3] = uint8_t(entry[1] + 1);
        record[5] = uint8_t(entry[2] + 1);
        records.insert(records.end(), record, record + kChartUserDataSize);
    }
    return records;
}

void append_chart(Bytes& out, std::span<const uint8_t> old_chart, const uint8_t* old_object) {
    Bytes old(std::max(old_chart.size(), size_t(kOldSeriesOffset)), 0);
    std::copy(old_chart.begin(), old_chart.end(), old.begin());
    uint8_t chart[kChartRecordSize];
    convert_chart_record(old.data(), old_object, chart);
    size_t at = out.size();
    out.resize(at + kStoredChartSize);
    for (const Move& part : kStoredChartParts)
        std::memcpy(out.data() + at + part.to, chart + part.from, size_t(part.width));
    append_block(out, convert_series(old_chart));
}

// ---- Objects ----------------------------------------------------------------------

void convert_object_record(const uint8_t* old, const char* kind, int16_t id, uint8_t* record) {
    std::memset(record, 0, kObjectRecordSize);
    std::memcpy(record, kind, 4);
    store_be32(record + 8, old[42] == 0 ? kObjectNoFill : 0);
    store_be16(record + 12, id);
    std::memcpy(record + 14, old + 6, 28);
    uint16_t word = load_be16(old + 34);
    std::memcpy(record + 42, &word, 2);  // bytes of the record stored as held
    std::memcpy(record + 46, old + 36, 3);
    record[49] = old[40] ? uint8_t(old[40] - 1) : 0;
    record[50] = old[41];
    record[51] = old[42] ? uint8_t(old[42] - 1) : 0;
    std::memcpy(record + 52, old + 43, 3);
    std::memcpy(record + 56, old + 46, 16);
}

}  // namespace

bool convert_old_objects(std::span<const uint8_t> old_objects, int16_t* next_object_id, Bytes& stored) {
    pf::ByteReader in{old_objects};
    while (!in.at_end()) {
        auto old = in.take(kOldObjectSize);
        std::span<const uint8_t> picture, data;
        if (!in.ok || !take_block(in, picture) || !take_block(in, data)) return false;
        int16_t type = int16_t(load_be16(old.data()));
        const char* kind = kind_of(type);
        if (!kind) continue;
        bool chart = type >= kFirstChartType;
        uint8_t record[kObjectRecordSize];
        convert_object_record(old.data(), kind, ++*next_object_id, record);
        stored.insert(stored.end(), record, record + kObjectRecordSize);
        append_block(stored, chart ? std::span<const uint8_t>{} : picture);
        append_block(stored, std::strcmp(kind, "text") == 0 ? data : std::span<const uint8_t>{});
        append_block(stored, {});
        uint8_t chart_flag[4];
        store_be32(chart_flag, chart ? 1 : 0);
        stored.insert(stored.end(), chart_flag, chart_flag + 4);
        if (chart) append_chart(stored, data, old.data());
    }
    return true;
}
