// No modeless or floating dialog exists yet: no event belongs to one.
#include "core/dialog_routing.h"

int16_t handle_dialog_event(pf::EventRecord*, pf::WindowRef) { return 0; }
