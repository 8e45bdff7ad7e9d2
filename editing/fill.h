// Filling a range of a layer from part of itself: its first or last row or
// column copied over the rest, and series of values continued from a source
// range into a destination that extends it. Each fill is one undoable change.
#pragma once

#include <cstdint>
#include <vector>

#include "core/memory_manager.h"
#include "editing/cell_blocks.h"
#include "model/cell_range.h"

// Variant 0 copies the selection's top row (left column), 1 its bottom row
// (right column). 0, or an error code; a selection one row tall (one column
// wide) changes nothing.
int16_t FillDown(MemoryRef layer, int16_t variant);
int16_t FillRight(MemoryRef layer, int16_t variant);
// The cells such a fill writes over: the selection less its source row
// (column); the selection itself when it is one row tall (column wide).
CellRange fill_target(const CellRange& selection, bool down, int16_t variant);

enum SeriesKind : int16_t { kSeriesLinear = 0, kSeriesGrowth = 1, kSeriesDate = 2, kSeriesAutomatic = 3 };
enum DateUnit : int16_t { kUnitYear = 0, kUnitMonth = 1, kUnitDay = 2, kUnitWeekday = 3 };
constexpr int16_t kSeriesAcross = 0;
constexpr int16_t kSeriesDown = 1;

// What find_data_step measures of the numbers of one column (row) of a source.
struct SeriesStepStats {
    uint32_t first_position;  // 1-based along the series; 0 while none was seen
    uint32_t last_position;
    uint32_t count;
    uint32_t step_changes;    // differences that differed from the reference step
    double first_value;
    double last_value;        // during a fill's first step: the last value made
    double mean;
    double mean_step;
    double reference_step;    // the first nonzero difference
};
static_assert(sizeof(SeriesStepStats) == 56);

// Continues a series. With a destination the source is the selection (a drag
// of the fill handle); with none the destination is the selection and the
// source its first row (direction down) or column (across), shrunk to its
// data in the automatic kind. Step and stop may be none (step 1, no stop).
int16_t FillSeries(MemoryRef layer, const CellRange* destination, int16_t direction, int16_t kind, int16_t unit,
                   const double* step, const double* stop);

// One record per column (by_columns) or row of the source range.
std::vector<SeriesStepStats> find_data_step(const CellBytes& block, const CellRange& source, bool by_columns);
