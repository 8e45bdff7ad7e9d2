// Walks over the stored references of a workbook's formulas: every formula
// cell of every layer, and every reference of a formula that lies in the
// formula's own workbook (references into linked documents and named
// references are passed over).
#pragma once

#include <cstdint>
#include <functional>

#include "core/memory_manager.h"
#include "model/compiled_formula.h"
#include "model/cell_range.h"

// Calls visit(home cell, mutable formula bytes, length, layer index) for
// every formula cell of every layer of a workbook.
void for_each_formula(MemoryRef workbook, const std::function<void(CellPoint, uint8_t*, int32_t, int16_t)>& visit);

// Calls visit(token, mutable token bytes) for every reference of a formula
// that lies in the formula's own workbook.
template <typename Visit>
void for_each_own_reference(uint8_t* bytes, int32_t length, Visit&& visit) {
    bool after_link = false;
    walk_formula(bytes, length, [&](const FormulaToken& token) {
        if (token.kind == FormulaTokenKind::link) {
            after_link = true;
            return true;
        }
        if (token.kind != FormulaTokenKind::reference) return true;
        if (!after_link && token.ref.kind != ReferenceKind::name)
            visit(token, bytes + (token.start - bytes));
        after_link = false;
        return true;
    });
}
