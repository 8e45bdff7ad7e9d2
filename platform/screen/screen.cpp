#include "platform/screen/screen.h"

#include "platform/draw/rects.h"

#include <cairo.h>

#include <algorithm>
#include <memory>

namespace pf {

namespace {

std::unique_ptr<Screen> the_screen;
uint32_t screens_made = 0;

// The desktop: a fine two-tone dither, anchored at the screen's top-left.
constexpr uint8_t kDesktopPattern[8] = {0x88, 0x22, 0x88, 0x22, 0x88, 0x22, 0x88, 0x22};
constexpr uint32_t kDesktopBack = 0x6C7F99;
constexpr uint32_t kDesktopFore = 0x5D6F88;
constexpr uint32_t kMenuBarFill = 0xFFFFFF;
constexpr uint32_t kMenuBarLine = 0x000000;

uint32_t* row_pixels(Screen& s, int v) {
    unsigned char* data = cairo_image_surface_get_data(s.surface);
    return reinterpret_cast<uint32_t*>(data + v * cairo_image_surface_get_stride(s.surface));
}

}  // namespace

Screen* screen() { return the_screen.get(); }

Screen& screen_open(int width, int height) {
    screen_close();
    the_screen = std::make_unique<Screen>();
    the_screen->width = width;
    the_screen->height = height;
    the_screen->generation = ++screens_made;
    the_screen->surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
    screen_draw_desktop();
    return *the_screen;
}

void screen_close() {
    if (!the_screen) return;
    cairo_surface_destroy(the_screen->surface);
    the_screen.reset();
}

uint32_t screen_pixel(int h, int v) {
    Screen* s = screen();
    if (!s || h < 0 || v < 0 || h >= s->width || v >= s->height) return 0;
    cairo_surface_flush(s->surface);
    return row_pixels(*s, v)[h] & 0xFFFFFF;
}

void screen_mark_dirty(const Rect& r) {
    if (Screen* s = screen()) s->dirty = union_rect(s->dirty, r);
}

Rect screen_take_dirty() {
    Screen* s = screen();
    if (!s) return {};
    Rect r = s->dirty;
    s->dirty = {};
    return r;
}

void screen_draw_desktop() {
    if (Screen* s = screen()) screen_draw_desktop_rect(Rect{0, 0, int16_t(s->height), int16_t(s->width)});
}

void screen_draw_desktop_rect(const Rect& area) {
    Screen* s = screen();
    if (!s) return;
    int top = std::max<int>(area.top, 0), bottom = std::min<int>(area.bottom, s->height);
    int left = std::max<int>(area.left, 0), right = std::min<int>(area.right, s->width);
    if (top >= bottom || left >= right) return;
    cairo_surface_flush(s->surface);
    for (int v = top; v < bottom; ++v) {
        uint32_t* row = row_pixels(*s, v);
        if (v < s->menu_bar_height) {
            uint32_t colour = v == s->menu_bar_height - 1 ? kMenuBarLine : kMenuBarFill;
            std::fill(row + left, row + right, colour);
            continue;
        }
        uint8_t bits = kDesktopPattern[v & 7];
        for (int h = left; h < right; ++h)
            row[h] = (bits & (0x80 >> (h & 7))) ? kDesktopFore : kDesktopBack;
    }
    cairo_surface_mark_dirty(s->surface);
    screen_mark_dirty(Rect{int16_t(top), int16_t(left), int16_t(bottom), int16_t(right)});
}

bool screen_write_png(const std::string& path) {
    Screen* s = screen();
    if (!s) return false;
    return cairo_surface_write_to_png(s->surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
}

}  // namespace pf
