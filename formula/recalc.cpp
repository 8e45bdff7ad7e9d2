// Recalculation at idle time: passes over the formula cells of one layer at a
// time, in short steps that give way to waiting events.
//
// Design
//
// There is no dependency graph. A layer is calculated in passes over all its
// formula cells until a pass changes nothing; the order of the passes varies
// so that chains settle in whatever direction they run.
//
// States. stopCalc holds the mode (sign) and whether work is asked for:
//   -1 automatic, calculating   at start; entered by ResetCalc in the
//                               automatic mode, do_calc_now, the restart of
//                               a finished one
//   -2 automatic, finished      entered by NextCalcStep when no layer is left
//    1 manual, calculating      entered by do_calc_now in the manual mode
//    2 manual, at rest          entered by ResetCalc in the manual mode,
//                               NextCalcStep when no layer is left, the manual
//                               menu item, a circle reported by CheckCircular
// calc_proc (the application's idle) steps in -1 and 1; in -2 it restarts the
// recalculation once kRestartAfterTicks passed since calcTimer and
// kQuietTicks since the last event, and otherwise lets the charts idle; in 2
// it does nothing.
//
// Cycles. Each layer's calc_cycle says which pass comes next:
//   0 reset; 1 rows; then while passes change values 2 bottom-up, 3 columns,
//   4 and 5 rows, 6 rows, and round again from 2 with every changed cell
//   tested for a circle (gCheckCirculars); a pass without change leads to 6,
//   a second one to 7, finished.
// ResetCalc (windows) and ResetWorkbookCalc (no window) put layers back to 0;
// NextCalcStep alone moves a cycle forward, at the end of a pass.
//
// Drivers. calculate_workbook (workbook_calculation.cpp) is the one driver:
// calc_proc calls it one step at a time for the workbook of CalcWind, callers
// without windows call it after ResetWorkbookCalc to run through to the end
// or for a budget of ticks. A step is StepWorkbookCalc: DoCalculation on the
// layer calc_proc chooses (the first layer behind layer 0's cycle, else 0).
//
// Invariants
//  1. A step gives way only between whole rows (CheckIdle: an event waits or
//     the budget is spent), saving where the pass goes on in the layer's
//     recalc_resume; the next step starts there, so a pass cut into steps
//     calculates what one step would.
//  2. A layer and its cell block are in use only during a step; g_calcWork and
//     g_calcSheet are set for a step and cleared after it.
//  3. NOW and TODAY answer g_calc_time, taken at a reset, for the whole
//     recalculation; random numbers change only in pass 1.
//  4. An unchanged result is not stored, redrawn or passed on to links; a
//     result of another length moves the cells behind it and the row is gone
//     over again from its start (at most kMaxRowRescans times).
//  5. A reported circle stops the recalculation (manual, at rest) with the
//     interrupted pass's resume cell kept, and ends a call of
//     calculate_workbook; only do_calc_now (the Options menu) starts it again.
//  6. A finished layer (7) is not stepped by a caller without windows; the
//     idle steps CalcWind's workbook whatever its cycles while stopCalc asks.
#include "formula/recalc.h"

#include <algorithm>
#include <cfenv>
#include <cstring>
#include <vector>

#include "core/invariant_checks.h"
#include "formula/calc_services.h"
#include "formula/cell_values.h"
#include "formula/evaluator.h"
#include "formula/formula_program.h"
#include "formula/lookup_columns.h"
#include "formula/trace.h"
#include "model/cell_record.h"
#include "model/cell_store.h"
#include "model/date_serials.h"
#include "model/layer_use.h"
#include "model/model_services.h"
#include "model/workbook.h"
#include "platform/events/clock.h"

int16_t stopCalc = kCalcAutoRunning;
LayerWindow CalcWind = nullptr;
uint32_t calcTimer = 0;
uint32_t gEventTime = 0;
int16_t gCheckCirculars = 0;

namespace {

constexpr int16_t kResumeRowLimit = 32000;
// A row whose cells keep changing length is gone over again at most this many
// times in one step; after that the pass goes on behind the changed cell.
constexpr int kMaxRowRescans = 3;

enum class StepEnd { pass_done, yielded, circle };

uint32_t ticks() { return pf::tick_count(); }

constexpr const char* kRecalc = "the recalculation";

// The states of the notes above at a change of state: stopCalc is one of its
// four, and the layer's cycle one of 0 ... 7.
void check_recalc_state(MemoryRef layer) {
    if (!invariants_checked()) return;
    check_invariant(stopCalc == kCalcAutoRunning || stopCalc == kCalcAutoDone || stopCalc == kCalcManualRunning ||
                        stopCalc == kCalcManualIdle,
                    kRecalc, 0, "stopCalc holds no state");
    if (!layer) return;
    const int16_t cycle = GetSpreadSheetCalcCycle(layer);
    check_invariant(cycle >= kCycleReset && cycle <= kCycleDone, kRecalc, 0, "a layer's cycle is outside 0 ... 7");
}

// What invariants 2 and 3 compare across a step: the uses of the layer and of
// its cell block, and the recalculation's time.
struct StepWatch {
    MemoryRef layer = nullptr;
    MemoryRef cells = nullptr;
    int32_t layer_uses = 0;
    int32_t cell_uses = 0;
    double time = 0;
};

StepWatch watch_step(MemoryRef layer) {
    if (!invariants_checked() || !layer) return StepWatch{};
    MemoryRef cells = GetSpreadSheetCells(layer);
    return StepWatch{layer, cells, get_access_ctr(layer), cells ? get_access_ctr(cells) : 0, g_calc_time};
}

// After a step: the context is cleared, the layer and its cell block are in
// use as often as before it (2), and the time is the one taken at the reset (3).
void check_step_ended(const StepWatch& before) {
    if (!invariants_checked() || !before.layer) return;
    check_invariant(!g_calcWork && !g_calcSheet, kRecalc, 2, "the calculation context outlives its step");
    check_invariant(get_access_ctr(before.layer) == before.layer_uses, kRecalc, 2,
                    "the layer stays in use after its step");
    if (before.cells && GetSpreadSheetCells(before.layer) == before.cells)
        check_invariant(get_access_ctr(before.cells) == before.cell_uses, kRecalc, 2,
                        "the cell block stays in use after its step");
    check_invariant(g_calc_time == before.time, kRecalc, 3, "the recalculation's time changed within a step");
    check_recalc_state(before.layer);
}

// The layer being calculated, held for the step, with its store.
struct CellAt {
    uint32_t offset;
    int16_t column;
};

struct CalcPass {
    MemoryRef layer;
    SpreadSheet* sheet;
    MemoryRef store;
    bool traps_cleared = false;           // the step put the floating-point environment to its default
    HeldLayerCells reads = {};            // the layer's cells as formulas read them
    std::vector<CellAt> row_cells = {};  // the formula cells of the row being calculated
    int32_t resized_by = 0;               // bytes the last compared cell grew by
    // Every formula so far ran as a program whose result was stored, and
    // read formula cells only before its own (settled forwards) or only after
    // it (settled backwards), row by row: a whole pass in that direction that
    // stays so has brought every formula to its final value.
    bool settled_forwards = true;
    bool settled_backwards = true;

    void unsettle() { settled_forwards = settled_backwards = false; }
};

// The offset of a row record in the store, through the row cache when it is
// held; false when the row has no cells.
bool find_row(const CalcPass& pass, int16_t row, uint32_t* offset) {
    if (row < 0) return false;
    if (pass.sheet->row_cache_data) {
        if (row > pass.sheet->last_row) return false;
        uint32_t entry = pass.sheet->row_cache_data[row];
        if (!entry) return false;
        *offset = entry - 1;
        return true;
    }
    MemoryUse<uint8_t> start(pass.store);
    uint8_t* p = start;
    uint32_t length = 0;
    int16_t wanted = row;
    bool found = FindRow(&wanted, &length, start + GetByteSize(pass.store), &p);
    *offset = uint32_t(p - start);
    return found;
}

// The highest stored row (0 for an empty store).
int16_t last_stored_row(const CalcPass& pass) {
    int16_t last = 0;
    MemoryUse<uint8_t> start(pass.store);
    const uint8_t* end = start + GetByteSize(pass.store);
    for (const uint8_t* row = start; row < end; row += _RowLength_(row)) last = _RowID_(row);
    return last;
}

// The first stored row at or after `row`, or -1.
int16_t next_stored_row(const CalcPass& pass, int32_t row) {
    if (pass.sheet->row_cache_data) {
        for (int32_t r = std::max(row, 0); r <= pass.sheet->last_row; ++r)
            if (pass.sheet->row_cache_data[r]) return int16_t(r);
        return -1;
    }
    int16_t found = -1;
    MemoryUse<uint8_t> start(pass.store);
    const uint8_t* end = start + GetByteSize(pass.store);
    for (const uint8_t* p = start; p < end; p += _RowLength_(p))
        if (_RowID_(p) >= row) {
            found = _RowID_(p);
            break;
        }
    return found;
}

// The bytes of a new result: a text's bytes, or a number in a 10-byte slot.
struct NewResult {
    int16_t type;
    const uint8_t* bytes;
    int32_t length;
    uint8_t slot[kNumberSlotSize];
};

NewResult new_result(const uint8_t* cell, int16_t font) {
    NewResult result{};
    result.type = stored_result_type(cell, font);
    if (g_resultType > 0) {
        result.bytes = g_CellString + 1;
        result.length = g_CellString[0];
    } else {
        store_f64(result.slot, g_value);
        result.bytes = result.slot;
        result.length = kNumberSlotSize;
    }
    return result;
}

bool same_result(const uint8_t* cell, const NewResult& result) {
    const int16_t old_type = _resultType_(cell);
    const int32_t old_length = _resultLength_(cell);
    if (old_type < 0 && result.type < 0 && old_length == kNumberSlotSize)
        return old_type == result.type && std::memcmp(_resultPtr_(cell), result.bytes, 8) == 0;
    return old_type == result.type && old_length == result.length &&
           std::memcmp(_resultPtr_(cell), result.bytes, size_t(result.length)) == 0;
}

// Stores a result of another length: the cell, its row and the store grow or
// shrink by the difference and the row cache is rebuilt. False when the store
// cannot grow (the old result stays).
bool store_resized_result(CalcPass& pass, uint32_t row_offset, uint32_t cell_offset, const NewResult& result) {
    auto* start = static_cast<uint8_t*>(UseMemory(pass.store));
    uint8_t* cell = start + cell_offset;
    const int32_t old_length = _resultLength_(cell);
    const uint32_t result_offset = uint32_t(_resultPtr_(cell) - start);
    UnuseMemory(pass.store);
    const int32_t difference = result.length - old_length;
    ReleaseCache(pass.layer);
    bool grown = true;
    if (difference > 0) {
        MemoryGlobals* memory = pass.store->owner;
        int16_t error = with_failure_handler(memory, [&] {
            if (!InsertMemory(pass.store, int32_t(result_offset), difference)) grown = false;
            else UnuseMemory(pass.store);
        });
        if (error) grown = false;
    } else {
        DeleteMemory(pass.store, int32_t(result_offset), -difference);
    }
    if (grown) {
        start = static_cast<uint8_t*>(UseMemory(pass.store));
        cell = start + cell_offset;
        _SetCellLength_(cell, int16_t(_cellLength_(cell) + difference));
        _SetRowLength_(start + row_offset, uint32_t(int32_t(_RowLength_(start + row_offset)) + difference));
        _SetResultType_(cell, result.type);
        std::memcpy(start + result_offset, result.bytes, size_t(result.length));
        UnuseMemory(pass.store);
    }
    clobberCache(pass.layer);
    CalcRowPtr(pass.layer);
    pass.reads = {};
    if (!grown) pass.unsettle();
    return grown;
}

// The layer's cells for the formula about to be evaluated, the store's bytes
// in use at `start`; taken again when the store changed size or its row
// cache was taken again.
const HeldLayerCells& cells_for_reading(CalcPass& pass, uint8_t* start) {
    if (!pass.reads.layer || pass.reads.rows != pass.sheet->row_cache_data ||
        uint32_t(GetByteSize(pass.store)) != pass.reads.size)
        pass.reads = held_layer_cells(pass.layer, pass.sheet);
    pass.reads.start = start;
    return pass.reads;
}

// Evaluates a formula cell of the held store into the registers: through
// its program when it has one, else by the evaluator.
void evaluate_cell(CalcPass& pass, const uint8_t* cell, uint8_t* start) {
    const HeldLayerCells& cells = cells_for_reading(pass, start);
    FormulaCellsRead read;
    if (pass.traps_cleared && run_formula_program(_formulaPtr_(cell), _formulaLength_(cell), cells, &read)) {
        if (read.own || read.after) pass.settled_forwards = false;
        if (read.own || read.before) pass.settled_backwards = false;
        return;
    }
    pass.unsettle();
    HeldCalcLayer held(cells);
    if (pass.traps_cleared)
        calculate_without_traps(_formulaPtr_(cell), _formulaLength_(cell));
    else
        Calculate(_formulaPtr_(cell), _formulaLength_(cell));
}

// DoComparison of the formula cell at an offset of the store.
int16_t compare_cell(CalcPass& pass, uint32_t row_offset, uint32_t cell_offset, bool* row_changed) {
    MemoryUse<uint8_t> start(pass.store);
    const uint8_t* cell = start + cell_offset;
    evaluate_cell(pass, cell, start);
    NewResult result = new_result(cell, pass.sheet->font);
    const bool unchanged = same_result(cell, result);
    const bool not_stored = g_AccessError || (_resultType_(cell) == 0 && result.type == 0);
    int16_t answer = kCellUnchangedOrStored;
    if (unchanged || not_stored) {
        return answer;
    }
    if (result.length == _resultLength_(cell)) {
        uint8_t* writable = start + cell_offset;
        _SetResultType_(writable, result.type);
        std::memcpy(_resultPtr_(writable), result.bytes, size_t(result.type < 0 ? 8 : result.length));
        start.release();
    } else {
        const int32_t old_length = _resultLength_(cell);
        start.release();
        if (!store_resized_result(pass, row_offset, cell_offset, result)) return answer;
        pass.resized_by = result.length - old_length;
        answer = kCellLengthChanged;
    }
    number_column_cell_changed(pass.layer, g_calcCell);
    model_services.check_hot_links(0, g_calcCell, g_calcCell, pass.layer);
    *row_changed = true;
    if (gCheckCirculars && CheckCircular() == 1) {
        gCheckCirculars = 1;
        QDraw();
        return kCircleReported;
    }
    return answer;
}

// The formula cells of a stored row within [first, last] columns, into `cells`.
void formula_cells(const CalcPass& pass, uint32_t row_offset, int16_t first, int16_t last, std::vector<CellAt>& cells) {
    cells.clear();
    MemoryUse<uint8_t> start(pass.store);
    const uint8_t* row = start + row_offset;
    const uint8_t* end = row + _RowLength_(row);
    for (const uint8_t* cell = row + kRowHeaderSize; cell < end; cell += _cellLength_(cell)) {
        int16_t column = _cellID_(cell);
        if (column >= first && column <= last && _cellType_(cell) == kCellFormula)
            cells.push_back(CellAt{uint32_t(cell - start), column});
    }
}

// One row: its formula cells from a column rightwards (or, backwards, every
// cell from right to left). A cell whose result changed length makes the row
// be gone over again from its start, at most kMaxRowRescans times; after that
// the walk goes on behind the changed cell. True when a circle was reported.
bool calculate_row(CalcPass& pass, int16_t row, int16_t first_column, bool backwards, bool* changed) {
    int rescans = 0;
    for (;;) {
        uint32_t row_offset = 0;
        if (!find_row(pass, row, &row_offset)) return false;
        std::vector<CellAt>& cells = pass.row_cells;
        formula_cells(pass, row_offset, first_column, kLastCell, cells);
        if (backwards) std::reverse(cells.begin(), cells.end());
        bool restart = false;
        int32_t shift = 0;  // bytes the cells behind a resized one moved
        for (const CellAt& at : cells) {
            g_calcCell = CellPoint{row, at.column};
            const uint32_t offset = uint32_t(int32_t(at.offset) + (backwards ? 0 : shift));
            int16_t answer = compare_cell(pass, row_offset, offset, changed);
            if (answer == kCircleReported) return true;
            if (answer != kCellLengthChanged) continue;
            shift += pass.resized_by;
            if (rescans < kMaxRowRescans) {
                ++rescans;
                restart = true;
                break;
            }
        }
        if (!restart) return false;
        if (!backwards) first_column = 0;
    }
}

// Gives way when an event waits; otherwise notes the row.
StepEnd after_row(bool changed, int16_t row) {
    if (changed) {
        g_calcCell.v = row;
        QDraw();
    }
    return CheckIdle() ? StepEnd::yielded : StepEnd::pass_done;
}

StepEnd scan_rows(CalcPass& pass) {
    int16_t first_column = std::max<int16_t>(g_calcCell.h, 0);
    int32_t row = std::max<int16_t>(g_calcCell.v, 0);
    for (;;) {
        int16_t stored = next_stored_row(pass, row);
        if (stored < 0) return StepEnd::pass_done;
        bool changed = false;
        if (calculate_row(pass, stored, first_column, false, &changed)) return StepEnd::circle;
        first_column = 0;
        if (after_row(changed, stored) == StepEnd::yielded) {
            g_calcCell = CellPoint{int16_t(std::min<int32_t>(stored + 1, kResumeRowLimit)), 0};
            return StepEnd::yielded;
        }
        row = stored + 1;
    }
}

StepEnd scan_bottom_up(CalcPass& pass) {
    int16_t row = g_calcCell.v < 0 ? kLastCell : g_calcCell.v;
    row = std::min(row, last_stored_row(pass));
    for (; row >= 0; --row) {
        uint32_t offset = 0;
        if (!find_row(pass, row, &offset)) continue;
        bool changed = false;
        if (calculate_row(pass, row, 0, true, &changed)) return StepEnd::circle;
        if (after_row(changed, row) == StepEnd::yielded) {
            g_calcCell = CellPoint{int16_t(row - 1), -1};
            return row > 0 ? StepEnd::yielded : StepEnd::pass_done;
        }
    }
    return StepEnd::pass_done;
}

// The cell of a column in a stored row: its offset, and whether the row has
// any cell at or right of the column.
bool cell_in_column(const CalcPass& pass, uint32_t row_offset, int16_t column, uint32_t* offset, bool* reaches) {
    MemoryUse<uint8_t> start(pass.store);
    uint8_t* row = start + row_offset;
    uint8_t* p = row + kRowHeaderSize;
    int16_t wanted = column;
    bool found = FindCell(&wanted, row + _RowLength_(row), &p);
    *reaches = p < row + _RowLength_(row);
    *offset = uint32_t(p - start);
    bool formula = found && _cellType_(p) == kCellFormula;
    return formula;
}

// Compares the formula cell at `offset`, finding it again while its length
// changes; false when a circle was reported.
bool compare_found_cell(CalcPass& pass, CellPoint cell, uint32_t row_offset, uint32_t offset, bool* changed,
                        bool* reaches) {
    g_calcCell = cell;
    for (int attempt = 0; attempt <= kMaxRowRescans; ++attempt) {
        int16_t answer = compare_cell(pass, row_offset, offset, changed);
        if (answer == kCircleReported) return false;
        if (answer != kCellLengthChanged) break;
        find_row(pass, cell.v, &row_offset);
        cell_in_column(pass, row_offset, cell.h, &offset, reaches);
    }
    return true;
}

// The ids of the stored rows, in order.
std::vector<int16_t> stored_rows(const CalcPass& pass) {
    std::vector<int16_t> rows;
    MemoryUse<uint8_t> start(pass.store);
    const uint8_t* end = start + GetByteSize(pass.store);
    for (const uint8_t* p = start; p < end; p += _RowLength_(p)) rows.push_back(_RowID_(p));
    return rows;
}

// The first column right of `column` that holds a cell of a stored row, or
// one past the grid.
int32_t column_after(const CalcPass& pass, int16_t row, int16_t column) {
    constexpr int32_t kPastTheGrid = kLastCell + 1;
    uint32_t row_offset = 0;
    if (column >= kLastCell || !find_row(pass, row, &row_offset)) return kPastTheGrid;
    MemoryUse<uint8_t> start(pass.store);
    uint8_t* record = start + row_offset;
    uint8_t* end = record + _RowLength_(record);
    uint8_t* p = record + kRowHeaderSize;
    int16_t wanted = int16_t(column + 1);
    FindCell(&wanted, end, &p);
    const int32_t next = p < end ? _cellID_(p) : kPastTheGrid;
    return next;
}

// Column by column, only over the columns and rows that hold cells.
StepEnd scan_columns(CalcPass& pass) {
    int32_t column = std::max<int16_t>(g_calcCell.h, 0);
    int32_t row = std::max<int16_t>(g_calcCell.v, 0);
    const std::vector<int16_t> rows = stored_rows(pass);
    while (column <= kLastCell) {
        int32_t next_column = kLastCell + 1;
        for (int16_t stored : rows) {
            if (stored >= row) {
                uint32_t row_offset = 0, offset = 0;
                bool reaches = false, changed = false;
                find_row(pass, stored, &row_offset);
                if (cell_in_column(pass, row_offset, int16_t(column), &offset, &reaches) &&
                    !compare_found_cell(pass, CellPoint{stored, int16_t(column)}, row_offset, offset, &changed,
                                        &reaches))
                    return StepEnd::circle;
                if (after_row(changed, stored) == StepEnd::yielded) {
                    g_calcCell = CellPoint{int16_t(std::min<int32_t>(stored + 1, kResumeRowLimit)), int16_t(column)};
                    return StepEnd::yielded;
                }
            }
            next_column = std::min(next_column, column_after(pass, stored, int16_t(column)));
        }
        column = next_column;
        row = 0;
    }
    return StepEnd::pass_done;
}

// The layer of a workbook to calculate: when layer 0 has begun and there are
// more layers, the first from index 1 on that is behind it; else layer 0.
MemoryRef layer_to_calculate(MemoryRef workbook) {
    MemoryRef first = find_SpreadSheet_item(workbook, 0);
    if (!first) return nullptr;
    const int16_t lead = GetSpreadSheetCalcCycle(first);
    const int16_t count = num_SpreadSheets(workbook);
    if (lead != kCycleReset && count > 1)
        for (int16_t index = 1; index < count; ++index)
            if (GetIndexCalcCycle(workbook, index) < lead) return find_SpreadSheet_item(workbook, index);
    return first;
}

void reset_layer(MemoryRef layer, CellPoint resume) {
    SetSpreadSheetCalcCycle(layer, kCycleReset);
    SetSpreadSheetResetCells(layer, 0);
    LayerUse sheet(layer);
    sheet->recalc_resume = resume;
}

// A window whose workbook has a layer not finished. (Looking at the shown
// layer alone would leave other layers of the workbook unconfirmed.)
bool shown_layer_unfinished(LayerWindow window) {
    MemoryRef layer = calc_services.layer_shown_in(window);
    MemoryRef workbook = layer ? GetWorkSheet(layer) : nullptr;
    for (int16_t index = 0; workbook && index < num_SpreadSheets(workbook); ++index)
        if (GetIndexCalcCycle(workbook, index) < kCycleDone) return true;
    return false;
}

// The next document window after CalcWind whose layer is unfinished, else the
// first such window of the list; null when none is.
LayerWindow next_unfinished_window() {
    for (LayerWindow w = CalcWind ? calc_services.document_window_behind(CalcWind) : nullptr; w;
         w = calc_services.document_window_behind(w))
        if (shown_layer_unfinished(w)) return w;
    for (LayerWindow w = calc_services.front_document_window(); w; w = calc_services.document_window_behind(w))
        if (shown_layer_unfinished(w)) return w;
    return nullptr;
}

// Every layer of a workbook calculated again from its first cell.
void reset_workbook_layers(MemoryRef workbook) {
    for (int16_t index = 0; workbook && index < num_SpreadSheets(workbook); ++index)
        if (MemoryRef layer = find_SpreadSheet_item(workbook, index)) reset_layer(layer, CellPoint{0, 0});
}

// What every recalculation starts from, with windows or without: the clock
// that NOW and TODAY answer, and no circle looked for or reported yet.
void start_recalculation() {
    g_calc_time = SpreadSheetTime();
    gCheckCirculars = 0;
    reset_circular_give_up();
}

bool calculation_suspended() {
    LayerWindow front = calc_services.front_document_window();
    if (!front || calc_services.entry_being_edited() || stopCalc == kCalcManualIdle) return true;
    MemoryRef layer = calc_services.layer_shown_in(front);
    TextEditor editor = nullptr;
    return layer && GetObjEditor(layer, &editor) != nullptr;
}

// A finished automatic recalculation starts again after a minute, once the
// user has left the program alone for two seconds.
void finished_idle() {
    const uint32_t now = ticks();
    if (calc_services.event_waiting()) gEventTime = now;
    if (stopCalc == kCalcAutoDone && now - calcTimer > kRestartAfterTicks && now - gEventTime > kQuietTicks)
        ResetCalc(CellPoint{0, 0}, calc_services.front_document_window());
    else
        calc_services.chart_idle();
}

// The idle step of a recalculation at rest, on the workbook of CalcWind.
void idle_at_rest(MemoryRef workbook) {
    g_calcWork = workbook;
    g_calcSheet = layer_to_calculate(workbook);
    if (stopCalc == kCalcAutoDone)
        finished_idle();
    else
        calc_services.chart_idle();
    g_calcWork = nullptr;
    g_calcSheet = nullptr;
}

}  // namespace

int16_t GetIndexCalcCycle(MemoryRef workbook, int16_t index) {
    MemoryRef layer = workbook ? find_SpreadSheet_item(workbook, index) : nullptr;
    return layer ? GetSpreadSheetCalcCycle(layer) : kCycleDone;
}

void ResetCalc(CellPoint start, LayerWindow window) {
    if (!window) return;
    CalcWind = window;
    stopCalc = stopCalc < 0 ? kCalcAutoRunning : kCalcManualIdle;
    g_calcSheet = nullptr;
    for (LayerWindow w = calc_services.front_document_window(); w; w = calc_services.document_window_behind(w)) {
        MemoryRef shown = calc_services.layer_shown_in(w);
        reset_workbook_layers(shown ? GetWorkSheet(shown) : nullptr);
    }
    if (MemoryRef layer = calc_services.layer_shown_in(window)) {
        SetSpreadSheetResetCells(layer, 0);
        LayerUse sheet(layer);
        sheet->recalc_resume = start;
    }
    start_recalculation();
    check_recalc_state(calc_services.layer_shown_in(window));
}

void do_calc_now(LayerWindow window, int16_t automatic) {
    ResetCalc(CellPoint{0, 0}, window);
    if (automatic)
        stopCalc = kCalcAutoRunning;
    else
        stopCalc = stopCalc < 0 ? kCalcAutoRunning : kCalcManualRunning;
    check_recalc_state(nullptr);
}

void calc_proc() {
    if (calculation_suspended()) return;
    while (CalcWind) {
        MemoryRef shown = calc_services.layer_shown_in(CalcWind);
        if (!shown) {
            CalcWind = nullptr;
            break;
        }
        if (stopCalc == kCalcAutoRunning || stopCalc == kCalcManualRunning)
            calculate_workbook(GetWorkSheet(shown), kNoTickLimit, CalcPace::one_step);
        else
            idle_at_rest(GetWorkSheet(shown));
        if ((stopCalc != kCalcAutoRunning && stopCalc != kCalcManualRunning) || CheckIdle()) return;
    }
    calc_services.chart_idle();
    CalcWind = calc_services.front_document_window();
}

namespace {

// After a pass: the calculation goes on in the next window with a layer not
// finished, else it is over.
void after_pass(MemoryRef layer) {
    SetSpreadSheetResetCells(layer, 0);
    if (LayerWindow next = next_unfinished_window()) {
        CalcWind = next;
        return;
    }
    stopCalc = stopCalc < 0 ? kCalcAutoDone : kCalcManualIdle;
    calcTimer = ticks();
    check_recalc_state(layer);
}

// The calculated layer is finished without the passes that would confirm it.
void finish_layer() {
    MemoryRef layer = g_calcSheet;
    g_calcCell = CellPoint{-1, -1};
    SetSpreadSheetCalcCycle(layer, kCycleDone);
    gCheckCirculars = 0;
    after_pass(layer);
}

// One step of DoCalculation; answers how it ended.
StepEnd calculation_step() {
    gEventTime = ticks();
    MemoryRef layer = g_calcSheet;
    if (!layer) return StepEnd::pass_done;
    std::fesetenv(FE_DFL_ENV);
    CalcRowPtr(layer);
    const NumberColumnsKept lookup_columns;  // only this step's results change cells
    CalcPass pass{layer, use_layer(layer), GetSpreadSheetCells(layer), true};
    g_calcCell = pass.sheet->recalc_resume;
    const int16_t cycle = pass.sheet->calc_cycle;
    const bool whole_pass = cycle == kCycleBottomUp ? g_calcCell.v < 0 : g_calcCell.v <= 0 && g_calcCell.h <= 0;
    StepEnd end = cycle == kCycleBottomUp  ? scan_bottom_up(pass)
                  : cycle == kCycleColumns ? scan_columns(pass)
                                           : scan_rows(pass);
    release_layer(layer);
    // A whole pass in one step whose formulas read only cells it had
    // calculated already leaves nothing for the passes after it to change.
    const bool settled = cycle == kCycleBottomUp  ? pass.settled_backwards
                         : cycle == kCycleColumns ? false
                                                  : pass.settled_forwards;
    if (end == StepEnd::pass_done && whole_pass && settled)
        finish_layer();
    else if (end == StepEnd::pass_done)
        NextCalcStep();
    LayerUse sheet(layer);
    sheet->recalc_resume = g_calcCell;
    sheet.release();
    ReleaseCache(layer);
    g_calcSheet = nullptr;
    return end;
}

}  // namespace

void DoCalculation() { calculation_step(); }

bool StepWorkbookCalc(MemoryRef workbook) {
    g_calcWork = workbook;
    g_calcSheet = layer_to_calculate(workbook);
    const StepWatch watch = watch_step(g_calcSheet);
    const bool circle = calculation_step() == StepEnd::circle;
    g_calcWork = nullptr;
    g_calcSheet = nullptr;
    check_step_ended(watch);
    return circle;
}

void ResetWorkbookCalc(MemoryRef workbook) {
    if (!workbook) return;
    reset_workbook_layers(workbook);
    start_recalculation();
}

int16_t DoComparison() {
    CalcPass pass{g_calcSheet, use_layer(g_calcSheet), GetSpreadSheetCells(g_calcSheet)};
    uint32_t row_offset = 0, offset = 0;
    bool reaches = false, changed = false;
    int16_t answer = kCellUnchangedOrStored;
    if (find_row(pass, g_calcCell.v, &row_offset) && cell_in_column(pass, row_offset, g_calcCell.h, &offset, &reaches))
        answer = compare_cell(pass, row_offset, offset, &changed);
    release_layer(g_calcSheet);
    return answer;
}

void NextCalcStep() {
    MemoryRef layer = g_calcSheet;
    g_calcCell = CellPoint{-1, -1};
    const int16_t cycle = GetSpreadSheetCalcCycle(layer);
    if (GetSpreadSheetResetCells(layer) > 0 || cycle == kCycleReset) {
        if (cycle + 1 > kCycleConfirm) {
            SetSpreadSheetCalcCycle(layer, kCycleBottomUp);
            gCheckCirculars = 1;
        } else {
            SetSpreadSheetCalcCycle(layer, int16_t(cycle + 1));
        }
    } else {
        SetSpreadSheetCalcCycle(layer, cycle == kCycleConfirm ? kCycleDone : kCycleConfirm);
        gCheckCirculars = 0;
    }
    after_pass(layer);
}

void QDraw() {
    MemoryRef layer = g_calcSheet;
    if (!layer) return;
    IncrementSpreadSheetResetCells(layer);
    if (CalcWind && GetSheetWind(layer)) {
        CellRange strip{{g_calcCell.v, 0}, {g_calcCell.v, kLastCell}};
        model_services.invalidate_cells(&strip, layer);
    }
}

bool CheckIdle() {
    if (calc_budget_spent()) return true;
    const uint32_t now = ticks();
    if (now - gEventTime <= kStepSliceTicks) return false;
    if (calc_services.event_waiting()) return true;
    if (now - gEventTime > kWindowIdleTicks && calc_services.program_in_front()) {
        drop_number_columns();
        calc_services.let_windows_idle();
        gEventTime = now;
    }
    return false;
}
