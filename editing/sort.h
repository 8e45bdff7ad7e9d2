// Sorting the rows of the selected range by up to three key columns, or its
// columns by up to three key rows, as one undoable change.
#pragma once

#include <cstdint>

#include "core/memory_manager.h"

constexpr int kSortKeys = 3;
constexpr int16_t kNoSortKey = -1;

// Keys are absolute column (row) indexes, kNoSortKey for none; key 1 is
// always set and a key after a missing one is not consulted. Orders: nonzero
// ascending. Numbers come first, then text, then errors, then cells with no
// value, in both directions. 0, or the error code of a failed copy or store.
int16_t Sort_Sheet(MemoryRef layer, int16_t by_rows, const int16_t keys[kSortKeys], const uint16_t orders[kSortKeys]);
