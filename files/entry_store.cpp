// Entries stored in cells with their undo steps.
#include "files/entry_store.h"

#include <cstring>
#include <string>

#include "core/invariant_checks.h"
#include "core/memory_use.h"
#include "files/entry_script.h"
#include "formula/recalc.h"
#include "model/cell_formats.h"
#include "model/cell_letters.h"
#include "model/cell_record.h"
#include "model/cell_store.h"
#include "model/layer.h"
#include "model/layer_use.h"
#include "model/undo_kinds.h"
#include "model/undo_record.h"
#include "model/undo_write.h"

namespace {

constexpr size_t kLongestCell = 32767;

// The label and note bytes of the cell stored now, with the label's length.
struct LabelNote {
    std::string bytes;
    uint8_t label_length = 0;
};

LabelNote label_and_note(MemoryRef layer, CellPoint where) {
    LabelNote kept;
    uint8_t* cell = nullptr;
    int16_t length = 0;
    if (!get_cell_ptr(&cell, &length, where, layer)) return kept;
    kept.label_length = _labelLength_(cell);
    kept.bytes.assign(reinterpret_cast<const char*>(_labelPtr_(cell)), size_t(kept.label_length + _noteLength_(cell)));
    return kept;
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
    const int16_t written =
        WriteUndo(kUndoEntry, kExtentRange, &range, nullptr, old, nullptr, nullptr, nullptr, nullptr, nullptr, layer);
    DisposeNonNilMemory(old);
    if (!written) return kEntryNoMemory;
    const int16_t failed = with_failure_handler(GetMemoryGlobals(layer), [&] {
        InputCell(&range, reinterpret_cast<const uint8_t*>(block.data()), int32_t(block.size()), layer);
    });
    if (!failed && stored_as(layer, where, block)) return kEntryStored;
    take_back_newest_undo(layer);
    return kEntryNoMemory;
}

// The layer's used extent and last entered cell take in the new cell, and
// calculation starts again from it.
void note_entered_cell(MemoryRef layer, CellPoint where) {
    LayerUse sheet(layer);
    sheet->last_entered = where;
    const bool beyond = where.v > sheet->last_row || where.h > sheet->last_column;
    sheet.release();
    if (beyond) resize_sheet(layer, 1);
    ResetCalc(where, GetSheetWind(layer));
}

}  // namespace

void entry_format(uint8_t* header, CellPoint where, MemoryRef layer) {
    uint8_t* cell = nullptr;
    int16_t length = 0;
    if (get_cell_ptr(&cell, &length, where, layer)) {
        std::memcpy(header, cell, kCellHeaderSize);
        if (_styleLength_(cell) > 0) get_style_format(cell, header);
    } else {
        get_format(header, where, layer);
    }
    header[kFmtFlagsB] &= uint8_t(~kDateOrderMask);
}

namespace {

// The typed entry stored, the cell store checking (in checked builds) that it
// reads as `meant`.
int32_t store_meant_entry(const EntryCell& entry, std::string_view meant, MemoryRef layer, int32_t* error_offset);

}  // namespace

int32_t store_entry(const EntryCell& entry, MemoryRef layer, int32_t* error_offset) {
    return store_meant_entry(entry, invariants_checked() ? entry_letters(entry, layer) : std::string(), layer,
                             error_offset);
}

namespace {

int32_t store_meant_entry(const EntryCell& entry, std::string_view meant, MemoryRef layer, int32_t* error_offset) {
    *error_offset = 0;
    clobberCache(layer);
    const LabelNote kept = label_and_note(layer, entry.where);
    EntryCell typed = entry;
    typed.label_note = kept.bytes;
    typed.label_length = kept.label_length;
    typed.typed = true;
    std::string record, block;
    EntryCellAnswer answer;
    if (with_failure_handler(GetMemoryGlobals(layer), [&] { answer = append_entry_cell(record, typed, layer); }))
        return kEntryNoMemory;
    if (answer.refusal) {
        *error_offset = answer.error_offset;
        return answer.refusal;
    }
    if (record.size() > kLongestCell) return kEntryTooLong;
    append_row_record(block, entry.where.v, record);
    expect_stored_letters(layer, entry.where, meant);
    const int32_t failed = store_with_undo(layer, entry.where, block);
    expect_stored_letters(nullptr, {}, {});  // told for this store alone
    if (failed) return failed;
    note_entered_cell(layer, entry.where);
    return kEntryStored;
}

}  // namespace

int32_t store_unicode_entry(MemoryRef layer, CellPoint where, std::string_view utf8, int32_t* error_offset) {
    int32_t offset = 0;
    if (!error_offset) error_offset = &offset;
    *error_offset = 0;
    uint8_t header[kCellHeaderSize];
    entry_format(header, where, layer);
    const ScriptedText spelled = spell_text_in_scripts(utf8, field_look(header, layer));
    if (spelled.unspelled > 0) return kEntryUnspelled;
    EntryCell entry{where, header, spelled.text};
    entry.runs = spelled.runs;
    entry.script = spelled.script;
    return store_meant_entry(entry, utf8, layer, error_offset);
}
