// Typed formula text: parsed, shown again (which must parse back to the same
// stored formula) and calculated.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "formula/evaluator.h"
#include "formula/formula_text.h"
#include "formula/parser.h"
#include "fuzz/fuzz_support.h"
#include "model/calc_globals.h"
#include "model/named_ranges.h"

namespace {

std::vector<uint8_t> block_bytes(MemoryRef block) {
    std::vector<uint8_t> bytes;
    if (!block) return bytes;
    auto* start = static_cast<const uint8_t*>(UseMemory(block));
    bytes.assign(start, start + GetByteSize(block));
    UnuseMemory(block);
    return bytes;
}

// The text a formula is shown as parses back to the same stored formula.
void expect_same_when_parsed_again(MemoryRef text, const std::vector<uint8_t>& stored, CellPoint cell,
                                   MemoryRef layer) {
    const std::vector<uint8_t> shown = block_bytes(text);
    if (shown.size() > 255) return;
    unsigned char typed[256];
    typed[0] = uint8_t(shown.size());
    std::memcpy(typed + 1, shown.data(), shown.size());
    MemoryRef again = nullptr;
    int16_t kind = 0;
    int32_t error_offset = 0;
    const bool parsed = parse_formula_text(typed, cell, layer, &again, &kind, &error_offset) == 0;
    const std::vector<uint8_t> reparsed = block_bytes(again);
    DisposeNonNilMemory(again);
    if (parsed && reparsed == stored) return;
    std::fprintf(stderr, "formula text does not read back: %.*s\n", int(shown.size()),
                 reinterpret_cast<const char*>(shown.data()));
    std::abort();
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
    unsigned char typed[256];
    typed[0] = uint8_t(std::min<size_t>(size, 255));
    std::memcpy(typed + 1, data, typed[0]);
    const CellPoint cell{3, 2};
    MemoryRef formula = nullptr;
    int16_t kind = 0;
    int32_t error_offset = 0;
    if (parse_formula_text(typed, cell, layer, &formula, &kind, &error_offset) == 0 && formula) {
        const std::vector<uint8_t> stored = block_bytes(formula);
        const uint8_t* bytes = stored.data();
        const int32_t length = int32_t(stored.size());
        MemoryRef text = Interpret(int32_t(cell.v) | int32_t(cell.h) << 16, bytes, bytes + length, layer, nullptr);
        expect_same_when_parsed_again(text, stored, cell, layer);
        DisposeNonNilMemory(text);
        g_calcSheet = layer;
        g_calcWork = workbook;
        g_calcCell = cell;
        Calculate(bytes, length);
    }
    DisposeNonNilMemory(formula);
    return 0;
}
