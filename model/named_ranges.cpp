// Named ranges of a layer.
#include "model/named_ranges.h"

#include <cstring>

#include "model/layer.h"
#include "model/layer_use.h"
#include "model/record_bytes.h"
#include "platform/text/text.h"

namespace {

constexpr int kTopOffset = 32;

}  // namespace

MemoryRef Get_rangeinfo(MemoryRef layer) {
    return LayerUse(layer)->named_ranges;
}

void Set_rangeinfo(MemoryRef layer, MemoryRef list) {
    LayerUse sheet(layer);
    if (list) SetMemoryRefID(list, sheet->memory_id);
    sheet->named_ranges = list;
}

void named_range_name(const uint8_t* record, unsigned char* name) {
    unsigned char length = record[0] < kNamedRangeNameSize ? record[0] : kNamedRangeNameSize - 1;
    name[0] = length;
    std::memcpy(name + 1, record + 1, length);
}

CellRange named_range_cells(const uint8_t* record) {
    const uint8_t* p = record + kTopOffset;
    return {{load_i16(p), load_i16(p + 2)}, {load_i16(p + 4), load_i16(p + 6)}};
}

void set_named_range(uint8_t* record, const unsigned char* name, const CellRange& range) {
    std::memset(record, 0, kNamedRangeSize);
    unsigned char length = name[0] < kNamedRangeNameSize ? name[0] : kNamedRangeNameSize - 1;
    record[0] = length;
    std::memcpy(record + 1, name + 1, length);
    uint8_t* p = record + kTopOffset;
    store_i16(p, range.topLeft.v);
    store_i16(p + 2, range.topLeft.h);
    store_i16(p + 4, range.botRight.v);
    store_i16(p + 6, range.botRight.h);
}

int16_t find_named_range(MemoryRef list, const unsigned char* name, CellRange* range) {
    if (!list) return 0;
    MemoryUse<uint8_t> records(list);
    int32_t count = GetMemorySize(list);
    int16_t found = 0;
    unsigned char stored[kNamedRangeNameSize];
    for (int32_t i = 0; i < count && !found; ++i) {
        named_range_name(records + i * kNamedRangeSize, stored);
        if (pf::equal_pstring(stored, name, false, false)) {
            *range = named_range_cells(records + i * kNamedRangeSize);
            found = 1;
        }
    }
    return found;
}
