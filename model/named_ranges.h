// Named ranges of a layer: a list of 40-byte NamedRangeRecords (a Str31 name,
// then top row, left column, bottom row, right column as i16), or none.
#pragma once

#include <cstdint>

#include "core/memory_manager.h"
#include "model/cell_range.h"

constexpr int kNamedRangeSize = 40;
constexpr int kNamedRangeNameSize = 32;

MemoryRef Get_rangeinfo(MemoryRef layer);
void Set_rangeinfo(MemoryRef layer, MemoryRef list);

// Reads and writes one record's fields.
void named_range_name(const uint8_t* record, unsigned char* name);
CellRange named_range_cells(const uint8_t* record);
void set_named_range(uint8_t* record, const unsigned char* name, const CellRange& range);

// The range of the first name of the list equal to `name` without regard to
// case or diacritical marks; 0 when the list has none (or there is no list).
int16_t find_named_range(MemoryRef list, const unsigned char* name, CellRange* range);
