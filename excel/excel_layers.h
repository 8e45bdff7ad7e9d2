// A workbook read by the record filter, put into this program's layers.
#pragma once

#include "core/memory_manager.h"
#include "excel/excel_book.h"

// Fills `first_layer` and a new layer after it for every further worksheet.
// 0, or the memory error with the layers made here removed again.
int16_t fill_excel_layers(ExcelBook& book, MemoryRef first_layer);
