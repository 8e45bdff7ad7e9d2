// Opening Excel workbooks: an OLE2 compound file holding a "Workbook" (BIFF8)
// or "Book" (BIFF5/7) stream, or a bare record stream (a BIFF4 worksheet
// file, or a BIFF5/8 workbook stream without its container). Every
// worksheet becomes a layer of the workbook, the first one the layer given.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/memory_manager.h"
#include "files/import_report.h"
#include "platform/files/files.h"
#include "resource_ids.h"

constexpr int16_t kExcelUnreadableErr = 1003;
constexpr int16_t kExcelPasswordNote = 1;
constexpr int16_t kExcelFormulasNote = 2;
constexpr int16_t kExcelCharactersNote = 3;
constexpr int16_t kExcelBeyondGridNote = 4;
constexpr int16_t kExcelTextsCutNote = 5;
constexpr int16_t kExcelNamesDroppedNote = 6;
constexpr int16_t kExcelDatesNote = 7;
constexpr int16_t kExcelMoreCells = 8;
constexpr int16_t kExcelCurrenciesNote = 9;
constexpr int16_t kExcelCommentsNote = 10;
constexpr int16_t kExcelSheetNamesNote = 11;
constexpr int16_t kExcelDurationsNote = 12;

// Whether the first bytes of a file are those of an Excel workbook.
bool is_excel_head(const unsigned char* head, size_t length);

// Reads the workbook into `layer` and new layers after it. Reports its own
// errors: error 1003 for contents it cannot read, a note for a workbook
// protected by a password; what was lost is noted and marked in the file
// record. Answers 0, or non-zero with the workbook's layers as they were.
int16_t ReadExcelFile(const pf::FileSpec& spec, MemoryRef file_info, MemoryRef layer);

// The same from the file's bytes, without reporting: 0, kExcelUnreadableErr,
// or kExcelPasswordNote for a protected workbook.
// What was lost goes into `notes`: formulas kept as their values, characters
// replaced, cells past the grid, texts cut, names left out.
int16_t read_excel_bytes(const std::vector<uint8_t>& file, MemoryRef layer, ImportReport* notes);
