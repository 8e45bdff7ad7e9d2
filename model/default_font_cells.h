// Cells carried from one default font to another. A cell set in the default
// font (65535) spells its letters in the script of its layer's default, so a
// cell read while another font was the default (put back by undo after the
// Layout changed the default, or pasted from a layer whose default is of
// another script) keeps its letters as a change of the default keeps them.
#pragma once

#include <cstdint>
#include <string>

#include "core/memory_manager.h"
#include "model/cell_range.h"

// The record of `cell`, whose default font stood for `former_default`, for
// the layer's default now: unchanged unless the default font would read it as
// other letters; then it takes the default font as the Font menu sets one
// over `former_default` (the words the default's script spells follow the
// default, spelled in its script; the others keep `former_default`).
std::string cell_from_default(const uint8_t* cell, CellPoint where, int16_t former_default, MemoryRef layer);
// A block of cells (row records) whose default font stood for
// `former_default`, each cell as cell_from_default makes it: the block itself
// when no cell changes, else a new block the caller owns; none when memory
// ran out.
MemoryRef cells_from_default(MemoryRef block, int16_t former_default, MemoryRef layer);
