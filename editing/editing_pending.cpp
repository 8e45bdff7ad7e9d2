// Stand-ins for editing routines not built yet.
#include "core/memory_manager.h"

// The undo record's own blocks are released once the undo record exists; until
// then an undo block is a plain block.
void DisposeUndo(MemoryRef undo) {
    if (!undo) return;
    DisposeFailedMemory(undo);
}

#include "files/link_lists.h"

// The private clipboard does not exist yet: it holds no cells and no links.
ClipLinks clipboard_links() { return ClipLinks{nullptr, {}, nullptr}; }

#include "editing/editing_services.h"

MemoryRef g_Clip = nullptr;

// Nothing is copied yet, so there is nothing to export.
void PutToScrap(int16_t) {}
void DoEditMenu(MemoryRef, int16_t) {}
void DoFillMenu(MemoryRef, int16_t) {}
void* GetActiveEditor(MemoryRef) { return nullptr; }

#include <initializer_list>

#include "model/cell_store.h"
#include "model/model_services.h"

// No undo list exists yet: the record's blocks are freed and the row cache
// dropped as writing the record does.
void WriteMemUndo(int16_t, int16_t, const CellRange*, const CellRange*, MemoryRef block1, MemoryRef block2,
                  MemoryRef block3, MemoryRef block4, MemoryRef block5, MemoryRef layer) {
    for (MemoryRef block : {block1, block2, block3, block4, block5}) DisposeNonNilMemory(block);
    clobberCache(layer);
}

// Layers have no drawing objects yet.
MemoryRef GetObjectOffset(int32_t, const CellRange*, MemoryRef) { return nullptr; }
MemoryRef Delete_Objects(int16_t, const CellRange*, MemoryRef) { return nullptr; }
void keep_deleted_objects_for_undo(MemoryRef objects, MemoryRef ids, MemoryRef) {
    DisposeNonNilMemory(objects);
    DisposeNonNilMemory(ids);
}
