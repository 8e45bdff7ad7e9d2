#include "platform/draw/draw.h"

#include "platform/draw/picture_record.h"
#include "platform/draw/recording.h"
#include "platform/draw/region_internal.h"
#include "platform/screen/screen.h"

#include <cairo.h>

#include <cstdlib>

namespace pf {

namespace {

Port* current_port = nullptr;

// Held back for the surfaces made while memory is short (see new_port_surface).
constexpr size_t kSurfaceReserve = size_t(4) << 20;
void* surface_reserve = nullptr;

bool made(cairo_surface_t* surface) { return cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS; }

// The clip region of a new port: as wide as coordinates go.
constexpr Rect kWideOpen{-32767, -32767, 32767, 32767};

void give_regions(Port& port) {
    if (!port.vis_rgn) port.vis_rgn = new_region();
    if (!port.clip_rgn) port.clip_rgn = new_region();
    rect_region(port.vis_rgn, port.port_rect);
    rect_region(port.clip_rgn, kWideOpen);
}

void reset_state(Port& port) { static_cast<DrawingState&>(port) = DrawingState{}; }

}  // namespace

void open_port(Port& port, cairo_surface_t* surface, int width, int height) {
    port.surface = surface;
    port.kind = SurfaceKind::kImage;
    port.on_screen = false;
    port.bounds = Rect{0, 0, int16_t(height), int16_t(width)};
    port.port_rect = port.bounds;
    reset_state(port);
    give_regions(port);
}

cairo_surface_t* new_port_surface(int width, int height) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
    if (made(surface)) {
        if (!surface_reserve) surface_reserve = std::malloc(kSurfaceReserve);
        return surface;
    }
    if (!surface_reserve) return surface;
    cairo_surface_destroy(surface);
    std::free(surface_reserve);
    surface_reserve = nullptr;
    return cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
}

bool has_pixels(const Port& port) { return port.surface && made(port.surface); }

void open_screen_port(Port& port, const Rect& global) {
    Screen* s = screen();
    port.surface = s ? s->surface : nullptr;
    port.kind = SurfaceKind::kImage;
    port.on_screen = true;
    int16_t height = s ? int16_t(s->height) : 0;
    int16_t width = s ? int16_t(s->width) : 0;
    port.bounds = Rect{int16_t(-global.top), int16_t(-global.left), int16_t(height - global.top),
                       int16_t(width - global.left)};
    port.port_rect = Rect{0, 0, int16_t(global.height()), int16_t(global.width())};
    reset_state(port);
    give_regions(port);
}

void close_port(Port& port) {
    // Recordings left open end with the port; their handles stay the callers'.
    abandon_region_recording(port);
    abandon_picture(port);
    port.poly_recording = nullptr;
    dispose_region(port.vis_rgn);
    dispose_region(port.clip_rgn);
    port.vis_rgn = port.clip_rgn = nullptr;
    if (current_port == &port) current_port = nullptr;
}

Port* get_port() { return current_port; }
void set_port(Port* port) { current_port = port; }

void set_origin(int16_t h, int16_t v) {
    Port& p = *current_port;
    int16_t dh = int16_t(h - p.port_rect.left);
    int16_t dv = int16_t(v - p.port_rect.top);
    if (!dh && !dv) return;
    p.port_rect = Rect{int16_t(p.port_rect.top + dv), int16_t(p.port_rect.left + dh),
                       int16_t(p.port_rect.bottom + dv), int16_t(p.port_rect.right + dh)};
    p.bounds = Rect{int16_t(p.bounds.top + dv), int16_t(p.bounds.left + dh), int16_t(p.bounds.bottom + dv),
                    int16_t(p.bounds.right + dh)};
    offset_region(p.vis_rgn, dh, dv);
}

void set_clip(RgnHandle rgn) { copy_region(rgn, current_port->clip_rgn); }
void get_clip(RgnHandle rgn) { copy_region(current_port->clip_rgn, rgn); }
void clip_rect(const Rect& r) { rect_region(current_port->clip_rgn, r); }

void move_to(int16_t h, int16_t v) { current_port->pen_loc = Point{v, h}; }
void move(int16_t dh, int16_t dv) {
    Point& p = current_port->pen_loc;
    p = Point{int16_t(p.v + dv), int16_t(p.h + dh)};
}
Point get_pen() { return current_port->pen_loc; }
void pen_size(int16_t width, int16_t height) { current_port->pen_size = Point{height, width}; }
void pen_mode(int16_t mode) { current_port->pen_mode = mode; }
void pen_pat(const Pattern& pat) { current_port->pen_pat = pat; }
void back_pat(const Pattern& pat) { current_port->back_pat = pat; }
void pen_normal() {
    Port& p = *current_port;
    p.pen_size = Point{1, 1};
    p.pen_mode = kPatCopy;
    p.pen_pat = kBlackPattern;
}
void hide_pen() { --current_port->pen_visible; }
void show_pen() { ++current_port->pen_visible; }

void rgb_fore_color(const RGBColor& c) { current_port->fg_color = c; }
void rgb_back_color(const RGBColor& c) { current_port->bg_color = c; }
void get_fore_color(RGBColor& c) { c = current_port->fg_color; }
void get_back_color(RGBColor& c) { c = current_port->bg_color; }

void text_font(int16_t font) { current_port->text_font = font; }
void text_size(int16_t size) { current_port->text_size = size; }
void text_face(uint8_t face) { current_port->text_face = face; }
void text_mode(int16_t mode) { current_port->text_mode = mode; }

PortState save_port_state(const Port& port) {
    PortState s;
    s.drawing = port;
    s.clip_rgn = new_region();
    copy_region(port.clip_rgn, s.clip_rgn);
    return s;
}

void restore_port_state(Port& port, PortState& s) {
    static_cast<DrawingState&>(port) = s.drawing;
    if (s.clip_rgn) copy_region(s.clip_rgn, port.clip_rgn);
    release_port_state(s);
}

void release_port_state(PortState& s) {
    dispose_region(s.clip_rgn);
    s.clip_rgn = nullptr;
}

void local_to_global(Point& pt) {
    const Rect& b = current_port->bounds;
    const Point& o = current_port->surface_origin;
    pt = Point{int16_t(pt.v - b.top + o.v), int16_t(pt.h - b.left + o.h)};
}

void global_to_local(Point& pt) {
    const Rect& b = current_port->bounds;
    const Point& o = current_port->surface_origin;
    pt = Point{int16_t(pt.v + b.top - o.v), int16_t(pt.h + b.left - o.h)};
}

}  // namespace pf
