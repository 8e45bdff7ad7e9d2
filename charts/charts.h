// The charts: the chart menus, the chart-kind palette, and bringing the charts
// of the shown layers up to date.
#pragma once

#include <cstdint>

#include "core/memory_manager.h"

void DoChartMenu(MemoryRef window_record, int16_t item);
void DoChartOptionMenu(MemoryRef window_record, int16_t item);
void MakeChartWindow();
// Brings the charts of the layers shown in document windows up to date, at
// most one layer per call.
void ChartIdle();
