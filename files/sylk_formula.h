// Formulas in SYLK form (references in R1C1 notation, layers by name,
// documents in square brackets) to and from the formulas of this system.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/memory_manager.h"
#include "model/cell_range.h"

// A SYLK expression (raw, escapes undecoded) for the cell at `at` as the
// formula text a user types, beginning with "=".
std::string sylk_expression_to_formula(std::string_view expression, CellPoint at, MemoryRef layer);

// A stored formula of the cell at `at` in SYLK form, unescaped.
void formula_to_sylk(const uint8_t* formula, int32_t length, CellPoint at, MemoryRef layer, std::string& out);
