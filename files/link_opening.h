// Opening the documents a layer links to.
#pragma once

#include <cstdint>

#include "core/memory_manager.h"
#include "platform/files/files.h"

// Makes the document of link `link_id` of a layer available: brings its window
// forward when it is open, else finds its file (by its file record, then by
// its full path, then by asking the user) and reads it into a new workbook.
void OpenLinks(MemoryRef layer, int16_t link_id);
// Opens the documents of every link of the workbook that are not open yet;
// with `ask`, asks once first.
void OpenWorkSheetLinks(MemoryRef workbook, int16_t ask);
// The open dialog's filter while a moved link is looked for: folders, and the
// files of the sought link's name.
bool navFilterProc(const pf::FileSpec& item, const pf::CatalogInfo& info, void* user);
