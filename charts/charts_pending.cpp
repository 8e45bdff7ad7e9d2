// Charts are not built yet: the chart menus do nothing and the chart-kind
// palette is empty.
#include "charts/charts.h"
#include "shell/app_prefs.h"
#include "shell/shell_pending.h"

void DoChartMenu(MemoryRef, int16_t) {}
void DoChartOptionMenu(MemoryRef, int16_t) {}
void MakeChartWindow() { make_empty_palette("Charts", kChartPalettePosition, 430); }

// No layer has charts yet: there is nothing to bring up to date.
void ChartIdle() {}
