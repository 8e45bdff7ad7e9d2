// What the undo log asks of the features whose changes it keeps: filled at
// start-up. The defaults keep nothing of a feature's own kinds.
#pragma once

#include "core/memory_manager.h"
#include "model/undo_fields.h"

struct UndoServices {
    // The blocks a change to drawing objects keeps in its record: `list` is
    // the caller's id list and `chain` its object chain; the record adopts
    // both.
    void (*keep_object_change)(UndoRecord* fields, MemoryRef list, MemoryRef chain, MemoryRef layer);
};

extern UndoServices undo_services;
