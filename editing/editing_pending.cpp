// Stand-ins for editing routines not built yet.
#include "editing/editing_services.h"
#include "platform/screen/cursor.h"

constexpr int kPendingBeepTicks = 9;

// The Edit and Fill commands are not built yet: choosing one beeps.
void DoEditMenu(MemoryRef, int16_t) { pf::sys_beep(kPendingBeepTicks); }
void DoFillMenu(MemoryRef, int16_t) { pf::sys_beep(kPendingBeepTicks); }
void* GetActiveEditor(MemoryRef) { return nullptr; }

#include "model/model_services.h"

// Layers have no drawing objects yet.
MemoryRef GetObjectOffset(int32_t, const CellRange*, MemoryRef) { return nullptr; }
MemoryRef Delete_Objects(int16_t, const CellRange*, MemoryRef) { return nullptr; }

#include "editing/undo.h"

// Of the Edit menu only Undo and Redo are named from the document yet.
void set_edit_menu(MemoryRef window_record) { set_undo(window_record); }
