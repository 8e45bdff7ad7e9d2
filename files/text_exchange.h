// Tab- and comma-separated text: reading a file or a block of text into a
// layer's cells, and writing a range of cells as text. The readers work on
// bytes in memory, so that they serve files, the clipboard and drops alike.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/memory_manager.h"
#include "files/import_report.h"
#include "files/text_encoding.h"
#include "model/calc_globals.h"
#include "model/cell_range.h"
#include "platform/files/files.h"
#include "resource_ids.h"

constexpr uint8_t kTabSeparator = '\t';
constexpr uint8_t kCommaSeparator = ',';
constexpr uint8_t kSpaceSeparator = ' ';
constexpr uint8_t kSemicolonSeparator = ';';

constexpr pf::FourCC kTabFileType = pf::four_cc("TAB ");
constexpr pf::FourCC kCsvFileType = pf::four_cc("CSV ");

// The answer of InputTextData when the user cancelled.
constexpr int16_t kTextCancelled = 1000;

// Messages of the text reader (STR# 170).
constexpr int16_t kUnmappedCharacters = 1;  // characters replaced by "?"
constexpr int16_t kRowsCut = 2;             // rows past the last row left out
constexpr int16_t kColumnsCut = 3;          // fields past the last column left out
constexpr int16_t kTextsCut = 4;            // texts longer than a cell holds cut
constexpr int16_t kCellsBeyondGrid = 5;     // SYLK cells past the last row or column left out
constexpr int16_t kFormulasKeptAsValues = 6;  // SYLK formulas that do not convert
constexpr int16_t kCharactersGuessed = 7;   // characters of a file in no Unicode form, read as Mac Roman
constexpr int16_t kDatesShownAsNumbers = 8;  // dates the calendar here cannot show, their cells showing numbers
constexpr int16_t kFormulasInScripts = 9;    // formulas no one script spells, kept as text

// ---- Reading ------------------------------------------------------------------

// Reads a text file into an empty layer: SYLK by its first bytes, else tab
// text for type "TAB ", CSV for "CSV ", tab text for any other type when the
// text holds a tab, and otherwise the separator the user picks, as for a CSV
// whose first lines are split by semicolons (semicolon offered first). 0, kTextCancelled when the user cancels the
// choice or the reading (nothing is read), -1 when the file cannot be read, or
// an error (shown). What the read lost is
// shown; when the workbook was opened from this file, the loss is marked in
// its record `file_info`, which takes the format read (SYLK, CSV or tab text).
int16_t ReadTextFile(const pf::FileSpec& spec, MemoryRef file_info, MemoryRef layer, pf::FourCC type);

// The bytes of a whole text file into an empty layer with a known separator
// (SYLK by its first bytes whatever the separator): 0, kTextCancelled (the
// layer unchanged) or an error.
int16_t read_text_bytes(std::string_view bytes, uint8_t separator, MemoryRef layer, ImportReport* report);
// The same for a text already decoded (Mac Roman, or UTF-8 spelled field by
// field when scripted).
int16_t read_decoded_text(const DecodedText& decoded, uint8_t separator, MemoryRef layer, ImportReport* report);

// Splits Mac Roman text into lines and fields and makes a cell of each
// field, as a new cell block; `range` gives the start column and receives
// the rows and columns filled. 0, kTextCancelled, or the memory manager's
// error. `progress` drives the machine's progress procedure.
int16_t InputTextData(bool* progress, uint8_t separator, MemoryRef text, MemoryRef style, MemoryRef* cells,
                      CellRange* range, MemoryRef layer);

// The same on text in hand, into a cell store in `store`.
int16_t read_text_cells(std::string_view text, uint8_t separator, int16_t start_column, MemoryRef layer,
                        std::string& store, CellRange* range, ImportReport* report);

// Whether the user holds Command-period to stop a long read.
bool reading_stopped();

// ---- Writing ------------------------------------------------------------------

// How a field is written: formulas as their text, the displayed text, raw
// values (numbers as typed), or exact values (every number in full, for
// comparing results).
enum class FieldSource : uint8_t { formulas, displayed, values, exact_values };

// A range of cells as text, one line per row. With a counter the text goes to
// the open file row by row (as UTF-8, each cell's text converted from its
// script, lines ending CR LF); otherwise into `out` (the cells' own bytes,
// lines ending CR). Dates count in the system of the layer's workbook, or,
// for cells given without their layer, from 1900 with `dates_1900`. 0 or an error.
int16_t WriteTextData(MachineRecord* machine, int16_t formulas, int16_t displayed, uint8_t separator,
                      MemoryRef cells, MemoryRef* out, pf::Handle* style, CellPoint top_left,
                      CellPoint bottom_right, int32_t* counter, MemoryRef layer, bool dates_1900);

// The whole layer as text into the open file, row by row, in the form given:
// its encoding (a byte-order mark first when the form has one) and line ends;
// each cell's text converted from its script. A reference to the layer
// itself is written without a layer part; a formula that refers to another
// layer or to a named range, which the file cannot hold, goes out as its
// value, counted in `losses` when given. 0 or an error.
int16_t write_text_file(MemoryRef layer, FieldSource source, uint8_t separator, const TextFileForm& form,
                        int32_t* counter, ExportReport* losses = nullptr);

// The whole layer as text in memory, as write_text_file writes it in the
// form given: 0, or an error with `out` empty.
int16_t layer_text(MemoryRef layer, FieldSource source, uint8_t separator, const TextFileForm& form, std::string& out,
                   ExportReport* losses = nullptr);
// The same in UTF-8 with lines ending CR LF.
std::string layer_text(MemoryRef layer, FieldSource source, uint8_t separator);

// One CSV field: quoted when it holds the separator, a double quote, a
// carriage return or a line feed, with every double quote doubled.
void WriteCSVCell(std::string_view text, uint8_t separator, std::string& out);
