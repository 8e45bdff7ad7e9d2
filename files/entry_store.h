// Storing an entry in a cell as typing does: the new cell built whole by the
// one road from text to cell (append_entry_cell), then stored with its undo
// step, so that a failure at any step leaves the cell and the undo list as
// they were. Texts from outside the sheet's entry line (scripts, Replace,
// spelling) come in as Unicode and are spelled here.
#pragma once

#include <cstdint>
#include <string_view>

#include "core/memory_manager.h"
#include "files/entry_cells.h"

// Answers of a stored entry: 0 stored, else an item of the parser's string
// list (the parser's own codes, and these).
constexpr int32_t kEntryStored = 0;
constexpr int32_t kEntryTooLong = 16;
constexpr int32_t kEntryNoMemory = 17;
constexpr int32_t kEntryUnspelled = 18;

// The format a text entered in the cell at `where` takes: the cell's own (its
// first run's look for a text in runs), else its row's or column's.
void entry_format(uint8_t* header, CellPoint where, MemoryRef layer);

// Stores the typed entry (`entry.typed`) in its cell with its undo step,
// keeping the label and note of the cell it replaces. On a refusal nothing
// changes and `error_offset` marks the place of a formula's fault.
int32_t store_entry(const EntryCell& entry, MemoryRef layer, int32_t* error_offset);

// Stores a text from outside (UTF-8) in a cell as if it were typed there: in
// the script that spells it, the cell's own first, else in runs of the
// scripts of its words, set in the cell's font and size. Refused with
// kEntryUnspelled when no installed script spells some of its letters.
int32_t store_unicode_entry(MemoryRef layer, CellPoint where, std::string_view utf8, int32_t* error_offset = nullptr);
