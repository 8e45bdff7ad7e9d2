#include "model/model_services.h"

// The format commands are not built yet: their menus do nothing.
void DoFormatMenu(MemoryRef, int16_t) {}
void DoDateMenu(MemoryRef, int16_t) {}
void DoTimeMenu(MemoryRef, int16_t) {}
void DoCurrencyMenu(MemoryRef, int16_t) {}
void DoFormatOptionMenu(MemoryRef, int16_t) {}
void DoPrecisionMenu(MemoryRef, int16_t) {}

// The Format menu carries no marks yet.
void set_format_menu(MemoryRef) {}
