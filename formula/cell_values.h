// Cell values for the evaluator: a cell of the layer being calculated, or of
// any layer of a workbook, fetched into the value registers. Empty and
// missing cells are the number 0 with the empty type; references outside the
// grid are the reference error.
#pragma once

#include <cstdint>

#include "core/memory_manager.h"
#include "model/cell_range.h"

// Sets the registers from one cell record: 0, or nonzero without setting
// them when the cell holds no value.
int16_t extract_value(const uint8_t* cell);
void GetCellValue(CellPoint cell);
void GetLayerValue(MemoryRef workbook, int16_t layer_index, CellPoint cell, int16_t use_cache);
// 1 and the number when the cell holds a number (a constant or a formula
// with a number result), else 0 with `value` unchanged.
int16_t CellValue(MemoryRef layer, CellPoint cell, double* value);

// The number a text spells (a number, else a date, else the text error).
double number_of_text(const unsigned char* text);
