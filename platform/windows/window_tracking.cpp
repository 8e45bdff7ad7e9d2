// Where the mouse is (find_window), and what the frame does with it: moving,
// sizing, zooming, collapsing, and tracking its boxes. Tracking loops poll the
// mouse, which presents the screen as they go.
#include "platform/draw/draw.h"
#include "platform/windows/windows.h"
#include "platform/windows/windows_internal.h"

#include <algorithm>

namespace pf {

using namespace windows_detail;

namespace {

// New content areas (content coordinates) after a size change, for the update region.
void add_uncovered(WindowRef w, int16_t old_width, int16_t old_height) {
    Rect now = content_local_rect(w);
    if (now.right > old_width) add_update(w, Rect{0, old_width, now.bottom, now.right});
    if (now.bottom > old_height) add_update(w, Rect{old_height, 0, now.bottom, now.right});
}

void set_content(WindowRef w, const Rect& content, bool update) {
    int16_t old_width = w->content.width(), old_height = w->content.height();
    bool resized = content.width() != old_width || content.height() != old_height;
    if (shows(w)) mark_window_area(w);
    w->content = content;
    if (resized) {
        make_surface(w);
        if (update) add_uncovered(w, old_width, old_height);
    } else {
        place_port(w);
    }
    if (shows(w)) mark_window_area(w);
}

Rect structure_with_size(WindowRef w, int16_t width, int16_t height) {
    FrameInsets f = window_frame_insets(w);
    const Rect& c = w->content;
    return Rect{int16_t(c.top - f.top), int16_t(c.left - f.left), int16_t(c.top + height + f.bottom),
                int16_t(c.left + width + f.right)};
}

// A grey outline drawn and taken away again by exclusive or, straight on the screen.
struct Outline {
    Port port;
    Rect shown{};
    Outline() {
        open_screen_port(port, screen_bounds());
        PortScope scope(&port);
        pen_mode(kPatXor);
        pen_pat(kGrayPattern);
        pen_size(2, 2);
    }
    ~Outline() {
        toggle();
        close_port(port);
    }
    void toggle() {
        if (shown.empty()) return;
        PortScope scope(&port);
        frame_rect(shown);
    }
    void show(const Rect& r) {
        if (r == shown) return;
        toggle();
        shown = r;
        toggle();
    }
};

int16_t clamp16(int v, int lo, int hi) { return int16_t(std::max(lo, std::min(hi, v))); }

// Follows the mouse while the button is down; `inside` says whether the box is hit.
bool track_part(WindowRef w, Point start, int16_t part) {
    Rect box = part_rect(w, part);
    if (box.empty()) return false;
    bool inside = pt_in_rect(start, box);
    auto show = [w, part](bool pressed) {
        w->pressed_part = pressed ? part : 0;
        draw_frame(w);
    };
    show(inside);
    while (still_down()) {
        bool now = pt_in_rect(mouse_location(), box);
        if (now != inside) show(now);
        inside = now;
    }
    inside = pt_in_rect(mouse_location(), box);
    show(false);
    wait_mouse_up();
    return inside;
}

}  // namespace

int16_t find_window(Point where, WindowRef* window) {
    if (window) *window = nullptr;
    if (where.v >= 0 && where.v < menu_bar_height()) return kInMenuBar;
    for (WindowRef w : window_list()) {
        if (!shows(w)) continue;
        if (int16_t part = frame_part_at(w, where)) {
            if (window) *window = w;
            return part;
        }
    }
    return kInDesk;
}

void move_window(WindowRef window, int16_t h, int16_t v, bool front) {
    Rect c = window->content;
    set_content(window, Rect{v, h, int16_t(v + c.height()), int16_t(h + c.width())}, false);
    if (front) select_window(window);
}

void size_window(WindowRef window, int16_t width, int16_t height, bool update) {
    width = std::max<int16_t>(width, 1);
    height = std::max<int16_t>(height, 1);
    const Rect& c = window->content;
    set_content(window, Rect{c.top, c.left, int16_t(c.top + height), int16_t(c.left + width)}, update);
}

void set_window_standard_state(WindowRef window, const Rect& content) { window->standard_state = content; }
Rect window_standard_state(WindowRef window) { return window->standard_state; }
void set_window_user_state(WindowRef window, const Rect& content) { window->user_state = content; }
Rect window_user_state(WindowRef window) { return window->user_state; }

void zoom_window(WindowRef window, int16_t part, bool front) {
    if (part == kInZoomOut) window->user_state = window->content;
    const Rect& target = part == kInZoomOut ? window->standard_state : window->user_state;
    if (!target.empty()) set_content(window, target, true);
    if (front) select_window(window);
}

void collapse_window(WindowRef window, bool collapse) {
    if (window->collapsed == collapse) return;
    if (shows(window)) mark_window_area(window);
    window->collapsed = collapse;
    if (shows(window)) mark_window_area(window);
}

// Both trackers follow the mouse while the button is down and once more where it
// was released: a fast host may report the last moves together with the release.
void drag_window(WindowRef window, Point start, const Rect& bounds) {
    if (!(current_modifiers() & kCmdKey)) select_window(window);
    Point grip{int16_t(start.v - window->content.top), int16_t(start.h - window->content.left)};
    bool moved = false;
    auto follow = [&](Point p) {
        if (!pt_in_rect(p, bounds)) return;
        int16_t h = int16_t(p.h - grip.h), v = int16_t(p.v - grip.v);
        if (h == window->content.left && v == window->content.top) return;
        move_window(window, h, v, false);
        moved = true;
    };
    while (still_down()) follow(mouse_location());
    follow(mouse_location());
    wait_mouse_up();
    if (moved && !window->collapsed) window->user_state = window->content;
}

uint32_t grow_window(WindowRef window, Point start, const Rect& limits) {
    compose_screen();
    int16_t width = window->content.width(), height = window->content.height();
    int16_t new_width = width, new_height = height;
    {
        Outline outline;
        auto follow = [&](Point p) {
            new_width = clamp16(width + p.h - start.h, limits.left, limits.right);
            new_height = clamp16(height + p.v - start.v, limits.top, limits.bottom);
            outline.show(structure_with_size(window, new_width, new_height));
        };
        outline.show(window_struct_rect(window));
        while (still_down()) follow(mouse_location());
        follow(mouse_location());
    }
    wait_mouse_up();
    if (new_width == width && new_height == height) return 0;
    return (uint32_t(uint16_t(new_height)) << 16) | uint16_t(new_width);
}

OSErr track_window_proxy_drag(WindowRef, Point) { return kUserWantsToDragWindowErr; }

bool is_window_path_select_click(WindowRef window, const EventRecord& event) {
    if (event.what != kMouseDown || !(event.modifiers & kCmdKey)) return false;
    int16_t part = frame_part_at(window, event.where);
    return part == kInProxyIcon || (part == kInDrag && pt_in_rect(event.where, title_text_rect(window)));
}

bool track_go_away(WindowRef window, Point start) { return track_part(window, start, kInGoAway); }

bool track_box(WindowRef window, Point start, int16_t part) {
    if (part == kInZoomIn) part = kInZoomOut;  // one box, two meanings
    return track_part(window, start, part);
}

}  // namespace pf
