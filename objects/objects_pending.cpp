// Drawing-object services not built yet: no chart reads cells.
#include "objects/objects.h"

void CheckHotLinks(int16_t, CellPoint, CellPoint, MemoryRef) {}
