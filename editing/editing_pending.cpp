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
