#include "window/cell_geometry.h"

#include <algorithm>

#include "model/cell_format.h"
#include "model/cell_formats.h"
#include "model/layer.h"
#include "model/layer_use.h"
#include "model/record_bytes.h"

namespace {

constexpr int32_t kEdgeLimit = 32000;

int16_t clamp_edge(int32_t edge) { return int16_t(std::clamp(edge, -kEdgeLimit, kEdgeLimit)); }

int16_t record_id(const AxisSizes& axis, int32_t i) { return load_i16(axis.records + i * axis.record_size); }

int16_t record_size_of(const AxisSizes& axis, int32_t i) {
    int16_t stored = format_extent(axis.records + i * axis.record_size);
    return stored < 0 ? axis.default_size : std::min(stored, axis.max_size);
}

// The first record whose id is at least `index`.
int32_t lower_bound(const AxisSizes& axis, int16_t index) {
    int32_t low = 0, high = axis.count;
    while (low < high) {
        int32_t mid = (low + high) / 2;
        if (record_id(axis, mid) < index) low = mid + 1;
        else high = mid;
    }
    return low;
}

bool ascending(MemoryRef array, int record_size) {
    if (!array) return true;
    int32_t count = GetMemorySize(array);
    MemoryUse<const uint8_t> records(array);
    bool sorted = true;
    for (int32_t i = 1; i < count && sorted; ++i)
        sorted = load_i16(records + i * record_size) > load_i16(records + (i - 1) * record_size);
    return sorted;
}

AxisSizes hold_axis(MemoryRef array, int record_size, int16_t default_size, int16_t max_size) {
    AxisSizes axis;
    axis.record_size = record_size;
    axis.default_size = std::clamp<int16_t>(default_size, 0, max_size);
    axis.max_size = max_size;
    if (array && GetMemorySize(array) > 0) {
        axis.count = GetMemorySize(array);
        axis.records = static_cast<const uint8_t*>(UseMemory(array));
    }
    return axis;
}

const pf::Rect& pane_rect(const SpreadSheet* sheet, int16_t pane) { return sheet->pane_rects[pane & 3]; }

// Edges of index `at` in a pane whose first visible index is `first` and last `last`,
// starting at `start` and ending at `end` pixels.
void axis_edges(const AxisSizes& axis, int16_t first, int16_t last, int16_t start, int16_t end, bool extend,
                int16_t at, int16_t* low, int16_t* high) {
    if (!extend && at > last + 1) {
        *low = *high = clamp_edge(end + kOutOfViewMargin);
        return;
    }
    if (!extend && at < first - 1) {
        *low = *high = clamp_edge(start - kOutOfViewMargin);
        return;
    }
    int32_t top = at >= first ? start + axis.span(first, at) : start - axis.span(at, first);
    *low = clamp_edge(top);
    *high = clamp_edge(top + axis.size(at));
}

// The last index of the run of size-0 indices that starts at `index`: up to
// the next listed size when the default is 0, else over the listed size-0
// records that follow one another.
int16_t end_of_hidden_run(const AxisSizes& axis, int16_t index) {
    int32_t i = lower_bound(axis, index);
    if (axis.default_size == 0) {
        for (; i < axis.count; ++i)
            if (record_size_of(axis, i) != 0) return int16_t(record_id(axis, i) - 1);
        return int16_t(kCellCount - 1);
    }
    int16_t last = index;
    for (++i; i < axis.count && record_id(axis, i) == last + 1 && record_size_of(axis, i) == 0; ++i) last = int16_t(last + 1);
    return last;
}

}  // namespace

int16_t AxisSizes::size(int16_t index) const {
    int32_t i = lower_bound(*this, index);
    return i < count && record_id(*this, i) == index ? record_size_of(*this, i) : default_size;
}

int32_t AxisSizes::span(int16_t first, int16_t end) const {
    if (end <= first) return 0;
    int32_t total = 0, listed = 0;
    for (int32_t i = lower_bound(*this, first); i < count && record_id(*this, i) < end; ++i, ++listed)
        total += record_size_of(*this, i);
    return total + (int32_t(end - first) - listed) * default_size;
}

int16_t AxisSizes::index_at(int16_t first, int32_t offset) const {
    int16_t index = first;
    if (offset >= 0) {
        for (int32_t edge = 0; index < kCellCount - 1; ++index) {
            const int16_t here = size(index);
            if (here == 0) {
                index = std::min<int16_t>(end_of_hidden_run(*this, index), kCellCount - 2);
                continue;
            }
            edge += here;
            if (edge > offset) break;
        }
        return index;
    }
    for (int32_t edge = 0; index > 0 && edge > offset;) edge -= size(--index);
    return index;
}

int16_t AxisSizes::next_to_draw(int16_t index) const {
    const int16_t next = int16_t(index + 1);
    if (next >= kCellCount || size(index) != 0 || size(next) != 0) return next;
    return std::max(next, end_of_hidden_run(*this, next));
}

SheetAxes::SheetAxes(MemoryRef the_layer) : layer(the_layer) {
    LayerUse sheet(layer);
    MemoryRef columns_array = sheet->column_formats;
    MemoryRef rows_array = sheet->row_formats;
    sheet.release();
    if (!ascending(columns_array, kColumnFormatSize)) {
        VerifyColumnFormat(&columns_array);
        SetSpreadSheetColumnFormats(layer, columns_array);
    }
    if (!ascending(rows_array, kRowFormatSize)) {
        VerifyRowFormat(&rows_array);
        SetSpreadSheetRowFormats(layer, rows_array);
    }
    column_formats = columns_array;
    row_formats = rows_array;
    columns = hold_axis(column_formats, kColumnFormatSize, layer_default_column_width(layer), kMaxColumnWidth);
    rows = hold_axis(row_formats, kRowFormatSize, layer_default_row_height(layer), kMaxRowHeight);
}

SheetAxes::~SheetAxes() {
    if (columns.records) UnuseMemory(column_formats);
    if (rows.records) UnuseMemory(row_formats);
}

int16_t layer_default_column_width(MemoryRef layer) {
    LayerUse sheet(layer);
    int16_t width = format_extent(sheet->default_column_format);
    sheet.release();
    return width < 0 ? kFallbackColumnWidth : std::min(width, kMaxColumnWidth);
}

int16_t layer_default_row_height(MemoryRef layer) {
    LayerUse sheet(layer);
    int16_t height = format_extent(sheet->default_row_format);
    if (height < 0) height = sheet->row_height;
    sheet.release();
    return height < 1 ? kFallbackRowHeight : std::min(height, kMaxRowHeight);
}

int16_t GetColumnSize(int16_t column, MemoryRef layer) { return SheetAxes(layer).columns.size(column); }
int16_t GetRowSize(int16_t row, MemoryRef layer) { return SheetAxes(layer).rows.size(row); }

CellRange visible_range_of(const pf::Rect& pane, CellPoint top_left, const SheetAxes& axes) {
    CellRange range{top_left, {int16_t(top_left.v - 1), int16_t(top_left.h - 1)}};
    if (top_left.h < 0) return range;
    if (pane.bottom > pane.top && top_left.v <= kLastCell)
        range.botRight.v = axes.rows.index_at(top_left.v, pane.height() - 1);
    if (pane.right > pane.left && top_left.h <= kLastCell)
        range.botRight.h = axes.columns.index_at(top_left.h, pane.width() - 1);
    return range;
}

CellRange VisibleRect(int16_t pane, MemoryRef layer) {
    SheetAxes axes(layer);
    LayerUse sheet(layer);
    CellRange stored = sheet->visible_ranges[pane & 3];
    pf::Rect rect = sheet->pane_rects[pane & 3];
    sheet.release();
    if (stored.topLeft.h < 0) return stored;
    return visible_range_of(rect, stored.topLeft, axes);
}

void row_edges(const SpreadSheet* sheet, const SheetAxes& axes, int16_t pane, bool extend, int16_t row,
               pf::Rect* rect) {
    const CellRange& visible = sheet->visible_ranges[pane & 3];
    const pf::Rect& frame = pane_rect(sheet, pane);
    axis_edges(axes.rows, visible.topLeft.v, visible.botRight.v, frame.top, frame.bottom, extend, row, &rect->top,
               &rect->bottom);
}

void column_edges(const SpreadSheet* sheet, const SheetAxes& axes, int16_t pane, bool extend, int16_t column,
                  pf::Rect* rect) {
    const CellRange& visible = sheet->visible_ranges[pane & 3];
    const pf::Rect& frame = pane_rect(sheet, pane);
    axis_edges(axes.columns, visible.topLeft.h, visible.botRight.h, frame.left, frame.right, extend, column,
               &rect->left, &rect->right);
}

void Cell_V_Coord(int16_t pane, pf::Rect* rect, int16_t extend, int16_t row, MemoryRef layer) {
    SheetAxes axes(layer);
    row_edges(LayerUse(layer).get(), axes, pane, extend != 0, row, rect);
}

void Cell_H_Coord(int16_t pane, pf::Rect* rect, int16_t extend, int16_t column, MemoryRef layer) {
    SheetAxes axes(layer);
    column_edges(LayerUse(layer).get(), axes, pane, extend != 0, column, rect);
}

void Cell_Location(int16_t pane, pf::Rect* rect, int16_t extend, CellPoint cell, MemoryRef layer) {
    SheetAxes axes(layer);
    ConstLayerUse sheet(layer);
    row_edges(sheet, axes, pane, extend != 0, cell.v, rect);
    column_edges(sheet, axes, pane, extend != 0, cell.h, rect);
}

void Range_Location(int16_t pane, pf::Rect* rect, int16_t extend, const CellRange* range, MemoryRef layer) {
    SheetAxes axes(layer);
    ConstLayerUse sheet(layer);
    pf::Rect last{};
    row_edges(sheet, axes, pane, extend != 0, range->topLeft.v, rect);
    column_edges(sheet, axes, pane, extend != 0, range->topLeft.h, rect);
    row_edges(sheet, axes, pane, extend != 0, range->botRight.v, &last);
    column_edges(sheet, axes, pane, extend != 0, range->botRight.h, &last);
    rect->bottom = last.bottom;
    rect->right = last.right;
}

CellPoint cell_at(const SpreadSheet* sheet, const SheetAxes& axes, pf::Point where, int16_t pane) {
    pane &= 3;
    const int16_t row_pane = (pane == 1 || pane == 3) ? 1 : 0;
    const int16_t column_pane = pane >= 2 ? 2 : 0;
    const pf::Rect& frame = sheet->pane_rects[pane];
    int16_t first_row = sheet->visible_ranges[row_pane].topLeft.v;
    int16_t first_column = sheet->visible_ranges[column_pane].topLeft.h;
    CellPoint cell{first_row, first_column};
    if (first_row >= 0) cell.v = axes.rows.index_at(first_row, int32_t(where.v) - frame.top);
    if (first_column >= 0) cell.h = axes.columns.index_at(first_column, int32_t(where.h) - frame.left);
    return cell;
}

void PtinCell(CellPoint* cell, pf::Point where, int16_t pane, MemoryRef layer) {
    SheetAxes axes(layer);
    *cell = cell_at(LayerUse(layer).get(), axes, where, pane);
}

int16_t find_pane(pf::Point where, MemoryRef layer) {
    ConstLayerUse sheet(layer);
    int16_t found = -1;
    for (int16_t pane = 0; pane < kPaneCount && found < 0; ++pane) {
        const pf::Rect& r = sheet->pane_rects[pane];
        if (r.left != -1 && where.v >= r.top && where.v < r.bottom && where.h >= r.left && where.h < r.right)
            found = pane;
    }
    return found;
}
