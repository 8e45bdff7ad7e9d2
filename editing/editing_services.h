// Services of the editing commands that the core runtime calls: the private
// clipboard and its export, the Edit and Fill menus, the active text editor.
#pragma once

#include <cstdint>

#include "core/memory_manager.h"
#include "model/cell_range.h"

struct ClipRecord {
    MemoryRef cells;   // row records of the copied cells
    CellRange range;   // the copied range
    MemoryRef links;   // LinkRecords the copied formulas use
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
