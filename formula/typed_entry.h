// What a typed entry is, read as typing, text import and paste read it: the
// formula parser's cell-input mode, with a percentage ("12.5%") taken as a
// hundredth of its number.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "core/memory_manager.h"
#include "model/cell_range.h"

struct TypedEntry {
    int16_t result = 1;  // of ParseText: 0 accepted, 1 a text, else the error
    int16_t kind = 0;
    double value = 0;
    int32_t error_offset = 0;          // of an error in a formula
    std::vector<uint8_t> formula;      // the stored formula of a formula entry
    unsigned char parsed_text[256]{};  // the entry as the parser left it
    bool percent = false;              // a percentage: `value` is already the hundredth
    uint8_t percent_decimals = 0;      // the decimals the percentage was written with
};

// Reads an entry of at most 255 bytes typed into `where` of `layer` whose
// cell has the number format `format`.
TypedEntry read_typed_entry(std::string_view typed, CellPoint where, MemoryRef layer, uint8_t format);
