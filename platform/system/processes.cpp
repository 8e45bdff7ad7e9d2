// Whether a process runs, asked of the system by its number.
#include <signal.h>

#include <cerrno>

#include "platform/system/system.h"

namespace pf {

bool process_is_running(int32_t process_id) {
    if (process_id <= 0) return false;
    return kill(pid_t(process_id), 0) == 0 || errno == EPERM;
}

}  // namespace pf
