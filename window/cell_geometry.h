// Cell geometry of a document window: column widths and row heights from a
// layer's format lists, the pixel edges of rows and columns in each pane, and
// the cell under a pixel.
//
// Edges are half-open, for rows and columns alike: a row's top is its first
// pixel line and its bottom (top + height) the first line below it; a
// column's left is its first pixel column and its right (left + width) the
// first column after it. A cell's rectangle is therefore an ordinary Rect, and
// a pixel lies in the cell whose rectangle contains it. The grid line and the
// bottom (right) border of a cell lie on its last pixel line (column), which
// row_last_line and column_last_line give; the top (left) border of the next
// cell shares that line. Every drawing and hit-testing routine takes its edges
// from Cell_V_Coord / Cell_H_Coord (or SheetAxes, which they use) and never
// adds or subtracts a pixel of its own.
//
// Sizes read from a layer are clamped to what resizing can make (columns 0 to
// 801 pixels, rows 0 to 250), and edges to -32000..32000, so a damaged document
// cannot make a pane draw outside itself.
#pragma once

#include <cstdint>

#include "core/memory_manager.h"
#include "model/cell_range.h"
#include "platform/types.h"

constexpr int16_t kMaxColumnWidth = 801;
constexpr int16_t kMaxRowHeight = 250;
constexpr int16_t kFallbackColumnWidth = 76;
constexpr int16_t kFallbackRowHeight = 14;
constexpr int16_t kCellCount = 32000;
constexpr int16_t kOutOfViewMargin = 4;

inline int16_t row_last_line(const pf::Rect& cell) { return int16_t(cell.bottom - 1); }
inline int16_t column_last_line(const pf::Rect& cell) { return int16_t(cell.right - 1); }

// The sizes of one axis: a sorted array of format records (row or column
// number in their first i16, size in their extent word) and a default.
struct AxisSizes {
    const uint8_t* records = nullptr;
    int32_t count = 0;
    int record_size = 0;
    int16_t default_size = 0;
    int16_t max_size = 0;

    int16_t size(int16_t index) const;
    // The summed sizes of [first, end); 0 when end <= first.
    int32_t span(int16_t first, int16_t end) const;
    // The index whose [start, start + size) holds `offset` pixels past the
    // start of `first` (negative offsets go backwards); stops at 0 and 31999.
    int16_t index_at(int16_t first, int32_t offset) const;
    // The index a drawing loop visits after `index`. Indices of size 0 all
    // draw at one place, so of a run of them only the first and the last are
    // visited: the cost follows the indices that show, not the hidden ones.
    int16_t next_to_draw(int16_t index) const;
};

// Both axes of a layer, with its format lists held in use while it lives.
// Out-of-order format lists are repaired when it is made.
struct SheetAxes {
    explicit SheetAxes(MemoryRef layer);
    ~SheetAxes();
    SheetAxes(const SheetAxes&) = delete;
    SheetAxes& operator=(const SheetAxes&) = delete;

    MemoryRef layer;
    MemoryRef row_formats = nullptr;
    MemoryRef column_formats = nullptr;
    AxisSizes rows;
    AxisSizes columns;
};

int16_t layer_default_column_width(MemoryRef layer);
int16_t layer_default_row_height(MemoryRef layer);

int16_t GetColumnSize(int16_t column, MemoryRef layer);
int16_t GetRowSize(int16_t row, MemoryRef layer);

// The cell range that fills a pane from its stored top-left cell.
CellRange VisibleRect(int16_t pane, MemoryRef layer);
CellRange visible_range_of(const pf::Rect& pane, CellPoint top_left, const SheetAxes& axes);

// Row edges (top, bottom) and column edges (left, right) of a pane; the other
// fields of the rectangle are left alone. Without `extend`, a row or column
// two or more outside the visible range maps to 4 pixels outside the pane.
void Cell_V_Coord(int16_t pane, pf::Rect* rect, int16_t extend, int16_t row, MemoryRef layer);
void Cell_H_Coord(int16_t pane, pf::Rect* rect, int16_t extend, int16_t column, MemoryRef layer);
void Cell_Location(int16_t pane, pf::Rect* rect, int16_t extend, CellPoint cell, MemoryRef layer);
void Range_Location(int16_t pane, pf::Rect* rect, int16_t extend, const CellRange* range, MemoryRef layer);

// The same on a layer's record already in use and its axes.
struct SpreadSheet;
void row_edges(const SpreadSheet* sheet, const SheetAxes& axes, int16_t pane, bool extend, int16_t row,
               pf::Rect* rect);
void column_edges(const SpreadSheet* sheet, const SheetAxes& axes, int16_t pane, bool extend, int16_t column,
                  pf::Rect* rect);
CellPoint cell_at(const SpreadSheet* sheet, const SheetAxes& axes, pf::Point where, int16_t pane);

// The first pane 0..3 whose rectangle holds the point, or -1.
int16_t find_pane(pf::Point where, MemoryRef layer);
// The cell under a pane's pixel point.
void PtinCell(CellPoint* cell, pf::Point where, int16_t pane, MemoryRef layer);
