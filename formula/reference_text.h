// The text of references as users type them (B3, $B$3, A1:C4, A:C, 2:5,
// layer prefixes 2:A1 and 1:3:A1:C4, named ranges) turned into the reference
// tokens of stored formulas or into cell ranges; and the look-ups by text
// that the formula code needs: named ranges, linked documents, range names.
#pragma once

#include <cstdint>
#include <string>

#include "core/memory_manager.h"
#include "model/cell_range.h"

// When the upper-cased text is a reference (or, with a layer, a name of the
// layer), appends its token to ParserReturn and sets Sy to 12; otherwise
// leaves Sy at 14 and appends nothing. Relative parts are stored against
// g_calcCell and the layer id of g_calcSheet.
void RangeToRect(const unsigned char* text, MemoryRef layer);

// A cell, range, whole-column or whole-row reference written in the name of a
// 40-byte named-range record: 1 with the rectangle written to the record and,
// when asked, the layers (first, last; -1, -1 without a layer part).
int16_t Parse_Rect(uint8_t* record, int16_t* layers, MemoryRef layer);

// A range of the layer by its reference text ("B2", "$A$1:C4") or by the
// name of one of its named ranges; false for other layers' references and
// for texts of 32 characters or more.
bool range_by_text(const std::string& text, MemoryRef layer, CellRange& range);

// 1 when the layer has a named range of that name (case and marks ignored):
// the rectangle is filled and the buffer receives the name as defined.
// Otherwise 0, and g_value becomes the reference error.
int16_t MatchRangeStr(unsigned char* name, CellRange* rect, MemoryRef layer);

// 1 when the text may not name a range.
int16_t TestRangeChars(const unsigned char* text);

// The document name of the layer's link with that id, or the empty text.
void GetFileStr(int16_t link_id, unsigned char* name, MemoryRef layer);

// Reading parts of a reference text from `position` (0-based, advanced): an
// optional "$" and the digits (the number - 1) or the letters (the column).
// -1 when the part is missing or past the grid.
int32_t NumberChunk(const unsigned char* text, int* position, bool* absolute);
int32_t LetterChunk(const unsigned char* text, int* position, bool* absolute);

// 1 when the text holds a character other than a letter, a digit or "$".
int16_t Chunk_Type(const unsigned char* text, bool* has_letters, bool* has_digits);
