// The data range of a chart read from and typed into the entry line.
#include "charts/chart_range_entry.h"

#include <cstring>
#include <string>

#include "charts/chart_links.h"
#include "charts/chart_record.h"
#include "charts/chart_values.h"
#include "model/undo_record.h"
#include "formula/range_string.h"
#include "formula/reference_text.h"
#include "model/layer.h"
#include "model/named_ranges.h"
#include "model/workbook.h"
#include "objects/object_undo.h"
#include "window/cell_entry.h"

namespace {

void append_pascal(std::vector<uint8_t>& out, const unsigned char* text) { out.insert(out.end(), text + 1, text + 1 + text[0]); }

// The typed text as a range and its layer (-1: none named); false when it is
// no range of one existing layer.
bool read_typed_range(const std::vector<uint8_t>& typed, MemoryRef layer, CellRange* range, int16_t* source) {
    size_t start = !typed.empty() && typed[0] == '=' ? 1 : 0;
    const size_t length = typed.size() - start;
    if (length == 0 || length >= size_t(kNamedRangeNameSize)) return false;
    uint8_t record[kNamedRangeSize] = {};
    record[0] = uint8_t(length);
    std::memcpy(record + 1, typed.data() + start, length);
    int16_t layers[2] = {-1, -1};
    if (!Parse_Rect(record, layers, layer) || layers[0] != layers[1]) return false;
    if (layers[0] >= 0 && !find_layer_by_id(GetWorkSheet(layer), layers[0])) return false;
    *range = named_range_cells(record);
    *source = layers[0];
    return true;
}

}  // namespace

std::vector<uint8_t> chart_range_text(MemoryRef object) {
    CellRange range{};
    int16_t source = -1;
    std::vector<uint8_t> text;
    if (!GetChart_Data(object, &range, &source)) return text;
    text.push_back('=');
    if (source >= 0) {
        for (char digit : std::to_string(source + 1)) text.push_back(uint8_t(digit));
        text.push_back(':');
    }
    unsigned char reference[256];
    const bool relative[4] = {false, false, false, false};
    RangeString(reference, &range, relative, nullptr);
    append_pascal(text, reference);
    return text;
}

int32_t enter_chart_range(MemoryRef object, const std::vector<uint8_t>& typed, MemoryRef layer) {
    CellRange range{};
    int16_t source = -1;
    if (!read_typed_range(typed, layer, &range, &source)) return kEntryNotChartRange;
    const bool down_columns = chart_flags(object_chart(object)) & kChartSeriesInColumns;
    const bool narrow = down_columns ? range.topLeft.v == range.botRight.v : range.topLeft.h == range.botRight.h;
    if (narrow) return kEntryChartTooNarrow;
    record_chart_range(object, layer);
    SetChart_Data(object, range, source);
    drop_chart_values(object);
    redraw_object(object, layer);
    return kEntryStored;
}
