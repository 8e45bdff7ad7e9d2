// Output: ports and surfaces as PNG files, and PDF documents whose pages are ports
// drawn with the same calls as the screen.
#pragma once

#include "platform/draw/port.h"

#include <string>

namespace pf {

// Writes the port's area (its port_rect, within its surface) of an image port as PNG;
// false on failure or for a PDF port.
bool write_port_png(const Port& port, const std::string& path);
bool write_surface_png(cairo_surface_t* surface, const std::string& path);

// A PDF document; its port draws on the current page (sizes in points, one point
// per local unit, origin at the page's top-left).
struct PdfDocument {
    cairo_surface_t* surface = nullptr;
    Port port;
    int width = 0, height = 0;  // of the current page, in points
};

// False when the file cannot be made.
bool open_pdf(PdfDocument& doc, const std::string& path, int width, int height);
// Finishes the current page and starts a new one of the given size.
void pdf_next_page(PdfDocument& doc, int width, int height);
// Draws what follows on the current page at a scale: one local unit becomes
// `scale` points, and the port covers the page in those units.
void pdf_set_scale(PdfDocument& doc, double scale);
// Finishes the document and writes it; false when writing failed.
bool close_pdf(PdfDocument& doc);

// A page recorded rather than written: drawn as a PDF page is, then played
// into an image at any scale.
bool open_page_recording(PdfDocument& doc, int width, int height);
void close_page_recording(PdfDocument& doc);
// Plays the recorded page into an image surface over white, its top-left at
// (left, top) of the image and each point `scale` pixels.
void play_page_recording(const PdfDocument& doc, cairo_surface_t* image, double scale, double left, double top);

}  // namespace pf
