// Cell data entry: the text typed in the entry line is stored in the active
// cell by the engine (files/entry_store.h), then drawn, its row fitted when
// its text wraps or is styled, and the selection moved.
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
#include "model/undo_write.h"
#include "window/auto_size.h"
#include "window/keyboard_navigation.h"
#include "window/sheet_drawing.h"
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

// Fits the row of an entered cell. When its height changes, the entry's undo
// record keeps the row heights as they were, so that Undo puts them back.
void fit_entered_row(MemoryRef layer, CellPoint where) {
    MemoryRef before = nullptr;
    if (with_failure_handler(GetMemoryGlobals(layer),
                             [&] { before = DuplicateNonNilMemory(GetSpreadSheetRowFormats(layer)); }))
        return;  // no room to undo the fitting: the row keeps its height
    const CellRange range{where, where};
    const bool fitted = CheckRowSize(&range, layer) != 0;
    if (!fitted || !newest_undo_keeps_row_formats(layer, before)) DisposeNonNilMemory(before);
}

// Whether a cell just stored has its row fitted to it: unless the layer keeps
// its row heights, when its text wraps, holds style runs, or took a size of
// its own from its one run (its size differs from the format it had). A plain
// entry keeps the height the row has, one the user set among them.
bool entry_fits_row(MemoryRef layer, CellPoint where, const uint8_t* format_before) {
    if (LayerUse(layer)->flags & kLayerFixedRowHeights) return false;
    uint8_t* cell = nullptr;
    int16_t length = 0;
    if (!get_cell_ptr(&cell, &length, where, layer)) return false;
    return (cell[kFmtAlign] & (kAlignWrap | kAlignWrapToPage)) || _styleLength_(cell) > 0 ||
           cell[kFmtSize] != format_before[kFmtSize];
}

std::string_view view_of(const std::vector<uint8_t>& bytes) {
    return std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

}  // namespace

void show_entered_cell(MemoryRef layer, CellPoint where, const uint8_t* format_before) {
    const CellRange range{where, where};
    DrawCells(&range, layer);
    if (entry_fits_row(layer, where, format_before)) fit_entered_row(layer, where);
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
    show_entered_cell(layer, where, header);
    if (key) SheetArrowKeys(key, layer);
    return kEntryStored;
}
