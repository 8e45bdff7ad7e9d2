// Decoded formula programs. A stored formula of the common arithmetic kind
// (numbers, cell references of the layer being calculated, + - * / ^, signs,
// parentheses, and SUM of such cells and ranges) is decoded once into a list
// of steps, kept in a table under its bytes, and from then on run without
// reading its tokens again. The stored bytes stay as they are: a cell whose
// formula changes simply has other bytes, and so another program. Any other
// formula, and any run that meets what the steps leave to the evaluator (a
// text, a reference outside the grid, a store without its row cache), is
// evaluated by Calculate as before, with the same results.
#pragma once

#include <cstdint>

#include "model/cell_store.h"

// The formula cells a run read, by their place in row order (row by row,
// left to right) against the calculated cell's.
struct FormulaCellsRead {
    bool before = false;  // a formula cell before the calculated one
    bool own = false;     // the calculated cell itself
    bool after = false;   // a formula cell after it
};

// Runs the program of the formula of `length` bytes at g_calcCell of the
// calculated layer, whose cells `cells` holds, leaving the value registers as
// the evaluator would, and notes in `read` the formula cells it read. False,
// with nothing run, when the evaluator must evaluate the formula. The
// floating-point environment must not trap.
bool run_formula_program(const uint8_t* formula, int32_t length, const HeldLayerCells& cells, FormulaCellsRead* read);

// Whether the formula decodes into a program (decoding it when it is new).
bool has_formula_program(const uint8_t* formula, int32_t length);

// Drops every decoded program.
void forget_formula_programs();
