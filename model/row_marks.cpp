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

struct RowMarks {
    uint32_t row_length = 0;  // of the row the marks describe; 0 for none
    uint32_t walked = 0;      // bytes walked since the row changed
    // A dense row: for each column from `first_column` on, the offset of the
    // cell at or before it; none kept for a row of consecutive columns whose
    // cells are all `cell_length` long, where it is counted.
    int16_t first_column = 0;
    uint32_t cell_length = 0;
    uint32_t columns = 0;
    std::vector<uint32_t> by_column;
    // Any other row: every 4th cell.
    std::vector<Mark> marks;
};

}  // namespace

struct ColumnMarks {
    std::vector<RowMarks> rows;  // by row number, as far as a row was walked
};

namespace {

RowMarks* marks_of(SpreadSheet* sheet, int16_t row) {
    ColumnMarks* all = sheet->column_marks;
    if (!all || row < 0 || size_t(row) >= all->rows.size()) return nullptr;
    return &all->rows[size_t(row)];
}

// The record of a row, made (with those of the rows before it) on first use;
// null without memory.
RowMarks* make_marks_of(SpreadSheet* sheet, int16_t row) {
    try {
        if (!sheet->column_marks) sheet->column_marks = new ColumnMarks;
        std::vector<RowMarks>& rows = sheet->column_marks->rows;
        if (size_t(row) >= rows.size()) rows.resize(size_t(row) + 1);
        return &rows[size_t(row)];
    } catch (const std::bad_alloc&) {
        dispose_row_marks(sheet);
        return nullptr;
    }
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
uint32_t uniform_cell_length(const std::vector<Mark>& cells, uint32_t row_length) {
    const uint32_t length = row_length - cells.back().offset;
    for (size_t i = 1; i < cells.size(); ++i)
        if (cells[i].column != cells[i - 1].column + 1 || cells[i].offset - cells[i - 1].offset != length) return 0;
    return length;
}

void index_by_column(RowMarks& marks, const std::vector<Mark>& cells, uint32_t row_length) {
    marks.first_column = cells.front().column;
    marks.columns = uint32_t(cells.back().column - marks.first_column + 1);
    marks.cell_length = uniform_cell_length(cells, row_length);
    if (marks.cell_length) return;
    marks.by_column.assign(marks.columns, 0);
    for (size_t i = 0; i < cells.size(); ++i) {
        const size_t to = i + 1 < cells.size() ? size_t(cells[i + 1].column - marks.first_column) : marks.by_column.size();
        std::fill(marks.by_column.begin() + (cells[i].column - marks.first_column), marks.by_column.begin() + to,
                  cells[i].offset);
    }
}

void mark_every_few(RowMarks& marks, const std::vector<Mark>& cells) {
    for (size_t i = 0; i < cells.size(); i += kCellsPerMark) marks.marks.push_back(cells[i]);
}

void mark_row(RowMarks& marks, const uint8_t* row_record) {
    const std::vector<Mark> cells = cells_of_row(row_record);
    const uint32_t length = _RowLength_(row_record);
    marks = RowMarks{};
    if (dense(cells)) index_by_column(marks, cells, length);
    else mark_every_few(marks, cells);
    marks.row_length = length;
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

// The offset of the cell at or before `column` in a dense row, 0 before its
// first cell; kNoStart when the cell there no longer fits.
constexpr uint32_t kNoStart = UINT32_MAX;

uint32_t start_by_column(const RowMarks& marks, const uint8_t* row_record, int16_t column) {
    if (column < marks.first_column) return 0;
    const uint32_t at = std::min(uint32_t(column - marks.first_column), marks.columns - 1);
    const uint32_t offset = marks.cell_length ? kRowHeaderSize + at * marks.cell_length : marks.by_column[at];
    const int16_t found = _cellID_(row_record + offset);
    return found <= column && found >= marks.first_column ? offset : kNoStart;
}

}  // namespace

uint32_t marked_search_start(SpreadSheet* sheet, int16_t row, const uint8_t* row_record, int16_t column) {
    RowMarks* marks = marks_of(sheet, row);
    if (!marks || marks->row_length == 0) return 0;
    if (marks->row_length != _RowLength_(row_record)) {
        forget_row_marks(sheet, row);
        return 0;
    }
    if (marks->columns) {
        const uint32_t start = start_by_column(*marks, row_record, column);
        if (start != kNoStart) return start;
        forget_row_marks(sheet, row);
        return 0;
    }
    const Mark* found = mark_at_or_before(marks->marks, column);
    if (!found) return 0;
    const Mark& mark = *found;
    // A mark that no longer lies on its cell is not trusted.
    if (_cellID_(row_record + mark.offset) != mark.column) {
        forget_row_marks(sheet, row);
        return 0;
    }
    return mark.offset;
}

void note_row_walk(SpreadSheet* sheet, int16_t row, const uint8_t* row_record, uint32_t walked) {
    const uint32_t length = _RowLength_(row_record);
    if (length < kShortestMarkedRow || row < 0) return;
    RowMarks* marks = marks_of(sheet, row);
    if (marks && marks->row_length) return;
    if (!marks && !(marks = make_marks_of(sheet, row))) return;
    marks->walked += walked;
    if (marks->walked < length) return;
    try {
        mark_row(*marks, row_record);
    } catch (const std::bad_alloc&) {
        forget_row_marks(sheet, row);
    }
}

void forget_row_marks(SpreadSheet* sheet, int16_t row) {
    if (RowMarks* marks = marks_of(sheet, row)) *marks = RowMarks{};
}

void forget_all_row_marks(SpreadSheet* sheet) {
    if (sheet->column_marks) sheet->column_marks->rows.clear();
}

void dispose_row_marks(SpreadSheet* sheet) {
    delete sheet->column_marks;
    sheet->column_marks = nullptr;
}
