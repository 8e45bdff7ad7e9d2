// Find, Replace and Replace All in the front document: the search string and
// its replacement (UTF-8, as typed in the Find window), and the state of the
// last hit, kept while the Find window is closed so that
// Find Again goes on with them. The options are bits of the preferences'
// options word (editing/find_scan.h).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "editing/find_scan.h"

struct FindState {
    FindString find_str{};     // UTF-8
    std::string replacement;   // UTF-8
    int32_t found_offset = -1;  // of the hit in the found cell's searched text
    bool found_in_contents = true;
    bool go_on_in_cell = false;  // after a replacement: the next Find starts behind it
    int16_t first_find = 0;  // 1 after a hit
    int16_t first_layerfind = 0;
    int16_t search_layer = -1;  // the layer searched with all layers, -1 none
    bool by_columns = false;    // visit the cells column by column
};
extern FindState find_state;

// Find modes.
constexpr int16_t kFindFromActive = 0;  // from the active cell, wrapping once
constexpr int16_t kFindFromTop = 1;
constexpr int16_t kFindOnward = 2;  // without wrapping

// The record of the frontmost document window behind any other windows (the
// Find window), or none: the document Find and Replace act on.
MemoryRef get_find_doc();
// Selects the cell, scrolls it into view and shows it in the entry line.
void show_cell(MemoryRef layer, CellPoint cell);
// Stores a text (UTF-8) in the layer's cell as typed input, spelled in the
// scripts that spell it, selecting the cell: the answer of the cell entry.
int32_t store_typed_text(MemoryRef layer, CellPoint cell, std::string_view utf8);
// Whether an installed script spells every character of a replacement
// (UTF-8); when none spells some, an alert names them and the answer is false.
bool replacement_spelled(std::string_view utf8);
// Forgets the hit: the next Find starts afresh from the active cell.
void forget_find_hit();
// Selects the next hit in the front document: 1, or 0 (with a beep) when none.
int16_t do_find_next(int16_t mode);
// Puts the replacement in place of the hit in the active cell as typed input:
// the cell's text as it reads with the replacement in it, spelled again in
// the scripts that spell it (a replacement no script spells is refused). With
// `forget` the hit is forgotten, else the next Find goes on after the
// replacement. 1 when replaced, 0 (with a beep) when the hit is gone.
int16_t do_freplace(int16_t forget);
// Replaces every hit in the front document's layer (or every layer with the
// all-layers option), each cell once from the text it held: one undo step per
// layer. The number of cells changed; none beeps.
int32_t replace_all();
