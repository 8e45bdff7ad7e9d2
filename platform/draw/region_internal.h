// The region record, for the drawing module's own files.
#pragma once

#include "platform/draw/region.h"

#include <pixman.h>

#include <memory>

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

}  // namespace pf
