// References that follow a moved block of cells: those of the moved formulas
// to cells outside the block keep their targets, and those of every formula
// of the workbook into the block follow the cells.
#include <algorithm>
#include <cstring>

#include "model/move_references.h"
#include "core/memory_use.h"
#include "model/compiled_formula.h"
#include "model/cell_record.h"
#include "model/cell_store.h"
#include "model/layer.h"
#include "model/named_ranges.h"
#include "model/reference_walk.h"
#include "model/workbook.h"

namespace {

constexpr int kLayerPartSize = 6;  // "R", marker, first, last

// The stored corners of a cell or range reference: their bytes and whether
// each coordinate is absolute. A cell has one corner.
struct Corners {
    int count = 0;
    uint8_t* row[2] = {};
    uint8_t* column[2] = {};
    bool row_absolute[2] = {};
    bool column_absolute[2] = {};

    CellPoint target(int i, CellPoint home) const {
        int16_t r = load_i16(row[i]), c = load_i16(column[i]);
        return CellPoint{int16_t(row_absolute[i] ? r : r + home.v), int16_t(column_absolute[i] ? c : c + home.h)};
    }
    void add(int i, CellPoint delta, bool relative_only) {
        if (!relative_only || !row_absolute[i]) store_i16(row[i], int16_t(load_i16(row[i]) + delta.v));
        if (!relative_only || !column_absolute[i]) store_i16(column[i], int16_t(load_i16(column[i]) + delta.h));
    }
};

void set_corner(Corners* corners, uint8_t marker, uint8_t* row, uint8_t* column) {
    const int i = corners->count++;
    corners->row[i] = row;
    corners->column[i] = column;
    corners->row_absolute[i] = marker_first_absolute(marker);
    corners->column_absolute[i] = marker_second_absolute(marker);
}

// False for a body whose markers are not position markers.
bool corners_of(const FormulaToken& token, uint8_t* bytes, Corners* corners) {
    uint8_t* body = bytes + 1 + (token.ref.three_d ? kLayerPartSize : 0);
    if (token.ref.kind == ReferenceKind::cell) {
        if (!is_position_marker(body[0])) return false;
        set_corner(corners, body[0], body + 1, body + 3);
        return true;
    }
    if (!is_position_marker(body[1]) || !is_position_marker(body[2])) return false;
    set_corner(corners, body[1], body + 3, body + 5);
    set_corner(corners, body[2], body + 7, body + 9);
    return true;
}

// The layers a reference names; false for an unreadable qualifier.
bool layer_span(const FormulaToken& token, int16_t own, int32_t* first, int32_t* last) {
    *first = *last = own;
    if (!token.ref.three_d) return true;
    const uint8_t m = token.ref.layer_marker;
    if (!is_position_marker(m)) return false;
    *first = marker_second_absolute(m) ? token.ref.first_layer : token.ref.first_layer + own;
    *last = marker_first_absolute(m) ? token.ref.last_layer : token.ref.last_layer + own;
    return true;
}

// The one layer a reference names, or -1 when it names a span of layers (or
// an unreadable qualifier).
int32_t named_layer(const FormulaToken& token, int16_t own) {
    int32_t first, last;
    return layer_span(token, own, &first, &last) && first == last ? first : -1;
}

bool inside(const CellRange& block, CellPoint p) { return range_contains(block, p.v, p.h); }

bool meets(const CellRange& area, CellPoint a, CellPoint b) {
    return std::max(a.v, b.v) >= area.topLeft.v && std::min(a.v, b.v) <= area.botRight.v &&
           std::max(a.h, b.h) >= area.topLeft.h && std::min(a.h, b.h) <= area.botRight.h;
}

// Calls visit(token, bytes) for each "@" reference of a stored formula
// (position arguments keep their bytes).
template <typename Visit>
void for_each_rewritable(uint8_t* formula, int32_t length, Visit&& visit) {
    for_each_own_reference(formula, length, [&](const FormulaToken& token, uint8_t* bytes) {
        if (!token.ref.position_only) visit(token, bytes);
    });
}

// References of one formula into the block follow it by delta.
void follow_block(uint8_t* formula, int32_t length, CellPoint home, CellPoint delta, const CellRange& block,
                  int16_t formula_layer, int16_t moved_layer) {
    for_each_rewritable(formula, length, [&](const FormulaToken& token, uint8_t* bytes) {
        if (named_layer(token, formula_layer) != moved_layer) return;
        Corners corners;
        if (!corners_of(token, bytes, &corners)) return;
        for (int i = 0; i < corners.count; ++i)
            if (!inside(block, corners.target(i, home))) return;
        for (int i = 0; i < corners.count; ++i) corners.add(i, delta, false);
    });
}

}  // namespace

void ResetMoveRect(const CellRange* block, CellPoint delta, MemoryRef cells, int16_t own_layer) {
    if (!cells || GetByteSize(cells) == 0) return;
    MemoryUse<uint8_t> start(cells);
    uint8_t* end = start + GetByteSize(cells);
    for (uint8_t* row = start; row < end; row += _RowLength_(row)) {
        if (_RowID_(row) < block->topLeft.v || _RowID_(row) > block->botRight.v) continue;
        for (uint8_t* cell = row + kRowHeaderSize; cell < row + _RowLength_(row); cell += _cellLength_(cell)) {
            if (_cellID_(cell) > block->botRight.h) break;
            if (_cellType_(cell) != kCellFormula) continue;
            const CellPoint home{_RowID_(row), _cellID_(cell)};
            for_each_rewritable(_formulaPtr_(cell), _formulaLength_(cell), [&](const FormulaToken& token, uint8_t* bytes) {
                Corners corners;
                if (!corners_of(token, bytes, &corners)) return;
                // A qualifier naming the formula's own layer points where no qualifier would.
                const bool own = !token.ref.three_d || (own_layer >= 0 && named_layer(token, own_layer) == own_layer);
                if (own && inside(*block, corners.target(0, home))) return;
                for (int i = 0; i < corners.count; ++i) corners.add(i, delta, true);
            });
        }
    }
}

void rewrite_references_into(const CellRange* block, CellPoint delta, MemoryRef layer, const CellRange* also_skipped) {
    const int16_t moved = GetSheetID(layer);
    for_each_formula(GetWorkSheet(layer), [&](CellPoint home, uint8_t* formula, int32_t length, int16_t index) {
        if (index == moved && (inside(*block, home) || (also_skipped && inside(*also_skipped, home)))) return;
        follow_block(formula, length, home, delta, *block, index, moved);
    });
}

void ResetMoveRect(const CellRange* block, CellPoint delta, MemoryRef cells) { ResetMoveRect(block, delta, cells, -1); }

void ResetAccessRect(const CellRange* block, CellPoint delta, MemoryRef layer) {
    rewrite_references_into(block, delta, layer, nullptr);
}

namespace {

// A saved formula: layer index, row, column and length (i16 each), then its bytes.
constexpr int kSavedHeaderSize = 8;

// Whether a formula refers to the layer at all (areas none) or to cells of
// the layer inside one of the areas.
bool refers_to(uint8_t* formula, int32_t length, CellPoint home, int16_t own, int16_t target, const CellRange* area_a,
               const CellRange* area_b) {
    bool found = false;
    for_each_own_reference(formula, length, [&](const FormulaToken& token, uint8_t* bytes) {
        int32_t first, last;
        if (found || !layer_span(token, own, &first, &last) || first > target || last < target) return;
        Corners corners;
        if (!area_a || !corners_of(token, bytes, &corners)) {
            found = !area_a;
            return;
        }
        const CellPoint a = corners.target(0, home), b = corners.target(corners.count - 1, home);
        found = meets(*area_a, a, b) || (area_b && meets(*area_b, a, b));
    });
    return found;
}

}  // namespace

MemoryRef save_referring_formulas(MemoryRef layer, const CellRange* area_a, const CellRange* area_b) {
    const int16_t target = GetSheetID(layer);
    MemoryGlobals* globals = GetMemoryGlobals(layer);
    MemoryRef saved = pgAllocateNewRef(globals, 1, 0, 256, false);
    if (!saved) msFailure(globals, kNoMemoryErr, nullptr);
    for_each_formula(GetWorkSheet(layer), [&](CellPoint home, uint8_t* formula, int32_t length, int16_t index) {
        if (index == target && (!area_a || inside(*area_a, home) || (area_b && inside(*area_b, home)))) return;
        if (!refers_to(formula, length, home, index, target, area_a, area_b)) return;
        uint8_t header[kSavedHeaderSize];
        store_i16(header, index);
        store_i16(header + 2, home.v);
        store_i16(header + 4, home.h);
        store_i16(header + 6, int16_t(length));
        PtrAndMemory(header, saved, kSavedHeaderSize);
        PtrAndMemory(formula, saved, length);
    });
    return saved;
}

void restore_saved_formulas(MemoryRef saved, MemoryRef workbook) {
    if (!saved) return;
    MemoryUse<uint8_t> start(saved);
    const uint8_t* end = start + GetByteSize(saved);
    for (const uint8_t* entry = start; end - entry >= kSavedHeaderSize;) {
        const int16_t length = load_i16(entry + 6);
        const uint8_t* bytes = entry + kSavedHeaderSize;
        if (length < 0 || end - bytes < length) break;
        MemoryRef on = find_SpreadSheet_item(workbook, load_i16(entry));
        uint8_t* cell = nullptr;
        int16_t cell_length = 0;
        // Rewriting references never changes a formula's length.
        if (on && get_cell_ptr(&cell, &cell_length, CellPoint{load_i16(entry + 2), load_i16(entry + 4)}, on) &&
            _cellType_(cell) == kCellFormula && _formulaLength_(cell) == length)
            std::memcpy(_formulaPtr_(cell), bytes, size_t(length));
        entry = bytes + length;
    }
}

CellRange moved_by(const CellRange& range, CellPoint delta) {
    return CellRange{{int16_t(range.topLeft.v + delta.v), int16_t(range.topLeft.h + delta.h)},
                     {int16_t(range.botRight.v + delta.v), int16_t(range.botRight.h + delta.h)}};
}

void MoveRange(const CellRange* block, CellPoint negated_delta, MemoryRef layer) {
    MemoryRef list = Get_rangeinfo(layer);
    if (!list) return;
    const CellPoint delta{int16_t(-negated_delta.v), int16_t(-negated_delta.h)};
    MemoryUse<uint8_t> records(list);
    for (int32_t i = 0; i < GetMemorySize(list); ++i) {
        uint8_t* record = records + kNamedRangeSize * i;
        if (!(named_range_cells(record) == *block)) continue;
        unsigned char name[kNamedRangeNameSize];
        named_range_name(record, name);
        set_named_range(record, name, moved_by(*block, delta));
    }
}
