// An image port of a given size, current while it lives, for the drawing
// benchmarks.
#pragma once

#include <cairo.h>

#include "platform/draw/draw.h"

struct BenchPort {
    cairo_surface_t* surface;
    pf::Port port;
    BenchPort(int width, int height) : surface(cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height)) {
        pf::open_port(port, surface, width, height);
        pf::set_port(&port);
    }
    ~BenchPort() {
        pf::close_port(port);
        cairo_surface_destroy(surface);
    }
    BenchPort(const BenchPort&) = delete;
    BenchPort& operator=(const BenchPort&) = delete;
};
