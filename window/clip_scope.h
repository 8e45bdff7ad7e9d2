// Drawing clipped to the intersection of the current clip and a rectangle (or
// a region) until the scope ends, when the clip that was in force comes back.
#pragma once

#include "platform/draw/port.h"
#include "platform/draw/region.h"

struct ClipScope {
    explicit ClipScope(const pf::Rect& r) : saved(pf::new_region()) {
        pf::get_clip(saved);
        pf::RgnHandle box = pf::new_region();
        pf::rect_region(box, r);
        pf::sect_region(box, saved, box);
        pf::set_clip(box);
        pf::dispose_region(box);
    }
    // The same with a region (left to its owner).
    explicit ClipScope(pf::RgnHandle area) : saved(pf::new_region()) {
        pf::get_clip(saved);
        pf::RgnHandle clip = pf::new_region();
        pf::sect_region(area, saved, clip);
        pf::set_clip(clip);
        pf::dispose_region(clip);
    }
    ~ClipScope() {
        pf::set_clip(saved);
        pf::dispose_region(saved);
    }
    ClipScope(const ClipScope&) = delete;
    ClipScope& operator=(const ClipScope&) = delete;
    pf::RgnHandle saved;
};
