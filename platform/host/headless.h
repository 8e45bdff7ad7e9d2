// The headless host's procedures (no window, no SDL): input comes from the
// test driver's script, the system clipboard is a string in memory.
#pragma once

#include "platform/host/host.h"

namespace pf {

HostProcs headless_host_procs();

}  // namespace pf
