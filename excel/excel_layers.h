// A workbook read by the record filter, put into this program's layers.
#pragma once

#include "core/memory_manager.h"
#include "excel/excel_book.h"

#include <vector>

// Fills `first_layer` and a new layer after it for every further worksheet,
// reading each sheet's cells from the stream the book was read from straight
// into the layer's records; the stream's bytes are let go of as they are read
// (it is of no further use). 0, or the memory error or kExcelUnreadableErr
// (damaged formula tokens) with the layers made here removed again and the
// first one without cells or names of the workbook's.
int16_t fill_excel_layers(ExcelBook& book, std::vector<uint8_t>& stream, MemoryRef first_layer);
