// Typed entries through the formula parser's cell-input mode.
#include "formula/typed_entry.h"

#include <cstring>

#include "core/memory_use.h"
#include "formula/evaluator.h"
#include "formula/parser.h"

namespace {

TypedEntry parse_entry(std::string_view typed, CellPoint where, MemoryRef layer, uint8_t format) {
    TypedEntry entry;
    unsigned char text[256];
    text[0] = uint8_t(typed.size());
    std::memcpy(text + 1, typed.data(), typed.size());
    std::memcpy(entry.parsed_text, text, typed.size() + 1);
    MemoryRef formula = nullptr;
    entry.result = parse_formula_text(text, where, layer, &formula, &entry.kind, &entry.error_offset, format,
                                      entry.parsed_text);
    entry.value = g_value;
    if (formula) {
        MemoryUse<const uint8_t> bytes(formula);
        entry.formula.assign(bytes.get(), bytes + GetByteSize(formula));
        bytes.release();
        DisposeMemory(formula);
    }
    return entry;
}

}  // namespace

TypedEntry read_typed_entry(std::string_view typed, CellPoint where, MemoryRef layer, uint8_t format) {
    std::string_view number;
    uint8_t decimals = 0;
    if (split_percent_entry(typed, &number, &decimals)) {
        TypedEntry percent = parse_entry(number, where, layer, format);
        if (percent.result == 0 && percent.kind == kKindNumber) {
            percent.value /= 100;
            percent.percent = true;
            percent.percent_decimals = decimals;
            return percent;
        }
    }
    return parse_entry(typed, where, layer, format);
}
