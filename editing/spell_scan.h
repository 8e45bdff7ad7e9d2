// The spelling scan over the text cells of a layer: each cell's text is cut
// into words in the script of each of its parts, and a word the spelling
// engine does not accept, or the same word twice in a row, is reported. Words
// of letters the dictionary's language is not written with (other scripts,
// other alphabets) are passed over. The spelling window takes its words from a
// word source over this scan and puts replacements back into the cells.
#pragma once

#include <cstdint>
#include <vector>

#include "core/memory_manager.h"
#include "model/cell_range.h"
#include "spelling/spell_dialog.h"

// The longest word the repeated-word test compares.
constexpr int kLongestComparedWord = 31;

struct SpellScan {
    MemoryRef layer = nullptr;
    CellPoint cell{};     // where the scan goes on
    int32_t offset = 0;   // in that cell's text
    bool has_stop = false;
    CellPoint stop{};     // the scan ends on reaching this cell
    char last_word[kLongestComparedWord + 1]{};
    int32_t word_start = 0;  // of the word last reported, in `cell`
    int32_t word_length = 0;
    int16_t word_script = 0;  // the script of its bytes
};

constexpr int16_t kSpellScanDone = 0;
constexpr int16_t kSpellScanUnknown = 1;
constexpr int16_t kSpellScanRepeated = 3;

// Scans on from the scan's cell and offset: kSpellScanDone at the end (or the
// stop cell), else the word's cell, start and length are set and the reason
// is spell_check's answer or kSpellScanRepeated. The scan then stands on the
// reported word; moving past it is the caller's.
int16_t spellcheck_cells(SpellScan& scan, int16_t* reason);

// The words of a layer for the spelling window: from a cell to the end, then
// from the top back to it. Replacements are stored as typed input.
struct LayerWords {
    SpellScan scan;
    bool wrapped = false;
    CellPoint first{};
    std::vector<uint8_t> reported;  // the word last handed over, as it stood in its cell
};
LayerWords layer_words(MemoryRef layer, CellPoint first);
SpellWordSource layer_word_source(LayerWords& words);

// Checks the spelling of the layer's text cells from its active cell, in the
// spelling window; brings that window to the front when it is open already.
// The scan ends when the layer's document closes.
void check_layer_spelling(MemoryRef layer);
