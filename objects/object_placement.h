// Where drawing objects sit on the grid: their end cells from their pixel
// sizes, shifted with inserted and deleted rows and columns, taken out with
// deleted cells and put back by undo.
#pragma once

#include <cstdint>

#include "core/memory_manager.h"
#include "model/cell_range.h"

// One object's geometry as an undo record keeps it; for a chart also its
// data range and series-name column and row (zero for other objects). An
// entry with a negative id keeps a chart of another layer that reads this
// one: -1 - id is its object's id, anchor_row its layer's id, and only its
// chart fields count.
struct ObjectPlacement {
    int16_t id;
    int16_t anchor_row, anchor_column, end_row, end_column;
    int16_t v_offset, h_offset, height, width;
    CellRange chart_data;
    int16_t name_column, name_row;
};

// A line number after `count` lines were inserted (deleted, negative) at
// `first`: lines inside deleted ones go to the first line after them.
int16_t shifted_line(int16_t line, int16_t first, int16_t count);

// The object's end row and column from its anchor, offsets and size.
void ObjectLocation(MemoryRef object, MemoryRef layer);
// Adds an object brought in (pasted or read from a file) to the layer,
// selected and linked to no cells, its end cell worked out.
void add_brought_in_object(MemoryRef layer, MemoryRef object);
// The object's location in cells, anchor to end.
CellRange GetObj_Location(MemoryRef object);
// Moves the object by pixels within the grid, its anchor following into the
// neighbouring cells as the offsets pass their edges.
void nudge_object(MemoryRef object, int16_t dv, int16_t dh, MemoryRef layer);
// Every object's end cell recomputed after a change of sizes, and the
// layer's window redrawn.
void Reset_Positions(MemoryRef layer);
// Invalidates the layer's whole window.
void DrawAllObjects(MemoryRef layer);

// The placements of all the layer's objects before a change (none when it
// has none); then every object anchored at or past the range's first row
// (column) moves by the row (column) count: rows in the low half of
// `counts`, columns in the high half, negative for a deletion (an anchor
// inside deleted lines goes to the first line after them).
MemoryRef GetObjectOffset(int32_t counts, const CellRange* range, MemoryRef layer);
// Removes every object lying wholly inside the range: chained through
// "link" and answered with `keep`, otherwise freed.
MemoryRef Delete_Objects(int16_t keep, const CellRange* range, MemoryRef layer);

// Undo: the objects still in the layer get their saved geometry back; the
// removed objects of a chain come back (the chain is the layer's then) and
// the object list takes the saved order of the ids.
void restore_placements(MemoryRef placements, MemoryRef layer);
// The placements of the layer's objects with the ids of a list, in its order.
MemoryRef placements_of_ids(MemoryRef ids, MemoryRef layer);
void restore_removed_objects(MemoryRef chain, MemoryRef ids, MemoryRef layer);
// Both, after the rows or columns of an undone insertion or deletion came back.
void restore_objects_of_rows_columns(MemoryRef placements, MemoryRef chain, MemoryRef ids, MemoryRef layer);
// The layer's object list in the order of the ids (kept as it is unless
// every object is found).
void reorder_objects(MemoryRef ids, MemoryRef layer);
