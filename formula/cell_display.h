// The text of a value as a cell format shows it.
#pragma once

#include <cstdint>

#include "core/memory_manager.h"

// The value formatted by the 32-byte format with fixed decimals, for the
// layer (or none).
void get_format_string(unsigned char* text, const uint8_t* format, const double* value, MemoryRef layer);
