#include "model/layer.h"
#include "model/model_services.h"

// The format commands are not built yet: their menus do nothing.
void DoFormatMenu(MemoryRef, int16_t) {}
void DoDateMenu(MemoryRef, int16_t) {}
void DoTimeMenu(MemoryRef, int16_t) {}
void DoCurrencyMenu(MemoryRef, int16_t) {}
void DoFormatOptionMenu(MemoryRef, int16_t) {}
void DoPrecisionMenu(MemoryRef, int16_t) {}

// Drawing objects cannot be edited or placed yet: a layer has no idle work and
// no cursor of its own.
void SheetIdle(MemoryRef) {}
int16_t SheetCursor(MemoryRef, pf::Point) { return 0; }
