#include "model/layer.h"
#include "model/format_commands.h"
#include "core/foundation_services.h"

constexpr int kPendingBeepTicks = 9;

// The format commands are not built yet: the Format menu and its submenus
// beep, the date, time and currency menus do nothing.
void DoFormatMenu(MemoryRef, int16_t) { foundation_services.beep(kPendingBeepTicks); }
void DoDateMenu(MemoryRef, int16_t) {}
void DoTimeMenu(MemoryRef, int16_t) {}
void DoCurrencyMenu(MemoryRef, int16_t) {}
void DoFormatOptionMenu(MemoryRef, int16_t) { foundation_services.beep(kPendingBeepTicks); }
void DoPrecisionMenu(MemoryRef, int16_t) { foundation_services.beep(kPendingBeepTicks); }

// The Format menu carries no marks yet.
void set_format_menu(MemoryRef) {}

// Drawing objects cannot be edited or placed yet: a layer has no idle work and
// no cursor of its own.
void SheetIdle(MemoryRef) {}
int16_t SheetCursor(MemoryRef, pf::Point) { return 0; }
