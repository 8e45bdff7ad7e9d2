// What the undo log asks of the features whose changes it keeps and of the
// windows it replays them in: filled at start-up. The defaults answer as a
// program without windows or drawing objects: nothing of those is kept or
// put back, and no cells are moved.
#pragma once

#include <cstdint>

#include "core/memory_manager.h"
#include "model/cell_range.h"
#include "model/undo_fields.h"

struct UndoServices {
    // Drawing objects: the blocks a change to them keeps in its record
    // (`list` is the caller's id list and `chain` its object chain; the record
    // adopts both); the change undone, with what its redo needs left in
    // `redo`, and redone (pushing its undo record), the blocks the layer takes
    // over cleared in the record; after rows or columns came back, the
    // objects put back where they were and those the change took out returned
    // to the layer in their former order.
    void (*keep_object_change)(UndoRecord* fields, MemoryRef list, MemoryRef chain, MemoryRef layer);
    void (*undo_object_change)(UndoRecord& undone, UndoRecord& redo, MemoryRef layer);
    void (*redo_object_change)(UndoRecord& redone, MemoryRef layer);
    void (*put_back_objects)(MemoryRef placements, MemoryRef taken_out, MemoryRef ids, MemoryRef layer);

    // The layer's window made, or brought in front, for a change replayed in it.
    void (*show_layer_window)(MemoryRef layer);
    // A block of cells moved again by columns and rows: 0, or the answer of
    // the alert that refused or ended the move.
    int16_t (*move_selected_cells)(int16_t columns, int16_t rows, int16_t confirm, int16_t undo_kind, MemoryRef layer);
};

extern UndoServices undo_services;
