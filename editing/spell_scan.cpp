// The spelling scan over a layer's text cells and the word source that hands
// its words to the spelling window.
#include "editing/spell_scan.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "editing/find_replace.h"
#include "editing/find_scan.h"
#include "model/cell_record.h"
#include "model/cell_store.h"
#include "model/layer.h"
#include "model/record_bytes.h"
#include "model/style_run_layout.h"
#include "model/text_runs.h"
#include "model/cell_format.h"
#include "platform/screen/cursor.h"
#include "platform/text/mac_roman.h"
#include "platform/text/text.h"
#include "spelling/spell_engine.h"
#include "model/workbook.h"
#include "window/cell_entry.h"
#include "window/document_windows.h"

namespace {

constexpr int32_t kLongestWordRun = 80;

// A part of a cell's text in one script, [start, end).
struct ScriptPart {
    int32_t start;
    int32_t end;
    int16_t script;
};

// A text cell's text and its parts: one for each style run, else one in the
// cell's font.
struct CellText {
    std::vector<uint8_t> bytes;
    std::vector<ScriptPart> parts;
};

std::vector<ScriptPart> script_parts(uint8_t* cell, MemoryRef layer) {
    const int32_t length = _formulaLength_(cell);
    const int16_t default_font = Get_Default_Font(layer);
    auto script_of = [default_font](int16_t font) {
        return pf::font_to_script(font == int16_t(kDefaultFontNumber) ? default_font : font);
    };
    std::vector<ScriptPart> parts;
    const int32_t style_length = _styleLength_(cell);
    if (style_length >= 2 + kRunEntrySize) {
        const uint8_t* runs = _stylePtr_(cell) + 2;
        const int32_t count = std::min<int32_t>(load_i16(_stylePtr_(cell)), (style_length - 2) / kRunEntrySize);
        for (int32_t i = 0; i < count; ++i) {
            const uint8_t* run = runs + i * kRunEntrySize;
            const int32_t start = i == 0 ? 0 : std::clamp(load_i32(run + kRunStart), 0, length);
            const int32_t end = i + 1 < count ? std::clamp(load_i32(run + kRunEntrySize + kRunStart), start, length)
                                              : length;
            if (end > start) parts.push_back(ScriptPart{start, end, script_of(load_i16(run + kRunFont))});
        }
    }
    if (parts.empty()) parts.push_back(ScriptPart{0, length, script_of(int16_t(format_font(cell)))});
    return parts;
}

// The text of a text cell, or nothing for other cells.
CellText text_cell_text(MemoryRef layer, CellPoint where) {
    uint8_t* cell = nullptr;
    int16_t length = 0;
    if (!get_cell_ptr(&cell, &length, where, layer) || _cellType_(cell) != kCellText) return {};
    const uint8_t* body = _formulaPtr_(cell);
    return CellText{std::vector<uint8_t>(body, body + _formulaLength_(cell)), script_parts(cell, layer)};
}

// The first `length` bytes of a text cell as UTF-8, each run read in its
// script.
std::string cell_text_utf8(MemoryRef layer, CellPoint where, size_t length) {
    uint8_t* cell = nullptr;
    int16_t size = 0;
    if (!get_cell_ptr(&cell, &size, where, layer)) return {};
    const std::string_view text(reinterpret_cast<const char*>(_formulaPtr_(cell)),
                                std::min(length, size_t(_formulaLength_(cell))));
    const std::string_view runs(reinterpret_cast<const char*>(_stylePtr_(cell)), size_t(std::max<int16_t>(_styleLength_(cell), 0)));
    return styled_text_utf8(text, runs, format_font_in(cell, layer));
}

// The least number of bytes of a text cell that reads as at least
// `utf8_length` bytes of UTF-8: where the scan goes on after a replacement,
// whatever scripts the cell was spelled in again.
int32_t offset_of_letters(MemoryRef layer, CellPoint where, size_t utf8_length) {
    int32_t low = 0, high = int32_t(text_cell_text(layer, where).bytes.size());
    while (low < high) {
        const int32_t middle = low + (high - low) / 2;
        if (cell_text_utf8(layer, where, size_t(middle)).size() >= utf8_length) high = middle;
        else low = middle + 1;
    }
    return low;
}

bool at_or_after(CellPoint cell, CellPoint stop) {
    return cell.v > stop.v || (cell.v == stop.v && cell.h >= stop.h);
}

bool is_blank_run(const char* run, int32_t length) {
    return std::all_of(run, run + length, [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; });
}

// A word of a script spelled in Mac Roman, as the spelling engine takes it;
// false when the dictionary is not the word's or Mac Roman cannot spell it.
bool checkable_word(std::string_view bytes, int16_t script, std::string& mac_roman) {
    const std::string utf8 = pf::script_to_utf8(bytes, script);
    return spelling_covers(utf8) && pf::utf8_to_script(utf8, pf::kScriptRoman, mac_roman);
}

// The word of a part of the cell's text at the scan's offset that is to be reported.
int16_t check_part_words(SpellScan& scan, const std::vector<uint8_t>& text, const ScriptPart& part,
                         int16_t* reason) {
    const char* bytes = reinterpret_cast<const char*>(text.data()) + part.start;
    const int32_t length = part.end - part.start;
    int32_t offset = scan.offset - part.start;
    while (offset < length) {
        const int32_t window_end = std::min(length, offset + kLongestWordRun);
        const pf::WordRange run = pf::find_word_breaks(bytes, window_end, offset, true, part.script);
        if (run.end <= offset) {
            scan.offset = part.start + ++offset;
            continue;
        }
        const int32_t run_length = run.end - run.start;
        offset = run.end;
        std::string spelled;
        if (is_blank_run(bytes + run.start, run_length)) {
            scan.offset = part.start + offset;
            continue;
        }
        if (!checkable_word(std::string_view(bytes + run.start, size_t(run_length)), part.script, spelled)) {
            scan.last_word[0] = 0;  // a word passed over parts the words around it
            scan.offset = part.start + offset;
            continue;
        }
        char word[kLongestComparedWord + 1]{};
        std::memcpy(word, spelled.data(), std::min(spelled.size(), size_t(kLongestComparedWord)));
        const int32_t word_length = int32_t(spelled.size());
        const bool comparable = !(word_length == 1 && uint8_t(word[0]) <= 0x40) && word[0] != 0;
        const bool repeated = comparable && dict_strcmp(word, scan.last_word) == 0;
        std::memcpy(scan.last_word, word, sizeof word);
        *reason = repeated ? kSpellScanRepeated : word_length >= 2 ? spell_check(spelled.c_str(), 1) : kSpellAccepted;
        if (*reason != kSpellAccepted) {
            scan.word_start = part.start + run.start;
            scan.word_length = run_length;
            scan.word_script = part.script;
            return *reason == kSpellScanRepeated ? kSpellScanRepeated : kSpellScanUnknown;
        }
        scan.offset = part.start + offset;
    }
    return kSpellScanDone;
}

// The word in the cell's text at the scan's offset that is to be reported.
int16_t check_words(SpellScan& scan, const CellText& text, int16_t* reason) {
    for (const ScriptPart& part : text.parts) {
        if (scan.offset >= part.end) continue;
        scan.offset = std::max(scan.offset, part.start);
        if (const int16_t found = check_part_words(scan, text.bytes, part, reason)) return found;
    }
    return kSpellScanDone;
}

// Whether the layer still belongs to a workbook that has a window: the
// spelling window outlives the document it was opened over.
bool layer_is_open(MemoryRef layer) {
    for (LayerWindow window = first_document_window(); window; window = next_document_window(window)) {
        MemoryRef workbook = GetWorkSheet(document_window_layer(window));
        for (int16_t i = 0; workbook && i < num_SpreadSheets(workbook); ++i)
            if (find_SpreadSheet_item(workbook, i) == layer) return true;
    }
    return false;
}

// The spelling window's words: the scan's reports, with the whole word shown.
bool next_cell_word(void* context, char word[kSpellWordLimit + 1], int16_t* reason) {
    auto* words = static_cast<LayerWords*>(context);
    words->reported.clear();
    if (!layer_is_open(words->scan.layer)) return false;
    for (;;) {
        if (spellcheck_cells(words->scan, reason) != kSpellScanDone) break;
        if (words->wrapped || (words->first == CellPoint{0, 0})) return false;
        words->wrapped = true;
        words->scan.cell = CellPoint{0, 0};
        words->scan.offset = 0;
        words->scan.has_stop = true;
        words->scan.stop = words->first;
    }
    const std::vector<uint8_t> text = text_cell_text(words->scan.layer, words->scan.cell).bytes;
    words->reported.assign(text.begin() + words->scan.word_start,
                           text.begin() + words->scan.word_start + words->scan.word_length);
    std::string spelled;
    checkable_word(std::string_view(reinterpret_cast<const char*>(words->reported.data()), words->reported.size()),
                   words->scan.word_script, spelled);
    const size_t shown = std::min(spelled.size(), size_t(kSpellWordLimit));
    std::memcpy(word, spelled.data(), shown);
    word[shown] = 0;
    words->scan.offset = words->scan.word_start + words->scan.word_length;
    show_cell(words->scan.layer, words->scan.cell);
    return true;
}

void replace_cell_word(void* context, const char* replacement) {
    auto* words = static_cast<LayerWords*>(context);
    SpellScan& scan = words->scan;
    if (words->reported.empty() || !layer_is_open(scan.layer)) return;
    std::vector<uint8_t> text = text_cell_text(scan.layer, scan.cell).bytes;
    // The cell may have been edited while the window waited: only the word
    // still standing where it was reported is replaced.
    if (scan.word_start + scan.word_length > int32_t(text.size()) ||
        !std::equal(words->reported.begin(), words->reported.end(), text.begin() + scan.word_start))
        return;
    if (!replacement_spelled(replacement)) return;
    const size_t word_end = size_t(scan.word_start + scan.word_length);
    const std::string before = cell_text_utf8(scan.layer, scan.cell, size_t(scan.word_start));
    const std::string through = cell_text_utf8(scan.layer, scan.cell, word_end);
    const std::string whole = cell_text_utf8(scan.layer, scan.cell, text.size());
    const std::string changed = before + replacement + whole.substr(through.size());
    if (store_typed_text(scan.layer, scan.cell, changed) == kEntryStored)
        scan.offset = offset_of_letters(scan.layer, scan.cell, before.size() + std::strlen(replacement));
    show_cell(scan.layer, scan.cell);
}

}  // namespace

int16_t spellcheck_cells(SpellScan& scan, int16_t* reason) {
    *reason = kSpellAccepted;
    if (!scan.layer) return kSpellScanDone;
    for (CellPoint where : layer_cells_in_order(scan.layer, false)) {
        if (!at_or_after(where, scan.cell)) continue;
        if (scan.has_stop && at_or_after(where, scan.stop)) break;
        if (!(where == scan.cell)) {
            scan.cell = where;
            scan.offset = 0;
        }
        const int16_t found = check_words(scan, text_cell_text(scan.layer, where), reason);
        if (found != kSpellScanDone) return found;
    }
    scan.offset = 0;
    scan.word_start = scan.word_length = 0;
    return kSpellScanDone;
}

LayerWords layer_words(MemoryRef layer, CellPoint first) {
    LayerWords words;
    words.scan.layer = layer;
    words.scan.cell = first;
    words.first = first;
    return words;
}

SpellWordSource layer_word_source(LayerWords& words) {
    SpellWordSource source;
    source.context = &words;
    source.next_word = next_cell_word;
    source.replace_word = replace_cell_word;
    return source;
}

namespace {
LayerWords checked_words;  // of the spelling window while it is open
}

void check_layer_spelling(MemoryRef layer) {
    if (!layer) return;
    if (!spell_dialog) checked_words = layer_words(layer, GetClickCell(layer));
    open_spell_dialog(layer_word_source(checked_words));
}
