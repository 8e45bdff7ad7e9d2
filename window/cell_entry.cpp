// Cell data entry: the text typed in the entry line is stored in the active
// cell by the engine (files/entry_store.h), then drawn, its row fitted, and
// the selection moved.
#include "window/cell_entry.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "files/entry_cells.h"
#include "model/cell_formats.h"
#include "model/cell_record.h"
#include "model/cell_store.h"
#include "model/layer.h"
#include "model/layer_use.h"
#include "window/auto_size.h"
#include "window/keyboard_navigation.h"
#include "window/doc_window.h"
#include "window/window_services.h"

namespace {

std::vector<uint8_t> bytes_of(MemoryRef block) {
    std::vector<uint8_t> bytes;
    if (!block || GetByteSize(block) == 0) return bytes;
    MemoryUse<const uint8_t> p(block);
    bytes.assign(p.get(), p + GetByteSize(block));
    return bytes;
}

CellPoint active_cell(MemoryRef layer) {
    LayerUse sheet(layer);
    const CellPoint cell = sheet->active_cell;
    return cell;
}

std::string_view view_of(const std::vector<uint8_t>& bytes) {
    return std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

}  // namespace

void show_entered_cell(MemoryRef layer, CellPoint where) {
    const CellRange range{where, where};
    DrawCells(&range, layer);
    const bool fixed_rows = (LayerUse(layer)->flags & kLayerFixedRowHeights) != 0;
    if (!fixed_rows) CheckRowSize(&range, layer);
}

int32_t Enter_Data(MemoryRef layer, MemoryRef text, MemoryRef styles, uint16_t* error_offset, uint8_t key) {
    *error_offset = 0;
    if (MemoryRef chart = window_services.selected_chart(layer))
        return window_services.take_typed_chart_range(chart, bytes_of(text), layer);
    uint8_t header[kCellHeaderSize];
    GetSelectFormat(header, layer, 1);
    const CellPoint where = active_cell(layer);
    header[kFmtFlagsB] &= uint8_t(~kDateOrderMask);
    const std::vector<uint8_t> typed = bytes_of(text);
    const std::vector<uint8_t> runs = bytes_of(styles);
    EntryCell entry{where, header, view_of(typed)};
    entry.runs = view_of(runs);
    int32_t offset = 0;
    const int32_t answer = store_entry(entry, layer, &offset);
    if (answer != kEntryStored) {
        *error_offset = uint16_t(std::clamp<int32_t>(offset, 0, UINT16_MAX));
        return answer;
    }
    show_entered_cell(layer, where);
    if (key) SheetArrowKeys(key, layer);
    return kEntryStored;
}
