// Scripts played on the first modal window that comes up (clicks at points
// of its content, typing, keys), and that window's picture cut from the
// screen, so that golden images of dialogs do not depend on what lies around.
#pragma once

#include <cairo.h>

#include <string>
#include <vector>

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

// One step of a script: a click at a point of the modal window's content, a
// text typed, or Return (`ret`) or Escape (`escape`).
struct ModalStep {
    enum Kind { kClick, kType, kReturn, kEscape } kind;
    pf::Point where{};
    std::string text;
};
inline ModalStep click(int16_t v, int16_t h) { return ModalStep{ModalStep::kClick, pf::Point{v, h}, {}}; }
inline ModalStep type(const std::string& text) { return ModalStep{ModalStep::kType, {}, text}; }
inline ModalStep ret() { return ModalStep{ModalStep::kReturn, {}, {}}; }
inline ModalStep escape() { return ModalStep{ModalStep::kEscape, {}, {}}; }

inline std::vector<ModalStep> modal_script;
inline bool modal_script_played = false;

inline void play_modal_script() {
    pf::compose_screen();
    pf::WindowRef front = pf::front_window();
    if (!modal_script_played && pf::is_modal_window(front)) {
        modal_script_played = true;
        const pf::Rect content = pf::window_content_rect(front);
        for (const ModalStep& step : modal_script) {
            switch (step.kind) {
                case ModalStep::kClick:
                    pf::driver_click(pf::Point{int16_t(content.top + step.where.v), int16_t(content.left + step.where.h)});
                    break;
                case ModalStep::kType: pf::driver_type(step.text); break;
                case ModalStep::kReturn: pf::driver_key(pf::kKeyCodeReturn, pf::kReturnChar); break;
                case ModalStep::kEscape: pf::driver_key(pf::kKeyCodeEscape, pf::kEscapeChar); break;
            }
        }
    }
    dialogtest::guarded_compose_step();
}

// Plays the steps, all queued at once, when the next modal window is up.
inline void script_next_modal(std::vector<ModalStep> steps) {
    modal_script = std::move(steps);
    modal_script_played = false;
    pf::host_set_composer(play_modal_script);
}

}  // namespace attended
