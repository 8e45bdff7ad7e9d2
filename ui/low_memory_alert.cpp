// The low-memory alert: shown once, in the foreground, when the spare memory
// reserve could not be regrown; shown again only after the reserve is full.
#include "ui/alerts.h"
#include "ui/system_info.h"
#include "ui/task_manager.h"

void check_low_memory_alert() {
    if (in_background() || low_memory_code() == 0) return;
    check_memory();
    int16_t code = low_memory_code();
    if (code == 0 || (g_system.flags & kSysLowMemoryShown) || spare_reserve_size() >= kReserveStep) return;
    key_caution_alert(nullptr, code, kStopAlertKind);
    set_low_memory_code(0);
    g_system.flags |= kSysLowMemoryShown;
}

void low_memory_alert_allowed() { g_system.flags &= ~kSysLowMemoryShown; }
