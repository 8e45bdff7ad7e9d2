// Row and column insertion is not built yet: no stored formula refers to
// other layers, so there is nothing to adjust.
#include "model/model_services.h"

void ResetLayers(int16_t, int16_t, int16_t, MemoryRef) {}

// The format commands are not built yet: their menus do nothing.
void DoFormatMenu(MemoryRef, int16_t) {}
void DoDateMenu(MemoryRef, int16_t) {}
void DoTimeMenu(MemoryRef, int16_t) {}
void DoCurrencyMenu(MemoryRef, int16_t) {}
void DoFormatOptionMenu(MemoryRef, int16_t) {}
void DoPrecisionMenu(MemoryRef, int16_t) {}
