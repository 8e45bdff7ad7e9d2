// The letters a cell's contents stand for, whatever its bytes and fonts, and
// the check of checked builds that a format change keeps them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/memory_manager.h"
#include "model/cell_range.h"

// A cell's contents as UTF-8: a text decoded run by run by the scripts of its
// fonts (without runs, by its cell's font); a formula's text by the script of
// the cell's font, then its text result by the script it carries; a number's
// typed text by the cell's font. Empty for a format-only cell.
std::string cell_unicode_text(const uint8_t* cell, CellPoint where, MemoryRef layer);
// The text the cell stored at `where` shows (model/display_text.h), as
// UTF-8: a text's letters, a number as it is formatted, a formula's result,
// each decoded by the script it is shown in. Empty for no cell.
std::string cell_shown_unicode(MemoryRef layer, CellPoint where);
// The same, the default font standing for `default_font` rather than the
// layer's default.
std::string cell_letters_in_default(const uint8_t* cell, CellPoint where, int16_t default_font, MemoryRef layer);
// A formula cell's formula as the entry line shows it, in the bytes of the
// cell's font ("" when it cannot be read).
std::string cell_formula_bytes(const uint8_t* cell, CellPoint where, MemoryRef layer);

// The letters of the stored cells of a range, taken before a format change
// in a process that checks invariants (none otherwise).
struct RangeLetters {
    std::vector<std::pair<CellPoint, std::string>> cells;
};
RangeLetters letters_in_range(const CellRange& range, MemoryRef layer);
// The letters of the cells of a block (row records) that hold more than a
// format, read with the default
// font standing for `default_font`, at the places `shift` moves them to; taken
// in a process that checks invariants (none otherwise).
RangeLetters block_letters(MemoryRef block, int16_t default_font, CellPoint shift, MemoryRef layer);
// Ends a process that checks invariants when a cell taken in `before` now
// stands for other letters or is gone.
void check_letters_kept(const RangeLetters& before, MemoryRef layer, const char* change);

// Whether a cell reads (cell_unicode_text) as the text a road meant, `utf8`:
// a text whole (behind an apostrophe, or cut to what a cell holds as far as
// it goes), a formula or number in its letters beyond ASCII (its ASCII may be
// written anew: "=sum(a1)" reads "=SUM(A1)").
bool cell_reads_as(const uint8_t* cell, CellPoint where, MemoryRef layer, std::string_view utf8);

// The check of checked builds where the cell store writes one cell: the
// letters an entry's road meant the cell at `where` to read as, told just
// before its store (a store told none checks only its format).
void expect_stored_letters(MemoryRef layer, CellPoint where, std::string_view utf8);
// The cell a store replaces, taken before it in a process that checks
// invariants (nothing otherwise).
struct StoreCheck {
    bool taken = false;
    bool told = false;  // letters were told for the cell
    std::string meant;
    bool had_cell = false;
    std::string letters;
    uint8_t format[32] = {};
};
StoreCheck store_check_before(CellPoint where, MemoryRef layer);
// Ends a process that checks invariants when the cell just written at
// `where` does not read as the letters told for it, or stands for other
// letters than the cell it replaced without that cell's face, alignment and
// colours (a store that changes letters changes nothing else of the look).
void check_stored_cell(const StoreCheck& before, CellPoint where, MemoryRef layer);

// The check of checked builds where the cell store writes a block of row
// records at once (a file's cells, a paste): a road that builds the record
// `cell` from outside tells the letters it meant it to read as in `layer`,
// whatever place it ends up at. The next block the store writes into the
// layer checks each record of it told alike; what was told is then forgotten.
void expect_block_letters(MemoryRef layer, const uint8_t* cell, std::string_view utf8);
// A record written alone forgets what was told for it (its store checks it).
void forget_block_letters(MemoryRef layer, const uint8_t* cell);
// A layer disposed of forgets all that was told for it.
void forget_block_letters(MemoryRef layer);
// The told records of a block (row records from `start` to `end`), at the
// places `shift` moves them to within `into` (the rest is not written),
// taken before its store in a process that checks invariants.
struct BlockCheck {
    struct Cell {
        CellPoint where;
        std::vector<std::string> meant;
        uint8_t format[32];
    };
    std::vector<Cell> cells;
};
BlockCheck block_check_before(const uint8_t* start, const uint8_t* end, CellPoint shift, const CellRange& into,
                              MemoryRef layer);
// The same for a block in a memory block, each record at its own place.
BlockCheck block_check_before(MemoryRef block, MemoryRef layer);
// Ends a process that checks invariants when a told record just written does
// not read as it was meant to, or (`look_kept`: nothing of the store's own
// sets its format) not with the look of the record given.
void check_block_stored(const BlockCheck& before, bool look_kept, MemoryRef layer);
