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
