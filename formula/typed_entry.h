// What a typed entry is, read as typing, text import and paste read it: the
// formula parser's cell-input mode, with a percentage ("12.5%") taken as a
// hundredth of its number; and what it makes of the cell it is typed into:
// the same text gives the same cell whichever of them stores it.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "core/memory_manager.h"
#include "model/cell_range.h"

// The longest entry the parser reads; a longer text stays text.
constexpr int kLongestParsedEntry = 255;
// The flags of a cell's format (flags B) that tell the date order its date
// was read in.
constexpr uint8_t kDateOrderMask = 0x1E;

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

// What a cell holds once an entry is settled.
enum class EntryOutcome : uint8_t {
    text,     // the entry as it stands
    number,   // `value`, with the entry kept as typed
    formula,  // `formula`
    refused,  // a formula the parser refuses: `error` at `error_offset`
};

struct SettledEntry {
    EntryOutcome outcome = EntryOutcome::text;
    double value = 0;
    std::vector<uint8_t> formula;
    int16_t error = 0;
    int32_t error_offset = 0;
};

// Reads an entry of 1 to kLongestParsedEntry bytes typed into `where` of
// `layer`, whose cell has the format `header` (a cell's 32-byte format), and
// settles in `header` what the entry gives the cell: a percentage's format
// and decimals; a date's or time's format (the cell's own when it has one,
// else by what was typed: date and time, time to the minute or the second, or
// the preferences' date format) with the date order it was read in; a
// fraction's format; General for a plain number typed into a date cell.
SettledEntry settle_typed_entry(std::string_view typed, CellPoint where, MemoryRef layer, uint8_t* header);
