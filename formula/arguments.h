// The argument protocol of the worksheet functions and the range walkers.
// Every value passes through the evaluator's registers (evaluator.h): a
// function reads its first argument with GetNextValue and each further one
// with AdvValue while Sy is the separator, and ends with SetNValue or
// SetTextValue, which read the symbol after the call.
#pragma once

#include <cstdint>

#include "core/memory_manager.h"
#include "model/cell_range.h"

void GetNextValue();
void AdvValue();
// True while another argument follows.
bool more_arguments();
// Reads and drops the remaining arguments of the call.
void skip_remaining_arguments();

void SetNValue();
void SetTextValue();

// A number (error values included), or a text that spells one.
bool have_numeric_value();
// True, after setting error 20, when g_value lies beyond +-134,217,727.
bool test_sine_value();
// A text argument becomes the date it spells (error 21 when none): true for
// any text, false for a number.
bool GetDateArg();
// True, after setting error 64, unless the reference lies inside the grid.
bool check_range_params(int16_t* first_layer, int16_t* last_layer);
void AppendStrToStr(unsigned char* target, const unsigned char* source, int16_t limit);

// Range walkers: the cells of the current reference argument, layer by
// layer, row by row, cell by cell; cells without a record are never visited.
void GetRangeValue(int16_t op, int32_t* count, double* out);
void GetRangeSum(int16_t op);

// One cell visited by a walk, its value in the registers; false stops.
using CellVisitor = bool (*)(void* context);
void walk_range_cells(void* context, CellVisitor visit);
// The layer index and the cell that the walk is visiting.
extern int16_t g_walkLayer;
extern CellPoint g_walkCell;
