// Drawing-object services the model calls before drawing objects exist: a
// layer has no objects and no charts.
#include "objects/objects.h"

void CheckHotLinks(int16_t, CellPoint, CellPoint, MemoryRef) {}
void ClobberObjectEditor(MemoryRef) {}

// No external picture editor exists to ask: it answers as one that is not running.
int16_t Send_ComeHome_Command(uint32_t, uint32_t, int16_t) { return -1; }
