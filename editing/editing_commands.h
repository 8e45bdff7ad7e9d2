// The editing commands for the core runtime: the private clipboard and its
// export, the Edit and Fill menus, the active text editor.
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
};

extern MemoryRef g_Clip;

void PutToScrap(int16_t force);
void DoEditMenu(MemoryRef window_record, int16_t item);
void DoFillMenu(MemoryRef window_record, int16_t item);
// The styled-text instance being edited for the layer, or none.
void* GetActiveEditor(MemoryRef layer);
// Enables and names the Edit menu's items for a document window.
void set_edit_menu(MemoryRef window_record);
// 'PICT' when the system clipboard holds a picture, else 'TEXT' when it holds
// text, else 0.
uint32_t ScrapAvailable();
