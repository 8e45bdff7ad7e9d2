// Unit conversion (worksheet function 101): unit names come from the string
// lists of the bundle (STR# 401 to 406, one per category, prefixes in STR#
// 400); each category converts through a base unit.
#pragma once

#include <cstdint>
#include "resource_ids.h"

constexpr int kUnitCategories = 6;

// The category (1 ... 6) and unit number of the name in g_CellString, or -1.
int16_t cUnits(int16_t* unit);
// Stores the converted value in g_value; nothing when a unit has no factor.
void unit_convert(int16_t category, int16_t from, int16_t to, double value);
// Function 101: value, from unit, to unit.
void unit_conversion_function();
