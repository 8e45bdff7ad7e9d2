#include "printing/page_breaks.h"

#include <algorithm>
#include <vector>

#include "model/cell_record.h"
#include "model/layer.h"
#include "model/layer_use.h"
#include "model/workbook.h"
#include "objects/object_placement.h"
#include "objects/object_records.h"
#include "window/cell_geometry.h"
#include "window/doc_window.h"
#include "window/page_lists.h"
#include "window/sheet_frame.h"

namespace {

constexpr int kScaleOffset = 0;  // of the page setup block: u16 percent, high byte first; 0 = 100

MemoryRef make_list(const std::vector<int16_t>& values) {
    if (values.empty()) return nullptr;
    return Bytes2Memory(&mem_globals, values.data(), 2, int32_t(values.size()));
}

// The last row and the last column holding a cell.
CellPoint cell_extent(MemoryRef cells) {
    CellPoint last{-1, -1};
    if (!cells || GetByteSize(cells) == 0) return last;
    MemoryUse<const uint8_t> start(cells);
    const uint8_t* end = start + GetByteSize(cells);
    for (const uint8_t* row = start; row + kRowHeaderSize <= end && _RowLength_(row) > 0; row += _RowLength_(row)) {
        last.v = std::max(last.v, _RowID_(row));
        const uint8_t* row_end = std::min(row + _RowLength_(row), end);
        for (const uint8_t* cell = row + kRowHeaderSize; cell < row_end && _cellLength_(cell) > 0;
             cell += _cellLength_(cell))
            last.h = std::max(last.h, _cellID_(cell));
    }
    return last;
}

// The last row and the last column holding a cell or a part of a drawing object.
CellPoint used_extent(MemoryRef layer) {
    CellPoint last = cell_extent(GetSpreadSheetCells(layer));
    for (int32_t i = 1; MemoryRef object = find_object_item(layer, i); ++i) {
        const CellRange location = GetObj_Location(object);
        last.v = std::max(last.v, location.botRight.v);
        last.h = std::max(last.h, location.botRight.h);
    }
    return last;
}

// The last index of a print area's side, which ends with the used cells
// where the side runs to the end of the layer.
int16_t area_end(int16_t first, int16_t past_end, int16_t last_used) {
    const int16_t end = int16_t(past_end - 1);
    return end < kLastCell ? end : std::max(first, last_used);
}

// The print area (whole rows or columns of it as far as the used cells go),
// else everything from A1 to the used extent.
CellRange printed_range_of(const SpreadSheet* sheet, CellPoint last) {
    const CellRange& area = sheet->print_area;
    if (area.botRight.v >= 0)
        return CellRange{area.topLeft, {area_end(area.topLeft.v, area.botRight.v, last.v),
                                        area_end(area.topLeft.h, area.botRight.h, last.h)}};
    if (last.v < 0 || last.h < 0) return CellRange{{-1, -1}, {-1, -1}};
    return CellRange{{0, 0}, last};
}

// The last index of each page along an axis from `first` to `last`: a page
// ends where the next index would pass the page's length, or before a manual break.
std::vector<int16_t> boundaries(const AxisSizes& axis, int16_t first, int16_t last, int32_t page_length,
                                const std::vector<int16_t>& manual) {
    std::vector<int16_t> ends;
    if (first < 0 || last < first) return ends;
    int32_t used = 0;
    for (int16_t index = first; index <= last; ++index) {
        const int32_t size = axis.size(index);
        const bool forced = index > first && std::find(manual.begin(), manual.end(), index) != manual.end();
        if (index > first && (forced || (used > 0 && used + size > page_length))) {
            ends.push_back(int16_t(index - 1));
            used = 0;
        }
        used += size;
    }
    ends.push_back(last);
    return ends;
}

// Rows (columns) of print titles as first and last; first < 0 none.
int32_t titles_span(const AxisSizes& axis, const int16_t titles[2]) {
    const int16_t last = titles[0], first = titles[1];
    if (first < 0 || last < first) return 0;
    return axis.span(first, int16_t(std::min<int>(last, kLastCell) + 1));
}

// The length of a page along an axis, in sheet pixels, for the cells of the
// print range: the printable length at the scale less the headings and the
// titles (left out when they would fill the page).
int32_t body_length(int32_t printable_points, int16_t scale, int16_t headings, int32_t titles) {
    const int32_t length = printable_points * 100 / scale - headings;
    return titles > 0 && titles < length ? length - titles : std::max<int32_t>(length, 1);
}

pf::Rect printable_of(MemoryRef layer) {
    pf::Rect page = LayerUse(layer)->printable_rect;
    if (!page.empty()) return page;
    Page_Setup(layer, &page);
    LayerUse(layer)->printable_rect = page;
    return page;
}

int16_t page_of(const std::vector<int16_t>& ends, int16_t index) {
    return int16_t(std::lower_bound(ends.begin(), ends.end(), index) - ends.begin());
}

// The first index of page `n` (from 0) of an axis whose cells start at `first`.
int16_t page_start(const std::vector<int16_t>& ends, size_t n, int16_t first) {
    return n == 0 ? first : int16_t(ends[n - 1] + 1);
}

// The marks at the old boundaries are erased and those at the new ones drawn.
void redraw_page_marks(MemoryRef layer) {
    const CellRange everything{{0, 0}, {kLastCell, kLastCell}};
    DrawCells(&everything, layer);
}

struct PageLists {
    std::vector<int16_t> rows, columns;
};

PageLists page_lists(MemoryRef layer) {
    LayerUse sheet(layer);
    PageLists lists{read_page_list(sheet->row_page_bounds), read_page_list(sheet->column_page_bounds)};
    return lists;
}

// Adds or removes `index` in a manual break list; answers whether it changed.
bool edit_break(MemoryRef* list, int16_t index, bool add) {
    if (index <= 0) return false;
    std::vector<int16_t> breaks = read_page_list(*list);
    auto at = std::lower_bound(breaks.begin(), breaks.end(), index);
    const bool present = at != breaks.end() && *at == index;
    if (present == add) return false;
    if (add) breaks.insert(at, index);
    else breaks.erase(at);
    DisposeNonNilMemory(*list);
    *list = make_list(breaks);
    return true;
}

void edit_breaks_at_selection(MemoryRef layer, bool add) {
    LayerUse sheet(layer);
    const CellRange selection = sheet->selection;
    bool changed = false;
    if (!whole_columns(selection)) changed |= edit_break(&sheet->row_page_breaks, selection.topLeft.v, add);
    if (!whole_rows(selection)) changed |= edit_break(&sheet->column_page_breaks, selection.topLeft.h, add);
    sheet.release();
    if (!changed) return;
    reset_page(layer);
    increment_change_ctr(layer);
}

bool holds_break(MemoryRef list, int16_t index) {
    const std::vector<int16_t> breaks = read_page_list(list);
    return std::binary_search(breaks.begin(), breaks.end(), index);
}

}  // namespace

int16_t page_scale(MemoryRef layer) {
    ConstLayerUse sheet(layer);
    const int16_t stored = int16_t(sheet->page_setup[kScaleOffset] << 8 | sheet->page_setup[kScaleOffset + 1]);
    sheet.release();
    return stored >= kSmallestScale && stored <= kLargestScale ? stored : int16_t(100);
}

void set_page_scale(MemoryRef layer, int16_t percent) {
    percent = std::clamp(percent, kSmallestScale, kLargestScale);
    LayerUse sheet(layer);
    sheet->page_setup[kScaleOffset] = uint8_t(percent >> 8);
    sheet->page_setup[kScaleOffset + 1] = uint8_t(percent);
}

CellRange printed_range(MemoryRef layer) {
    const CellPoint last = used_extent(layer);
    return printed_range_of(LayerUse(layer).get(), last);
}

void reset_page(MemoryRef layer) {
    const pf::Rect page = printable_of(layer);
    const int16_t scale = page_scale(layer);
    SheetAxes axes(layer);
    const CellPoint last = used_extent(layer);
    LayerUse sheet(layer);
    const CellRange range = printed_range_of(sheet, last);
    const bool headings = (sheet->flags & kLayerPrintHeadings) != 0;
    const int32_t height = body_length(page.height() > 0 ? page.height() : kFallbackPageHeight, scale,
                                       headings ? kColumnHeaderHeight : 0,
                                       titles_span(axes.rows, sheet->print_title_rows));
    const int32_t width = body_length(page.width() > 0 ? page.width() : kFallbackPageWidth, scale,
                                      headings ? kRowHeaderWidth : 0,
                                      titles_span(axes.columns, sheet->print_title_columns));
    std::vector<int16_t> rows =
        boundaries(axes.rows, range.topLeft.v, range.botRight.v, height, read_page_list(sheet->row_page_breaks));
    std::vector<int16_t> columns =
        boundaries(axes.columns, range.topLeft.h, range.botRight.h, width, read_page_list(sheet->column_page_breaks));
    const bool moved =
        rows != read_page_list(sheet->row_page_bounds) || columns != read_page_list(sheet->column_page_bounds);
    const bool marked = (sheet->flags & kLayerPageBreaks) != 0;
    DisposeNonNilMemory(sheet->row_page_bounds);
    DisposeNonNilMemory(sheet->column_page_bounds);
    sheet->row_page_bounds = make_list(rows);
    sheet->column_page_bounds = make_list(columns);
    sheet.release();
    if (moved && marked) redraw_page_marks(layer);
}

int16_t page_number_of(MemoryRef layer, int32_t cell) {
    const int16_t row = int16_t(cell & 0xFFFF), column = int16_t(uint32_t(cell) >> 16);
    const PageLists lists = page_lists(layer);
    if (lists.rows.empty() || lists.columns.empty()) return 1;
    const int16_t down = std::min<int16_t>(page_of(lists.rows, row), int16_t(lists.rows.size() - 1));
    const int16_t across = std::min<int16_t>(page_of(lists.columns, column), int16_t(lists.columns.size() - 1));
    return int16_t(across * int16_t(lists.rows.size()) + down + 1);
}

CellPoint used_cell_extent(MemoryRef layer) {
    LayerUse sheet(layer);
    const CellPoint last = cell_extent(sheet->cells);
    return last;
}

int16_t GetMaxPage(MemoryRef layer) { return int16_t(page_lists(layer).rows.size()); }

int16_t CountPages(MemoryRef layer) {
    const PageLists lists = page_lists(layer);
    return int16_t(lists.rows.size() * lists.columns.size());
}

int16_t GetPageRect(MemoryRef layer, int16_t page, CellRange* range) {
    const PageLists lists = page_lists(layer);
    const size_t count = lists.rows.size() * lists.columns.size();
    if (page < 1 || size_t(page) > count) return 0;
    const CellRange printed = printed_range(layer);
    const size_t down = size_t(page - 1) % lists.rows.size(), across = size_t(page - 1) / lists.rows.size();
    range->topLeft = CellPoint{page_start(lists.rows, down, printed.topLeft.v),
                               page_start(lists.columns, across, printed.topLeft.h)};
    range->botRight = CellPoint{lists.rows[down], lists.columns[across]};
    return 1;
}

int16_t TestPageBreak(MemoryRef layer) {
    ConstLayerUse sheet(layer);
    const CellRange selection = sheet->selection;
    bool held = false;
    if (whole_rows(selection) && !whole_columns(selection)) held = holds_break(sheet->row_page_breaks, selection.topLeft.v);
    else if (whole_columns(selection) && !whole_rows(selection))
        held = holds_break(sheet->column_page_breaks, selection.topLeft.h);
    sheet.release();
    return held ? 1 : 0;
}

void SetPageBreak(MemoryRef layer) { edit_breaks_at_selection(layer, true); }

void RemovePageBreak(MemoryRef layer) { edit_breaks_at_selection(layer, false); }

int16_t PrintCell_H(const CellRange* page, int16_t* width, pf::Rect* extent, int16_t column, MemoryRef layer) {
    *extent = pf::Rect{};
    *width = 0;
    if (column < page->topLeft.h || column > page->botRight.h) return 0;
    SheetAxes axes(layer);
    *width = axes.columns.size(column);
    const int32_t left = axes.columns.span(page->topLeft.h, column);
    extent->left = int16_t(std::min<int32_t>(left, 32000));
    extent->right = int16_t(std::min<int32_t>(left + *width, 32000));
    return 1;
}
