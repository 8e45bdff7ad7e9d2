// The editing commands for the core runtime: the private clipboard and its
// export, the Edit and Fill menus, the active text editor.
#pragma once

#include <cstdint>

#include "core/memory_manager.h"
#include "model/cell_range.h"
#include "model/clip_record.h"


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
