// Stand-ins for the routines of the layer's format commands and drawing
// objects, which are not built yet: each does the least that keeps its callers
// correct (a beep, or nothing).
#include "model/layer.h"
#include "model/model_services.h"
#include "platform/screen/cursor.h"

constexpr int kPendingBeepTicks = 9;

// The format commands are not built yet: the Format menu and its submenus
// beep, the date, time and currency menus do nothing.
void DoFormatMenu(MemoryRef, int16_t) { pf::sys_beep(kPendingBeepTicks); }
void DoDateMenu(MemoryRef, int16_t) {}
void DoTimeMenu(MemoryRef, int16_t) {}
void DoCurrencyMenu(MemoryRef, int16_t) {}
void DoFormatOptionMenu(MemoryRef, int16_t) { pf::sys_beep(kPendingBeepTicks); }
void DoPrecisionMenu(MemoryRef, int16_t) { pf::sys_beep(kPendingBeepTicks); }

// The Format menu carries no marks yet.
void set_format_menu(MemoryRef) {}

// Drawing objects cannot be edited or placed yet: a layer has no idle work and
// no cursor of its own.
void SheetIdle(MemoryRef) {}
int16_t SheetCursor(MemoryRef, pf::Point) { return 0; }
