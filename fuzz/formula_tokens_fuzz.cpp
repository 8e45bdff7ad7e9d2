// Stored formula tokens as a document holds them: byte order walked, shown
// as text and calculated.
#include <vector>

#include "files/formula_walk.h"
#include "formula/evaluator.h"
#include "formula/formula_text.h"
#include "fuzz/fuzz_support.h"
#include "model/calc_globals.h"

namespace {
void swap_operand(uint8_t* operand, void*) { std::swap(operand[0], operand[1]); }
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz_start_application();
    static MemoryRef workbook = sample::new_workbook();
    static MemoryRef layer = sample::new_layer(workbook);
    if (size > 4096) return 0;
    std::vector<uint8_t> bytes(data, data + size);
    bytes.reserve(1);  // never a null pointer, as a cell's body never is
    const CellPoint cell{5, 4};
    MemoryRef text = Interpret(int32_t(cell.v) | int32_t(cell.h) << 16, bytes.data(), bytes.data() + size, layer,
                               nullptr);
    DisposeNonNilMemory(text);
    g_calcSheet = layer;
    g_calcWork = workbook;
    g_calcCell = cell;
    Calculate(bytes.data(), int32_t(size));
    walk_stored_formula(bytes.data(), int32_t(size), FormulaWalk{swap_operand, nullptr, nullptr});
    return 0;
}
