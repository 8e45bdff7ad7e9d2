// Cell addresses and ranges of a layer. A point is (row, column); a range is
// its top-left and bottom-right points, inclusive. Rows and columns run from 0
// to kLastCell; a range reaching kLastCell stands for whole rows or columns.
#pragma once

#include <cstdint>

#include "platform/types.h"

constexpr int16_t kLastCell = 31999;

// v is the row, h the column.
using CellPoint = pf::Point;

struct CellRange {
    CellPoint topLeft;
    CellPoint botRight;
    friend bool operator==(const CellRange&, const CellRange&) = default;
};

inline bool cell_in_grid(int row, int column) {
    return row >= 0 && row <= kLastCell && column >= 0 && column <= kLastCell;
}

// A range of whole rows (every column) or of whole columns (every row).
inline bool whole_rows(const CellRange& r) { return r.topLeft.h == 0 && r.botRight.h == kLastCell; }
inline bool whole_columns(const CellRange& r) { return r.topLeft.v == 0 && r.botRight.v == kLastCell; }

inline bool range_contains(const CellRange& r, int row, int column) {
    return row >= r.topLeft.v && row <= r.botRight.v && column >= r.topLeft.h &&
           column <= r.botRight.h;
}
