// The numbers of a lookup's column, copied side by side while a calculation
// step runs: the lookups of many formulas into one table then read the copy
// instead of the row records, which hold each row's other cells (formulas
// among them) too. A result the step writes into a copied column drops the
// copy; nothing else writes cells while a step runs.
#pragma once

#include <cstdint>
#include <vector>

#include "core/memory_manager.h"
#include "model/cell_range.h"

// The finite numbers (constants and formula results) of a layer's column
// within a rectangle's rows, in row order: the cells a number lookup compares.
struct NumberColumn {
    std::vector<int16_t> rows;
    std::vector<double> numbers;
};

// Copies are kept while one of these lives (a calculation step), and dropped with it.
class NumberColumnsKept {
public:
    NumberColumnsKept();
    ~NumberColumnsKept();
    NumberColumnsKept(const NumberColumnsKept&) = delete;
    NumberColumnsKept& operator=(const NumberColumnsKept&) = delete;
};

// The copy of the left column of `rect` in the layer, made on first need;
// null while no copies are kept.
const NumberColumn* kept_number_column(MemoryRef layer, const CellRange& rect);

// A cell of the layer took a new value: the copies holding it are dropped.
void number_column_cell_changed(MemoryRef layer, CellPoint cell);
// Every copy is dropped: the program is about to run code that might change cells.
void drop_number_columns();
