// Typed formula text: parsed, shown again and calculated.
#include <algorithm>
#include <cstring>

#include "formula/evaluator.h"
#include "formula/formula_text.h"
#include "formula/parser.h"
#include "fuzz/fuzz_support.h"
#include "model/calc_globals.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz_start_application();
    static MemoryRef workbook = sample::new_workbook();
    static MemoryRef layer = sample::new_layer(workbook);
    unsigned char typed[256];
    typed[0] = uint8_t(std::min<size_t>(size, 255));
    std::memcpy(typed + 1, data, typed[0]);
    const CellPoint cell{3, 2};
    MemoryRef formula = nullptr;
    int16_t kind = 0;
    int32_t error_offset = 0;
    if (parse_formula_text(typed, cell, layer, &formula, &kind, &error_offset) == 0 && formula) {
        auto* bytes = static_cast<const uint8_t*>(UseMemory(formula));
        const int32_t length = GetByteSize(formula);
        MemoryRef text = Interpret(int32_t(cell.v) | int32_t(cell.h) << 16, bytes, bytes + length, layer, nullptr);
        DisposeNonNilMemory(text);
        g_calcSheet = layer;
        g_calcWork = workbook;
        g_calcCell = cell;
        Calculate(bytes, length);
        UnuseMemory(formula);
    }
    DisposeNonNilMemory(formula);
    return 0;
}
