// The headless answers of the undo log's services.
#include "model/undo_services.h"

namespace {

void keep_no_object_change(UndoRecord*, MemoryRef list, MemoryRef, MemoryRef) { DisposeNonNilMemory(list); }
void no_object_change(UndoRecord&, UndoRecord&, MemoryRef) {}
void no_object_redo(UndoRecord&, MemoryRef) {}
void no_objects_to_put_back(MemoryRef, MemoryRef, MemoryRef, MemoryRef) {}
void no_window(MemoryRef) {}
int16_t no_cells_moved(int16_t, int16_t, int16_t, int16_t, MemoryRef) { return 1; }

}  // namespace

UndoServices undo_services{
    .keep_object_change = keep_no_object_change,
    .undo_object_change = no_object_change,
    .redo_object_change = no_object_redo,
    .put_back_objects = no_objects_to_put_back,
    .show_layer_window = no_window,
    .move_selected_cells = no_cells_moved,
};
