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
#include "platform/text/text.h"
#include "spelling/spell_engine.h"
#include "model/workbook.h"
#include "window/cell_entry.h"
#include "window/document_windows.h"

namespace {

constexpr int32_t kLongestWordRun = 80;

// The text of a text cell, or nothing for other cells.
std::vector<uint8_t> text_cell_text(MemoryRef layer, CellPoint where) {
    uint8_t* cell = nullptr;
    int16_t length = 0;
    if (!get_cell_ptr(&cell, &length, where, layer) || _cellType_(cell) != kCellText) return {};
    const uint8_t* body = _formulaPtr_(cell);
    return std::vector<uint8_t>(body, body + _formulaLength_(cell));
}

bool at_or_after(CellPoint cell, CellPoint stop) {
    return cell.v > stop.v || (cell.v == stop.v && cell.h >= stop.h);
}

bool is_blank_run(const char* run, int32_t length) {
    return std::all_of(run, run + length, [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; });
}

// The word in the cell's text at the scan's offset that is to be reported.
int16_t check_words(SpellScan& scan, const std::vector<uint8_t>& text, int16_t* reason) {
    const char* bytes = reinterpret_cast<const char*>(text.data());
    const int32_t length = int32_t(text.size());
    while (scan.offset < length) {
        const int32_t window_end = std::min(length, scan.offset + kLongestWordRun);
        const pf::WordRange run = pf::find_word_breaks(bytes, window_end, scan.offset, true, 0);
        if (run.end <= scan.offset) {
            ++scan.offset;
            continue;
        }
        const int32_t run_length = run.end - run.start;
        if (is_blank_run(bytes + run.start, run_length)) {
            scan.offset = run.end;
            continue;
        }
        char word[kLongestComparedWord + 1]{};
        std::memcpy(word, bytes + run.start, size_t(std::min(run_length, kLongestComparedWord)));
        const bool comparable = !(run_length == 1 && uint8_t(word[0]) <= 0x40) && word[0] != 0;
        const bool repeated = comparable && dict_strcmp(word, scan.last_word) == 0;
        std::memcpy(scan.last_word, word, sizeof word);
        *reason = repeated ? kSpellScanRepeated : run_length >= 2 ? spell_check(word, 1) : kSpellAccepted;
        if (*reason != kSpellAccepted) {
            scan.word_start = run.start;
            scan.word_length = run_length;
            return *reason == kSpellScanRepeated ? kSpellScanRepeated : kSpellScanUnknown;
        }
        scan.offset = run.end;
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
    const std::vector<uint8_t> text = text_cell_text(words->scan.layer, words->scan.cell);
    const int32_t shown = std::min(words->scan.word_length, int32_t(kSpellWordLimit));
    std::memcpy(word, text.data() + words->scan.word_start, size_t(shown));
    word[shown] = 0;
    words->reported.assign(text.begin() + words->scan.word_start,
                           text.begin() + words->scan.word_start + words->scan.word_length);
    words->scan.offset = words->scan.word_start + words->scan.word_length;
    show_cell(words->scan.layer, words->scan.cell);
    return true;
}

void replace_cell_word(void* context, const char* replacement) {
    auto* words = static_cast<LayerWords*>(context);
    SpellScan& scan = words->scan;
    if (words->reported.empty() || !layer_is_open(scan.layer)) return;
    std::vector<uint8_t> text = text_cell_text(scan.layer, scan.cell);
    // The cell may have been edited while the window waited: only the word
    // still standing where it was reported is replaced.
    if (scan.word_start + scan.word_length > int32_t(text.size()) ||
        !std::equal(words->reported.begin(), words->reported.end(), text.begin() + scan.word_start))
        return;
    const int32_t added = int32_t(std::strlen(replacement));
    text.erase(text.begin() + scan.word_start, text.begin() + scan.word_start + scan.word_length);
    text.insert(text.begin() + scan.word_start, replacement, replacement + added);
    if (store_typed_text(scan.layer, scan.cell, text) == kEntryStored) scan.offset = scan.word_start + added;
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
