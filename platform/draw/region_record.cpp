#include "platform/draw/draw.h"

namespace pf {

void open_region() {
    Port* port = get_port();
    dispose_region(port->recording_rgn);
    port->recording_rgn = new_region();
}

void close_region(RgnHandle rgn) {
    Port* port = get_port();
    if (!port->recording_rgn) {
        set_empty_region(rgn);
        return;
    }
    copy_region(port->recording_rgn, rgn);
    dispose_region(port->recording_rgn);
    port->recording_rgn = nullptr;
}

}  // namespace pf
