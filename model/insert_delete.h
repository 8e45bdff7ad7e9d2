// Inserting and deleting whole rows and columns of a layer, and deleting or
// moving whole layers: cells, names, row and column formats, page breaks and
// drawing objects move, and every stored reference that points at a moved
// cell follows it, from any layer of the workbook.
#pragma once

#include <cstdint>

#include "core/memory_manager.h"
#include "model/cell_range.h"

// Answer of insert_rowcol when the insertion would push cells off the grid
// (the user has been told; nothing changed).
constexpr int16_t kCellsOffGridErr = 523;
// The message of that refusal in the calculation's string list.
constexpr int kCellsOffGridItem = 37;

// Undo kinds of the two commands.
constexpr int16_t kUndoInsert = 5;
constexpr int16_t kUndoDelete = 6;

// Layer numbers of a reference to a deleted layer.
constexpr uint16_t kDeletedLayerRelative = 65534;
constexpr uint16_t kDeletedLayerAbsolute = 65535;

// How positions along one axis change: rows or columns, inserted before
// `first` or deleted from `first`, `count` of them.
struct AxisChange {
    bool rows;
    bool inserting;
    int16_t first;
    int16_t count;
    int16_t last_deleted() const { return int16_t(first + count - 1); }
};

// The commands, on the layer's selection (widened to whole rows or columns).
// 0, kCellsOffGridErr, or the memory manager's error code.
int16_t insert_rowcol(MemoryRef layer, int16_t rows);
int16_t delete_rowcol(MemoryRef layer, int16_t rows);

// Stored references of every formula of the layer's workbook that point at
// moved cells of the layer; the counts hold the inserted rows in the low half
// and the inserted columns in the high half (the moving area is implied).
void ResetInsertRect(const CellRange* moving, const CellRange* selection, int32_t counts, MemoryRef layer);
// The same for a deletion of the selected rows or columns.
void ResetDeleteRect(const AxisChange& change, MemoryRef layer);
void adjust_references(MemoryRef layer, const AxisChange& change);

// Named ranges of the layer.
void InsertRange(const CellRange* moving, int32_t counts, MemoryRef layer);
void DeleteRange(const AxisChange& change, MemoryRef layer);

// Row and column formats: insert non-zero adds the count of [first, last] to
// every format at or past first; insert 0 removes [first, last] and moves the
// later ones back.
void InsertRowSize(int16_t insert, int16_t first, int16_t last, MemoryRef layer);
void InsertColumnSize(int16_t insert, int16_t first, int16_t last, MemoryRef layer);

// The new position of a row or column (the home of a formula): -1 when deleted.
int32_t moved_position(const AxisChange& change, int32_t position);

// Adjusts references to other layers for the deletion (deleting non-zero) or
// the move of a layer.
void ResetLayers(int16_t deleting, int16_t source, int16_t target, MemoryRef workbook);
