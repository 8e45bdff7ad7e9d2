#include "window/page_lists.h"

#include <algorithm>
#include <cstring>

#include "model/layer_use.h"

std::vector<int16_t> read_page_list(MemoryRef list) {
    std::vector<int16_t> values;
    if (!list) return values;
    values.resize(size_t(GetByteSize(list) / 2));
    if (!values.empty()) {
        std::memcpy(values.data(), MemoryUse<>(list).get(), values.size() * 2);
    }
    return values;
}

int16_t nextColumnBreak(MemoryRef layer, int16_t column) {
    ConstLayerUse sheet(layer);
    const std::vector<int16_t> columns = read_page_list(sheet->column_page_bounds);
    sheet.release();
    if (columns.empty()) return column;
    auto at = std::lower_bound(columns.begin(), columns.end(), column);
    return at == columns.end() ? columns.back() : *at;
}
