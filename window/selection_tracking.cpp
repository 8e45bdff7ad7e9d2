// Setting and stretching the selection, the reference pointed at while a
// formula is typed, the automatic-sum range, and layer reference text.
#include "window/selection_tracking.h"

#include <algorithm>
#include <cstring>

#include "core/number_text.h"
#include "core/string_utils.h"
#include "model/calc_globals.h"
#include "model/cell_record.h"
#include "model/layer_use.h"
#include "window/cell_walk.h"
#include "model/layer.h"
#include "formula/range_string.h"
#include "window/selection_highlight.h"

namespace {

void report_range(MemoryRef layer) {
    LayerUse sheet(layer);
    MachineRecord* machine = sheet->machine;
    sheet.release();
    if (machine && machine->display_range) machine->display_range(layer);
}

void report_selection(MemoryRef layer, const CellRange& range) {
    LayerUse sheet(layer);
    MachineRecord* machine = sheet->machine;
    sheet.release();
    if (machine && machine->display_selection) machine->display_selection(&range);
}

bool is_numeric(const uint8_t* cell) {
    return _cellType_(cell) == kCellConstant || _cellType_(cell) == kCellFormula;
}

// A run of numeric cells along one line ending before the active cell: the
// first and last index of the run still open there, or -1 when none.
struct Run {
    int16_t first = -1;
    int16_t last = -1;
    void see(int16_t index, bool numeric) {
        if (!numeric) {
            first = last = -1;
            return;
        }
        if (first < 0) first = index;
        last = index;
    }
    bool open() const { return first >= 0; }
    int16_t span() const { return int16_t(last - first); }
};

Run row_run(MemoryRef layer, CellPoint active) {
    Run run;
    each_cell_of_row(layer, active.v, [&](const uint8_t* cell) {
        if (_cellID_(cell) >= active.h) return false;
        run.see(_cellID_(cell), is_numeric(cell));
        return true;
    });
    return run;
}

Run column_run(MemoryRef layer, CellPoint active) {
    Run run;
    each_row(layer, [&](const uint8_t* row, const uint8_t* row_end) {
        if (_RowID_(row) >= active.v) return false;
        each_cell(row, row_end, [&](const uint8_t* cell) {
            if (_cellID_(cell) == active.h) run.see(_RowID_(row), is_numeric(cell));
            return _cellID_(cell) < active.h;
        });
        return true;
    });
    return run;
}

// One axis of a pointed reference: from the anchor's first index to the cell
// when the cell lies past it, else from the cell to the anchor's last index.
void stretch_from_anchor(int16_t first, int16_t last, int16_t at, int16_t& low, int16_t& high) {
    low = at > first ? first : at;
    high = at > first ? at : last;
}

void append_layer_number(unsigned char* text, int16_t index, bool absolute) {
    if (absolute) AppendChar(text, '$');
    unsigned char digits[16];
    ConcatPString(text, Num_To_String(index + 1, digits));
}

// The automatic sum's proposal (the rules above), the active cell alone when none.
CellRange proposed_sum_range(MemoryRef layer) {
    LayerUse sheet(layer);
    const CellPoint active = sheet->active_cell;
    sheet.release();
    const Run across = row_run(layer, active), down = column_run(layer, active);
    const CellRange alone{active, active};
    const CellRange row_range{{active.v, across.first}, {active.v, across.last}};
    const CellRange column_range{{down.first, active.h}, {down.last, active.h}};
    const bool row_long = across.open() && across.span() > 0;
    const bool column_long = down.open() && down.span() > 0;
    if (!row_long && !column_long) {
        // No run of two or more: a single number on the left, else one
        // above, else the active cell.
        if (across.open()) return row_range;
        if (down.open()) return column_range;
        return alone;
    }
    const bool row_adjacent = across.open() && across.last == active.h - 1;
    const bool column_adjacent = down.open() && down.last == active.v - 1;
    const bool row_longer = across.open() && (!down.open() || across.span() > down.span());
    if (row_adjacent && !column_adjacent) return row_long ? row_range : alone;
    if (row_adjacent && column_adjacent) return row_longer ? row_range : column_range;
    if (column_adjacent) return column_range;
    return row_longer ? row_range : (down.open() ? column_range : row_range);
}

}  // namespace

CellRange span_of(CellPoint a, CellPoint b) {
    return {{std::min(a.v, b.v), std::min(a.h, b.h)}, {std::max(a.v, b.v), std::max(a.h, b.h)}};
}

bool is_single_cell(const CellRange& range) { return range.topLeft == range.botRight; }

void LSelect(CellPoint cell, const CellRange* range, MemoryRef, int16_t, MemoryRef layer) {
    InvertCells(layer);
    set_layer_selection(cell, range, layer);
    InvertCells(layer);
    report_range(layer);
}

void GetSelectRect(CellRange* range, MemoryRef layer) {
    LayerUse sheet(layer);
    *range = sheet->selection;
}

void SelectIt(CellPoint* last, CellPoint cell, MemoryRef layer) {
    cell = CellPoint{std::max<int16_t>(cell.v, 0), std::max<int16_t>(cell.h, 0)};
    if (cell == *last) return;
    const CellRange stretched = span_of(LayerUse(layer)->active_cell, cell);
    InvertCells(layer);
    {
        LayerUse sheet(layer);
        sheet->selection = stretched;
        sheet->flags |= kLayerFormatStale;
    }
    InvertCells(layer);
    // One cell is shown by its name, as after a plain selection; a range by its size.
    if (is_single_cell(stretched)) report_range(layer);
    else report_selection(layer, stretched);
    *last = cell;
}

void GhostIt(MemoryRef layer, CellPoint* last, CellPoint cell, CellRange* output, const CellRange* anchor) {
    cell = CellPoint{std::max<int16_t>(cell.v, 0), std::max<int16_t>(cell.h, 0)};
    if (cell == *last) return;
    stretch_from_anchor(anchor->topLeft.v, anchor->botRight.v, cell.v, output->topLeft.v, output->botRight.v);
    stretch_from_anchor(anchor->topLeft.h, anchor->botRight.h, cell.h, output->topLeft.h, output->botRight.h);
    report_selection(layer, *output);
    *last = cell;
}

bool AddSumRange(MemoryRef layer, CellRange* range) {
    *range = proposed_sum_range(layer);
    const CellPoint active = GetClickCell(layer);
    return !(range->topLeft == active && range->botRight == active);
}

int16_t LayerString(unsigned char* text, int16_t first_layer, int16_t last_layer, const bool layer_absolute[2],
                    const CellRange* range, const bool absolute[4], MemoryRef shown_on) {
    RangeString(text, range, absolute, nullptr);
    if (first_layer < 0 || last_layer < 0) return 0;
    unsigned char prefix[256] = {0};
    if (first_layer == last_layer) {
        if (shown_on && GetSheetID(shown_on) == first_layer) return 1;
        append_layer_number(prefix, first_layer, layer_absolute[0]);
    } else {
        append_layer_number(prefix, first_layer, layer_absolute[0]);
        AppendChar(prefix, ':');
        append_layer_number(prefix, last_layer, layer_absolute[1]);
    }
    AppendChar(prefix, ':');
    ConcatPString(prefix, text);
    std::memcpy(text, prefix, size_t(prefix[0]) + 1);
    return 1;
}

void CharConcat(unsigned char* text, unsigned char c) {
    if (text[0] < 255) text[++text[0]] = c;
}

bool isexpchar(unsigned char c) { return c == 'e' || c == 'E'; }
bool isaddopchar(unsigned char c) { return c == '+' || c == '-'; }

bool isOpchar(unsigned char c) {
    static constexpr unsigned char kOperators[] = {'+', '-', '*', '/', '=', '<', '>', '^', '&', '%', 173, 178, 179, 214};
    return std::find(std::begin(kOperators), std::end(kOperators), c) != std::end(kOperators);
}
