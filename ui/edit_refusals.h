// Why an editing command did nothing (or not all it was asked), and telling
// the user through the layer's alerts.
#pragma once

#include <cstdint>

#include "core/memory_manager.h"

// Answers of the commands: 0 done, else why nothing (or not all) happened.
enum EditRefusal : int16_t {
    kEditDone = 0,
    kEditLockedWorkbook = 6,  // alert codes, shown
    kEditLockedCells = 1,
    kEditNoMemory = 25,
    kEditNothing = 100,       // nothing to copy or paste (no message)
    kEditOffGrid = 122,       // STR# 200 item 22, shown
    kEditMisfit = 124,        // STR# 200 item 24, shown
    kEditCancelled = 200,
};

// Shows the alert of the code and answers it.
int16_t refuse_with_alert(MemoryRef layer, int16_t code);
