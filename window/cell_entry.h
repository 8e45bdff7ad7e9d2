// Cell data entry: the text typed for the active cell becomes a stored cell
// (a number, a date or time, a formula or text) in one undoable step.
#pragma once

#include <cstdint>

#include "core/memory_manager.h"
#include "files/entry_cells.h"
#include "files/entry_store.h"
#include "formula/typed_entry.h"

// Answers of Enter_Data: those of a stored entry (files/entry_store.h), and
// these items of the parser's string list.
constexpr int32_t kEntryNotChartRange = 7;
constexpr int32_t kEntryChartTooNarrow = 13;

// Stores `text` (its bytes, no terminator) in the active cell of the layer,
// with the style runs `styles` (a 16-bit count first) or none, as the cell
// the engine makes of it (append_entry_cell): text whose runs are in several
// scripts is spelled in one when one spells it all, else kept in its runs.
// On a refusal nothing changes and `error_offset` marks the place of a
// formula's fault.
// After storing, the selection moves by `key` (Return, Tab, Enter, an arrow,
// or 0 for none). With a chart selected, the text is its new data range.
// A text without runs is in the script of the cell's font.
int32_t Enter_Data(MemoryRef layer, MemoryRef text, MemoryRef styles, uint16_t* error_offset, uint8_t key);

// Shows a cell just stored (store_entry): draws it, and fits its row's height
// when its text wraps or is styled, or took a size of its own from its one
// style run (its size differs from `format_before`'s, the format the cell had:
// entry_format); a plain entry keeps the height its row has. Undo of the
// entry puts back a height it changed.
void show_entered_cell(MemoryRef layer, CellPoint where, const uint8_t* format_before);
