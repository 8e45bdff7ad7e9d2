// Column positions within long rows of a layer's cell store: for a row that
// searches have walked as far as its whole length since it last changed, the
// offset of the cell at or before each column when its cells are dense, else
// of every 4th cell, so that finding a cell in it takes one look-up (or a
// binary search) and a short walk whatever the row's width. What a search
// reads first of every row (its length, first column and the step between
// its cells) lies in one table by row number; the tables of offsets lie
// beside it. Kept beside the row cache: a row's marks go when the row
// changes, all of them when the cache is filled again or dropped.
#pragma once

#include <cstdint>

#include "model/layer.h"

// What the marks of a row tell of the cell at a column: that it is at
// `offset` (from the row's start), that the row holds none, or where a
// search for it may start (a cell at or before the column; 0 for none).
struct MarkedCell {
    enum Answer : uint8_t { kSearch, kFound, kAbsent };
    Answer answer = kSearch;
    uint32_t offset = 0;
};
MarkedCell marked_cell(SpreadSheet* sheet, int16_t row, const uint8_t* row_record, int16_t column);

// Counts the bytes a search walked in the row; once they add up to the
// row's length the row gets its marks.
void note_row_walk(SpreadSheet* sheet, int16_t row, const uint8_t* row_record, uint32_t walked);

// A row that changed loses its marks; every row loses them when the store
// is indexed again; the record itself goes with the row cache.
void forget_row_marks(SpreadSheet* sheet, int16_t row);
void forget_all_row_marks(SpreadSheet* sheet);
void dispose_row_marks(SpreadSheet* sheet);
