// The region record, for the drawing module's own files.
#pragma once

#include "platform/draw/region.h"

#include <pixman.h>

#include <memory>
#include <vector>

namespace pf {

struct Region {
    pixman_region32_t r;
};

// A region disposed at the end of its scope.
struct RegionDeleter {
    void operator()(Region* r) const { dispose_region(r); }
};
using ScopedRegion = std::unique_ptr<Region, RegionDeleter>;
inline ScopedRegion make_region() { return ScopedRegion(new_region()); }

// The region becomes the union of the boxes, which may overlap.
inline void set_boxes(RgnHandle rgn, const std::vector<pixman_box32_t>& boxes) {
    pixman_region32_fini(&rgn->r);
    pixman_region32_init_rects(&rgn->r, boxes.data(), int(boxes.size()));
}

}  // namespace pf
