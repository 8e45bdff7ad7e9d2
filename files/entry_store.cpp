// Entries stored in cells with their undo steps.
#include "files/entry_store.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

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
#include "model/record_bytes.h"
#include "model/style_run_layout.h"
#include "model/text_runs.h"
#include "model/undo_kinds.h"
#include "model/undo_record.h"
#include "model/undo_write.h"
#include "platform/text/mac_roman.h"
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
// first run, and the font its runs set each script in. A text in runs also
// keeps its characters, each with the run entry that sets it (its font
// resolved).
struct KeptLook {
    RunLook look;
    std::vector<std::pair<int16_t, int16_t>> script_fonts;  // script, font
    std::u32string characters;
    std::vector<std::string> entries;
    std::vector<size_t> entry_of;  // of each character
};

void keep_run(KeptLook& kept, std::string_view bytes, const TextRun& run) {
    const int16_t font = run_font(run, kept.look.font);
    const int16_t script = pf::font_to_script(font);
    if (std::ranges::none_of(kept.script_fonts, [&](const auto& seen) { return seen.first == script; }))
        kept.script_fonts.emplace_back(script, font);
    std::string entry(reinterpret_cast<const char*>(run.entry), kRunEntrySize);
    store_i16(reinterpret_cast<uint8_t*>(entry.data()) + kRunFont, font);
    kept.entries.push_back(std::move(entry));
    const std::string utf8 = pf::script_to_utf8(bytes, script);
    char32_t c = 0;
    for (size_t i = 0; i < utf8.size();) {
        kept.characters.push_back(pf::decode_utf8(utf8, i, c) ? c : 0xFFFD);
        kept.entry_of.push_back(kept.entries.size() - 1);
    }
}

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
    for (const TextRun& run : table) keep_run(kept, text.substr(run.start, run.end - run.start), run);
    if (!table.empty()) {
        kept.look.face = table[0].entry[kRunFace];
        for (int k = 0; k < 3; ++k) kept.look.colour[k] = load_u16(table[0].entry + kRunColour + 2 * k);
    }
    return kept;
}

// The font the kept look sets a script in, 0 for a script it had none of.
int16_t kept_font(const KeptLook& kept, int16_t script) {
    for (const auto& [seen, font] : kept.script_fonts)
        if (seen == script) return font;
    return 0;
}

// One character of a spelled text: where its bytes begin, the script and
// font of its run, and its first code point among the text's.
struct SpelledCharacter {
    size_t offset;
    int16_t script, font;
    size_t first;
};

// The characters of a spelled text, and its code points in `letters`.
std::vector<SpelledCharacter> spelled_characters(const ScriptedText& spelled, const RunLook& look,
                                                 std::u32string& letters) {
    struct Piece {
        size_t start, end;
        int16_t font;
    };
    std::vector<Piece> pieces;
    const int16_t own = pf::font_to_script(look.font);
    if (spelled.runs.empty())
        pieces.push_back({0, spelled.text.size(), spelled.script == own ? look.font : pf::script_font(spelled.script)});
    for (const TextRun& run : text_runs(spelled.runs, spelled.text.size()))
        pieces.push_back({run.start, run.end, run_font(run, look.font)});
    std::vector<SpelledCharacter> characters;
    for (const Piece& piece : pieces) {
        const int16_t script = pf::font_to_script(piece.font);
        const char* bytes = spelled.text.data() + piece.start;
        const size_t length = piece.end - piece.start;
        for (size_t at = 0; at < length;) {
            const size_t size = pf::character_byte_type(bytes, int32_t(at), script) == -1 && at + 1 < length ? 2 : 1;
            characters.push_back({piece.start + at, script, piece.font, letters.size()});
            const std::string utf8 = pf::script_to_utf8(std::string_view(bytes + at, size), script);
            char32_t c = 0;
            for (size_t i = 0; i < utf8.size();) letters.push_back(pf::decode_utf8(utf8, i, c) ? c : 0xFFFD);
            at += size;
        }
    }
    return characters;
}

// The runs of a text spelled anew over a text in runs: each character set as
// the old character at its place was (the places the two texts share at their
// start and end; the new letters between as the first old letter they take
// the place of), in the font the old runs set its script in. Alike runs are
// joined.
std::string runs_in_kept_look(const ScriptedText& spelled, const KeptLook& kept) {
    std::u32string letters;
    const std::vector<SpelledCharacter> characters = spelled_characters(spelled, kept.look, letters);
    const std::u32string& old = kept.characters;
    const size_t shared = std::min(old.size(), letters.size());
    size_t head = 0, tail = 0;
    while (head < shared && old[head] == letters[head]) ++head;
    while (tail < shared - head && old[old.size() - 1 - tail] == letters[letters.size() - 1 - tail]) ++tail;
    const auto old_place = [&](size_t i) {
        if (i < head) return i;
        if (i >= letters.size() - tail) return i - letters.size() + old.size();
        return std::min(head, old.size() - 1);
    };
    std::string runs(2, '\0');
    int16_t count = 0;
    for (const SpelledCharacter& character : characters) {
        std::string entry = kept.entries[kept.entry_of[old_place(character.first)]];
        auto* bytes = reinterpret_cast<uint8_t*>(entry.data());
        if (pf::font_to_script(load_i16(bytes + kRunFont)) != character.script) {
            const int16_t font = kept_font(kept, character.script);
            store_i16(bytes + kRunFont, font ? font : character.font);
        }
        store_i16(bytes + kRunHeight, 0);
        store_i16(bytes + kRunAscent, 0);
        if (count > 0 && std::string_view(entry).substr(kRunFont) == std::string_view(runs).substr(runs.size() - kRunEntrySize + kRunFont))
            continue;
        store_i32(bytes + kRunStart, int32_t(character.offset));
        runs += entry;
        ++count;
    }
    store_i16(reinterpret_cast<uint8_t*>(runs.data()), count);
    return runs;
}

// A spelled text's runs, or its one script, set in the fonts the cell had
// for those scripts; over a text in runs, each character in the look of its
// old place (one run of them setting the format's face).
void set_kept_look(ScriptedText& spelled, const KeptLook& kept, uint8_t* header) {
    if (!kept.characters.empty() && !spelled.text.empty()) {
        spelled.runs = runs_in_kept_look(spelled, kept);
        if (load_i16(reinterpret_cast<const uint8_t*>(spelled.runs.data())) == 1)
            header[kFmtFace] = uint8_t(spelled.runs[2 + kRunFace]);
        return;
    }
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
    const KeptLook kept = kept_look(header, where, layer);
    ScriptedText spelled = spell_text_in_scripts(utf8, kept.look);
    if (spelled.unspelled > 0) return kEntryUnspelled;
    set_kept_look(spelled, kept, header);
    EntryCell entry{where, header, spelled.text};
    entry.runs = spelled.runs;
    entry.script = spelled.script;
    return store_meant_entry(entry, utf8, layer, error_offset);
}
