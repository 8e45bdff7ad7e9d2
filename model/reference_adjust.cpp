// Stored references that follow moved cells and layers. Every reference part
// is taken to the row, column or layer it really points at, moved the way the
// cells moved, and stored again in its own form (absolute, or relative to the
// formula's own, possibly moved, cell or layer). A reference whose target is
// gone points off the grid (row or column -1), so that it shows the reference
// error. References into linked documents and named ranges keep their bytes.
#include <algorithm>

#include "core/memory_use.h"
#include "model/compiled_formula.h"
#include "model/cell_record.h"
#include "model/insert_delete.h"
#include "model/layer.h"
#include "model/model_services.h"
#include "model/reference_walk.h"
#include "model/workbook.h"

namespace {

constexpr int32_t kGone = -1;

enum class PointRole { single, first, second };

// Byte positions inside a reference token.
constexpr int kLayerPartSize = 6;  // "R", marker, first, last
constexpr int kCellRowAt = 1, kCellColumnAt = 3;
constexpr int kRangeMarkersAt = 1, kRangeTopAt = 3, kRangeLeftAt = 5, kRangeBottomAt = 7, kRangeRightAt = 9;

// One formula being adjusted: where it stands before and after.
struct FormulaHome {
    CellPoint before;
    CellPoint after;
    int16_t layer_before;
    int16_t layer_after;
};

int32_t insert_position(const AxisChange& c, int32_t t, PointRole role, bool formula_moves) {
    const bool moves = role == PointRole::single || formula_moves ? t >= c.first : t > c.first;
    if (!moves) return t;
    t += c.count;
    if (t <= kLastCell) return t;
    return role == PointRole::second ? kLastCell : kGone;
}

int32_t delete_position(const AxisChange& c, int32_t t, PointRole role) {
    const int32_t last = c.last_deleted();
    if (t < c.first) return t;
    if (t > last) return role == PointRole::second && t == kLastCell ? kLastCell : t - c.count;
    switch (role) {
    case PointRole::first: return c.first;
    case PointRole::second: return c.first - 1;
    default: return kGone;
    }
}

int32_t map_position(const AxisChange& c, int32_t t, PointRole role, bool formula_moves) {
    if (t < 0 || t > kLastCell) return kGone;
    return c.inserting ? insert_position(c, t, role, formula_moves) : delete_position(c, t, role);
}

// One stored coordinate: its bytes and whether it is absolute.
struct Coordinate {
    uint8_t* at;
    bool absolute;
    int16_t stored() const { return load_i16(at); }
};

int32_t target_of(const Coordinate& p, int32_t home) { return p.absolute ? p.stored() : p.stored() + home; }

void store_target(const Coordinate& p, int32_t target, int32_t home) {
    store_i16(p.at, int16_t(p.absolute ? target : target - home));
}

// The two coordinates of one axis of a reference (a single cell has one).
struct AxisParts {
    Coordinate first;
    Coordinate second;
    bool single;
};

// Moves one axis of a reference; `changes` false keeps the targets (another
// layer, or the other axis) and only re-stores them against the new home.
void adjust_axis(const AxisParts& parts, const AxisChange* change, bool formula_moves, int32_t home_before,
                 int32_t home_after) {
    int32_t first = target_of(parts.first, home_before);
    int32_t second = parts.single ? first : target_of(parts.second, home_before);
    if (change) {
        if (parts.single) {
            first = second = map_position(*change, first, PointRole::single, formula_moves);
        } else {
            first = map_position(*change, first, PointRole::first, formula_moves);
            second = map_position(*change, second, PointRole::second, formula_moves);
            if (first == kGone || second == kGone || first > second) first = second = kGone;
        }
    }
    store_target(parts.first, first, home_after);
    if (!parts.single) store_target(parts.second, second, home_after);
}

// The row and column axes of a cell or range body; false for a body whose
// markers are not position markers (those keep their bytes).
bool body_axes(uint8_t* body, bool range, AxisParts* rows, AxisParts* columns) {
    if (!range) {
        const uint8_t marker = body[0];
        if (!is_position_marker(marker)) return false;
        *rows = AxisParts{{body + kCellRowAt, marker_first_absolute(marker)}, {}, true};
        *columns = AxisParts{{body + kCellColumnAt, marker_second_absolute(marker)}, {}, true};
        return true;
    }
    const uint8_t m1 = body[kRangeMarkersAt], m2 = body[kRangeMarkersAt + 1];
    if (!is_position_marker(m1) || !is_position_marker(m2)) return false;
    *rows = AxisParts{{body + kRangeTopAt, marker_first_absolute(m1)}, {body + kRangeBottomAt, marker_first_absolute(m2)}, false};
    *columns = AxisParts{{body + kRangeLeftAt, marker_second_absolute(m1)}, {body + kRangeRightAt, marker_second_absolute(m2)}, false};
    return true;
}

// The layer ids a reference points at, before any change.
void layers_of(const FormulaToken& token, int16_t own, int32_t* first, int32_t* last) {
    *first = *last = own;
    if (!token.ref.three_d) return;
    const uint8_t m = token.ref.layer_marker;
    *first = marker_second_absolute(m) || !is_position_marker(m) ? token.ref.first_layer : token.ref.first_layer + own;
    *last = marker_first_absolute(m) || !is_position_marker(m) ? token.ref.last_layer : token.ref.last_layer + own;
}

// Adjusts the rows or columns of one reference of a formula for a change of
// the layer with index `changed`.
void adjust_reference(const FormulaToken& token, uint8_t* bytes, const FormulaHome& home, int16_t changed,
                      const AxisChange& change) {
    uint8_t* body = bytes + 1 + (token.ref.three_d ? kLayerPartSize : 0);
    AxisParts rows, columns;
    if (!body_axes(body, token.ref.kind == ReferenceKind::range, &rows, &columns)) return;
    int32_t first_layer, last_layer;
    layers_of(token, home.layer_before, &first_layer, &last_layer);
    const bool on_changed_layer = first_layer == changed && last_layer == changed;
    const bool formula_moves = home.before != home.after;
    const AxisChange* row_change = on_changed_layer && change.rows ? &change : nullptr;
    const AxisChange* column_change = on_changed_layer && !change.rows ? &change : nullptr;
    adjust_axis(rows, row_change, formula_moves, home.before.v, home.after.v);
    adjust_axis(columns, column_change, formula_moves, home.before.h, home.after.h);
}

// ---- Layers ------------------------------------------------------------------------

// New index of a layer: deleting `source`, or moving it before `target`.
struct LayerChange {
    bool deleting;
    int16_t source;
    int16_t target;
    int16_t count;  // layers before the change
};

int32_t new_layer_index(const LayerChange& c, int32_t index) {
    if (index < 0 || index >= c.count) return kGone;
    if (c.deleting) {
        if (index == c.source) return kGone;
        return index > c.source ? index - 1 : index;
    }
    if (index == c.source) return c.target;
    if (c.source < c.target && index > c.source && index <= c.target) return index - 1;
    if (c.source > c.target && index >= c.target && index < c.source) return index + 1;
    return index;
}

// The layers of a range after the change; false when none of them is left.
bool new_layer_span(const LayerChange& c, int32_t first, int32_t last, int32_t* new_first, int32_t* new_last) {
    if (first < 0 || last >= c.count || first > last) return false;
    if (c.deleting && first == last) return first != c.source && (*new_first = *new_last = new_layer_index(c, first), true);
    if (c.deleting) {
        *new_first = first > c.source ? first - 1 : first;
        *new_last = last >= c.source ? last - 1 : last;
        return *new_first <= *new_last;
    }
    // The layers of the span may no longer lie together: the new span covers them all.
    *new_first = kLastCell;
    *new_last = 0;
    for (int32_t index = first; index <= last; ++index) {
        *new_first = std::min(*new_first, new_layer_index(c, index));
        *new_last = std::max(*new_last, new_layer_index(c, index));
    }
    return true;
}

void adjust_layers(uint8_t* bytes, const FormulaToken& token, int16_t own_before, int16_t own_after,
                   const LayerChange& change) {
    const uint8_t marker = token.ref.layer_marker;
    if (!is_position_marker(marker)) return;
    const bool first_absolute = marker_second_absolute(marker);
    const bool last_absolute = marker_first_absolute(marker);
    int32_t first, last;
    layers_of(token, own_before, &first, &last);
    int32_t new_first, new_last;
    uint8_t* first_at = bytes + 3;
    uint8_t* last_at = bytes + 5;
    if (!new_layer_span(change, first, last, &new_first, &new_last)) {
        // A deleted layer: 65535 in absolute fields, 65534 through relative ones.
        store_u16(first_at, first_absolute ? kDeletedLayerAbsolute : uint16_t(kDeletedLayerRelative - own_after));
        store_u16(last_at, last_absolute ? kDeletedLayerAbsolute : uint16_t(kDeletedLayerRelative - own_after));
        return;
    }
    store_i16(first_at, int16_t(first_absolute ? new_first : new_first - own_after));
    store_i16(last_at, int16_t(last_absolute ? new_last : new_last - own_after));
}

}  // namespace

void for_each_formula(MemoryRef workbook, const std::function<void(CellPoint, uint8_t*, int32_t, int16_t)>& visit) {
    for (int16_t index = 0; index < num_SpreadSheets(workbook); ++index) {
        MemoryRef layer = find_SpreadSheet_item(workbook, index);
        if (!layer) continue;
        MemoryRef store = GetSpreadSheetCells(layer);
        MemoryUse<uint8_t> start(store);
        uint8_t* end = start + GetByteSize(store);
        for (uint8_t* row = start; row < end; row += _RowLength_(row))
            for (uint8_t* cell = row + kRowHeaderSize; cell < row + _RowLength_(row); cell += _cellLength_(cell))
                if (_cellType_(cell) == kCellFormula)
                    visit(CellPoint{_RowID_(row), _cellID_(cell)}, _formulaPtr_(cell), _formulaLength_(cell), index);
    }
}

int32_t moved_position(const AxisChange& change, int32_t position) {
    if (change.inserting) return position >= change.first ? position + change.count : position;
    if (position < change.first) return position;
    return position > change.last_deleted() ? position - change.count : kGone;
}

void adjust_references(MemoryRef layer, const AxisChange& change) {
    MemoryRef workbook = GetWorkSheet(layer);
    const int16_t changed = GetSheetID(layer);
    for_each_formula(workbook, [&](CellPoint cell, uint8_t* bytes, int32_t length, int16_t index) {
        FormulaHome home{cell, cell, index, index};
        if (index == changed) {
            int32_t moved = moved_position(change, change.rows ? cell.v : cell.h);
            if (moved == kGone) return;  // a deleted cell
            (change.rows ? home.after.v : home.after.h) = int16_t(moved);
        }
        for_each_own_reference(bytes, length, [&](const FormulaToken& token, uint8_t* token_bytes) {
            adjust_reference(token, token_bytes, home, changed, change);
        });
    });
}

void ResetInsertRect(const CellRange* moving, const CellRange*, int32_t counts, MemoryRef layer) {
    const int16_t rows = int16_t(counts & 0xFFFF), columns = int16_t(counts >> 16);
    if (rows > 0) adjust_references(layer, AxisChange{true, true, moving->topLeft.v, rows});
    if (columns > 0) adjust_references(layer, AxisChange{false, true, moving->topLeft.h, columns});
}

void ResetDeleteRect(const AxisChange& change, MemoryRef layer) { adjust_references(layer, change); }

void ResetLayers(int16_t deleting, int16_t source, int16_t target, MemoryRef workbook) {
    const LayerChange change{deleting != 0, source, target, num_SpreadSheets(workbook)};
    for_each_formula(workbook, [&](CellPoint, uint8_t* bytes, int32_t length, int16_t index) {
        const int32_t own_after = new_layer_index(change, index);
        if (own_after == kGone) return;  // a formula of the deleted layer
        for_each_own_reference(bytes, length, [&](const FormulaToken& token, uint8_t* token_bytes) {
            if (token.ref.three_d) adjust_layers(token_bytes, token, index, int16_t(own_after), change);
        });
    });
}
