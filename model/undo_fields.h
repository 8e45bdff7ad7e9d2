// The fields of an undo record: one undoable change of a layer, held in a
// MemoryRef by the layer's workbook (a list of them, oldest first, and one
// redo record). A record owns every block, list and object chain it holds,
// and disposing of it frees them all, with or without windows.
#pragma once

#include <array>
#include <cstdint>

#include "core/memory_manager.h"
#include "model/cell_format.h"
#include "model/cell_range.h"

struct UndoRecord {
    int16_t kind;  // first: the workbook reads it as the record's kind
    int16_t extent;
    CellRange range_a;
    CellRange range_b;
    MemoryRef first;           // cells of range A before the change (5, 6: the whole store)
    MemoryRef second;          // 4, 21, 22: former cells of range B; 5, 6: object placements
    MemoryRef column_formats;
    MemoryRef row_formats;
    MemoryRef fifth;           // 5, 6: the named ranges
    MemoryRef objects;         // a chain of drawing objects
    MemoryRef id_list;
    MemoryRef move_list;
    // Kinds 4-6, 21, 22: the formulas elsewhere in the workbook that refer to
    // the changed cells, as they were (undo puts their bytes back).
    MemoryRef formulas;
    // Kinds 5, 6: the manual page breaks of the changed axis, as they were.
    MemoryRef page_breaks;
    int16_t layer_id;
    // The font the default font of the saved cells stood for: the layer's
    // default when the record was made (the Layout may change it since).
    int16_t default_font;
    uint8_t default_column_format[kCellFormatSize];
    uint8_t default_row_format[kRowFormatSize];
};

UndoRecord read_undo(MemoryRef undo);
void write_undo_fields(MemoryRef undo, const UndoRecord& fields);
// The blocks of a record that UseMemory can bring in (the object chain is not one).
std::array<MemoryRef, 9> undo_blocks_of(const UndoRecord& fields);
// Disposes every block, list and chain the fields hold.
void dispose_undo_fields(const UndoRecord& fields);
// Disposes an undo record with everything it holds.
void DisposeUndo(MemoryRef undo);
