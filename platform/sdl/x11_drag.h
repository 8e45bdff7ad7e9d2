// Drags of ours over other X clients' windows, spoken over XDND from the
// clipboard's connection: the drag's data are offered under XdndSelection.
#pragma once

#include "platform/host/host.h"

namespace pf {

// The host's own window, over which a drag is ours and not another program's.
void x11_drag_open(unsigned long host_window);
void x11_begin_outside_drag(OutsideDragOffer offer);
void x11_follow_outside_drag();
bool x11_end_outside_drag(bool drop);

}  // namespace pf
