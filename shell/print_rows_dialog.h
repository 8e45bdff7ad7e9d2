// The print rows dialog of the Options menu: every row printed, or only the
// rows of a reference typed (the layer's print title rows).
#pragma once

#include <cstdint>

#include "core/memory_manager.h"

// Runs the dialog for the layer: 1 after OK (the rows stored, the pages
// recomputed and the workbook marked changed), 0 after Cancel.
int16_t print_rows_dialog(MemoryRef layer);
