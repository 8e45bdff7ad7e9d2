// Stand-ins for editing routines not built yet.
#include "files/link_lists.h"

// The private clipboard does not exist yet: it holds no cells and no links.
ClipLinks clipboard_links() { return ClipLinks{nullptr, {}, nullptr}; }

#include "editing/editing_services.h"

MemoryRef g_Clip = nullptr;

// Nothing is copied yet, so there is nothing to export.
void PutToScrap(int16_t) {}
void* GetActiveEditor(MemoryRef) { return nullptr; }

#include "model/model_services.h"

// Layers have no drawing objects yet.
MemoryRef GetObjectOffset(int32_t, const CellRange*, MemoryRef) { return nullptr; }
MemoryRef Delete_Objects(int16_t, const CellRange*, MemoryRef) { return nullptr; }
