// The formats of a layer: the format of a stored cell, the sorted arrays of
// ColumnFormat (64 bytes) and RowFormat (32 bytes) records, and the rule that
// gives an address its effective format.
#pragma once

#include <cstdint>
#include <string>

#include "core/memory_manager.h"
#include "model/cell_format.h"
#include "model/cell_range.h"
#include "platform/draw/colour.h"

constexpr int kFormatArrayExtend = 10;
constexpr int16_t kBadRangeErr = 518;

// Cell formats.
int16_t get_cell_format(uint8_t* format, CellPoint where, MemoryRef layer);
void GetCellStrings(CellPoint where, unsigned char* label, unsigned char* note, MemoryRef layer);
void AddFormatCell(int16_t column, MemoryRef block);

// Looking up a record. The array stays in use when a record is found; the
// caller releases it with UnuseMemory.
uint8_t* FindColumnFormatID(MemoryRef array, int16_t column);
uint8_t* FindRowFormatID(MemoryRef array, int16_t row);

// Effective formats.
int16_t get_format(uint8_t* format, CellPoint where, MemoryRef layer);
void GetSelectFormat(uint8_t* format, MemoryRef layer, int16_t use_cache);

// Maintenance of the arrays; ranges are inclusive, packed first << 16 | last
// for the Input forms.
int16_t InputColumnFormat(MemoryRef layer, int32_t range);
int16_t InputRowFormat(MemoryRef layer, int32_t range);
void DeleteColumnFormat(int16_t first, int16_t last, MemoryRef* array);
void DeleteRowFormat(int16_t first, int16_t last, MemoryRef* array);
void VerifyColumnFormat(MemoryRef* array);
void VerifyRowFormat(MemoryRef* array);
void SetColumnSize(int16_t first, int16_t last, int16_t width, MemoryRef array);
void SetRowSize(int16_t first, int16_t last, int16_t height, MemoryRef array);
MemoryRef CopyColumnFormat(int16_t first, int16_t last, MemoryRef array);
MemoryRef CopyRowFormat(int16_t first, int16_t last, MemoryRef array);
int32_t CountRowColumns(int16_t first, int16_t last, MemoryRef array);
void SetColumnByte(int16_t first, int16_t last, int16_t field, int16_t value, bool clear,
                   MemoryRef array);
void SetRowByte(int16_t first, int16_t last, int16_t field, int16_t value, bool clear, MemoryRef array);

// Changes one field of a format block; with memory globals, a text cell's
// style runs follow a change of font, size, face or colour. `force` skips the
// script check of a font change; the default font and size stand for 65535
// and 255.
void SetFormatByte(uint8_t* format, int16_t field, int16_t value, bool clear, bool force,
                   int16_t default_font, int16_t default_size, MemoryGlobals* globals);

// The record of `cell` (stored at `where`) set in `font` (65535: the layer's
// default) with every letter kept. The words of a text that the font's script
// spells take the font, spelled in that script; the others keep the font of
// their run, a text without runs becoming one in runs when it has both kinds;
// a text of which the script spells no word keeps its font. So does a typed
// number or a formula whose text the font would read as other letters; a
// formula's text result keeps its script.
std::string cell_in_font(const uint8_t* cell, CellPoint where, uint16_t font, MemoryRef layer);
// The record of `cell` under the whole of `format` (all but the cell's own
// id, type and lengths), every letter kept: its font as cell_in_font sets
// one; a text's runs go when its letters read the same without them, else
// they take the format's size, face and colour.
std::string cell_in_format(const uint8_t* cell, CellPoint where, const uint8_t* format, MemoryRef layer);

// Style runs of text cells.
// The colour a run of text takes for a cell colour code.
pf::RGBColor colour_of_code(int16_t code);
void format_styled_text(uint8_t* cell, const int16_t* font, const int16_t* size, const int16_t* colour,
                        const uint8_t* face, bool force, MemoryGlobals* globals);
MemoryRef _get_style_handle(MemoryGlobals* globals, uint8_t* cell);
void get_style_format(uint8_t* cell, uint8_t* format);
void synchronise_style(MemoryRef layer, const uint8_t* runs, uint8_t* format, bool keep_12);

// The text the entry line shows for a cell, as a new block of bytes (empty for
// an empty address), and its effective format; for a text cell with style
// runs, `style_runs` (when given) receives a copy of them.
MemoryRef Get_CellText(CellPoint where, uint8_t* format, MemoryRef* style_runs, MemoryRef layer);
