// Sorting: every row (column) of the range is one line carrying its key
// values; the lines are put in order by one comparison that holds the whole
// rule (group by kind of value, then the values, then the later keys, then
// the lines' own order), so one O(n log n) sort gives the result. Only cell
// records move, whole and unchanged.
#include "editing/sort.h"

#include <algorithm>
#include <deque>
#include <string_view>
#include <vector>

#include "core/number_text.h"
#include "editing/cell_blocks.h"
#include "files/entry_script.h"
#include "model/cell_format.h"
#include "model/cell_record.h"
#include "model/layer.h"
#include "model/undo_record.h"
#include "platform/text/text.h"

namespace {

constexpr uint8_t kCellConstantAlt = 'D';

// In this order in both directions.
enum KeyKind : uint8_t { kNumberKey, kTextKey, kErrorKey, kMissingKey };

struct KeyValue {
    KeyKind kind = kMissingKey;
    double number = 0;
    const pf::CollationText* text = nullptr;
};

// The texts of the keys, each read in its script once; they outlive the sort.
struct KeyTexts {
    MemoryRef layer;
    std::deque<pf::CollationText> texts;
};

KeyValue number_key(const uint8_t* at) {
    const double value = load_f64(at);
    return KeyValue{checkValue(&value) ? kErrorKey : kNumberKey, value, nullptr};
}

// A text of the cell in its script; a text set in several scripts as its
// characters.
KeyValue text_key(const uint8_t* cell, const uint8_t* at, int32_t length, KeyTexts& keys) {
    const std::string_view bytes(reinterpret_cast<const char*>(at), size_t(std::max(length, 0)));
    const int16_t font = format_font_in(cell, keys.layer);
    const int16_t script = value_script(cell, font);
    keys.texts.push_back(script >= 0 ? pf::collation_text(bytes, script)
                                     : pf::collation_text(cell_field_utf8(cell, bytes, font), pf::kUtf8Text));
    return KeyValue{kTextKey, 0, &keys.texts.back()};
}

KeyValue key_value(const uint8_t* cell, KeyTexts& keys) {
    switch (_cellType_(cell)) {
        case kCellConstant:
        case kCellConstantAlt: return number_key(_formulaPtr_(cell));
        case kCellText: return text_key(cell, _formulaPtr_(cell), _formulaLength_(cell), keys);
        case kCellFormula:
            return _resultType_(cell) < 0 ? number_key(_resultPtr_(cell))
                                          : text_key(cell, _resultPtr_(cell), _resultLength_(cell), keys);
        default: return KeyValue{};
    }
}

// <0 when a comes first, >0 when b does, 0 when this key leaves them tied.
int compare_keys(const KeyValue& a, const KeyValue& b, bool ascending) {
    if (a.kind != b.kind) return a.kind < b.kind ? -1 : 1;
    int order = 0;
    if (a.kind == kNumberKey) order = a.number < b.number ? -1 : a.number > b.number ? 1 : 0;
    else if (a.kind == kTextKey) order = pf::compare_collation_texts(*a.text, *b.text);
    return ascending ? order : -order;
}

struct SortOrder {
    int16_t keys[kSortKeys];
    bool ascending[kSortKeys];
    int used;  // keys consulted: up to the first missing one
};

SortOrder sort_order(const int16_t keys[kSortKeys], const uint16_t orders[kSortKeys]) {
    SortOrder order{};
    for (int level = 0; level < kSortKeys; ++level) {
        order.keys[level] = keys[level];
        order.ascending[level] = orders[level] != 0;
    }
    while (order.used < kSortKeys && keys[order.used] != kNoSortKey) ++order.used;
    return order;
}

// A row or column of the range with its key values.
struct SortLine {
    int32_t index;  // position in the range
    int group = 0;  // columns: the pass that places it
    KeyValue keys[kSortKeys];
    const uint8_t* row = nullptr;  // rows: the row record
};

// The later keys, from `level` on: <0, >0 or 0 as compare_keys.
int compare_later_keys(const SortLine& a, const SortLine& b, const SortOrder& order, int level) {
    for (; level < order.used; ++level)
        if (int result = compare_keys(a.keys[level], b.keys[level], order.ascending[level])) return result;
    return 0;
}

// ---- Rows ----------------------------------------------------------------

const uint8_t* cell_in_row(const uint8_t* row, int16_t column) {
    for (const uint8_t* cell = row + kRowHeaderSize; cell < row + _RowLength_(row); cell += _cellLength_(cell)) {
        if (_cellID_(cell) == column) return cell;
        if (_cellID_(cell) > column) break;
    }
    return nullptr;
}

// Rows tied on every key keep their order in the list that ascending output
// reads forwards and descending output reads backwards.
bool row_before(const SortLine& a, const SortLine& b, const SortOrder& order) {
    if (int result = compare_keys(a.keys[0], b.keys[0], order.ascending[0])) return result < 0;
    if (int result = compare_later_keys(a, b, order, 1)) return result < 0;
    return order.ascending[0] ? a.index < b.index : a.index > b.index;
}

CellBytes rowSort(const CellBytes& block, const CellRange& range, const SortOrder& order, KeyTexts& keys) {
    std::vector<SortLine> lines;
    const uint8_t* end = block.data() + block.size();
    for (const uint8_t* row = block.data(); row < end; row += _RowLength_(row)) {
        SortLine line{int32_t(_RowID_(row)), 0, {}, row};
        for (int level = 0; level < order.used; ++level)
            if (const uint8_t* cell = cell_in_row(row, order.keys[level])) line.keys[level] = key_value(cell, keys);
        lines.push_back(line);
    }
    std::sort(lines.begin(), lines.end(), [&](const SortLine& a, const SortLine& b) { return row_before(a, b, order); });
    CellBytes sorted;
    sorted.reserve(block.size());
    int16_t next_row = range.topLeft.v;
    for (const SortLine& line : lines) {
        const size_t at = sorted.size();
        sorted.insert(sorted.end(), line.row, line.row + _RowLength_(line.row));
        _SetRowID_(sorted.data() + at, next_row++);
    }
    return sorted;
}

// ---- Columns -----------------------------------------------------------------

// The passes that place columns: by the kind of their first key's value,
// then those with a cell in the second or third key's row, then the rest.
enum ColumnGroup { kNumberColumns, kTextColumns, kErrorColumns, kSecondKeyColumns, kThirdKeyColumns, kOtherColumns };

struct ColumnLines {
    std::vector<SortLine> lines;  // columns that hold a cell
    std::vector<uint8_t> in_key_row[kSortKeys];
};

ColumnLines column_lines(const CellBytes& block, const CellRange& range, const SortOrder& order, KeyTexts& keys) {
    const size_t width = size_t(range.botRight.h - range.topLeft.h + 1);
    std::vector<SortLine> all(width);
    std::vector<uint8_t> has_cell(width, 0);
    ColumnLines columns;
    for (auto& row_marks : columns.in_key_row) row_marks.assign(width, 0);
    for_each_block_cell(block, [&](int16_t row, const uint8_t* cell) {
        const size_t column = size_t(_cellID_(cell) - range.topLeft.h);
        has_cell[column] = 1;
        for (int level = 0; level < order.used; ++level) {
            if (row != order.keys[level]) continue;
            all[column].keys[level] = key_value(cell, keys);
            columns.in_key_row[level][column] = 1;
        }
    });
    for (size_t column = 0; column < width; ++column) {
        if (!has_cell[column]) continue;
        SortLine& line = all[column];
        line.index = int32_t(column);
        const KeyKind first = line.keys[0].kind;
        if (first != kMissingKey) line.group = first;
        else if (order.used > 1 && columns.in_key_row[1][column]) line.group = kSecondKeyColumns;
        else if (order.used > 2 && columns.in_key_row[2][column]) line.group = kThirdKeyColumns;
        else line.group = kOtherColumns;
        columns.lines.push_back(line);
    }
    return columns;
}

// Each pass takes its columns best first, the leftmost of full ties.
bool column_before(const SortLine& a, const SortLine& b, const SortOrder& order) {
    if (a.group != b.group) return a.group < b.group;
    int result = 0;
    switch (a.group) {
        case kNumberColumns:
        case kTextColumns:
            result = compare_keys(a.keys[0], b.keys[0], order.ascending[0]);
            if (!result) result = compare_later_keys(a, b, order, 1);
            break;
        case kErrorColumns:
        case kSecondKeyColumns: result = compare_later_keys(a, b, order, 1); break;
        case kThirdKeyColumns: result = compare_later_keys(a, b, order, 2); break;
        default: break;
    }
    return result ? result < 0 : a.index < b.index;
}

CellBytes ColumnSort(const CellBytes& block, const CellRange& range, const SortOrder& order, KeyTexts& keys) {
    std::vector<SortLine> lines = column_lines(block, range, order, keys).lines;
    std::sort(lines.begin(), lines.end(),
              [&](const SortLine& a, const SortLine& b) { return column_before(a, b, order); });
    std::vector<int16_t> moved_to(size_t(range.botRight.h - range.topLeft.h + 1), -1);
    for (size_t place = 0; place < lines.size(); ++place)
        moved_to[size_t(lines[place].index)] = int16_t(range.topLeft.h + int32_t(place));
    BlockWriter out;
    const uint8_t* end = block.data() + block.size();
    std::vector<const uint8_t*> cells;
    for (const uint8_t* row = block.data(); row < end; row += _RowLength_(row)) {
        cells.clear();
        for (const uint8_t* cell = row + kRowHeaderSize; cell < row + _RowLength_(row); cell += _cellLength_(cell))
            cells.push_back(cell);
        auto new_column = [&](const uint8_t* cell) { return moved_to[size_t(_cellID_(cell) - range.topLeft.h)]; };
        std::sort(cells.begin(), cells.end(),
                  [&](const uint8_t* a, const uint8_t* b) { return new_column(a) < new_column(b); });
        out.use_row(_RowID_(row));
        for (const uint8_t* cell : cells) out.add_cell(cell, new_column(cell));
    }
    return out.take();
}

}  // namespace

int16_t Sort_Sheet(MemoryRef layer, int16_t by_rows, const int16_t keys[kSortKeys], const uint16_t orders[kSortKeys]) {
    const CellRange range = current_selection(layer);
    CellBytes unsorted;
    if (int16_t error = copy_range_bytes(layer, range, &unsorted)) return error;
    if (!block_has_cells(unsorted)) return 0;
    const SortOrder order = sort_order(keys, orders);
    KeyTexts texts{layer, {}};
    const CellBytes sorted =
        by_rows ? rowSort(unsorted, range, order, texts) : ColumnSort(unsorted, range, order, texts);
    return replace_cells(layer, range, range, sorted, kUndoSort);
}
