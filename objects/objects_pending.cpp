// Drawing-object services the model calls before drawing objects exist: a
// layer has no objects and no charts.
#include "objects/objects.h"

void CheckHotLinks(int16_t, CellPoint, CellPoint, MemoryRef) {}
void ClobberAllObjects(MemoryRef) {}
void ClobberObjectEditor(MemoryRef) {}
int16_t GetObjectAnchor(MemoryRef, CellRange*) { return 0; }
void Reset_Positions(MemoryRef) {}
MemoryRef create_id_list(MemoryRef) { return nullptr; }

// No external picture editor exists to ask: it answers as one that is not running.
int16_t Send_ComeHome_Command(uint32_t, uint32_t, int16_t) { return -1; }

void DoObjectMenu(MemoryRef, int16_t) {}

// Layers have no drawing objects yet, so no chain holds any.
void ClobberObjList(MemoryRef) {}

// No object can be selected yet: the Object menu stays as it is.
void set_object_menu(MemoryRef) {}
