// Drawing-object services not built yet: no chart reads cells, and no object
// has a text editor to end.
#include "objects/objects.h"

void CheckHotLinks(int16_t, CellPoint, CellPoint, MemoryRef) {}
void ClobberObjectEditor(MemoryRef) {}
