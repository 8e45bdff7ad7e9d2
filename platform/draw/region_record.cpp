// Recording a region: between open_region and close_region the shapes a port
// draws add their areas (exclusive-or) and its lines add closed paths; closing
// turns the recording into the region.
#include "platform/draw/draw.h"
#include "platform/draw/recording.h"

namespace pf {

void open_region() {
    Port* port = get_port();
    // A recording left open is started afresh; its pen stays hidden once.
    if (port->region_recording)
        abandon_region_recording(*port);
    else
        hide_pen();
    port->region_recording = new RegionRecording;
    pixman_region32_init(&port->region_recording->area.r);
}

void close_region(RgnHandle rgn) {
    Port* port = get_port();
    RegionRecording* rec = port->region_recording;
    set_empty_region(rgn);
    if (!rec) return;
    paths_region(rgn, rec->paths);
    xor_region(rgn, &rec->area, rgn);
    abandon_region_recording(*port);
    show_pen();
}

void abandon_region_recording(Port& port) {
    if (!port.region_recording) return;
    pixman_region32_fini(&port.region_recording->area.r);
    delete port.region_recording;
    port.region_recording = nullptr;
}

void record_area(Port& port, RgnHandle area) {
    RegionRecording* rec = port.region_recording;
    xor_region(&rec->area, area, &rec->area);
}

void record_line(Port& port, Point from, Point to) {
    auto& paths = port.region_recording->paths;
    if (paths.empty() || paths.back().back() != from) paths.push_back({from});
    paths.back().push_back(to);
}

}  // namespace pf
