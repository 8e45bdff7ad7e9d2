// Format commands over a layer's selection: checks, undo record, records made
// where needed, the field set everywhere, the range redrawn.
#include "model/format_commands.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "model/cell_formats.h"
#include "model/cell_letters.h"
#include "model/cell_record.h"
#include "model/cell_store.h"
#include "model/default_font_cells.h"
#include "model/layer.h"
#include "model/layer_use.h"
#include "model/model_services.h"
#include "model/undo_write.h"
#include "model/workbook.h"
#include "platform/text/text.h"

namespace {

constexpr int32_t kProgressCells = 500;
constexpr int32_t kWaitFormatting = 2;
constexpr int16_t kUserCancelled = -128;
constexpr int32_t kLargestShownCount = 0x7FFF;
constexpr int16_t kFallbackFont = 1;
constexpr int16_t kFallbackSize = 12;


CellRange selection_of(MemoryRef layer) {
    LayerUse sheet(layer);
    CellRange range = sheet->selection;
    return range;
}

MachineRecord* machine_of(MemoryRef layer) {
    LayerUse sheet(layer);
    MachineRecord* machine = sheet->machine;
    return machine;
}

int16_t alert(MemoryRef layer, int32_t code) {
    MachineRecord* machine = machine_of(layer);
    return machine && machine->alert ? machine->alert(code) : 0;
}

// Asks before making `missing` records; true when the user cancels.
bool declined(MemoryRef layer, int32_t code, int32_t missing, int32_t limit) {
    if (missing <= limit) return false;
    return alert(layer, code | (std::min(missing, kLargestShownCount) << 16)) == 1;
}

void wait(MemoryRef layer, int32_t done, int32_t total) {
    MachineRecord* machine = machine_of(layer);
    if (machine && machine->wait) machine->wait(layer, kWaitFormatting, done, total);
}

// Runs `visit` on every stored cell whose row and column lie in the range,
// with its address.
template <typename Visit>
void for_each_cell_at(const CellRange& range, MemoryRef layer, Visit&& visit) {
    MemoryRef store = GetSpreadSheetCells(layer);
    if (!store) return;
    MemoryUse<uint8_t> start(store);
    const uint8_t* end = start + GetByteSize(store);
    for (uint8_t* row = start; row < end; row += _RowLength_(row)) {
        if (_RowID_(row) < range.topLeft.v) continue;
        if (_RowID_(row) > range.botRight.v) break;
        for (uint8_t* cell = row + kRowHeaderSize; cell < row + _RowLength_(row); cell += _cellLength_(cell)) {
            if (_cellID_(cell) > range.botRight.h) break;
            if (_cellID_(cell) >= range.topLeft.h) visit(cell, CellPoint{_RowID_(row), _cellID_(cell)});
        }
    }
}

template <typename Visit>
void for_each_cell(const CellRange& range, MemoryRef layer, Visit&& visit) {
    for_each_cell_at(range, layer, [&](uint8_t* cell, CellPoint) { visit(cell); });
}

// Each stored cell of the range becomes the record `made` answers for it
// (given the cell and its address): a record of the same length is copied in
// place, the others are stored again.
template <typename Made>
void remake_cells(const CellRange& range, MemoryRef layer, Made&& made) {
    std::vector<std::string> rows_of_one;
    for_each_cell_at(range, layer, [&](uint8_t* cell, CellPoint where) {
        const std::string changed = made(cell, where);
        if (changed.size() == size_t(_cellLength_(cell))) {
            std::memcpy(cell, changed.data(), changed.size());
            return;
        }
        std::string block(kRowHeaderSize, '\0');
        block += changed;
        _SetRowID_(reinterpret_cast<uint8_t*>(block.data()), where.v);
        _SetRowLength_(reinterpret_cast<uint8_t*>(block.data()), uint32_t(block.size()));
        rows_of_one.push_back(std::move(block));
    });
    for (const std::string& block : rows_of_one)
        InputCell(&range, reinterpret_cast<const uint8_t*>(block.data()), int32_t(block.size()), layer);
}

int32_t count_cells(const CellRange& range, MemoryRef layer) {
    int32_t count = 0;
    for_each_cell(range, layer, [&](uint8_t*) { ++count; });
    return count;
}

int32_t cells_of(const CellRange& r) {
    return int32_t(r.botRight.v - r.topLeft.v + 1) * int32_t(r.botRight.h - r.topLeft.h + 1);
}

std::vector<uint8_t> bytes_of(MemoryRef block) {
    std::vector<uint8_t> bytes;
    if (!block) return bytes;
    bytes.resize(size_t(GetByteSize(block)));
    if (bytes.empty()) return bytes;
    std::memcpy(bytes.data(), MemoryUse<>(block).get(), bytes.size());
    return bytes;
}

// A format-only cell that takes the address's own format, so that a cell made
// in a formatted row or column looks as it did.
void append_format_cell(std::vector<uint8_t>& out, CellPoint where, MemoryRef layer) {
    uint8_t cell[kCellHeaderSize];
    get_format(cell, where, layer);
    _SetCellID_(cell, where.h);
    cell[kFmtLabelLength] = cell[kFmtNoteLength] = 0;
    cell[kFmtCellType] = kCellFormatOnly;
    _SetCellLength_(cell, kCellHeaderSize);
    _SetFormulaLength_(cell, 0);
    store_i16(cell + kFmtStyleLength, 0);
    _SetResultType_(cell, 0);
    out.insert(out.end(), cell, cell + kCellHeaderSize);
}

// The old row's cells, with format-only cells in the gaps, for every column.
void build_row(std::vector<uint8_t>& out, int16_t row, const uint8_t* old_row, const CellRange& range,
               MemoryRef layer) {
    const size_t header = out.size();
    out.resize(header + kRowHeaderSize);
    const uint8_t* cell = old_row ? old_row + kRowHeaderSize : nullptr;
    const uint8_t* end = old_row ? old_row + _RowLength_(old_row) : nullptr;
    for (int32_t column = range.topLeft.h; column <= range.botRight.h; ++column) {
        while (cell && cell < end && _cellID_(cell) < column) cell += _cellLength_(cell);
        if (cell && cell < end && _cellID_(cell) == column) out.insert(out.end(), cell, cell + _cellLength_(cell));
        else append_format_cell(out, CellPoint{row, int16_t(column)}, layer);
    }
    _SetRowID_(out.data() + header, row);
    _SetRowLength_(out.data() + header, uint32_t(out.size() - header));
}

// Stores a block built in memory over the selection.
int16_t store_over_selection(const std::vector<uint8_t>& bytes, MemoryRef layer) {
    const CellRange range = selection_of(layer);
    MemoryGlobals* globals = GetMemoryGlobals(layer);
    MemoryRef block = nullptr;
    int16_t error = with_failure_handler(globals, [&] {
        block = Bytes2Memory(globals, bytes.data(), 1, int32_t(bytes.size()));
        if (!block) msFailure(globals, kNoMemoryErr, nullptr);
    });
    if (!error) error = InputData(range.topLeft, range.botRight, block, layer);
    DisposeNonNilMemory(block);
    if (!error) model_services.invalidate_cells(&range, layer);
    return error;
}

// Rebuilds every cell of a block of row records through `rebuild` (given the
// cell and its row), which appends the new cell (or nothing, to drop it).
template <typename Rebuild>
std::vector<uint8_t> rebuilt_cells(MemoryRef cells, Rebuild&& rebuild) {
    const std::vector<uint8_t> old = bytes_of(cells);
    std::vector<uint8_t> out;
    for (const uint8_t* row = old.data(); row < old.data() + old.size(); row += _RowLength_(row)) {
        const size_t header = out.size();
        out.insert(out.end(), row, row + kRowHeaderSize);
        for (const uint8_t* cell = row + kRowHeaderSize; cell < row + _RowLength_(row); cell += _cellLength_(cell))
            rebuild(out, cell, _RowID_(row));
        if (out.size() == header + kRowHeaderSize) out.resize(header);
        else _SetRowLength_(out.data() + header, uint32_t(out.size() - header));
    }
    return out;
}

void append(std::vector<uint8_t>& out, const uint8_t* bytes, size_t n) { out.insert(out.end(), bytes, bytes + n); }

// Copies of the layer's format arrays for the undo record (absent stays absent).
struct ArrayCopies {
    MemoryRef columns = nullptr;
    MemoryRef rows = nullptr;
};

int16_t copy_arrays(bool columns, bool rows, ArrayCopies* copies, MemoryRef layer) {
    return with_failure_handler(GetMemoryGlobals(layer), [&] {
        if (columns) copies->columns = DuplicateNonNilMemory(GetSpreadSheetColumnFormats(layer));
        if (rows) copies->rows = DuplicateNonNilMemory(GetSpreadSheetRowFormats(layer));
    });
}

int16_t extent_of(bool columns, bool rows) {
    if (columns && rows) return kFormatUndoColumns;
    if (columns) return kFormatUndoTable;
    return rows ? kFormatUndoRows : kFormatUndoBlock;
}

// The old cells of a whole-row or whole-column range for undo; false (the
// user told) when memory ran out.
bool copy_old_cells(const CellRange& range, MemoryRef* old, MemoryRef layer) {
    if (!copy_cells(0, range.topLeft, range.botRight, old, layer)) return true;
    alert(layer, kFormatMemoryAlert);
    return false;
}

void set_layer_flag(MemoryRef layer, uint32_t flag) { SetSheetFlags(layer, GetSheetFlags(layer) | flag); }

// Sets the field of the existing records of a span, and of the layer's
// default format when the span is every row or column.
void set_span(int16_t field, int16_t value, bool clear, int16_t first, int16_t last, bool columns,
              MemoryRef layer) {
    if (columns) SetColumnByte(first, last, field, value, clear, GetSpreadSheetColumnFormats(layer));
    else SetRowByte(first, last, field, value, clear, GetSpreadSheetRowFormats(layer));
    if (last - first != kLastCell) return;
    LayerUse sheet(layer);
    uint8_t* format = columns ? sheet->default_column_format : sheet->default_row_format;
    SetFormatByte(format, field, value, clear, true, kFallbackFont, kFallbackSize, nullptr);
}

void make_records(const CellRange& range, bool columns, MemoryRef layer) {
    const int32_t span = columns ? (range.topLeft.h << 16) | range.botRight.h
                                 : (range.topLeft.v << 16) | range.botRight.v;
    const int16_t error = columns ? InputColumnFormat(layer, span) : InputRowFormat(layer, span);
    if (error) alert(layer, kFormatMemoryAlert);
}

}  // namespace

int16_t check_protected(const CellRange* range, MemoryRef layer) {
    int16_t locked = 0;
    for_each_cell(*range, layer, [&](uint8_t* cell) {
        if (cell[kFmtFlagsA] & kFlagLocked) locked = 1;
    });
    return locked;
}

void SetBits(int16_t field, int16_t value, const CellRange* range, bool clear, bool create, bool force,
             MemoryRef layer) {
    const CellRange r = *range;
    const bool whole_layer = whole_columns(r) && whole_rows(r);
    set_layer_flag(layer, kLayerFormatStale);
    if (whole_columns(r)) {
        if (create && !whole_layer) make_records(r, true, layer);
        if (field >= 0) set_span(field, value, clear, r.topLeft.h, r.botRight.h, true, layer);
    }
    if (whole_rows(r)) {
        if (create && !whole_layer) make_records(r, false, layer);
        if (field >= 0) set_span(field, value, clear, r.topLeft.v, r.botRight.v, false, layer);
    }
    if (field < 0) return;
    const RangeLetters letters = letters_in_range(r, layer);
    if (field == kFmtFont) {
        remake_cells(r, layer, [&](const uint8_t* cell, CellPoint where) {
            return cell_in_font(cell, where, uint16_t(value), layer);
        });
    } else {
        const int16_t font = Get_Default_Font(layer), size = Get_Default_Size(layer);
        MemoryGlobals* globals = GetMemoryGlobals(layer);
        for_each_cell(r, layer, [&](uint8_t* cell) {
            SetFormatByte(cell, field, value, clear, force, font, size, globals);
        });
    }
    check_letters_kept(letters, layer, "format commands");
    model_services.invalidate_cells(&r, layer);
}

int16_t input_cell_formats(MemoryRef* old_cells, MemoryRef layer) {
    *old_cells = nullptr;
    const CellRange range = selection_of(layer);
    const bool progress = cells_of(range) > kProgressCells;
    const int32_t rows = range.botRight.v - range.topLeft.v;
    if (progress) wait(layer, 0, 100);
    MemoryRef copy = nullptr;
    int16_t error = copy_cells(0, range.topLeft, range.botRight, &copy, layer) ? kNoMemoryErr : 0;
    std::vector<uint8_t> built;
    if (!error) {
        const std::vector<uint8_t> old = bytes_of(copy);
        const uint8_t* old_row = old.data();
        const uint8_t* old_end = old.data() + old.size();
        for (int32_t row = range.topLeft.v; row <= range.botRight.v && !error; ++row) {
            while (old_row < old_end && _RowID_(old_row) < row) old_row += _RowLength_(old_row);
            const bool present = old_row < old_end && _RowID_(old_row) == row;
            build_row(built, int16_t(row), present ? old_row : nullptr, range, layer);
            if (progress) wait(layer, row - range.topLeft.v, rows);
            if (model_services.stop_requested()) error = kUserCancelled;
        }
    }
    if (!error) error = store_over_selection(built, layer);
    if (progress) wait(layer, 100, 100);
    if (error) {
        DisposeNonNilMemory(copy);
        if (error != kUserCancelled) model_services.report_error(kNoMemoryErr);
        return error;
    }
    *old_cells = copy;
    return 0;
}

int16_t formatUndo(int16_t undo_kind, CellPoint top_left, CellPoint bottom_right, MemoryRef layer) {
    const CellRange range{top_left, bottom_right};
    MemoryRef old = nullptr;
    bool columns = false, rows = false;
    if (whole_columns(range)) {
        const int32_t count = range.botRight.h - range.topLeft.h + 1;
        const int32_t held = CountRowColumns(range.topLeft.h, range.botRight.h, GetSpreadSheetColumnFormats(layer));
        if (!whole_rows(range) && declined(layer, kManyColumnsAlert, count - held, kMissingRecordsAsked)) return -1;
        if (!copy_old_cells(range, &old, layer)) return -1;
        columns = rows = true;
    } else if (whole_rows(range)) {
        const int32_t count = range.botRight.v - range.topLeft.v + 1;
        const int32_t held = CountRowColumns(range.topLeft.v, range.botRight.v, GetSpreadSheetRowFormats(layer));
        if (declined(layer, kManyRowsAlert, count - held, kMissingRecordsAsked)) return -1;
        if (!copy_old_cells(range, &old, layer)) return -1;
        rows = true;
    } else {
        if (declined(layer, kManyCellsAlert, cells_of(range) - count_cells(range, layer), kMissingCellsAsked))
            return -1;
        if (input_cell_formats(&old, layer)) {
            alert(layer, kFormatMemoryAlert);
            return -1;
        }
    }
    if (undo_kind == kFormatTableUndoKind) columns = true;
    if (undo_kind == kFontUndoKind) rows = true;
    ArrayCopies copies;
    int16_t error = copy_arrays(columns, rows, &copies, layer);
    if (!error) {
        error = with_failure_handler(GetMemoryGlobals(layer), [&] {
            WriteMemUndo(undo_kind, extent_of(columns, rows), &range, nullptr, old, nullptr,
                                          copies.columns, copies.rows, nullptr, layer);
        });
    }
    if (!error) return 0;
    // Nothing is to change without its undo record: the cells made go again.
    if (!whole_columns(range) && !whole_rows(range)) InputData(range.topLeft, range.botRight, old, layer);
    for (MemoryRef block : {old, copies.columns, copies.rows}) DisposeNonNilMemory(block);
    alert(layer, kFormatMemoryAlert);
    return -1;
}

void set_layer_default_font(MemoryRef layer, int16_t font) {
    const CellRange everything{{0, 0}, {kLastCell, kLastCell}};
    const RangeLetters letters = letters_in_range(everything, layer);
    const int16_t old_font = Get_Default_Font(layer);
    {
        LayerUse sheet(layer);
        sheet->font = font;
        font_name_of(font, sheet->font_name);
    }
    if (pf::font_to_script(old_font) != pf::font_to_script(font))
        remake_cells(everything, layer, [&](const uint8_t* cell, CellPoint where) {
            return cell_from_default(cell, where, old_font, layer);
        });
    check_letters_kept(letters, layer, "default font");
}

int16_t Format_Sheet(int16_t undo_kind, int16_t field, int16_t value, bool clear, bool create, bool force,
                     MemoryRef layer) {
    if (check_access(layer)) {
        alert(layer, kProtectedWorkbookAlert);
        return 0;
    }
    const CellRange range = selection_of(layer);
    if (range.topLeft.v < 0 || range.topLeft.h < 0) return 0;  // a drawing object is selected
    const bool lock_bit = field == kFmtFlagsA && value == 0;
    if (!lock_bit && check_protected(&range, layer)) {
        alert(layer, kLockedCellsAlert);
        return 0;
    }
    if (formatUndo(undo_kind, range.topLeft, range.botRight, layer)) return 0;
    if (field >= 0 || create) SetBits(field, value, &range, clear, create, force, layer);
    if (field == kFmtPatternFore) set_layer_flag(layer, kLayerColouredFills);
    return 1;
}

int16_t ClearCellFormat(MemoryRef cells, MemoryRef layer) {
    uint8_t plain[kCellFormatSize];
    GetDefaultFormat(plain);
    const CellRange range = selection_of(layer);
    const RangeLetters letters = letters_in_range(range, layer);
    const int16_t error = store_over_selection(
        rebuilt_cells(cells, [&](std::vector<uint8_t>& out, const uint8_t* cell, int16_t row) {
            if (_cellType_(cell) == kCellFormatOnly) return;
            std::string cleared = cell_in_format(cell, CellPoint{row, _cellID_(cell)}, plain, layer);
            auto* head = reinterpret_cast<uint8_t*>(cleared.data());
            cleared.erase(kCellHeaderSize, _labelLength_(head));
            head = reinterpret_cast<uint8_t*>(cleared.data());
            head[kFmtLabelLength] = 0;
            _SetCellLength_(head, int16_t(cleared.size()));
            append(out, head, cleared.size());
        }),
        layer);
    if (!error) check_letters_kept(letters, layer, "format commands");
    return error;
}

int16_t ClearFormulas(MemoryRef cells, MemoryRef layer) {
    return store_over_selection(rebuilt_cells(cells, [](std::vector<uint8_t>& out, const uint8_t* cell, int16_t) {
        uint8_t head[kCellHeaderSize];
        std::memcpy(head, cell, kCellHeaderSize);
        head[kFmtCellType] = kCellFormatOnly;
        _SetFormulaLength_(head, 0);
        store_i16(head + kFmtStyleLength, 0);
        _SetResultType_(head, 0);
        _SetCellLength_(head, int16_t(kCellHeaderSize + _labelLength_(cell) + _noteLength_(cell)));
        append(out, head, kCellHeaderSize);
        append(out, _labelPtr_(cell), size_t(_labelLength_(cell)) + _noteLength_(cell));
    }), layer);
}

void AddCustomLabel(MemoryRef layer, const unsigned char* text, int16_t which) {
    const CellRange range = selection_of(layer);
    MemoryRef cells = nullptr;
    if (copy_cells(0, range.topLeft, range.botRight, &cells, layer)) {
        alert(layer, kFormatMemoryAlert);
        return;
    }
    const uint8_t length = text ? text[0] : 0;
    store_over_selection(rebuilt_cells(cells, [&](std::vector<uint8_t>& out, const uint8_t* cell, int16_t) {
        const bool label = which == 0;
        const uint8_t kept_length = label ? _noteLength_(cell) : _labelLength_(cell);
        const uint8_t old_length = label ? _labelLength_(cell) : _noteLength_(cell);
        const size_t rest = size_t(_cellLength_(cell)) - kCellHeaderSize - _labelLength_(cell) - _noteLength_(cell);
        uint8_t head[kCellHeaderSize];
        std::memcpy(head, cell, kCellHeaderSize);
        head[label ? kFmtLabelLength : kFmtNoteLength] = length;
        _SetCellLength_(head, int16_t(_cellLength_(cell) + length - old_length));
        append(out, head, kCellHeaderSize);
        if (!label) append(out, _labelPtr_(cell), kept_length);
        append(out, text + 1, length);
        if (label) append(out, _notePtr_(cell), kept_length);
        append(out, _formulaPtr_(cell), rest);
    }), layer);
    DisposeMemory(cells);
}

// Date menu: items 1 to n - 5 the codes 0 on, then 110, 111, 112, a
// separator and Custom. Time menu: item i the code 20 + i, then 28 and 29.
int16_t date_verb(int16_t item) {
    constexpr int16_t n = kDateMenuItems;
    if (item >= 1 && item <= n - 5) return int16_t(item - 1);
    if (item >= n - 4 && item <= n - 2) return int16_t(110 + item - (n - 4));
    return -1;
}

int16_t time_verb(int16_t item) {
    constexpr int16_t n = kTimeMenuItems;
    if (item == n - 1) return 28;
    if (item == n) return 29;
    if (item >= 1 && item < n - 1) return int16_t(20 + item);
    return -1;
}

int16_t format_to_dateitem(int16_t code) {
    for (int16_t item = 1; item <= kDateMenuItems; ++item) {
        if (date_verb(item) == code) return item;
    }
    return -1;
}

int16_t format_to_timeitem(int16_t code) {
    for (int16_t item = 1; item <= kTimeMenuItems; ++item) {
        if (time_verb(item) == code) return item;
    }
    return -1;
}
