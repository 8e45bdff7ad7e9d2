// Support routines of the lookup and conditional functions.
#pragma once

#include <cstdint>

// The script's collation order of two texts: -1, 0 or 1.
int16_t LookupCompareText(const unsigned char* a, int16_t a_script, const unsigned char* b, int16_t b_script);

// Reads the reference written in a text (lower-case ASCII letters taken as
// upper case) as if it stood in the formula: the registers get the
// referenced cells and the first cell's value; the reading position of the
// formula is kept. The size of the stored reference, 0 when the text is none.
int32_t find_referenceCell(const unsigned char* text);
