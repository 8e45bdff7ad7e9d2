#include "platform/draw/output.h"

#include <cairo-pdf.h>
#include <cairo.h>

#include <algorithm>

namespace pf {

bool write_surface_png(cairo_surface_t* surface, const std::string& path) {
    if (!surface) return false;
    return cairo_surface_write_to_png(surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
}

bool write_port_png(const Port& port, const std::string& path) {
    if (!port.surface || port.kind != SurfaceKind::kImage) return false;
    const Rect& b = port.bounds;
    const Rect& pr = port.port_rect;
    int left = std::max(pr.left, b.left), top = std::max(pr.top, b.top);
    int right = std::min(pr.right, b.right), bottom = std::min(pr.bottom, b.bottom);
    if (right <= left || bottom <= top) return false;
    cairo_surface_t* area = cairo_surface_create_for_rectangle(port.surface, left - b.left, top - b.top,
                                                               right - left, bottom - top);
    cairo_surface_t* copy = cairo_image_surface_create(CAIRO_FORMAT_RGB24, right - left, bottom - top);
    cairo_t* cr = cairo_create(copy);
    cairo_set_source_surface(cr, area, 0, 0);
    cairo_paint(cr);
    cairo_destroy(cr);
    bool ok = write_surface_png(copy, path);
    cairo_surface_destroy(copy);
    cairo_surface_destroy(area);
    return ok;
}

namespace {

// The document takes the surface and draws on it through its port; false
// (and the surface freed) when the surface could not be made.
bool take_page_surface(PdfDocument& doc, cairo_surface_t* surface, int width, int height) {
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface);
        return false;
    }
    doc.surface = surface;
    doc.width = width;
    doc.height = height;
    open_port(doc.port, surface, width, height);
    doc.port.kind = SurfaceKind::kPdf;
    return true;
}

}  // namespace

bool open_pdf(PdfDocument& doc, const std::string& path, int width, int height) {
    return take_page_surface(doc, cairo_pdf_surface_create(path.c_str(), width, height), width, height);
}

namespace {

// The port stays the current port when it was.
void reopen_pdf_port(PdfDocument& doc, double scale) {
    const bool current = get_port() == &doc.port;
    cairo_surface_set_device_scale(doc.surface, scale, scale);
    close_port(doc.port);
    open_port(doc.port, doc.surface, int(doc.width / scale + 0.5), int(doc.height / scale + 0.5));
    doc.port.kind = SurfaceKind::kPdf;
    if (current) set_port(&doc.port);
}

}  // namespace

void pdf_next_page(PdfDocument& doc, int width, int height) {
    cairo_surface_show_page(doc.surface);
    cairo_pdf_surface_set_size(doc.surface, width, height);
    doc.width = width;
    doc.height = height;
    reopen_pdf_port(doc, 1);
}

void pdf_set_scale(PdfDocument& doc, double scale) {
    if (doc.surface && scale > 0) reopen_pdf_port(doc, scale);
}

bool close_pdf(PdfDocument& doc) {
    if (!doc.surface) return false;
    close_port(doc.port);
    cairo_surface_finish(doc.surface);
    bool ok = cairo_surface_status(doc.surface) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(doc.surface);
    doc.surface = nullptr;
    return ok;
}

}  // namespace pf

namespace pf {

bool open_page_recording(PdfDocument& doc, int width, int height) {
    cairo_rectangle_t extents{0, 0, double(width), double(height)};
    return take_page_surface(doc, cairo_recording_surface_create(CAIRO_CONTENT_COLOR_ALPHA, &extents), width, height);
}

void close_page_recording(PdfDocument& doc) {
    if (!doc.surface) return;
    close_port(doc.port);
    cairo_surface_destroy(doc.surface);
    doc.surface = nullptr;
}

namespace {

// Pages are drawn this many times finer than they are shown, then averaged
// down, so that lines thinner than a pixel (a reduced page's hairlines) stay.
constexpr int kPageOversampling = 2;

// The recorded page over white, `factor` pixels a point.
cairo_surface_t* page_oversampled(const PdfDocument& doc, int factor) {
    cairo_surface_t* fine = cairo_image_surface_create(CAIRO_FORMAT_RGB24, std::max(doc.width, 1) * factor,
                                                      std::max(doc.height, 1) * factor);
    cairo_t* cr = cairo_create(fine);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_paint(cr);
    cairo_scale(cr, factor, factor);
    cairo_set_source_surface(cr, doc.surface, 0, 0);
    cairo_paint(cr);
    cairo_destroy(cr);
    return fine;
}

}  // namespace

void play_page_recording(const PdfDocument& doc, cairo_surface_t* image, double scale, double left, double top) {
    if (!doc.surface || !image) return;
    cairo_surface_flush(doc.surface);
    cairo_t* cr = cairo_create(image);
    cairo_translate(cr, left, top);
    cairo_scale(cr, scale, scale);
    cairo_rectangle(cr, 0, 0, doc.width, doc.height);
    cairo_clip(cr);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_paint(cr);
    // Shown at full size or smaller, the page is drawn finer and averaged down.
    cairo_surface_t* fine = scale <= 1 ? page_oversampled(doc, kPageOversampling) : nullptr;
    if (fine) {
        cairo_scale(cr, 1.0 / kPageOversampling, 1.0 / kPageOversampling);
        cairo_set_source_surface(cr, fine, 0, 0);
        cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
    } else {
        cairo_set_source_surface(cr, doc.surface, 0, 0);
    }
    cairo_paint(cr);
    cairo_destroy(cr);
    if (fine) cairo_surface_destroy(fine);
    cairo_surface_flush(image);
}

}  // namespace pf
