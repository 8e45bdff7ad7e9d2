// The charts: the chart menus, the chart-kind palette, and bringing the charts
// of the shown layers up to date.
#pragma once

#include <cstdint>

#include "core/memory_manager.h"
#include "platform/types.h"

void DoChartMenu(MemoryRef window_record, int16_t item);
void DoChartOptionMenu(MemoryRef window_record, int16_t item);
void MakeChartWindow();
// Brings the charts of the layers shown in document windows up to date, at
// most one layer per call.
void ChartIdle();
// The chart part under a point of a chart object drawn in the rectangle
// (0 the chart area, 1 its title, 2 its legend, 3 its plot area), -1 outside.
int16_t PtinChartEdit(MemoryRef object, const pf::Rect& rect, pf::Point where, int16_t mode);
// Outlines a part of a chart object drawn in the rectangle of a pane with a
// moving-ants frame (drawn again, it goes away), and answers the part's rectangle.
void ChartAnts(int16_t pane, int16_t part, pf::Rect* outline, const pf::Rect& rect, MemoryRef object, MemoryRef layer);
// Over a selected chart, blinks the outline of the chart part under the
// pointer (local) once: drawn, then removed, the screen as before.
void outline_chart_part(MemoryRef layer, pf::Point where);
