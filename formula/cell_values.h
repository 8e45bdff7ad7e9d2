// Cell values for the evaluator: a cell of the layer being calculated, or of
// any layer of a workbook, fetched into the value registers. Empty and
// missing cells are the number 0 with the empty type; references outside the
// grid are the reference error.
#pragma once

#include <cstdint>

#include "core/memory_manager.h"
#include "formula/evaluator.h"
#include "model/cell_range.h"
#include "model/cell_record.h"
#include "model/cell_store.h"

// The value a cell record holds, read in place: a number (or another result
// type) in `number`, a text as `length` bytes at `text` (the record's own
// bytes, not cut to a string's length), or the empty type for a formula not
// calculated yet.
// The script of a cell record's text value read in place (a text set in
// several scripts: its font's), the layer's default font `font`.
int16_t value_script_of(const uint8_t* cell, int16_t font);

struct StoredValue {
    int16_t type = 0;
    double number = 0;
    const uint8_t* text = nullptr;
    int32_t length = 0;
};
// The number a cell record holds, read in place: a constant's, or a
// formula's number result; false for any other cell. Inline, as range
// searches read every cell through it.
inline bool stored_number(const uint8_t* cell, double* number) {
    const uint8_t type = _cellType_(cell);
    if (type == kCellConstant) {
        *number = load_f64(_formulaPtr_(cell));
        return true;
    }
    if (type != kCellFormula || _resultType_(cell) != kResultNumber) return false;
    *number = load_f64(_resultPtr_(cell));
    return true;
}

// False when the cell holds no value.
inline bool stored_value(const uint8_t* cell, StoredValue* value) {
    switch (_cellType_(cell)) {
    case kCellConstant:
        value->type = kValueNumber;
        value->number = load_f64(_formulaPtr_(cell));
        return true;
    case kCellFormula:
        value->type = _resultType_(cell);
        if (value->type < 0) {
            value->number = load_f64(_resultPtr_(cell));
        } else if (value->type > 0) {
            value->type = kValueText;
            value->text = _resultPtr_(cell);
            value->length = _resultLength_(cell);
        }
        return true;
    case kCellText:
        value->type = kValueText;
        value->text = _formulaPtr_(cell);
        value->length = _formulaLength_(cell);
        return true;
    default:
        return false;
    }
}

// Sets the registers from one cell record of a layer whose default font is
// `font`: 0, or nonzero without setting them when the cell holds no value.
int16_t extract_value(const uint8_t* cell, int16_t font);
// The script of the cell being calculated (g_calcCellScript when set).
int16_t calc_cell_script();
// The result type a formula cell with the format `format` stores for the
// registers' result (g_resultType), a text's carrying its script when that is
// not the script of the cell's font (`font` standing for the default font).
int16_t stored_result_type(const uint8_t* format, int16_t font);
void GetCellValue(CellPoint cell);
// The id of the layer being calculated, 0 without one.
int16_t calc_layer_id();
// While one lives, reads of the held layer go straight to its held cells
// (a recalculation step evaluating one formula of the layer).
class HeldCalcLayer {
public:
    explicit HeldCalcLayer(const HeldLayerCells& held);  // which must outlive it
    ~HeldCalcLayer();
    HeldCalcLayer(const HeldCalcLayer&) = delete;
    HeldCalcLayer& operator=(const HeldCalcLayer&) = delete;

private:
    const HeldLayerCells* before_;
};
void GetLayerValue(MemoryRef workbook, int16_t layer_index, CellPoint cell, int16_t use_cache);
// 1 and the number when the cell holds a number (a constant or a formula
// with a number result), else 0 with `value` unchanged.
int16_t CellValue(MemoryRef layer, CellPoint cell, double* value);

// The number a text spells (a number, else a date, else the text error).
double number_of_text(const unsigned char* text);
