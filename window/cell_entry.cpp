// Cell data entry. The new cell is built completely before anything changes;
// then the old cell is copied for undo, the undo record written, and the new
// cell stored in place of the old one, so a failure at any step leaves the
// old cell and the undo list as they were.
#include "window/cell_entry.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "model/undo_kinds.h"
#include "model/undo_record.h"
#include "model/undo_write.h"
#include "formula/recalc.h"
#include "files/entry_cells.h"
#include "model/cell_formats.h"
#include "model/cell_record.h"
#include "model/cell_store.h"
#include "model/layer.h"
#include "model/layer_use.h"
#include "model/workbook.h"
#include "window/auto_size.h"
#include "window/keyboard_navigation.h"
#include "window/doc_window.h"
#include "window/window_services.h"

namespace {

constexpr int kLongestCell = 32767;

std::vector<uint8_t> bytes_of(MemoryRef block) {
    std::vector<uint8_t> bytes;
    if (!block || GetByteSize(block) == 0) return bytes;
    MemoryUse<const uint8_t> p(block);
    bytes.assign(p.get(), p + GetByteSize(block));
    return bytes;
}

// Style runs of an entry: a 16-bit count first.
int16_t style_run_count(const std::vector<uint8_t>& styles) {
    return styles.size() >= 2 ? load_i16(styles.data()) : 0;
}

CellPoint active_cell(MemoryRef layer) {
    LayerUse sheet(layer);
    const CellPoint cell = sheet->active_cell;
    return cell;
}

// The label and note bytes of the cell stored now, with their lengths.
struct LabelNote {
    std::vector<uint8_t> bytes;
    uint8_t label_length = 0;
    uint8_t note_length = 0;
};

LabelNote label_and_note(MemoryRef layer, CellPoint where) {
    LabelNote kept;
    uint8_t* cell = nullptr;
    int16_t length = 0;
    if (!get_cell_ptr(&cell, &length, where, layer)) return kept;
    kept.label_length = _labelLength_(cell);
    kept.note_length = _noteLength_(cell);
    kept.bytes.assign(_labelPtr_(cell), _labelPtr_(cell) + kept.label_length + kept.note_length);
    return kept;
}

std::string_view view_of(const std::vector<uint8_t>& bytes) {
    return std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

// The one-row block of the new cell, as the engine makes it of the entry:
// row header, format header, label and note of the old cell, body, tail.
EntryCellAnswer cell_block(CellPoint where, const uint8_t* header, const LabelNote& kept,
                           const std::vector<uint8_t>& typed, const std::vector<uint8_t>& runs, MemoryRef layer,
                           std::string* block) {
    std::string record;
    EntryCell entry{where, header, view_of(typed)};
    entry.runs = view_of(runs);
    entry.label_note = view_of(kept.bytes);
    entry.label_length = kept.label_length;
    entry.typed = true;
    const EntryCellAnswer answer = append_entry_cell(record, entry, layer);
    if (!answer.refusal) append_row_record(*block, int16_t(where.v), record);
    return answer;
}

bool stored_as(MemoryRef layer, CellPoint where, const std::string& block) {
    uint8_t* cell = nullptr;
    int16_t length = 0;
    if (!get_cell_ptr(&cell, &length, where, layer)) return false;
    const size_t expected = block.size() - kRowHeaderSize;
    return size_t(_cellLength_(cell)) == expected && std::memcmp(cell, block.data() + kRowHeaderSize, expected) == 0;
}

// Copies the old cell for undo, writes the undo record and stores the block:
// all of it, or nothing.
int32_t store_with_undo(MemoryRef layer, CellPoint where, const std::string& block) {
    const CellRange range{where, where};
    MemoryRef old = nullptr;
    if (!CopyCellInfo(where, where, &old, GetSpreadSheetCells(layer))) return kEntryNoMemory;
    const int16_t written = WriteUndo(kUndoEntry, kExtentRange, &range, nullptr, old, nullptr, nullptr,
                                                       nullptr, nullptr, nullptr, layer);
    DisposeNonNilMemory(old);
    if (!written) return kEntryNoMemory;
    const int16_t failed = with_failure_handler(GetMemoryGlobals(layer), [&] {
        InputCell(&range, reinterpret_cast<const uint8_t*>(block.data()), int32_t(block.size()), layer);
    });
    if (!failed && stored_as(layer, where, block)) return kEntryStored;
    take_back_newest_undo(layer);
    return kEntryNoMemory;
}

// Grows the layer's used extent when the cell lies beyond it.
void note_entered_cell(MemoryRef layer, CellPoint where) {
    LayerUse(layer)->last_entered = where;
}

// Wrapped, vertically aligned or styled text may need a taller row.
bool may_change_row_height(const uint8_t* header, const std::vector<uint8_t>& styles) {
    constexpr uint8_t kPlainAlignments = 63;
    return header[kFmtAlign] > kPlainAlignments || style_run_count(styles) >= 1;
}

// A cell past the layer's used extent grows the layer; then the cell's row
// fits its height, unless the layer keeps its row heights. (A new last row
// is fitted too: wrapped text typed there would otherwise stay cut off.)
void fit_layer_to_entry(MemoryRef layer, CellPoint where, bool fit_row) {
    LayerUse sheet(layer);
    const bool beyond = where.v > sheet->last_row || where.h > sheet->last_column;
    const bool fixed_rows = (sheet->flags & kLayerFixedRowHeights) != 0;
    sheet.release();
    if (beyond) resize_sheet(layer, 1);
    if (fit_row && !fixed_rows) {
        const CellRange row{where, where};
        CheckRowSize(&row, layer);
    }
}

}  // namespace

int32_t Enter_Data(MemoryRef layer, MemoryRef text, MemoryRef styles, uint16_t* error_offset, uint8_t key) {
    *error_offset = 0;
    if (MemoryRef chart = window_services.selected_chart(layer))
        return window_services.take_typed_chart_range(chart, bytes_of(text), layer);
    uint8_t header[kCellHeaderSize];
    GetSelectFormat(header, layer, 1);
    clobberCache(layer);
    const CellPoint where = active_cell(layer);
    header[kFmtFlagsB] &= uint8_t(~kDateOrderMask);
    const std::vector<uint8_t> typed = bytes_of(text);
    const std::vector<uint8_t> runs = bytes_of(styles);
    const LabelNote kept = label_and_note(layer, where);
    std::string block;
    EntryCellAnswer answer;
    const int16_t failed = with_failure_handler(GetMemoryGlobals(layer), [&] {
        answer = cell_block(where, header, kept, typed, runs, layer, &block);
    });
    if (failed) return kEntryNoMemory;
    if (answer.refusal) {
        *error_offset = uint16_t(std::clamp<int32_t>(answer.error_offset, 0, UINT16_MAX));
        return answer.refusal;
    }
    if (block.size() - kRowHeaderSize > size_t(kLongestCell)) return kEntryTooLong;
    if (int32_t failed = store_with_undo(layer, where, block)) return failed;
    const CellRange range{where, where};
    DrawCells(&range, layer);
    note_entered_cell(layer, where);
    if (key) SheetArrowKeys(key, layer);
    ResetCalc(where, GetSheetWind(layer));
    fit_layer_to_entry(layer, where, may_change_row_height(header, runs));
    return kEntryStored;
}
