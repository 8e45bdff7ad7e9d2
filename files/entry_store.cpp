// Entries stored in cells with their undo steps.
#include "files/entry_store.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "core/memory_use.h"
#include "files/entry_script.h"
#include "formula/recalc.h"
#include "model/cell_formats.h"
#include "model/cell_record.h"
#include "model/cell_store.h"
#include "model/layer.h"
#include "model/layer_use.h"
#include "model/record_bytes.h"
#include "model/style_run_layout.h"
#include "model/text_runs.h"
#include "model/undo_kinds.h"
#include "model/undo_record.h"
#include "model/undo_write.h"
#include "platform/text/text.h"

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

// The look of the cell at `where` that a new text of its keeps: its font and
// size, the face and colour of its format or, for a text in runs, of its
// first run, and the font its runs set each script in.
struct KeptLook {
    RunLook look;
    std::vector<std::pair<int16_t, int16_t>> script_fonts;  // script, font
};

KeptLook kept_look(const uint8_t* header, CellPoint where, MemoryRef layer) {
    KeptLook kept;
    kept.look = field_look(header, layer);
    kept.look.face = header[kFmtFace];
    const pf::RGBColor colour = colour_of_code(header[kFmtTextColour]);
    kept.look.colour[0] = colour.red;
    kept.look.colour[1] = colour.green;
    kept.look.colour[2] = colour.blue;
    uint8_t* cell = nullptr;
    int16_t length = 0;
    if (!get_cell_ptr(&cell, &length, where, layer) || _cellType_(cell) != kCellText || _styleLength_(cell) < 2)
        return kept;
    const std::string_view text(reinterpret_cast<const char*>(_formulaPtr_(cell)), size_t(_formulaLength_(cell)));
    const std::string_view runs(reinterpret_cast<const char*>(_stylePtr_(cell)), size_t(_styleLength_(cell)));
    const std::vector<TextRun> table = text_runs(runs, text.size());
    for (size_t i = 0; i < table.size(); ++i) {
        const int16_t font = run_font(table[i], kept.look.font);
        const int16_t script = pf::font_to_script(font);
        if (std::ranges::none_of(kept.script_fonts, [&](const auto& seen) { return seen.first == script; }))
            kept.script_fonts.emplace_back(script, font);
        if (i > 0) continue;
        kept.look.face = table[i].entry[kRunFace];
        for (int k = 0; k < 3; ++k) kept.look.colour[k] = load_u16(table[i].entry + kRunColour + 2 * k);
    }
    return kept;
}

// The font the kept look sets a script in, 0 for a script it had none of.
int16_t kept_font(const KeptLook& kept, int16_t script) {
    for (const auto& [seen, font] : kept.script_fonts)
        if (seen == script) return font;
    return 0;
}

// A spelled text's runs, or its one script, set in the fonts the cell had
// for those scripts.
void set_kept_fonts(ScriptedText& spelled, const KeptLook& kept, uint8_t* header) {
    if (spelled.runs.empty()) {
        if (const int16_t font = kept_font(kept, spelled.script)) store_u16(header + kFmtFont, uint16_t(font));
        return;
    }
    auto* table = reinterpret_cast<uint8_t*>(spelled.runs.data());
    const int16_t count = load_i16(table);
    for (int16_t i = 0; i < count && size_t(2 + (i + 1) * kRunEntrySize) <= spelled.runs.size(); ++i) {
        uint8_t* entry = table + 2 + size_t(i) * kRunEntrySize;
        if (const int16_t font = kept_font(kept, pf::font_to_script(load_i16(entry + kRunFont))))
            store_i16(entry + kRunFont, font);
    }
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

int32_t store_entry(const EntryCell& entry, MemoryRef layer, int32_t* error_offset) {
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
    if (const int32_t failed = store_with_undo(layer, entry.where, block)) return failed;
    note_entered_cell(layer, entry.where);
    return kEntryStored;
}

int32_t store_unicode_entry(MemoryRef layer, CellPoint where, std::string_view utf8, int32_t* error_offset) {
    int32_t offset = 0;
    if (!error_offset) error_offset = &offset;
    *error_offset = 0;
    uint8_t header[kCellHeaderSize];
    entry_format(header, where, layer);
    const KeptLook kept = kept_look(header, where, layer);
    ScriptedText spelled = spell_text_in_scripts(utf8, kept.look);
    if (spelled.unspelled > 0) return kEntryUnspelled;
    set_kept_fonts(spelled, kept, header);
    EntryCell entry{where, header, spelled.text};
    entry.runs = spelled.runs;
    entry.script = spelled.script;
    const int32_t answer = store_entry(entry, layer, error_offset);
    if (answer == kEntryStored) check_stored_text(layer, where, utf8);
    return answer;
}
