// The chart menus and the chart-kind palette are not built yet: the menus do
// nothing and the palette is empty.
#include "charts/charts.h"
#include "shell/app_prefs.h"
#include "shell/shell_pending.h"

void DoChartMenu(MemoryRef, int16_t) {}
void DoChartOptionMenu(MemoryRef, int16_t) {}
void MakeChartWindow() { make_empty_palette("Charts", kChartPalettePosition, 430); }
