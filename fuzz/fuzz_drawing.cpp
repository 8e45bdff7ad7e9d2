#include "fuzz/fuzz_drawing.h"

#include <cairo.h>

#include "platform/draw/draw.h"
#include "platform/draw/port.h"

void fuzz_use_image_port() {
    constexpr int kWidth = 96, kHeight = 64;
    static cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kWidth, kHeight);
    static pf::Port port;
    static bool opened = false;
    if (!opened) {
        pf::open_port(port, surface, kWidth, kHeight);
        opened = true;
    }
    pf::set_port(&port);
    pf::erase_rect(port.port_rect);
}
