// Region recording between open_region and close_region, for the drawing module's files.
#pragma once

#include "platform/draw/port.h"
#include "platform/draw/region_internal.h"

#include <vector>

namespace pf {

struct RegionRecording {
    Region area;                             // framed areas, combined by exclusive or
    std::vector<std::vector<Point>> paths;   // pen paths of line_to, closed at the end
};

// Ends a recording left open without a result.
void abandon_region_recording(Port& port);

// Adds a framed shape's area to the port's recording.
void record_area(Port& port, RgnHandle area);
// Adds a line from `from` to `to` to the port's recording.
void record_line(Port& port, Point from, Point to);

// The even-odd interior of closed paths (each closed from its last point to its first),
// sampled at pixel centres; only within `within` when given.
void paths_region(RgnHandle rgn, const std::vector<std::vector<Point>>& paths, const Rect* within = nullptr);

}  // namespace pf
