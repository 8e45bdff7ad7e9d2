// Services of the drawing objects that the core runtime calls.
#pragma once

#include <cstdint>

#include "core/memory_manager.h"

void DoObjectMenu(MemoryRef window_record, int16_t item);
// Enables the Object menu's items for the layer's selected objects.
void set_object_menu(MemoryRef layer);

// Disposes every object of a chain linked through the objects' "link" property.
void ClobberObjList(MemoryRef chain);
