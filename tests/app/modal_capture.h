// The front modal window's picture, cut from the screen while it is up, so
// that golden images of dialogs do not depend on what lies around them.
#pragma once

#include <cairo.h>

#include <string>

#include "tests/app/attended_fixture.h"

namespace attended {

inline std::string modal_capture_png;
inline pf::Rect modal_capture_rect{};

inline void capture_modal_window() {
    pf::compose_screen();
    pf::WindowRef front = pf::front_window();
    if (pf::is_modal_window(front)) {
        pf::screen_write_png(modal_capture_png);
        modal_capture_rect = pf::window_struct_rect(front);
    }
    dialogtest::guarded_compose_step();
}

// Arms the capture for the next modal window; the dialog is then run by the test.
inline void capture_front_modal_window(const std::string& path) {
    modal_capture_png = path;
    modal_capture_rect = pf::Rect{};
    pf::host_set_composer(capture_modal_window);
}

// The captured window alone (null when none was captured); the caller destroys it.
inline cairo_surface_t* captured_modal_window() {
    if (modal_capture_rect.empty()) return nullptr;
    cairo_surface_t* screen = cairo_image_surface_create_from_png(modal_capture_png.c_str());
    const int width = modal_capture_rect.right - modal_capture_rect.left;
    const int height = modal_capture_rect.bottom - modal_capture_rect.top;
    cairo_surface_t* window = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
    cairo_t* cr = cairo_create(window);
    cairo_set_source_surface(cr, screen, -modal_capture_rect.left, -modal_capture_rect.top);
    cairo_paint(cr);
    cairo_destroy(cr);
    cairo_surface_destroy(screen);
    return window;
}

}  // namespace attended
