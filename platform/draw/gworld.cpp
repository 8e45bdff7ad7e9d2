// Offscreen worlds: a port over a cairo image surface of its own, made at a
// depth of 1, 8 or 32 bits (0 taken as 32), resized keeping the pixels both
// sizes share, and handed to bit copies as a bit map.
#include "platform/draw/bits.h"
#include "platform/draw/shapes.h"

#include <cairo.h>

#include <algorithm>

namespace pf {

namespace {

bool depth_supported(int16_t depth) { return depth == 0 || depth == 1 || depth == 8 || depth == 32; }

cairo_surface_t* make_surface(const Rect& bounds) {
    cairo_surface_t* s = new_port_surface(bounds.width(), bounds.height());
    if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(s);
        return nullptr;
    }
    return s;
}

// Points the world's port at its surface with bounds and port_rect = `bounds`, erased
// to white.
void attach(GWorld& world, cairo_surface_t* surface, const Rect& bounds) {
    world.surface = surface;
    open_port(world.port, surface, bounds.width(), bounds.height());
    world.port.bounds = bounds;
    world.port.port_rect = bounds;
    rect_region(world.port.vis_rgn, bounds);
}

void erase_world(GWorld& world) {
    PortScope scope(&world.port);
    erase_rect(world.port.port_rect);
}

}  // namespace

OSErr new_gworld(GWorldPtr* out, int16_t depth, const Rect& bounds, uint32_t /*flags*/) {
    *out = nullptr;
    if (!depth_supported(depth) || bounds.empty()) return kParamErr;
    cairo_surface_t* surface = make_surface(bounds);
    if (!surface) return kMemFullErr;
    auto* world = new GWorld;
    world->depth = depth == 0 ? 32 : depth;
    attach(*world, surface, bounds);
    erase_world(*world);
    *out = world;
    return noErr;
}

OSErr update_gworld(GWorldPtr world, int16_t depth, const Rect& bounds, uint32_t /*flags*/) {
    if (!world || !depth_supported(depth) || bounds.empty()) return kParamErr;
    world->depth = depth == 0 ? 32 : depth;
    const Rect old = world->port.port_rect;
    if (old.width() == bounds.width() && old.height() == bounds.height()) {
        PortScope scope(&world->port);
        set_origin(bounds.left, bounds.top);
        return noErr;
    }
    cairo_surface_t* surface = make_surface(bounds);
    if (!surface) return kMemFullErr;
    cairo_surface_t* old_surface = world->surface;
    close_port(world->port);
    attach(*world, surface, bounds);
    erase_world(*world);
    // Keep the pixels both sizes share, by their place from the top-left.
    cairo_t* cr = cairo_create(surface);
    cairo_set_source_surface(cr, old_surface, 0, 0);
    cairo_rectangle(cr, 0, 0, std::min(old.width(), bounds.width()), std::min(old.height(), bounds.height()));
    cairo_fill(cr);
    cairo_destroy(cr);
    cairo_surface_destroy(old_surface);
    return noErr;
}

bool lock_pixels(GWorldPtr world) {
    if (!world) return false;
    world->locked = true;
    return true;
}

void unlock_pixels(GWorldPtr world) {
    if (world) world->locked = false;
}

void dispose_gworld(GWorldPtr world) {
    if (!world) return;
    if (get_port() == &world->port) set_port(nullptr);
    close_port(world->port);
    cairo_surface_destroy(world->surface);
    delete world;
}

BitMap gworld_bits(GWorldPtr world) {
    BitMap bm = port_bits(world->port);
    bm.one_bit = world->depth == 1;
    return bm;
}

}  // namespace pf
