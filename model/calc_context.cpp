// The calculation context the evaluator sets and the model reads.
#include "model/calc_context.h"

#include "model/workbook.h"

MemoryRef g_calcSheet = nullptr;
MemoryRef g_calcWork = nullptr;
MemoryRef g_layerWorkSheet = nullptr;

void forget_calculation_context(MemoryRef disposed) {
    if (!disposed) return;
    if (g_calcWork == disposed) g_calcWork = nullptr;
    if (g_calcSheet == disposed) g_calcSheet = nullptr;
    if (g_layerWorkSheet == disposed) g_layerWorkSheet = nullptr;
}

bool calc_uses_1900_dates() {
    MemoryRef workbook = g_calcWork;
    if (!workbook && g_calcSheet) workbook = GetWorkSheet(g_calcSheet);
    return workbook && Get_1900Date_Flag(workbook);
}
