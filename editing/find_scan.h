// The cell scans under Find and Replace: the string matcher and the walk over
// the cells of one layer that looks for the search string in each cell's
// contents (the text the entry line shows) or in the displayed values of its
// formulas. The scans only read cells.
#pragma once

#include <cstdint>
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

// The longest search string; with its length byte it fills a 64-byte store.
constexpr int kLongestFindString = 63;
using FindString = unsigned char[kLongestFindString + 1];

// Sets a search string from `length` bytes, cut to the longest it can hold.
void set_find_string(FindString out, const unsigned char* bytes, int32_t length);

// 1 when the search string occurs in the text at or after the start (0 for an
// offset below 0, else offset + 1), with `offset` set to the match; 0 otherwise.
// `exact` compares every byte; else the letters A-Z and a-z match either case.
// `whole` counts a match only when the text is the search string.
int16_t find_word(const uint8_t* text, int32_t length, int32_t* offset, bool exact, bool whole,
                  const unsigned char* search);

// The cells of the layer's store, row by row, or column by column.
std::vector<CellPoint> layer_cells_in_order(MemoryRef layer, bool by_columns);

// The searched texts of a cell: its contents as the entry line shows them, and
// for a formula its displayed value.
std::vector<uint8_t> cell_contents_text(MemoryRef layer, CellPoint where);
std::vector<uint8_t> formula_value_text(MemoryRef layer, CellPoint where);

// Where a hit lies.
struct FindHit {
    CellPoint cell{};
    int32_t offset = -1;      // of the match in the searched text
    bool in_contents = true;  // false: in a formula's displayed value
};

// Scans the layer from `start` (the first cell at or after it in the scan's
// order) with the options; only the start cell begins after `offset`. 1 with
// the hit set, else 0. A null layer finds nothing.
int16_t find_cells(MemoryRef layer, CellPoint start, const unsigned char* search, int32_t offset, uint32_t options,
                   bool by_columns, FindHit* hit);
