// The region record, for the drawing module's own files.
#pragma once

#include "platform/draw/region.h"

#include <pixman.h>

namespace pf {

struct Region {
    pixman_region32_t r;
};

}  // namespace pf
