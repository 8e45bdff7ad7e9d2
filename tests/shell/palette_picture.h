// The content of a palette window as a picture, from its local (0, 0).
#pragma once

#include <cairo.h>

#include "platform/draw/draw.h"
#include "platform/draw/paint.h"
#include "platform/windows/windows.h"

inline cairo_surface_t* palette_picture(pf::WindowRef window, int width, int height) {
    pf::Port* port = pf::window_port(window);
    pf::surface_flush(*port);
    cairo_surface_t* shot = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
    auto* data = reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(shot));
    const int stride = cairo_image_surface_get_stride(shot) / 4;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            data[y * stride + x] = pf::surface_row(*port, y - port->bounds.top)[x - port->bounds.left] & 0xFFFFFF;
    cairo_surface_mark_dirty(shot);
    return shot;
}
