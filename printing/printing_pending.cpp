// Printing services the model calls before printing exists: no page breaks
// are computed and no window has panes to lay out.
#include "model/model_services.h"

void reset_page(MemoryRef) {}
int16_t SetActiveRects(MemoryRef) { return 0; }
