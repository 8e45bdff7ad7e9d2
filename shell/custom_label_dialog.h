// The custom label dialog of the Number Options menu and the change it makes.
#pragma once

#include <cstdint>

#include "core/memory_manager.h"
#include "model/cell_range.h"

// Asks for the label of the layer's selection and attaches it, with undo.
void custom_label_dialog(MemoryRef layer);
// Attaches a length-prefixed label to every cell of the selection, in front
// of the value (which 1) or behind it (2); which 0 or an empty text removes
// the labels. Nothing changes when the format change is refused.
void apply_custom_label(MemoryRef layer, int16_t which, const unsigned char* text);

// The layer's active cell, and its number (a constant or a formula's numeric
// result): false when it holds none.
CellPoint active_cell_of(MemoryRef layer);
bool active_cell_number(MemoryRef layer, double* value);
