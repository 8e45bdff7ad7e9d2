// A chart taken into another workbook keeps the data it showed: the names and
// numbers travel with the copy, in its object's data block, since the cells
// it read are not there. A chart that keeps its data shows them instead of
// reading cells, until a new data range is given to it.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "charts/chart_data.h"
#include "core/memory_manager.h"

// The data a chart object shows: the ones it keeps, else those of its cells.
ChartData chart_object_data(MemoryRef object);

// Gives the copy of a chart object the data the original shows; nothing for
// an object that is no chart. False when memory failed.
bool keep_chart_values(MemoryRef copy, MemoryRef original);
// The charts of a chain of copies about to be brought into the layer (each
// still owned by the layer it was copied from) keep their data only when they
// come from another workbook; those of the same workbook read its cells.
void settle_chart_values(MemoryRef chain, MemoryRef layer);
// The chart reads its cells from now on.
void drop_chart_values(MemoryRef object);

// Kept data as bytes (big-endian, as documents store them) and back; nothing
// for bytes that do not hold a whole, sound record.
std::vector<uint8_t> chart_values_bytes(const ChartData& data);
std::optional<ChartData> chart_values_of(std::span<const uint8_t> bytes);
