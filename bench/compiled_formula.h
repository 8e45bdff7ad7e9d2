// A formula compiled as if typed into a cell, for the benchmarks that store
// formula cells or time their evaluation.
#pragma once

#include <cstring>
#include <string>
#include <vector>

#include "core/memory_manager.h"
#include "core/memory_use.h"
#include "formula/parser.h"

// The compiled bytes of `text` typed into `cell` of the layer; empty when the
// text does not parse.
inline std::vector<uint8_t> compile_formula(const std::string& text, CellPoint cell, MemoryRef layer) {
    unsigned char typed[256];
    typed[0] = uint8_t(text.size());
    std::memcpy(typed + 1, text.data(), text.size());
    MemoryRef formula = nullptr;
    int16_t kind = 0;
    parse_formula_text(typed, cell, layer, &formula, &kind, nullptr);
    std::vector<uint8_t> bytes;
    if (formula) {
        MemoryUse<const uint8_t> compiled(formula);
        bytes.assign(compiled.get(), compiled + GetByteSize(formula));
        compiled.release();
        DisposeMemory(formula);
    }
    return bytes;
}
