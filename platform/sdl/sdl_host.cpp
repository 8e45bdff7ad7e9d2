#include "platform/sdl/sdl_host.h"

#include "platform/host/host.h"
#include "platform/screen/screen.h"

#include <SDL.h>
#include <cairo.h>

#include <cstdio>
#include <cstdlib>

namespace pf {

namespace {

SDL_Window* window = nullptr;

// The screen follows the window's size; the whole screen is redrawn after a resize.
void resize_screen(int width, int height) {
    if (width <= 0 || height <= 0) return;
    Screen* s = screen();
    if (s && s->width == width && s->height == height) return;
    screen_open(width, height);
}

void sdl_present() {
    Screen* s = screen();
    if (!s || !window) return;
    Rect dirty = screen_take_dirty();
    if (dirty.empty()) return;
    SDL_Surface* target = SDL_GetWindowSurface(window);
    if (!target) return;
    cairo_surface_flush(s->surface);
    SDL_Surface* source = SDL_CreateRGBSurfaceWithFormatFrom(
        cairo_image_surface_get_data(s->surface), s->width, s->height, 32,
        cairo_image_surface_get_stride(s->surface), SDL_PIXELFORMAT_XRGB8888);
    if (!source) return;
    SDL_Rect area{dirty.left, dirty.top, dirty.width(), dirty.height()};
    SDL_BlitSurface(source, &area, target, &area);
    SDL_FreeSurface(source);
    SDL_UpdateWindowSurfaceRects(window, &area, 1);
}

bool handle(const SDL_Event& event) {
    switch (event.type) {
        case SDL_QUIT:
            return false;
        case SDL_WINDOWEVENT:
            if (event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED)
                resize_screen(event.window.data1, event.window.data2);
            else if (event.window.event == SDL_WINDOWEVENT_EXPOSED && screen())
                screen_mark_dirty(Rect{0, 0, int16_t(screen()->height), int16_t(screen()->width)});
            return true;
        default:
            return true;
    }
}

bool sdl_pump() {
    SDL_Event event;
    bool keep_running = true;
    while (SDL_PollEvent(&event)) keep_running = handle(event) && keep_running;
    return keep_running;
}

void sdl_wait(int milliseconds) {
    SDL_Event event;
    if (SDL_WaitEventTimeout(&event, milliseconds)) SDL_PushEvent(&event);
}

void sdl_close() {
    screen_close();
    if (window) SDL_DestroyWindow(window);
    window = nullptr;
    SDL_Quit();
}

}  // namespace

bool sdl_host_open(int width, int height) {
    setenv("SDL_FRAMEBUFFER_ACCELERATION", "0", 0);
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
        std::fprintf(stderr, "quorvin: cannot open a display: %s\n", SDL_GetError());
        return false;
    }
    window = SDL_CreateWindow("Quorvin", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, width,
                              height, SDL_WINDOW_RESIZABLE);
    if (!window) {
        std::fprintf(stderr, "quorvin: cannot open a window: %s\n", SDL_GetError());
        SDL_Quit();
        return false;
    }
    SDL_GetWindowSize(window, &width, &height);
    screen_open(width, height);
    host_install(HostProcs{sdl_present, sdl_pump, sdl_wait, sdl_close});
    return true;
}

}  // namespace pf
