// Stand-ins for editing routines not built yet.
#include "editing/editing_commands.h"



// Layers have no drawing objects yet.
MemoryRef GetObjectOffset(int32_t, const CellRange*, MemoryRef) { return nullptr; }
MemoryRef Delete_Objects(int16_t, const CellRange*, MemoryRef) { return nullptr; }
