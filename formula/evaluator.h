// The formula evaluator: re-scans a stored formula with a recursive descent
// that mirrors the parser's grammar and keeps the running value in one set of
// module-wide value registers, which the function library and the cell-value
// fetch share. Errors are values (error_values.h).
#pragma once

#include <cstdint>

#include "core/memory_manager.h"
#include "core/number_text.h"
#include "model/calc_context.h"
#include "model/cell_range.h"

// Value types (g_valueType, g_resultType).
constexpr int16_t kValueNumber = -1;
constexpr int16_t kValueEmpty = 0;
constexpr int16_t kValueText = 1;

// A left column of -1 in g_rangeRect marks a single value rather than a range.
constexpr int16_t kScalarColumn = -1;

// The value registers; checkgValue is checkValue of g_value.
extern double g_value;
int16_t checkgValue();
extern int16_t g_valueType;
extern int16_t g_resultType;
extern unsigned char g_CellString[256];
// The script of the text in g_CellString (plain ASCII reads alike in every
// script).
extern int16_t g_textScript;
extern CellRange g_rangeRect;
extern int16_t g_layerRange[2];  // last layer, first layer
extern int16_t g_AccessError;

// The calculation context: the layer and workbook being calculated (the
// model's calc_context.h), and the cell.
extern CellPoint g_calcCell;
// The script of the cell being calculated, for texts written in its formula:
// set by a caller whose cell is not stored yet, else -1 (the stored cell's
// font says it).
extern int16_t g_calcCellScript;
// The moment of the current recalculation, a 1904-system date serial.
extern double g_calc_time;

// Evaluates the stored formula of `length` bytes into the registers. The
// caller sets g_calcSheet, g_calcWork and g_calcCell first.
void Calculate(const uint8_t* formula, int32_t length);
// The same for a caller that has put the floating-point environment to its
// default, so that no exception can trap (a recalculation step does).
void calculate_without_traps(const uint8_t* formula, int32_t length);

// The levels of the descent; each leaves its value in the registers and the
// next symbol in Sy.
void c_InSymbol();
void c_Expression();
void c_AddTerm();
void c_MultTerm();
void c_ExpTerm();
void c_Factor();
void c_FuncTerm();

// Marks the current value a single value, not a range.
inline void mark_scalar() { g_rangeRect.topLeft.h = kScalarColumn; }
inline bool value_is_scalar() { return g_rangeRect.topLeft.h == kScalarColumn; }

