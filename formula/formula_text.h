// Formula text: a stored formula written back as the text a user types, with
// relative references resolved against the formula's own cell, function
// names from WordArray and the international separators.
#pragma once

#include <cstdint>

#include "core/memory_manager.h"
#include "resource_ids.h"

constexpr int kOffSheetItem = 20;
constexpr int kUnknownLinkItem = 21;

// The text of the bytes [first, end) of a formula held by `cell` (row in the
// low half, column in the high half), in a new block of 1-byte records. The
// layer resolves links and relative layers; without memory globals the
// manager's own are used.
MemoryRef Interpret(int32_t cell, const uint8_t* first, const uint8_t* end, MemoryRef layer,
                    MemoryGlobals* memory);
// The same for a file that holds the formula's layer alone: a reference to
// that layer goes without its layer part.
MemoryRef layer_file_formula_text(int32_t cell, const uint8_t* first, const uint8_t* end, MemoryRef layer,
                                  MemoryGlobals* memory);
