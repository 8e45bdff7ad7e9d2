// Each window's retained surface, the ports that draw into it, and the
// composition of the screen: desktop, then the showing windows back to front,
// redone only where something changed.
#include "platform/draw/paint.h"
#include "platform/draw/rects.h"
#include "platform/host/host.h"
#include "platform/screen/screen.h"
#include "platform/windows/windows.h"
#include "platform/windows/windows_internal.h"

#include <cairo.h>

#include <algorithm>
#include <cstring>

namespace pf {

using namespace windows_detail;

namespace {

// The global area whose pixels must be composed again: one bounding rectangle,
// so that marking costs the same however many small drawings a window makes.
Rect compose_dirty{};
uint32_t composed_screen = 0;  // the generation of the screen last composed onto

constexpr uint32_t kBlankContent = 0xFFFFFF;

Rect intersect(const Rect& a, const Rect& b) {
    Rect common;
    sect_rect(a, b, common);
    return common;
}

WindowRef window_of_port(const Port& port) {
    for (WindowRef w : window_list())
        if (&w->port == &port || &w->frame_port == &port) return w;
    return nullptr;
}

// A drawing call changed pixels of a window's surface.
void port_changed(const Port& port, const Rect& local) {
    WindowRef w = window_of_port(port);
    if (!w || !shows(w)) return;
    int dv = port.surface_origin.v - port.bounds.top;
    int dh = port.surface_origin.h - port.bounds.left;
    Rect global{int16_t(local.top + dv), int16_t(local.left + dh), int16_t(local.bottom + dv),
                int16_t(local.right + dh)};
    mark_screen_area(intersect(global, structure_of(w)));
}

void fill_surface(cairo_surface_t* surface, uint32_t pixel) {
    cairo_surface_flush(surface);
    unsigned char* data = cairo_image_surface_get_data(surface);
    int stride = cairo_image_surface_get_stride(surface);
    int width = cairo_image_surface_get_width(surface);
    for (int y = 0; y < cairo_image_surface_get_height(surface); ++y)
        std::fill_n(reinterpret_cast<uint32_t*>(data + y * stride), width, pixel);
    cairo_surface_mark_dirty(surface);
}

// Copies a rectangle of pixels between RGB24 surfaces (both fully inside).
void copy_pixels(cairo_surface_t* from, int from_x, int from_y, cairo_surface_t* to, int to_x, int to_y, int width,
                 int height) {
    if (width <= 0 || height <= 0) return;
    unsigned char* src = cairo_image_surface_get_data(from);
    unsigned char* dst = cairo_image_surface_get_data(to);
    int src_stride = cairo_image_surface_get_stride(from);
    int dst_stride = cairo_image_surface_get_stride(to);
    for (int row = 0; row < height; ++row)
        std::memcpy(dst + (to_y + row) * dst_stride + to_x * 4, src + (from_y + row) * src_stride + from_x * 4,
                    size_t(width) * 4);
}

void set_port_geometry(Port& port, const Rect& bounds, const Rect& port_rect, Point origin) {
    port.bounds = bounds;
    port.port_rect = port_rect;
    port.surface_origin = origin;
    port.changed = port_changed;
    port.on_screen = false;
}

// Paints the desktop, then every showing window back to front, within `area`.
void compose_area(const Rect& area) {
    Screen* s = screen();
    screen_draw_desktop_rect(area);
    cairo_surface_flush(s->surface);
    auto& list = window_list();
    for (auto it = list.rbegin(); it != list.rend(); ++it) {
        WindowRef w = *it;
        if (!shows(w)) continue;
        Rect structure = structure_of(w);
        Rect part = intersect(structure, area);
        if (part.empty() || cairo_surface_status(w->surface) != CAIRO_STATUS_SUCCESS) continue;
        cairo_surface_flush(w->surface);
        copy_pixels(w->surface, part.left - structure.left, part.top - structure.top, s->surface, part.left, part.top,
                    part.width(), part.height());
    }
    cairo_surface_mark_dirty(s->surface);
    screen_mark_dirty(area);
}

}  // namespace

namespace windows_detail {

void make_surface(WindowRef w) {
    Rect structure = full_structure_of(w);
    int width = std::max(1, structure.width());
    int height = std::max(1, structure.height());
    cairo_surface_t* surface = new_port_surface(width, height);
    fill_surface(surface, kBlankContent);
    bool first = w->surface == nullptr;
    if (!first) {
        cairo_surface_flush(w->surface);
        // Sizes of the surfaces themselves: one without pixels has none.
        int keep_w = std::min(cairo_image_surface_get_width(surface), cairo_image_surface_get_width(w->surface));
        int keep_h = std::min(cairo_image_surface_get_height(surface), cairo_image_surface_get_height(w->surface));
        copy_pixels(w->surface, 0, 0, surface, 0, 0, keep_w, keep_h);
        cairo_surface_mark_dirty(surface);
        cairo_surface_destroy(w->surface);
    }
    w->surface = surface;
    if (first) {
        open_port(w->port, surface, width, height);
        open_port(w->frame_port, surface, width, height);
    }
    place_port(w);
    draw_frame(w);
}

void free_surface(WindowRef w) {
    if (w->surface) cairo_surface_destroy(w->surface);
    w->surface = nullptr;
}

void place_port(WindowRef w) {
    Rect structure = full_structure_of(w);
    Point origin{structure.top, structure.left};
    int16_t sw = structure.width(), sh = structure.height();

    w->frame_port.surface = w->surface;
    Rect whole{0, 0, sh, sw};
    set_port_geometry(w->frame_port, whole, whole, origin);
    rect_region(w->frame_port.vis_rgn, whole);

    // The content port keeps its origin (the local point of the content's top-left).
    Port& p = w->port;
    p.surface = w->surface;
    FrameInsets f = frame_insets_of(w->window_class, w->attributes);
    int16_t ov = p.port_rect.top, oh = p.port_rect.left;
    Rect bounds{int16_t(ov - f.top), int16_t(oh - f.left), int16_t(ov - f.top + sh), int16_t(oh - f.left + sw)};
    Rect port_rect{ov, oh, int16_t(ov + w->content.height()), int16_t(oh + w->content.width())};
    set_port_geometry(p, bounds, port_rect, origin);
    if (!w->updating) rect_region(p.vis_rgn, port_rect);
}

void mark_screen_area(const Rect& global) {
    if (global.empty()) return;
    if (compose_dirty.empty()) {
        compose_dirty = global;
        return;
    }
    compose_dirty = Rect{std::min(compose_dirty.top, global.top), std::min(compose_dirty.left, global.left),
                         std::max(compose_dirty.bottom, global.bottom), std::max(compose_dirty.right, global.right)};
}

void mark_window_area(WindowRef w) { mark_screen_area(structure_of(w)); }

void compose_now() {
    Screen* s = screen();
    if (!s) return;
    if (s->generation != composed_screen) {
        composed_screen = s->generation;
        mark_screen_area(desktop_bounds());
    }
    Rect area = intersect(compose_dirty, desktop_bounds());
    compose_dirty = Rect{};
    if (!area.empty()) compose_area(area);
}

void wheel_to_window(Point where, int axis, int32_t delta, uint16_t modifiers) {
    WindowRef w = nullptr;
    if (find_window(where, &w) != kInContent || !w->wheel_proc) return;
    w->wheel_proc(w, axis, delta, modifiers, w->wheel_user);
}

}  // namespace windows_detail

void compose_screen() { compose_now(); }

void recompose_screen_area(const Rect& global) { mark_screen_area(global); }

void set_window_wheel_handler(WindowRef window, WindowWheelProc proc, void* user) {
    window->wheel_proc = proc;
    window->wheel_user = user;
}

void get_mouse(Point& local) {
    local = mouse_location();
    if (get_port()) global_to_local(local);
}

Rect screen_bounds() {
    Screen* s = screen();
    return s ? Rect{0, 0, int16_t(s->height), int16_t(s->width)} : Rect{};
}

int16_t menu_bar_height() {
    Screen* s = screen();
    return s ? int16_t(s->menu_bar_height) : 0;
}

Rect desktop_bounds() {
    Rect r = screen_bounds();
    r.top = menu_bar_height();
    return r;
}

}  // namespace pf
