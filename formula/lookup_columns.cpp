#include "formula/lookup_columns.h"

#include <cmath>

#include "formula/cell_values.h"
#include "formula/range_walk.h"

namespace {

// More distinct columns than this in one step: the oldest copies go.
constexpr size_t kMostColumns = 16;

struct KeptColumn {
    MemoryRef layer;
    CellRange rect;  // the column and its rows
    NumberColumn column;
};

int keepers = 0;
std::vector<KeptColumn> kept;

bool same_rect(const CellRange& a, const CellRange& b) {
    return a.topLeft.v == b.topLeft.v && a.topLeft.h == b.topLeft.h && a.botRight.v == b.botRight.v;
}

NumberColumn copy_column(MemoryRef layer, const CellRange& rect) {
    NumberColumn copy;
    walk_column_records(layer, rect, [&](const uint8_t* cell, int16_t row) {
        double number;
        if (stored_number(cell, &number) && std::isfinite(number)) {
            copy.rows.push_back(row);
            copy.numbers.push_back(number);
        }
        return true;
    });
    return copy;
}

}  // namespace

NumberColumnsKept::NumberColumnsKept() { ++keepers; }

NumberColumnsKept::~NumberColumnsKept() {
    if (--keepers == 0) drop_number_columns();
}

const NumberColumn* kept_number_column(MemoryRef layer, const CellRange& rect) {
    if (keepers == 0) return nullptr;
    for (const KeptColumn& k : kept)
        if (k.layer == layer && same_rect(k.rect, rect)) return &k.column;
    if (kept.size() >= kMostColumns) kept.erase(kept.begin());
    kept.push_back(KeptColumn{layer, rect, copy_column(layer, rect)});
    return &kept.back().column;
}

void number_column_cell_changed(MemoryRef layer, CellPoint cell) {
    std::erase_if(kept, [&](const KeptColumn& k) {
        return k.layer == layer && k.rect.topLeft.h == cell.h && cell.v >= k.rect.topLeft.v &&
               cell.v <= k.rect.botRight.v;
    });
}

void drop_number_columns() { kept.clear(); }
