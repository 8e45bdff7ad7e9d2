// Stand-ins for the routines of the layer's drawing objects, which are not
// built yet: each does the least that keeps its callers correct.
#include "model/layer.h"
#include "model/model_services.h"

// Drawing objects cannot be edited or placed yet: a layer has no idle work and
// no cursor of its own.
void SheetIdle(MemoryRef) {}
int16_t SheetCursor(MemoryRef, pf::Point) { return 0; }
