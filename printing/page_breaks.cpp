#include "printing/page_breaks.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "model/cell_record.h"
#include "model/layer.h"
#include "window/cell_geometry.h"

namespace {

std::vector<int16_t> read_list(MemoryRef list) {
    std::vector<int16_t> values;
    if (!list) return values;
    values.resize(size_t(GetByteSize(list) / 2));
    if (!values.empty()) {
        std::memcpy(values.data(), UseMemory(list), values.size() * 2);
        UnuseMemory(list);
    }
    return values;
}

MemoryRef make_list(const std::vector<int16_t>& values) {
    if (values.empty()) return nullptr;
    return Bytes2Memory(&mem_globals, values.data(), 2, int32_t(values.size()));
}

// The last row and the last column holding a cell.
CellPoint cell_extent(MemoryRef cells) {
    CellPoint last{-1, -1};
    if (!cells || GetByteSize(cells) == 0) return last;
    auto* start = static_cast<const uint8_t*>(UseMemory(cells));
    const uint8_t* end = start + GetByteSize(cells);
    for (const uint8_t* row = start; row + kRowHeaderSize <= end && _RowLength_(row) > 0; row += _RowLength_(row)) {
        last.v = std::max(last.v, _RowID_(row));
        const uint8_t* row_end = std::min(row + _RowLength_(row), end);
        for (const uint8_t* cell = row + kRowHeaderSize; cell < row_end && _cellLength_(cell) > 0;
             cell += _cellLength_(cell))
            last.h = std::max(last.h, _cellID_(cell));
    }
    UnuseMemory(cells);
    return last;
}

// The last index of each page along an axis up to `last`: a page ends where the
// next index would pass the page's length, or before a manual break.
std::vector<int16_t> boundaries(const AxisSizes& axis, int16_t last, int32_t page_length,
                                const std::vector<int16_t>& manual) {
    std::vector<int16_t> ends;
    int32_t used = 0;
    for (int16_t index = 0; index <= last; ++index) {
        const int32_t size = axis.size(index);
        const bool forced = index > 0 && std::find(manual.begin(), manual.end(), index) != manual.end();
        if (index > 0 && (forced || (used > 0 && used + size > page_length))) {
            ends.push_back(int16_t(index - 1));
            used = 0;
        }
        used += size;
    }
    if (last >= 0) ends.push_back(last);
    return ends;
}

int16_t page_of(const std::vector<int16_t>& ends, int16_t index) {
    return int16_t(std::lower_bound(ends.begin(), ends.end(), index) - ends.begin());
}

}  // namespace

void reset_page(MemoryRef layer) {
    SheetAxes axes(layer);
    SpreadSheet* sheet = use_layer(layer);
    pf::Rect page = sheet->printable_rect;
    release_layer(layer);
    if (page.empty()) Page_Setup(layer, &page);
    sheet = use_layer(layer);
    const CellPoint last = cell_extent(sheet->cells);
    const int32_t width = page.width() > 0 ? page.width() : kFallbackPageWidth;
    const int32_t height = page.height() > 0 ? page.height() : kFallbackPageHeight;
    std::vector<int16_t> rows = boundaries(axes.rows, last.v, height, read_list(sheet->row_page_breaks));
    std::vector<int16_t> columns = boundaries(axes.columns, last.h, width, read_list(sheet->column_page_breaks));
    DisposeNonNilMemory(sheet->row_page_bounds);
    DisposeNonNilMemory(sheet->column_page_bounds);
    sheet->row_page_bounds = make_list(rows);
    sheet->column_page_bounds = make_list(columns);
    release_layer(layer);
}

int16_t page_number_of(MemoryRef layer, int32_t cell) {
    const int16_t row = int16_t(cell & 0xFFFF), column = int16_t(uint32_t(cell) >> 16);
    SpreadSheet* sheet = use_layer(layer);
    std::vector<int16_t> rows = read_list(sheet->row_page_bounds);
    std::vector<int16_t> columns = read_list(sheet->column_page_bounds);
    release_layer(layer);
    if (rows.empty() || columns.empty()) return 1;
    const int16_t down = std::min<int16_t>(page_of(rows, row), int16_t(rows.size() - 1));
    const int16_t across = std::min<int16_t>(page_of(columns, column), int16_t(columns.size() - 1));
    return int16_t(across * int16_t(rows.size()) + down + 1);
}

int16_t nextColumnBreak(MemoryRef layer, int16_t column) {
    SpreadSheet* sheet = use_layer(layer);
    std::vector<int16_t> columns = read_list(sheet->column_page_bounds);
    release_layer(layer);
    if (columns.empty()) return column;
    auto at = std::lower_bound(columns.begin(), columns.end(), column);
    return at == columns.end() ? columns.back() : *at;
}

CellPoint used_cell_extent(MemoryRef layer) {
    SpreadSheet* sheet = use_layer(layer);
    const CellPoint last = cell_extent(sheet->cells);
    release_layer(layer);
    return last;
}

int16_t CountPages(MemoryRef layer) {
    SpreadSheet* sheet = use_layer(layer);
    const size_t pages = read_list(sheet->row_page_bounds).size() * read_list(sheet->column_page_bounds).size();
    release_layer(layer);
    return int16_t(std::max<size_t>(pages, 1));
}

bool GetPageRect(MemoryRef layer, int16_t page, CellRange* range) {
    SpreadSheet* sheet = use_layer(layer);
    std::vector<int16_t> rows = read_list(sheet->row_page_bounds);
    std::vector<int16_t> columns = read_list(sheet->column_page_bounds);
    release_layer(layer);
    if (rows.empty()) rows.push_back(0);
    if (columns.empty()) columns.push_back(0);
    if (page < 1 || size_t(page) > rows.size() * columns.size()) return false;
    const size_t down = size_t(page - 1) % rows.size(), across = size_t(page - 1) / rows.size();
    range->topLeft = CellPoint{int16_t(down ? rows[down - 1] + 1 : 0), int16_t(across ? columns[across - 1] + 1 : 0)};
    range->botRight = CellPoint{rows[down], columns[across]};
    return true;
}
