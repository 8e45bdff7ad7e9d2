// Typed formula text: parsed, shown again (which must parse back to the same
// stored formula) and calculated.
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "core/memory_use.h"
#include "formula/evaluator.h"
#include "formula/formula_text.h"
#include "fuzz/fuzz_support.h"
#include "model/calc_globals.h"
#include "model/named_ranges.h"

namespace {

// The text a formula is shown as parses back to the same stored formula.
void expect_same_when_parsed_again(MemoryRef text, const std::vector<uint8_t>& stored, CellPoint cell,
                                   MemoryRef layer) {
    MemoryUse<const uint8_t> shown(text);
    const size_t size = size_t(GetByteSize(text));
    std::vector<uint8_t> reparsed;
    const bool same = size > 255 || (fuzz_parse_formula(shown, size, cell, layer, reparsed) && reparsed == stored);
    if (!same)
        std::fprintf(stderr, "formula text does not read back: %.*s\n", int(size),
                     reinterpret_cast<const char*>(shown.get()));
    shown.release();
    if (!same) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz_start_application();
    static MemoryRef workbook = sample::new_workbook();
    static MemoryRef layer = sample::new_layer(workbook);
    [[maybe_unused]] static const bool named = [] {
        sample::new_layer(workbook);  // a second layer for references across layers
        uint8_t record[kNamedRangeSize] = {};
        set_named_range(record, reinterpret_cast<const unsigned char*>("\x05Total"), CellRange{{0, 0}, {3, 0}});
        MemoryRef names = pgAllocateNewRef(&mem_globals, kNamedRangeSize, 0, 4, true);
        PtrAndMemory(record, names, 1);
        Set_rangeinfo(layer, names);
        return true;
    }();
    const CellPoint cell{3, 2};
    std::vector<uint8_t> stored;
    if (!fuzz_parse_formula(data, size, cell, layer, stored)) return 0;
    const uint8_t* bytes = stored.data();
    const int32_t length = int32_t(stored.size());
    MemoryRef text = Interpret(int32_t(cell.v) | int32_t(cell.h) << 16, bytes, bytes + length, layer, nullptr);
    if (text) expect_same_when_parsed_again(text, stored, cell, layer);
    DisposeNonNilMemory(text);
    g_calcSheet = layer;
    g_calcWork = workbook;
    g_calcCell = cell;
    Calculate(bytes, length);
    return 0;
}
