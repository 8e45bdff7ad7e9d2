// The calculation context: the layer and workbook being calculated. The
// evaluator sets it; the model reads it (the date system of the workbook a
// date is read for) and forgets a workbook or layer that is disposed.
#pragma once

#include "core/memory_manager.h"

extern MemoryRef g_calcSheet;
extern MemoryRef g_calcWork;
// The workbook of the layers a three-dimensional range reaches.
extern MemoryRef g_layerWorkSheet;

// Forgets a workbook or layer that is being disposed, so no later calculation
// reads it as its context.
void forget_calculation_context(MemoryRef disposed);

// Whether the workbook being calculated (or parsed into) uses the 1900 system.
bool calc_uses_1900_dates();
