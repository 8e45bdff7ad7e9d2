// The named ranges of a records array as text, "Name=top,left:bottom,right"
// for each record with a name, in order.
#pragma once

#include <string>

#include "core/memory_manager.h"
#include "model/named_ranges.h"

inline std::string named_ranges_text(MemoryRef names) {
    std::string out;
    for (int32_t i = 0; names && i < GetMemorySize(names); ++i) {
        const auto* record = static_cast<const uint8_t*>(UseMemory(names)) + i * kNamedRangeSize;
        unsigned char name[kNamedRangeNameSize];
        named_range_name(record, name);
        const CellRange r = named_range_cells(record);
        UnuseMemory(names);
        if (!name[0]) continue;
        out += (out.empty() ? "" : " ") + std::string(reinterpret_cast<const char*>(name) + 1, name[0]) + "=" +
               std::to_string(r.topLeft.v) + "," + std::to_string(r.topLeft.h) + ":" + std::to_string(r.botRight.v) +
               "," + std::to_string(r.botRight.h);
    }
    return out;
}
