// PNG images for tests, made by cairo: a 30 by 20 image whose left half is
// red, whose right half is blue, with a fully transparent band at the top.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <vector>

namespace png_sample {

constexpr int kWidth = 30, kHeight = 20, kClearRows = 4;

inline cairo_status_t append(void* closure, const unsigned char* data, unsigned int length) {
    auto* out = static_cast<std::vector<uint8_t>*>(closure);
    out->insert(out->end(), data, data + length);
    return CAIRO_STATUS_SUCCESS;
}

inline std::vector<uint8_t> halves() {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kWidth, kHeight);
    cairo_t* cr = cairo_create(surface);
    cairo_set_source_rgb(cr, 1, 0, 0);
    cairo_rectangle(cr, 0, kClearRows, kWidth / 2, kHeight - kClearRows);
    cairo_fill(cr);
    cairo_set_source_rgb(cr, 0, 0, 1);
    cairo_rectangle(cr, kWidth / 2, kClearRows, kWidth / 2, kHeight - kClearRows);
    cairo_fill(cr);
    cairo_destroy(cr);
    std::vector<uint8_t> bytes;
    cairo_surface_write_to_png_stream(surface, append, &bytes);
    cairo_surface_destroy(surface);
    return bytes;
}

}  // namespace png_sample
