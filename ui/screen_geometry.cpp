#include "ui/screen_geometry.h"

#include <algorithm>

#include "ui/system_info.h"
#include "platform/events/events.h"
#include "platform/fonts/fonts.h"
#include "platform/host/host.h"

namespace {

constexpr int16_t kVersion10 = 0x1000;
constexpr int16_t kVersion8 = 0x0800;
constexpr int16_t kStaggerRoom = 70;

bool system_8_or_9() {
    return g_system.system_version >= kVersion8 && g_system.system_version < kVersion10;
}

}  // namespace

int16_t title_bar_height() {
    if (g_system.system_version >= kVersion10) return 22;
    return system_8_or_9() ? 21 : 18;
}

int16_t wind_left_extra() { return system_8_or_9() ? 5 : 0; }

pf::Point get_global_loc(pf::WindowRef window) {
    pf::Rect content = pf::window_content_rect(window);
    return pf::Point{content.top, content.left};
}

void GetScreenRect(pf::Rect* rect) { *rect = pf::desktop_bounds(); }

int16_t FindPositionScreen(pf::Point point, pf::Rect* area) {
    pf::Rect screen = pf::screen_bounds();
    bool inside = point.v >= screen.top && point.v < screen.bottom && point.h >= screen.left && point.h < screen.right;
    if (!inside) return 0;
    GetScreenRect(area);
    return 1;
}

bool checkonscreen(pf::Point point) {
    if (point.v == 0 && point.h == 0) return false;
    pf::Rect desk = pf::desktop_bounds();
    desk.left = int16_t(desk.left - 3);
    return point.v >= desk.top && point.v < desk.bottom && point.h >= desk.left && point.h < desk.right;
}

pf::WindowRef JustMakeWindow(const unsigned char* title, const pf::Rect* bounds, pf::WindowRef bar,
                             int16_t stagger) {
    const int16_t extra = wind_left_extra();
    const int16_t title_height = title_bar_height();
    const pf::Rect screen = pf::screen_bounds();
    pf::Rect area;
    GetScreenRect(&area);
    if (bar) {
        pf::Rect frame = pf::window_struct_rect(bar);
        if (frame.width() > frame.height()) area.top = std::max(area.top, frame.bottom);
        else area.left = std::max(area.left, frame.right);
    }
    area.top = int16_t(area.top + title_height);
    area.right = int16_t(area.right - extra);

    pf::Rect window = area;
    if (bounds) {
        window.bottom = int16_t(std::min<int>(window.bottom, window.top + bounds->height()));
        window.right = int16_t(std::min<int>(window.right, window.left + bounds->width()));
    }
    int16_t dv = int16_t(stagger * (title_height - 2));
    int16_t dh = int16_t(stagger * (extra + 8));
    if (window.top + kStaggerRoom + dv > area.bottom) dv = dh = 0;
    window.top = int16_t(window.top + dv);
    window.left = int16_t(window.left + dh + extra + 2);
    window.bottom = int16_t(std::min<int>(window.bottom + dv, area.bottom) - (extra ? extra : 2));

    int16_t width = bounds ? int16_t(bounds->width()) : int16_t(area.right - window.left);
    if (bounds) window.left = int16_t(window.left + bounds->left);
    if (window.left + width > screen.right - 5) width = int16_t(screen.right - extra - 2 - window.left);
    window.right = int16_t(window.left + width);
    if (window.empty()) return nullptr;

    pf::WindowRef made = pf::create_window(pf::kDocumentWindowClass, pf::kWindowStandardDocumentAttributes, window);
    if (!made) return nullptr;
    if (title) pf::set_window_title(made, title);
    int16_t standard_top = int16_t(pf::menu_bar_height() + title_height + dv);
    int16_t standard_left = int16_t((bounds ? bounds->left : 0) + dh + extra + 2);
    pf::set_window_standard_state(
        made, pf::Rect{standard_top, standard_left, int16_t(screen.bottom - 3), int16_t(screen.right - 3)});
    return made;
}

bool MouseInRect(const pf::Rect* rect, bool use_highlight) {
    pf::Rect box{int16_t(rect->top + 1), int16_t(rect->left + 1), int16_t(rect->bottom - 1),
                 int16_t(rect->right - 1)};
    auto mouse_inside = [&box] {
        pf::Point p;
        pf::get_mouse(p);
        return p.v >= box.top && p.v < box.bottom && p.h >= box.left && p.h < box.right;
    };
    if (!pf::still_down()) {
        if (!mouse_inside()) return false;
        InvertButton(&box, use_highlight);
        return true;
    }
    bool inside = false;
    while (pf::still_down()) {
        bool now = mouse_inside();
        if (now != inside) {
            InvertButton(&box, use_highlight);
            inside = now;
        }
    }
    return inside;
}
