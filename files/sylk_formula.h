// Formulas in SYLK form (references in R1C1 notation, layers by name,
// documents in square brackets) to and from the formulas of this system.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/memory_manager.h"
#include "model/cell_range.h"

// A SYLK expression (raw, escapes undecoded) for the cell at `at` as the
// formula text a user types, beginning with "=". A name before "!", quoted or
// not, is a layer's: `unheld_layer`, when given, tells whether one names a
// layer the workbook of `layer` does not hold.
std::string sylk_expression_to_formula(std::string_view expression, CellPoint at, MemoryRef layer,
                                       bool* unheld_layer = nullptr);

// Whether SYLK names every layer that the stored formula of `layer` refers
// to: the own layer, or another of its workbook that has a name.
bool sylk_names_every_layer(const uint8_t* formula, int32_t length, MemoryRef layer);

// A stored formula of the cell at `at` in SYLK form, unescaped.
void formula_to_sylk(const uint8_t* formula, int32_t length, CellPoint at, MemoryRef layer, std::string& out);
