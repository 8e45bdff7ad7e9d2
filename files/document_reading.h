// Shared steps of the document readers (not for other subsystems).
#pragma once

#include <cstdint>

#include "core/memory_manager.h"

// Stands in a layer's window field between reading and making its window.
extern void* const kWindowWanted;

// The number of an installed font by its length-prefixed name; the application
// font when the name is that font's; else `fallback`.
int16_t font_by_name(const unsigned char* name, int16_t fallback);

// Takes the last layer out of the workbook and disposes of it.
void drop_last_layer(MemoryRef workbook);

// Every link id in the layer's formulas names a link of its list.
bool formula_links_sound(MemoryRef layer);

// The reader of the older generation's documents: the workbook's layers read
// from the open file, or null after a failure handed to the caller's handler.
MemoryRef ReadQ3Sheet(int32_t* counter, int16_t slot_format, int16_t version, int32_t file_length,
                      MemoryRef workbook);
