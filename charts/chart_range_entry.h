// A selected chart's data range in the entry line: shown as a reference and
// changed by the range typed there.
#pragma once

#include <cstdint>
#include <vector>

#include "core/memory_manager.h"

// "=", the source layer's number and ":" when the chart reads a numbered
// layer, and the data range as a reference (=A1:C4, =2:B2:D9).
std::vector<uint8_t> chart_range_text(MemoryRef object);
// Reads the typed text (a leading "=" optional) as the chart object's new data
// range and source layer, with undo: kEntryStored, or kEntryNotChartRange for
// no range or one over several or unknown layers, kEntryChartTooNarrow for a
// single row (column) where the chart's series need more.
int32_t enter_chart_range(MemoryRef object, const std::vector<uint8_t>& typed, MemoryRef layer);
