// Drawing-object services the model calls before drawing objects exist: a
// layer has no objects and no charts.
#include "objects/objects.h"

void CheckHotLinks(int16_t, CellPoint, CellPoint, MemoryRef) {}
void ClobberObjectEditor(MemoryRef) {}
