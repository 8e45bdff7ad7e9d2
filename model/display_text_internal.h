// Pieces of the display text shared between its number and date halves.
#pragma once

#include <cstdint>
#include <string>

#include "model/display_text.h"

// Appending to a length-prefixed text, stopping at 255 bytes.
void append_text(unsigned char* text, const char* bytes, size_t count);
inline void append_text(unsigned char* text, const std::string& bytes) {
    append_text(text, bytes.data(), bytes.size());
}
void append_byte(unsigned char* text, unsigned char byte);
void set_text(unsigned char* text, const std::string& bytes);

// Whether the workbook of the layer counts dates in the 1900 system.
bool layer_uses_1900_dates(MemoryRef layer);

// The date or time text of the record's value by its format code (codes below
// 31 or above 109); false, with no text, when the calendar cannot show the
// date (or time) the value names.
bool format_date_text(CellInfoRecord* info);
