// The screen: one 32-bit pixel surface that every host presents.
#pragma once

#include "platform/types.h"

#include <cstdint>
#include <string>

typedef struct _cairo_surface cairo_surface_t;

namespace pf {

struct Screen {
    cairo_surface_t* surface = nullptr;  // CAIRO_FORMAT_RGB24, width x height
    int width = 0;
    int height = 0;
    int menu_bar_height = 20;
    // Differs for every screen made (screen_open), so that what was drawn on an
    // earlier one is known to be gone.
    uint32_t generation = 0;
    // Bounding box of pixels changed since the host last presented, in screen coordinates.
    Rect dirty{};
};

// The one screen of the process; null until screen_open.
Screen* screen();

// Makes (or remakes at a new size) the screen surface, cleared to the desktop.
Screen& screen_open(int width, int height);
void screen_close();

// Pixel 0x00RRGGBB at (h, v); 0 outside the screen.
uint32_t screen_pixel(int h, int v);

// Marks a rectangle as changed so hosts present it.
void screen_mark_dirty(const Rect& r);
// Answers and clears the changed rectangle.
Rect screen_take_dirty();

// Paints the desktop pattern and an empty menu bar strip over the whole screen.
void screen_draw_desktop();
// The same within a rectangle (global), the pattern still anchored at the screen's top-left.
void screen_draw_desktop_rect(const Rect& area);

// Writes the screen as a PNG; false on failure.
bool screen_write_png(const std::string& path);

}  // namespace pf
