// The argument protocol and the range walkers.
#include "formula/date_functions.h"
#include "formula/arguments.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "core/number_text.h"
#include "formula/cell_values.h"
#include "formula/error_values.h"
#include "formula/evaluator.h"
#include "formula/parser.h"
#include "formula/range_walk.h"
#include "model/calc_globals.h"
#include "model/cell_record.h"
#include "model/date_serials.h"
#include "model/layer.h"
#include "model/workbook.h"

int16_t g_walkLayer = 0;
CellPoint g_walkCell = {0, 0};

namespace {

constexpr double kSineLimit = 134217727.0;

// Every argument starts empty: an empty argument (as in SUM(1,,2)) is the
// empty value, never the value of the argument before it.
void start_argument() {
    g_CellString[0] = 0;
    g_value = 0.0;
    g_valueType = kValueEmpty;
    mark_scalar();
}

void evaluate_argument() {
    start_argument();
    c_InSymbol();
    c_Expression();
}

struct RangeValueWalk {
    int16_t op = 0;
    int32_t count = 0;
    int32_t second = 0;
    double sum = 0.0;
    double out = 0.0;
    double threshold = 0.0;
    bool have_neighbour = false;
};

bool is_error(double value) { return checkValue(&value) != 0; }

// The left operand's error wins when both are errors.
double add_values(double left, double right) {
    if (is_error(left)) return left;
    if (is_error(right)) return right;
    return left + right;
}

void keep_neighbour(RangeValueWalk& w, double v) {
    if (is_error(v)) return;
    bool beyond = w.op == 200 ? v > w.threshold : v < w.threshold;
    bool closer = !w.have_neighbour || (w.op == 200 ? v < w.out : v > w.out);
    if (beyond && closer) {
        w.out = v;
        w.have_neighbour = true;
    }
}

void extreme_step(RangeValueWalk& w, double v, bool first) {
    if (first || is_error(v)) {
        w.out = v;
    } else if (!is_error(w.out) && (w.op == 8 ? v > w.out : v < w.out)) {
        w.out = v;
    }
}

void logical_step(RangeValueWalk& w, double v, bool first) {
    if (first) w.out = v;
    if (is_error(v)) {
        w.out = v;
    } else if (!is_error(w.out)) {
        if (w.op == 43 && v == 0) w.out = 0;
        if (w.op == 44 && v != 0) w.out = 1;
    }
}

bool range_value_step(void* context) {
    auto& w = *static_cast<RangeValueWalk*>(context);
    if (w.op == 76) {
        if (g_valueType != kValueEmpty) ++w.second;
        return true;
    }
    if (!have_numeric_value()) return true;
    const double v = g_value;
    const bool first = w.count == 0;
    ++w.count;
    w.sum = add_values(w.sum, v);
    switch (w.op) {
    case 3: w.out = add_values(first ? 0.0 : w.out, v * v); break;
    case 8: case 9: extreme_step(w, v, first); break;
    case 13:
        if (first) w.out = v;
        if (!is_error(v)) ++w.second;
        break;
    case 43: case 44: logical_step(w, v, first); break;
    case 200: case 201: keep_neighbour(w, v); break;
    case 202:
        if (v == w.threshold) ++w.second;
        break;
    default:
        if (first) w.out = v;
        break;
    }
    return true;
}

struct RangeSumWalk {
    int16_t op;
    double result;
};

bool range_sum_step(void* context) {
    auto& w = *static_cast<RangeSumWalk*>(context);
    if (!have_numeric_value()) return true;
    const double v = g_value;
    if (w.op == 111) {
        w.result = is_error(w.result) ? w.result : is_error(v) ? v : w.result * v;
    } else {
        w.result = add_values(w.result, w.op == 134 ? v * v : v);
    }
    return true;
}

}  // namespace

void GetNextValue() {
    // Ch is the "(": read it, then the first argument.
    c_InSymbol();
    evaluate_argument();
}

void AdvValue() { evaluate_argument(); }

bool more_arguments() { return Sy == kSySeparator; }

void skip_remaining_arguments() {
    while (more_arguments()) AdvValue();
}

void SetNValue() {
    g_valueType = kValueNumber;
    g_resultType = kValueNumber;
    c_InSymbol();
}

void SetTextValue() {
    g_value = g_TextErr;
    g_valueType = kValueText;
    g_resultType = kValueText;
}

bool have_numeric_value() {
    if (g_valueType == kValueText) return checkgValue() == 0;
    return g_valueType != kValueEmpty;
}

bool test_sine_value() {
    if (std::isnan(g_value) || (g_value >= -kSineLimit && g_value <= kSineLimit)) return false;
    SetError(kErrNum);
    return true;
}

bool GetDateArg() {
    if (g_valueType != kValueText) return false;
    unsigned char copy[256];
    std::memcpy(copy, g_CellString, g_CellString[0] + 1);
    if (!parseDate(copy, dateOrder, false)) SetError(kErrValue);
    g_valueType = kValueNumber;
    return true;
}

bool check_range_params(int16_t* first_layer, int16_t* last_layer) {
    *first_layer = g_layerRange[1];
    *last_layer = g_layerRange[0];
    const CellRange& r = g_rangeRect;
    bool inside = *first_layer >= 0 && *last_layer < kMaxLayers && r.topLeft.h >= 0 &&
                  cell_in_grid(r.topLeft.v, r.topLeft.h) && cell_in_grid(r.botRight.v, r.botRight.h);
    if (inside) return false;
    SetError(kErrRef);
    mark_scalar();
    return true;
}

void AppendStrToStr(unsigned char* target, const unsigned char* source, int16_t limit) {
    int32_t room = limit - target[0];
    int32_t n = std::min<int32_t>(source[0], room > 0 ? room : 0);
    std::memcpy(target + 1 + target[0], source + 1, size_t(n));
    target[0] = uint8_t(target[0] + n);
}

void GetRangeValue(int16_t op, int32_t* count, double* out) {
    RangeValueWalk w;
    w.op = op;
    w.count = *count;
    w.second = *count;
    w.out = *out;
    w.threshold = *out;
    const int32_t before = *count;
    walk_range_cells(&w, range_value_step);
    if (w.count == before && op != 200 && op != 201) w.out = *out;
    *count = w.count;
    *out = w.out;
    g_valueType = kValueNumber;
    switch (op) {
    case 13: case 76: case 202: g_value = w.second; break;
    case 200: case 201: g_value = w.have_neighbour ? w.out : N_AN(kErrRef); break;
    default: g_value = w.sum; break;
    }
}

void GetRangeSum(int16_t op) {
    RangeSumWalk w{op, op == 111 ? 1.0 : 0.0};
    int16_t first = 0, last = 0;
    if (check_range_params(&first, &last)) return;
    walk_range_cells(&w, range_sum_step);
    g_value = w.result;
    g_valueType = kValueNumber;
}

StoredRows::StoredRows(MemoryRef layer, int16_t top, int16_t bottom)
    : layer_(layer), next_row_(std::max<int16_t>(top, 0)), last_(bottom) {
    SpreadSheet* sheet = use_layer(layer);
    store_ = sheet->cells;
    if (!store_) return;
    index_ = open_row_index(sheet, false);
    if (index_.entries) last_ = std::min<int32_t>(last_, sheet->last_row);
    start_ = static_cast<const uint8_t*>(UseMemory(store_));
    end_ = start_ + GetByteSize(store_);
    cursor_ = start_;
}

StoredRows::~StoredRows() {
    if (store_) UnuseMemory(store_);
    close_row_index(index_);
    release_layer(layer_);
}

MemoryRef walk_layer(MemoryRef workbook, int16_t index) {
    if (workbook == g_calcWork && g_calcSheet && GetSheetID(g_calcSheet) == index) return g_calcSheet;
    return workbook ? find_SpreadSheet_item(workbook, index) : nullptr;
}

void walk_range_cells(void* context, CellVisitor visit) {
    walk_range_layers([&](MemoryRef layer, const CellRange& rect) {
        const int16_t font = Get_Default_Font(layer);
        return walk_layer_records(layer, rect, [&](const uint8_t* cell, int16_t row, int16_t column) {
            if (extract_value(cell, font) != 0) return true;
            g_walkCell = CellPoint{row, column};
            return visit(context);
        });
    });
}
