// The computed page boundaries of a layer, as the page-break marks read them.
#pragma once

#include <cstring>
#include <vector>

#include "model/layer.h"

inline std::vector<int16_t> page_bounds(MemoryRef layer, bool columns) {
    const SpreadSheet* sheet = use_layer(layer);
    MemoryRef list = columns ? sheet->column_page_bounds : sheet->row_page_bounds;
    release_layer(layer);
    std::vector<int16_t> values(list ? size_t(GetByteSize(list) / 2) : 0);
    if (!values.empty()) {
        std::memcpy(values.data(), UseMemory(list), values.size() * 2);
        UnuseMemory(list);
    }
    return values;
}
