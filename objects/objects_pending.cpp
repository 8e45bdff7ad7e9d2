// Drawing-object services not built yet: no chart reads cells, no object has
// a text editor to end, the selection marquee selects nothing and no drawing
// tool can make an object.
#include "objects/objects.h"

void CheckHotLinks(int16_t, CellPoint, CellPoint, MemoryRef) {}
void ClobberObjectEditor(MemoryRef) {}
void Select_Object_Tool(MemoryRef, pf::Point) {}
bool CreateObject(MemoryRef, int16_t, pf::Point) { return false; }
