// The cell scans under Find and Replace: the string matcher and the walk over
// the cells of one layer that looks for the search string in each cell's
// contents (the text the entry line shows) or in the displayed values of its
// formulas. Texts are searched as they read, in UTF-8: each cell's bytes
// decoded by the scripts they are in. The scans only read cells.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/memory_manager.h"
#include "model/cell_range.h"

// Search options, bits of the preferences' options word.
constexpr uint32_t kFindIgnoreCase = 0x00200000;
constexpr uint32_t kFindWholeText = 0x00400000;
constexpr uint32_t kFindInContents = 0x00800000;
constexpr uint32_t kFindInValues = 0x01000000;
constexpr uint32_t kFindAllLayers = 0x02000000;
constexpr uint32_t kFindOptionBits = kFindIgnoreCase | kFindWholeText | kFindInContents | kFindInValues | kFindAllLayers;

// The longest search string, in characters; a search string is held as a
// length byte and its UTF-8, at most 4 bytes a character.
constexpr int kLongestFindString = 63;
using FindString = unsigned char[1 + 4 * kLongestFindString];

// Sets a search string from `length` bytes of UTF-8, cut to its first
// kLongestFindString characters.
void set_find_string(FindString out, const unsigned char* bytes, int32_t length);
// The whole characters a UTF-8 text begins with in its first `most` bytes.
std::string_view whole_characters(std::string_view utf8, size_t most);

// 1 when the search string occurs in the text at or after the start (0 for an
// offset below 0, else offset + 1), with `offset` set to the match; 0 otherwise.
// `exact` compares every byte; else the letters A-Z and a-z match either case.
// `whole` counts a match only when the text is the search string. In UTF-8 a
// match begins and ends on whole characters.
int16_t find_word(const uint8_t* text, int32_t length, int32_t* offset, bool exact, bool whole,
                  const unsigned char* search);

// The cells of the layer's store, row by row, or column by column.
std::vector<CellPoint> layer_cells_in_order(MemoryRef layer, bool by_columns);

// A cell's contents as the entry line shows them, in the bytes of its fonts.
std::vector<uint8_t> cell_contents_text(MemoryRef layer, CellPoint where);
// The searched texts of a cell, UTF-8: its contents as the entry line shows
// them, a text read run by run in its scripts and any other contents in the
// script of the cell's font; and for a formula its displayed value, read in
// the script of that value.
std::string cell_contents_utf8(MemoryRef layer, CellPoint where);
std::string formula_value_utf8(MemoryRef layer, CellPoint where);

// Where a hit lies.
struct FindHit {
    CellPoint cell{};
    int32_t offset = -1;      // of the match in the searched text (UTF-8)
    bool in_contents = true;  // false: in a formula's displayed value
};

// Scans the layer from `start` (the first cell at or after it in the scan's
// order) with the options; only the start cell begins after `offset`. 1 with
// the hit set, else 0. A null layer finds nothing.
int16_t find_cells(MemoryRef layer, CellPoint start, const unsigned char* search, int32_t offset, uint32_t options,
                   bool by_columns, FindHit* hit);
