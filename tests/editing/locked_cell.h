// Locks one stored cell of a layer, as Lock Cells does to its format.
#pragma once

#include <gtest/gtest.h>

#include "model/cell_format.h"
#include "model/cell_store.h"

inline void lock_cell(MemoryRef layer, CellPoint cell) {
    uint8_t* at = nullptr;
    int16_t length = 0;
    ASSERT_TRUE(get_cell_ptr(&at, &length, cell, layer));
    at[kFmtFlagsA] |= kFlagLocked;
}
