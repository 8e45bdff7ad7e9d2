// Stand-ins for routines of the recalculation not built yet.
#include "core/memory_manager.h"

// Recalculation is not built yet: a workbook keeps the results it was read with.
void recalculate_workbook(MemoryRef) {}
