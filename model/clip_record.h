// The private clipboard's record: what a copy or cut put aside for a paste.
#pragma once

#include <cstdint>

#include "core/memory_manager.h"
#include "model/cell_range.h"

// The private clipboard. An empty record is all zeros; it owns every block.
struct ClipRecord {
    int32_t kind;            // -1 copied cells, -2 text from the system clipboard,
                             // 0 a picture, else the first copied object's kind
    CellRange range;         // the copied range (for text: the range it parses to)
    int16_t export_pending;  // not yet written to the system clipboard
    int32_t scrap_identity;  // the system clipboard's identity at the last exchange
    MemoryRef cells;         // row records of the copied cells, or the text's bytes
    MemoryRef style;         // the imported text's style runs
    MemoryRef formats;       // ColumnFormat (whole columns) or RowFormat (whole rows) records
    MemoryRef links;         // LinkRecords the copied formulas use
    MemoryRef objects;       // the first copied drawing object
    int16_t unicode;         // the text's bytes are UTF-8: each field pastes in the script that spells it
    int16_t dates_1900;      // the copied cells' dates count from 1900, as their workbook's
    int16_t default_font;    // the font the copied cells' default font stands for, their layer's
};

// The record's block, made at start-up (or on first use).
extern MemoryRef g_Clip;

constexpr int32_t kClipCells = -1;
constexpr int32_t kClipText = -2;

// The clipboard record (made on first use when start-up has not made it).
ClipRecord read_clip();
void write_clip(const ClipRecord& clip);
// Frees what the record holds and zeroes it.
void clear_clip();
