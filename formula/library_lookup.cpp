// The functions that fetch a cell by position, by address or by looking a
// value up: cell by row and column, index, offset, address text, address in
// a text, the horizontal, vertical and vector lookups. A fetched value is
// handed on with its own type.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

#include "core/memory_manager.h"
#include "core/memory_use.h"
#include "core/number_text.h"
#include "formula/arguments.h"
#include "formula/cell_values.h"
#include "formula/error_values.h"
#include "formula/evaluator.h"
#include "formula/function_values.h"
#include "formula/library.h"
#include "formula/library_support.h"
#include "formula/lookup_columns.h"
#include "formula/lookup_support.h"
#include "formula/parser.h"
#include "formula/range_walk.h"
#include "formula/reference_text.h"
#include "model/layer.h"
#include "model/workbook.h"
#include "platform/text/text.h"
#include "formula/range_string.h"

namespace {

// The value of a cell of the range's first layer, held.
HeldValue fetch_cell(const HeldRange& range, CellPoint cell) {
    GetLayerValue(range.workbook, range.first_layer, cell, 0);
    return hold_value();
}

void fetched_result(const HeldRange& range, CellPoint cell) { held_result(fetch_cell(range, cell)); }

// A 1-based position argument as a 0-based cell coordinate: its floor - 1.
int32_t position_of(double value) { return clamp_to_int32(std::floor(value)) - 1; }

// ---- Lookups --------------------------------------------------------------------------

struct LookupValue {
    bool is_text = false;
    double number = 0;
    TextBuffer text = {0};
    int16_t script = 0;
};

LookupValue hold_lookup_value() {
    LookupValue lookup;
    lookup.is_text = g_valueType == kValueText;
    lookup.script = argument_text_script();
    if (lookup.is_text) copy_register_text(lookup.text);
    lookup.number = g_valueType == kValueEmpty ? 0 : g_value;
    return lookup;
}

// A comparison's answer for a value of the other kind (text against a number
// or the reverse) or a cell without a value.
constexpr int kOtherKind = 2;

// The value a search compares: what a candidate keeps of a cell.
struct Compared {
    double number = 0;
    TextBuffer text = {0};
    int16_t script = 0;
};

// A stored text as a string, cut to 255 bytes as the registers hold it.
void text_of(const StoredValue& value, unsigned char* text) {
    int32_t length = std::clamp<int32_t>(value.length, 0, 255);
    text[0] = uint8_t(length);
    std::memcpy(text + 1, value.text, size_t(length));
}

int compare_text_with_lookup(const LookupValue& lookup, const uint8_t* cell, const StoredValue& value,
                             int16_t layer_font, Compared* seen) {
    if (value.type != kValueText) return kOtherKind;
    text_of(value, seen->text);
    seen->script = value_script_of(cell, layer_font);
    return LookupCompareText(seen->text, seen->script, lookup.text, lookup.script);
}

// The number a stored cell holds for a number lookup to compare; error
// values (the non-finite numbers) are none.
[[gnu::always_inline]] inline bool comparable_number(const uint8_t* cell, double* number) {
    return stored_number(cell, number) && std::isfinite(*number);
}

// How a stored cell compares with the lookup value: -1, 0, 1 or kOtherKind,
// with what it compared in *seen. The record is read in place, without the
// registers, as this runs for every cell searched; `layer_font` is its
// layer's default font.
[[gnu::always_inline]] inline int compare_with_lookup(const LookupValue& lookup, const uint8_t* cell, int16_t layer_font,
                                                      Compared* seen) {
    if (lookup.is_text) {
        StoredValue value;
        return stored_value(cell, &value) ? compare_text_with_lookup(lookup, cell, value, layer_font, seen) : kOtherKind;
    }
    double number;
    if (!comparable_number(cell, &number)) return kOtherKind;
    seen->number = number;
    return number < lookup.number ? -1 : number > lookup.number ? 1 : 0;
}

// Whether the compared cell is larger than the candidate.
bool beats_candidate(const LookupValue& lookup, const Compared& seen, const Compared& candidate) {
    if (lookup.is_text) return LookupCompareText(seen.text, seen.script, candidate.text, candidate.script) > 0;
    return seen.number > candidate.number;
}

void take_candidate(const LookupValue& lookup, const Compared& seen, Compared* candidate) {
    if (lookup.is_text) {
        std::memcpy(candidate->text, seen.text, seen.text[0] + 1);
        candidate->script = seen.script;
    } else
        candidate->number = seen.number;
}

// The cell `offset` steps along the first row (or column) of a range.
CellPoint step_along(const CellRange& rect, int32_t offset, bool along_row) {
    return along_row ? CellPoint{rect.topLeft.v, int16_t(rect.topLeft.h + offset)}
                     : CellPoint{int16_t(rect.topLeft.v + offset), rect.topLeft.h};
}

int32_t cells_along(const CellRange& rect, bool along_row) {
    return along_row ? rect.botRight.h - rect.topLeft.h + 1 : rect.botRight.v - rect.topLeft.v + 1;
}

// A search along the first row (or column) of a range: the store is walked
// in order over that vector of the range's first layer, so that only stored
// cells are visited (an empty cell never matches, whatever the lookup value).
struct VectorSearch {
    const LookupValue* lookup = nullptr;
    CellRange vector{};
    bool along_row = false;
    int32_t best = -1;
    Compared seen;
    Compared candidate;
    bool exact = false;         // the horizontal and vertical lookups: an equal cell found
    bool larger_first = false;  // the vector lookup: its very first cell is larger
    int16_t layer_font = 0;     // the default font of the layer walked
};

// Selects the search's vector, of the range's first layer, and walks that
// layer with `walk(layer, rect)`.
template <typename Walk>
void walk_vector_layer(const HeldRange& range, VectorSearch& search, Walk&& walk) {
    HeldRange vector = range;
    vector.rect = search.vector;
    vector.last_layer = vector.first_layer;
    select_range(vector);
    walk_range_layers([&](MemoryRef layer, const CellRange& rect) {
        search.layer_font = Get_Default_Font(layer);
        return walk(layer, rect);
    });
}

// Walks the stored cells of the search's vector in one layer with
// `visit(cell, offset)` until it answers false. The visitors are forced
// inline: for a column, a call for each cell would cost more than its test.
template <typename Visit>
bool walk_layer_vector(MemoryRef layer, const CellRange& rect, const VectorSearch& search, Visit& visit) {
    const CellPoint origin = search.vector.topLeft;
    if (search.along_row)
        return walk_layer_records(layer, rect, [&](const uint8_t* cell, int16_t, int16_t column) {
            return visit(cell, column - origin.h);
        });
    auto down = [&](const uint8_t* cell, int16_t row) __attribute__((always_inline)) {
        return visit(cell, row - origin.v);
    };
    return walk_column_records(layer, rect, down);
}

template <typename Visit>
void walk_vector(const HeldRange& range, VectorSearch& search, Visit&& visit) {
    walk_vector_layer(range, search, [&](MemoryRef layer, const CellRange& rect) {
        return walk_layer_vector(layer, rect, search, visit);
    });
}

// The index of the first number equal to `value`, else the count: eight
// at a time, with one branch for the eight.
size_t first_equal(const std::vector<double>& numbers, double value) {
    constexpr size_t kBatch = 8;
    size_t i = 0;
    for (; i + kBatch <= numbers.size(); i += kBatch) {
        bool any = false;
        for (size_t k = 0; k < kBatch; ++k) any |= numbers[i + k] == value;
        if (any) break;
    }
    while (i < numbers.size() && numbers[i] != value) ++i;
    return i;
}

// The horizontal and vertical lookups' search of a column's copy for a
// number: the first equal number (eight at a time), else the largest smaller
// one (the earliest of equals). Whether a number is smaller is not branched
// on alone: in a table not in order that is as good as random, while a
// smaller number larger than the candidate soon grows rare.
void search_number_copy(const NumberColumn& copy, VectorSearch& search) {
    const double lookup = search.lookup->number;
    const int16_t top = search.vector.topLeft.v;
    const size_t equal = first_equal(copy.numbers, lookup);
    if (equal < copy.numbers.size()) {
        search.exact = true;
        search.best = copy.rows[equal] - top;
        return;
    }
    double candidate = -std::numeric_limits<double>::infinity();  // every copied number is finite
    int32_t best = -1;
    for (size_t i = 0; i < copy.numbers.size(); ++i) {
        const double number = copy.numbers[i];
        if ((number < lookup) & (number > candidate)) {
            candidate = number;
            best = copy.rows[i] - top;
        }
    }
    search.best = best;
}

VectorSearch vector_search(const HeldRange& range, const LookupValue& lookup, bool along_row) {
    const CellRange& r = range.rect;
    CellRange vector = along_row ? CellRange{r.topLeft, {r.topLeft.v, r.botRight.h}}
                                 : CellRange{r.topLeft, {r.botRight.v, r.topLeft.h}};
    VectorSearch search;
    search.lookup = &lookup;
    search.vector = vector;
    search.along_row = along_row;
    return search;
}

// The search of the horizontal and vertical lookups, over the whole vector:
// the offset of the first equal cell, else of the largest smaller cell (the
// earliest of equals), else -1. A number lookup down a column reads the
// column's copy while a calculation step keeps one, else the cell records.
int32_t hvIncrement(const HeldRange& range, const LookupValue& lookup, bool along_row, bool* exact) {
    VectorSearch s = vector_search(range, lookup, along_row);
    auto take = [&s](const uint8_t* cell, int32_t offset) __attribute__((always_inline)) {
        int order = compare_with_lookup(*s.lookup, cell, s.layer_font, &s.seen);
        if (order == 0) {
            s.exact = true;
            s.best = offset;
            return false;
        }
        if (order == -1 && (s.best < 0 || beats_candidate(*s.lookup, s.seen, s.candidate))) {
            s.best = offset;
            take_candidate(*s.lookup, s.seen, &s.candidate);
        }
        return true;
    };
    walk_vector_layer(range, s, [&](MemoryRef layer, const CellRange& rect) {
        const NumberColumn* copy = lookup.is_text || along_row ? nullptr : kept_number_column(layer, rect);
        if (copy) {
            search_number_copy(*copy, s);
            return false;
        }
        return walk_layer_vector(layer, rect, s, take);
    });
    *exact = s.exact;
    return s.best;
}

// The search of the vector lookup, over a vector taken as ascending: the
// offset of the last cell not above the lookup value (-1 when none),
// stopping at an equal or a larger cell; *larger_first when the vector's
// very first cell is the larger one.
int32_t oIncrement(const HeldRange& range, const LookupValue& lookup, bool along_row, bool* larger_first) {
    VectorSearch s = vector_search(range, lookup, along_row);
    walk_vector(range, s, [&s](const uint8_t* cell, int32_t offset) __attribute__((always_inline)) {
        int order = compare_with_lookup(*s.lookup, cell, s.layer_font, &s.seen);
        if (order == kOtherKind) return true;
        if (order > 0) {
            s.larger_first = offset == 0;
            return false;
        }
        s.best = offset;
        return order != 0;
    });
    *larger_first = s.larger_first;
    return s.best;
}

// ---- Addresses in texts ---------------------------------------------------------------

struct ReadingState {
    const uint8_t* formula;
    const uint8_t* end;
    uint8_t ch;
    int16_t sy;
    int16_t op;
    MemoryRef output;
};

ReadingState save_reading_state() { return {g_formulaPtr, g_endPtr, Ch, Sy, Op, ParserReturn}; }

void restore_reading_state(const ReadingState& state) {
    g_formulaPtr = state.formula;
    g_endPtr = state.end;
    Ch = state.ch;
    Sy = state.sy;
    Op = state.op;
    ParserReturn = state.output;
}

void upper_case_ascii(unsigned char* text) {
    for (int i = 1; i <= text[0]; ++i)
        if (text[i] >= 'a' && text[i] <= 'z') text[i] = static_cast<unsigned char>(text[i] - 'a' + 'A');
}

}  // namespace

int16_t LookupCompareText(const unsigned char* a, int16_t a_script, const unsigned char* b, int16_t b_script) {
    return static_cast<int16_t>(pf::compare_pstring(a, a_script, b, b_script));
}

int32_t find_referenceCell(const unsigned char* text) {
    TextBuffer upper;
    std::memcpy(upper, text, text[0] + 1);
    upper_case_ascii(upper);
    ReadingState saved = save_reading_state();
    MemoryRef scratch = pgAllocateNewRef(&mem_globals, 1, 0, 32, false);
    if (!scratch) return 0;
    ParserReturn = scratch;
    RangeToRect(upper, g_calcSheet);
    int32_t size = GetMemorySize(scratch);
    if (size > 0) {
        // The stored reference is read as the next symbol of a formula of its own.
        MemoryUse<const uint8_t> bytes(scratch);
        g_formulaPtr = bytes;
        g_endPtr = bytes + size;
        AdvPChar();
        c_InSymbol();
    }
    restore_reading_state(saved);
    DisposeMemory(scratch);
    return size;
}

void CELLRC() {
    double args[3];
    read_numbers(args, 2, true);
    int count = 2;
    if (more_arguments()) {
        AdvValue();
        args[2] = g_value;
        count = 3;
    }
    double error;
    if (first_error_of({args[0], args[1], count == 3 ? args[2] : 0}, &error)) {
        error_result(kErrTextValue);
        return;
    }
    int32_t layer = count == 3 ? position_of(args[0]) : -1;
    int32_t row = position_of(args[count - 2]), column = position_of(args[count - 1]);
    if (!cell_in_grid(row, column) || (count == 3 && (layer < 0 || layer >= num_SpreadSheets(g_calcWork)))) {
        error_result(kErrRef);
        return;
    }
    CellPoint cell{int16_t(row), int16_t(column)};
    // The layer of the formula's own workbook, never that of an earlier reference.
    if (count == 3)
        GetLayerValue(g_calcWork, int16_t(layer), cell, 0);
    else
        GetCellValue(cell);
    held_result(hold_value());
}

void INDEX() {
    GetNextValue();
    HeldRange range = hold_range();
    double row_column[2];
    read_numbers(row_column, 2, false);
    double error;
    if (first_error_of({row_column[0], row_column[1]}, &error)) {
        number_result(error);
        return;
    }
    int64_t row = int64_t(range.rect.topLeft.v) + position_of(row_column[0]);
    int64_t column = int64_t(range.rect.topLeft.h) + position_of(row_column[1]);
    if (!range.is_range || !range_contains(range.rect, int(row), int(column)) || row > kLastCell ||
        column > kLastCell) {
        error_result(kErrRef);
        return;
    }
    fetched_result(range, CellPoint{int16_t(row), int16_t(column)});
}

void calc_offset() {
    bool reference = read_argument_noting_reference(true);
    HeldRange range = hold_range();
    double shifts[2];
    read_numbers(shifts, 2, false);
    bool has_height = more_arguments();
    double height = optional_number(0);
    bool has_width = more_arguments();
    double width = optional_number(0);
    double error;
    if (first_error_of({shifts[0], shifts[1], height, width}, &error)) {
        number_result(error);
        return;
    }
    const CellRange& from = range.rect;
    int64_t top = int64_t(from.topLeft.v) + clamp_to_int32(final_Round(&shifts[0]));
    int64_t left = int64_t(from.topLeft.h) + clamp_to_int32(final_Round(&shifts[1]));
    int64_t bottom = top + (has_height ? clamp_to_int32(final_Round(&height)) - 1 : from.botRight.v - from.topLeft.v);
    int64_t right = left + (has_width ? clamp_to_int32(final_Round(&width)) - 1 : from.botRight.h - from.topLeft.h);
    if (!reference || top < 0 || left < 0 || bottom > kLastCell || right > kLastCell || top > bottom ||
        left > right) {
        error_result(kErrRef);
        return;
    }
    CellRange moved{{int16_t(top), int16_t(left)}, {int16_t(bottom), int16_t(right)}};
    GetLayerValue(range.workbook, range.first_layer, moved.topLeft, 0);
    range.rect = moved;
    select_range(range);
    if (top == bottom && left == right && range.first_layer == range.last_layer) mark_scalar();
    g_resultType = g_valueType;
    c_InSymbol();
}

void calc_address() {
    double args[2];
    read_numbers(args, 2, true);
    double kind = optional_number(1);
    bool has_prefix = more_arguments();
    TextBuffer prefix = {0};
    bool prefix_is_text = true;
    int16_t script = 0;
    if (has_prefix) {
        AdvValue();
        prefix_is_text = g_valueType == kValueText;
        script = argument_text_script();
        if (prefix_is_text) copy_register_text(prefix);
    }
    double error;
    if (first_error_of({args[0], args[1], kind}, &error)) {
        number_result(error);
        return;
    }
    double row = final_Round(&args[0]) - 1, column = final_Round(&args[1]) - 1;
    if (row < 0 || column < 0 || row > kLastCell || column > kLastCell) {
        error_result(kErrRef);
        return;
    }
    if (!prefix_is_text) {
        error_result(kErrTextValue);
        return;
    }
    double k = final_Round(&kind);
    bool absolute_row = k == 1 || k == 2, absolute_column = k == 1 || k == 3;
    const bool absolute[4] = {absolute_row, absolute_column, absolute_row, absolute_column};
    CellPoint cell{int16_t(row), int16_t(column)};
    CellRange range{cell, cell};
    TextBuffer address;
    RangeString(address, &range, absolute, g_calcSheet);
    AppendStrToStr(prefix, address, 255);
    text_result(prefix, script);
}

void calc_indirect() {
    GetNextValue();
    bool is_text = g_valueType == kValueText;
    TextBuffer text;
    if (is_text) copy_register_text(text);
    skip_remaining_arguments();
    if (!is_text || find_referenceCell(text) == 0) {
        error_result(kErrRef);
        return;
    }
    // A range stays a range, so that SUM, COUNT and the others see all of it.
    HeldRange range = hold_range();
    HeldValue value = hold_value();
    if (value.type != kValueText) value.type = kValueNumber;
    held_result(value);
    if (range.is_range) select_range(range);
}

void H_V_LOOKUP(int16_t number) {
    GetNextValue();
    LookupValue lookup = hold_lookup_value();
    AdvValue();
    HeldRange range = hold_range();
    AdvValue();
    double index = g_value;
    bool exact_only = false;
    if (more_arguments()) {
        AdvValue();
        if (is_error_value(g_value)) {
            number_result(g_value);
            return;
        }
        exact_only = g_value == 0;
    }
    double error;
    if (first_error_of({lookup.is_text ? 0 : lookup.number, index}, &error)) {
        number_result(error);
        return;
    }
    if (index < 1) {
        error_result(kErrValue);
        return;
    }
    bool vertical = number == 62;
    int64_t step = clamp_to_int32(std::trunc(index));
    int64_t reach = vertical ? range.rect.topLeft.h + step - 1 : range.rect.topLeft.v + step - 1;
    if (!range.is_range || reach > (vertical ? range.rect.botRight.h : range.rect.botRight.v)) {
        error_result(kErrRef);
        return;
    }
    bool exact;
    int32_t offset = hvIncrement(range, lookup, !vertical, &exact);
    if (offset < 0 || (exact_only && !exact)) {
        error_result(kErrNA);
        return;
    }
    CellPoint found = step_along(range.rect, offset, !vertical);
    if (vertical)
        found.h = int16_t(reach);
    else
        found.v = int16_t(reach);
    fetched_result(range, found);
}

void LOOKUP() {
    GetNextValue();
    LookupValue lookup = hold_lookup_value();
    AdvValue();
    HeldRange range = hold_range();
    HeldRange results;
    bool has_results = more_arguments();
    if (has_results) {
        AdvValue();
        results = hold_range();
    }
    if (!lookup.is_text && is_error_value(lookup.number)) {
        number_result(lookup.number);
        return;
    }
    const CellRange& r = range.rect;
    bool single_line = r.topLeft.v == r.botRight.v || r.topLeft.h == r.botRight.h;
    if (!range.is_range || (has_results && (!results.is_range || !single_line))) {
        error_result(kErrRef);
        return;
    }
    bool along_row = r.botRight.h - r.topLeft.h > r.botRight.v - r.topLeft.v;
    bool larger_first;
    int32_t offset = oIncrement(range, lookup, along_row, &larger_first);
    if (larger_first) {
        error_result(kErrNA);
        return;
    }
    if (offset < 0) {
        error_result(kErrRef);
        return;
    }
    if (!has_results) {
        CellPoint cell = step_along(r, offset, along_row);
        if (along_row)
            cell.v = r.botRight.v;
        else
            cell.h = r.botRight.h;
        fetched_result(range, cell);
        return;
    }
    const CellRange& out = results.rect;
    bool out_row = out.topLeft.v == out.botRight.v, out_column = out.topLeft.h == out.botRight.h;
    if (!out_row && !out_column) {
        fetched_result(results, out.topLeft);
        return;
    }
    bool out_along_row = out_row && !out_column ? true : out_column && !out_row ? false : along_row;
    if (offset >= cells_along(out, out_along_row)) {
        error_result(kErrRef);
        return;
    }
    fetched_result(results, step_along(out, offset, out_along_row));
}
