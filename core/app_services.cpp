// The application's answers to what the engine asks of it: each slot record
// of the engine's services headers gets the routine of the window, editing,
// printing, object or shell subsystem that does the work.
#include "core/app_services.h"

#include "core/foundation_services.h"
#include "core/port_utils.h"
#include "core/task_manager.h"
#include "platform/screen/cursor.h"

namespace {

void beep(int16_t ticks) { pf::sys_beep(ticks); }

void install_foundation_services() { foundation_services = FoundationServices{beep, port_script, low_memory_alert_allowed}; }

}  // namespace

void install_app_services() { install_foundation_services(); }
