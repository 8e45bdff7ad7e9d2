// Services of the charts that the core runtime calls: the chart menus and the
// chart-kind palette.
#pragma once

#include <cstdint>

#include "core/memory_manager.h"

void DoChartMenu(MemoryRef window_record, int16_t item);
void DoChartOptionMenu(MemoryRef window_record, int16_t item);
void MakeChartWindow();
