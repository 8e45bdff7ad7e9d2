// Window services the model calls before the worksheet window exists: there
// is no window, so nothing is drawn.
#include "model/layer.h"
#include "model/model_services.h"

void DrawCells(const CellRange*, MemoryRef) {}
void InvertCells(MemoryRef) {}
void PtinCell(CellPoint* cell, pf::Point, int16_t, MemoryRef) { *cell = CellPoint{0, 0}; }

// Document windows cannot be made yet; titles and proxies have no window to go to.
LayerWindow MakeWind(void*, int16_t, MemoryRef) { return nullptr; }
void rename_all_windows(MemoryRef, MemoryRef) {}
void proxy_all_windows(MemoryRef, MemoryRef) {}
