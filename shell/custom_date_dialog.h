// The custom date and time format of the Date menu: a format text in the
// stored letters d, m and y, typed in the user's own letters.
#pragma once

#include <cstdint>

#include "core/memory_manager.h"

// Converts a length-prefixed format text in place from the user's letters
// for day, month and year (the first characters of STR# 251 items 1 to 3) to
// d, m and y, keeping case; quoted text and "am/pm" or "AM/PM" stay as typed.
void ConvertIntlFormatDate(unsigned char* text);
// The same with the user's three letters (lower case) given.
void convert_format_letters(unsigned char* text, const unsigned char* user);

// Gives the selection the custom format with that (converted) text, with
// undo: format code 120, the text as every cell's custom label; an empty
// text leaves the code and clears the text's mark. 1 when applied.
int16_t apply_custom_date(MemoryRef layer, const unsigned char* text);

// The dialog over the layer's selection: 1 when a format was applied, 0 when cancelled.
int16_t CustomDateDialog(MemoryRef layer);
