// Cell data entry: the text typed for the active cell becomes a stored cell
// (a number, a date or time, a formula or text) in one undoable step.
#pragma once

#include <cstdint>

#include "core/memory_manager.h"
#include "files/entry_cells.h"
#include "formula/typed_entry.h"

// Answers of Enter_Data: 0 stored, else an item of the parser's string list
// (the parser's own codes, and these).
constexpr int32_t kEntryStored = 0;
constexpr int32_t kEntryNotChartRange = 7;
constexpr int32_t kEntryChartTooNarrow = 13;
constexpr int32_t kEntryTooLong = 16;
constexpr int32_t kEntryNoMemory = 17;

// Stores `text` (its bytes, no terminator) in the active cell of the layer,
// with the style runs `styles` (a 16-bit count first) or none, as the cell
// the engine makes of it (append_entry_cell): text whose runs are in several
// scripts is spelled in one when one spells it all, else kept in its runs.
// On a refusal nothing changes and `error_offset` marks the place of a
// formula's fault.
// After storing, the selection moves by `key` (Return, Tab, Enter, an arrow,
// or 0 for none). With a chart selected, the text is its new data range.
int32_t Enter_Data(MemoryRef layer, MemoryRef text, MemoryRef styles, uint16_t* error_offset, uint8_t key);
