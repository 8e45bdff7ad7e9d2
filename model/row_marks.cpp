// Column positions within long rows of the cell store.
#include "model/row_marks.h"

#include <algorithm>
#include <new>
#include <vector>

#include "model/cell_record.h"

namespace {

constexpr int kCellsPerMark = 4;
// Rows shorter than this are walked: marks would not pay for themselves.
constexpr uint32_t kShortestMarkedRow = 64 * kCellHeaderSize;
// A row whose cells fill at least a quarter of the columns they span is
// indexed by column.
constexpr int32_t kMostColumnsPerCell = 4;

struct Mark {
    int16_t column;
    uint32_t offset;  // from the row's start
};

// What a search reads first of a marked row, one record of 16 bytes per row
// number: of a dense row, its first column and the columns it spans, and the
// length of its cells when they follow one another all of one length (the
// offset is then counted); the offsets of any other marked row lie in its
// entry of the table of offsets.
struct RowShape {
    uint32_t row_length = 0;   // of the row the marks describe; 0 for none
    uint32_t offsets = 0;      // 1 + the row's entry in the table of offsets; 0 for none
    uint32_t columns = 0;      // of a dense row; 0 for a row marked every few cells
    int16_t first_column = 0;
    uint16_t cell_length = 0;
};

// A dense row whose cells differ: for each column from the first on, the
// offset of the cell at or before it. Any other row: every 4th cell.
struct RowOffsets {
    std::vector<uint32_t> by_column;
    std::vector<Mark> marks;
};

}  // namespace

struct ColumnMarks {
    std::vector<RowShape> rows;          // by row number, as far as a row was walked
    std::vector<uint32_t> walked;        // by row number: bytes walked since the row changed
    std::vector<RowOffsets> offsets;     // entries of rows that need them
    std::vector<uint32_t> free_offsets;  // entries given back, empty
};

namespace {

// The marks, with records for the rows up to `row`, made on first use; null
// without memory.
ColumnMarks* make_marks_to(SpreadSheet* sheet, int16_t row) {
    try {
        if (!sheet->column_marks) sheet->column_marks = new ColumnMarks;
        ColumnMarks* all = sheet->column_marks;
        if (size_t(row) >= all->rows.size()) {
            all->walked.resize(size_t(row) + 1);
            all->rows.resize(size_t(row) + 1);
        }
        return all;
    } catch (const std::bad_alloc&) {
        dispose_row_marks(sheet);
        return nullptr;
    }
}

// A cleared entry of the table of offsets for the row.
RowOffsets& new_offsets(ColumnMarks& all, RowShape& shape) {
    if (all.free_offsets.empty()) {
        all.offsets.emplace_back();
        shape.offsets = uint32_t(all.offsets.size());
    } else {
        shape.offsets = all.free_offsets.back() + 1;
        all.free_offsets.pop_back();
    }
    return all.offsets[shape.offsets - 1];
}

void free_offsets(ColumnMarks& all, RowShape& shape) {
    if (!shape.offsets) return;
    RowOffsets& entry = all.offsets[shape.offsets - 1];
    entry = RowOffsets{};
    try {
        all.free_offsets.push_back(shape.offsets - 1);
    } catch (const std::bad_alloc&) {
        // the entry stays empty and unused
    }
    shape.offsets = 0;
}

// Every cell of the row; a damaged cell length ends the walk.
std::vector<Mark> cells_of_row(const uint8_t* row_record) {
    const uint32_t length = _RowLength_(row_record);
    std::vector<Mark> cells;
    for (uint32_t at = kRowHeaderSize; at + kCellHeaderSize <= length;) {
        const uint8_t* cell = row_record + at;
        cells.push_back({_cellID_(cell), at});
        if (_cellLength_(cell) < kCellHeaderSize) break;
        at += _cellLength_(cell);
    }
    return cells;
}

bool dense(const std::vector<Mark>& cells) {
    return !cells.empty() &&
           int32_t(cells.back().column) - cells.front().column < kMostColumnsPerCell * int32_t(cells.size());
}

// The length of every cell of a row of consecutive columns, or 0.
uint16_t uniform_cell_length(const std::vector<Mark>& cells, uint32_t row_length) {
    const uint32_t length = row_length - cells.back().offset;
    if (length > UINT16_MAX) return 0;
    for (size_t i = 1; i < cells.size(); ++i)
        if (cells[i].column != cells[i - 1].column + 1 || cells[i].offset - cells[i - 1].offset != length) return 0;
    return uint16_t(length);
}

void index_by_column(ColumnMarks& all, RowShape& shape, const std::vector<Mark>& cells, uint32_t row_length) {
    shape.first_column = cells.front().column;
    shape.columns = uint32_t(cells.back().column - shape.first_column + 1);
    shape.cell_length = uniform_cell_length(cells, row_length);
    if (shape.cell_length) return;
    std::vector<uint32_t>& by_column = new_offsets(all, shape).by_column;
    by_column.assign(shape.columns, 0);
    for (size_t i = 0; i < cells.size(); ++i) {
        const size_t to = i + 1 < cells.size() ? size_t(cells[i + 1].column - shape.first_column) : by_column.size();
        std::fill(by_column.begin() + (cells[i].column - shape.first_column), by_column.begin() + to, cells[i].offset);
    }
}

void mark_every_few(ColumnMarks& all, RowShape& shape, const std::vector<Mark>& cells) {
    std::vector<Mark>& marks = new_offsets(all, shape).marks;
    for (size_t i = 0; i < cells.size(); i += kCellsPerMark) marks.push_back(cells[i]);
}

void mark_row(ColumnMarks& all, RowShape& shape, const uint8_t* row_record) {
    const std::vector<Mark> cells = cells_of_row(row_record);
    const uint32_t length = _RowLength_(row_record);
    free_offsets(all, shape);
    shape = RowShape{};
    if (dense(cells)) index_by_column(all, shape, cells, length);
    else mark_every_few(all, shape, cells);
    shape.row_length = length;
}

// The last mark at or before `column`, or null. The search starts where the
// column would stand were the marked columns evenly spread (in a dense row it
// is there), and steps from it; a guess that is far off is left to a binary
// search.
const Mark* mark_at_or_before(const std::vector<Mark>& marks, int16_t column) {
    constexpr size_t kMostSteps = 4;
    if (marks.empty() || column < marks.front().column) return nullptr;
    const int32_t first = marks.front().column, last = marks.back().column;
    size_t at = last > first ? size_t(int64_t(column - first) * int64_t(marks.size() - 1) / (last - first)) : 0;
    at = std::min(at, marks.size() - 1);
    for (size_t step = 0; step < kMostSteps; ++step) {
        if (marks[at].column > column) --at;
        else if (at + 1 < marks.size() && marks[at + 1].column <= column) ++at;
        else return &marks[at];
    }
    auto after = std::upper_bound(marks.begin(), marks.end(), column,
                                  [](int16_t wanted, const Mark& mark) { return wanted < mark.column; });
    return &*(after - 1);
}

// The answer of marks that no longer describe their row.
constexpr MarkedCell kStale{MarkedCell::kSearch, UINT32_MAX};

// The offset of the cell at or before the column `at` columns from a dense
// row's first: counted in a row of one cell length, else looked up.
uint32_t dense_offset(const ColumnMarks& all, const RowShape& shape, uint32_t at) {
    return shape.cell_length ? kRowHeaderSize + at * shape.cell_length : all.offsets[shape.offsets - 1].by_column[at];
}

// Whether the cell after the one at `offset` lies past `column`, or none
// does; false after a damaged cell.
bool next_cell_after(const uint8_t* row_record, uint32_t offset, int16_t column) {
    const int16_t length = _cellLength_(row_record + offset);
    if (length < kCellHeaderSize) return false;
    const uint32_t next = offset + uint32_t(length);
    return next + kCellHeaderSize > _RowLength_(row_record) || _cellID_(row_record + next) > column;
}

// Answers for a dense row: the column's cell; none where the cell at or
// before the column is another's and the next lies past it, nor before the
// first cell or past the last while that cell is still the one the marks
// describe. Stale when a cell read
// is not the one the marks describe.
MarkedCell cell_by_column(const ColumnMarks& all, const RowShape& shape, const uint8_t* row_record,
                          int16_t column) {
    const int32_t at = int32_t(column) - shape.first_column;
    if (at < 0 || uint32_t(at) >= shape.columns) [[unlikely]] {
        const uint32_t end = at < 0 ? 0 : shape.columns - 1;
        const bool end_in_place = _cellID_(row_record + dense_offset(all, shape, end)) == shape.first_column + int32_t(end);
        return end_in_place ? MarkedCell{MarkedCell::kAbsent, 0} : kStale;
    }
    const uint32_t offset = dense_offset(all, shape, uint32_t(at));
    const int16_t found = _cellID_(row_record + offset);
    if (found == column) return MarkedCell{MarkedCell::kFound, offset};
    if (!shape.cell_length && found < column && found >= shape.first_column && next_cell_after(row_record, offset, column))
        return MarkedCell{MarkedCell::kAbsent, 0};
    return kStale;
}

// Where the search in a row marked every few cells starts: the last mark at
// or before the column, or the row's first cell. Stale when the mark no longer
// lies on its cell.
MarkedCell cell_after_mark(const ColumnMarks& all, const RowShape& shape, const uint8_t* row_record, int16_t column) {
    const Mark* mark = mark_at_or_before(all.offsets[shape.offsets - 1].marks, column);
    if (!mark) return MarkedCell{};
    if (_cellID_(row_record + mark->offset) != mark->column) return kStale;
    return MarkedCell{mark->column == column ? MarkedCell::kFound : MarkedCell::kSearch, mark->offset};
}

}  // namespace

MarkedCell marked_cell(SpreadSheet* sheet, int16_t row, const uint8_t* row_record, int16_t column) {
    const ColumnMarks* all = sheet->column_marks;
    if (!all || row < 0 || size_t(row) >= all->rows.size()) return MarkedCell{};
    const RowShape& shape = all->rows[size_t(row)];
    if (shape.row_length == 0) return MarkedCell{};
    const MarkedCell answer = shape.row_length != _RowLength_(row_record) ? kStale
                              : shape.columns ? cell_by_column(*all, shape, row_record, column)
                                              : cell_after_mark(*all, shape, row_record, column);
    if (answer.offset != kStale.offset) [[likely]]
        return answer;
    forget_row_marks(sheet, row);
    return MarkedCell{};
}

void note_row_walk(SpreadSheet* sheet, int16_t row, const uint8_t* row_record, uint32_t walked) {
    const uint32_t length = _RowLength_(row_record);
    if (length < kShortestMarkedRow || row < 0) return;
    ColumnMarks* all = sheet->column_marks;
    if (all && size_t(row) < all->rows.size() && all->rows[size_t(row)].row_length) return;
    if (!(all = make_marks_to(sheet, row))) return;
    uint32_t& walked_so_far = all->walked[size_t(row)];
    walked_so_far += walked;
    if (walked_so_far < length) return;
    try {
        mark_row(*all, all->rows[size_t(row)], row_record);
    } catch (const std::bad_alloc&) {
        forget_row_marks(sheet, row);
    }
}

void forget_row_marks(SpreadSheet* sheet, int16_t row) {
    ColumnMarks* all = sheet->column_marks;
    if (!all || row < 0 || size_t(row) >= all->rows.size()) return;
    RowShape& shape = all->rows[size_t(row)];
    free_offsets(*all, shape);
    shape = RowShape{};
    all->walked[size_t(row)] = 0;
}

void forget_all_row_marks(SpreadSheet* sheet) {
    if (!sheet->column_marks) return;
    ColumnMarks& all = *sheet->column_marks;
    all.rows.clear();
    all.walked.clear();
    all.offsets.clear();
    all.free_offsets.clear();
}

void dispose_row_marks(SpreadSheet* sheet) {
    delete sheet->column_marks;
    sheet->column_marks = nullptr;
}
