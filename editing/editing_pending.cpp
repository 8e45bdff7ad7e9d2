// Stand-ins for editing routines not built yet.
#include "core/memory_manager.h"

// The undo record's own blocks are released once the undo record exists; until
// then an undo block is a plain block.
void DisposeUndo(MemoryRef undo) {
    if (!undo) return;
    DisposeFailedMemory(undo);
}
